// The desktop grab on 1920 x 1080 and 3840 x 2160 screens, beside memcpy of the same bytes and
// Qt's own QScreen::grabWindow(0), each size on a private X server (Xvfb) of its own.

#include "RatioReporter.h"

#include "capture/CScreenCapture.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <csignal>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

void memcpyBench(benchmark::State &state, size_t bytes)
{
    std::vector<char> from(bytes, 1), to(bytes, 2);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

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

// Starts Xvfb with one screen of `geometry`; returns its process and sets DISPLAY.
pid_t startServer(const std::string &geometry)
{
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    const pid_t server = fork();
    if (server == 0) {
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", geometry.c_str(),
               "-nolisten", "tcp", static_cast<char *>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string display;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n')
        display += c;
    close(fds[0]);
    if (display.empty())
        return -1;
    setenv("DISPLAY", (":" + display).c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    return server;
}

int benchScreen(int argc, char **argv, int width, int height)
{
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    const pid_t server = startServer(size + "x24");
    if (server < 0)
        return 1;
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
        reg("memcpy" + suffix, [bytes](benchmark::State &st) { memcpyBench(st, bytes); });
        reg("CaptureDesktop" + suffix, captureDesktopBench);
        reg("QScreenGrabWindow" + suffix, qtGrabBench);
        result = runWithRatios(argc, argv);
    }
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    // Each screen size in a process of its own: one X server and one Qt application each.
    int result = 0;
    for (const auto &[width, height] : {std::pair{1920, 1080}, std::pair{3840, 2160}}) {
        const pid_t child = fork();
        if (child == 0)
            _exit(benchScreen(argc, argv, width, height));
        int status = 0;
        waitpid(child, &status, 0);
        result |= WIFEXITED(status) ? WEXITSTATUS(status) : 1;
    }
    return result;
}
