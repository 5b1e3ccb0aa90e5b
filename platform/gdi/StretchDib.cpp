#include "StretchDib.h"

#include "DeviceContext.h"
#include "Dib.h"
#include "ParallelRows.h"
#include "PixelKernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

constexpr int kWeightBits = 14;
constexpr int kWeightOne = 1 << kWeightBits;

// For each output index along one axis: the first input index and the weights of the inputs
// from there on, in fixed point, summing to kWeightOne.
struct Taps {
    std::vector<int> first;
    std::vector<int> count;
    std::vector<int> weights; // count[i] weights for output i, back to back
    std::vector<int> offset;  // where output i's weights start
};

Taps makeTaps(int inSize, int outSize)
{
    Taps taps;
    taps.first.resize(outSize);
    taps.count.resize(outSize);
    taps.offset.resize(outSize);
    std::vector<double> w;
    const double scale = double(inSize) / outSize;
    for (int i = 0; i < outSize; ++i) {
        w.clear();
        int first;
        if (outSize < inSize) {
            // Area average: output i covers the input interval [i * scale, (i + 1) * scale).
            const double start = i * scale;
            const double end = (i + 1) * scale;
            first = int(start);
            for (int j = first; j < inSize && j < end; ++j)
                w.push_back(std::min(end, j + 1.0) - std::max(start, double(j)));
        } else {
            // Bilinear between the two input pixels whose centres surround the output's centre.
            const double pos = std::clamp((i + 0.5) * scale - 0.5, 0.0, double(inSize - 1));
            first = std::min(int(pos), inSize - 1);
            const double frac = pos - first;
            w.push_back(1.0 - frac);
            if (frac > 0)
                w.push_back(frac);
        }
        double sum = 0;
        for (double x : w)
            sum += x;
        taps.first[i] = first;
        taps.count[i] = int(w.size());
        taps.offset[i] = int(taps.weights.size());
        int total = 0;
        size_t largest = 0;
        for (size_t k = 0; k < w.size(); ++k) {
            const int q = int(std::lround(w[k] / sum * kWeightOne));
            taps.weights.push_back(q);
            total += q;
            if (w[k] > w[largest])
                largest = k;
        }
        // Rounding must not change the sum, or flat areas would change colour.
        taps.weights[taps.offset[i] + largest] += kWeightOne - total;
    }
    return taps;
}

// Rows: each output row is a weighted sum of whole input rows, byte by byte.
void resampleRows(const QImage &in, QImage &out, const Taps &taps)
{
    const int bytes = in.width() * 4;
    uchar *target = out.bits();
    const qsizetype targetStride = out.bytesPerLine();
    ParallelRows::run(out.height(), in.bytesPerLine() * 2, [&](int first, int end) {
        std::vector<int> acc(bytes);
        for (int y = first; y < end; ++y) {
            std::fill(acc.begin(), acc.end(), kWeightOne / 2);
            for (int k = 0; k < taps.count[y]; ++k) {
                const uchar *s = in.constScanLine(taps.first[y] + k);
                const int w = taps.weights[taps.offset[y] + k];
                int *a = acc.data();
                for (int b = 0; b < bytes; ++b)
                    a[b] += w * s[b];
            }
            uchar *d = target + y * targetStride;
            for (int b = 0; b < bytes; ++b)
                d[b] = uchar(acc[b] >> kWeightBits);
        }
    });
}

// Columns: each output pixel is a weighted sum of neighbouring input pixels of its row.
void resampleColumns(const QImage &in, QImage &out, const Taps &taps)
{
    uchar *target = out.bits();
    const qsizetype targetStride = out.bytesPerLine();
    ParallelRows::run(out.height(), in.bytesPerLine(), [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            const QRgb *s = reinterpret_cast<const QRgb *>(in.constScanLine(y));
            QRgb *d = reinterpret_cast<QRgb *>(target + y * targetStride);
            for (int x = 0; x < out.width(); ++x) {
                int r = kWeightOne / 2, g = kWeightOne / 2, b = kWeightOne / 2;
                const QRgb *p = s + taps.first[x];
                const int *w = taps.weights.data() + taps.offset[x];
                for (int k = 0; k < taps.count[x]; ++k) {
                    r += w[k] * int(qRed(p[k]));
                    g += w[k] * int(qGreen(p[k]));
                    b += w[k] * int(qBlue(p[k]));
                }
                d[x] = qRgb(r >> kWeightBits, g >> kWeightBits, b >> kWeightBits);
            }
        }
    });
}

// Exactly half the size both ways: each output pixel is the rounded mean of a 2 x 2 block, the
// same as the area average gives, worked on 16-bit lanes four pixels at a time.
void halveRows(const QImage &in, uchar *target, const QImage &out, bool upsideDown, int first,
               int end)
{
    const int width = out.width();
    const int height = out.height();
    const uchar *source = in.constBits();
    const qsizetype sourceStride = in.bytesPerLine();
    const qsizetype targetStride = out.bytesPerLine();
    for (int y = first; y < end; ++y) {
        const auto *top = reinterpret_cast<const QRgb *>(source + 2 * y * sourceStride);
        const auto *bottom = reinterpret_cast<const QRgb *>(source + (2 * y + 1) * sourceStride);
        auto *d =
            reinterpret_cast<QRgb *>(target + (upsideDown ? height - 1 - y : y) * targetStride);
        int x = 0;
#ifdef __SSE2__
        const __m128i zero = _mm_setzero_si128();
        const __m128i two = _mm_set1_epi16(2);
        for (; x + 2 <= width; x += 2) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(top + 2 * x));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bottom + 2 * x));
            // Pixels 0, 1 and 2, 3 of both rows, channel by channel in 16 bits.
            const __m128i low =
                _mm_add_epi16(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero));
            const __m128i high =
                _mm_add_epi16(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero));
            const __m128i pairs =
                _mm_add_epi16(_mm_unpacklo_epi64(low, high), _mm_unpackhi_epi64(low, high));
            const __m128i mean = _mm_srli_epi16(_mm_add_epi16(pairs, two), 2);
            _mm_storel_epi64(reinterpret_cast<__m128i *>(d + x), _mm_packus_epi16(mean, mean));
        }
#endif
        for (; x < width; ++x) {
            const QRgb p[4] = {top[2 * x], top[2 * x + 1], bottom[2 * x], bottom[2 * x + 1]};
            int sum[3] = {2, 2, 2};
            for (const QRgb q : p) {
                sum[0] += qRed(q);
                sum[1] += qGreen(q);
                sum[2] += qBlue(q);
            }
            d[x] = qRgb(sum[0] / 4, sum[1] / 4, sum[2] / 4);
        }
        for (int i = 0; i < width; ++i)
            d[i] |= 0xFF000000u;
    }
}

void halve(const QImage &in, QImage &out, bool upsideDown)
{
    uchar *target = out.bits();
    ParallelRows::run(out.height(), in.bytesPerLine() * 2, [&](int first, int end) {
        halveRows(in, target, out, upsideDown, first, end);
    });
}

} // namespace

QImage StretchDib::resample(const QImage &image, QSize size, Orientation orientation)
{
    if (size.isEmpty() || image.isNull())
        return {};
    QImage out(size, QImage::Format_RGB32);
    return resampleInto(image, out, orientation) ? out : QImage();
}

bool StretchDib::resampleInto(const QImage &image, QImage &out, Orientation orientation)
{
    if (out.isNull() || image.isNull())
        return false;
    const QImage in = image.convertToFormat(QImage::Format_RGB32);
    const QSize size = out.size();
    if (in.width() == 2 * size.width() && in.height() == 2 * size.height()) {
        halve(in, out, orientation == Orientation::UpsideDown);
        return true;
    }
    if (orientation == Orientation::UpsideDown) {
        const QImage upright = resample(in, size);
        if (upright.isNull())
            return false;
        for (int y = 0; y < size.height(); ++y)
            std::memcpy(out.scanLine(y), upright.constScanLine(size.height() - 1 - y),
                        size_t(size.width()) * 4);
        return true;
    }
    // Shrinking rows first leaves fewer rows for the column pass.
    QImage rows = in;
    if (size.height() != in.height()) {
        rows = QImage(in.width(), size.height(), QImage::Format_RGB32);
        if (rows.isNull())
            return false;
        resampleRows(in, rows, makeTaps(in.height(), size.height()));
    }
    if (size.width() == in.width())
        PixelKernels::copyRect(out, {0, 0}, rows, rows.rect());
    else
        resampleColumns(rows, out, makeTaps(in.width(), size.width()));
    return true;
}

bool StretchDib::draw(DeviceContext &dc, const QRect &dest, const BITMAPINFOHEADER &header,
                      const void *bits, const QRect &src)
{
    const std::optional<Dib> dib = Dib::describe(header);
    if (!dib || !bits || dest.width() <= 0 || dest.height() <= 0)
        return false;
    const QRect from = src & QRect(0, 0, dib->width(), dib->height());
    if (from != src || from.isEmpty())
        return false;
    QImage picture;
    bool upsideDown = false;
    if (dib->bitsPerPixel() == 32) {
        // 32-bit rows already have our pixels' layout: they are read where they lie. Bottom-up
        // rows read as an upside-down picture, which stretches alike and is turned back after.
        picture = QImage(static_cast<const uchar *>(bits), dib->width(), dib->height(),
                         Dib::rowBytes(32, dib->width()), QImage::Format_RGB32);
        upsideDown = dib->bottomUp();
        const QRect part = upsideDown ? QRect(from.left(), dib->height() - 1 - from.bottom(),
                                              from.width(), from.height())
                                      : from;
        if (part != picture.rect())
            picture = picture.copy(part);
    } else {
        picture = QImage(dib->width(), from.height(), QImage::Format_RGB32);
        if (picture.isNull())
            return false;
        for (int y = 0; y < from.height(); ++y)
            dib->unpackRow(dib->row(bits, from.top() + y),
                           reinterpret_cast<QRgb *>(picture.scanLine(y)));
        if (from.width() != dib->width())
            picture = picture.copy(from.left(), 0, from.width(), from.height());
    }
    const Orientation orientation = upsideDown ? Orientation::UpsideDown : Orientation::AsIs;
    // Straight into the context's pixels where it can take them, else through a copy.
    bool painted = false;
    if (dc.paintInPlace(
            dest, [&](QImage &target) { painted = resampleInto(picture, target, orientation); }))
        return painted;
    const QImage stretched = resample(picture, dest.size(), orientation);
    return !stretched.isNull() && dc.drawImage(dest.topLeft(), stretched);
}
