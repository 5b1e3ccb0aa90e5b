#include "document/CPravikDoc.h"

#include <QTest>

// The document's picture state, its scroll size and the bitmap description used by the resize
// and by printing.
class TestDocument : public QObject {
    Q_OBJECT

private slots:
    void docSize_data();
    void docSize();
    void releaseImage();
    void newDocumentKeepsThePicture();
    void buildBitmapInfo_data();
    void buildBitmapInfo();
    void buildBitmapInfoOfARealBitmap();
};

// Installs a w x h picture the way a capture does: working bitmap in its own memory context,
// file image a separate copy, modified flag set.
static void install(CPravikDoc &doc, int w, int h)
{
    doc.m_hMemDC = CreateCompatibleDC(nullptr);
    doc.m_hBitmap = CreateCompatibleBitmap(doc.m_hMemDC, w, h);
    doc.m_hOldBitmap = SelectObject(doc.m_hMemDC, doc.m_hBitmap);
    doc.m_sizeImage = {w, h};
    doc.m_image.Attach(CopyImage(doc.m_hBitmap, IMAGE_BITMAP, 0, 0, 0));
    doc.m_bHasImage = TRUE;
    doc.SetModifiedFlag(TRUE);
}

void TestDocument::docSize_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("no picture yet") << QSize(0, 0) << QSize(1, 1);
    QTest::newRow("640 x 480") << QSize(640, 480) << QSize(662, 502);
    QTest::newRow("one pixel high") << QSize(300, 1) << QSize(322, 23);
    QTest::newRow("no width") << QSize(0, 7) << QSize(1, 29);
}

void TestDocument::docSize()
{
    QFETCH(QSize, picture);
    QFETCH(QSize, expected);
    CPravikDoc doc;
    doc.m_sizeImage = {picture.width(), picture.height()};
    const SIZE size = doc.GetDocSize();
    QCOMPARE(QSize(size.cx, size.cy), expected);
}

void TestDocument::releaseImage()
{
    CPravikDoc doc;
    // Nothing to release: nothing changes, the modified flag included.
    doc.SetModifiedFlag(TRUE);
    doc.ReleaseImage(TRUE);
    QVERIFY(doc.IsModified());

    install(doc, 40, 30);
    QVERIFY(HBITMAP(doc.m_image) != doc.m_hBitmap);
    doc.ReleaseImage(FALSE);
    QVERIFY(!doc.m_bHasImage);
    QVERIFY(!doc.IsModified());
    // The file image survives a release that spares it.
    QCOMPARE(doc.m_image.GetWidth(), 40);
    QCOMPARE(doc.m_image.GetHeight(), 30);

    install(doc, 5, 5);
    doc.ReleaseImage(TRUE);
    QVERIFY(doc.m_image.IsNull());
}

void TestDocument::newDocumentKeepsThePicture()
{
    CPravikDoc doc;
    install(doc, 8, 8);
    doc.SetTitle(QStringLiteral("/tmp/a.png"));
    QVERIFY(doc.OnNewDocument());
    QCOMPARE(doc.GetTitle(), QStringLiteral("Untitled"));
    QVERIFY(doc.GetPathName().isEmpty());
    QVERIFY(!doc.IsModified());
    QVERIFY(doc.m_bHasImage);
}

void TestDocument::buildBitmapInfo_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("colours");
    QTest::addColumn<int>("sizeImage");
    QTest::newRow("32-bit 100 x 50") << 32 << 100 << 50 << 0 << 20000;
    QTest::newRow("24-bit 101 x 10") << 24 << 101 << 10 << 0 << 3040;
    QTest::newRow("8-bit 10 x 10") << 8 << 10 << 10 << 256 << 120;
    QTest::newRow("1-bit 33 x 2") << 1 << 33 << 2 << 2 << 16;
    QTest::newRow("16-bit 3 x 3") << 16 << 3 << 3 << 65536 << 24;
}

void TestDocument::buildBitmapInfo()
{
    QFETCH(int, bits);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, colours);
    QFETCH(int, sizeImage);
    BITMAP bm{};
    bm.bmWidth = width;
    bm.bmHeight = height;
    bm.bmPlanes = 1;
    bm.bmBitsPixel = WORD(bits);
    BITMAPINFO *info = BuildBitmapInfo(bm);
    QVERIFY(info);
    const BITMAPINFOHEADER &h = info->bmiHeader;
    QCOMPARE(int(h.biSize), 40);
    QCOMPARE(h.biWidth, width);
    QCOMPARE(h.biHeight, height); // positive: rows bottom-up
    QCOMPARE(int(h.biBitCount), bits);
    QCOMPARE(int(h.biClrUsed), colours);
    QCOMPARE(int(h.biSizeImage), sizeImage);
    // The colour table follows the header, zero-filled.
    const auto *table = reinterpret_cast<const unsigned char *>(info->bmiColors);
    for (int i = 0; i < colours * 4; ++i)
        QCOMPARE(int(table[i]), 0);
    LocalFree(info);
}

void TestDocument::buildBitmapInfoOfARealBitmap()
{
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 100, 50);
    BITMAPINFO *info = BuildBitmapInfo(bitmap);
    QVERIFY(info);
    QCOMPARE(int(info->bmiHeader.biSizeImage), 20000);
    QCOMPARE(int(info->bmiHeader.biBitCount), 32);
    LocalFree(info);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

QTEST_MAIN(TestDocument)
#include "tst_document.moc"
