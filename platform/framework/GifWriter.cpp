#include "GifWriter.h"

#include <QHash>
#include <QIODevice>
#include <gif_lib.h>
#include <memory>
#include <vector>

namespace {

int writeToDevice(GifFileType *gif, const GifByteType *bytes, int count)
{
    return int(static_cast<QIODevice *>(gif->UserData)
                   ->write(reinterpret_cast<const char *>(bytes), count));
}

// The picture's own colours, if there are at most 256.
bool exactPalette(const QImage &image, std::vector<QRgb> &palette,
                  std::vector<GifByteType> &indices)
{
    QHash<QRgb, int> index;
    indices.resize(size_t(image.width()) * image.height());
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = row[x] & 0x00FFFFFFu;
            auto found = index.constFind(c);
            if (found == index.constEnd()) {
                if (index.size() == 256)
                    return false;
                found = index.insert(c, int(palette.size()));
                palette.push_back(c);
            }
            indices[size_t(y) * image.width() + x] = GifByteType(*found);
        }
    }
    return true;
}

// Floyd-Steinberg error diffusion onto a 6 x 7 x 6 cube (green gets the extra level).
void ditheredPalette(const QImage &image, std::vector<QRgb> &palette,
                     std::vector<GifByteType> &indices)
{
    const int levels[3] = {6, 7, 6};
    palette.clear();
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 7; ++g)
            for (int b = 0; b < 6; ++b)
                palette.push_back(qRgb(r * 255 / 5, g * 255 / 6, b * 255 / 5));
    const int w = image.width(), h = image.height();
    indices.resize(size_t(w) * h);
    std::vector<int> error((w + 2) * 3 * 2, 0); // this row and the next, with a pixel of margin
    int *current = error.data(), *next = error.data() + (w + 2) * 3;
    for (int y = 0; y < h; ++y) {
        std::fill(next, next + (w + 2) * 3, 0);
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const int value[3] = {qRed(row[x]), qGreen(row[x]), qBlue(row[x])};
            int level[3];
            for (int c = 0; c < 3; ++c) {
                const int wanted = std::clamp(value[c] + current[(x + 1) * 3 + c] / 16, 0, 255);
                const int steps = levels[c] - 1;
                level[c] = (wanted * steps + 127) / 255;
                const int err = wanted - level[c] * 255 / steps;
                current[(x + 2) * 3 + c] += err * 7;
                next[x * 3 + c] += err * 3;
                next[(x + 1) * 3 + c] += err * 5;
                next[(x + 2) * 3 + c] += err;
            }
            indices[size_t(y) * w + x] = GifByteType((level[0] * 7 + level[1]) * 6 + level[2]);
        }
        std::swap(current, next);
    }
}

} // namespace

bool GifWriter::write(const QImage &source, QIODevice *device)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    if (image.isNull() || image.width() > 65535 || image.height() > 65535)
        return false;
    std::vector<QRgb> palette;
    std::vector<GifByteType> indices;
    if (!exactPalette(image, palette, indices)) {
        palette.clear();
        ditheredPalette(image, palette, indices);
    }
    int bits = 1;
    while ((1 << bits) < int(palette.size()))
        ++bits;
    std::vector<GifColorType> colours(size_t(1) << bits, GifColorType{0, 0, 0});
    for (size_t i = 0; i < palette.size(); ++i)
        colours[i] = GifColorType{GifByteType(qRed(palette[i])), GifByteType(qGreen(palette[i])),
                                  GifByteType(qBlue(palette[i]))};
    int error = 0;
    GifFileType *gif = EGifOpen(device, writeToDevice, &error);
    if (!gif)
        return false;
    ColorMapObject *map = GifMakeMapObject(1 << bits, colours.data());
    bool ok = map &&
              EGifPutScreenDesc(gif, image.width(), image.height(), bits, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, image.width(), image.height(), false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < image.height(); ++y)
        ok = EGifPutLine(gif, indices.data() + size_t(y) * image.width(), image.width()) == GIF_OK;
    GifFreeMapObject(map);
    return EGifCloseFile(gif, &error) == GIF_OK && ok;
}
