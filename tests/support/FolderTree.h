#pragma once

#include "controls/McListBox/McListBox.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QString>
#include <gtest/gtest.h>

// Walking a list's folder tree (modes 4 and 5) as the user does.
namespace FolderTree {

inline int Row(const McListBox& list, const QString& text) {
    for (int i = 0; i < list.ListCount(); ++i)
        if (list.List(i) == text)
            return i;
    return -1;
}

// The user's double-click: it toggles the current row.
inline void DoubleClick(McListBox& list, int row) {
    ASSERT_GE(row, 0);
    list.setListIndex(row);
    const QPointF at(10, 10);
    QMouseEvent click(QEvent::MouseButtonDblClick, at, list.mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&list, &click);
}

// The drive a path lies on: the longest drive root it starts with.
inline QString DriveOf(const McListBox& list, const QString& path) {
    QString drive;
    for (const QString& root : list.GetDriveList()) {
        const QString prefix = root.endsWith(u'/') ? root : root + u'/';
        if (path.startsWith(prefix) && root.size() > drive.size())
            drive = root;
    }
    return drive;
}

// Expands the tree from the drive of `path` down to `path` itself.
inline void ExpandDownTo(McListBox& list, const QString& path) {
    const QString drive = DriveOf(list, path);
    ASSERT_FALSE(drive.isEmpty());
    DoubleClick(list, Row(list, drive));
    QString at = drive.endsWith(u'/') ? drive.chopped(1) : drive;
    for (const QString& segment : path.mid(drive.size()).split(u'/', Qt::SkipEmptyParts)) {
        at += u'/' + segment;
        DoubleClick(list, Row(list, at));
    }
    ASSERT_TRUE(list.ListBold(Row(list, path)));
}

} // namespace FolderTree
