// Saving a 3840 x 2160 screenshot-like picture as PNG beside Qt's default PNG writer, and
// opening it back beside Qt's bare decode.

#include "RatioReporter.h"

#include "app/CPravikApp.h"
#include "document/CPravikDoc.h"
#include "platform/framework/ImageFile.h"
#include "tests/support/AppSession.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>

namespace {

// Flat areas, text and a photo-like region: what screenshots are made of.
QImage screenshot()
{
    QImage image(3840, 2160, QImage::Format_RGB32);
    image.fill(QColor(240, 240, 240));
    QPainter painter(&image);
    painter.fillRect(0, 0, 3840, 60, QColor(40, 80, 160));
    painter.setPen(Qt::black);
    for (int y = 100; y < 2100; y += 24)
        painter.drawText(
            40, y,
            QStringLiteral("The quick brown fox jumps over the lazy dog 0123456789 ondrava %1")
                .arg(y));
    painter.end();
    for (int y = 600; y < 1600; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 2000; x < 3600; ++x)
            row[x] = qRgb((x * 3 + y) % 256, (x ^ y) % 256, (x * y / 97) % 256);
    }
    return image;
}

const QImage &picture()
{
    static const QImage image = screenshot();
    return image;
}

QString target()
{
    static QTemporaryDir dir;
    return dir.filePath("shot.png");
}

void saveBench(benchmark::State &state)
{
    for (auto _ : state)
        ImageFile::save(picture(), target());
    state.counters["bytes"] = double(QFile(target()).size());
}

void qtSaveBench(benchmark::State &state)
{
    QByteArray bytes;
    for (auto _ : state) {
        bytes.clear();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter(&buffer, "png").write(picture());
    }
    state.counters["bytes"] = double(bytes.size());
}

void openBench(benchmark::State &state)
{
    ImageFile::save(picture(), target());
    for (auto _ : state)
        AfxGetApp()->m_pDoc->OnOpenDocument(target());
}

void qtDecodeBench(benchmark::State &state)
{
    ImageFile::save(picture(), target());
    for (auto _ : state)
        benchmark::DoNotOptimize(QImageReader(target()).read());
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!startApplication())
        return 1;
    auto reg = [](const char *name, auto fn) {
        benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond)->UseRealTime();
    };
    reg("QtPngSave/3840x2160", qtSaveBench);
    reg("PngSave/3840x2160", saveBench);
    reg("QtPngDecode/3840x2160", qtDecodeBench);
    reg("PngOpen/3840x2160", openBench);
    const int result =
        runWithRatios(argc, argv, {{"PngSave", "QtPngSave"}, {"PngOpen", "QtPngDecode"}});
    AfxGetApp()->ExitInstance();
    return result;
}
