#include "app/CMainFrame.h"
#include "app/CPravikApp.h"
#include "app/Resource.h"
#include "document/CPravikDoc.h"
#include "tests/support/AppSession.h"
#include "tests/support/ModalAnswerer.h"
#include "view/CPravikView.h"

#include <QDateTime>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The printed page: where the picture goes, the header's text, and a real page printed to PDF
// and read back as pixels.
class TestPrinting : public QObject {
    Q_OBJECT

private slots:
    void placement_data();
    void placement();
    void headerText();
    void previewLaysOutThePage();
    void pageToPdf_data();
    void pageToPdf();
};

void TestPrinting::placement_data()
{
    QTest::addColumn<QRect>("area"); // left, top, right, bottom as a QRect of corners
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QPoint>("dpi");
    QTest::addColumn<QSize>("printed");
    // A 600-dpi page 4800 wide: the usable width is 3600.
    const QRect page(QPoint(600, 700), QPoint(4200, 6000));
    QTest::newRow("too wide: fitted to the width")
        << page << QSize(640, 480) << QPoint(600, 600) << QSize(3600, 2700);
    QTest::newRow("fits: 100 pixels per inch")
        << page << QSize(300, 200) << QPoint(600, 600) << QSize(1800, 1200);
    QTest::newRow("too tall: fitted to the height")
        << page << QSize(100, 2000) << QPoint(600, 600) << QSize(265, 5300);
    QTest::newRow("too wide, then too tall")
        << page << QSize(1000, 2000) << QPoint(600, 600) << QSize(2650, 5300);
    QTest::newRow("resolutions differ: inches kept")
        << page << QSize(300, 200) << QPoint(600, 300) << QSize(1800, 600);
    QTest::newRow("29 pixels from 0: 28 wide")
        << QRect(QPoint(0, 0), QPoint(1000, 1000)) << QSize(29, 10) << QPoint(100, 100)
        << QSize(28, 10);
    QTest::newRow("29 pixels from 600: 29 wide")
        << QRect(QPoint(600, 0), QPoint(1600, 1000)) << QSize(29, 10) << QPoint(100, 100)
        << QSize(29, 10);
    QTest::newRow("exactly the width: not reduced")
        << page << QSize(600, 100) << QPoint(600, 600) << QSize(3600, 600);
}

void TestPrinting::placement()
{
    QFETCH(QRect, area);
    QFETCH(QSize, picture);
    QFETCH(QPoint, dpi);
    QFETCH(QSize, printed);
    const RECT r = {area.left(), area.top(), area.right(), area.bottom()};
    const RECT d =
        CPravikView::PrintPlacement(r, picture.width(), picture.height(), dpi.x(), dpi.y());
    QCOMPARE(QPoint(d.left, d.top), area.topLeft()); // the top-left corner of the usable area
    QCOMPARE(QSize(d.right - d.left, d.bottom - d.top), printed);
}

void TestPrinting::headerText()
{
    const QDateTime when(QDate(2008, 9, 2), QTime(14, 5, 9));
    QCOMPARE(CPravikView::PrintHeaderText(QStringLiteral("shot.png"), when),
             QStringLiteral("shot.png - [2008.09.02 14:05:09]"));
}

void TestPrinting::previewLaysOutThePage()
{
    QVERIFY(startApplication());
    CPravikDoc *doc = AfxGetApp()->m_pDoc;
    HDC screen = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 64, 48);
    DeleteDC(screen);
    doc->InstallImage(bitmap, {64, 48});
    doc->m_image.Attach(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0));
    AfxGetApp()->m_pMainWnd->UpdateCommandUI();
    ModalAnswerer answerer;
    AfxGetApp()->m_pMainWnd->OnCommand(ID_FILE_PRINT_PREVIEW);
    QCOMPARE(answerer.dialogTitles.size(), 1);
    // The preview drew the page through the same layout: margins of 600 printer pixels.
    QCOMPARE(AfxGetApp()->m_pView->m_rectDraw.left, 600);
    AfxGetApp()->ExitInstance();
}

void TestPrinting::pageToPdf_data()
{
    QTest::addColumn<bool>("readable");
    QTest::newRow("picture") << true;
    QTest::newRow("rows cannot be read: header and rule only") << false;
}

void TestPrinting::pageToPdf()
{
    QFETCH(bool, readable);
    QVERIFY(startApplication());
    CPravikDoc *doc = AfxGetApp()->m_pDoc;
    QImage picture(640, 480, QImage::Format_RGB32);
    picture.fill(QColor(0, 0, 255));
    HBITMAP bitmap = Bitmap::fromImage(picture, Bitmap::Kind::DeviceDependent);
    doc->InstallImage(bitmap, {640, 480});
    doc->m_image.Attach(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0));
    if (!readable)
        doc->m_sizeImage.cy += 1; // asks for a row the bitmap does not have

    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("page.pdf"));
    printer.setResolution(300);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(false);
    ModalAnswerer answerer;
    AfxGetApp()->m_pView->PrintPage(&printer);
    QCOMPARE(answerer.texts, readable ? QStringList() : QStringList{"error on print"});
    QCOMPARE(QProcess::execute("pdftoppm", {"-r", "300", "-png", "-singlefile",
                                            dir.filePath("page.pdf"), dir.filePath("page")}),
             0);
    const QImage page(dir.filePath("page.png"));
    QVERIFY(!page.isNull());
    // The printable area's corner on the rendered page.
    const QPoint origin = printer.pageLayout().paintRectPixels(300).topLeft();
    const RECT area = AfxGetApp()->m_pView->m_rectDraw;
    auto dark = [](QRgb p) { return qGray(p) < 128; };
    // The header text in its band, the rule across the usable width 200 above the area.
    bool text = false;
    for (int y = origin.y() + 350; y < origin.y() + area.top - 200; ++y)
        for (int x = origin.x() + 600; x < origin.x() + 1200 && !text; ++x)
            text = dark(page.pixel(x, y));
    QVERIFY(text);
    const int rule = origin.y() + area.top - 200;
    int ruled = 0;
    for (int x = origin.x() + 600; x < origin.x() + area.right; x += 10)
        ruled += dark(page.pixel(x, rule)) || dark(page.pixel(x, rule + 1)) ||
                 dark(page.pixel(x, rule - 1));
    QVERIFY(ruled > (area.right - 600) / 10 - 3);
    // The picture where the placement puts it (on A4 at 300 dpi, fitted to the usable width).
    const RECT d = CPravikView::PrintPlacement(area, 640, 480, 300, 300);
    QVERIFY(d.right - d.left < 1920);
    auto at = [&](int x, int y) { return page.pixel(origin + QPoint(x, y)); };
    const QRgb centre = at((d.left + d.right) / 2, (d.top + d.bottom) / 2);
    if (readable) {
        QVERIFY(qBlue(centre) > 200 && qRed(centre) < 50);
        QVERIFY(qBlue(at(d.right - 3, d.bottom - 3)) > 200);
        QCOMPARE(at(d.right + 3, (d.top + d.bottom) / 2), qRgb(255, 255, 255));
        QCOMPARE(at((d.left + d.right) / 2, d.bottom + 3), qRgb(255, 255, 255));
    } else {
        QCOMPARE(centre, qRgb(255, 255, 255));
    }
    AfxGetApp()->ExitInstance();
}

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
