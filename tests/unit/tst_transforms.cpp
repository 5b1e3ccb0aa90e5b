#include "app/CMainFrame.h"
#include "app/CPravikApp.h"
#include "app/Resource.h"
#include "document/CPravikDoc.h"
#include "tests/support/AppSession.h"
#include "tests/support/ModalAnswerer.h"

#include <QTest>

// Rotations, flips and the resize on the document, as the image commands run them.
class TestTransforms : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(startApplication()); }
    void cleanup() { AfxGetApp()->ExitInstance(); }
    void lettersTable_data();
    void lettersTable();
    void compositionsAreIdentities();
    void onePixelHighPicture();
    void resizeKeepsTheContextAndTheEdges();
    void resizeDialogConfirmedUnchangedDoesNothing();

private:
    CPravikDoc *doc() const { return AfxGetApp()->m_pDoc; }
    void install(const QImage &picture);
    QImage picture() const { return doc()->m_hBitmap->image(); }
};

void TestTransforms::install(const QImage &image)
{
    HBITMAP bitmap = Bitmap::fromImage(image, Bitmap::Kind::DibSection);
    doc()->InstallImage(bitmap, {image.width(), image.height()});
    doc()->m_image.Attach(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0));
    doc()->SetModifiedFlag(FALSE);
}

static QImage letters(const char *rows)
{
    const QStringList lines = QString::fromLatin1(rows).split('/');
    QImage image(lines[0].size(), lines.size(), QImage::Format_RGB32);
    for (int y = 0; y < lines.size(); ++y)
        for (int x = 0; x < lines[y].size(); ++x)
            image.setPixel(x, y, qRgb(lines[y][x].toLatin1(), 0, 0));
    return image;
}

void TestTransforms::lettersTable_data()
{
    QTest::addColumn<unsigned>("command");
    QTest::addColumn<QString>("expected");
    QTest::newRow("rotate left") << ID_IMAGE_ROTATE_LEFT << "CF/BE/AD";
    QTest::newRow("rotate right") << ID_IMAGE_ROTATE_RIGHT << "DA/EB/FC";
    QTest::newRow("flip vertical") << ID_IMAGE_FLIP_VERTICAL << "DEF/ABC";
    QTest::newRow("flip horizontal") << ID_IMAGE_FLIP_HORIZONTAL << "CBA/FED";
}

void TestTransforms::lettersTable()
{
    QFETCH(unsigned, command);
    QFETCH(QString, expected);
    install(letters("ABC/DEF"));
    HDC before = doc()->m_hMemDC;
    AfxGetApp()->m_pMainWnd->OnCommand(command);
    const QImage want = letters(qPrintable(expected));
    QCOMPARE(picture(), want);
    QCOMPARE(QSize(doc()->m_sizeImage.cx, doc()->m_sizeImage.cy), want.size());
    // The file image follows as a copy of its own, and the picture is now unsaved.
    QCOMPARE(doc()->m_image.GetWidth(), want.width());
    QVERIFY(HBITMAP(doc()->m_image) != doc()->m_hBitmap);
    QCOMPARE(HBITMAP(doc()->m_image)->image(), want);
    QVERIFY(doc()->IsModified());
    QVERIFY(doc()->m_hMemDC != before); // rotations and flips bring a new memory context
}

void TestTransforms::compositionsAreIdentities()
{
    QImage original(37, 23, QImage::Format_RGB32);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x)
            original.setPixel(x, y, qRgb(x * 7, y * 11, (x ^ y) * 3));
    install(original);
    doc()->RotateLeft();
    doc()->RotateRight();
    QCOMPARE(picture(), original);
    for (int i = 0; i < 4; ++i)
        doc()->RotateLeft();
    QCOMPARE(picture(), original);
    doc()->FlipVertical();
    doc()->FlipVertical();
    doc()->FlipHorizontal();
    doc()->FlipHorizontal();
    QCOMPARE(picture(), original);
}

void TestTransforms::onePixelHighPicture()
{
    install(letters("ABCDE"));
    doc()->RotateRight();
    QCOMPARE(picture(), letters("A/B/C/D/E"));
    QCOMPARE(doc()->GetDocSize().cx, 23);
    QCOMPARE(doc()->GetDocSize().cy, 27);
}

void TestTransforms::resizeKeepsTheContextAndTheEdges()
{
    // White, with a red top row and a blue bottom row.
    QImage image(640, 480, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int x = 0; x < 640; ++x) {
        image.setPixel(x, 0, qRgb(255, 0, 0));
        image.setPixel(x, 479, qRgb(0, 0, 255));
    }
    install(image);
    HDC before = doc()->m_hMemDC;
    QVERIFY(doc()->ResizeImage(320, 240));
    QCOMPARE(doc()->m_hMemDC, before); // the resize keeps its memory context
    QCOMPARE(picture().size(), QSize(320, 240));
    QCOMPARE(doc()->m_image.GetWidth(), 320); // the next dialog opens with the new size
    QCOMPARE(doc()->m_image.GetHeight(), 240);
    QVERIFY(doc()->IsModified());
    QVERIFY(qRed(picture().pixel(100, 0)) > 200 && qBlue(picture().pixel(100, 0)) < 200);
    QVERIFY(qBlue(picture().pixel(100, 239)) > 200 && qRed(picture().pixel(100, 239)) < 200);
    QCOMPARE(picture().pixel(100, 120), qRgb(255, 255, 255));
}

void TestTransforms::resizeDialogConfirmedUnchangedDoesNothing()
{
    install(letters("ABC/DEF"));
    const HBITMAP bitmap = doc()->m_hBitmap;
    {
        // The dialog opens with 3 x 2; OK as it is.
        QTimer::singleShot(100, [] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                dialog->accept();
        });
        AfxGetApp()->m_pMainWnd->OnCommand(ID_IMAGE_RESIZE);
    }
    QCOMPARE(doc()->m_hBitmap, bitmap);
    QVERIFY(!doc()->IsModified());
}

QTEST_MAIN(TestTransforms)
#include "tst_transforms.moc"
