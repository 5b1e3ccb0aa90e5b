#pragma once

// The bitmap and device-context services the application classes are written against, with the
// meaning they have on Windows: handles, COLORREF colours (0x00BBGGRR), the end-point rule of
// lines, bottom-up device-independent bitmaps.

#include "Bitmap.h"
#include "Brush.h"
#include "Pen.h"
#include "WinTypes.h"

#include <QImage>
#include <QString>
#include <cstddef>

// Device contexts and objects
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
HBITMAP SelectObject(HDC dc, HBITMAP bitmap);
HPEN SelectObject(HDC dc, HPEN pen);
HBRUSH SelectObject(HDC dc, HBRUSH brush);
BOOL DeleteObject(HGDIOBJ object);
int GetObject(HGDIOBJ object, int size, void *buffer);
int GetDeviceCaps(HDC dc, int index);
int GetClipBox(HDC dc, RECT *rect);
BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT *previous);

// Bitmaps
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
HBITMAP CopyImage(HBITMAP bitmap, UINT type, int width, int height, UINT flags);
int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, void *bits, BITMAPINFO *info,
              UINT usage);
HLOCAL LocalAlloc(UINT flags, std::size_t bytes);
HLOCAL LocalFree(HLOCAL block);

// Blits
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop);
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
                int srcWidth, int srcHeight, DWORD rop);
BOOL PlgBlt(HDC dest, const POINT *points, HDC src, int xSrc, int ySrc, int width, int height,
            HBITMAP mask, int xMask, int yMask);
BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
COLORREF GetPixel(HDC dc, int x, int y);
// Blends an icon or cursor image (premultiplied ARGB) over the pixels at (x, y), at its own size.
BOOL DrawIcon(HDC dc, int x, int y, const QImage &icon);

// Pens, brushes and lines
HPEN CreatePen(int style, int width, COLORREF color);
HBRUSH CreateSolidBrush(COLORREF color);
int SetROP2(HDC dc, int rop2);
BOOL MoveToEx(HDC dc, int x, int y, POINT *previous);
BOOL LineTo(HDC dc, int x, int y);
BOOL Polyline(HDC dc, const POINT *points, int count);

// Text, in the device context's font (the application font unless the device has its own)
BOOL TextOut(HDC dc, int x, int y, const QString &text);
BOOL GetTextExtentPoint32(HDC dc, const QString &text, SIZE *size);
BOOL GetTextMetrics(HDC dc, TEXTMETRIC *metrics);
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF SetBkColor(HDC dc, COLORREF color);
UINT SetTextAlign(HDC dc, UINT align);

// The stretch-a-DIB service: draws a device-independent bitmap stretched into a rectangle,
// area-averaged where it shrinks and bilinear where it grows.
HDRAWDIB DrawDibOpen();
BOOL DrawDibClose(HDRAWDIB dd);
UINT DrawDibRealize(HDRAWDIB dd, HDC dc, BOOL background);
BOOL DrawDibDraw(HDRAWDIB dd, HDC dc, int x, int y, int width, int height,
                 const BITMAPINFOHEADER *header, const void *bits, int xSrc, int ySrc, int srcWidth,
                 int srcHeight, UINT flags);
