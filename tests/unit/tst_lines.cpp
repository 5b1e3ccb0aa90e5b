#include "Canvas.h"

#include <QTest>

// Pens, raster operations and the lines the crosshair, the outline and the frames are made of.
class TestLines : public QObject {
    Q_OBJECT

private slots:
    void lastPointIsNotDrawn_data();
    void lastPointIsNotDrawn();
    void notXorTwiceRestoresEveryPixel();
    void crosshairKeepsItsCrossingPixel();
    void closedOutlineInvertsEachPixelOnce();
    void polylineLeavesCurrentPosition();
    void rop2AndPenSelection();
};

static QImage blackAt(const QImage &white, const QList<QPoint> &points)
{
    QImage out = white.copy();
    for (const QPoint &p : points)
        out.setPixel(p, 0xFF000000u);
    return out;
}

void TestLines::lastPointIsNotDrawn_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QList<QPoint>>("drawn");
    QTest::newRow("right") << QPoint(1, 1) << QPoint(5, 1)
                           << QList<QPoint>{{1, 1}, {2, 1}, {3, 1}, {4, 1}};
    QTest::newRow("left") << QPoint(5, 1) << QPoint(1, 1)
                          << QList<QPoint>{{5, 1}, {4, 1}, {3, 1}, {2, 1}};
    QTest::newRow("down") << QPoint(2, 0) << QPoint(2, 3) << QList<QPoint>{{2, 0}, {2, 1}, {2, 2}};
    QTest::newRow("up") << QPoint(2, 3) << QPoint(2, 0) << QList<QPoint>{{2, 3}, {2, 2}, {2, 1}};
    QTest::newRow("diagonal") << QPoint(0, 0) << QPoint(3, 3)
                              << QList<QPoint>{{0, 0}, {1, 1}, {2, 2}};
    QTest::newRow("shallow") << QPoint(0, 0) << QPoint(4, 2)
                             << QList<QPoint>{{0, 0}, {1, 0}, {2, 1}, {3, 1}};
    QTest::newRow("single point") << QPoint(3, 3) << QPoint(3, 3) << QList<QPoint>{};
    QTest::newRow("leaving the bitmap")
        << QPoint(6, 4) << QPoint(12, 4) << QList<QPoint>{{6, 4}, {7, 4}};
    QTest::newRow("entering the bitmap")
        << QPoint(-5, 2) << QPoint(2, 2) << QList<QPoint>{{0, 2}, {1, 2}};
}

void TestLines::lastPointIsNotDrawn()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QList<QPoint>, drawn);
    Canvas c(8, 6);
    const QImage expected = blackAt(c.image(), drawn);
    POINT previous;
    QVERIFY(MoveToEx(c.dc(), from.x(), from.y(), nullptr));
    QVERIFY(LineTo(c.dc(), to.x(), to.y()));
    QCOMPARE(c.image(), expected);
    // The end point became the current position.
    MoveToEx(c.dc(), 0, 0, &previous);
    QCOMPARE(QPoint(previous.x, previous.y), to);
}

static void drawInverted(HDC dc, const QList<QLine> &lines)
{
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    HPEN old = SelectObject(dc, pen);
    const int oldRop = SetROP2(dc, R2_NOTXORPEN);
    for (const QLine &l : lines) {
        MoveToEx(dc, l.x1(), l.y1(), nullptr);
        LineTo(dc, l.x2(), l.y2());
    }
    SetROP2(dc, oldRop);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void TestLines::notXorTwiceRestoresEveryPixel()
{
    Canvas c = Canvas::pattern(40, 30);
    const QImage before = c.image().copy();
    const QList<QLine> lines{{0, 5, 40, 5},     {7, 0, 7, 30},   {3, 3, 35, 20}, {35, 2, 1, 28},
                             {-10, -4, 50, 33}, {20, 29, 21, 0}, {39, 0, 39, 30}};
    drawInverted(c.dc(), lines);
    QVERIFY(c.image() != before);
    // A black pen with R2_NOTXORPEN inverts what it touches.
    QCOMPARE(c.at(10, 5), ~before.pixel(10, 5) | 0xFF000000u);
    drawInverted(c.dc(), lines);
    QCOMPARE(c.image(), before);
}

void TestLines::crosshairKeepsItsCrossingPixel()
{
    // The crosshair's four segments through (x, y) on a w x h screen.
    const int w = 20, h = 15, x = 7, y = 5;
    Canvas c = Canvas::pattern(w, h);
    const QImage before = c.image().copy();
    drawInverted(c.dc(), {{0, y, x, y}, {x, y, w, y}, {x, 0, x, y}, {x, y, x, h}});
    for (int py = 0; py < h; ++py) {
        for (int px = 0; px < w; ++px) {
            const bool inverted = (px == x) != (py == y);
            const QRgb was = before.pixel(px, py);
            QCOMPARE(c.at(px, py), inverted ? ~was | 0xFF000000u : was);
        }
    }
}

void TestLines::closedOutlineInvertsEachPixelOnce()
{
    // The selection outline: move to (x1, y1), then (x1, y2), (x2, y2), (x2, y1), (x1, y1),
    // for corners in every order.
    for (const QRect corners :
         {QRect(QPoint(3, 2), QPoint(12, 9)), QRect(QPoint(12, 9), QPoint(3, 2)),
          QRect(QPoint(12, 2), QPoint(3, 9)), QRect(QPoint(3, 9), QPoint(12, 2))}) {
        const int x1 = corners.left(), y1 = corners.top();
        const int x2 = corners.right(), y2 = corners.bottom();
        Canvas c(16, 12, 0xFF000000u);
        drawInverted(c.dc(),
                     {{x1, y1, x1, y2}, {x1, y2, x2, y2}, {x2, y2, x2, y1}, {x2, y1, x1, y1}});
        const QRect r(QPoint(std::min(x1, x2), std::min(y1, y2)),
                      QPoint(std::max(x1, x2), std::max(y1, y2)));
        for (int py = 0; py < 12; ++py) {
            for (int px = 0; px < 16; ++px) {
                const bool onOutline = r.contains(px, py) && (px == r.left() || px == r.right() ||
                                                              py == r.top() || py == r.bottom());
                QCOMPARE(c.at(px, py), onOutline ? 0xFFFFFFFFu : 0xFF000000u);
            }
        }
    }
}

void TestLines::polylineLeavesCurrentPosition()
{
    // The view's red frame around a 3 x 2 picture at (10, 10): a closed line through
    // (10, 10), (cx + 11, 10), (cx + 11, cy + 11), (10, cy + 11).
    Canvas c(20, 20);
    HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HPEN old = SelectObject(c.dc(), red);
    MoveToEx(c.dc(), 1, 2, nullptr);
    const POINT frame[5] = {{10, 10}, {14, 10}, {14, 13}, {10, 13}, {10, 10}};
    QVERIFY(Polyline(c.dc(), frame, 5));
    SelectObject(c.dc(), old);
    DeleteObject(red);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const bool onFrame = x >= 10 && x <= 14 && y >= 10 && y <= 13 &&
                                 (x == 10 || x == 14 || y == 10 || y == 13);
            QCOMPARE(c.at(x, y), onFrame ? 0xFFFF0000u : 0xFFFFFFFFu);
        }
    }
    POINT position;
    MoveToEx(c.dc(), 0, 0, &position);
    QCOMPARE(QPoint(position.x, position.y), QPoint(1, 2));
}

void TestLines::rop2AndPenSelection()
{
    Canvas c(4, 4);
    QCOMPARE(SetROP2(c.dc(), R2_NOTXORPEN), R2_COPYPEN);
    QCOMPARE(SetROP2(c.dc(), R2_COPYPEN), R2_NOTXORPEN);
    QCOMPARE(SetROP2(c.dc(), 7), 0); // a raster operation this layer does not draw
    // A new context draws with the black stock pen.
    MoveToEx(c.dc(), 0, 0, nullptr);
    LineTo(c.dc(), 2, 0);
    QCOMPARE(c.at(0, 0), 0xFF000000u);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 255, 0));
    HPEN stock = SelectObject(c.dc(), pen);
    QVERIFY(stock);
    QVERIFY(!DeleteObject(pen)); // still selected
    QCOMPARE(SelectObject(c.dc(), stock), pen);
    QVERIFY(DeleteObject(pen));
}

QTEST_GUILESS_MAIN(TestLines)
#include "tst_lines.moc"
