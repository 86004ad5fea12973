#pragma once

#include <QRect>
#include <cmath>

// Window layouts are given in twips: 15 twips to a pixel at 96 dots per inch.
constexpr int kTwipsPerPixel = 15;

constexpr int TwipsToPixels(int twips) {
    return (twips >= 0 ? twips + kTwipsPerPixel / 2 : twips - kTwipsPerPixel / 2) / kTwipsPerPixel;
}

constexpr QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                 TwipsToPixels(height));
}
