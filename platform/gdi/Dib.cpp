#include "Dib.h"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

std::optional<Dib> Dib::describe(const BITMAPINFOHEADER &header)
{
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biPlanes != 1 ||
        header.biCompression != BI_RGB || (header.biBitCount != 24 && header.biBitCount != 32) ||
        header.biWidth <= 0 || header.biHeight == 0 || header.biHeight == INT32_MIN)
        return std::nullopt;
    return Dib(header.biWidth, std::abs(header.biHeight), header.biBitCount, header.biHeight > 0);
}

unsigned char *Dib::row(void *bits, int y) const
{
    const int stored = m_bottomUp ? m_height - 1 - y : y;
    return static_cast<unsigned char *>(bits) + stored * rowBytes(m_bits, m_width);
}

const unsigned char *Dib::row(const void *bits, int y) const
{
    return row(const_cast<void *>(bits), y);
}

void Dib::packRow(const QRgb *pixels, unsigned char *row) const
{
    const int width = m_width;
    const qsizetype bytes = rowBytes(m_bits, width);
    if (m_bits == 32) {
        QRgb *out = reinterpret_cast<QRgb *>(row); // rows are 4-byte aligned
        int x = 0;
#ifdef __SSE2__
        // Whole pictures are copied out: stores that bypass the cache leave it to the source.
        if ((reinterpret_cast<quintptr>(out) & 15) == 0) {
            const __m128i mask = _mm_set1_epi32(0x00FFFFFF);
            for (; x + 4 <= width; x += 4) {
                const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i *>(pixels + x));
                _mm_stream_si128(reinterpret_cast<__m128i *>(out + x), _mm_and_si128(p, mask));
            }
            _mm_sfence();
        }
#endif
        for (; x < width; ++x)
            out[x] = pixels[x] & 0x00FFFFFFu;
        return;
    }
    unsigned char *out = row;
    for (int x = 0; x < width; ++x) {
        *out++ = qBlue(pixels[x]);
        *out++ = qGreen(pixels[x]);
        *out++ = qRed(pixels[x]);
    }
    std::memset(out, 0, row + bytes - out);
}

void Dib::unpackRow(const unsigned char *row, QRgb *pixels) const
{
    const int width = m_width;
    if (m_bits == 32) {
        const QRgb *in = reinterpret_cast<const QRgb *>(row); // rows are 4-byte aligned
        for (int x = 0; x < width; ++x)
            pixels[x] = in[x] | 0xFF000000u;
        return;
    }
    for (int x = 0; x < width; ++x, row += 3)
        pixels[x] = qRgb(row[2], row[1], row[0]);
}
