#include "Canvas.h"

#include "platform/gdi/StretchDib.h"

#include <QTest>
#include <QThreadPool>
#include <latch>
#include <cstring>
#include <vector>

// Bitmap objects and their selection, copies, descriptions, device-independent rows and the
// stretch-a-DIB service.
class TestBitmaps : public QObject {
    Q_OBJECT

private slots:
    void selectionFollowsWindowsRules();
    void creationRefusesImpossibleSizes();
    void copyImageIsAlwaysItsOwnBitmap();
    void getObjectDescribesTheBitmap();
    void getDIBitsRowsBottomUpAndPadded_data();
    void getDIBitsRowsBottomUpAndPadded();
    void getDIBitsPartialAndRejected();
    void localAllocZeroFills();
    void stretchDibAveragesWhenShrinking();
    void stretchDibKeepsFlatColoursAndEdges();
    void drawDibDrawKeepsRowOrder();
    void largePicturesSplitAcrossThreadsAsOnOne_data();
    void largePicturesSplitAcrossThreadsAsOnOne();
};

void TestBitmaps::selectionFollowsWindowsRules()
{
    HDC a = CreateCompatibleDC(nullptr);
    HDC b = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(a, 8, 8);
    // A new memory context holds a 1 x 1 stock bitmap, which selecting displaces.
    HGDIOBJ stock = SelectObject(a, bitmap);
    QVERIFY(stock && stock != bitmap);
    BITMAP bm;
    GetObject(stock, sizeof bm, &bm);
    QCOMPARE(bm.bmWidth, 1);
    // One bitmap, one context at a time; and it cannot be deleted while selected.
    QCOMPARE(SelectObject(b, bitmap), nullptr);
    QVERIFY(!DeleteObject(bitmap));
    QCOMPARE(SelectObject(a, stock), static_cast<HGDIOBJ>(bitmap));
    QVERIFY(SelectObject(b, bitmap));
    // Deleting a context leaves what it held usable.
    QVERIFY(DeleteDC(b));
    QVERIFY(SelectObject(a, bitmap));
    SelectObject(a, stock);
    QVERIFY(DeleteObject(bitmap));
    QVERIFY(DeleteObject(stock)); // stock objects ignore deletion
    QVERIFY(SelectObject(a, stock));
    QVERIFY(DeleteDC(a));
}

void TestBitmaps::creationRefusesImpossibleSizes()
{
    HDC dc = CreateCompatibleDC(nullptr);
    for (const QSize size : {QSize(0, 10), QSize(10, 0), QSize(-1, 5), QSize(100000, 100000)})
        QCOMPARE(CreateCompatibleBitmap(dc, size.width(), size.height()), nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 3, 2);
    QVERIFY(bitmap);
    QCOMPARE(bitmap->image().pixel(2, 1), 0xFF000000u); // starts black
    DeleteObject(bitmap);
    DeleteDC(dc);
}

void TestBitmaps::copyImageIsAlwaysItsOwnBitmap()
{
    Canvas c = Canvas::pattern(7, 5);
    for (const UINT flags : {0u, LR_COPYRETURNORG, LR_CREATEDIBSECTION}) {
        HBITMAP copy = CopyImage(c.bitmap(), IMAGE_BITMAP, 0, 0, flags);
        QVERIFY(copy && copy != c.bitmap());
        QCOMPARE(copy->image(), c.image());
        copy->image().setPixel(0, 0, 0xFF123456u);
        QVERIFY(c.at(0, 0) != 0xFF123456u);
        BITMAP bm;
        GetObject(copy, sizeof bm, &bm);
        QCOMPARE(bm.bmBits != nullptr, flags == LR_CREATEDIBSECTION);
        QVERIFY(DeleteObject(copy));
    }
    QCOMPARE(CopyImage(c.bitmap(), 1 /* an icon */, 0, 0, 0), nullptr);
}

void TestBitmaps::getObjectDescribesTheBitmap()
{
    Canvas c(101, 10);
    BITMAP bm;
    QCOMPARE(GetObject(c.bitmap(), 0, nullptr), int(sizeof(BITMAP)));
    QCOMPARE(GetObject(c.bitmap(), sizeof bm - 1, &bm), 0);
    QCOMPARE(GetObject(c.bitmap(), sizeof bm, &bm), int(sizeof(BITMAP)));
    QCOMPARE(bm.bmType, 0);
    QCOMPARE(bm.bmWidth, 101);
    QCOMPARE(bm.bmHeight, 10);
    QCOMPARE(bm.bmWidthBytes, 404);
    QCOMPARE(int(bm.bmPlanes), 1);
    QCOMPARE(int(bm.bmBitsPixel), 32);
    QCOMPARE(bm.bmBits, nullptr);
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    QCOMPARE(GetObject(pen, sizeof bm, &bm), 0);
    DeleteObject(pen);
}

static BITMAPINFO header(int width, int height, int bits)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = WORD(bits);
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

void TestBitmaps::getDIBitsRowsBottomUpAndPadded_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("rowBytes");
    QTest::addColumn<bool>("topDown");
    QTest::newRow("24-bit, 101 wide") << 24 << 304 << false;
    QTest::newRow("32-bit, 101 wide") << 32 << 404 << false;
    QTest::newRow("24-bit top-down") << 24 << 304 << true;
}

void TestBitmaps::getDIBitsRowsBottomUpAndPadded()
{
    QFETCH(int, bits);
    QFETCH(int, rowBytes);
    QFETCH(bool, topDown);
    Canvas c = Canvas::pattern(101, 10);
    BITMAPINFO info = header(101, topDown ? -10 : 10, bits);
    QCOMPARE(GetDIBits(c.dc(), c.bitmap(), 0, 10, nullptr, &info, DIB_RGB_COLORS), 10);
    QCOMPARE(int(info.bmiHeader.biSizeImage), rowBytes * 10);
    std::vector<unsigned char> buffer(info.bmiHeader.biSizeImage, 0xEE);
    QCOMPARE(GetDIBits(c.dc(), c.bitmap(), 0, 10, buffer.data(), &info, DIB_RGB_COLORS), 10);
    const int bytesPerPixel = bits / 8;
    for (int stored = 0; stored < 10; ++stored) {
        const int y = topDown ? stored : 9 - stored;
        const unsigned char *row = buffer.data() + stored * rowBytes;
        for (int x = 0; x < 101; ++x) {
            const unsigned char *p = row + x * bytesPerPixel;
            QCOMPARE(int(p[0]), 0x80); // blue
            QCOMPARE(int(p[1]), y);    // green
            QCOMPARE(int(p[2]), x);    // red
            if (bits == 32)
                QCOMPARE(int(p[3]), 0);
        }
        for (int pad = 101 * bytesPerPixel; pad < rowBytes; ++pad)
            QCOMPARE(int(row[pad]), 0);
    }
}

void TestBitmaps::getDIBitsPartialAndRejected()
{
    Canvas c = Canvas::pattern(4, 6);
    BITMAPINFO info = header(4, 6, 32);
    std::vector<QRgb> rows(24, 0);
    // Scan lines 2..4 from the bottom are picture rows 3, 2, 1; asking past the top is cut.
    QCOMPARE(GetDIBits(c.dc(), c.bitmap(), 2, 3, rows.data(), &info, DIB_RGB_COLORS), 3);
    QCOMPARE(int(qGreen(rows[0])), 3);
    QCOMPARE(int(qGreen(rows[8])), 1);
    QCOMPARE(GetDIBits(c.dc(), c.bitmap(), 4, 10, rows.data(), &info, DIB_RGB_COLORS), 2);
    QCOMPARE(GetDIBits(c.dc(), c.bitmap(), 6, 1, rows.data(), &info, DIB_RGB_COLORS), 0);
    BITMAPINFO palette = header(4, 6, 8);
    QCOMPARE(GetDIBits(c.dc(), c.bitmap(), 0, 6, rows.data(), &palette, DIB_RGB_COLORS), 0);
    BITMAPINFO wrongWidth = header(5, 6, 32);
    QCOMPARE(GetDIBits(c.dc(), c.bitmap(), 0, 6, rows.data(), &wrongWidth, DIB_RGB_COLORS), 0);
}

void TestBitmaps::localAllocZeroFills()
{
    auto *block = static_cast<unsigned char *>(LocalAlloc(LPTR, 40 + 1024));
    QVERIFY(block);
    for (int i = 0; i < 40 + 1024; ++i)
        QCOMPARE(int(block[i]), 0);
    QCOMPARE(LocalFree(block), nullptr);
}

void TestBitmaps::stretchDibAveragesWhenShrinking()
{
    // A one-pixel checkerboard halved is flat grey, not a pattern picked from every other pixel.
    QImage board(64, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            board.setPixel(x, y, (x + y) % 2 ? 0xFFFFFFFFu : 0xFF000000u);
    const QImage half = StretchDib::resample(board, QSize(32, 16));
    QCOMPARE(half.size(), QSize(32, 16));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x)
            QVERIFY(qAbs(qGray(half.pixel(x, y)) - 128) <= 1);
}

void TestBitmaps::stretchDibKeepsFlatColoursAndEdges()
{
    // Top row red, bottom row blue, white between.
    QImage picture(10, 12, QImage::Format_RGB32);
    picture.fill(0xFFFFFFFFu);
    for (int x = 0; x < 10; ++x) {
        picture.setPixel(x, 0, 0xFFFF0000u);
        picture.setPixel(x, 11, 0xFF0000FFu);
    }
    for (const QSize size : {QSize(3, 5), QSize(7, 4), QSize(23, 31), QSize(10, 12), QSize(1, 1)}) {
        const QImage out = StretchDib::resample(picture, size);
        QCOMPARE(out.size(), size);
        if (size.height() >= 3) {
            const QRgb top = out.pixel(0, 0), bottom = out.pixel(0, size.height() - 1);
            QVERIFY(qRed(top) == 255 && qBlue(top) < 255);
            QVERIFY(qBlue(bottom) == 255 && qRed(bottom) < 255);
            // Flat white stays exactly white wherever it is the only colour around.
            if (size.height() >= 12)
                QCOMPARE(out.pixel(size.width() / 2, size.height() / 2), 0xFFFFFFFFu);
        }
    }
    QVERIFY(StretchDib::resample(picture, QSize(0, 4)).isNull());
}

void TestBitmaps::drawDibDrawKeepsRowOrder()
{
    // The resize path: rows read bottom-up with GetDIBits, stretched onto a new bitmap.
    Canvas src = Canvas::pattern(6, 4);
    BITMAPINFO info = header(6, 4, 32);
    GetDIBits(src.dc(), src.bitmap(), 0, 4, nullptr, &info, DIB_RGB_COLORS);
    std::vector<unsigned char> rows(info.bmiHeader.biSizeImage);
    QCOMPARE(GetDIBits(src.dc(), src.bitmap(), 0, 4, rows.data(), &info, DIB_RGB_COLORS), 4);
    HDRAWDIB dd = DrawDibOpen();
    QCOMPARE(DrawDibRealize(dd, src.dc(), TRUE), 0u);
    Canvas same(6, 4, 0xFF000000u);
    QVERIFY(DrawDibDraw(dd, same.dc(), 0, 0, 6, 4, &info.bmiHeader, rows.data(), 0, 0, 6, 4,
                        DDF_BACKGROUNDPAL));
    QCOMPARE(same.image(), src.image());
    Canvas bigger(12, 8, 0xFF000000u);
    QVERIFY(DrawDibDraw(dd, bigger.dc(), 0, 0, 12, 8, &info.bmiHeader, rows.data(), 0, 0, 6, 4,
                        DDF_BACKGROUNDPAL));
    QCOMPARE(bigger.at(0, 0), src.at(0, 0));
    QCOMPARE(bigger.at(11, 7), src.at(5, 3));
    BITMAPINFO palette = header(6, 4, 8);
    QVERIFY(
        !DrawDibDraw(dd, bigger.dc(), 0, 0, 12, 8, &palette.bmiHeader, rows.data(), 0, 0, 6, 4, 0));
    QVERIFY(DrawDibClose(dd));
}

void TestBitmaps::largePicturesSplitAcrossThreadsAsOnOne_data()
{
    QTest::addColumn<QSize>("from");
    QTest::addColumn<QSize>("to");
    QTest::addColumn<int>("bits");
    QTest::newRow("halving, 32-bit rows") << QSize(1600, 1002) << QSize(800, 501) << 32;
    QTest::newRow("shrinking, 24-bit rows") << QSize(1601, 1003) << QSize(1000, 700) << 24;
    QTest::newRow("enlarging") << QSize(900, 601) << QSize(1500, 1100) << 32;
}

// The resize path on pictures big enough to be split across threads: the rows GetDIBits writes
// and the stretched picture are the same as when everything runs on one thread, which it does
// when called from a pool thread.
void TestBitmaps::largePicturesSplitAcrossThreadsAsOnOne()
{
    QFETCH(QSize, from);
    QFETCH(QSize, to);
    QFETCH(int, bits);
    Canvas src(from.width(), from.height());
    for (int y = 0; y < from.height(); ++y)
        for (int x = 0; x < from.width(); ++x)
            src.image().setPixel(x, y, qRgb(x * 7 + y * 3, (x ^ y) * 5, x * y));
    auto resize = [&] {
        BITMAPINFO info = header(from.width(), from.height(), bits);
        GetDIBits(src.dc(), src.bitmap(), 0, UINT(from.height()), nullptr, &info, DIB_RGB_COLORS);
        std::vector<unsigned char> rows(info.bmiHeader.biSizeImage);
        GetDIBits(src.dc(), src.bitmap(), 0, UINT(from.height()), rows.data(), &info,
                  DIB_RGB_COLORS);
        Canvas out(to.width(), to.height(), 0xFF000000u);
        HDRAWDIB dd = DrawDibOpen();
        DrawDibDraw(dd, out.dc(), 0, 0, to.width(), to.height(), &info.bmiHeader, rows.data(), 0,
                    0, from.width(), from.height(), 0);
        DrawDibClose(dd);
        return std::pair{rows, out.image().copy()};
    };
    const auto split = resize();
    std::pair<std::vector<unsigned char>, QImage> single;
    std::latch done(1);
    QThreadPool::globalInstance()->start([&] {
        single = resize();
        done.count_down();
    });
    done.wait();
    QVERIFY(split.first == single.first);
    QCOMPARE(split.second, single.second);
    QVERIFY(split.second.pixel(to.width() - 1, to.height() - 1) != 0xFF000000u);
}

QTEST_GUILESS_MAIN(TestBitmaps)
#include "tst_bitmaps.moc"
