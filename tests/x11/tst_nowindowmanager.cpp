#include "app/CMainFrame.h"
#include "app/CPravikApp.h"
#include "app/Resource.h"
#include "document/CPravikDoc.h"
#include "tests/support/AppSession.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QThread>

// Captures on a desktop without a window manager: nothing iconifies the frame, so stepping aside
// must give up waiting and go on.
class TestNoWindowManager : public QObject {
    Q_OBJECT

private slots:
    void capturesStillComplete();
};

void TestNoWindowManager::capturesStillComplete()
{
    CPravikApp *app = AfxGetApp();
    QVERIFY(startApplication());
    app->m_pMainWnd->CommandAction(ID_CAPTURE_DESKTOP)->trigger();
    QVERIFY(app->m_pDoc->m_bHasImage);
    QCOMPARE(app->m_pDoc->m_sizeImage.cx, 640);
    QCOMPARE(app->m_pDoc->m_sizeImage.cy, 480);
    QVERIFY(app->m_pDoc->IsModified());
    QTRY_VERIFY(app->m_pMainWnd->isVisible());
    app->m_pMainWnd->CommandAction(ID_CAPTURE_REGION)->trigger();
    QVERIFY(app->m_pMainWnd->m_bCaptureMode);
    QVERIFY(app->m_pMainWnd->LeaveCaptureMode());
    app->ExitInstance();
}

// A private X server of its own, with no window manager on it.
int main(int argc, char *argv[])
{
    QProcess server;
    int display = 150;
    for (; display < 200; ++display) {
        if (!QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(display)))
            break;
    }
    server.start(QStringLiteral("Xvfb"), {QStringLiteral(":%1").arg(display), "-screen", "0",
                                          "640x480x24", "-nolisten", "tcp"});
    const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(display);
    for (int i = 0; i < 200 && !QFile::exists(socket); ++i)
        QThread::msleep(25);
    qputenv("DISPLAY", QByteArray(":") + QByteArray::number(display));
    int result;
    {
        QApplication application(argc, argv);
        TestNoWindowManager test;
        result = QTest::qExec(&test, argc, argv);
    }
    server.terminate();
    server.waitForFinished();
    return result;
}

#include "tst_nowindowmanager.moc"
