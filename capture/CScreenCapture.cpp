#include "CScreenCapture.h"

#include <cstdlib>

HBITMAP CScreenCapture::CaptureDesktop(SIZE &size)
{
    return CaptureWindow(GetDesktopWindow(), size, FALSE);
}

HBITMAP CScreenCapture::CaptureForegroundWindow(SIZE &size, BOOL clientOnly)
{
    return CaptureWindow(GetForegroundWindow(), size, clientOnly);
}

HBITMAP CScreenCapture::CaptureWindow(WindowId window, SIZE &size, BOOL clientOnly)
{
    if (!window)
        return nullptr;
    RECT rect;
    if (!(clientOnly ? GetClientRect(window, &rect) : GetWindowRect(window, &rect)))
        return nullptr;
    HDC source = clientOnly ? GetDC(window) : GetWindowDC(window);
    if (!source)
        return nullptr;
    HDC memory = CreateCompatibleDC(source);
    if (!memory) {
        ReleaseDC(window, source);
        return nullptr;
    }
    const int width = std::abs(rect.right - rect.left);
    const int height = std::abs(rect.bottom - rect.top);
    HBITMAP grabbed = CreateCompatibleBitmap(source, width, height);
    if (!grabbed) {
        DeleteDC(memory);
        ReleaseDC(window, source);
        return nullptr;
    }
    HGDIOBJ old = SelectObject(memory, grabbed);
    const BOOL copied = BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(window, source);
    // A grab that could not read the screen is no picture.
    HBITMAP copy = copied ? CopyImage(grabbed, IMAGE_BITMAP, 0, 0, 0) : nullptr;
    DeleteObject(grabbed);
    if (!copied)
        return nullptr;
    size = {width, height};
    return copy;
}

HBITMAP CScreenCapture::CaptureRect(HDC source, int x1, int y1, int x2, int y2, SIZE &size)
{
    const int width = std::abs(x1 - x2);
    const int height = std::abs(y1 - y2);
    const int left = std::min(x1, x2);
    const int top = std::min(y1, y2);
    HDC memory = CreateCompatibleDC(source);
    if (!memory)
        return nullptr;
    HBITMAP cut = CreateCompatibleBitmap(source, width, height);
    if (!cut) {
        DeleteDC(memory);
        return nullptr;
    }
    HGDIOBJ old = SelectObject(memory, cut);
    BitBlt(memory, 0, 0, width, height, source, left, top, SRCCOPY);
    HBITMAP copy = CopyImage(cut, IMAGE_BITMAP, 0, 0, 0);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(cut);
    size = {width, height};
    return copy;
}
