#include "platform/forms/SystemColors.h"

#include <QGuiApplication>
#include <QPalette>
#include <array>

namespace SystemColors {
namespace {

constexpr int kTableSize = 31;

// The classic values, used where the running palette has no counterpart (and before a
// QGuiApplication exists).
constexpr std::array<uint32_t, kTableSize> kFixed = {
    0x00C8C8C8, // 0 scroll bar
    0x00000000, // 1 desktop
    0x00D1B499, // 2 active caption
    0x00DBCDBF, // 3 inactive caption
    0x00F0F0F0, // 4 menu
    0x00FFFFFF, // 5 window
    0x00646464, // 6 window frame
    0x00000000, // 7 menu text
    0x00000000, // 8 window text
    0x00000000, // 9 caption text
    0x00B4B4B4, // 10 active border
    0x00FCF7F4, // 11 inactive border
    0x00ABABAB, // 12 application workspace
    0x00FF9933, // 13 highlight
    0x00FFFFFF, // 14 highlight text
    0x00F0F0F0, // 15 button face
    0x00A0A0A0, // 16 button shadow
    0x006D6D6D, // 17 grey text
    0x00000000, // 18 button text
    0x00000000, // 19 inactive caption text
    0x00FFFFFF, // 20 button highlight
    0x00696969, // 21 dark shadow
    0x00E3E3E3, // 22 light
    0x00000000, // 23 tooltip text
    0x00E1FFFF, // 24 tooltip background
    0x00000000, // 25 (unused)
    0x00CC6600, // 26 hot light
    0x00EAD1B9, // 27 active caption gradient
    0x00F2E4D7, // 28 inactive caption gradient
    0x00FF9933, // 29 menu highlight
    0x00F0F0F0, // 30 menu bar
};

std::optional<QPalette::ColorRole> RoleFor(int index) {
    switch (index) {
    case 5:
        return QPalette::Base;
    case 8:
        return QPalette::Text;
    case 13:
        return QPalette::Highlight;
    case 14:
        return QPalette::HighlightedText;
    case 15:
        return QPalette::Button;
    case 16:
        return QPalette::Mid;
    case 18:
        return QPalette::ButtonText;
    case 20:
        return QPalette::Light;
    case 21:
        return QPalette::Shadow;
    case 23:
        return QPalette::ToolTipText;
    case 24:
        return QPalette::ToolTipBase;
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<uint32_t> Lookup(int index) {
    if (index < 0 || index >= kTableSize)
        return std::nullopt;
    if (qGuiApp) {
        if (auto role = RoleFor(index))
            return FromQColor(QGuiApplication::palette().color(QPalette::Active, *role));
        if (index == 17)
            return FromQColor(QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text));
    }
    return kFixed[static_cast<size_t>(index)];
}

std::optional<uint32_t> Translate(uint32_t colour) {
    if ((colour & kSystemFlag) == 0)
        return colour & 0x00FFFFFFu;
    if ((colour & 0x7FFFFF00u) != 0)
        return std::nullopt;
    return Lookup(static_cast<int>(colour & 0xFFu));
}

QColor ToQColor(uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

QColor ToQColor(uint32_t colour, uint32_t fallback) {
    return ToQColor(Translate(colour).value_or(fallback));
}

uint32_t FromQColor(const QColor& colour) {
    return static_cast<uint32_t>(colour.red()) | (static_cast<uint32_t>(colour.green()) << 8) |
           (static_cast<uint32_t>(colour.blue()) << 16);
}

} // namespace SystemColors
