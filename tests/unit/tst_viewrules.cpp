#include "app/CPravikApp.h"
#include "capture/CSnapInfoDlg.h"
#include "view/CPravikView.h"

#include <QTest>

// The placement rules of region selection: the size label, the pixel-info window and the
// magnifier's square; and the info window's texts.
class TestViewRules : public QObject {
    Q_OBJECT

private slots:
    void labelPlacement_data();
    void labelPlacement();
    void infoWindowPlacement_data();
    void infoWindowPlacement();
    void magnifierSquareStaysOnTheScreen_data();
    void magnifierSquareStaysOnTheScreen();
    void colourAndHintTexts();
};

void TestViewRules::labelPlacement_data()
{
    // A 60 x 16 label on a 1024 x 768 screen.
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("large: centred") << QPoint(100, 100) << QPoint(301, 141) << QPoint(170, 112);
    QTest::newRow("large, dragged up-left: centred")
        << QPoint(301, 141) << QPoint(100, 100) << QPoint(171, 113);
    QTest::newRow("dx exactly 100: beyond")
        << QPoint(100, 100) << QPoint(200, 200) << QPoint(201, 201);
    QTest::newRow("dy exactly 40: beyond")
        << QPoint(100, 100) << QPoint(300, 140) << QPoint(301, 141);
    QTest::newRow("dx 101, dy 41: centred")
        << QPoint(100, 100) << QPoint(201, 141) << QPoint(120, 112);
    QTest::newRow("at the right edge: left of the corner")
        << QPoint(900, 100) << QPoint(980, 120) << QPoint(920, 121);
    QTest::newRow("at the bottom edge: above the corner")
        << QPoint(100, 700) << QPoint(150, 760) << QPoint(151, 744);
    QTest::newRow("fits exactly at the right edge")
        << QPoint(900, 100) << QPoint(963, 120) << QPoint(964, 121);
    QTest::newRow("at both edges") << QPoint(1000, 760) << QPoint(1010, 755) << QPoint(950, 744);
}

void TestViewRules::labelPlacement()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QPoint, expected);
    const QRect label =
        CPravikView::LabelRect({from.x(), from.y()}, {to.x(), to.y()}, {60, 16}, {1024, 768});
    QCOMPARE(label, QRect(expected, QSize(60, 16)));
}

void TestViewRules::infoWindowPlacement_data()
{
    // A 255 x 244 window on a 1024 x 768 screen.
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<QPoint>("window");
    QTest::addColumn<bool>("started");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("start: near top-left")
        << QPoint(10, 10) << QPoint(0, 0) << false << QPoint(769, 524);
    QTest::newRow("start: at W + 40, H + 40")
        << QPoint(295, 284) << QPoint(0, 0) << false << QPoint(769, 524);
    QTest::newRow("start: one past")
        << QPoint(296, 285) << QPoint(769, 524) << false << QPoint(0, 0);
    QTest::newRow("start: near the top only")
        << QPoint(500, 100) << QPoint(0, 0) << false << QPoint(0, 524);
    QTest::newRow("start: near the left only")
        << QPoint(100, 500) << QPoint(0, 0) << false << QPoint(769, 0);
    QTest::newRow("end: bottom-right, at the zone")
        << QPoint(729, 484) << QPoint(769, 524) << true << QPoint(0, 0);
    QTest::newRow("end: bottom-right, one outside")
        << QPoint(728, 484) << QPoint(769, 524) << true << QPoint(769, 524);
    QTest::newRow("end: top-left stays away")
        << QPoint(600, 100) << QPoint(0, 0) << true << QPoint(0, 0);
    QTest::newRow("end: top-left, in the zone")
        << QPoint(295, 284) << QPoint(0, 0) << true << QPoint(769, 524);
    QTest::newRow("end: top-right jumps")
        << QPoint(729, 284) << QPoint(769, 0) << true << QPoint(0, 524);
    QTest::newRow("end: bottom-left jumps")
        << QPoint(295, 484) << QPoint(0, 524) << true << QPoint(769, 0);
}

void TestViewRules::infoWindowPlacement()
{
    QFETCH(QPoint, pointer);
    QFETCH(QPoint, window);
    QFETCH(bool, started);
    QFETCH(QPoint, expected);
    const RECT current = {window.x(), window.y(), window.x() + 255, window.y() + 244};
    const POINT p =
        CPravikApp::InfoWindowPosition(pointer.x(), pointer.y(), current, {1024, 768}, started);
    QCOMPARE(QPoint(p.x, p.y), expected);
}

void TestViewRules::magnifierSquareStaysOnTheScreen_data()
{
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<QRect>("square");
    QTest::newRow("middle") << QPoint(500, 400) << QRect(485, 385, 30, 30);
    QTest::newRow("top-left corner") << QPoint(3, 4) << QRect(0, 0, 30, 30);
    QTest::newRow("bottom-right corner") << QPoint(1023, 767) << QRect(994, 738, 30, 30);
}

void TestViewRules::magnifierSquareStaysOnTheScreen()
{
    QFETCH(QPoint, pointer);
    QFETCH(QRect, square);
    QCOMPARE(CSnapInfoDlg::MagnifierSource(pointer.x(), pointer.y(), {1024, 768}), square);
}

void TestViewRules::colourAndHintTexts()
{
    CSnapInfoDlg info;
    QVERIFY(info.Create());
    QVERIFY(!info.window()->isVisible());
    info.ShowPixelColour(0x00123456);
    QCOMPARE(info.ControlText(CSnapInfoDlg::IDC_RED), QStringLiteral("R: 086/56"));
    QCOMPARE(info.ControlText(CSnapInfoDlg::IDC_GREEN), QStringLiteral("G: 052/34"));
    QCOMPARE(info.ControlText(CSnapInfoDlg::IDC_BLUE), QStringLiteral("B: 018/12"));
    info.ShowPixelColour(CLR_INVALID);
    QCOMPARE(info.ControlText(CSnapInfoDlg::IDC_RED), QStringLiteral("R: 255/FF"));
    QCOMPARE(info.ControlText(CSnapInfoDlg::IDC_BLUE), QStringLiteral("B: 255/FF"));
    info.ShowPixelColour(0x000000FF);
    QCOMPARE(info.ControlText(CSnapInfoDlg::IDC_GREEN), QStringLiteral("G: 000/00"));

    QCOMPARE(info.ControlText(CSnapInfoDlg::IDC_LEFT), QStringLiteral("左键：\t设定抓图开始点"));
    info.SetMouseHint(1);
    QCOMPARE(info.ControlText(CSnapInfoDlg::IDC_LEFT), QStringLiteral("左键：\t选择开始点"));
    QCOMPARE(info.ControlText(CSnapInfoDlg::IDC_RIGHT), QStringLiteral("右键：\t取消抓图任务"));
    info.SetMouseHint(2);
    QCOMPARE(info.ControlText(CSnapInfoDlg::IDC_LEFT), QStringLiteral("左键：\t选择结束点"));
    QCOMPARE(info.ControlText(CSnapInfoDlg::IDC_RIGHT), QStringLiteral("右键：\t重新选择开始点"));
    QCOMPARE(info.m_nHintState, 2);
    info.Hide();
    QCOMPARE(info.m_rcInfo.left, 0);
    QCOMPARE(info.m_rcInfo.top, 0);
    QVERIFY(info.m_rcInfo.right > 100 && info.m_rcInfo.bottom > 100);
    info.DestroyWindow();
}

QTEST_MAIN(TestViewRules)
#include "tst_viewrules.moc"
