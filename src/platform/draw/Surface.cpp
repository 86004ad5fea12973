#include "platform/draw/Surface.h"

#include "platform/forms/SystemColors.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace {

// The buffer holds 0xFFRRGGBB; the program's colours are 0x00BBGGRR.
uint32_t ToRgb(uint32_t bgr) {
    return 0xFF000000u | ((bgr & 0xFFu) << 16) | (bgr & 0xFF00u) | ((bgr >> 16) & 0xFFu);
}

QFont Crisp(QFont font) {
    // The original surfaces draw bitmap-like text; plain pixels keep the colours exact.
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

} // namespace

Surface::Surface()
    : Surface(0, 0) {}

Surface::Surface(int width, int height)
    : image_(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32) {
    Clear();
}

void Surface::Resize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == image_.width() && height == image_.height())
        return;
    image_ = QImage(width, height, QImage::Format_RGB32);
    Clear();
}

void Surface::SetFont(const QFont& font) {
    font_ = font;
}

void Surface::SetFontBold(bool bold) {
    font_.setBold(bold);
}

uint32_t Surface::PlainColor(uint32_t colour) {
    return SystemColors::Translate(colour).value_or(0x00FFFFFFu);
}

void Surface::Clear() {
    if (image_.isNull())
        return;
    image_.fill(ToRgb(PlainColor(backColour_)));
    if (!backPicture_.isNull()) {
        QPainter painter(&image_);
        painter.drawImage(0, 0, backPicture_);
    }
}

void Surface::Plot(int x, int y, uint32_t rgb) {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height())
        return;
    reinterpret_cast<uint32_t*>(image_.scanLine(y))[x] = rgb;
}

void Surface::Invert(int x, int y) {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height())
        return;
    uint32_t& pixel = reinterpret_cast<uint32_t*>(image_.scanLine(y))[x];
    pixel ^= 0x00FFFFFFu;
}

void Surface::Rectangle(int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top)
        return;
    const uint32_t fill = ToRgb(PlainColor(fillColour_));
    const uint32_t pen = ToRgb(PlainColor(foreColour_));
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            const bool edge = y == top || y == bottom - 1 || x == left || x == right - 1;
            Plot(x, y, edge ? pen : fill);
        }
}

void Surface::Line(int x1, int y1, int x2, int y2) {
    Line(x1, y1, x2, y2, foreColour_);
}

void Surface::Line(int x1, int y1, int x2, int y2, uint32_t colour) {
    const uint32_t rgb = ToRgb(PlainColor(colour));
    // Bresenham, stopping short of the end point as the original line call does.
    const int dx = std::abs(x2 - x1);
    const int dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    int error = dx + dy;
    int x = x1;
    int y = y1;
    while (x != x2 || y != y2) {
        Plot(x, y, rgb);
        const int e2 = 2 * error;
        if (e2 >= dy) {
            error += dy;
            x += sx;
        }
        if (e2 <= dx) {
            error += dx;
            y += sy;
        }
    }
}

void Surface::FocusRect(int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top)
        return;
    // A checkerboard aligned to the surface origin, so marks drawn twice cancel exactly.
    auto mark = [this](int x, int y) {
        if (((x + y) & 1) == 0)
            Invert(x, y);
    };
    for (int x = left; x < right; ++x) {
        mark(x, top);
        if (bottom - 1 != top)
            mark(x, bottom - 1);
    }
    for (int y = top + 1; y < bottom - 1; ++y) {
        mark(left, y);
        if (right - 1 != left)
            mark(right - 1, y);
    }
}

void Surface::DrawText(const QString& text, const QRect& rectangle, int format) {
    if (image_.isNull() || text.isEmpty())
        return;
    int flags = 0;
    if (format & kRight)
        flags |= Qt::AlignRight;
    else if (format & kCenter)
        flags |= Qt::AlignHCenter;
    else
        flags |= Qt::AlignLeft;
    if ((format & kSingleLine) && (format & kBottom))
        flags |= Qt::AlignBottom;
    else if ((format & kSingleLine) && (format & kVCenter))
        flags |= Qt::AlignVCenter;
    else
        flags |= Qt::AlignTop;
    if (format & kWordBreak)
        flags |= Qt::TextWordWrap;
    if (format & kSingleLine)
        flags |= Qt::TextSingleLine;
    if (format & kExpandTabs)
        flags |= Qt::TextExpandTabs;
    QString shown = text;
    // Carriage return and line feed pairs are one break, as the original text call reads them.
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QPainter painter(&image_);
    painter.setFont(Crisp(font_));
    painter.setPen(QColor::fromRgb(ToRgb(PlainColor(foreColour_))));
    if (!(format & kNoClip)) {
        painter.setClipRect(rectangle);
        flags |= Qt::TextDontClip;
    }
    painter.drawText(rectangle, flags, shown);
}

int Surface::TextWidth(const QString& text) const {
    const QFontMetrics metrics(Crisp(font_), &image_);
    int widest = 0;
    for (const QString& line :
         QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).split(u'\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

int Surface::TextHeight(const QString& text) const {
    const QFontMetrics metrics(Crisp(font_), &image_);
    const qsizetype lines =
        QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).count(u'\n') + 1;
    return metrics.height() * static_cast<int>(lines);
}

void Surface::DrawPicture(const QImage& picture, const QRect& target) {
    if (image_.isNull() || picture.isNull() || target.isEmpty())
        return;
    QPainter painter(&image_);
    painter.drawImage(target, picture);
}

void Surface::CopyPixels(int x, int y, int width, int height, const uint32_t* bottomUpPixels) {
    if (width < 1 || height < 1 || bottomUpPixels == nullptr)
        return;
    for (int row = 0; row < height; ++row) {
        const int ty = y + row;
        if (ty < 0 || ty >= image_.height())
            continue;
        const uint32_t* source = bottomUpPixels + static_cast<size_t>(height - 1 - row) * width;
        auto* target = reinterpret_cast<uint32_t*>(image_.scanLine(ty));
        const int from = std::max(0, -x);
        const int to = std::min(width, image_.width() - x);
        for (int col = from; col < to; ++col)
            target[x + col] = 0xFF000000u | (source[col] & 0x00FFFFFFu);
    }
}

uint32_t Surface::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height())
        return 0;
    const uint32_t rgb = reinterpret_cast<const uint32_t*>(image_.constScanLine(y))[x];
    return ((rgb & 0xFFu) << 16) | (rgb & 0xFF00u) | ((rgb >> 16) & 0xFFu);
}
