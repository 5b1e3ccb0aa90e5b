// Writes the open path's seed corpus into the directory named on the command line: a small
// picture in each readable format as the program saves it, RLE-compressed BMPs, and damaged
// copies of them all (cut short, header bytes flipped, absurd dimensions, broken runs).

#include "platform/framework/ImageFile.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <cstdio>

namespace {

QDir out;

bool write(const QString &name, const QByteArray &bytes)
{
    QFile file(out.filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray le32(quint32 v)
{
    return QByteArray(reinterpret_cast<const char *>(&v), 4);
}

QByteArray le16(quint16 v)
{
    return QByteArray(reinterpret_cast<const char *>(&v), 2);
}

// A bottom-up BMP with a 16-entry grey palette, its pixels `runs` in the given compression
// (1 = RLE8, 2 = RLE4).
QByteArray rleBitmap(int width, int height, int bitCount, quint32 compression,
                     const QByteArray &runs)
{
    QByteArray palette;
    for (int i = 0; i < 16; ++i)
        palette += QByteArray(3, char(i * 17)) + '\0';
    const quint32 offset = 14 + 40 + quint32(palette.size());
    QByteArray bmp = "BM" + le32(offset + quint32(runs.size())) + le32(0) + le32(offset);
    bmp += le32(40) + le32(quint32(width)) + le32(quint32(height)) + le16(1) +
           le16(quint16(bitCount)) + le32(compression) + le32(quint32(runs.size())) + le32(2835) +
           le32(2835) + le32(16) + le32(0);
    return bmp + palette + runs;
}

// The file's damaged variants: the first half, and header bytes turned over.
bool writeDamaged(const QString &name, QByteArray bytes)
{
    bool ok = write(name + ".half", bytes.left(bytes.size() / 2));
    for (int i = 6; i < qMin<qsizetype>(bytes.size(), 30); i += 3)
        bytes[i] = char(bytes[i] ^ 0xFF);
    return write(name + ".flipped", bytes) && ok;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_corpus DIRECTORY\n");
        return 2;
    }
    QGuiApplication application(argc, argv);
    QDir().mkpath(QString::fromLocal8Bit(argv[1]));
    out.setPath(QString::fromLocal8Bit(argv[1]));

    QImage picture(13, 7, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 19, y * 36, (x ^ y) * 16));
    bool ok = true;
    for (const char *format : {"bmp", "jpg", "gif", "png", "tif"}) {
        const QString name = QStringLiteral("picture.") + format;
        ok = ImageFile::save(picture, out.filePath(name)) == S_OK && ok;
        QFile file(out.filePath(name));
        ok = file.open(QIODevice::ReadOnly) && writeDamaged(name, file.readAll()) && ok;
    }
    // Fewer colours: indexed and one-bit BMPs, a progressive JPEG.
    ok = picture.convertToFormat(QImage::Format_Indexed8).save(out.filePath("indexed.bmp")) && ok;
    ok = picture.convertToFormat(QImage::Format_Mono).save(out.filePath("mono.bmp")) && ok;
    QImageWriter progressive(out.filePath("progressive.jpg"));
    progressive.setProgressiveScanWrite(true);
    ok = progressive.write(picture) && ok;

    // RLE8: a run, literal pixels, end of line, a delta, end of bitmap.
    const QByteArray rle8("\x03\x05\x00\x03\x01\x02\x03\x00\x00\x00\x02\x01\x00\x02\x07\x00\x01",
                          17);
    ok = write("rle8.bmp", rleBitmap(6, 3, 8, 1, rle8)) && ok;
    // RLE4: two runs of alternating nibbles, end of line, a literal, end of bitmap.
    const QByteArray rle4("\x04\x12\x02\x34\x00\x00\x00\x04\x56\x78\x00\x01", 12);
    ok = write("rle4.bmp", rleBitmap(6, 2, 4, 2, rle4)) && ok;
    // Runs past the end of the row and of the picture, a delta far out, no end marker.
    ok = write("rle8-overrun.bmp", rleBitmap(4, 2, 8, 1, QByteArray("\xff\x01\xff\x02", 4))) && ok;
    ok =
        write("rle8-delta.bmp", rleBitmap(4, 2, 8, 1, QByteArray("\x00\x02\xff\xff\x01\x01", 6))) &&
        ok;
    ok = write("rle4-literal.bmp", rleBitmap(4, 2, 4, 2, QByteArray("\x00\xfe\x12\x34", 4))) && ok;

    // A BMP that claims to be enormous.
    QFile bmp(out.filePath("picture.bmp"));
    if (bmp.open(QIODevice::ReadOnly)) {
        QByteArray huge = bmp.readAll();
        huge.replace(18, 8, le32(0x7FFFFFFF) + le32(0x7FFFFFFF));
        ok = write("huge.bmp", huge) && ok;
    }
    return ok ? 0 : 1;
}
