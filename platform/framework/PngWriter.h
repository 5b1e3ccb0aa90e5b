#pragma once

#include <QImage>

class QIODevice;

// Writes a picture as an 8-bit RGB PNG, tuned for screenshots: each row gets the cheapest of the
// None, Sub, Up and Paeth filters, and a fast deflate level, which for flat areas and text
// compresses almost as well as the slow defaults in a fraction of the time.
class PngWriter {
public:
    static bool write(const QImage &image, QIODevice *device);
};
