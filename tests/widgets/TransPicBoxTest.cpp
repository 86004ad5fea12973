#include "controls/TransPicBox.h"
#include "platform/RuntimeError.h"
#include "platform/forms/ControlContainer.h"
#include "platform/forms/Form.h"
#include "platform/forms/PropertyStore.h"
#include "platform/forms/SystemColors.h"

#include <QImage>
#include <QPalette>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QColor kWindowGreen(0, 128, 64);
const QColor kNearWhite(254, 255, 255);
const QColor kRed(200, 0, 0);
const QColor kMagenta(255, 0, 255);
constexpr uint32_t kMagentaMask = 0x00FF00FF;

// A 20 x 10 picture on `ground` with a near-white pixel at (2,2) and a red one at (3,2).
QImage Picture(const QColor& ground = Qt::white) {
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(ground);
    image.setPixelColor(2, 2, kNearWhite);
    image.setPixelColor(3, 2, kRed);
    return image;
}

// A control on a green window, placed at (10, 10) in the size the window's design gives it.
class TransPicBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<QWidget>();
        window->resize(200, 160);
        QPalette palette = window->palette();
        palette.setColor(QPalette::Window, kWindowGreen);
        window->setPalette(palette);
        window->setAutoFillBackground(true);
        box = new TransPicBox(window.get());
        box->setGeometry(10, 10, 60, 40);
        box->setContainer(&container);
    }

    void Show() {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // What the window shows at a point given in the control's own coordinates.
    QColor Seen(int x, int y) {
        const QImage shot = window->grab().toImage();
        return shot.pixelColor(box->x() + x, box->y() + y);
    }

    ControlContainer container;
    std::unique_ptr<QWidget> window;
    TransPicBox* box = nullptr;
};

TEST_F(TransPicBoxTest, AutoSize_SnapsAStoredInstanceToItsPictureWhenTheWindowSizesIt) {
    PropertyStore store;
    store.WriteProperty(QStringLiteral("Picture"), Picture());
    box->ReadProperties(store);
    // Loading alone does not resize: the flag is off while the picture is applied.
    EXPECT_EQ(box->size(), QSize(60, 40));
    EXPECT_TRUE(box->AutoSize());

    box->setGeometry(10, 10, 90, 70);
    Show();
    EXPECT_EQ(box->size(), QSize(20, 10));
    box->resize(45, 45);
    EXPECT_EQ(box->size(), QSize(20, 10));
}

TEST_F(TransPicBoxTest, AutoSize_SnapsAtOnceWhenAPictureOrTheFlagIsSet) {
    Show();
    box->setPicture(Picture());
    EXPECT_EQ(box->size(), QSize(20, 10));

    box->setAutoSize(false);
    box->setPicture(QImage(33, 22, QImage::Format_RGB32));
    EXPECT_EQ(box->size(), QSize(20, 10));
    box->setAutoSize(true);
    EXPECT_EQ(box->size(), QSize(33, 22));
}

TEST_F(TransPicBoxTest, AutoSize_WithoutAPictureKeepsTheControlsOwnSize) {
    Show();
    box->setPicture(QImage());
    EXPECT_EQ(box->size(), QSize(60, 40));
    box->resize(70, 30);
    EXPECT_EQ(box->size(), QSize(70, 30));
}

TEST_F(TransPicBoxTest, AutoSizeOff_KeepsTheSizeAndDrawsThePictureUnscaledAtTheTopLeft) {
    Show();
    box->setPicture(Picture());
    box->setAutoSize(false);
    EXPECT_EQ(box->size(), QSize(20, 10));
    box->resize(80, 60);
    EXPECT_EQ(box->size(), QSize(80, 60));

    EXPECT_EQ(Seen(3, 2), kRed);
    EXPECT_EQ(Seen(2, 2), kNearWhite);
    // Beyond the picture the window shows through.
    EXPECT_EQ(Seen(40, 30), kWindowGreen);
    EXPECT_EQ(Seen(20, 2), kWindowGreen);
}

TEST_F(TransPicBoxTest, Mask_CutsOnlyPixelsExactlyEqualToWhite) {
    Show();
    box->setPicture(Picture());
    EXPECT_EQ(Seen(2, 2), kNearWhite);
    EXPECT_EQ(Seen(3, 2), kRed);
    EXPECT_EQ(Seen(0, 0), kWindowGreen);
    EXPECT_EQ(Seen(19, 9), kWindowGreen);
    EXPECT_FALSE(box->mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(box->mask().contains(QPoint(2, 2)));
}

TEST_F(TransPicBoxTest, Mask_MagentaGroundIsCutAndWhiteIsDrawn) {
    Show();
    QImage picture = Picture(kMagenta);
    picture.setPixelColor(5, 5, Qt::white);
    box->setMaskColor(kMagentaMask);
    box->setPicture(picture);
    EXPECT_EQ(Seen(0, 0), kWindowGreen);
    EXPECT_EQ(Seen(5, 5), QColor(Qt::white));
    EXPECT_EQ(Seen(3, 2), kRed);

    // Changing the mask colour afterwards re-cuts the same picture.
    box->setMaskColor(0x00FFFFFF);
    EXPECT_EQ(Seen(0, 0), kMagenta);
    EXPECT_EQ(Seen(5, 5), kWindowGreen);
}

TEST_F(TransPicBoxTest, Mask_SystemColourIsTranslatedBeforeCutting) {
    Show();
    const QColor face = SystemColors::ToQColor(*SystemColors::Lookup(SystemColors::kButtonFace));
    ASSERT_NE(face, QColor(Qt::white));
    box->setPicture(Picture(face));
    box->setMaskColor(SystemColors::System(SystemColors::kButtonFace));
    EXPECT_EQ(Seen(0, 0), kWindowGreen);
    EXPECT_EQ(Seen(2, 2), kNearWhite);
}

// Each window's emblem over the green window: a pixel at the edge of the drawing is the
// drawing's own colour blended with the green behind it, never one lighter than both in the
// channels of the mask colour, as a pixel blended toward the magenta or white ground the
// drawing stood on would be (a fringe).
TEST_F(TransPicBoxTest, Emblems_EdgesCarryNoGroundColourOverAColouredWindow) {
    window->resize(220, 180);
    Show();
    for (const char* design : {"frmLogIn", "frmCreateAccount", "frmChangePassword", "frmMain",
                               "frmAddGroup", "frmAddTask", "frmAboutProduct"}) {
        SCOPED_TRACE(design);
        box->ReadProperties(Form::StoredDesign(QStringLiteral(":/windows/%1.json").arg(design),
                                               QStringLiteral("TransPicBox1")));
        box->setAutoSize(true);
        const QImage shot = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect area = box->geometry();
        ASSERT_TRUE(shot.rect().contains(area));
        const auto backdrop = [&](int x, int y) {
            return !area.contains(x, y) || shot.pixelColor(x, y) == kWindowGreen;
        };
        const auto nearBackdrop = [&](int x, int y, int reach) {
            for (int dy = -reach; dy <= reach; ++dy)
                for (int dx = -reach; dx <= reach; ++dx)
                    if (backdrop(x + dx, y + dy))
                        return true;
            return false;
        };
        int edges = 0;
        int fringe = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                if (backdrop(x, y) || !nearBackdrop(x, y, 1))
                    continue;
                // The range of the backdrop and of the drawing's inner pixels close by.
                int low[3] = {kWindowGreen.red(), kWindowGreen.green(), kWindowGreen.blue()};
                int high[3] = {low[0], low[1], low[2]};
                bool inner = false;
                for (int dy = -3; dy <= 3; ++dy)
                    for (int dx = -3; dx <= 3; ++dx)
                        if (!nearBackdrop(x + dx, y + dy, 1)) {
                            const QColor c = shot.pixelColor(x + dx, y + dy);
                            const int rgb[3] = {c.red(), c.green(), c.blue()};
                            for (int i = 0; i < 3; ++i) {
                                low[i] = std::min(low[i], rgb[i]);
                                high[i] = std::max(high[i], rgb[i]);
                            }
                            inner = true;
                        }
                if (!inner)
                    continue;
                ++edges;
                const QColor c = shot.pixelColor(x, y);
                const int rgb[3] = {c.red(), c.green(), c.blue()};
                // Toward the ground: up in every channel the mask colour has at full.
                const QColor ground = SystemColors::ToQColor(box->MaskColor());
                const int full[3] = {ground.red(), ground.green(), ground.blue()};
                bool beyond = true;
                for (int i = 0; i < 3; ++i)
                    if (full[i] == 255)
                        beyond = beyond && rgb[i] > high[i] + 16;
                if (beyond && fringe++ == 0)
                    ADD_FAILURE() << "fringe at " << x - area.left() << "," << y - area.top()
                                  << ": " << c.name().toStdString();
            }
        EXPECT_GT(edges, 100);
        EXPECT_EQ(fringe, 0) << "of " << edges << " edge pixels";
    }
}

TEST_F(TransPicBoxTest, NoPicture_ShowsNothing) {
    Show();
    box->setPicture(Picture(kRed));
    EXPECT_EQ(Seen(0, 0), kRed);

    box->setPicture(QImage());
    EXPECT_TRUE(box->Picture().isNull());
    EXPECT_TRUE(box->mask().intersected(box->rect()).isEmpty());
    for (const QPoint p : {QPoint(0, 0), QPoint(5, 5), QPoint(19, 9)})
        EXPECT_EQ(Seen(p.x(), p.y()), kWindowGreen);
}

TEST_F(TransPicBoxTest, Opaque_FillsWithTheFaceColourAndIgnoresTheMask) {
    Show();
    box->setPicture(Picture());
    box->setAutoSize(false);
    box->resize(30, 20);
    box->setBackStyle(1);
    const QColor face = SystemColors::ToQColor(*SystemColors::Lookup(SystemColors::kButtonFace));
    EXPECT_EQ(Seen(0, 0), QColor(Qt::white));
    EXPECT_EQ(Seen(3, 2), kRed);
    EXPECT_EQ(Seen(25, 15), face);
    EXPECT_EQ(Seen(25, 2), face);

    box->setBackStyle(0);
    EXPECT_EQ(Seen(25, 15), kWindowGreen);
    EXPECT_EQ(Seen(0, 0), kWindowGreen);
}

TEST_F(TransPicBoxTest, Border_IsFlatWithAppearanceZeroAndSunkenWithOne) {
    Show();
    box->setAutoSize(false);
    box->setPicture(Picture(kRed));
    box->resize(30, 20);
    box->setBorderStyle(1);
    const auto system = [](int index) {
        return SystemColors::ToQColor(*SystemColors::Lookup(index));
    };

    box->setAppearance(0);
    EXPECT_EQ(Seen(0, 0), system(6));
    EXPECT_EQ(Seen(29, 19), system(6));
    EXPECT_EQ(Seen(1, 1), kRed);
    // The picture starts inside the border.
    EXPECT_EQ(Seen(3, 3), kNearWhite);

    box->setAppearance(1);
    EXPECT_EQ(Seen(0, 0), system(16));
    EXPECT_EQ(Seen(1, 1), system(21));
    EXPECT_EQ(Seen(29, 19), system(20));
    EXPECT_EQ(Seen(28, 18), system(22));
    EXPECT_EQ(Seen(4, 4), kNearWhite);
    // Inside the border but beyond the picture the window shows through.
    EXPECT_EQ(Seen(25, 15), kWindowGreen);

    box->setBorderStyle(0);
    EXPECT_EQ(Seen(0, 0), kRed);
    EXPECT_EQ(Seen(2, 2), kNearWhite);
}

TEST_F(TransPicBoxTest, Save_WritesOnlyWhatDiffersFromTheDefaults) {
    PropertyStore store;
    box->WriteProperties(store);
    EXPECT_TRUE(store.IsEmpty());

    box->setPicture(Picture());
    box->WriteProperties(store);
    EXPECT_EQ(store.Keys(), QStringList{QStringLiteral("Picture")});

    box->setMaskColor(kMagentaMask);
    box->setAppearance(0);
    box->setAutoSize(false);
    store.Clear();
    box->WriteProperties(store);
    EXPECT_EQ(store.Keys(), (QStringList{QStringLiteral("Appearance"), QStringLiteral("MaskColor"),
                                         QStringLiteral("Picture"), QStringLiteral("AutoSize")}));

    TransPicBox copy;
    copy.ReadProperties(store);
    EXPECT_EQ(copy.Appearance(), 0);
    EXPECT_EQ(copy.MaskColor(), kMagentaMask);
    EXPECT_EQ(copy.Picture(), Picture());
    EXPECT_FALSE(copy.AutoSize());
}

TEST_F(TransPicBoxTest, Load_MatchesKeysInAnyLetterCase) {
    const QJsonObject design{{"maskcolor", static_cast<int>(kMagentaMask)},
                             {"BACKSTYLE", 1},
                             {"borderStyle", 1},
                             {"appearance", 0},
                             {"autosize", false}};
    PropertyStore store = PropertyStore::FromJson(design);
    store.WriteProperty(QStringLiteral("pICTURE"), Picture());
    box->ReadProperties(store);
    EXPECT_EQ(box->MaskColor(), kMagentaMask);
    EXPECT_EQ(box->BackStyle(), 1);
    EXPECT_EQ(box->BorderStyle(), 1);
    EXPECT_EQ(box->Appearance(), 0);
    EXPECT_EQ(box->Picture(), Picture());
    EXPECT_FALSE(box->AutoSize());
    Show();
    EXPECT_EQ(box->size(), QSize(60, 40));
}

TEST_F(TransPicBoxTest, Load_ReadsASystemMaskColourStoredAsSignedOrUnsigned) {
    const uint32_t face = SystemColors::System(SystemColors::kButtonFace);
    PropertyStore store;
    store.WriteProperty(QStringLiteral("MaskColor"), static_cast<qlonglong>(face));
    box->ReadProperties(store);
    EXPECT_EQ(box->MaskColor(), face);
    store.WriteProperty(QStringLiteral("MaskColor"), static_cast<int>(face));
    box->setMaskColor(0);
    box->ReadProperties(store);
    EXPECT_EQ(box->MaskColor(), face);
}

TEST_F(TransPicBoxTest, Load_ResetsWhatTheStoreDoesNotName) {
    box->setPicture(Picture());
    box->setBorderStyle(1);
    box->ReadProperties(PropertyStore());
    EXPECT_EQ(box->BorderStyle(), 0);
    EXPECT_TRUE(box->Picture().isNull());
    EXPECT_TRUE(box->AutoSize());
}

TEST_F(TransPicBoxTest, Notifications_EachWriteTellsTheContainerItsName) {
    box->setAppearance(0);
    box->setBackStyle(1);
    box->setBorderStyle(1);
    box->setMaskColor(kMagentaMask);
    box->setPicture(Picture());
    box->setAutoSize(false);
    EXPECT_EQ(container.ChangedProperties(), (QStringList{"Appearance", "BackStyle", "BorderStyle",
                                                          "MaskColor", "Picture", "AutoSize"}));

    // Loading goes round the pass-through writes; only the picture takes the full write.
    container.ClearChangedProperties();
    PropertyStore store;
    box->WriteProperties(store);
    box->ReadProperties(store);
    EXPECT_EQ(container.ChangedProperties(), QStringList{"Picture"});

    container.ClearChangedProperties();
    box->InitProperties();
    EXPECT_TRUE(container.ChangedProperties().isEmpty());
}

TEST_F(TransPicBoxTest, Notifications_GoToTheRunTimeContainerWithoutAWindowsOwn) {
    ControlContainer::RunTime().ClearChangedProperties();
    box->setContainer(nullptr);
    box->setBorderStyle(1);
    EXPECT_EQ(&box->container(), &ControlContainer::RunTime());
    EXPECT_EQ(ControlContainer::RunTime().ChangedProperties(), QStringList{"BorderStyle"});
    EXPECT_TRUE(container.ChangedProperties().isEmpty());
}

TEST_F(TransPicBoxTest, InvalidValues_AreRefusedAndLeaveTheControlAsItWas) {
    const auto number = [](auto&& write) {
        try {
            write();
        } catch (const RuntimeError& error) {
            return error.Number();
        }
        return 0;
    };
    EXPECT_EQ(number([&] { box->setAppearance(2); }), 380);
    EXPECT_EQ(number([&] { box->setBackStyle(-1); }), 380);
    EXPECT_EQ(number([&] { box->setMaskColor(0x800000FFu); }), 380);
    EXPECT_EQ(box->Appearance(), 1);
    EXPECT_EQ(box->BackStyle(), 0);
    EXPECT_EQ(box->MaskColor(), 0x00FFFFFFu);
    EXPECT_TRUE(container.ChangedProperties().isEmpty());

    PropertyStore store;
    store.WriteProperty(QStringLiteral("BorderStyle"), QStringLiteral("single"));
    EXPECT_EQ(number([&] { box->ReadProperties(store); }), 13);
}

} // namespace
