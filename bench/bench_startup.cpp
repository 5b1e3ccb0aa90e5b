// The whole program: time from launch until the frame has painted its view, and resident memory
// once it is idle; once as built, and once from a program directory holding a "CapVideo.req"
// movie, which the program keeps paused while it runs. Needs an X display (scripts/bench.sh
// provides one).

#include "RatioReporter.h"
#include "tests/support/TestMovie.h"

#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <fstream>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <xcb/xcb.h>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;
template <class T> using Reply = std::unique_ptr<T, decltype(&free)>;

// The view's background grey, which the first paint of the frame puts on the screen.
constexpr uint32_t kViewGrey = 0x646464;

// True once the pixel at the screen's centre, where the frame's view lies, is the view's grey.
bool viewPainted(xcb_connection_t *c, xcb_window_t root, int x, int y)
{
    Reply<xcb_get_image_reply_t> image(
        xcb_get_image_reply(
            c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, int16_t(x), int16_t(y), 1, 1, ~0u),
            nullptr),
        &free);
    if (!image || xcb_get_image_data_length(image.get()) < 4)
        return false;
    const uint8_t *p = xcb_get_image_data(image.get());
    return (uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0]) == kViewGrey;
}

long residentKilobytes(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}

void startUp(benchmark::State &state, std::string binary)
{
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        state.SkipWithError("no X display");
        return;
    }
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const int cx = screen->width_in_pixels / 2, cy = screen->height_in_pixels / 2;
    double rssMegabytes = 0;
    for (auto _ : state) {
        if (viewPainted(c, screen->root, cx, cy)) {
            state.SkipWithError("the screen already shows the view's grey");
            break;
        }
        char *program = binary.data();
        char *argv[] = {program, nullptr};
        pid_t pid = 0;
        const auto start = Clock::now();
        if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start the program");
            break;
        }
        while (!viewPainted(c, screen->root, cx, cy) &&
               Clock::now() - start < std::chrono::seconds(10))
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        std::this_thread::sleep_for(std::chrono::seconds(1)); // idle
        rssMegabytes = residentKilobytes(pid) / 1024.0;
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        while (viewPainted(c, screen->root, cx, cy))
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    state.counters["idle_RSS_MB"] = rssMegabytes;
    xcb_disconnect(c);
}

} // namespace

int main(int argc, char **argv)
{
    // A copy of the program in a directory of its own, beside the movie it is to hold.
    QTemporaryDir holding;
    const QString copy = holding.filePath("ondrava");
    if (!QFile::copy(ONDRAVA_BINARY, copy) || !makeTestMovie(holding.filePath("CapVideo.req")))
        return 1;
    for (const auto &[name, binary] :
         {std::pair{"StartUpToFirstPaint", std::string(ONDRAVA_BINARY)},
          std::pair{"StartUpToFirstPaint_HoldingAMovie", copy.toStdString()}}) {
        benchmark::RegisterBenchmark(name, startUp, binary)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(10);
    }
    return runWithRatios(argc, argv,
                         {{"StartUpToFirstPaint_HoldingAMovie", "StartUpToFirstPaint"}});
}
