#include "controls/McImageList.h"
#include "controls/McListBox/McListBox.h"
#include "platform/forms/ControlContainer.h"
#include "platform/forms/PropertyStore.h"
#include "platform/forms/SystemColors.h"
#include "platform/forms/Twips.h"
#include "support/FolderTree.h"
#include "support/TextInk.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonObject>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The main window's to-do list as its stored design has it.
QJsonObject TasksDesign() {
    return QJsonObject{
        {"Font", QJsonObject{{"font", QJsonObject{{"name", "MS Sans Serif"}, {"size", 8.25}}}}},
        {"BackColor", 0x00FFC0C0},
        {"SelColor", 0x000080FF},
        {"SelForeColor", 0x00004080},
        {"FullRowSelect", true},
        {"RowHeight", 32},
        {"GridLines", true},
        {"GridColor", 0x00FF0000},
        {"BackGradient", 6},
        {"SelGradient", 1},
        {"BackGradientCol", 0x00FF8080},
        {"SelGradientCol", 0x00C0E0FF},
        {"Path", "C:\\Program Files\\Pelmoran\\"},
    };
}

// One component of entry i of an n-step ramp from a to b.
int RampComponent(int a, int b, int i, int n) {
    return a + (b - a) * i / n;
}

uint32_t Ramp(uint32_t from, uint32_t to, int i, int n) {
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        result |= static_cast<uint32_t>(RampComponent(static_cast<int>((from >> shift) & 0xFF),
                                                      static_cast<int>((to >> shift) & 0xFF), i, n))
                  << shift;
    return result;
}

class TasksListDemo : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(724, 599);
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, SystemColors::ToQColor(0x00C0FFFF));
        window.setPalette(palette);
        window.setAutoFillBackground(true);
        list = new McListBox(&window);
        list->setContainer(&container);
        list->setGeometry(TwipsRect(4680, 3240, 6015, 3495));
        list->ReadProperties(PropertyStore::FromJson(TasksDesign()));
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        const int refreshes = list->RefreshCount();
        for (int i = 1; i <= 200; ++i)
            list->AddItem(QStringLiteral("%1 - Todo number %1").arg(i));
        // The rows appear with the deferred refresh, as the main window's rows do.
        ASSERT_TRUE(QTest::qWaitFor([&] { return list->RefreshCount() > refreshes; }));
        list->setListIndex(2);
    }

    uint32_t Pixel(int x, int y) const { return list->DrawingSurface().Pixel(x, y); }

    ControlContainer container;
    QWidget window;
    McListBox* list = nullptr;
};

} // namespace

TEST_F(TasksListDemo, ScreenshotShowsTheGradientsAndGridLines) {
    const int w = list->ClientWidth();
    const int h = list->ClientHeight();
    ASSERT_EQ(list->VisibleRows(), h / 32);
    const double pitch = h / double(list->VisibleRows());

    // Background: diagonal up from the gradient colour (bottom-left) to the back colour.
    EXPECT_EQ(Pixel(0, h - 1), 0x00FF8080u);
    const int n = w + h - 2;
    EXPECT_EQ(Pixel(w - 1, 1), Ramp(0x00FF8080, 0x00FFC0C0, n - 1, n));
    EXPECT_EQ(Pixel(1, h - 2), Ramp(0x00FF8080, 0x00FFC0C0, 2, n));

    // Selected row 2: horizontal gradient from the selection gradient colour to the selection
    // colour, one pixel below the row top, RowPitch rows high.
    const int top = static_cast<int>(std::nearbyint(2 * pitch));
    EXPECT_EQ(Pixel(0, top + 5), 0x00C0E0FFu);
    EXPECT_EQ(Pixel(w - 1, top + 5), 0x000080FFu);
    EXPECT_EQ(Pixel(w / 2, top + 5), Ramp(0x00C0E0FF, 0x000080FF, w / 2, w - 1));

    // Grid lines at every row top, rounded halves to even, drawn over the selection.
    for (int row = 0; row < list->VisibleRows(); ++row) {
        const int y = static_cast<int>(std::nearbyint(row * pitch));
        EXPECT_EQ(Pixel(w / 2, y), 0x00FF0000u) << "row " << row;
    }
    const int next = static_cast<int>(std::nearbyint(3 * pitch));
    const int gradientEnd = top + static_cast<int>(std::nearbyint(pitch));
    for (int y = top + 1; y <= gradientEnd; ++y)
        EXPECT_EQ(Pixel(0, y), y == next ? 0x00FF0000u : 0x00C0E0FFu) << y;
    EXPECT_NE(Pixel(0, gradientEnd + 1), 0x00C0E0FFu);

    // The selected row's text in the selection text colour, the others in the button text,
    // each blended into the gradient below it: the selection's is the same down each column,
    // the back one runs up the diagonals.
    int selectedText = 0;
    int plainText = 0;
    const auto rgb = [](uint32_t bgr) { return SystemColors::ToQColor(bgr).rgb(); };
    const QRgb buttonText = rgb(SystemColors::Translate(0x80000012u).value());
    const QRgb selectedInk = rgb(0x00004080);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (y > top && y < next)
                selectedText +=
                    InkCover(rgb(Pixel(x, y)), rgb(Pixel(x, top + 5)), selectedInk) >= 0.5;
            else if (y > next)
                plainText +=
                    InkCover(rgb(Pixel(x, y)), rgb(Ramp(0x00FF8080, 0x00FFC0C0, x + h - 1 - y, n)),
                             buttonText) >= 0.5;
        }
    EXPECT_GT(selectedText, 20);
    EXPECT_GT(plainText, 100);

    QScrollBar* vertical = list->Window().ScrollBar(ScrollBars::kVertical);
    EXPECT_EQ(vertical->maximum(), 200 - list->VisibleRows());
    EXPECT_TRUE(vertical->isEnabled());

    // What the screen shows is the surface, inside the frame.
    const QImage shot = window.grab().toImage();
    const QString file = QDir(QCoreApplication::applicationDirPath()).filePath("McListBoxDemo.png");
    ASSERT_TRUE(shot.save(file));
    const QPoint origin =
        list->geometry().topLeft() + QPoint(list->FrameWidth(), list->FrameWidth());
    for (const QPoint p : {QPoint(0, h - 1), QPoint(w - 1, top + 5), QPoint(w / 2, top)})
        EXPECT_EQ(SystemColors::FromQColor(shot.pixelColor(origin + p)), Pixel(p.x(), p.y()))
            << p.x() << "," << p.y();
}

namespace {

// A 16-pixel picture: a disc of one colour on white.
QImage Disc(const QColor& colour) {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.setPen(colour.darker());
    painter.drawEllipse(1, 1, 14, 14);
    return image;
}

// A folder tree beside a host-filled list whose icons come from an image list.
class TreeAndImagesDemo : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        QDir root(folder.path());
        for (const char* path : {"Projects/Alpha/src", "Projects/Beta", "Letters/2024", "Photos"})
            ASSERT_TRUE(root.mkpath(QString::fromLatin1(path)));
        window.resize(560, 300);
        tree = new McListBox(&window);
        tree->setContainer(&container);
        tree->InitProperties();
        tree->setGeometry(10, 10, 300, 280);
        tree->setShowIcon(true);
        tree->setMode(4);
        host = new McListBox(&window);
        host->setContainer(&container);
        host->InitProperties();
        host->setGeometry(320, 10, 230, 160);
        host->setShowIcon(true);
        images = new McImageList(&window);
        images->setContainer(&container);
        images->InitProperties();
        images->move(320, 180);
        for (const QColor& colour : {QColor(Qt::red), QColor(Qt::darkGreen), QColor(Qt::blue)})
            images->setAddNewImage(Disc(colour));
        host->setImageList(images);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    int Row(const QString& text) const { return FolderTree::Row(*tree, text); }
    void DoubleClick(const QString& text) { FolderTree::DoubleClick(*tree, Row(text)); }

    QTemporaryDir folder;
    ControlContainer container;
    QWidget window;
    McListBox* tree = nullptr;
    McListBox* host = nullptr;
    McImageList* images = nullptr;
};

} // namespace

TEST_F(TreeAndImagesDemo, ScreenshotShowsATreeWithIconsAndLinesAndImageListIcons) {
    // Down from the folder's drive to the folder, then two levels below it.
    FolderTree::ExpandDownTo(*tree, folder.path());
    const QString base = folder.path();
    for (const char* child : {"/Projects", "/Letters"})
        DoubleClick(base + QString::fromLatin1(child));
    DoubleClick(base + "/Projects/Alpha");
    // The folder on top, nothing selected in view.
    tree->setListIndex(0);
    tree->Bars().SetBarValue(ScrollBars::kVertical, Row(base));
    tree->Refresh();

    for (const char* text : {"Red", "Green", "Blue"})
        host->AddItem(QString::fromLatin1(text), -1,
                      static_cast<int>(QStringList{"Red", "Green", "Blue"}.indexOf(text)));
    host->AddItem(QStringLiteral("No icon"));
    host->Refresh();

    // Tree: the folder is drawn at its level with the connector lines of every level
    // above it, and each row has its folder icon.
    const Surface& surface = tree->DrawingSurface();
    const int rowHeight = tree->RowHeight();
    const double pitch = tree->RowPitch();
    const uint32_t grey = SystemColors::Translate(0x80000011u).value();
    int level = 0;
    {
        QString text = base;
        tree->CheckItem(text, level, -1);
        level /= rowHeight;
        EXPECT_EQ(text, QDir(base).dirName());
    }
    ASSERT_GE(level, 1);
    for (int k = 0; k < level; ++k)
        EXPECT_EQ(surface.Pixel(static_cast<int>(std::nearbyint(k * rowHeight + rowHeight / 2.0)),
                                static_cast<int>(pitch / 2)),
                  grey)
            << k;
    auto iconPixels = [&](const Surface& s, int x, int y, int side, uint32_t ground) {
        int count = 0;
        for (int dy = 2; dy < side - 2; ++dy)
            for (int dx = 2; dx < side - 2; ++dx)
                count += s.Pixel(x + dx, y + dy) != ground ? 1 : 0;
        return count;
    };
    for (int row = 0; row < 4; ++row) {
        const int y = static_cast<int>(std::nearbyint(row * pitch));
        const int x = (level + (row == 0 ? 0 : 1)) * rowHeight;
        EXPECT_GT(iconPixels(surface, x, y, static_cast<int>(pitch), 0x00FFFFFFu), 20) << row;
    }

    // Host list: row icons are the image list's pictures, centred in the icon cell.
    const Surface& hostSurface = host->DrawingSurface();
    const double hostPitch = host->RowPitch();
    const int centre = static_cast<int>(std::nearbyint(hostPitch / 2));
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(SystemColors::ToQColor(hostSurface.Pixel(
                      centre, static_cast<int>(std::nearbyint(row * hostPitch)) + centre)),
                  images->ListImages(row).pixelColor(8, 8))
            << row;
    EXPECT_EQ(iconPixels(hostSurface, 0, static_cast<int>(std::nearbyint(3 * hostPitch)),
                         static_cast<int>(hostPitch), 0x00FFFFFFu),
              0);

    const QImage shot = window.grab().toImage();
    ASSERT_TRUE(
        shot.save(QDir(QCoreApplication::applicationDirPath()).filePath("McListBoxTreeDemo.png")));
}
