#pragma once

#include "WinTypes.h"

#include <QRgb>

// The one place where COLORREF (0x00BBGGRR) and the bitmaps' 32-bit pixels (memory order
// B, G, R, X with X = 0xFF, i.e. 0xFFRRGGBB) are converted into each other.
constexpr QRgb pixelFromColorRef(COLORREF c)
{
    return 0xFF000000u | (c & 0xFFu) << 16 | (c & 0xFF00u) | (c >> 16 & 0xFFu);
}

constexpr COLORREF colorRefFromPixel(QRgb p)
{
    return (p >> 16 & 0xFFu) | (p & 0xFF00u) | (p & 0xFFu) << 16;
}
