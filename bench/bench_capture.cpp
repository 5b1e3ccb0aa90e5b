// The desktop grab on 1920 x 1080 and 3840 x 2160 screens, beside memcpy of the same bytes and
// Qt's own QScreen::grabWindow(0), each size on a private X server (Xvfb) of its own.

#include "Baselines.h"
#include "PrivateXServer.h"
#include "RatioReporter.h"

#include "capture/CScreenCapture.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstring>
#include <string>
#include <vector>

namespace {

void captureDesktopBench(benchmark::State &state)
{
    CScreenCapture capture;
    for (auto _ : state) {
        SIZE size;
        HBITMAP desktop = capture.CaptureDesktop(size);
        if (!desktop) {
            state.SkipWithError("the desktop could not be grabbed");
            break;
        }
        DeleteObject(desktop);
    }
}

void qtGrabBench(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(QGuiApplication::primaryScreen()->grabWindow(0).toImage());
}

int benchScreen(int argc, char **argv, int width, int height)
{
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    int result;
    {
        QGuiApplication app(argc, argv);
        std::string suffix = "/";
        suffix += size;
        const size_t bytes = size_t(width) * height * 4;
        auto reg = [](const std::string &name, auto fn) {
            benchmark::RegisterBenchmark(name.c_str(), fn)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
        };
        reg("memcpy" + suffix, [bytes](benchmark::State &st) { memcpyBaseline(st, bytes); });
        reg("CaptureDesktop" + suffix, captureDesktopBench);
        reg("QScreenGrabWindow" + suffix, qtGrabBench);
        result = runWithRatios(argc, argv);
    }
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    return forEachScreen(argc, argv, benchScreen);
}
