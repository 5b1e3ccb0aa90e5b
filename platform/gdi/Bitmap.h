#pragma once

#include "GdiObject.h"

#include <QImage>

// A bitmap: 32-bit pixels (QImage::Format_RGB32, memory order B, G, R, X) that only this object
// owns. A copy is always a new Bitmap; it shares the pixels until either writes to them, which
// gives the writer its own.
class Bitmap final : public GdiObject {
public:
    enum class Kind { DeviceDependent, DibSection };

    // Null when the size is not positive, too large, or the pixels cannot be allocated. The
    // pixels start black.
    static Bitmap *create(int width, int height, Kind kind);
    // Null when `image` is null; the image is converted to 32-bit pixels.
    static Bitmap *fromImage(const QImage &image, Kind kind);

    // The 1 x 1 bitmap that a new memory device context holds.
    static Bitmap *stock();

    Kind kind() const { return m_kind; }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    QImage &image() { return m_image; }
    const QImage &image() const { return m_image; }

private:
    Bitmap(QImage image, Kind kind, Lifetime lifetime);

    QImage m_image;
    Kind m_kind;
};
