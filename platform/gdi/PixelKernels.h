#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

// Loops over the rows of 32-bit images. Every kernel expects rectangles already clipped to the
// images it touches; the device context does the clipping.
namespace PixelKernels {

// Copies `from` of `src` to `to` in `dst`; src and dst may be the same image and overlap.
void copyRect(QImage &dst, QPoint to, const QImage &src, const QRect &from);

void fillRect(QImage &dst, const QRect &rect, QRgb pixel);

// Nearest-pixel stretch of `srcRect` onto `destRect` (both unclipped, positive sizes), writing
// only the destination pixels inside `clip` whose source pixel lies inside `src`.
void stretchNearest(QImage &dst, const QRect &clip, const QRect &destRect, const QImage &src,
                    const QRect &srcRect);

// An affine map from destination points to source positions:
// source = origin + px * stepX + py * stepY for the destination point (px, py). Each destination
// pixel takes the source pixel under the image of its centre.
struct AffineMap {
    double originX, originY;
    double stepXx, stepXy; // change of the source position per destination column
    double stepYx, stepYy; // change of the source position per destination row
};

// Writes every destination pixel of `box` whose mapped source pixel lies inside `srcRect`.
void mapAffine(QImage &dst, const QRect &box, const QImage &src, const QRect &srcRect,
               const AffineMap &map);

// A mapping that moves whole pixels without scaling: a rotation by a multiple of 90 degrees,
// a mirror, or both. Destination pixel (x, y) takes source pixel
//   column = colBase + colPerX * x + colPerY * y,  row = rowBase + rowPerX * x + rowPerY * y,
// where exactly one of colPerX, colPerY is +-1 and the other 0, and likewise for the row.
struct PixelMap {
    int colBase, colPerX, colPerY;
    int rowBase, rowPerX, rowPerY;
};

// Which vector instructions a kernel may use: the best this processor has, or the baseline that
// every x86-64 processor has (so that tests cover both).
enum class Simd { Best, Baseline };

// `box` must map entirely inside `src`.
void mapPixels(QImage &dst, const QRect &box, const QImage &src, const PixelMap &map,
               Simd simd = Simd::Best);

enum class LineMode { Copy, NotXor };

// Draws the line from `from` towards `to`, leaving out `to` itself; only pixels inside `clip`
// are touched. NotXor sets each pixel to ~(pen ^ pixel).
void drawLine(QImage &dst, const QRect &clip, QPoint from, QPoint to, QRgb pen, LineMode mode);

} // namespace PixelKernels
