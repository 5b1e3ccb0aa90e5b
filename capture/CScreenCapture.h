#pragma once

#include "platform/gdi/WinGdi.h"
#include "platform/x11/WinUser.h"

// Turns screen pixels into new bitmaps that the caller owns. Each operation returns null on
// failure, leaving `size` as it was; on success it writes the bitmap's width and height.
class CScreenCapture {
public:
    // The whole desktop: every monitor.
    HBITMAP CaptureDesktop(SIZE &size);
    // The foreground window, with its frame unless `clientOnly`.
    HBITMAP CaptureForegroundWindow(SIZE &size, BOOL clientOnly);
    HBITMAP CaptureWindow(WindowId window, SIZE &size, BOOL clientOnly);
    // The rectangle between two corners (any order) of `source`; the larger corner's row and
    // column are not part of it.
    HBITMAP CaptureRect(HDC source, int x1, int y1, int x2, int y2, SIZE &size);
};
