// One pointer move of region selection on 1920 x 1080 and 3840 x 2160 screens: the old crosshair
// or outline and label erased and the new one drawn, the colour read, the pixel-info window
// updated with its magnifier, and what changed painted to the screen. Its cost should follow
// width + height, not the area.

#include "PrivateXServer.h"
#include "RatioReporter.h"

#include "app/CMainFrame.h"
#include "app/CPravikApp.h"
#include "tests/support/AppSession.h"
#include "view/CPravikView.h"

#include <QApplication>

namespace {

// Alternates between two pointer positions far apart, so that every move draws everything.
void pointerMove(benchmark::State &state, bool started)
{
    CPravikView *view = AfxGetApp()->m_pView;
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    if (started)
        view->OnLButtonDown({w / 8, h / 8});
    const POINT points[2] = {{w / 2, h / 2}, {w / 2 + 37, h / 2 + 23}};
    int i = 0;
    for (auto _ : state) {
        view->OnMouseMove(points[i++ & 1]);
        // The changed strips and the info window reach the screen too.
        QCoreApplication::processEvents();
    }
    if (started)
        view->OnRButtonDown();
}

int benchScreen(int argc, char **argv, int width, int height)
{
    QApplication app(argc, argv);
    if (!startApplication())
        return 1;
    AfxGetApp()->m_pMainWnd->EnterCaptureMode();
    QCoreApplication::processEvents();
    std::string suffix = "/";
    suffix += std::to_string(width) + "x" + std::to_string(height);
    benchmark::RegisterBenchmark(("PointerMoveCrosshair" + suffix).c_str(), pointerMove, false)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("PointerMoveOutline" + suffix).c_str(), pointerMove, true)
        ->Unit(benchmark::kMicrosecond);
    const int result = runWithRatios(argc, argv);
    AfxGetApp()->ExitInstance();
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    return forEachScreen(argc, argv, benchScreen);
}
