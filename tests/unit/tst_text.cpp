#include "Canvas.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QTest>

// Text output in the context's colours, its extent and metrics.
class TestText : public QObject {
    Q_OBJECT

private slots:
    void textFillsItsCellInTextAndBackgroundColours_data();
    void textFillsItsCellInTextAndBackgroundColours();
    void extentAndMetricsAgree();
    void alignmentMovesTheCell();
    void colourSettersReturnPreviousValues();
};

// The bounding box of pixels that differ from `background`.
static QRect changedArea(const QImage &image, QRgb background)
{
    QRect area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                area |= QRect(x, y, 1, 1);
    return area;
}

void TestText::textFillsItsCellInTextAndBackgroundColours_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("size label") << QStringLiteral("-123, 45");
    QTest::newRow("chinese") << QStringLiteral("就绪");
}

void TestText::textFillsItsCellInTextAndBackgroundColours()
{
    QFETCH(QString, text);
    // The size label: white text on an opaque black background, over a red picture.
    Canvas c(200, 60, 0xFFFF0000u);
    SetTextColor(c.dc(), RGB(255, 255, 255));
    SetBkColor(c.dc(), RGB(0, 0, 0));
    SIZE extent;
    QVERIFY(GetTextExtentPoint32(c.dc(), text, &extent));
    QVERIFY(TextOut(c.dc(), 10, 12, text));
    QCOMPARE(changedArea(c.image(), 0xFFFF0000u), QRect(10, 12, extent.cx, extent.cy));
    int white = 0, black = 0;
    for (int y = 12; y < 12 + extent.cy; ++y) {
        for (int x = 10; x < 10 + extent.cx; ++x) {
            const QRgb p = c.at(x, y);
            QVERIFY2(p == 0xFFFFFFFFu || p == 0xFF000000u, "text is drawn without smoothing");
            (p == 0xFFFFFFFFu ? white : black)++;
        }
    }
    QVERIFY(white > 10);
    QVERIFY(black > white);
}

void TestText::extentAndMetricsAgree()
{
    Canvas c(10, 10);
    SIZE empty, one, two;
    GetTextExtentPoint32(c.dc(), QString(), &empty);
    GetTextExtentPoint32(c.dc(), QStringLiteral("8"), &one);
    GetTextExtentPoint32(c.dc(), QStringLiteral("88"), &two);
    QCOMPARE(empty.cx, 0);
    QVERIFY(one.cx > 0);
    QVERIFY(two.cx > one.cx);
    TEXTMETRIC tm;
    QVERIFY(GetTextMetrics(c.dc(), &tm));
    QCOMPARE(one.cy, tm.tmHeight);
    QCOMPARE(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    QVERIFY(tm.tmAveCharWidth > 0 && tm.tmMaxCharWidth >= tm.tmAveCharWidth);
    // The default font is the application's.
    QCOMPARE(tm.tmHeight, QFontMetrics(QGuiApplication::font(), &c.image()).height());
}

void TestText::alignmentMovesTheCell()
{
    Canvas c(120, 60, 0xFFFF0000u);
    SIZE extent;
    GetTextExtentPoint32(c.dc(), QStringLiteral("42"), &extent);
    TEXTMETRIC tm;
    GetTextMetrics(c.dc(), &tm);
    QCOMPARE(SetTextAlign(c.dc(), TA_RIGHT | TA_BASELINE), TA_LEFT | TA_TOP);
    TextOut(c.dc(), 100, 40, QStringLiteral("42"));
    QCOMPARE(changedArea(c.image(), 0xFFFF0000u),
             QRect(100 - extent.cx, 40 - tm.tmAscent, extent.cx, extent.cy));
}

void TestText::colourSettersReturnPreviousValues()
{
    Canvas c(4, 4);
    QCOMPARE(SetTextColor(c.dc(), RGB(1, 2, 3)), RGB(0, 0, 0));
    QCOMPARE(SetTextColor(c.dc(), RGB(4, 5, 6)), RGB(1, 2, 3));
    QCOMPARE(SetBkColor(c.dc(), RGB(7, 8, 9)), RGB(255, 255, 255));
    QCOMPARE(SetBkColor(c.dc(), RGB(0, 0, 0)), RGB(7, 8, 9));
}

QTEST_MAIN(TestText)
#include "tst_text.moc"
