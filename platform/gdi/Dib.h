#pragma once

#include "WinTypes.h"

#include <QRgb>
#include <optional>

// The row layout of a device-independent bitmap of 24 or 32 bits per pixel, uncompressed:
// rows bottom-up for a positive height, each padded to a multiple of 4 bytes.
class Dib {
public:
    // Empty for a header this layer cannot read or write.
    static std::optional<Dib> describe(const BITMAPINFOHEADER &header);

    // Bytes of one row, padding included, for `bits` per pixel.
    static qsizetype rowBytes(int bits, int width)
    {
        return (qsizetype(bits) * width + 31) / 32 * 4;
    }

    int width() const { return m_width; }
    int height() const { return m_height; }
    int bitsPerPixel() const { return m_bits; }
    bool bottomUp() const { return m_bottomUp; }
    qsizetype imageBytes() const { return rowBytes(m_bits, m_width) * m_height; }

    // Row `y` counted from the top of the picture.
    unsigned char *row(void *bits, int y) const;
    const unsigned char *row(const void *bits, int y) const;

    // Writes `count` pixels and zeroes the row's padding; 32-bit rows get 0 in the fourth byte.
    void packRow(const QRgb *pixels, unsigned char *row) const;
    void unpackRow(const unsigned char *row, QRgb *pixels) const;

private:
    Dib(int width, int height, int bits, bool bottomUp)
        : m_width(width), m_height(height), m_bits(bits), m_bottomUp(bottomUp)
    {
    }

    int m_width;
    int m_height;
    int m_bits;
    bool m_bottomUp;
};
