#include "platform/forms/PropertyStore.h"

#include <QColor>
#include <QDir>
#include <QIcon>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <cmath>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace {

struct WindowPicture {
    const char* name;
    QSize size;
    // The ground the window's mask colour cuts away; nothing for pictures shown whole.
    std::optional<QColor> ground;
};

const QColor kWhite(255, 255, 255);
const QColor kMagenta(255, 0, 255);

const std::vector<WindowPicture>& Pictures() {
    static const std::vector<WindowPicture> pictures = {
        {"login-background", {915, 615}, {}},
        {"account-background", {447, 293}, {}},
        {"login-emblem", {91, 110}, kWhite},
        {"login-icon", {45, 45}, {}},
        {"create-account-emblem", {118, 116}, kWhite},
        {"create-account-icon", {54, 53}, {}},
        {"change-password-emblem", {132, 104}, kWhite},
        {"change-password-icon", {46, 46}, {}},
        {"main-emblem", {125, 125}, kWhite},
        {"main-icon", {32, 32}, {}},
        {"main-header", {468, 60}, {}},
        {"main-logo", {421, 31}, {}},
        {"add-group-emblem", {105, 105}, kWhite},
        {"add-group-icon", {32, 32}, {}},
        {"add-group-header", {468, 60}, {}},
        {"add-task-emblem", {106, 120}, kMagenta},
        {"add-task-icon", {32, 32}, {}},
        {"add-task-header", {468, 60}, {}},
        {"about-product-emblem", {82, 71}, kMagenta},
        {"about-product-icon", {32, 32}, {}},
        {"about-product-header", {468, 60}, {}},
        {"about-programmer-icon", {32, 32}, {}},
        {"about-programmer-header", {468, 60}, {}},
        {"about-programmer-portrait", {263, 310}, {}},
    };
    return pictures;
}

QImage Load(const WindowPicture& picture) {
    return LoadPicture(QStringLiteral(":/windows/%1.svg").arg(QLatin1String(picture.name)));
}

int CountOf(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour ? 1 : 0;
    return count;
}

TEST(WindowPictures, EveryPictureLoadsAtItsExactSizeWithSomethingDrawn) {
    for (const WindowPicture& picture : Pictures()) {
        SCOPED_TRACE(picture.name);
        const QImage image = Load(picture);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), picture.size);
        // An empty or unreadable drawing stays all white, or all see-through.
        EXPECT_LT(CountOf(image, kWhite.rgb()) + CountOf(image, 0),
                  image.width() * image.height() * 7 / 8);
    }
}

// An emblem is drawn on no ground at all: its edges are partly see-through, so whatever the
// window shows behind them shows through, and no ground colour is blended into them. Nothing
// of the drawing is exactly the mask colour, which would cut it.
TEST(WindowPictures, EmblemsStandOnASeeThroughGroundWithSoftEdgesAndNothingTheMaskCuts) {
    for (const WindowPicture& picture : Pictures()) {
        if (!picture.ground)
            continue;
        SCOPED_TRACE(picture.name);
        const QImage image = Load(picture).convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(image.isNull());
        const int right = image.width() - 1;
        const int bottom = image.height() - 1;
        // Nothing touches the edge, so the cut-out shape is never clipped by the picture.
        int drawnOnEdge = 0;
        for (int x = 0; x <= right; ++x)
            drawnOnEdge += (qAlpha(image.pixel(x, 0)) != 0) + (qAlpha(image.pixel(x, bottom)) != 0);
        for (int y = 1; y < bottom; ++y)
            drawnOnEdge += (qAlpha(image.pixel(0, y)) != 0) + (qAlpha(image.pixel(right, y)) != 0);
        EXPECT_EQ(drawnOnEdge, 0);
        int partly = 0;
        int cut = 0;
        for (int y = 0; y <= bottom; ++y)
            for (int x = 0; x <= right; ++x) {
                const QRgb p = image.pixel(x, y);
                partly += qAlpha(p) != 0 && qAlpha(p) != 255;
                cut += p == picture.ground->rgb();
            }
        EXPECT_GT(partly, image.width()) << "edges are blended toward a ground";
        EXPECT_EQ(cut, 0);
    }
}

TEST(WindowPictures, BackgroundsShareOneGradientWithAPaleBandOnTop) {
    const QImage login = LoadPicture(QStringLiteral(":/windows/login-background.svg"));
    const QImage account = LoadPicture(QStringLiteral(":/windows/account-background.svg"));
    ASSERT_FALSE(login.isNull());
    ASSERT_FALSE(account.isNull());
    const auto at = [](const QImage& image, double height) {
        return image.pixelColor(image.width() / 2, static_cast<int>(height * (image.height() - 1)));
    };
    for (const QImage& image : {login, account}) {
        const QColor band = at(image, 0.05);
        const QColor below = at(image, 0.25);
        const QColor foot = at(image, 1.0);
        // Blue throughout, the band paler than what follows, nearly white at the foot.
        EXPECT_GT(band.blue(), band.red());
        EXPECT_GT(below.blue(), below.red());
        EXPECT_GT(band.lightness(), below.lightness() + 15);
        EXPECT_GT(foot.lightness(), below.lightness() + 15);
        EXPECT_GE(foot.red(), 235);
        EXPECT_GE(foot.green(), 235);
        EXPECT_NE(foot, kWhite);
        // Each row is one colour.
        EXPECT_EQ(image.pixelColor(0, image.height() / 2),
                  image.pixelColor(image.width() - 1, image.height() / 2));
    }
    for (const double height : {0.05, 0.25, 0.5, 0.75, 1.0}) {
        const QColor a = at(login, height);
        const QColor b = at(account, height);
        EXPECT_NEAR(a.red(), b.red(), 3) << height;
        EXPECT_NEAR(a.green(), b.green(), 3) << height;
        EXPECT_NEAR(a.blue(), b.blue(), 3) << height;
    }
}

} // namespace

// A background rendered only as far as its window shows is the same picture as the whole
// drawing cut to that size, in device pixels.
TEST(WindowPictures, APictureRenderedWithinASizeIsTheWholeOneCut) {
    for (const char* name : {"login-background", "account-background"}) {
        const QString path = QStringLiteral(":/windows/%1.svg").arg(QLatin1String(name));
        const QImage whole = LoadPicture(path);
        ASSERT_FALSE(whole.isNull()) << name;
        const qreal ratio = whole.devicePixelRatio();
        for (const QSize& within : {QSize(391, 142), QSize(whole.width() + 5, 60), QSize(1, 1)}) {
            const QRect shown(0, 0, static_cast<int>(std::ceil(within.width() * ratio)),
                              static_cast<int>(std::ceil(within.height() * ratio)));
            EXPECT_EQ(LoadPicture(path, within), whole.copy(whole.rect() & shown))
                << name << " within " << within.width() << "x" << within.height();
        }
    }
}

// A window's icon is its drawing at each size a window manager shows, pixel for pixel what
// the drawing left scalable gives at that size.
TEST(WindowPictures, AWindowIconIsItsDrawingAtEachSize) {
    const QStringList names =
        QDir(QStringLiteral(":/windows")).entryList({QStringLiteral("*-icon.svg")});
    ASSERT_GE(names.size(), 8);
    for (const QString& name : names) {
        const QString path = QStringLiteral(":/windows/") + name;
        const QIcon icon = IconOf(IconPictures(path));
        const QIcon scalable(path);
        EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}))
            << name.toStdString();
        for (const int side : {16, 32, 48})
            EXPECT_EQ(icon.pixmap(side).toImage().convertToFormat(QImage::Format_ARGB32),
                      scalable.pixmap(side).toImage().convertToFormat(QImage::Format_ARGB32))
                << name.toStdString() << " " << side;
    }
    EXPECT_TRUE(IconPictures(QStringLiteral(":/windows/no-such-icon.svg")).isEmpty());
}
