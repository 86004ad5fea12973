#include "controls/McListBox/McListBox.h"
#include "platform/forms/ControlContainer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A folder with the sub-folders A, B, a hidden .H and a folder named x.txt, and the files
// a.txt, b.doc and noext.
class ListFileModes : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        QDir root(folder.path());
        for (const char* name : {"A", "B", ".H", "x.txt"})
            ASSERT_TRUE(root.mkdir(QString::fromLatin1(name)));
        for (const char* name : {"a.txt", "b.doc", "noext"}) {
            QFile file(root.filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        list.setContainer(&container);
        list.InitProperties();
        list.setPath(folder.path());
    }

    QStringList Rows() const {
        QStringList rows;
        for (int i = 0; i < list.ListCount(); ++i)
            rows << list.List(i);
        rows.sort();
        return rows;
    }

    QTemporaryDir folder;
    ControlContainer container;
    McListBox list;
};

} // namespace

TEST_F(ListFileModes, FolderModeListsVisibleSubFoldersOnly) {
    list.setMode(2);
    EXPECT_EQ(Rows(), (QStringList{"A", "B", "x.txt"}));
    list.setShowHiddenFiles(true);
    EXPECT_EQ(Rows(), (QStringList{".H", "A", "B", "x.txt"}));
}

TEST_F(ListFileModes, FileModeListsMatchingFilesButNoFolders) {
    list.setMode(3);
    EXPECT_EQ(Rows(), (QStringList{"a.txt", "b.doc", "noext"}));
    list.setFilter(QStringLiteral("*.txt"));
    EXPECT_EQ(Rows(), QStringList{"a.txt"});
    EXPECT_EQ(list.ListIcon(0), -1);
    EXPECT_FALSE(list.ListBold(0));
}

TEST_F(ListFileModes, MissingFolderListsNothing) {
    list.setMode(3);
    list.setPath(folder.filePath(QStringLiteral("missing")));
    EXPECT_EQ(list.ListCount(), 0);
}
