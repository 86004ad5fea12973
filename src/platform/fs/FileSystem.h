#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The file-system services the list control's file modes expect of their platform: the
// machine's drives, a directory search with one wildcard pattern, and the icon of a path.
//
// On this platform a drive is a mounted storage volume, named by its root path ("/",
// "/media/usb"), listed in the order the system mounted them. Kernel and runtime trees that
// hold no user files (proc, sysfs, cgroup, devpts and their kind, anything mounted under
// /proc, /sys, /dev or /run, and overlay layers other than a container's root) are no drives.
namespace FileSystem {

// The platform's drive types.
enum DriveKind { kNoDrive = 0, kRemovable = 2, kFixed = 3, kNetwork = 4, kOptical = 5, kRam = 6 };

QStringList DriveRoots();

// The kind of the volume whose root is `root` (a trailing "/" is allowed), kNoDrive when no
// mounted volume has that root.
int DriveType(const QString& root);

// The volume's label, "" when it has none; nothing when the volume cannot be read.
std::optional<QString> VolumeLabel(const QString& root);

struct DirectoryEntry {
    QString Name;
    bool Folder = false;
    // A name starting with "."
    bool Hidden = false;
    // Neither a regular file nor a folder: devices, sockets, pipes, dangling links.
    bool System = false;
};

// The entries of `folder` whose names match `pattern` ("*.*" matches every name), without
// "." and "..", in the order the file system keeps them. Nothing when the folder cannot be
// searched or no name matched (an existing folder always matches "*" and "*.*" through its
// own "." entry, as the original search did).
std::optional<std::vector<DirectoryEntry>> FindEntries(const QString& folder,
                                                       const QString& pattern);

// The icon the desktop shows for `path`, 32 pixels square when `large`, else 16; a null
// image when there is none.
QImage FileIcon(const QString& path, bool large);

} // namespace FileSystem
