#include "PixelKernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#ifdef __SSE2__
#include <immintrin.h>
#endif

namespace PixelKernels {
namespace {

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

// Raw rows of an image, with the accessors hoisted out of the loops (QImage's are not inline).
struct Rows {
    uchar *base;
    qsizetype stride;
    QRgb *operator[](int y) const { return reinterpret_cast<QRgb *>(base + y * stride); }
};

Rows rowsOf(QImage &image)
{
    return {image.bits(), image.bytesPerLine()};
}

Rows rowsOf(const QImage &image)
{
    return {const_cast<uchar *>(image.constBits()), image.bytesPerLine()};
}

// Tiles keep the source rows a transposing copy reads in cache while it writes destination rows.
constexpr int kTileX = 256;
constexpr int kTileY = 256;

// The transposing copy dst(x, y) = src(row = rowBase + rowPerX * x, col = colBase + colPerY * y)
// over `tile`, moved in N x N blocks by `block`, the rest pixel by pixel. A block gets the first
// of its N source rows (`rowStep` bytes apart) at the first of its N adjacent source columns,
// which run descending when `reversed`, and writes N destination rows `dstStride` bytes apart.
template <int N, class Block>
[[gnu::always_inline]] inline void transposeTileWith(const Rows &dst, const QRect &tile,
                                                     const Rows &src, const PixelMap &map,
                                                     Block block)
{
    const int right = tile.x() + tile.width();
    const int bottom = tile.y() + tile.height();
    const qsizetype rowStep = map.rowPerX * src.stride;
    const bool reversed = map.colPerY < 0;
    auto sourceRow = [&](int x) { return src[map.rowBase + map.rowPerX * x]; };
    auto sourceCol = [&](int y) { return map.colBase + map.colPerY * y; };
    int y = tile.y();
    for (; y + N <= bottom; y += N) {
        const int firstCol = reversed ? sourceCol(y + N - 1) : sourceCol(y);
        uchar *d = reinterpret_cast<uchar *>(dst[y]);
        int x = tile.x();
        for (; x + N <= right; x += N)
            block(reinterpret_cast<const uchar *>(sourceRow(x) + firstCol), rowStep, d + x * 4,
                  dst.stride, reversed);
        for (; x < right; ++x) {
            const QRgb *row = sourceRow(x);
            for (int j = 0; j < N; ++j)
                dst[y + j][x] = row[sourceCol(y + j)];
        }
    }
    for (; y < bottom; ++y) {
        QRgb *d = dst[y];
        const int col = sourceCol(y);
        for (int x = tile.x(); x < right; ++x)
            d[x] = sourceRow(x)[col];
    }
}

#ifdef __SSE2__
inline void block4(const uchar *s, qsizetype rowStep, uchar *d, qsizetype dstStride, bool reversed)
{
    __m128i l0 = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s));
    __m128i l1 = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + rowStep));
    __m128i l2 = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + 2 * rowStep));
    __m128i l3 = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + 3 * rowStep));
    if (reversed) {
        l0 = _mm_shuffle_epi32(l0, _MM_SHUFFLE(0, 1, 2, 3));
        l1 = _mm_shuffle_epi32(l1, _MM_SHUFFLE(0, 1, 2, 3));
        l2 = _mm_shuffle_epi32(l2, _MM_SHUFFLE(0, 1, 2, 3));
        l3 = _mm_shuffle_epi32(l3, _MM_SHUFFLE(0, 1, 2, 3));
    }
    // li[j] goes to destination row j, column i.
    const __m128i t0 = _mm_unpacklo_epi32(l0, l1);
    const __m128i t1 = _mm_unpacklo_epi32(l2, l3);
    const __m128i t2 = _mm_unpackhi_epi32(l0, l1);
    const __m128i t3 = _mm_unpackhi_epi32(l2, l3);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(d), _mm_unpacklo_epi64(t0, t1));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(d + dstStride), _mm_unpackhi_epi64(t0, t1));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(d + 2 * dstStride), _mm_unpacklo_epi64(t2, t3));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(d + 3 * dstStride), _mm_unpackhi_epi64(t2, t3));
}

void transposeTileSse2(const Rows &dst, const QRect &tile, const Rows &src, const PixelMap &map)
{
    transposeTileWith<4>(dst, tile, src, map, block4);
}

[[gnu::target("avx2")]] inline void block8(const uchar *s, qsizetype rowStep, uchar *d,
                                           qsizetype dstStride, bool reversed)
{
    __m256i r[8];
    for (int i = 0; i < 8; ++i) {
        r[i] = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(s + i * rowStep));
        if (reversed)
            r[i] = _mm256_permutevar8x32_epi32(r[i], _mm256_setr_epi32(7, 6, 5, 4, 3, 2, 1, 0));
    }
    // r[i][j] goes to destination row j, column i.
    __m256i t[8], u[8];
    for (int i = 0; i < 8; i += 2) {
        t[i] = _mm256_unpacklo_epi32(r[i], r[i + 1]);
        t[i + 1] = _mm256_unpackhi_epi32(r[i], r[i + 1]);
    }
    for (int i = 0; i < 8; i += 4) {
        u[i] = _mm256_unpacklo_epi64(t[i], t[i + 2]);
        u[i + 1] = _mm256_unpackhi_epi64(t[i], t[i + 2]);
        u[i + 2] = _mm256_unpacklo_epi64(t[i + 1], t[i + 3]);
        u[i + 3] = _mm256_unpackhi_epi64(t[i + 1], t[i + 3]);
    }
    // u[k] holds columns k (low half) and k + 4 (high half) of rows 0-3; u[k + 4] of rows 4-7.
    for (int k = 0; k < 4; ++k) {
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(d + k * dstStride),
                            _mm256_permute2x128_si256(u[k], u[k + 4], 0x20));
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(d + (k + 4) * dstStride),
                            _mm256_permute2x128_si256(u[k], u[k + 4], 0x31));
    }
}

[[gnu::target("avx2")]] void transposeTileAvx2(const Rows &dst, const QRect &tile, const Rows &src,
                                               const PixelMap &map)
{
    transposeTileWith<8>(dst, tile, src, map, block8);
}
#endif

void transposeTile(const Rows &dst, const QRect &tile, const Rows &src, const PixelMap &map,
                   Simd simd)
{
#ifdef __SSE2__
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2 && simd == Simd::Best)
        transposeTileAvx2(dst, tile, src, map);
    else
        transposeTileSse2(dst, tile, src, map);
#else
    Q_UNUSED(simd);
    transposeTileWith<1>(
        dst, tile, src, map,
        [](const uchar *s, qsizetype, uchar *d, qsizetype, bool) { std::memcpy(d, s, 4); });
#endif
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
    const Rows to = rowsOf(dst);
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        std::fill_n(to[y] + rect.left(), rect.width(), pixel);
}

void stretchNearest(QImage &dst, const QRect &clip, const QRect &destRect, const QImage &src,
                    const QRect &srcRect)
{
    // Pixel i of the destination rectangle takes pixel floor((i + 0.5) * srcSize / destSize).
    auto sourceIndex = [](int i, int destSize, int srcSize) {
        return int((2 * qint64(i) + 1) * srcSize / (2 * qint64(destSize)));
    };
    std::vector<int> cols;
    cols.reserve(clip.width());
    for (int x = clip.left(); x <= clip.right(); ++x)
        cols.push_back(srcRect.x() +
                       sourceIndex(x - destRect.x(), destRect.width(), srcRect.width()));
    // Columns run monotonically, so those without a source pixel sit at either end.
    const int srcWidth = src.width();
    const int srcHeight = src.height();
    size_t first = 0;
    while (first < cols.size() && cols[first] < 0)
        ++first;
    size_t last = cols.size();
    while (last > first && cols[last - 1] >= srcWidth)
        --last;
    const Rows to = rowsOf(dst);
    const Rows from = rowsOf(src);
    const int *c = cols.data();
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        const int sy =
            srcRect.y() + sourceIndex(y - destRect.y(), destRect.height(), srcRect.height());
        if (sy < 0 || sy >= srcHeight)
            continue;
        const QRgb *s = from[sy];
        QRgb *d = to[y] + clip.left();
        for (size_t i = first; i < last; ++i)
            d[i] = s[c[i]];
    }
}

void mapAffine(QImage &dst, const QRect &box, const QImage &src, const QRect &srcRect,
               const AffineMap &map)
{
    const Rows to = rowsOf(dst);
    const Rows from = rowsOf(src);
    for (int y = box.top(); y <= box.bottom(); ++y) {
        QRgb *d = to[y];
        for (int x = box.left(); x <= box.right(); ++x) {
            const double px = x + 0.5;
            const double py = y + 0.5;
            const double u = std::floor(map.originX + px * map.stepXx + py * map.stepYx);
            const double v = std::floor(map.originY + px * map.stepXy + py * map.stepYy);
            if (u >= srcRect.left() && u <= srcRect.right() && v >= srcRect.top() &&
                v <= srcRect.bottom())
                d[x] = from[int(v)][int(u)];
        }
    }
}

void mapPixels(QImage &dst, const QRect &box, const QImage &src, const PixelMap &map, Simd simd)
{
    if (box.isEmpty())
        return;
    const Rows to = rowsOf(dst);
    const Rows from = rowsOf(src);
    if (map.colPerY == 0) { // rows stay rows: a copy or a mirror per row
        for (int y = box.top(); y <= box.bottom(); ++y) {
            const QRgb *s =
                from[map.rowBase + map.rowPerY * y] + map.colBase + map.colPerX * box.left();
            QRgb *d = to[y] + box.left();
            if (map.colPerX > 0)
                std::memcpy(d, s, size_t(box.width()) * 4);
            else
                copyReversed(d, s, box.width());
        }
        return;
    }
    for (int ty = box.top(); ty <= box.bottom(); ty += kTileY) {
        for (int tx = box.left(); tx <= box.right(); tx += kTileX) {
            const QRect tile = QRect(tx, ty, kTileX, kTileY) & box;
            transposeTile(to, tile, from, map, simd);
        }
    }
}

void drawLine(QImage &dst, const QRect &clip, QPoint from, QPoint to, QRgb pen, LineMode mode)
{
    const Rows rows = rowsOf(dst);
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
            plot(horizontal ? rows[fixed][i] : rows[i][fixed]);
        return;
    }
    int x = from.x();
    int y = from.y();
    int err = dx - dy;
    for (int i = std::max(dx, dy); i > 0; --i) {
        if (clip.contains(x, y))
            plot(rows[y][x]);
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
