#pragma once

#include <QFont>
#include <QString>

// The window designs name Windows fonts. fontconfig would map some of them to unsuitable faces
// (Impact to a dingbat font), so each is substituted explicitly by a metric-compatible or
// similar free face.
void InstallFontSubstitutes();

// A font a window's design names. Impact has a single heavy, narrow face; its stand-in is a
// narrow family's bold face, closed up, so that titles keep Impact's weight and fit where
// Impact fits.
QFont DesignFont(const QString& family, double pointSize, bool bold = false);
