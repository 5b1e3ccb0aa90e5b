#include "Bitmap.h"

Bitmap::Bitmap(QImage image, Kind kind, Lifetime lifetime)
    : GdiObject(Type::Bitmap, lifetime), m_image(std::move(image)), m_kind(kind)
{
}

// Larger pictures than this (16384 x 16384) are refused rather than risked: the machine would
// page itself to a standstill long before such a bitmap could be shown or saved.
constexpr qint64 kMaxPixels = qint64(1) << 28;

Bitmap *Bitmap::create(int width, int height, Kind kind)
{
    if (width <= 0 || height <= 0 || qint64(width) * height > kMaxPixels)
        return nullptr;
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return nullptr;
    image.fill(0xFF000000u);
    return new Bitmap(std::move(image), kind, Lifetime::Owned);
}

Bitmap *Bitmap::fromImage(const QImage &image, Kind kind)
{
    if (qint64(image.width()) * image.height() > kMaxPixels)
        return nullptr;
    // The pixels may stay shared with `image` until either side writes: each write detaches.
    QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    if (pixels.isNull())
        return nullptr;
    return new Bitmap(std::move(pixels), kind, Lifetime::Owned);
}

Bitmap *Bitmap::stock()
{
    static Bitmap *const bitmap = [] {
        QImage one(1, 1, QImage::Format_RGB32);
        one.fill(0xFF000000u);
        return new Bitmap(std::move(one), Kind::DeviceDependent, Lifetime::Stock);
    }();
    return bitmap;
}
