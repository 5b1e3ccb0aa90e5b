#include "app/CMainFrame.h"
#include "app/CPravikApp.h"
#include "app/Resource.h"
#include "document/CPravikDoc.h"
#include "tests/support/AppSession.h"
#include "view/CPravikView.h"

#include <QLabel>
#include <QScrollBar>
#include <QTest>

// The view outside capture mode, read from its surface: grey background, the picture at
// (10, 10), its red frame with the one-pixel gap, the size pane and scrolling.
class TestView : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void noPictureIsGreyOnly();
    void pictureFrameAndGap();
    void emptyPictureShowsATinyFrame();
    void scrollingMovesEverything();

private:
    CPravikView *view() const { return AfxGetApp()->m_pView; }
    CPravikDoc *doc() const { return AfxGetApp()->m_pDoc; }
    // Installs a w x h picture of distinct pixels, as an opened file would be.
    void install(int w, int h);
    // Erases and draws the whole view now.
    void repaint();
};

static QRgb patternPixel(int x, int y)
{
    return qRgb(x & 0xFF, y & 0xFF, 0x40 | (x >> 8) << 2 | y >> 8);
}

static const QRgb kGrey = qRgb(100, 100, 100);
static const QRgb kRed = qRgb(255, 0, 0);

void TestView::init()
{
    QVERIFY(startApplication());
    AfxGetApp()->m_pMainWnd->resize(900, 700);
    QVERIFY(QTest::qWaitForWindowExposed(AfxGetApp()->m_pMainWnd));
}

void TestView::cleanup()
{
    AfxGetApp()->ExitInstance();
}

void TestView::install(int w, int h)
{
    QImage picture(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.setPixel(x, y, patternPixel(x, y));
    HBITMAP bitmap = Bitmap::fromImage(picture, Bitmap::Kind::DibSection);
    doc()->InstallImage(bitmap, {w, h});
    doc()->m_image.Attach(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0));
}

void TestView::repaint()
{
    // The first paint sets the scroll sizes, which may bring scroll bars and a smaller view.
    for (int i = 0; i < 2; ++i) {
        view()->InvalidateRect(nullptr, TRUE);
        view()->viewport()->repaint();
        QCoreApplication::processEvents();
    }
}

void TestView::noPictureIsGreyOnly()
{
    repaint();
    const QImage &s = view()->Surface();
    for (const QPoint p : {QPoint(0, 0), QPoint(10, 10), QPoint(s.width() - 1, s.height() - 1)})
        QCOMPARE(s.pixel(p), kGrey);
    QCOMPARE(AfxGetApp()->m_pMainWnd->Pane(ID_INDICATOR_IMAGESIZE)->text(),
             QStringLiteral("没有数据　　"));
}

void TestView::pictureFrameAndGap()
{
    install(640, 480);
    repaint();
    const QImage &s = view()->Surface();
    QVERIFY(s.width() > 700 && s.height() > 500);
    // Background around, picture inside the frame lines.
    QCOMPARE(s.pixel(9, 9), kGrey);
    QCOMPARE(s.pixel(5, 300), kGrey);
    for (const QPoint p : {QPoint(1, 1), QPoint(320, 240), QPoint(638, 478), QPoint(639, 1)})
        QCOMPARE(s.pixel(p + QPoint(10, 10)), patternPixel(p.x(), p.y()));
    // The frame: top and left over the picture's first row and column, right at cx + 11,
    // bottom at cy + 11; the column cx + 10 and the row cy + 10 stay grey.
    for (int x = 10; x <= 651; ++x) {
        QCOMPARE(s.pixel(x, 10), kRed);
        QCOMPARE(s.pixel(x, 491), kRed);
    }
    for (int y = 10; y <= 491; ++y) {
        QCOMPARE(s.pixel(10, y), kRed);
        QCOMPARE(s.pixel(651, y), kRed);
    }
    for (int y = 11; y <= 490; ++y)
        QCOMPARE(s.pixel(650, y), kGrey);
    for (int x = 11; x <= 650; ++x)
        QCOMPARE(s.pixel(x, 490), kGrey);
    QCOMPARE(s.pixel(652, 300), kGrey);
    QCOMPARE(s.pixel(300, 492), kGrey);
    QCOMPARE(AfxGetApp()->m_pMainWnd->Pane(ID_INDICATOR_IMAGESIZE)->text(),
             QStringLiteral("640 x 480"));
}

void TestView::emptyPictureShowsATinyFrame()
{
    // A document holding a 0 x 0 picture, as a rejected file would leave it.
    HDC screen = CreateCompatibleDC(nullptr);
    doc()->InstallImage(CreateCompatibleBitmap(screen, 1, 1), {0, 0});
    DeleteDC(screen);
    repaint();
    const QImage &s = view()->Surface();
    for (const QPoint p : {QPoint(10, 10), QPoint(11, 10), QPoint(10, 11), QPoint(11, 11)})
        QCOMPARE(s.pixel(p), kRed);
    for (const QPoint p : {QPoint(12, 10), QPoint(10, 12), QPoint(9, 9)})
        QCOMPARE(s.pixel(p), kGrey);
    QCOMPARE(AfxGetApp()->m_pMainWnd->Pane(ID_INDICATOR_IMAGESIZE)->text(),
             QStringLiteral("0 x 0"));
    QCOMPARE(view()->horizontalScrollBar()->maximum(), 0);
}

void TestView::scrollingMovesEverything()
{
    install(1500, 1200);
    repaint();
    const QImage before = view()->Surface().copy();
    // The scroll area is the picture plus 22 each way; bars reach exactly its end.
    QCOMPARE(view()->horizontalScrollBar()->maximum(), 1522 - before.width());
    QCOMPARE(view()->verticalScrollBar()->maximum(), 1222 - before.height());
    QCOMPARE(view()->horizontalScrollBar()->pageStep(), 152);
    view()->horizontalScrollBar()->setValue(100);
    view()->verticalScrollBar()->setValue(50);
    view()->viewport()->repaint();
    const QImage &after = view()->Surface();
    for (const QPoint p : {QPoint(200, 100), QPoint(105, 55), QPoint(400, 300)})
        QCOMPARE(after.pixel(p - QPoint(100, 50)), before.pixel(p));
}

QTEST_MAIN(TestView)
#include "tst_view.moc"
