// Pixel kernels of the bitmap layer on full-screen bitmaps, beside memcpy of the same bytes.

#include "Baselines.h"
#include "RatioReporter.h"

#include "platform/gdi/StretchDib.h"
#include "platform/gdi/WinGdi.h"

#include <QImage>
#include <cstring>
#include <vector>

namespace {

struct Screen {
    int w, h;
    std::string name() const { return std::to_string(w) + "x" + std::to_string(h); }
};
const Screen kScreens[] = {{1920, 1080}, {3840, 2160}};

// A memory context holding a bitmap filled with a pattern.
struct Surface {
    Surface(int w, int h)
        : dc(CreateCompatibleDC(nullptr)), bitmap(CreateCompatibleBitmap(dc, w, h))
    {
        for (int y = 0; y < h; ++y) {
            auto *row = reinterpret_cast<QRgb *>(bitmap->image().scanLine(y));
            for (int x = 0; x < w; ++x)
                row[x] = 0xFF000000u | uint32_t(x * 2654435761u ^ y * 40503u);
        }
        old = SelectObject(dc, bitmap);
    }
    ~Surface()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

void bitBltBench(benchmark::State &state, Screen s)
{
    Surface from(s.w, s.h), to(s.w, s.h);
    for (auto _ : state)
        BitBlt(to.dc, 0, 0, s.w, s.h, from.dc, 0, 0, SRCCOPY);
}

enum class Mapping { RotateLeft, RotateRight, FlipVertical, FlipHorizontal };

void plgBltBench(benchmark::State &state, Screen s, Mapping m)
{
    const int w = s.w, h = s.h;
    const bool rotates = m == Mapping::RotateLeft || m == Mapping::RotateRight;
    Surface from(w, h), to(rotates ? h : w, rotates ? w : h);
    POINT pts[3];
    switch (m) {
    case Mapping::RotateLeft:
        pts[0] = {0, w}, pts[1] = {0, 0}, pts[2] = {h, w};
        break;
    case Mapping::RotateRight:
        pts[0] = {h, 0}, pts[1] = {h, w}, pts[2] = {0, 0};
        break;
    case Mapping::FlipVertical:
        pts[0] = {0, h}, pts[1] = {w, h}, pts[2] = {0, 0};
        break;
    case Mapping::FlipHorizontal:
        pts[0] = {w, 0}, pts[1] = {0, 0}, pts[2] = {w, h};
        break;
    }
    for (auto _ : state)
        PlgBlt(to.dc, pts, from.dc, 0, 0, w, h, nullptr, 0, 0);
}

void stretchBltBench(benchmark::State &state, Screen s)
{
    // A half-size picture stretched onto the whole screen: as many bytes written as memcpy's.
    Surface from(s.w / 2, s.h / 2), to(s.w, s.h);
    for (auto _ : state)
        StretchBlt(to.dc, 0, 0, s.w, s.h, from.dc, 0, 0, s.w / 2, s.h / 2, SRCCOPY);
}

void getDIBitsBench(benchmark::State &state, Screen s, int bits)
{
    Surface from(s.w, s.h);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), s.w, s.h, 1, WORD(bits), BI_RGB, 0, 0, 0, 0, 0};
    GetDIBits(from.dc, from.bitmap, 0, s.h, nullptr, &info, DIB_RGB_COLORS);
    std::vector<unsigned char> rows(info.bmiHeader.biSizeImage);
    for (auto _ : state)
        GetDIBits(from.dc, from.bitmap, 0, s.h, rows.data(), &info, DIB_RGB_COLORS);
}

// The resize to half size: area averaging here, Qt's smooth scaling as the peer.
void resampleBench(benchmark::State &state, Screen s)
{
    Surface from(s.w, s.h);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            StretchDib::resample(from.bitmap->image(), QSize(s.w / 2, s.h / 2)));
}

void qtSmoothScaleBench(benchmark::State &state, Screen s)
{
    Surface from(s.w, s.h);
    for (auto _ : state)
        benchmark::DoNotOptimize(from.bitmap->image().scaled(
            s.w / 2, s.h / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

void registerAll()
{
    for (const Screen s : kScreens) {
        std::string n = "/";
        n += s.name();
        auto reg = [](const std::string &name, auto fn) {
            benchmark::RegisterBenchmark(name.c_str(), fn)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
        };
        reg("memcpy" + n, [s](benchmark::State &st) { memcpyBaseline(st, size_t(s.w) * s.h * 4); });
        reg("BitBlt" + n, [s](benchmark::State &st) { bitBltBench(st, s); });
        reg("PlgBltRotateLeft" + n,
            [s](benchmark::State &st) { plgBltBench(st, s, Mapping::RotateLeft); });
        reg("PlgBltRotateRight" + n,
            [s](benchmark::State &st) { plgBltBench(st, s, Mapping::RotateRight); });
        reg("PlgBltFlipVertical" + n,
            [s](benchmark::State &st) { plgBltBench(st, s, Mapping::FlipVertical); });
        reg("PlgBltFlipHorizontal" + n,
            [s](benchmark::State &st) { plgBltBench(st, s, Mapping::FlipHorizontal); });
        reg("StretchBlt" + n, [s](benchmark::State &st) { stretchBltBench(st, s); });
        reg("GetDIBits32" + n, [s](benchmark::State &st) { getDIBitsBench(st, s, 32); });
        reg("GetDIBits24" + n, [s](benchmark::State &st) { getDIBitsBench(st, s, 24); });
        reg("QtSmoothScaleHalf" + n, [s](benchmark::State &st) { qtSmoothScaleBench(st, s); });
        reg("ResampleHalf" + n, [s](benchmark::State &st) { resampleBench(st, s); });
    }
}

} // namespace

int main(int argc, char **argv)
{
    registerAll();
    return runWithRatios(argc, argv, {{"ResampleHalf", "QtSmoothScaleHalf"}});
}
