#include "app/CMainFrame.h"
#include "app/CPravikApp.h"
#include "document/CPravikDoc.h"
#include "tests/support/ModalAnswerer.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// Start-up with a file named on the command line, and the options the program answers without
// opening a window.
class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void answersOptionsWithoutADisplay_data();
    void answersOptionsWithoutADisplay();
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

void TestCommandLine::answersOptionsWithoutADisplay_data()
{
    const QString usage = "Usage: ondrava [OPTION]... [FILE]\n";
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::newRow("--version") << QStringList{"--version"} << 0 << "ondrava 1.2\n"
                               << "";
    QTest::newRow("--help") << QStringList{"--help"} << 0 << usage << "";
    QTest::newRow("-h, after a file") << QStringList{"shot.png", "-h"} << 0 << usage << "";
    QTest::newRow("unknown") << QStringList{"--bogus"} << 2 << ""
                             << "ondrava: unrecognized option '--bogus'\n" + usage;
    QTest::newRow("unknown, before --version") << QStringList{"-x", "--version"} << 2 << ""
                                               << "ondrava: unrecognized option '-x'\n" + usage;
}

// With neither a display nor Qt's offscreen platform, opening any window would fail the run.
void TestCommandLine::answersOptionsWithoutADisplay()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QProcess ondrava;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    ondrava.setProcessEnvironment(environment);
    ondrava.start(ONDRAVA_BINARY, arguments);
    QVERIFY(ondrava.waitForFinished());
    QCOMPARE(ondrava.exitStatus(), QProcess::NormalExit);
    QCOMPARE(ondrava.exitCode(), exitCode);
    const QString standardOut = QString::fromUtf8(ondrava.readAllStandardOutput());
    if (out.isEmpty())
        QCOMPARE(standardOut, QString());
    else
        QVERIFY2(standardOut.startsWith(out), qPrintable(standardOut));
    QCOMPARE(QString::fromUtf8(ondrava.readAllStandardError()), err);
}

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
