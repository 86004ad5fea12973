#include "controls/McListBox/McListBox.h"

#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QStorageInfo>

// Modes 1 to 5 list the machine's volumes, the folders or files of Path, or a folder tree;
// mode 0 is the host's own list, which every re-listing empties.

namespace {

QStringList GetDriveList() {
    QStringList drives;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid())
            drives.append(QDir::toNativeSeparators(volume.rootPath()));
    return drives;
}

// The platform's drive types: 2 removable, 3 fixed, 4 network, 5 optical, 6 RAM disk.
int DriveType(const QStorageInfo& volume) {
    if (!volume.isValid())
        return 0;
    const QByteArray type = volume.fileSystemType().toLower();
    if (type == "iso9660" || type == "udf")
        return 5;
    if (type.startsWith("nfs") || type == "cifs" || type == "smb3" || type == "smbfs" ||
        type.startsWith("fuse.sshfs"))
        return 4;
    if (type == "tmpfs" || type == "ramfs")
        return 6;
    if (type == "vfat" && volume.device().startsWith("/dev/fd"))
        return 2;
    return 3;
}

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

QImage ExtractFileIcon(const QString& path, int size) {
    static QFileIconProvider provider;
    const int side = size != 0 ? 32 : 16;
    return provider.icon(QFileInfo(path)).pixmap(side, side).toImage();
}

} // namespace

void McListBox::LoadModeItems() {
    Items.clear();
    IconCache.clear();
    ResetSelection();
    try {
        QStringList files;
        QStringList folders;
        switch (mode_) {
        case 1:
        case 4:
        case 5:
            for (const QString& drive : GetDriveList())
                Items.append(MakeRecord(drive, -1, false));
            break;
        case 2:
            ListFolder(path_, files, folders, QStringLiteral("*.*"));
            for (const QString& name : folders)
                Items.append(MakeRecord(name, -1, false));
            break;
        case 3:
            ListFolder(path_, files, folders, filter_);
            for (const QString& name : files)
                Items.append(MakeRecord(name, -1, false));
            break;
        default:
            break;
        }
    } catch (const std::exception&) {
        // The rows listed so far stay.
    }
}

bool McListBox::ListFolder(const QString& folder, QStringList& files, QStringList& folders,
                           const QString& pattern) const {
    QString path = folder;
    if (!path.endsWith(kPathSeparator))
        path += kPathSeparator;
    const QDir dir(path);
    if (!dir.exists() || !dir.isReadable())
        return false;
    // "*.*" is the pattern that matches every name, with or without a dot.
    const QString nameFilter = pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern;
    QDir::Filters filters = QDir::AllEntries | QDir::NoDotAndDotDot;
    if (showHiddenFiles_)
        filters |= QDir::Hidden;
    if (showSystemFiles_)
        filters |= QDir::System;
    const QFileInfoList entries = dir.entryInfoList({nameFilter}, filters, QDir::Unsorted);
    if (entries.isEmpty())
        return false;
    for (const QFileInfo& entry : entries) {
        if (entry.isDir())
            folders.append(entry.fileName());
        else
            files.append(entry.fileName());
    }
    return true;
}

QString McListBox::GetDriveCaption(const QString& root) const {
    const QStorageInfo volume(root);
    const int type = DriveType(volume);
    if (type == 2)
        return QStringLiteral("Floppy");
    if (type < 3 || type > 6)
        return {};
    if (!volume.isReady())
        return type == 5 ? QStringLiteral("CD Drive") : QString();
    const QString label = volume.name();
    return label.isEmpty() ? QStringLiteral("Local Disc") : ProperCase(label);
}

QImage McListBox::GetItemIcon(const QString& path) {
    QString key;
    if (mode_ == 1) {
        key = path;
    } else if (path.contains(u'.')) {
        key = path.mid(path.lastIndexOf(u'.') + 1).toLower();
    } else if (path.endsWith(kPathSeparator) && path.indexOf(kPathSeparator) == path.size() - 1) {
        key = path;
    } else {
        key = QStringLiteral("default");
    }
    static const QStringList ownIcons{QStringLiteral("exe"), QStringLiteral("lnk"),
                                      QStringLiteral("ico"), QStringLiteral("ani"),
                                      QStringLiteral("cur")};
    if (ownIcons.contains(key))
        return ExtractFileIcon(path, iconExtractSize_);
    for (const auto& [cachedKey, picture] : IconCache)
        if (cachedKey == key)
            return picture;
    QImage picture = ExtractFileIcon(path, iconExtractSize_);
    IconCache.emplace_back(key, picture);
    return picture;
}
