#pragma once

// What a screen reader sees of the program's windows: a frame named by its caption. Left to
// Qt, a window that is a plain widget reads as a filler, which readers do not announce when it
// opens. Installed once, however often it is called; message boxes keep Qt's dialog.
void InstallWindowAccessibility();
