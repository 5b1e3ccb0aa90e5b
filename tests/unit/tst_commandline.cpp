#include "app/CMainFrame.h"
#include "app/CPravikApp.h"
#include "document/CPravikDoc.h"
#include "tests/support/ModalAnswerer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Start-up with a file named on the command line.
class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void opensThePictureTitledByItsName();
    void refusesWhatIsNoPicture_data();
    void refusesWhatIsNoPicture();

private:
    static bool start(const QString &path)
    {
        QByteArray name("ondrava"), file = path.toLocal8Bit();
        char *argv[] = {name.data(), file.data(), nullptr};
        int argc = 2;
        return AfxGetApp()->InitInstance(argc, argv);
    }
};

void TestCommandLine::opensThePictureTitledByItsName()
{
    QTemporaryDir dir;
    QImage picture(7, 5, QImage::Format_RGB32);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            picture.setPixel(x, y, qRgb(x * 30, y * 40, 99));
    // A PNG under a JPEG's name: the content decides.
    const QString path = dir.filePath("shot.jpg");
    QVERIFY(picture.save(path, "PNG"));
    QVERIFY(start(path));
    CPravikDoc *doc = AfxGetApp()->m_pDoc;
    QCOMPARE(doc->GetTitle(), QStringLiteral("shot.jpg"));
    QCOMPARE(doc->GetPathName(), path);
    QVERIFY(!doc->IsModified());
    QCOMPARE(doc->m_hBitmap->image(), picture);
    QVERIFY(HBITMAP(doc->m_image) != doc->m_hBitmap);
    QCOMPARE(AfxGetApp()->m_pMainWnd->windowTitle(), QStringLiteral("shot.jpg - Ondrava"));
    AfxGetApp()->ExitInstance();
}

void TestCommandLine::refusesWhatIsNoPicture_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QTest::newRow("not an image") << "notes.png" << QByteArray("just text")
                                  << "%1 cannot be opened as an image.";
    QTest::newRow("truncated PNG") << "cut.png" << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)
                                   << "%1 cannot be opened as an image.";
    QTest::newRow("missing") << "gone.png" << QByteArray() << "%1 was not found.";
}

void TestCommandLine::refusesWhatIsNoPicture()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (!content.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    ModalAnswerer answerer;
    QVERIFY(!start(path));
    QCOMPARE(answerer.texts, QStringList{message.arg(path)});
    AfxGetApp()->ExitInstance();
}

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
