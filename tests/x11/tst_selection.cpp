#include "app/CMainFrame.h"
#include "app/CPravikApp.h"
#include "document/CPravikDoc.h"
#include "platform/gdi/Color.h"
#include "platform/x11/X11Connection.h"
#include "tests/support/AppSession.h"
#include "tests/support/RootPattern.h"
#include "view/CPravikView.h"

#include <QProcess>
#include <QTest>

// Region selection end to end on a real X server: the hotkey freezes the screen, the pointer
// and clicks come from xdotool, and the view's surface is read back. Runs unscaled and with
// QT_SCALE_FACTOR=2, where everything must still be in screen pixels.
class TestSelection : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void crosshairInvertsRowAndColumnButThePointer();
    void drawingAlwaysMatchesAFreshPaint_data();
    void drawingAlwaysMatchesAFreshPaint();
    void twoClicksCropTheRegion_data();
    void twoClicksCropTheRegion();
    void clickInTheStartRowIsIgnored();
    void escapeStepsBackThenCancels();
    void infoWindowAndMagnifier();

private:
    CMainFrame *frame() const { return AfxGetApp()->m_pMainWnd; }
    CPravikDoc *doc() const { return AfxGetApp()->m_pDoc; }
    CPravikView *view() const { return AfxGetApp()->m_pView; }
    void enterCaptureMode();
    void moveTo(int x, int y);
    void click(int button, int x, int y);
    QImage snapshot() const { return doc()->m_hBitmap->image().copy(); }
};

static void xdotool(const QStringList &arguments)
{
    QCOMPARE(QProcess::execute("xdotool", arguments), 0);
}

static QRgb inverted(QRgb p)
{
    return ~p | 0xFF000000u;
}

void TestSelection::initTestCase()
{
    RootPattern::paint(x11Connection());
}

void TestSelection::init()
{
    QVERIFY(startApplication());
    QVERIFY(QTest::qWaitForWindowExposed(frame()));
}

void TestSelection::cleanup()
{
    AfxGetApp()->ExitInstance();
}

void TestSelection::enterCaptureMode()
{
    // The pointer waits in a corner so that the cursor drawn into the snapshot stays out of the
    // way.
    xdotool({"mousemove", "1910", "1070"});
    xdotool({"key", "ctrl+shift+0"});
    QTRY_VERIFY(frame()->m_bCaptureMode);
    QTRY_COMPARE(view()->Surface().size(), QSize(1920, 1080));
    QTRY_VERIFY(view()->m_bDrawn); // the first full paint has happened
}

void TestSelection::moveTo(int x, int y)
{
    // Qt drops a motion to where it last saw the pointer, and a pointer that jumped while no
    // window of ours was under it can be there already: then step aside and come back.
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (attempt) {
            xdotool({"mousemove", QString::number(x + 3), QString::number(y + 3)});
            QTest::qWait(200);
        }
        xdotool({"mousemove", QString::number(x), QString::number(y)});
        if (QTest::qWaitFor([&] { return view()->m_ptLast.x == x && view()->m_ptLast.y == y; },
                            1000))
            return;
    }
    QFAIL(qPrintable(QString("the view saw no move to %1, %2").arg(x).arg(y)));
}

void TestSelection::click(int button, int x, int y)
{
    moveTo(x, y);
    xdotool({"click", QString::number(button)});
    QTest::qWait(100);
}

void TestSelection::crosshairInvertsRowAndColumnButThePointer()
{
    enterCaptureMode();
    const QImage before = snapshot();
    moveTo(700, 400);
    moveTo(701, 402);
    const QImage &s = view()->Surface();
    for (int x = 0; x < 1920; ++x)
        QCOMPARE(s.pixel(x, 402), x == 701 ? before.pixel(x, 402) : inverted(before.pixel(x, 402)));
    for (int y = 0; y < 1080; ++y)
        QCOMPARE(s.pixel(701, y), y == 402 ? before.pixel(701, y) : inverted(before.pixel(701, y)));
    // The previous crosshair is gone without a trace.
    QCOMPARE(s.pixel(700, 100), before.pixel(700, 100));
    QCOMPARE(s.pixel(100, 400), before.pixel(100, 400));
}

void TestSelection::drawingAlwaysMatchesAFreshPaint_data()
{
    // Actions: "m x y" moves, "l x y" left-clicks, "r x y" right-clicks.
    QTest::addColumn<QStringList>("actions");
    QTest::newRow("moves") << QStringList{"m 100 100", "m 300 200", "m 301 201"};
    QTest::newRow("outline") << QStringList{"l 100 100", "m 400 300", "m 350 250"};
    QTest::newRow("outline up-left") << QStringList{"l 900 700", "m 400 300", "m 880 690"};
    QTest::newRow("label near the edges")
        << QStringList{"l 1800 1000", "m 1900 1070", "m 1910 1075"};
    QTest::newRow("step back and move")
        << QStringList{"l 100 100", "m 400 300", "r 400 300", "m 500 500"};
    QTest::newRow("step back twice") << QStringList{
        "l 100 100", "m 400 300", "r 400 300", "l 500 500", "m 600 550", "r 600 550", "m 610 560"};
}

void TestSelection::drawingAlwaysMatchesAFreshPaint()
{
    QFETCH(QStringList, actions);
    enterCaptureMode();
    for (const QString &action : actions) {
        const QStringList parts = action.split(' ');
        const int x = parts[1].toInt(), y = parts[2].toInt();
        if (parts[0] == "m")
            moveTo(x, y);
        else
            click(parts[0] == "l" ? 1 : 3, x, y);
    }
    // What the moves drew step by step is exactly what a paint from scratch draws now.
    const QImage drawn = view()->Surface().copy();
    view()->InvalidateRect(nullptr, TRUE);
    view()->viewport()->repaint();
    QCOMPARE(view()->Surface(), drawn);
    QVERIFY(frame()->m_bCaptureMode);
}

void TestSelection::twoClicksCropTheRegion_data()
{
    QTest::addColumn<QPoint>("first");
    QTest::addColumn<QPoint>("second");
    QTest::newRow("down-right") << QPoint(200, 150) << QPoint(520, 390);
    QTest::newRow("up-left: negative label") << QPoint(500, 400) << QPoint(300, 300);
}

void TestSelection::twoClicksCropTheRegion()
{
    QFETCH(QPoint, first);
    QFETCH(QPoint, second);
    enterCaptureMode();
    click(1, first.x(), first.y());
    moveTo(second.x(), second.y());
    click(1, second.x(), second.y());
    QTRY_VERIFY(!frame()->m_bCaptureMode);
    // The larger corner's row and column are not part of the picture.
    const QRect region(QPoint(std::min(first.x(), second.x()), std::min(first.y(), second.y())),
                       QSize(std::abs(first.x() - second.x()), std::abs(first.y() - second.y())));
    QCOMPARE(doc()->m_sizeImage.cx, region.width());
    QCOMPARE(doc()->m_sizeImage.cy, region.height());
    QCOMPARE(doc()->m_hBitmap->image(), RootPattern::image(1920, 1080).copy(region));
    QCOMPARE(doc()->m_image.GetWidth(), region.width());
    QVERIFY(HBITMAP(doc()->m_image) != doc()->m_hBitmap);
    QVERIFY(doc()->IsModified());
    QTRY_VERIFY(!AfxGetApp()->m_dlgInfo.window()->isVisible());
}

void TestSelection::clickInTheStartRowIsIgnored()
{
    enterCaptureMode();
    click(1, 300, 300);
    click(1, 300, 450); // same column
    click(1, 500, 300); // same row
    QVERIFY(frame()->m_bCaptureMode);
    QVERIFY(view()->m_bStarted);
}

void TestSelection::escapeStepsBackThenCancels()
{
    // An unsaved capture before: cancelling the region capture gives it back, still unsaved.
    xdotool({"key", "ctrl+shift+8"});
    QTRY_VERIFY(doc()->m_bHasImage && doc()->IsModified());
    QTRY_VERIFY(frame()->isVisible());
    const QImage previous = doc()->m_hBitmap->image().copy();
    enterCaptureMode();
    QVERIFY(!doc()->IsModified());
    click(1, 300, 300);
    moveTo(400, 400);
    xdotool({"key", "Escape"});
    QTRY_VERIFY(!view()->m_bStarted);
    QVERIFY(frame()->m_bCaptureMode);
    xdotool({"key", "Escape"});
    QTRY_VERIFY(!frame()->m_bCaptureMode);
    QVERIFY(doc()->m_bHasImage);
    QCOMPARE(doc()->m_hBitmap->image(), previous);
    QVERIFY(doc()->IsModified());
}

void TestSelection::infoWindowAndMagnifier()
{
    enterCaptureMode();
    moveTo(640, 360);
    moveTo(641, 361);
    CSnapInfoDlg &info = AfxGetApp()->m_dlgInfo;
    QTRY_VERIFY(info.window()->isVisible());
    QCOMPARE(info.m_nHintState, 1);
    // Start point not chosen: the corner the rule picks for the window's size.
    const RECT shown = info.m_rcInfo;
    const POINT corner = CPravikApp::InfoWindowPosition(641, 361, shown, {1920, 1080}, FALSE);
    QCOMPARE(QPoint(shown.left, shown.top), QPoint(corner.x, corner.y));
    // The colour is the snapshot's under the pointer (the crosshair spares that pixel).
    const COLORREF colour = colorRefFromPixel(snapshot().pixel(641, 361));
    QCOMPARE(info.ControlText(CSnapInfoDlg::IDC_RED),
             QString::asprintf("R: %.3d/%.2X", GetRValue(colour), GetRValue(colour)));
    // Every screen pixel of the 30 x 30 square becomes a block of the magnified picture.
    const QImage &magnified = info.Magnified();
    const QImage &surface = view()->Surface();
    QVERIFY(magnified.width() >= 60);
    for (int j = 0; j < 30; ++j) {
        for (int i = 0; i < 30; ++i) {
            const QPoint centre(int((i + 0.5) * magnified.width() / 30),
                                int((j + 0.5) * magnified.height() / 30));
            QCOMPARE(magnified.pixel(centre), surface.pixel(626 + i, 346 + j));
        }
    }
    // Near the top-left corner the window moves to the bottom-right.
    moveTo(20, 20);
    QTRY_COMPARE(info.m_rcInfo.right, 1920);
    QCOMPARE(info.m_rcInfo.bottom, 1080);
}

QTEST_MAIN(TestSelection)
#include "tst_selection.moc"
