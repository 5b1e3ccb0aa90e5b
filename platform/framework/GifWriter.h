#pragma once

#include <QImage>

class QIODevice;

// Writes a picture as a GIF through giflib: with its exact colours when it has at most 256 of
// them, otherwise reduced to a 6 x 7 x 6 colour cube with error-diffusion dithering.
class GifWriter {
public:
    static bool write(const QImage &image, QIODevice *device);
};
