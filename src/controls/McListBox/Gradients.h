#pragma once

#include <cstdint>

class Surface;

// The list's colour routines: system colour translation, weighted blending, and the two-colour
// gradients its background and selected rows are painted with. Colours are 0x00BBGGRR, system
// colours 0x800000nn; a colour that cannot be translated is -1.
namespace Gradients {

enum Style : int32_t {
    kNone = 0,
    kHorizontal = 1,
    kHorizontalMirrored = 2,
    kVertical = 3,
    kVerticalMirrored = 4,
    kDiagonalDown = 5,
    kDiagonalUp = 6,
};

int32_t TranslateColor(int32_t colour);
int32_t BlendColors(int32_t colourA, int32_t colourB, int32_t weight);
void FillGradient(Surface& surface, int32_t x, int32_t y, int32_t width, int32_t height,
                  int32_t colour1, int32_t colour2, int32_t style, bool swap);
void PaintGradient(Surface& surface, int32_t x, int32_t y, int32_t width, int32_t height,
                   int32_t startColour, int32_t endColour, int32_t style);

} // namespace Gradients
