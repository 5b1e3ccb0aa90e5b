#include "PixelKernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace PixelKernels {
namespace {

QRgb *row(QImage &image, int y)
{
    return reinterpret_cast<QRgb *>(image.bits() + y * image.bytesPerLine());
}

const QRgb *row(const QImage &image, int y)
{
    return reinterpret_cast<const QRgb *>(image.constBits() + y * image.bytesPerLine());
}

// d[i] = s[-i] for i in [0, count)
void copyReversed(QRgb *d, const QRgb *s, int count)
{
    int i = 0;
#ifdef __SSE2__
    for (; i + 4 <= count; i += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s - i - 3));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(d + i),
                         _mm_shuffle_epi32(v, _MM_SHUFFLE(0, 1, 2, 3)));
    }
#endif
    for (; i < count; ++i)
        d[i] = s[-i];
}

// Tiles keep the source rows a transposing copy reads in cache while it writes destination rows.
constexpr int kTile = 32;

void transposeTile(QImage &dst, const QRect &tile, const QImage &src, const PixelMap &map)
{
    const int right = tile.x() + tile.width();
    const int bottom = tile.y() + tile.height();
    auto sourceRow = [&](int x) { return row(src, map.rowBase + map.rowPerX * x); };
    auto sourceCol = [&](int y) { return map.colBase + map.colPerY * y; };
    int y = tile.y();
#ifdef __SSE2__
    for (; y + 4 <= bottom; y += 4) {
        // Columns c(y)..c(y + 3) are adjacent in the source, ascending or descending.
        const int firstCol = map.colPerY > 0 ? sourceCol(y) : sourceCol(y + 3);
        QRgb *d0 = row(dst, y), *d1 = row(dst, y + 1), *d2 = row(dst, y + 2), *d3 = row(dst, y + 3);
        int x = tile.x();
        for (; x + 4 <= right; x += 4) {
            __m128i l[4];
            for (int i = 0; i < 4; ++i) {
                l[i] =
                    _mm_loadu_si128(reinterpret_cast<const __m128i *>(sourceRow(x + i) + firstCol));
                if (map.colPerY < 0)
                    l[i] = _mm_shuffle_epi32(l[i], _MM_SHUFFLE(0, 1, 2, 3));
            }
            // l[i][j] is destination pixel (x + i, y + j): transpose 4 x 4.
            const __m128i t0 = _mm_unpacklo_epi32(l[0], l[1]);
            const __m128i t1 = _mm_unpacklo_epi32(l[2], l[3]);
            const __m128i t2 = _mm_unpackhi_epi32(l[0], l[1]);
            const __m128i t3 = _mm_unpackhi_epi32(l[2], l[3]);
            _mm_storeu_si128(reinterpret_cast<__m128i *>(d0 + x), _mm_unpacklo_epi64(t0, t1));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(d1 + x), _mm_unpackhi_epi64(t0, t1));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(d2 + x), _mm_unpacklo_epi64(t2, t3));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(d3 + x), _mm_unpackhi_epi64(t2, t3));
        }
        for (; x < right; ++x) {
            const QRgb *s = sourceRow(x);
            d0[x] = s[sourceCol(y)];
            d1[x] = s[sourceCol(y + 1)];
            d2[x] = s[sourceCol(y + 2)];
            d3[x] = s[sourceCol(y + 3)];
        }
    }
#endif
    for (; y < bottom; ++y) {
        QRgb *d = row(dst, y);
        const int col = sourceCol(y);
        for (int x = tile.x(); x < right; ++x)
            d[x] = sourceRow(x)[col];
    }
}

} // namespace

void copyRect(QImage &dst, QPoint to, const QImage &src, const QRect &from)
{
    const int w = from.width();
    const int h = from.height();
    if (w <= 0 || h <= 0)
        return;
    // Take the destination's pixels first: if it shares a buffer with the source, writing
    // detaches it and the source keeps the old pixels.
    uchar *d = dst.bits() + to.y() * dst.bytesPerLine() + to.x() * 4;
    const uchar *s = src.constBits() + from.y() * src.bytesPerLine() + from.x() * 4;
    const qsizetype dstStride = dst.bytesPerLine();
    const qsizetype srcStride = src.bytesPerLine();
    const qsizetype rowBytes = qsizetype(w) * 4;
    if (rowBytes == dstStride && rowBytes == srcStride) {
        std::memmove(d, s, rowBytes * h);
        return;
    }
    if (d > s) { // overlapping downwards: copy the bottom row first
        for (int y = h - 1; y >= 0; --y)
            std::memmove(d + y * dstStride, s + y * srcStride, rowBytes);
    } else {
        for (int y = 0; y < h; ++y)
            std::memmove(d + y * dstStride, s + y * srcStride, rowBytes);
    }
}

void fillRect(QImage &dst, const QRect &rect, QRgb pixel)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        std::fill_n(row(dst, y) + rect.left(), rect.width(), pixel);
}

void stretchNearest(QImage &dst, const QRect &clip, const QRect &destRect, const QImage &src,
                    const QRect &srcRect)
{
    // Destination pixel i of the rectangle takes source pixel floor((i + 0.5) * srcSize /
    // destSize).
    auto sourceIndex = [](int i, int destSize, int srcSize) {
        return int((2 * qint64(i) + 1) * srcSize / (2 * qint64(destSize)));
    };
    std::vector<int> cols;
    cols.reserve(clip.width());
    for (int x = clip.left(); x <= clip.right(); ++x)
        cols.push_back(srcRect.x() +
                       sourceIndex(x - destRect.x(), destRect.width(), srcRect.width()));
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        const int sy =
            srcRect.y() + sourceIndex(y - destRect.y(), destRect.height(), srcRect.height());
        if (sy < 0 || sy >= src.height())
            continue;
        const QRgb *s = row(src, sy);
        QRgb *d = row(dst, y) + clip.left();
        for (size_t i = 0; i < cols.size(); ++i) {
            if (cols[i] >= 0 && cols[i] < src.width())
                d[i] = s[cols[i]];
        }
    }
}

void mapAffine(QImage &dst, const QRect &box, const QImage &src, const QRect &srcRect,
               const AffineMap &map)
{
    for (int y = box.top(); y <= box.bottom(); ++y) {
        QRgb *d = row(dst, y);
        for (int x = box.left(); x <= box.right(); ++x) {
            const double px = x + 0.5;
            const double py = y + 0.5;
            const double u = std::floor(map.originX + px * map.stepXx + py * map.stepYx);
            const double v = std::floor(map.originY + px * map.stepXy + py * map.stepYy);
            if (u >= srcRect.left() && u <= srcRect.right() && v >= srcRect.top() &&
                v <= srcRect.bottom())
                d[x] = row(src, int(v))[int(u)];
        }
    }
}

void mapPixels(QImage &dst, const QRect &box, const QImage &src, const PixelMap &map)
{
    if (box.isEmpty())
        return;
    if (map.colPerY == 0) { // rows stay rows: a copy or a mirror per row
        for (int y = box.top(); y <= box.bottom(); ++y) {
            const QRgb *s =
                row(src, map.rowBase + map.rowPerY * y) + map.colBase + map.colPerX * box.left();
            QRgb *d = row(dst, y) + box.left();
            if (map.colPerX > 0)
                std::memcpy(d, s, size_t(box.width()) * 4);
            else
                copyReversed(d, s, box.width());
        }
        return;
    }
    for (int ty = box.top(); ty <= box.bottom(); ty += kTile) {
        for (int tx = box.left(); tx <= box.right(); tx += kTile) {
            const QRect tile = QRect(tx, ty, kTile, kTile) & box;
            transposeTile(dst, tile, src, map);
        }
    }
}

void drawLine(QImage &dst, const QRect &clip, QPoint from, QPoint to, QRgb pen, LineMode mode)
{
    auto plot = [&](QRgb &p) { p = mode == LineMode::Copy ? pen : ~(pen ^ p) | 0xFF000000u; };
    const int dx = std::abs(to.x() - from.x());
    const int dy = std::abs(to.y() - from.y());
    const int sx = to.x() >= from.x() ? 1 : -1;
    const int sy = to.y() >= from.y() ? 1 : -1;
    if (dy == 0 || dx == 0) { // the crosshair's and the outlines' lines: clip the span once
        const bool horizontal = dy == 0;
        const int fixed = horizontal ? from.y() : from.x();
        if (horizontal ? (fixed < clip.top() || fixed > clip.bottom())
                       : (fixed < clip.left() || fixed > clip.right()))
            return;
        const int start = horizontal ? from.x() : from.y();
        const int count = horizontal ? dx : dy;
        const int step = horizontal ? sx : sy;
        // The drawn pixels run from `start` over `count` pixels in direction `step`.
        const int first = step > 0 ? start : start - count + 1;
        const int lo = std::max(first, horizontal ? clip.left() : clip.top());
        const int hi = std::min(first + count - 1, horizontal ? clip.right() : clip.bottom());
        for (int i = lo; i <= hi; ++i)
            plot(horizontal ? row(dst, fixed)[i] : row(dst, i)[fixed]);
        return;
    }
    int x = from.x();
    int y = from.y();
    int err = dx - dy;
    for (int i = std::max(dx, dy); i > 0; --i) {
        if (clip.contains(x, y))
            plot(row(dst, y)[x]);
        const int e2 = 2 * err;
        if (e2 > -dy) {
            err -= dy;
            x += sx;
        }
        if (e2 < dx) {
            err += dx;
            y += sy;
        }
    }
}

} // namespace PixelKernels
