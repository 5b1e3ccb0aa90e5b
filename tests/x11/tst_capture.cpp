#include "app/CMainFrame.h"
#include "app/CPravikApp.h"
#include "app/Resource.h"
#include "capture/CScreenCapture.h"
#include "document/CPravikDoc.h"
#include "platform/x11/X11Connection.h"
#include "tests/support/AppSession.h"
#include "tests/support/RootPattern.h"

#include <QMenuBar>
#include <QPainter>
#include <QProcess>
#include <QTest>
#include <QToolBar>
#include <QWidget>

// Grabs and the capture flow on a real X server with a window manager, over a root window that
// shows a known pattern.
class TestCapture : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void desktopEqualsThePattern();
    void rectBetweenCornersInAnyOrder();
    void foregroundWindowWithItsFrame();
    void hotkeysCaptureWhileAnotherWindowHasTheFocus();
    void regionCaptureMode();
    void cursorIsDrawnIntoTheSnapshot();

private:
    void startApp();
    CMainFrame *frame() const { return AfxGetApp()->m_pMainWnd; }
    CPravikDoc *doc() const { return AfxGetApp()->m_pDoc; }
};

static QImage imageOf(HBITMAP bitmap)
{
    return bitmap->image();
}

static void xdotool(const QStringList &arguments)
{
    QCOMPARE(QProcess::execute("xdotool", arguments), 0);
}

void TestCapture::initTestCase()
{
    RootPattern::paint(x11Connection());
    xdotool({"mousemove", "1900", "1060"});
}

void TestCapture::desktopEqualsThePattern()
{
    CScreenCapture capture;
    SIZE size = {-1, -1};
    HBITMAP desktop = capture.CaptureDesktop(size);
    QVERIFY(desktop);
    QCOMPARE(size.cx, 1920);
    QCOMPARE(size.cy, 1080);
    // The pointer's corner is left out: the X server does not draw the cursor into grabs.
    QCOMPARE(imageOf(desktop), RootPattern::image(1920, 1080));
    DeleteObject(desktop);
}

void TestCapture::rectBetweenCornersInAnyOrder()
{
    HDC source = CreateCompatibleDC(nullptr);
    HBITMAP pattern =
        Bitmap::fromImage(RootPattern::image(200, 100), Bitmap::Kind::DeviceDependent);
    HGDIOBJ old = SelectObject(source, pattern);
    CScreenCapture capture;
    const QImage expected = RootPattern::image(200, 100).copy(10, 20, 100, 50);
    const int x1 = 10, y1 = 20, x2 = 110, y2 = 70;
    const int orders[4][4] = {
        {x1, y1, x2, y2}, {x2, y2, x1, y1}, {x1, y2, x2, y1}, {x2, y1, x1, y2}};
    for (const auto &o : orders) {
        SIZE size = {0, 0};
        HBITMAP cut = capture.CaptureRect(source, o[0], o[1], o[2], o[3], size);
        QVERIFY(cut);
        QCOMPARE(size.cx, 100);
        QCOMPARE(size.cy, 50);
        QCOMPARE(imageOf(cut), expected);
        QCOMPARE(imageOf(cut).pixel(99, 49), RootPattern::pixel(109, 69));
        DeleteObject(cut);
    }
    // Corners in one column: nothing to cut, and the size stays as it was.
    SIZE untouched = {7, 7};
    QCOMPARE(capture.CaptureRect(source, 10, 20, 10, 70, untouched), nullptr);
    QCOMPARE(untouched.cx, 7);
    SelectObject(source, old);
    DeleteObject(pattern);
    DeleteDC(source);
}

void TestCapture::foregroundWindowWithItsFrame()
{
    QWidget window;
    window.setWindowTitle(QStringLiteral("capture me"));
    window.setFixedSize(300, 200);
    window.setAutoFillBackground(true);
    window.setPalette(QPalette(QColor(10, 200, 30)));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTRY_COMPARE(GetForegroundWindow(), WindowId(window.winId()));
    QTest::qWait(100); // let the frame and the client finish painting

    CScreenCapture capture;
    SIZE size = {0, 0};
    HBITMAP whole = capture.CaptureForegroundWindow(size, FALSE);
    QVERIFY(whole);
    // The window manager's frame adds a caption and borders around the 300 x 200 client area.
    QVERIFY(size.cx > 300 && size.cy > 200);
    RECT frameRect;
    QVERIFY(GetWindowRect(WindowId(window.winId()), &frameRect));
    QCOMPARE(size.cx, frameRect.right - frameRect.left);
    const QPoint clientOffset =
        window.mapToGlobal(QPoint(0, 0)) - QPoint(frameRect.left, frameRect.top);
    const QImage client = imageOf(whole).copy(QRect(clientOffset, QSize(300, 200)));
    QImage green(300, 200, QImage::Format_RGB32);
    green.fill(QColor(10, 200, 30));
    QCOMPARE(client, green);
    DeleteObject(whole);

    HBITMAP inside = capture.CaptureForegroundWindow(size, TRUE);
    QVERIFY(inside);
    QCOMPARE(size.cx, 300);
    QCOMPARE(size.cy, 200);
    QCOMPARE(imageOf(inside), green);
    DeleteObject(inside);
}

void TestCapture::startApp()
{
    QVERIFY(startApplication());
    QVERIFY(QTest::qWaitForWindowExposed(frame()));
}

void TestCapture::hotkeysCaptureWhileAnotherWindowHasTheFocus()
{
    startApp();
    QWidget other;
    other.setWindowTitle(QStringLiteral("in front"));
    other.setFixedSize(320, 240);
    other.show();
    QVERIFY(QTest::qWaitForWindowActive(&other));

    xdotool({"key", "ctrl+shift+8"});
    QTRY_VERIFY(doc()->m_bHasImage);
    QCOMPARE(doc()->m_sizeImage.cx, 1920);
    QCOMPARE(doc()->m_sizeImage.cy, 1080);
    QVERIFY(doc()->IsModified());
    QVERIFY(HBITMAP(doc()->m_image) != doc()->m_hBitmap);
    QCOMPARE(doc()->m_image.GetWidth(), 1920);
    QTRY_VERIFY(frame()->isVisible());

    // The window in front is the one taken, with its frame.
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    RECT otherFrame;
    QVERIFY(GetWindowRect(WindowId(other.winId()), &otherFrame));
    xdotool({"key", "ctrl+shift+9"});
    QTRY_COMPARE(doc()->m_sizeImage.cx, otherFrame.right - otherFrame.left);
    QCOMPARE(doc()->m_sizeImage.cy, otherFrame.bottom - otherFrame.top);
    QVERIFY(doc()->IsModified());
    AfxGetApp()->ExitInstance();
}

void TestCapture::regionCaptureMode()
{
    startApp();
    // A toolbar hidden before the capture is visible after it.
    frame()->CommandAction(ID_VIEW_TOOLBAR)->trigger();
    QVERIFY(frame()->ToolBar()->isHidden());
    xdotool({"key", "ctrl+shift+0"});
    QTRY_VERIFY(frame()->m_bCaptureMode);
    QVERIFY(doc()->m_bHasImage);
    QVERIFY(!doc()->IsModified());
    QVERIFY(doc()->m_image.IsNull()); // nothing to go back to
    QCOMPARE(doc()->m_sizeImage.cx, 1920);
    QTRY_VERIFY(frame()->isVisible());
    QTRY_COMPARE(frame()->frameGeometry(), QRect(0, 0, 1920, 1080));
    QVERIFY(frame()->menuBar()->isHidden());

    // The region key again changes nothing; the desktop key replaces the snapshot and stays.
    HBITMAP snapshot = doc()->m_hBitmap;
    xdotool({"key", "ctrl+shift+0"});
    QTest::qWait(300);
    QCOMPARE(doc()->m_hBitmap, snapshot);
    xdotool({"key", "ctrl+shift+8"});
    QTRY_VERIFY(doc()->m_hBitmap != snapshot);
    QVERIFY(doc()->IsModified());
    QVERIFY(frame()->m_bCaptureMode);

    QVERIFY(frame()->LeaveCaptureMode());
    QVERIFY(!frame()->m_bCaptureMode);
    QTRY_VERIFY(frame()->isVisible());
    QVERIFY(!frame()->ToolBar()->isHidden());
    QVERIFY(!frame()->menuBar()->isHidden());
    QVERIFY(!(frame()->windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(frame()->LeaveCaptureMode()); // outside capture mode: nothing
    AfxGetApp()->ExitInstance();
}

void TestCapture::cursorIsDrawnIntoTheSnapshot()
{
    startApp();
    xdotool({"mousemove", "500", "400"});
    const QImage cursor = GetCursorImage();
    QVERIFY(!cursor.isNull());
    xdotool({"key", "ctrl+shift+0"});
    QTRY_VERIFY(frame()->m_bCaptureMode);
    // The pattern with the cursor's image blended over it, top-left 10 pixels up and left of
    // the pointer.
    QImage expected = RootPattern::image(1920, 1080);
    QPainter(&expected).drawImage(490, 390, cursor);
    const QRect around(480, 380, 80, 80);
    QCOMPARE(imageOf(doc()->m_hBitmap).copy(around), expected.copy(around));
    QVERIFY(expected.copy(around) != RootPattern::image(1920, 1080).copy(around));
    frame()->LeaveCaptureMode();
    AfxGetApp()->ExitInstance();
    xdotool({"mousemove", "1900", "1060"});
}

QTEST_MAIN(TestCapture)
#include "tst_capture.moc"
