#pragma once

#include <QFont>
#include <QString>
#include <future>

// The window designs name Windows fonts. fontconfig would map some of them to unsuitable faces
// (Impact to a dingbat font), so each is substituted explicitly by a metric-compatible or
// similar free face.
void InstallFontSubstitutes();

// Reads the system's font configuration, which Qt reads at the first text it lays out, on a
// thread of its own: it is the larger part of building the first window and needs nothing of
// Qt, so it can run beside the application's set-up. It becomes fontconfig's current
// configuration: wait for it before the first font is used, or the two readings run side by
// side and one replaces the other.
std::future<void> StartReadingFontConfiguration();

// A font a window's design names. Impact has a single heavy, narrow face; its stand-in is a
// narrow family's bold face, closed up, so that titles keep Impact's weight and fit where
// Impact fits.
QFont DesignFont(const QString& family, double pointSize, bool bold = false);
