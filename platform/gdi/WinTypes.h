#pragma once

// Types, records and constants of the bitmap and device-context services, with their Windows
// names and values.

#include <cstdint>

using BOOL = int;
inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = unsigned int;
using COLORREF = DWORD;
using HLOCAL = void *;

// Results of the Windows style: negative is a failure.
using HRESULT = LONG;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_FAIL = HRESULT(0x80004005);
inline constexpr bool FAILED(HRESULT hr)
{
    return hr < 0;
}
inline constexpr int MAX_PATH = 260;

class GdiObject;
class Bitmap;
class Pen;
class Brush;
class DeviceContext;
class StretchDib;
using HGDIOBJ = GdiObject *;
using HBITMAP = Bitmap *;
using HPEN = Pen *;
using HBRUSH = Brush *;
using HDC = DeviceContext *;
using HDRAWDIB = StretchDib *;

struct POINT {
    LONG x;
    LONG y;
};

struct SIZE {
    LONG cx;
    LONG cy;
};

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    void *bmBits; // the pixels of a DIB section; null for a device-dependent bitmap
};

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight; // positive: rows bottom-up; negative: top-down
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40);

struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};

struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};

// The fields this layer fills; the rest of the Windows record is never read by the program.
struct TEXTMETRIC {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
};

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b)
{
    return COLORREF(r) | COLORREF(g) << 8 | COLORREF(b) << 16;
}
constexpr BYTE GetRValue(COLORREF c)
{
    return BYTE(c);
}
constexpr BYTE GetGValue(COLORREF c)
{
    return BYTE(c >> 8);
}
constexpr BYTE GetBValue(COLORREF c)
{
    return BYTE(c >> 16);
}

inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// Raster operations
inline constexpr DWORD SRCCOPY = 0x00CC0020;
inline constexpr DWORD PATCOPY = 0x00F00021;
inline constexpr int R2_NOTXORPEN = 10;
inline constexpr int R2_COPYPEN = 13;

inline constexpr int PS_SOLID = 0;

// CopyImage
inline constexpr UINT IMAGE_BITMAP = 0;
inline constexpr UINT LR_COPYRETURNORG = 0x0004;
inline constexpr UINT LR_CREATEDIBSECTION = 0x2000;

// Device-independent bitmaps
inline constexpr DWORD BI_RGB = 0;
inline constexpr UINT DIB_RGB_COLORS = 0;

// Text alignment
inline constexpr UINT TA_NOUPDATECP = 0;
inline constexpr UINT TA_LEFT = 0;
inline constexpr UINT TA_RIGHT = 2;
inline constexpr UINT TA_CENTER = 6;
inline constexpr UINT TA_TOP = 0;
inline constexpr UINT TA_BOTTOM = 8;
inline constexpr UINT TA_BASELINE = 24;

// GetDeviceCaps
inline constexpr int HORZRES = 8;
inline constexpr int VERTRES = 10;
inline constexpr int BITSPIXEL = 12;
inline constexpr int PLANES = 14;
inline constexpr int LOGPIXELSX = 88;
inline constexpr int LOGPIXELSY = 90;

// GetClipBox
inline constexpr int NULLREGION = 1;
inline constexpr int SIMPLEREGION = 2;

inline constexpr UINT LPTR = 0x0040;

inline constexpr UINT DDF_BACKGROUNDPAL = 0x0200;
