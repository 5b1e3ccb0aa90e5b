#include "Canvas.h"

#include <QTest>

// Pixel copies between device contexts: BitBlt, StretchBlt, PlgBlt, PatBlt, GetPixel.
class TestBlits : public QObject {
    Q_OBJECT

private slots:
    void bitBlt_data();
    void bitBlt();
    void bitBltWithinOneBitmap_data();
    void bitBltWithinOneBitmap();
    void stretchBltRepeatsPixelsWithoutSmoothing();
    void stretchBltClipsAndSkipsMissingSource();
    void plgBltMapsWholePixels_data();
    void plgBltMapsWholePixels();
    void plgBltOffsetAndClipped();
    void plgBltScalesAndShears();
    void patBltFillsWithSelectedBrush();
    void getPixelAndColorRefs();
    void viewportOriginShiftsEveryOperation();
};

// Independent reference: every destination pixel inside the rectangle whose source pixel exists
// takes that pixel as it was before the copy; all other pixels keep their value.
static QImage expectedBlit(const QImage &dest, const QRect &rect, const QImage &src, QPoint from)
{
    QImage out = dest.copy();
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            const QPoint s(x - rect.x() + from.x(), y - rect.y() + from.y());
            if (rect.contains(x, y) && src.rect().contains(s))
                out.setPixel(x, y, src.pixel(s));
        }
    }
    return out;
}

void TestBlits::bitBlt_data()
{
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QPoint>("from");
    QTest::newRow("inside") << QRect(2, 3, 4, 5) << QPoint(1, 1);
    QTest::newRow("whole source") << QRect(0, 0, 10, 8) << QPoint(0, 0);
    QTest::newRow("past left edge") << QRect(-3, 2, 6, 4) << QPoint(0, 0);
    QTest::newRow("past top edge") << QRect(1, -5, 4, 7) << QPoint(2, 0);
    QTest::newRow("past right edge") << QRect(13, 2, 6, 4) << QPoint(0, 0);
    QTest::newRow("past bottom edge") << QRect(2, 9, 5, 6) << QPoint(0, 0);
    QTest::newRow("source before left") << QRect(4, 4, 5, 3) << QPoint(-2, 1);
    QTest::newRow("source before top") << QRect(4, 4, 5, 3) << QPoint(1, -2);
    QTest::newRow("source past right") << QRect(0, 0, 6, 3) << QPoint(7, 1);
    QTest::newRow("source past bottom") << QRect(0, 0, 6, 5) << QPoint(1, 6);
    QTest::newRow("all edges at once") << QRect(-2, -2, 20, 16) << QPoint(-1, -1);
    QTest::newRow("entirely outside") << QRect(20, 20, 4, 4) << QPoint(0, 0);
    QTest::newRow("empty") << QRect(3, 3, 0, 5) << QPoint(0, 0);
}

void TestBlits::bitBlt()
{
    QFETCH(QRect, rect);
    QFETCH(QPoint, from);
    Canvas src = Canvas::pattern(10, 8);
    Canvas dest(16, 12, 0xFF204060u);
    const QImage expected = expectedBlit(dest.image(), rect, src.image(), from);
    QVERIFY(BitBlt(dest.dc(), rect.x(), rect.y(), rect.width(), rect.height(), src.dc(), from.x(),
                   from.y(), SRCCOPY));
    QCOMPARE(dest.image(), expected);
}

void TestBlits::bitBltWithinOneBitmap_data()
{
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QPoint>("from");
    QTest::newRow("down right") << QRect(2, 2, 8, 6) << QPoint(0, 0);
    QTest::newRow("up left") << QRect(0, 0, 8, 6) << QPoint(2, 2);
    QTest::newRow("right in the same rows") << QRect(1, 0, 11, 10) << QPoint(0, 0);
    QTest::newRow("left in the same rows") << QRect(0, 0, 11, 10) << QPoint(1, 0);
    QTest::newRow("down by one row, full width") << QRect(0, 1, 12, 9) << QPoint(0, 0);
    QTest::newRow("up by one row, full width") << QRect(0, 0, 12, 9) << QPoint(0, 1);
    QTest::newRow("onto itself") << QRect(0, 0, 12, 10) << QPoint(0, 0);
}

void TestBlits::bitBltWithinOneBitmap()
{
    QFETCH(QRect, rect);
    QFETCH(QPoint, from);
    Canvas c = Canvas::pattern(12, 10);
    const QImage before = c.image().copy();
    QVERIFY(BitBlt(c.dc(), rect.x(), rect.y(), rect.width(), rect.height(), c.dc(), from.x(),
                   from.y(), SRCCOPY));
    QCOMPARE(c.image(), expectedBlit(before, rect, before, from));
}

void TestBlits::stretchBltRepeatsPixelsWithoutSmoothing()
{
    Canvas src = Canvas::pattern(2, 2);
    // 2 x 2 onto 6 x 4: each source pixel becomes a 3 x 2 block of its own colour.
    Canvas dest(8, 6, 0xFF000000u);
    QVERIFY(StretchBlt(dest.dc(), 1, 1, 6, 4, src.dc(), 0, 0, 2, 2, SRCCOPY));
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool inside = x >= 1 && x < 7 && y >= 1 && y < 5;
            const QRgb expected = inside ? src.at((x - 1) / 3, (y - 1) / 2) : 0xFF000000u;
            QCOMPARE(dest.at(x, y), expected);
        }
    }
    // Shrinking picks pixels, it does not average them.
    Canvas big = Canvas::pattern(6, 6);
    Canvas small(3, 3);
    QVERIFY(StretchBlt(small.dc(), 0, 0, 3, 3, big.dc(), 0, 0, 6, 6, SRCCOPY));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            QCOMPARE(small.at(x, y), big.at(2 * x + 1, 2 * y + 1));
}

void TestBlits::stretchBltClipsAndSkipsMissingSource()
{
    // The magnifier's case: a 30 x 30 square partly off the source's edge, enlarged 5 times.
    Canvas src = Canvas::pattern(20, 20);
    Canvas dest(100, 100, 0xFF000000u);
    QVERIFY(StretchBlt(dest.dc(), -10, 0, 150, 150, src.dc(), -5, 5, 30, 30, SRCCOPY));
    for (int y = 0; y < 100; y += 7) {
        for (int x = 0; x < 100; x += 3) {
            const int sx = -5 + (x + 10) / 5;
            const int sy = 5 + y / 5;
            const bool exists = sx >= 0 && sx < 20 && sy < 20;
            QCOMPARE(dest.at(x, y), exists ? src.at(sx, sy) : 0xFF000000u);
        }
    }
}

// Pixels of a 3 x 2 bitmap named by letters: rows ABC / DEF.
static Canvas letters()
{
    Canvas c(3, 2);
    const char *names = "ABCDEF";
    for (int i = 0; i < 6; ++i)
        c.image().setPixel(i % 3, i / 3, qRgb(names[i], 0, 0));
    return c;
}

// The canvas as rows of letters, '.' for a pixel nothing wrote (black).
static QString spell(Canvas &c)
{
    QStringList rows;
    for (int y = 0; y < c.image().height(); ++y) {
        QString row;
        for (int x = 0; x < c.image().width(); ++x)
            row += c.at(x, y) == 0xFF000000u ? QChar('.') : QChar(qRed(c.at(x, y)));
        rows << row;
    }
    return rows.join('/');
}

void TestBlits::plgBltMapsWholePixels_data()
{
    QTest::addColumn<QList<QPoint>>("points");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("expected");
    // W = 3, H = 2; the destination points of the four image transforms.
    QTest::newRow("rotate left") << QList<QPoint>{{0, 3}, {0, 0}, {2, 3}} << QSize(2, 3)
                                 << "CF/BE/AD";
    QTest::newRow("rotate right") << QList<QPoint>{{2, 0}, {2, 3}, {0, 0}} << QSize(2, 3)
                                  << "DA/EB/FC";
    QTest::newRow("flip vertical")
        << QList<QPoint>{{0, 2}, {3, 2}, {0, 0}} << QSize(3, 2) << "DEF/ABC";
    QTest::newRow("flip horizontal")
        << QList<QPoint>{{3, 0}, {0, 0}, {3, 2}} << QSize(3, 2) << "CBA/FED";
    QTest::newRow("identity") << QList<QPoint>{{0, 0}, {3, 0}, {0, 2}} << QSize(3, 2) << "ABC/DEF";
    QTest::newRow("transpose") << QList<QPoint>{{0, 0}, {0, 3}, {2, 0}} << QSize(2, 3)
                               << "AD/BE/CF";
}

void TestBlits::plgBltMapsWholePixels()
{
    QFETCH(QList<QPoint>, points);
    QFETCH(QSize, size);
    QFETCH(QString, expected);
    Canvas src = letters();
    Canvas dest(size.width(), size.height(), 0xFF000000u);
    const POINT pts[3] = {{points[0].x(), points[0].y()},
                          {points[1].x(), points[1].y()},
                          {points[2].x(), points[2].y()}};
    QVERIFY(PlgBlt(dest.dc(), pts, src.dc(), 0, 0, 3, 2, nullptr, 0, 0));
    QCOMPARE(spell(dest), expected);
}

void TestBlits::plgBltOffsetAndClipped()
{
    // A rotation large enough for the blocked copy, placed partly off the destination: the
    // pixels that land inside follow new(x, y) = old(W - 1 - y, x) shifted by the offset.
    const int w = 37, h = 23;
    Canvas src(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            src.image().setPixel(x, y, qRgb(x, y, 7));
    for (const QPoint offset : {QPoint(0, 0), QPoint(5, 3), QPoint(-4, -9), QPoint(10, 20)}) {
        Canvas dest(30, 45, 0xFF000000u);
        const POINT pts[3] = {{offset.x(), offset.y() + w},
                              {offset.x(), offset.y()},
                              {offset.x() + h, offset.y() + w}};
        QVERIFY(PlgBlt(dest.dc(), pts, src.dc(), 0, 0, w, h, nullptr, 0, 0));
        for (int y = 0; y < 45; ++y) {
            for (int x = 0; x < 30; ++x) {
                const int nx = x - offset.x(), ny = y - offset.y();
                const bool mapped = nx >= 0 && nx < h && ny >= 0 && ny < w;
                QCOMPARE(dest.at(x, y), mapped ? src.at(w - 1 - ny, nx) : 0xFF000000u);
            }
        }
    }
}

void TestBlits::plgBltScalesAndShears()
{
    Canvas src = letters();
    // Twice the size: every pixel becomes a 2 x 2 block.
    Canvas doubled(6, 4, 0xFF000000u);
    const POINT twice[3] = {{0, 0}, {6, 0}, {0, 4}};
    QVERIFY(PlgBlt(doubled.dc(), twice, src.dc(), 0, 0, 3, 2, nullptr, 0, 0));
    QCOMPARE(spell(doubled), QString("AABBCC/AABBCC/DDEEFF/DDEEFF"));
    // Sheared one pixel right per row: dest = (u + v, v); pixel centres decide.
    Canvas sheared(5, 2, 0xFF000000u);
    const POINT shear[3] = {{0, 0}, {3, 0}, {2, 2}};
    QVERIFY(PlgBlt(sheared.dc(), shear, src.dc(), 0, 0, 3, 2, nullptr, 0, 0));
    QCOMPARE(spell(sheared), QString("ABC../.DEF."));
    // Three points on one line span nothing.
    const POINT flat[3] = {{0, 0}, {3, 0}, {6, 0}};
    QVERIFY(!PlgBlt(sheared.dc(), flat, src.dc(), 0, 0, 3, 2, nullptr, 0, 0));
}

void TestBlits::patBltFillsWithSelectedBrush()
{
    Canvas c(10, 10, 0xFF000000u);
    HBRUSH grey = CreateSolidBrush(RGB(100, 100, 100));
    HBRUSH old = SelectObject(c.dc(), grey);
    QVERIFY(PatBlt(c.dc(), -2, 3, 6, 20, PATCOPY));
    SelectObject(c.dc(), old);
    QVERIFY(DeleteObject(grey));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            QCOMPARE(c.at(x, y), x < 4 && y >= 3 ? 0xFF646464u : 0xFF000000u);
    // A new context paints with the white stock brush.
    QVERIFY(PatBlt(c.dc(), 0, 0, 1, 1, PATCOPY));
    QCOMPARE(c.at(0, 0), 0xFFFFFFFFu);
}

void TestBlits::getPixelAndColorRefs()
{
    QCOMPARE(RGB(0x12, 0x34, 0x56), COLORREF(0x00563412));
    QCOMPARE(int(GetRValue(0x00563412)), 0x12);
    QCOMPARE(int(GetGValue(0x00563412)), 0x34);
    QCOMPARE(int(GetBValue(0x00563412)), 0x56);
    Canvas c(4, 3);
    c.image().setPixel(2, 1, qRgb(0x12, 0x34, 0x56));
    QCOMPARE(GetPixel(c.dc(), 2, 1), RGB(0x12, 0x34, 0x56));
    QCOMPARE(GetPixel(c.dc(), 0, 0), RGB(255, 255, 255));
    for (const QPoint outside : {QPoint(-1, 0), QPoint(0, -1), QPoint(4, 0), QPoint(0, 3)})
        QCOMPARE(GetPixel(c.dc(), outside.x(), outside.y()), CLR_INVALID);
    // Colours go in as COLORREF and come back the same through the bitmap.
    HBRUSH brush = CreateSolidBrush(0x00ABCDEF);
    HBRUSH old = SelectObject(c.dc(), brush);
    PatBlt(c.dc(), 3, 2, 1, 1, PATCOPY);
    SelectObject(c.dc(), old);
    DeleteObject(brush);
    QCOMPARE(c.at(3, 2), qRgb(0xEF, 0xCD, 0xAB));
    QCOMPARE(GetPixel(c.dc(), 3, 2), COLORREF(0x00ABCDEF));
}

void TestBlits::viewportOriginShiftsEveryOperation()
{
    // Logical (0, 0) at device (-5, -3), as for a view scrolled by (5, 3).
    Canvas src = Canvas::pattern(10, 10);
    Canvas dest(10, 10, 0xFF000000u);
    POINT previous;
    QVERIFY(SetViewportOrgEx(dest.dc(), -5, -3, &previous));
    QCOMPARE(previous.x, 0);
    QVERIFY(BitBlt(dest.dc(), 5, 3, 2, 2, src.dc(), 0, 0, SRCCOPY));
    QCOMPARE(dest.at(0, 0), src.at(0, 0));
    QCOMPARE(dest.at(1, 1), src.at(1, 1));
    QCOMPARE(GetPixel(dest.dc(), 6, 4), colorRefFromPixel(src.at(1, 1)));
    RECT box;
    QCOMPARE(GetClipBox(dest.dc(), &box), SIMPLEREGION);
    QCOMPARE(box.left, 5);
    QCOMPARE(box.top, 3);
    QCOMPARE(box.right, 15);
    QCOMPARE(box.bottom, 13);
}

QTEST_GUILESS_MAIN(TestBlits)
#include "tst_blits.moc"
