#include "WinGdi.h"

#include "Bitmap.h"
#include "Brush.h"
#include "DeviceContext.h"
#include "Dib.h"
#include "ParallelRows.h"
#include "Pen.h"
#include "PixelKernels.h"
#include "StretchDib.h"

#include <cstdlib>
#include <cstring>

HDC CreateCompatibleDC(HDC)
{
    return new DeviceContext;
}

BOOL DeleteDC(HDC dc)
{
    if (!dc)
        return FALSE;
    delete dc;
    return TRUE;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object)
{
    return dc && object ? dc->select(object) : nullptr;
}

HBITMAP SelectObject(HDC dc, HBITMAP bitmap)
{
    return static_cast<HBITMAP>(SelectObject(dc, static_cast<HGDIOBJ>(bitmap)));
}

HPEN SelectObject(HDC dc, HPEN pen)
{
    return static_cast<HPEN>(SelectObject(dc, static_cast<HGDIOBJ>(pen)));
}

HBRUSH SelectObject(HDC dc, HBRUSH brush)
{
    return static_cast<HBRUSH>(SelectObject(dc, static_cast<HGDIOBJ>(brush)));
}

BOOL DeleteObject(HGDIOBJ object)
{
    if (!object)
        return FALSE;
    if (object->isStock())
        return TRUE;
    // Deleting what a device context still holds would leave it drawing into freed memory.
    if (object->selections() > 0)
        return FALSE;
    delete object;
    return TRUE;
}

int GetObject(HGDIOBJ object, int size, void *buffer)
{
    if (!object || object->type() != GdiObject::Type::Bitmap)
        return 0;
    if (!buffer)
        return sizeof(BITMAP);
    if (size < int(sizeof(BITMAP)))
        return 0;
    auto *bitmap = static_cast<Bitmap *>(object);
    BITMAP bm{};
    bm.bmWidth = bitmap->width();
    bm.bmHeight = bitmap->height();
    bm.bmWidthBytes = bitmap->image().bytesPerLine();
    bm.bmPlanes = 1;
    bm.bmBitsPixel = 32;
    bm.bmBits = bitmap->kind() == Bitmap::Kind::DibSection ? bitmap->image().bits() : nullptr;
    std::memcpy(buffer, &bm, sizeof bm);
    return sizeof(BITMAP);
}

int GetDeviceCaps(HDC dc, int index)
{
    return dc ? dc->deviceCaps(index) : 0;
}

int GetClipBox(HDC dc, RECT *rect)
{
    if (!dc || !rect)
        return 0;
    const QRect box = dc->clipBox();
    *rect = box.isEmpty() ? RECT{0, 0, 0, 0}
                          : RECT{box.left(), box.top(), box.right() + 1, box.bottom() + 1};
    return box.isEmpty() ? NULLREGION : SIMPLEREGION;
}

BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT *previous)
{
    if (!dc)
        return FALSE;
    const QPoint old = dc->setViewportOrigin(QPoint(x, y));
    if (previous)
        *previous = {old.x(), old.y()};
    return TRUE;
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height)
{
    return dc ? dc->createCompatibleBitmap(width, height) : nullptr;
}

HBITMAP CopyImage(HBITMAP bitmap, UINT type, int width, int height, UINT flags)
{
    if (!bitmap || type != IMAGE_BITMAP || width < 0 || height < 0)
        return nullptr;
    // Unlike Windows, LR_COPYRETURNORG never hands back the original: a copy is always its own.
    const auto kind =
        flags & LR_CREATEDIBSECTION ? Bitmap::Kind::DibSection : Bitmap::Kind::DeviceDependent;
    const QSize size(width ? width : bitmap->width(), height ? height : bitmap->height());
    if (size == bitmap->image().size())
        return Bitmap::fromImage(bitmap->image(), kind);
    Bitmap *copy = Bitmap::create(size.width(), size.height(), kind);
    if (copy) {
        const QRect all(QPoint(0, 0), size);
        PixelKernels::stretchNearest(copy->image(), all, all, bitmap->image(),
                                     bitmap->image().rect());
    }
    return copy;
}

int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, void *bits, BITMAPINFO *info,
              UINT usage)
{
    if (!dc || !bitmap || !info || usage != DIB_RGB_COLORS)
        return 0;
    BITMAPINFOHEADER &header = info->bmiHeader;
    const std::optional<Dib> dib = Dib::describe(header);
    if (!dib || dib->width() != bitmap->width() || dib->height() != bitmap->height())
        return 0;
    if (!bits) {
        header.biSizeImage = DWORD(dib->imageBytes());
        return bitmap->height();
    }
    // Scan lines are counted from the bottom of the picture for a bottom-up DIB and from the top
    // for a top-down one; `bits` receives them in storage order.
    const int height = bitmap->height();
    if (start >= UINT(height))
        return 0;
    const int count = int(std::min<UINT>(lines, UINT(height) - start));
    const bool bottomUp = header.biHeight > 0;
    const qsizetype stride = Dib::rowBytes(header.biBitCount, dib->width());
    const QImage &image = bitmap->image();
    ParallelRows::run(count, stride, [&](int first, int end) {
        for (int i = first; i < end; ++i) {
            const int scan = int(start) + i;
            const int y = bottomUp ? height - 1 - scan : scan;
            dib->packRow(reinterpret_cast<const QRgb *>(image.constScanLine(y)),
                         static_cast<unsigned char *>(bits) + i * stride);
        }
    });
    return count;
}

HLOCAL LocalAlloc(UINT flags, std::size_t bytes)
{
    return flags & LPTR ? std::calloc(1, bytes) : std::malloc(bytes);
}

HLOCAL LocalFree(HLOCAL block)
{
    std::free(block);
    return nullptr;
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop)
{
    if (!dest || !src || rop != SRCCOPY)
        return FALSE;
    return dest->bitBlt(QRect(x, y, width, height), *src, QPoint(xSrc, ySrc));
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
                int srcWidth, int srcHeight, DWORD rop)
{
    if (!dest || !src || rop != SRCCOPY)
        return FALSE;
    return dest->stretchBlt(QRect(x, y, width, height), *src,
                            QRect(xSrc, ySrc, srcWidth, srcHeight));
}

BOOL PlgBlt(HDC dest, const POINT *points, HDC src, int xSrc, int ySrc, int width, int height,
            HBITMAP mask, int, int)
{
    if (!dest || !points || !src || mask)
        return FALSE;
    return dest->plgBlt(points, *src, QRect(xSrc, ySrc, width, height));
}

BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop)
{
    if (!dc || rop != PATCOPY)
        return FALSE;
    // A negative width or height reaches left of or above (x, y).
    return dc->patBlt(
        QRect(std::min(x, x + width), std::min(y, y + height), std::abs(width), std::abs(height)));
}

COLORREF GetPixel(HDC dc, int x, int y)
{
    return dc ? dc->pixel(QPoint(x, y)) : CLR_INVALID;
}

BOOL DrawIcon(HDC dc, int x, int y, const QImage &icon)
{
    return dc && dc->drawIcon(QPoint(x, y), icon);
}

HPEN CreatePen(int style, int, COLORREF color)
{
    // Every pen of the program is solid and drawn one pixel wide.
    return style == PS_SOLID ? new Pen(color) : nullptr;
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    return new Brush(color);
}

int SetROP2(HDC dc, int rop2)
{
    return dc ? dc->setRop2(rop2) : 0;
}

BOOL MoveToEx(HDC dc, int x, int y, POINT *previous)
{
    if (!dc)
        return FALSE;
    if (previous)
        *previous = {dc->position().x(), dc->position().y()};
    dc->moveTo(QPoint(x, y));
    return TRUE;
}

BOOL LineTo(HDC dc, int x, int y)
{
    return dc && dc->lineTo(QPoint(x, y));
}

BOOL Polyline(HDC dc, const POINT *points, int count)
{
    if (!dc || !points || count < 2)
        return FALSE;
    // Polyline neither uses nor moves the current position.
    const QPoint saved = dc->position();
    dc->moveTo(QPoint(points[0].x, points[0].y));
    bool ok = true;
    for (int i = 1; i < count; ++i)
        ok = dc->lineTo(QPoint(points[i].x, points[i].y)) && ok;
    dc->moveTo(saved);
    return ok;
}

BOOL TextOut(HDC dc, int x, int y, const QString &text)
{
    return dc && dc->textOut(QPoint(x, y), text);
}

BOOL GetTextExtentPoint32(HDC dc, const QString &text, SIZE *size)
{
    if (!dc || !size)
        return FALSE;
    const QSize extent = dc->textExtent(text);
    *size = {extent.width(), extent.height()};
    return TRUE;
}

BOOL GetTextMetrics(HDC dc, TEXTMETRIC *metrics)
{
    if (!dc || !metrics)
        return FALSE;
    *metrics = dc->textMetrics();
    return TRUE;
}

COLORREF SetTextColor(HDC dc, COLORREF color)
{
    return dc ? dc->setTextColor(color) : CLR_INVALID;
}

COLORREF SetBkColor(HDC dc, COLORREF color)
{
    return dc ? dc->setBkColor(color) : CLR_INVALID;
}

UINT SetTextAlign(HDC dc, UINT align)
{
    return dc ? dc->setTextAlign(align) : 0xFFFFFFFFu;
}

HDRAWDIB DrawDibOpen()
{
    return new StretchDib;
}

BOOL DrawDibClose(HDRAWDIB dd)
{
    delete dd;
    return dd != nullptr;
}

// True-colour pixels have no palette to realise.
UINT DrawDibRealize(HDRAWDIB, HDC, BOOL)
{
    return 0;
}

BOOL DrawDibDraw(HDRAWDIB dd, HDC dc, int x, int y, int width, int height,
                 const BITMAPINFOHEADER *header, const void *bits, int xSrc, int ySrc, int srcWidth,
                 int srcHeight, UINT)
{
    if (!dd || !dc || !header)
        return FALSE;
    return dd->draw(*dc, QRect(x, y, width, height), *header, bits,
                    QRect(xSrc, ySrc, srcWidth, srcHeight));
}
