#include "controls/McListBox/Gradients.h"

#include "platform/draw/Surface.h"
#include "platform/forms/SystemColors.h"

#include <cmath>
#include <vector>

namespace Gradients {

int32_t TranslateColor(int32_t colour) {
    const auto plain = SystemColors::Translate(static_cast<uint32_t>(colour));
    return plain ? static_cast<int32_t>(*plain) : -1;
}

int32_t BlendColors(int32_t colourA, int32_t colourB, int32_t weight) {
    // A failed translation is -1, whose bytes all read 255, exactly as the blend then uses them.
    const auto a = static_cast<uint32_t>(TranslateColor(colourA));
    const auto b = static_cast<uint32_t>(TranslateColor(colourB));
    int32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const double ak = static_cast<double>((a >> shift) & 0xFFu);
        const double bk = static_cast<double>((b >> shift) & 0xFFu);
        const double value = weight * ak / 255.0 + (255 - weight) * bk / 255.0;
        result += static_cast<int32_t>(std::nearbyint(value)) << shift;
    }
    return result;
}

void FillGradient(Surface& surface, int32_t x, int32_t y, int32_t width, int32_t height,
                  int32_t colour1, int32_t colour2, int32_t style, bool swap) {
    if (style == kNone)
        return;
    int32_t start = swap ? colour2 : colour1;
    int32_t end = swap ? colour1 : colour2;
    if (start < 0)
        start = TranslateColor(start);
    if (end < 0)
        end = TranslateColor(end);
    if (style == kHorizontalMirrored) {
        // The halves are rounded independently, so they overlap in the middle column and the
        // last column can stay as it was.
        const auto half = static_cast<int32_t>(std::nearbyint(width / 2.0));
        const auto x2 = static_cast<int32_t>(std::nearbyint(x + width / 2.0 - 1));
        PaintGradient(surface, x, y, half, height, start, end, kHorizontal);
        PaintGradient(surface, x2, y, half, height, end, start, kHorizontal);
    } else if (style == kVerticalMirrored) {
        const auto half = static_cast<int32_t>(std::nearbyint(height / 2.0));
        const auto y2 = static_cast<int32_t>(std::nearbyint(y + height / 2.0 - 1));
        PaintGradient(surface, x, y, width, half, start, end, kVertical);
        PaintGradient(surface, x, y2, width, half, end, start, kVertical);
    } else {
        PaintGradient(surface, x, y, width, height, start, end, style);
    }
}

void PaintGradient(Surface& surface, int32_t x, int32_t y, int32_t width, int32_t height,
                   int32_t startColour, int32_t endColour, int32_t style) {
    if (width < 1 || height < 1)
        return;
    const auto a = static_cast<uint32_t>(startColour) & 0x00FFFFFFu;
    const auto b = static_cast<uint32_t>(endColour) & 0x00FFFFFFu;
    const int32_t ra = a & 0xFF, ga = (a >> 8) & 0xFF, ba = (a >> 16) & 0xFF;
    const int32_t rb = b & 0xFF, gb = (b >> 8) & 0xFF, bb = (b >> 16) & 0xFF;
    const int32_t dr = rb - ra, dg = gb - ga, db = bb - ba;

    // The selected rows of a frame are painted with the same gradient at the same size, one
    // after another: the pixels of the last one painted serve again as they are.
    struct Painted {
        int32_t width = 0, height = 0, style = 0;
        uint32_t a = 0, b = 0;
        std::vector<uint32_t> pixels;
    };
    static thread_local Painted last;
    if (!last.pixels.empty() && last.width == width && last.height == height &&
        last.style == style && last.a == a && last.b == b) {
        surface.CopyPixels(x, y, width, height, last.pixels.data());
        return;
    }
    last.pixels.clear();

    int32_t n = width + height - 2;
    if (style == kHorizontal)
        n = width - 1;
    else if (style == kVertical)
        n = height - 1;

    // Ramp and buffer hold the surface's own 0x00RRGGBB order.
    std::vector<uint32_t> ramp(static_cast<size_t>(n) + 1);
    if (n == 0) {
        ramp[0] = static_cast<uint32_t>((ra / 2 + rb / 2) * 65536 + (ga / 2 + gb / 2) * 256 +
                                        (ba / 2 + bb / 2));
    } else {
        for (int32_t i = 0; i <= n; ++i) {
            // 64-bit products: a ramp over a very wide rectangle must not overflow.
            const auto step = [&](int32_t d) {
                return static_cast<int32_t>(static_cast<int64_t>(d) * i / n);
            };
            ramp[static_cast<size_t>(i)] = static_cast<uint32_t>(
                (ra + step(dr)) * 65536 + (ga + step(dg)) * 256 + ba + step(db));
        }
    }

    std::vector<uint32_t>& buffer = last.pixels;
    buffer.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0u);
    auto storageRow = [&](int32_t row) {
        return buffer.data() + static_cast<size_t>(height - 1 - row) * static_cast<size_t>(width);
    };
    for (int32_t row = 0; row < height; ++row) {
        uint32_t* pixels = storageRow(row);
        switch (style) {
        case kHorizontal:
            for (int32_t col = 0; col < width; ++col)
                pixels[col] = ramp[static_cast<size_t>(col)];
            break;
        case kVertical:
            for (int32_t col = 0; col < width; ++col)
                pixels[col] = ramp[static_cast<size_t>(row)];
            break;
        case kDiagonalDown:
            for (int32_t col = 0; col < width; ++col)
                pixels[col] = ramp[static_cast<size_t>(row + col)];
            break;
        case kDiagonalUp:
            for (int32_t col = 0; col < width; ++col)
                pixels[col] = ramp[static_cast<size_t>(height - 1 - row + col)];
            break;
        default:
            break;
        }
    }
    last.width = width;
    last.height = height;
    last.style = style;
    last.a = a;
    last.b = b;
    surface.CopyPixels(x, y, width, height, buffer.data());
}

} // namespace Gradients
