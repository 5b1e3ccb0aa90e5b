#pragma once

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Color.h"
#include "platform/gdi/WinGdi.h"

#include <QImage>

// A memory device context with its own bitmap, for tests that draw and then read pixels.
class Canvas {
public:
    Canvas(int width, int height, QRgb fill = 0xFFFFFFFFu)
        : m_dc(CreateCompatibleDC(nullptr)), m_bitmap(CreateCompatibleBitmap(m_dc, width, height))
    {
        m_bitmap->image().fill(fill);
        m_old = SelectObject(m_dc, m_bitmap);
    }
    Canvas(const Canvas &) = delete;
    Canvas &operator=(const Canvas &) = delete;
    ~Canvas()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }

    // Pixel (x, y) = (x, y, 0x80) as red, green, blue: every pixel of a small canvas differs.
    static Canvas pattern(int width, int height)
    {
        Canvas c(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                c.image().setPixel(x, y, qRgb(x, y, 0x80));
        return c;
    }

    HDC dc() const { return m_dc; }
    HBITMAP bitmap() const { return m_bitmap; }
    QImage &image() { return m_bitmap->image(); }
    QRgb at(int x, int y) const { return m_bitmap->image().pixel(x, y); }

    Canvas(Canvas &&other) noexcept
        : m_dc(std::exchange(other.m_dc, nullptr)),
          m_bitmap(std::exchange(other.m_bitmap, nullptr)),
          m_old(std::exchange(other.m_old, nullptr))
    {
    }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};
