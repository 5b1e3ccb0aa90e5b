#pragma once

#include "WinTypes.h"

#include <QImage>
#include <QRect>

// Draws device-independent bitmaps stretched into a rectangle of a device context: area
// averaging along an axis that shrinks (no aliasing on text), bilinear along one that grows.
// The first and last rows and columns of the source stay at the edges of the result.
class StretchDib {
public:
    // `src` is in picture coordinates, top row 0, whatever the row order of the bits.
    bool draw(DeviceContext &dc, const QRect &dest, const BITMAPINFOHEADER &header,
              const void *bits, const QRect &src);

    // `image` resampled to `size`, turned upside down on the way when asked (for pictures stored
    // bottom-up); a null image when `size` is empty or cannot be allocated.
    enum class Orientation { AsIs, UpsideDown };
    static QImage resample(const QImage &image, QSize size,
                           Orientation orientation = Orientation::AsIs);
    // The same into `out`, at its size; false when working memory cannot be allocated.
    static bool resampleInto(const QImage &image, QImage &out, Orientation orientation);
};
