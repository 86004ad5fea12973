// Registered twice: as it is, and again with Qt scaling every window by 2 (a screen of twice the
// density). Both runs check the same pixel figures, so the list must reckon alike at both.
#include "controls/McListBox/McListBox.h"
#include "controls/TransPicBox.h"
#include "platform/forms/ControlContainer.h"
#include "platform/forms/Form.h"
#include "platform/forms/PropertyStore.h"
#include "platform/forms/SystemColors.h"
#include "platform/forms/Twips.h"
#include "support/TextInk.h"

#include <QGuiApplication>
#include <QScrollBar>
#include <QSvgRenderer>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// The main window's to-do list: its stored design and place, 200 rows, the third selected.
class ListAtDensity : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(724, 599);
        list = new McListBox(&window);
        list->setContainer(&container);
        list->ReadProperties(Form::StoredDesign(":/windows/frmMain.json", "lstTasks"));
        list->setGeometry(TwipsRect(4680, 3240, 6015, 3495));
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        Fill(true);
    }

    void Fill(bool withText) {
        list->Clear();
        for (int i = 1; i <= 200; ++i)
            list->AddItem(withText ? QStringLiteral("%1 - Todo number %1").arg(i) : QString());
        list->Refresh();
        list->setListIndex(2);
    }

    // The client area as the screen shows it, in device pixels.
    QImage Shown() const {
        const int frame = list->FrameWidth();
        QImage shot = list->grab(QRect(frame, frame, list->ClientWidth(), list->ClientHeight()))
                          .toImage()
                          .convertToFormat(QImage::Format_RGB32);
        shot.setDevicePixelRatio(1);
        return shot;
    }

    int RowAt(int y) {
        const int frame = list->FrameWidth();
        QTest::mouseClick(list, Qt::LeftButton, {}, QPoint(frame + 30, frame + y));
        return list->ListIndex();
    }

    ControlContainer container;
    QWidget window;
    McListBox* list = nullptr;
};

} // namespace

TEST_F(ListAtDensity, KeepsItsSizesScrollRangesAndHitTestingInPixels) {
    const qreal ratio = qGuiApp->devicePixelRatio();
    EXPECT_EQ(list->devicePixelRatioF(), ratio);
    EXPECT_EQ(list->size(), QSize(401, 233));
    const int frame = list->FrameWidth();
    const int bar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    ASSERT_EQ(list->ClientWidth(), 401 - 2 * frame - bar);
    ASSERT_EQ(list->ClientHeight(), 233 - 2 * frame - bar);
    EXPECT_EQ(list->VisibleRows(), list->ClientHeight() / 32);
    const double pitch = list->RowPitch();
    EXPECT_EQ(pitch, list->ClientHeight() / double(list->VisibleRows()));

    // The surface reckons in pixels and holds device pixels.
    const Surface& surface = list->DrawingSurface();
    EXPECT_EQ(surface.Width(), list->ClientWidth());
    EXPECT_EQ(surface.Height(), list->ClientHeight());
    EXPECT_EQ(surface.DevicePixelRatio(), ratio);
    EXPECT_EQ(surface.Image().size(), QSize(surface.Width(), surface.Height()) * ratio);

    // Rows under points either side of a row boundary, then scrolled half way.
    const int boundary = static_cast<int>(std::ceil(4 * pitch));
    EXPECT_EQ(RowAt(boundary - 1), 3);
    EXPECT_EQ(RowAt(boundary), 4);
    QScrollBar* vertical = list->Window().ScrollBar(ScrollBars::kVertical);
    EXPECT_EQ(vertical->maximum(), 200 - list->VisibleRows());

    // Text widths, and so the horizontal range, are those of the font in pixels.
    const QString wide = QStringLiteral("A row far wider than the list, ") + QString(40, u'W');
    list->AddItem(wide, 0);
    list->Refresh();
    Surface plain(1, 1);
    plain.SetFont(list->Font());
    const ScrollBars::Layer& bars = list->Bars();
    EXPECT_EQ(bars.GetBarMax(ScrollBars::kHorizontal) -
                  bars.GetLargeChange(ScrollBars::kHorizontal),
              plain.TextWidth(wide) + 50 - list->ClientWidth());

    list->Bars().SetBarValue(ScrollBars::kVertical, 100);
    list->Refresh();
    EXPECT_EQ(RowAt(static_cast<int>(std::floor(1.5 * pitch))), 101);
}

TEST_F(ListAtDensity, DrawsBlendedTextAndWholePixelBlocksShownOneForOne) {
    const qreal ratio = qGuiApp->devicePixelRatio();
    const int r = static_cast<int>(ratio);
    const QImage shown = Shown();
    // What the screen shows is the buffer itself, not a resampled copy of it.
    QImage buffer = list->DrawingSurface().Image();
    buffer.setDevicePixelRatio(1);
    EXPECT_TRUE(shown == buffer);

    // The same rows with no text: what differs is ink, each pixel of it a text colour
    // blended into the ground below it by the glyph's coverage; any other colour there is a
    // fringe or an edge blurred by enlarging.
    Fill(false);
    const QImage ground = Shown();
    ASSERT_EQ(ground.size(), shown.size());
    const uint32_t foreColour = SystemColors::Translate(list->ForeColor()).value();
    const QRgb ink[] = {SystemColors::ToQColor(foreColour).rgb(),
                        SystemColors::ToQColor(list->SelForeColor()).rgb()};
    int inkPixels = 0;
    int dark = 0;
    int stray = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb p = shown.pixel(x, y);
            const QRgb under = ground.pixel(x, y);
            if (p == under)
                continue;
            ++inkPixels;
            const double cover = std::max(InkCover(p, under, ink[0]), InkCover(p, under, ink[1]));
            if (cover < 0 && stray++ == 0)
                ADD_FAILURE() << "not text over its ground at " << x << "," << y;
            dark += cover >= 0.5 ? 1 : 0;
        }
    EXPECT_GT(inkPixels, 200 * r * r);
    EXPECT_GT(dark, 100 * r * r);
    EXPECT_EQ(stray, 0) << "of " << inkPixels;

    // Ground, gradients, selection and grid lines fill whole blocks; only the ink is finer,
    // since it is drawn at the screen's density rather than enlarged.
    int groundSplit = 0;
    int inkSplit = 0;
    for (int y = 0; y + r <= shown.height(); y += r)
        for (int x = 0; x + r <= shown.width(); x += r) {
            bool uniform = true;
            for (int dy = 0; dy < r; ++dy)
                for (int dx = 0; dx < r; ++dx)
                    uniform = uniform && shown.pixel(x + dx, y + dy) == shown.pixel(x, y);
            if (!uniform)
                ++(ground.copy(x, y, r, r) == shown.copy(x, y, r, r) ? groundSplit : inkSplit);
        }
    EXPECT_EQ(groundSplit, 0);
    if (r > 1) {
        EXPECT_GT(inkSplit, 50);
    }
}

TEST(PicturesAtDensity, SvgPicturesHoldDevicePixelsAndKeepTheirSizeInPixels) {
    const qreal ratio = qGuiApp->devicePixelRatio();
    const QString path = QStringLiteral(":/windows/main-emblem.svg");
    const QSize size = QSvgRenderer(path).defaultSize();
    const QImage picture = LoadPicture(path);
    EXPECT_EQ(picture.devicePixelRatio(), ratio);
    EXPECT_EQ(picture.size(), size * ratio);

    QWidget window;
    auto* box = new TransPicBox(&window);
    box->setPicture(picture);
    EXPECT_EQ(box->size(), size);
    // Cut pixel by pixel: the ground corner is see-through, the middle is not.
    EXPECT_FALSE(box->mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(box->mask().contains(QPoint(size.width() / 2, size.height() / 2)));
}
