#include "PngWriter.h"

#include <QIODevice>
#include <QtEndian>
#include <cstdlib>
#include <vector>
#include <zlib.h>

namespace {

constexpr int kLevel = 3;

bool chunk(QIODevice *device, const char type[4], const unsigned char *data, size_t size)
{
    const quint32 length = qToBigEndian(quint32(size));
    uLong crc = crc32(0, reinterpret_cast<const Bytef *>(type), 4);
    if (size) // a null buffer would restart the checksum
        crc = crc32(crc, data, uInt(size));
    const quint32 check = qToBigEndian(quint32(crc));
    return device->write(reinterpret_cast<const char *>(&length), 4) == 4 &&
           device->write(type, 4) == 4 &&
           (size == 0 ||
            device->write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size)) &&
           device->write(reinterpret_cast<const char *>(&check), 4) == 4;
}

int paeth(int a, int b, int c)
{
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

} // namespace

bool PngWriter::write(const QImage &source, QIODevice *device)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    if (image.isNull())
        return false;
    const int w = image.width(), h = image.height();
    const size_t rowBytes = size_t(w) * 3;
    static const char signature[8] = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1a', '\n'};
    unsigned char header[13];
    const quint32 width = qToBigEndian(quint32(w)), height = qToBigEndian(quint32(h));
    memcpy(header, &width, 4);
    memcpy(header + 4, &height, 4);
    header[8] = 8;  // bits per channel
    header[9] = 2;  // RGB
    header[10] = 0; // deflate
    header[11] = 0; // adaptive filtering
    header[12] = 0; // no interlace
    if (device->write(signature, 8) != 8 || !chunk(device, "IHDR", header, 13))
        return false;

    z_stream z{};
    if (deflateInit(&z, kLevel) != Z_OK)
        return false;
    std::vector<unsigned char> previous(rowBytes, 0), current(rowBytes), out(1 << 18);
    std::vector<unsigned char> candidates[4];
    for (auto &c : candidates)
        c.resize(rowBytes + 1);
    bool ok = true;
    auto flushOut = [&](int mode) {
        do {
            z.next_out = out.data();
            z.avail_out = uInt(out.size());
            deflate(&z, mode);
            const size_t produced = out.size() - z.avail_out;
            if (produced && !chunk(device, "IDAT", out.data(), produced))
                ok = false;
        } while (z.avail_out == 0 && ok);
    };
    for (int y = 0; y < h && ok; ++y) {
        const auto *pixels = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            current[3 * x] = uchar(qRed(pixels[x]));
            current[3 * x + 1] = uchar(qGreen(pixels[x]));
            current[3 * x + 2] = uchar(qBlue(pixels[x]));
        }
        // Each filter's bytes, and the one whose residuals are smallest taken.
        long best = -1;
        int choice = 0;
        for (int f = 0; f < 4; ++f) {
            const int type = f == 3 ? 4 : f; // None, Sub, Up, Paeth
            unsigned char *c = candidates[f].data();
            c[0] = uchar(type);
            long sum = 0;
            for (size_t i = 0; i < rowBytes; ++i) {
                const int a = i >= 3 ? current[i - 3] : 0, b = previous[i],
                          d = i >= 3 ? previous[i - 3] : 0;
                const int predicted = type == 0   ? 0
                                      : type == 1 ? a
                                      : type == 2 ? b
                                                  : paeth(a, b, d);
                const unsigned char r = uchar(current[i] - predicted);
                c[i + 1] = r;
                sum += r < 128 ? r : 256 - r;
            }
            if (best < 0 || sum < best) {
                best = sum;
                choice = f;
            }
        }
        z.next_in = candidates[choice].data();
        z.avail_in = uInt(rowBytes + 1);
        while (z.avail_in && ok)
            flushOut(Z_NO_FLUSH);
        std::swap(previous, current);
    }
    if (ok)
        flushOut(Z_FINISH);
    deflateEnd(&z);
    return ok && chunk(device, "IEND", nullptr, 0);
}
