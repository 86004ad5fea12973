#include "controls/McListBox/McListBox.h"

#include "platform/fs/FileSystem.h"

// Modes 1 to 5 list the machine's drives, the folders or files of Path, or a folder tree;
// mode 0 is the host's own list, which every re-listing empties.
//
// Drives are this platform's mounted volumes, named by their root paths, with "/" as the
// folder separator (FileSystem.h says which volumes count). However many separators a root
// path holds, its drive row is level 0 of a tree; each path segment below the root adds one
// level. Hidden entries are those whose names start with "."; system entries are neither
// regular files nor folders. Icons are the desktop's (QFileIconProvider).

void McListBox::LoadModeItems() {
    Items.clear();
    IconCache.clear();
    ResetSelection();
    drives_.clear();
    try {
        QStringList files;
        QStringList folders;
        switch (mode_) {
        case 1:
        case 4:
        case 5:
            drives_ = GetDriveList();
            for (const QString& drive : drives_)
                Items.append(MakeRow(drive, -1, false));
            break;
        case 2:
            ListFolder(path_, files, folders, QStringLiteral("*.*"));
            for (const QString& name : folders)
                Items.append(MakeRow(name, -1, false));
            break;
        case 3:
            ListFolder(path_, files, folders, filter_);
            for (const QString& name : files)
                Items.append(MakeRow(name, -1, false));
            break;
        default:
            break;
        }
    } catch (const std::exception&) {
        // The rows listed so far stay.
    }
}

QStringList McListBox::GetDriveList() const {
    return FileSystem::DriveRoots();
}

bool McListBox::ListFolder(const QString& folder, QStringList& files, QStringList& folders,
                           const QString& pattern) const {
    QString path = folder;
    if (!path.endsWith(kPathSeparator))
        path += kPathSeparator;
    const auto entries = FileSystem::FindEntries(path, pattern);
    if (!entries)
        return false;
    for (const FileSystem::DirectoryEntry& entry : *entries) {
        if ((entry.System && !showSystemFiles_) || (entry.Hidden && !showHiddenFiles_))
            continue;
        (entry.Folder ? folders : files).append(entry.Name);
    }
    return true;
}

namespace {

// First letter of each word upper case, the rest lower case.
QString ProperCase(const QString& text) {
    QString result = text.toLower();
    bool wordStart = true;
    for (QChar& c : result) {
        if (wordStart && c.isLetter())
            c = c.toUpper();
        wordStart = c.isSpace();
    }
    return result;
}

} // namespace

QString McListBox::GetDriveCaption(const QString& root) const {
    const int type = FileSystem::DriveType(root);
    if (type == FileSystem::kRemovable)
        return QStringLiteral("Floppy");
    if (type < FileSystem::kFixed || type > FileSystem::kRam)
        return {};
    const std::optional<QString> label = FileSystem::VolumeLabel(root);
    if (!label)
        return type == FileSystem::kOptical ? QStringLiteral("CD Drive") : QString();
    const QString name = label->left(label->indexOf(QChar(0)));
    return name.isEmpty() ? QStringLiteral("Local Disc") : ProperCase(name);
}

QImage McListBox::GetItemIcon(const QString& path) {
    QString key;
    if (mode_ == 1 || drives_.contains(path))
        key = path;
    else if (path.contains(u'.'))
        key = path.mid(path.lastIndexOf(u'.') + 1).toLower();
    else
        key = QStringLiteral("default");
    // These files carry their own icons.
    static const QStringList ownIcons{QStringLiteral("exe"), QStringLiteral("lnk"),
                                      QStringLiteral("ico"), QStringLiteral("ani"),
                                      QStringLiteral("cur")};
    const bool ownIcon = ownIcons.contains(key);
    if (!ownIcon)
        for (const auto& [cachedKey, picture] : IconCache)
            if (cachedKey == key)
                return picture;
    ++iconExtractCount_;
    QImage picture = ExtractFileIcon(path, iconExtractSize_);
    if (!ownIcon)
        IconCache.emplace_back(key, picture);
    return picture;
}

QImage McListBox::ExtractFileIcon(const QString& path, int size) {
    // Paths go to the icon source as they are: drives are already their roots here.
    return FileSystem::FileIcon(path, size != 0);
}

int McListBox::TreeLevel(const QString& path) const {
    qsizetype rootLength = -1;
    for (const QString& root : drives_) {
        if (path == root)
            return 0;
        const QString prefix = root.endsWith(kPathSeparator) ? root : root + kPathSeparator;
        if (path.startsWith(prefix) && prefix.size() > rootLength)
            rootLength = prefix.size();
    }
    // A path on no listed drive counts every separator as a level.
    const qsizetype below = rootLength < 0 ? 0 : rootLength;
    return static_cast<int>(path.mid(below).count(kPathSeparator)) + (rootLength < 0 ? 0 : 1);
}

int McListBox::NextDriveRow(int row) const {
    // Drive rows keep the order of the drive list, and a folder listed under a drive never
    // equals a later drive's root after that drive's own row: matching the drives from the
    // last row upwards finds each drive's own row even where a volume mounted inside another
    // also appears as a folder of it.
    int next = ListCount();
    int limit = ListCount();
    for (qsizetype d = drives_.size() - 1; d >= 0; --d) {
        int at = limit - 1;
        while (at >= 0 && List(at) != drives_[d])
            --at;
        if (at < 0)
            break;
        if (at > row)
            next = at;
        limit = at;
    }
    return next;
}
