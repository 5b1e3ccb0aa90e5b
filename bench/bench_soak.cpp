// Long use of the whole program in one process, on the X display of the calling script (with
// its window manager): 500 desktop captures and 200 region captures through the hotkeys and
// synthetic pointer input (xdotool), 200 transforms and 100 saves, interleaved. Reports resident
// memory once a first round of everything has run and at the end, and what is left behind: file
// descriptors, the program's X resources (pixmaps among them) and shared-memory segments.

#include "RatioReporter.h"

#include "app/CMainFrame.h"
#include "app/CPravikApp.h"
#include "app/Resource.h"
#include "document/CPravikDoc.h"
#include "platform/x11/X11Connection.h"
#include "tests/support/AppSession.h"
#include "view/CPravikView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <memory>
#include <unistd.h>
#include <xcb/res.h>

namespace {

constexpr int kRounds = 100;
// Per round.
constexpr int kDesktopCaptures = 5;
constexpr int kRegionCaptures = 2;
constexpr int kTransforms = 2;
constexpr int kSaves = 1;

struct Usage {
    double residentMegabytes = 0;
    int fileDescriptors = 0;
    int xResources = 0;
    int pixmaps = 0;
    int sharedSegments = 0;
};

CMainFrame *frame()
{
    return AfxGetApp()->m_pMainWnd;
}

CPravikView *view()
{
    return AfxGetApp()->m_pView;
}

bool waitFor(const std::function<bool()> &condition, int milliseconds = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents();
        usleep(1000); // leaves the cores to the X server and the window manager
    }
    return true;
}

bool xdotool(const QStringList &arguments)
{
    return QProcess::execute("xdotool", arguments) == 0;
}

bool moveTo(int x, int y)
{
    // Qt drops a motion to where it last saw the pointer: step aside first.
    if (!xdotool({"mousemove", QString::number(x + 3), QString::number(y + 3)}))
        return false;
    QCoreApplication::processEvents();
    return xdotool({"mousemove", QString::number(x), QString::number(y)}) &&
           waitFor([&] { return view()->m_ptLast.x == x && view()->m_ptLast.y == y; }, 2000);
}

bool captureDesktop()
{
    HBITMAP before = AfxGetApp()->m_pDoc->m_hBitmap;
    return xdotool({"key", "ctrl+shift+8"}) &&
           waitFor([&] { return AfxGetApp()->m_pDoc->m_hBitmap != before; }) &&
           waitFor([] { return frame()->isVisible(); });
}

bool captureRegion(int i)
{
    const int x = 200 + i % 7 * 40, y = 150 + i % 5 * 30;
    if (!xdotool({"mousemove", "1910", "1070"}) || !xdotool({"key", "ctrl+shift+0"}) ||
        !waitFor([] { return frame()->m_bCaptureMode && view()->m_bDrawn; }))
        return false;
    if (!moveTo(x, y) || !xdotool({"click", "1"}) || !waitFor([] { return view()->m_bStarted; }))
        return false;
    return moveTo(x + 300 + i % 3 * 50, y + 200) && xdotool({"click", "1"}) &&
           waitFor([] { return !frame()->m_bCaptureMode && frame()->isVisible(); });
}

bool transform(int i)
{
    static const UINT commands[] = {ID_IMAGE_ROTATE_LEFT, ID_IMAGE_FLIP_VERTICAL,
                                    ID_IMAGE_ROTATE_RIGHT, ID_IMAGE_FLIP_HORIZONTAL};
    HBITMAP before = AfxGetApp()->m_pDoc->m_hBitmap;
    frame()->OnCommand(commands[i % 4]);
    QCoreApplication::processEvents();
    return AfxGetApp()->m_pDoc->m_hBitmap != before;
}

bool save(const QDir &dir, int i)
{
    static const char *extensions[] = {"png", "bmp", "jpg", "gif", "tif"};
    const QString path = dir.filePath(QStringLiteral("shot.") + extensions[i % 5]);
    const bool saved = AfxGetApp()->m_pDoc->OnSaveDocument(path) && QFile::remove(path);
    QCoreApplication::processEvents();
    return saved;
}

Usage measure()
{
    Usage usage;
    QFile status("/proc/self/status");
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                usage.residentMegabytes =
                    line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
        }
    }
    usage.fileDescriptors = int(QDir("/proc/self/fd").entryList(QDir::Files | QDir::System).size());
    // System V segments this process made.
    QFile segments("/proc/sysvipc/shm");
    if (segments.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : segments.readAll().split('\n').mid(1)) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() > 4 && fields[4].toLong() == getpid())
                ++usage.sharedSegments;
        }
    }
    xcb_connection_t *c = x11Connection();
    const uint32_t base = xcb_get_setup(c)->resource_id_base;
    std::unique_ptr<xcb_res_query_client_resources_reply_t, decltype(&free)> resources(
        xcb_res_query_client_resources_reply(c, xcb_res_query_client_resources(c, base), nullptr),
        &free);
    if (resources) {
        xcb_res_type_iterator_t it = xcb_res_query_client_resources_types_iterator(resources.get());
        for (; it.rem; xcb_res_type_next(&it)) {
            usage.xResources += int(it.data->count);
            std::unique_ptr<xcb_get_atom_name_reply_t, decltype(&free)> name(
                xcb_get_atom_name_reply(c, xcb_get_atom_name(c, it.data->resource_type), nullptr),
                &free);
            if (name && QByteArray(xcb_get_atom_name_name(name.get()),
                                   xcb_get_atom_name_name_length(name.get())) == "PIXMAP")
                usage.pixmaps += int(it.data->count);
        }
    }
    return usage;
}

// Measured with the program in the same state each time: holding a fresh desktop capture.
Usage measureSettled()
{
    captureDesktop();
    return measure();
}

// One round of each kind of use; false, with a message, at the first that fails.
bool round(const QDir &dir, int round)
{
    for (int i = 0; i < kDesktopCaptures; ++i) {
        if (!captureDesktop()) {
            std::fprintf(stderr, "desktop capture failed in round %d\n", round);
            return false;
        }
    }
    for (int i = 0; i < kRegionCaptures; ++i) {
        if (!captureRegion(round * kRegionCaptures + i)) {
            std::fprintf(stderr, "region capture failed in round %d\n", round);
            return false;
        }
    }
    for (int i = 0; i < kTransforms; ++i) {
        if (!transform(round * kTransforms + i)) {
            std::fprintf(stderr, "transform failed in round %d\n", round);
            return false;
        }
    }
    for (int i = 0; i < kSaves; ++i) {
        if (!save(dir, round * kSaves + i)) {
            std::fprintf(stderr, "save failed in round %d\n", round);
            return false;
        }
    }
    return true;
}

// One of every kind first: each transform, each file format. Pools, caches and the heap's high
// water mark settle here, so that what the rounds add after it is what long use leaves behind.
bool warmUp(const QDir &dir)
{
    if (!captureDesktop() || !captureRegion(0) || !captureDesktop())
        return false;
    for (int i = 0; i < 5; ++i) {
        if (!transform(i) || !save(dir, i))
            return false;
    }
    return true;
}

void soak(benchmark::State &state)
{
    QTemporaryDir dir;
    Usage start, end;
    for (auto _ : state) {
        if (!warmUp(QDir(dir.path()))) {
            state.SkipWithError("the first round failed");
            return;
        }
        start = measureSettled();
        for (int i = 0; i < kRounds; ++i) {
            if (!round(QDir(dir.path()), i)) {
                state.SkipWithError("a round failed");
                return;
            }
        }
        end = measureSettled();
    }
    state.counters["RSS_start_MB"] = start.residentMegabytes;
    state.counters["RSS_end_MB"] = end.residentMegabytes;
    state.counters["RSS_growth_MB"] = end.residentMegabytes - start.residentMegabytes;
    state.counters["fds_left"] = end.fileDescriptors - start.fileDescriptors;
    state.counters["X_resources_left"] = end.xResources - start.xResources;
    state.counters["pixmaps_left"] = end.pixmaps - start.pixmaps;
    state.counters["shm_segments_left"] = end.sharedSegments - start.sharedSegments;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "bench_soak needs an X display with a window manager "
                             "(scripts/bench.sh provides one)\n");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    if (!startApplication() || !waitFor([] { return frame()->isVisible(); }))
        return 1;
    const std::string name = "Soak/" + std::to_string(kRounds * kDesktopCaptures) + "desktop_" +
                             std::to_string(kRounds * kRegionCaptures) + "region_" +
                             std::to_string(kRounds * kTransforms) + "transforms_" +
                             std::to_string(kRounds * kSaves) + "saves";
    benchmark::RegisterBenchmark(name.c_str(), soak)->Unit(benchmark::kSecond)->Iterations(1);
    const int result = runWithRatios(argc, argv);
    AfxGetApp()->ExitInstance();
    return result;
}
