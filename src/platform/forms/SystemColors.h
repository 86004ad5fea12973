#pragma once

#include <QColor>
#include <cstdint>
#include <optional>

// Colours are 32-bit values 0x00BBGGRR (red in the low byte). A value with the high bit set,
// 0x800000nn, names entry nn of the system colour table kept here.
namespace SystemColors {

constexpr uint32_t kSystemFlag = 0x80000000u;
constexpr int kWindow = 5;      // window background (text fields)
constexpr int kButtonFace = 15; // face of three-dimensional elements
constexpr int kGrayText = 17;
constexpr int kButtonText = 18;

constexpr uint32_t System(int index) {
    return kSystemFlag | static_cast<uint32_t>(index);
}

// The plain colour of table entry `index`; nothing for an index the table does not have.
std::optional<uint32_t> Lookup(int index);

// A plain colour unchanged; a system colour looked up; nothing when it cannot be translated.
std::optional<uint32_t> Translate(uint32_t colour);

QColor ToQColor(uint32_t bgr);
// A plain or system colour as a QColor; `fallback` (plain) when it cannot be translated.
QColor ToQColor(uint32_t colour, uint32_t fallback);
uint32_t FromQColor(const QColor& colour);

} // namespace SystemColors
