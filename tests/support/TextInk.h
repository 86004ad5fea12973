#pragma once

#include <QColor>
#include <algorithm>
#include <cstdlib>

// How much of `ink` a pixel of anti-aliased text carries over `ground`: from 0 (the ground
// itself) to 1 (the ink itself), when the pixel is the two mixed by one coverage in every
// channel, as the painter blends text; -1 when it is any other colour (a fringe of another
// colour, a halo of some other ground, a text colour that is not this one).
inline double InkCover(QRgb pixel, QRgb ground, QRgb ink) {
    const int p[3] = {qRed(pixel), qGreen(pixel), qBlue(pixel)};
    const int g[3] = {qRed(ground), qGreen(ground), qBlue(ground)};
    const int c[3] = {qRed(ink), qGreen(ink), qBlue(ink)};
    int widest = 0;
    for (int i = 1; i < 3; ++i)
        if (std::abs(c[i] - g[i]) > std::abs(c[widest] - g[widest]))
            widest = i;
    if (c[widest] == g[widest])
        return pixel == ground ? 0 : -1;
    const double cover = double(p[widest] - g[widest]) / (c[widest] - g[widest]);
    if (cover < -0.02 || cover > 1.02)
        return -1;
    // Rounding in the blend moves a channel by a step or two.
    for (int i = 0; i < 3; ++i)
        if (std::abs(p[i] - (g[i] + cover * (c[i] - g[i]))) > 3)
            return -1;
    return std::clamp(cover, 0.0, 1.0);
}
