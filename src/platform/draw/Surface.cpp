#include "platform/draw/Surface.h"

#include "platform/forms/SystemColors.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

// The buffer holds 0xFFRRGGBB; the program's colours are 0x00BBGGRR.
uint32_t ToRgb(uint32_t bgr) {
    return 0xFF000000u | ((bgr & 0xFFu) << 16) | (bgr & 0xFF00u) | ((bgr >> 16) & 0xFFu);
}

// Buffers of surfaces that were resized or went away, kept for the next surface of the same
// size: windows and lists are built and laid out at the same few sizes again and again, and
// memory fresh from the system costs a page fault per 4 KiB on its first touch, several times
// the cost of the drawing that follows.
class SpareBuffers {
public:
    static SpareBuffers& Instance() {
        // Never destroyed: surfaces may outlive the end of main.
        static auto* spares = new SpareBuffers;
        return *spares;
    }

    QImage Take(int width, int height) {
        {
            const std::lock_guard lock(mutex_);
            for (auto spare = images_.begin(); spare != images_.end(); ++spare) {
                if (spare->width() == width && spare->height() == height) {
                    QImage image = std::move(*spare);
                    images_.erase(spare);
                    image.setDevicePixelRatio(1);
                    return image;
                }
            }
        }
        return QImage(width, height, QImage::Format_RGB32);
    }

    void Give(QImage&& image) {
        // Only a buffer no one else reads: a shared one stays with its readers.
        if (image.isNull() || !image.isDetached()) {
            image = QImage();
            return;
        }
        const std::lock_guard lock(mutex_);
        images_.push_back(std::move(image));
        qsizetype bytes = 0;
        for (const QImage& spare : images_)
            bytes += spare.sizeInBytes();
        while (images_.size() > kCount || bytes > kBytes) {
            bytes -= images_.front().sizeInBytes();
            images_.erase(images_.begin());
        }
    }

private:
    static constexpr std::size_t kCount = 4;
    static constexpr qsizetype kBytes = qsizetype(8) << 20;
    std::mutex mutex_;
    std::vector<QImage> images_;
};

} // namespace

void DrawEdges(QPainter& painter, const QRect& box, const QColor& topLeft,
               const QColor& bottomRight) {
    painter.fillRect(QRect(box.left(), box.top(), box.width(), 1), topLeft);
    painter.fillRect(QRect(box.left(), box.top(), 1, box.height()), topLeft);
    painter.fillRect(QRect(box.left(), box.bottom(), box.width(), 1), bottomRight);
    painter.fillRect(QRect(box.right(), box.top(), 1, box.height()), bottomRight);
}

Surface::Surface()
    : Surface(0, 0) {}

Surface::Surface(int width, int height)
    : image_(SpareBuffers::Instance().Take(std::max(width, 0), std::max(height, 0)))
    , width_(image_.width())
    , height_(image_.height()) {
    FontChanged();
    Clear();
}

Surface::~Surface() {
    batchPainter_.reset();
    SpareBuffers::Instance().Give(std::move(image_));
}

Surface::Batch::Batch(Surface& surface)
    : surface_(surface) {
    if (surface_.batchDepth_++ == 0 && !surface_.image_.isNull())
        surface_.batchPainter_ = std::make_unique<QPainter>(&surface_.image_);
}

Surface::Batch::~Batch() {
    if (--surface_.batchDepth_ == 0)
        surface_.batchPainter_.reset();
}

QPainter& Surface::Painter(std::optional<QPainter>& own) {
    if (batchPainter_) {
        // Each call starts from what a painter of its own would have.
        batchPainter_->setClipping(false);
        return *batchPainter_;
    }
    return own.emplace(&image_);
}

void Surface::Resize(int width, int height) {
    Resize(width, height, ratio_);
}

void Surface::Resize(int width, int height, qreal devicePixelRatio) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    devicePixelRatio = std::max(devicePixelRatio, qreal(1));
    if (width == width_ && height == height_ && devicePixelRatio == ratio_)
        return;
    // A painter open on the old buffer would keep drawing there.
    Q_ASSERT(batchDepth_ == 0);
    width_ = width;
    height_ = height;
    ratio_ = devicePixelRatio;
    SpareBuffers::Instance().Give(std::move(image_));
    image_ = SpareBuffers::Instance().Take(Device(width), Device(height));
    image_.setDevicePixelRatio(ratio_);
    metrics_.reset();
    Clear();
}

int Surface::Device(int v) const {
    if (ratio_ == 1)
        return v;
    return static_cast<int>(std::ceil(v * ratio_ - 0.5));
}

void Surface::SetFont(const QFont& font) {
    font_ = font;
    for (auto& widths : widths_)
        widths.clear();
    FontChanged();
}

void Surface::SetFontBold(bool bold) {
    if (font_.bold() == bold)
        return;
    font_.setBold(bold);
    FontChanged();
}

void Surface::FontChanged() {
    metrics_.reset();
}

const QFontMetrics& Surface::Metrics() const {
    if (!metrics_)
        metrics_.emplace(font_, &image_);
    return *metrics_;
}

uint32_t Surface::PlainColor(uint32_t colour) {
    return SystemColors::Translate(colour).value_or(0x00FFFFFFu);
}

void Surface::Clear() {
    if (image_.isNull())
        return;
    image_.fill(ToRgb(PlainColor(backColour_)));
    if (!backPicture_.isNull()) {
        std::optional<QPainter> own;
        Painter(own).drawImage(0, 0, backPicture_);
    }
}

void Surface::Restore(const QImage& kept) {
    if (kept.size() != image_.size() || kept.format() != image_.format() || image_.isNull() ||
        kept.devicePixelRatio() != ratio_)
        return;
    std::memcpy(image_.bits(), kept.constBits(), static_cast<size_t>(image_.sizeInBytes()));
}

void Surface::Fill(int left, int top, int right, int bottom, uint32_t rgb) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width_);
    bottom = std::min(bottom, height_);
    if (left >= right || top >= bottom)
        return;
    const int from = Device(left);
    const int to = Device(right);
    for (int y = Device(top); y < Device(bottom); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(image_.scanLine(y));
        std::fill(row + from, row + to, rgb);
    }
}

void Surface::Plot(int x, int y, uint32_t rgb) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    if (ratio_ == 1)
        reinterpret_cast<uint32_t*>(image_.scanLine(y))[x] = rgb;
    else
        Fill(x, y, x + 1, y + 1, rgb);
}

void Surface::Invert(int x, int y) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    for (int dy = Device(y); dy < Device(y + 1); ++dy) {
        auto* row = reinterpret_cast<uint32_t*>(image_.scanLine(dy));
        for (int dx = Device(x); dx < Device(x + 1); ++dx)
            row[dx] ^= 0x00FFFFFFu;
    }
}

void Surface::Rectangle(int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top)
        return;
    const uint32_t pen = ToRgb(PlainColor(foreColour_));
    Fill(left, top, right, top + 1, pen);
    Fill(left, bottom - 1, right, bottom, pen);
    Fill(left, top + 1, left + 1, bottom - 1, pen);
    Fill(right - 1, top + 1, right, bottom - 1, pen);
    Fill(left + 1, top + 1, right - 1, bottom - 1, ToRgb(PlainColor(fillColour_)));
}

void Surface::Line(int x1, int y1, int x2, int y2) {
    Line(x1, y1, x2, y2, foreColour_);
}

void Surface::Line(int x1, int y1, int x2, int y2, uint32_t colour) {
    const uint32_t rgb = ToRgb(PlainColor(colour));
    if (x1 == x2 || y1 == y2) {
        // Grid lines and tree connectors: a run of one row or one column, the pixels the
        // stepping below would plot, filled as one block.
        const bool across = y1 == y2;
        const int from = across ? x1 : y1;
        const int to = across ? x2 : y2;
        const int first = from < to ? from : to + 1;
        const int end = from < to ? to : from + 1;
        if (across)
            Fill(first, y1, end, y1 + 1, rgb);
        else
            Fill(x1, first, x1 + 1, end, rgb);
        return;
    }
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
    std::optional<QPainter> own;
    QPainter& painter = Painter(own);
    painter.setFont(font_);
    painter.setPen(QColor::fromRgb(ToRgb(PlainColor(foreColour_))));
    if (!(format & kNoClip)) {
        painter.setClipRect(rectangle);
        flags |= Qt::TextDontClip;
    }
    painter.drawText(rectangle, flags, shown);
}

int Surface::TextWidth(const QString& text) const {
    const QFontMetrics& metrics = Metrics();
    if (!text.contains(u'\n')) {
        QHash<QString, int>& widths = widths_[font_.bold() ? 1 : 0];
        if (const auto known = widths.constFind(text); known != widths.constEnd())
            return *known;
        // Bounded: a long session of ever new texts must not grow it without end.
        if (widths.size() >= 4096)
            widths.clear();
        const int width = metrics.horizontalAdvance(text);
        widths.insert(text, width);
        return width;
    }
    int widest = 0;
    for (const QString& line :
         QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).split(u'\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

int Surface::TextHeight(const QString& text) const {
    const qsizetype lines = text.count(u'\n') + 1;
    return Metrics().height() * static_cast<int>(lines);
}

void Surface::DrawPicture(const QImage& picture, const QRect& target) {
    if (image_.isNull() || picture.isNull() || target.isEmpty())
        return;
    std::optional<QPainter> own;
    Painter(own).drawImage(target, picture);
}

void Surface::CopyPixels(int x, int y, int width, int height, const uint32_t* bottomUpPixels) {
    if (width < 1 || height < 1 || bottomUpPixels == nullptr)
        return;
    for (int row = 0; row < height; ++row) {
        const int ty = y + row;
        if (ty < 0 || ty >= height_)
            continue;
        const uint32_t* source = bottomUpPixels + static_cast<size_t>(height - 1 - row) * width;
        const int from = std::max(0, -x);
        const int to = std::min(width, width_ - x);
        if (from >= to)
            continue;
        auto* target = reinterpret_cast<uint32_t*>(image_.scanLine(Device(ty)));
        if (ratio_ == 1) {
            for (int col = from; col < to; ++col)
                target[x + col] = 0xFF000000u | (source[col] & 0x00FFFFFFu);
            continue;
        }
        for (int col = from; col < to; ++col)
            std::fill(target + Device(x + col), target + Device(x + col + 1),
                      0xFF000000u | (source[col] & 0x00FFFFFFu));
        // The other device rows of the pixel row are the same.
        const int left = Device(x + from);
        const auto bytes = static_cast<size_t>(Device(x + to) - left) * sizeof(uint32_t);
        for (int dy = Device(ty) + 1; dy < Device(ty + 1); ++dy)
            std::memcpy(reinterpret_cast<uint32_t*>(image_.scanLine(dy)) + left, target + left,
                        bytes);
    }
}

uint32_t Surface::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    const uint32_t rgb =
        reinterpret_cast<const uint32_t*>(image_.constScanLine(Device(y)))[Device(x)];
    return ((rgb & 0xFFu) << 16) | (rgb & 0xFF00u) | ((rgb >> 16) & 0xFFu);
}
