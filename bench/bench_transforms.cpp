// The image commands end to end on a 3840 x 2160 picture (new bitmap, mapping, the file image's
// copy), beside memcpy of the same bytes; the resize beside Qt's smooth scaling of the same
// picture to the same size.

#include "Baselines.h"
#include "RatioReporter.h"

#include "app/CPravikApp.h"
#include "document/CPravikDoc.h"
#include "tests/support/AppSession.h"

#include <QApplication>
#include <cstring>
#include <vector>

namespace {

QImage screenshotLike(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = 0xFF000000u | uint32_t(x * 2654435761u ^ y * 40503u);
    }
    return image;
}

void install(const QImage &picture)
{
    CPravikDoc *doc = AfxGetApp()->m_pDoc;
    doc->ReleaseImage(TRUE);
    HBITMAP bitmap = Bitmap::fromImage(picture, Bitmap::Kind::DeviceDependent);
    doc->InstallImage(bitmap, {picture.width(), picture.height()});
    doc->m_image.Attach(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0));
}

void transformBench(benchmark::State &state, BOOL (CPravikDoc::*transform)())
{
    install(screenshotLike(3840, 2160));
    for (auto _ : state)
        (AfxGetApp()->m_pDoc->*transform)();
}

void resizeBench(benchmark::State &state, QSize from, QSize to)
{
    const QImage picture = screenshotLike(from.width(), from.height());
    for (auto _ : state) {
        state.PauseTiming();
        install(picture);
        state.ResumeTiming();
        AfxGetApp()->m_pDoc->ResizeImage(to.width(), to.height());
    }
}

void qtScaleBench(benchmark::State &state, QSize from, QSize to)
{
    const QImage picture = screenshotLike(from.width(), from.height());
    for (auto _ : state)
        benchmark::DoNotOptimize(
            picture.scaled(to, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!startApplication())
        return 1;
    auto reg = [](const char *name, auto fn) {
        return benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond)->UseRealTime();
    };
    const size_t bytes = size_t(3840) * 2160 * 4;
    reg("memcpy/3840x2160", [bytes](benchmark::State &s) { memcpyBaseline(s, bytes); });
    reg("RotateLeft/3840x2160",
        [](benchmark::State &s) { transformBench(s, &CPravikDoc::RotateLeft); });
    reg("RotateRight/3840x2160",
        [](benchmark::State &s) { transformBench(s, &CPravikDoc::RotateRight); });
    reg("FlipVertical/3840x2160",
        [](benchmark::State &s) { transformBench(s, &CPravikDoc::FlipVertical); });
    reg("FlipHorizontal/3840x2160",
        [](benchmark::State &s) { transformBench(s, &CPravikDoc::FlipHorizontal); });
    const QSize big(3840, 2160), small(1920, 1080);
    reg("QtSmoothScale/down", [=](benchmark::State &s) { qtScaleBench(s, big, small); });
    reg("ResizeImage/down", [=](benchmark::State &s) { resizeBench(s, big, small); });
    reg("QtSmoothScale/up", [=](benchmark::State &s) { qtScaleBench(s, small, big); });
    reg("ResizeImage/up", [=](benchmark::State &s) { resizeBench(s, small, big); });
    const int result = runWithRatios(argc, argv, {{"ResizeImage", "QtSmoothScale"}});
    AfxGetApp()->ExitInstance();
    return result;
}
