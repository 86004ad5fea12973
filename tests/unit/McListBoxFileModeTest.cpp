#include "controls/McListBox/McListBox.h"
#include "platform/forms/ControlContainer.h"
#include "support/FolderTree.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

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
        list.setClientSize(200, 176);
        list.setPath(folder.path());
    }

    QStringList Rows() const {
        QStringList rows;
        for (int i = 0; i < list.ListCount(); ++i)
            rows << list.List(i);
        rows.sort();
        return rows;
    }

    QStringList Unsorted() const {
        QStringList rows;
        for (int i = 0; i < list.ListCount(); ++i)
            rows << list.List(i);
        return rows;
    }

    int Row(const QString& text) const { return FolderTree::Row(list, text); }

    void Touch(const char* name) {
        QFile file(QDir(folder.path()).filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    void DoubleClick(int row) { FolderTree::DoubleClick(list, row); }
    QString DriveOfFolder() const { return FolderTree::DriveOf(list, folder.path()); }
    void ExpandDownToFolder() { FolderTree::ExpandDownTo(list, folder.path()); }

    int Level(QString text) {
        int shift = 0;
        list.CheckItem(text, shift, -1);
        return shift / list.RowHeight();
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

TEST_F(ListFileModes, HiddenAndSystemSettingsReloadEvenWhenUnchangedButFilterDoesNot) {
    list.setMode(3);
    Touch("late.txt");
    list.setFilter(QStringLiteral("*.*"));
    EXPECT_FALSE(Rows().contains(QStringLiteral("late.txt")));
    list.setShowHiddenFiles(false);
    EXPECT_TRUE(Rows().contains(QStringLiteral("late.txt")));

    // A pipe is neither a file nor a folder: a system entry.
    ASSERT_EQ(
        ::mkfifo(QFile::encodeName(folder.filePath(QStringLiteral("pipe"))).constData(), 0600), 0);
    Touch(".hidden");
    list.setShowSystemFiles(false);
    EXPECT_EQ(Rows(), (QStringList{"a.txt", "b.doc", "late.txt", "noext"}));
    list.setShowSystemFiles(true);
    EXPECT_TRUE(Rows().contains(QStringLiteral("pipe")));
    list.setShowHiddenFiles(true);
    EXPECT_TRUE(Rows().contains(QStringLiteral(".hidden")));

    list.setMode(0);
    list.AddItem(QStringLiteral("host row"));
    list.setShowHiddenFiles(true);
    EXPECT_EQ(list.ListCount(), 0);
}

TEST_F(ListFileModes, DriveModeListsTheRootVolumeAsOneDriveRowWithItsCaption) {
    list.setMode(1);
    const QStringList rows = Unsorted();
    EXPECT_EQ(rows, list.GetDriveList());
    EXPECT_EQ(rows.count(QStringLiteral("/")), 1);
    for (const QString& row : rows)
        for (const char* tree : {"/proc", "/sys", "/dev", "/run"})
            EXPECT_FALSE(row == QLatin1String(tree) || row.startsWith(QLatin1String(tree) + u'/'))
                << row.toStdString();
    // The drawing asks with a separator added; the root is a fixed disk, labelled or not.
    const QString caption = list.GetDriveCaption(QStringLiteral("//"));
    EXPECT_EQ(caption, list.GetDriveCaption(QStringLiteral("/")));
    EXPECT_FALSE(caption.isEmpty());
    EXPECT_EQ(list.GetDriveCaption(folder.path() + u'/'), QString());

    // In a tree the root is level 0 and keeps its name.
    list.setMode(4);
    QString root = QStringLiteral("/");
    int shift = 0;
    list.CheckItem(root, shift, -1);
    EXPECT_EQ(root, QStringLiteral("/"));
    EXPECT_EQ(shift, 0);
}

TEST_F(ListFileModes, TreeExpandsAndCollapsesNestedFolders) {
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("A/A1/A11")));
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("A/A2")));
    list.setMode(4);
    const QStringList drives = list.GetDriveList();
    ASSERT_EQ(Unsorted(), drives);
    ExpandDownToFolder();
    const QString base = folder.path();
    const int at = Row(base);
    auto children = [&](int row, int count) {
        QStringList names = Unsorted().mid(row + 1, count);
        names.sort();
        return names;
    };
    EXPECT_EQ(children(at, 3), (QStringList{base + "/A", base + "/B", base + "/x.txt"}));
    DoubleClick(Row(base + "/A"));
    EXPECT_EQ(children(Row(base + "/A"), 2), (QStringList{base + "/A/A1", base + "/A/A2"}));
    DoubleClick(Row(base + "/A/A1"));
    EXPECT_EQ(Row(base + "/A/A11"), -1);
    EXPECT_EQ(Row(base + "/A/A1/A11"), Row(base + "/A/A1") + 1);
    EXPECT_EQ(Level(base + "/A/A1/A11"), Level(base) + 3);

    // Collapsing takes every row below, deeper levels included, and the expanded mark.
    const int count = list.ListCount();
    DoubleClick(Row(base + "/A"));
    EXPECT_EQ(list.ListCount(), count - 3);
    EXPECT_FALSE(list.ListBold(Row(base + "/A")));
    EXPECT_EQ(Row(base + "/A/A1/A11"), -1);
    EXPECT_EQ(children(at, 3), (QStringList{base + "/A", base + "/B", base + "/x.txt"}));

    // Collapsing the drive empties the tree back to the drives: the root's rows end at the
    // next drive's row, or with the list.
    DoubleClick(Row(DriveOfFolder()));
    EXPECT_EQ(Unsorted(), drives);
    EXPECT_FALSE(list.ListBold(Row(DriveOfFolder())));
}

TEST_F(ListFileModes, FileTreeAddsMatchingFilesAfterFoldersAndMarksFileRows) {
    list.setFilter(QStringLiteral("*.txt"));
    list.setMode(5);
    ExpandDownToFolder();
    const QString base = folder.path();
    const int at = Row(base);
    QStringList folders = Unsorted().mid(at + 1, 3);
    folders.sort();
    EXPECT_EQ(folders, (QStringList{base + "/A", base + "/B", base + "/x.txt"}));
    EXPECT_EQ(list.List(at + 4), base + "/a.txt");
    EXPECT_FALSE(list.List(at + 5).startsWith(base + u'/'));
    // A file row has nothing to show but takes the mark, and keeps it.
    const int count = list.ListCount();
    for (int round = 0; round < 2; ++round) {
        DoubleClick(at + 4);
        EXPECT_TRUE(list.ListBold(at + 4));
        EXPECT_EQ(list.ListCount(), count);
    }
}

TEST_F(ListFileModes, IconsAreSharedByKeyAndExtractedAnewAtTheOtherSize) {
    for (const char* name : {"x.doc", "y.doc", "p.exe", "q.exe"})
        Touch(name);
    list.setMode(3);
    const QString dir = list.Path();
    auto icon = [&](const char* name) { return list.GetItemIcon(dir + QString::fromLatin1(name)); };
    // How many pictures the icon source hands out for the given names.
    auto extractions = [&](std::initializer_list<const char*> names) {
        const int before = list.IconExtractCount();
        for (const char* name : names)
            icon(name);
        return list.IconExtractCount() - before;
    };
    const QImage doc = icon("x.doc");
    ASSERT_FALSE(doc.isNull());
    EXPECT_EQ(doc.size(), QSize(16, 16));
    EXPECT_EQ(extractions({"x.doc", "y.doc", "b.DOC"}), 0);
    EXPECT_EQ(icon("y.doc").cacheKey(), doc.cacheKey());
    // Files that carry their own icons are taken from the file every time.
    EXPECT_EQ(extractions({"p.exe", "p.exe", "q.exe"}), 3);
    // Names without a dot share one icon, folders or not; a folder with a dot shares the
    // icon of its extension.
    EXPECT_EQ(extractions({"A", "noext", "B"}), 1);
    EXPECT_EQ(extractions({"a.txt", "x.txt"}), 1);

    list.setIconExtractSize(1);
    EXPECT_EQ(extractions({"y.doc", "x.doc"}), 1);
    EXPECT_EQ(icon("x.doc").size(), QSize(32, 32));
    // A new listing starts a new cache.
    list.setFilter(QStringLiteral("*.doc"));
    EXPECT_EQ(extractions({"x.doc"}), 1);
}
