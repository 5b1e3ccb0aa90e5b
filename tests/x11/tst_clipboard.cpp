#include "app/CMainFrame.h"
#include "app/CPravikApp.h"
#include "app/Resource.h"
#include "document/CPravikDoc.h"
#include "tests/support/AppSession.h"

#include <QClipboard>
#include <QProcess>
#include <QTest>

// Copy puts the picture on the X clipboard, where other programs (xclip here) read it as PNG or
// BMP, unchanged by later edits, and still there once the program has gone.
class TestClipboard : public QObject {
    Q_OBJECT

private slots:
    void copiedPictureOutlivesEditsAndTheProgram();
};

// What another program pastes, as `target`; read while this process keeps answering.
static QImage paste(const char *target)
{
    QProcess xclip;
    xclip.start("xclip", {"-selection", "clipboard", "-t", target, "-o"});
    QByteArray bytes;
    while (xclip.state() != QProcess::NotRunning || xclip.bytesAvailable()) {
        QCoreApplication::processEvents();
        xclip.waitForReadyRead(20);
        bytes += xclip.readAllStandardOutput();
    }
    return QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32);
}

void TestClipboard::copiedPictureOutlivesEditsAndTheProgram()
{
    QVERIFY(startApplication());
    CPravikDoc *doc = AfxGetApp()->m_pDoc;
    QImage picture(60, 40, QImage::Format_RGB32);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            picture.setPixel(x, y, qRgb(x * 4, y * 6, 77));
    HBITMAP bitmap = Bitmap::fromImage(picture, Bitmap::Kind::DeviceDependent);
    doc->InstallImage(bitmap, {60, 40});
    doc->m_image.Attach(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0));
    AfxGetApp()->m_pMainWnd->UpdateCommandUI();
    AfxGetApp()->m_pMainWnd->OnCommand(ID_EDIT_COPY);
    QCOMPARE(paste("image/png"), picture);
    QCOMPARE(paste("image/bmp"), picture);

    AfxGetApp()->m_pMainWnd->OnCommand(ID_IMAGE_ROTATE_LEFT);
    QCOMPARE(paste("image/png"), picture);

    // The program goes; its helper keeps serving the picture.
    AfxGetApp()->m_strAppDir = QStringLiteral(ONDRAVA_BUILD_DIR);
    AfxGetApp()->ExitInstance();
    QTRY_VERIFY(!QGuiApplication::clipboard()->ownsClipboard());
    QCOMPARE(paste("image/png"), picture);
    QCOMPARE(paste("image/bmp"), picture);
    // Another program takes the clipboard: the helper steps down and ends.
    QProcess xclip;
    xclip.start("xclip", {"-selection", "clipboard", "-i"});
    xclip.write("text");
    xclip.closeWriteChannel();
    QVERIFY(xclip.waitForFinished());
    QTRY_COMPARE(QProcess::execute("pgrep", {"-f", "ondrava-clipboard"}), 1);
}

QTEST_MAIN(TestClipboard)
#include "tst_clipboard.moc"
