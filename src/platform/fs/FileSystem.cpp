#include "platform/fs/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>

namespace FileSystem {

namespace {

bool IsUnder(const QString& tree, const QString& path) {
    return path == tree || path.startsWith(tree + u'/');
}

bool HoldsUserFiles(const QStorageInfo& volume) {
    static const QSet<QByteArray> pseudo{
        "proc",     "sysfs",      "cgroup",    "cgroup2",    "devpts",          "devtmpfs",
        "mqueue",   "debugfs",    "tracefs",   "securityfs", "pstore",          "bpf",
        "configfs", "fusectl",    "hugetlbfs", "autofs",     "binfmt_misc",     "efivarfs",
        "nsfs",     "rpc_pipefs", "selinuxfs", "rootfs",     "fuse.gvfsd-fuse", "fuse.portal"};
    const QByteArray type = volume.fileSystemType().toLower();
    if (pseudo.contains(type))
        return false;
    const QString root = volume.rootPath();
    for (const char* tree : {"/proc", "/sys", "/dev", "/run", "/var/run", "/var/lock"})
        if (IsUnder(QString::fromLatin1(tree), root))
            return false;
    // Overlay layers of container engines: only a container's own root is its disk.
    if (type == "overlay" && root != QLatin1String("/"))
        return false;
    // Single files mounted over others (a container's host name, its resolver settings).
    return QFileInfo(root).isDir();
}

std::optional<QStorageInfo> VolumeAt(const QString& root) {
    const QString clean = QDir::cleanPath(root);
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.rootPath() == clean)
            return volume;
    return std::nullopt;
}

QString ReadLine(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readLine()).trimmed();
}

// The kernel marks a removable disk (and with it each of its partitions' disk).
bool IsRemovable(const QByteArray& device) {
    if (!device.startsWith("/dev/"))
        return false;
    const QString block =
        QStringLiteral("/sys/class/block/") + QFileInfo(QString::fromLocal8Bit(device)).fileName();
    if (!QFileInfo::exists(block))
        return false;
    if (ReadLine(block + QStringLiteral("/removable")) == QLatin1String("1"))
        return true;
    const QString disk = QFileInfo(QFileInfo(block).canonicalFilePath()).path();
    return ReadLine(disk + QStringLiteral("/removable")) == QLatin1String("1");
}

} // namespace

QStringList DriveRoots() {
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && HoldsUserFiles(volume) && !roots.contains(volume.rootPath()))
            roots.append(volume.rootPath());
    return roots;
}

int DriveType(const QString& root) {
    const std::optional<QStorageInfo> volume = VolumeAt(root);
    if (!volume)
        return kNoDrive;
    const QByteArray type = volume->fileSystemType().toLower();
    const QByteArray device = volume->device();
    if (type == "iso9660" || type == "udf" || device.startsWith("/dev/sr") ||
        device.startsWith("/dev/cdrom"))
        return kOptical;
    static const QSet<QByteArray> network{"nfs",   "nfs4",  "cifs",       "smb3",
                                          "smbfs", "afs",   "ceph",       "glusterfs",
                                          "9p",    "davfs", "fuse.sshfs", "fuse.rclone"};
    if (network.contains(type))
        return kNetwork;
    if (type == "tmpfs" || type == "ramfs" || device.startsWith("/dev/ram") ||
        device.startsWith("/dev/zram"))
        return kRam;
    if (IsRemovable(device))
        return kRemovable;
    return kFixed;
}

std::optional<QString> VolumeLabel(const QString& root) {
    const std::optional<QStorageInfo> volume = VolumeAt(root);
    if (!volume || !volume->isReady())
        return std::nullopt;
    return volume->name();
}

std::optional<std::vector<DirectoryEntry>> FindEntries(const QString& folder,
                                                       const QString& pattern) {
    const QDir dir(folder);
    if (!QFileInfo(folder).isDir() || !dir.isReadable())
        return std::nullopt;
    // The original search's "*.*" matches names without a dot too.
    const QString filter = pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern;
    const QFileInfoList found = dir.entryInfoList(
        {filter}, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDir::Unsorted);
    if (found.isEmpty() && !QDir::match(filter, QStringLiteral(".")))
        return std::nullopt;
    std::vector<DirectoryEntry> entries;
    entries.reserve(static_cast<size_t>(found.size()));
    for (const QFileInfo& info : found) {
        DirectoryEntry entry;
        entry.Name = info.fileName();
        entry.Folder = info.isDir();
        entry.Hidden = entry.Name.startsWith(u'.');
        entry.System = !info.isDir() && !info.isFile();
        entries.push_back(entry);
    }
    return entries;
}

QImage FileIcon(const QString& path, bool large) {
    static const QFileIconProvider provider;
    const int side = large ? 32 : 16;
    return provider.icon(QFileInfo(path)).pixmap(side, side).toImage();
}

} // namespace FileSystem
