#pragma once

// The window designs name Windows fonts. fontconfig would map some of them to unsuitable faces
// (Impact to a dingbat font), so each is substituted explicitly by a metric-compatible or
// similar free face.
void InstallFontSubstitutes();
