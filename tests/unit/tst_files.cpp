#include "app/CMainFrame.h"
#include "app/CPravikApp.h"
#include "app/Resource.h"
#include "document/CPravikDoc.h"
#include "platform/framework/FileDialog.h"
#include "tests/support/AppSession.h"
#include "tests/support/ModalAnswerer.h"

#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

// Saving and opening image files: formats by extension, round trips, failures that keep both
// the picture and any existing file.
class TestFiles : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(startApplication()); }
    void cleanup() { AfxGetApp()->ExitInstance(); }
    void roundTrips_data();
    void roundTrips();
    void formatFollowsTheExtension_data();
    void formatFollowsTheExtension();
    void failuresKeepTheExistingFile_data();
    void failuresKeepTheExistingFile();
    void largePngSpansManyChunks();
    void fullDiskKeepsTheExistingFile();
    void overwriteKeepsPermissions();
    void photoAsGifStaysClose();
    void badFilesKeepThePicture();
    void truncatedFilesOfEveryFormat_data();
    void truncatedFilesOfEveryFormat();
    void openFiltersMatchBothCases();
    void saveAsksOnlyWhenModified();
    void newCommandSavesToThePathName();

private:
    CPravikDoc *doc() const { return AfxGetApp()->m_pDoc; }
    void install(const QImage &picture);
};

static QImage pattern(int w, int h, int colours)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int i = (x * 7 + y * 13) % colours;
            image.setPixel(x, y, qRgb(i * 37 % 256, i * 91 % 256, i * 53 % 256));
        }
    return image;
}

void TestFiles::install(const QImage &picture)
{
    HBITMAP bitmap = Bitmap::fromImage(picture, Bitmap::Kind::DeviceDependent);
    doc()->ReleaseImage(TRUE);
    doc()->InstallImage(bitmap, {picture.width(), picture.height()});
    doc()->m_image.Attach(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0));
    doc()->SetModifiedFlag(TRUE);
}

void TestFiles::roundTrips_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("exact");
    QTest::newRow("bmp") << "shot.bmp" << true;
    QTest::newRow("png") << "shot.png" << true;
    QTest::newRow("tiff") << "shot.tif" << true;
    QTest::newRow("gif, few colours") << "shot.gif" << true;
    QTest::newRow("jpeg") << "shot.jpg" << false;
}

void TestFiles::roundTrips()
{
    QFETCH(QString, name);
    QFETCH(bool, exact);
    QTemporaryDir dir;
    const QImage picture = pattern(97, 61, 200);
    install(picture);
    const QString path = dir.filePath(name);
    QVERIFY(doc()->OnSaveDocument(path));
    QCOMPARE(doc()->GetTitle(), path);
    QCOMPARE(doc()->GetPathName(), path);
    QVERIFY(!doc()->IsModified());
    install(pattern(5, 5, 3));
    QVERIFY(doc()->OnOpenDocument(path));
    QCOMPARE(doc()->GetTitle(), path);
    const QImage back = doc()->m_hBitmap->image();
    QCOMPARE(back.size(), picture.size());
    if (exact) {
        QCOMPARE(back, picture);
    } else {
        QVERIFY(qAbs(qGray(back.pixel(40, 30)) - qGray(picture.pixel(40, 30))) < 60);
    }
}

void TestFiles::formatFollowsTheExtension_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("format");
    // The file's first bytes tell the format written.
    QTest::newRow("shot.JPG") << "shot.JPG" << QByteArray::fromHex("ffd8");
    QTest::newRow("shot.jpeg") << "shot.jpeg" << QByteArray::fromHex("ffd8");
    QTest::newRow("shot.Jfif") << "shot.Jfif" << QByteArray::fromHex("ffd8");
    QTest::newRow("shot.DIB") << "shot.DIB" << QByteArray("BM");
    QTest::newRow("shot.Gif") << "shot.Gif" << QByteArray("GIF8");
    QTest::newRow("shot.tiff") << "shot.tiff" << QByteArray("II*");
    QTest::newRow("shot.webp: no encoder") << "shot.webp" << QByteArray();
    QTest::newRow("no extension") << "shot" << QByteArray();
}

void TestFiles::formatFollowsTheExtension()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);
    QTemporaryDir dir;
    install(pattern(20, 10, 5));
    const QString path = dir.filePath(name);
    ModalAnswerer answerer;
    QCOMPARE(bool(doc()->OnSaveDocument(path)), !format.isEmpty());
    if (format.isEmpty()) {
        QCOMPARE(answerer.texts, QStringList{"Save image failed:\n80004005 - Unspecified error"});
        QVERIFY(!QFile::exists(path));
        QVERIFY(doc()->IsModified());
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(format.size()), format);
    }
}

void TestFiles::failuresKeepTheExistingFile_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("message");
    QTest::newRow("read-only folder") << "readonly"
                                      << "Save image failed:\n80070005 - Access is denied.";
    QTest::newRow("missing folder")
        << "missing"
        << "Save image failed:\n80070003 - The system cannot find the path specified.";
    QTest::newRow("a folder even root cannot write")
        << "/sys"
        << "Save image failed:\n80070005 - Access is denied.";
}

void TestFiles::failuresKeepTheExistingFile()
{
    QFETCH(QString, where);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QString path;
    QByteArray before;
    if (where == "readonly") {
        if (geteuid() == 0)
            QSKIP("root writes into read-only folders");
        path = dir.filePath("shot.png");
        QVERIFY(pattern(8, 8, 3).save(path));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        before = f.readAll();
        f.close();
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    } else if (where == "missing") {
        path = dir.filePath("nowhere/shot.png");
    } else {
        path = where + "/ondrava-shot.png";
    }
    install(pattern(30, 20, 9));
    ModalAnswerer answerer;
    QVERIFY(!doc()->OnSaveDocument(path));
    QCOMPARE(answerer.texts, QStringList{message});
    QVERIFY(doc()->IsModified());
    if (!before.isEmpty()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

void TestFiles::largePngSpansManyChunks()
{
    // Noise barely compresses: the image data runs over many chunks.
    QImage noise(700, 500, QImage::Format_RGB32);
    quint32 seed = 12345;
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 700; ++x) {
            seed = seed * 1664525u + 1013904223u;
            noise.setPixel(x, y, 0xFF000000u | (seed >> 8));
        }
    install(noise);
    QTemporaryDir dir;
    const QString path = dir.filePath("noise.png");
    QVERIFY(doc()->OnSaveDocument(path));
    QVERIFY(QFile(path).size() > 1000000);
    QCOMPARE(QImage(path).convertToFormat(QImage::Format_RGB32), noise);
}

void TestFiles::fullDiskKeepsTheExistingFile()
{
    // A 64 KiB file system holding a small picture; the new one does not fit beside it.
    QTemporaryDir dir;
    if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", dir.path()}) != 0)
        QSKIP("mounting a small file system needs root");
    const QString path = dir.filePath("shot.bmp");
    install(pattern(16, 16, 4));
    QVERIFY(doc()->OnSaveDocument(path));
    QFile before(path);
    QVERIFY(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    before.close();
    install(pattern(400, 300, 200)); // 360 KB as BMP
    ModalAnswerer answerer;
    const BOOL saved = doc()->OnSaveDocument(path);
    QFile after(path);
    QVERIFY(after.open(QIODevice::ReadOnly));
    const QByteArray still = after.readAll();
    after.close();
    QProcess::execute("umount", {dir.path()});
    QVERIFY(!saved);
    QCOMPARE(answerer.texts,
             QStringList{"Save image failed:\n80070070 - There is not enough space on the disk."});
    QCOMPARE(still, bytes);
    QVERIFY(doc()->IsModified());
}

void TestFiles::overwriteKeepsPermissions()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("shared.png");
    QVERIFY(pattern(8, 8, 3).save(path));
    const auto permissions =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    QVERIFY(QFile::setPermissions(path, permissions));
    install(pattern(40, 30, 7));
    QVERIFY(doc()->OnSaveDocument(path));
    const auto relevant = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                          QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                          QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    QCOMPARE(QFile::permissions(path) & relevant, permissions);
    QCOMPARE(QImage(path).size(), QSize(40, 30));
}

void TestFiles::photoAsGifStaysClose()
{
    // A smooth gradient has thousands of colours: it is reduced and dithered, not posterised.
    QImage photo(128, 96, QImage::Format_RGB32);
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 128; ++x)
            photo.setPixel(x, y, qRgb(x * 2, y * 2, (x + y) % 256));
    install(photo);
    QTemporaryDir dir;
    const QString path = dir.filePath("photo.gif");
    QVERIFY(doc()->OnSaveDocument(path));
    const QImage back = QImage(path).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(back.size(), photo.size());
    // Averaged over 8 x 8 blocks the dithered picture is within a few levels of the original.
    for (int by = 0; by < 96; by += 8) {
        for (int bx = 0; bx < 128; bx += 8) {
            int diff = 0;
            for (int y = by; y < by + 8; ++y)
                for (int x = bx; x < bx + 8; ++x)
                    diff += qGreen(back.pixel(x, y)) - qGreen(photo.pixel(x, y));
            QVERIFY(qAbs(diff / 64) <= 8);
        }
    }
}

void TestFiles::badFilesKeepThePicture()
{
    QTemporaryDir dir;
    const QString good = dir.filePath("good.png");
    install(pattern(16, 16, 4));
    QVERIFY(doc()->OnSaveDocument(good));
    const QImage shown = doc()->m_hBitmap->image();
    // A damaged file, and a PNG header that claims 100000 x 100000 pixels.
    QFile damaged(dir.filePath("damaged.png"));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    QFile source(good);
    QVERIFY(source.open(QIODevice::ReadOnly));
    damaged.write(source.readAll().left(60));
    damaged.close();
    QByteArray huge =
        QByteArray::fromHex("89504e470d0a1a0a0000000d49484452000186a0000186a00806000000");
    huge += QByteArray(4, '\0');
    QFile giant(dir.filePath("giant.png"));
    QVERIFY(giant.open(QIODevice::WriteOnly));
    giant.write(huge);
    giant.close();
    for (const QString &bad : {damaged.fileName(), giant.fileName()}) {
        ModalAnswerer answerer;
        QVERIFY(!doc()->OnOpenDocument(bad));
        QCOMPARE(answerer.texts,
                 QStringList{QStringLiteral("%1 cannot be opened as an image.").arg(bad)});
        QCOMPARE(doc()->m_hBitmap->image(), shown);
        QCOMPARE(doc()->GetPathName(), good);
        QCOMPARE(doc()->GetTitle(), good);
    }
}

void TestFiles::truncatedFilesOfEveryFormat_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"cut.bmp", "cut.png", "cut.gif", "cut.jpg", "cut.tif"})
        QTest::newRow(name) << name;
}

void TestFiles::truncatedFilesOfEveryFormat()
{
    // Cut to its first 40 bytes, no file of any format still holds a picture.
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    install(pattern(64, 48, 50));
    QVERIFY(doc()->OnSaveDocument(path));
    const QImage shown = doc()->m_hBitmap->image();
    QFile file(path);
    QVERIFY(file.resize(40));
    ModalAnswerer answerer;
    QVERIFY(!doc()->OnOpenDocument(path));
    QCOMPARE(answerer.texts,
             QStringList{QStringLiteral("%1 cannot be opened as an image.").arg(path)});
    QCOMPARE(doc()->m_hBitmap->image(), shown);
    QVERIFY(!doc()->IsModified());
}

void TestFiles::openFiltersMatchBothCases()
{
    const QStringList filters = FileDialog::nameFilters(
        QStringLiteral("GIF(*.GIF)|*.GIF|BMP(*.BMP;*.DIB;*.RLE)|*.BMP;*.DIB;*.RLE||"));
    QCOMPARE(filters,
             (QStringList{"GIF(*.GIF) (*.gif *.GIF)",
                          "BMP(*.BMP;*.DIB;*.RLE) (*.bmp *.BMP *.dib *.DIB *.rle *.RLE)"}));
}

void TestFiles::saveAsksOnlyWhenModified()
{
    install(pattern(4, 4, 2));
    doc()->SetModifiedFlag(FALSE);
    ModalAnswerer answerer;
    doc()->OnFileSave();
    QVERIFY(answerer.dialogTitles.isEmpty());
    doc()->SetModifiedFlag(TRUE);
    doc()->OnFileSave(); // the dialog comes; cancelled, the picture stays unsaved
    QCOMPARE(answerer.dialogTitles.size(), 1);
    QVERIFY(doc()->IsModified());
}

void TestFiles::newCommandSavesToThePathName()
{
    // A picture opened from a writable file, then changed: New asks, and Yes writes the file
    // back without a dialog.
    QTemporaryDir dir;
    const QString path = dir.filePath("shot.png");
    QVERIFY(pattern(10, 10, 3).save(path));
    QVERIFY(doc()->OnOpenDocument(path));
    install(pattern(30, 20, 9));
    ModalAnswerer answerer({QMessageBox::Yes});
    AfxGetApp()->m_pMainWnd->OnCommand(ID_FILE_NEW);
    QCOMPARE(answerer.texts, QStringList{QStringLiteral("Save changes to %1?").arg(path)});
    QVERIFY(answerer.dialogTitles.isEmpty());
    QCOMPARE(QImage(path).size(), QSize(30, 20));
    QCOMPARE(doc()->GetTitle(), QStringLiteral("Untitled"));
    QVERIFY(!doc()->IsModified());
}

QTEST_MAIN(TestFiles)
#include "tst_files.moc"
