#include "app/CMainFrame.h"
#include "app/CPravikApp.h"
#include "document/CPravikDoc.h"
#include "platform/media/MediaLibrary.h"
#include "tests/support/AppSession.h"
#include "tests/support/ModalAnswerer.h"
#include "tests/support/TestMovie.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <xcb/xcb.h>

// The document holds a paused playback of "CapVideo.req" from the program directory while it
// lives: nothing of it ever shows on the screen, and a missing, broken or unreachable file
// changes nothing else.
class TestVideoHold : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void holdsAPlayableFileOutOfSight();
    void startPlayback_data();
    void startPlayback();
    void brokenFileLeavesTheProgramAsItIs();

private:
    QTemporaryDir m_dir;
    QString m_movie;
};

// The windows on the X server's screen that are mapped, top level.
static QSet<xcb_window_t> mappedWindows()
{
    QSet<xcb_window_t> mapped;
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_query_tree_reply_t *tree = xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr);
    const xcb_window_t *children = xcb_query_tree_children(tree);
    for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
        xcb_get_window_attributes_reply_t *attributes =
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, children[i]), nullptr);
        if (attributes && attributes->map_state != XCB_MAP_STATE_UNMAPPED)
            mapped.insert(children[i]);
        free(attributes);
    }
    free(tree);
    xcb_disconnect(c);
    return mapped;
}

static void placeMovie(const QString &from, const QString &dir)
{
    QDir().mkpath(dir);
    QFile::remove(dir + "/CapVideo.req");
    QVERIFY(QFile::copy(from, dir + "/CapVideo.req"));
}

void TestVideoHold::initTestCase()
{
    m_movie = m_dir.filePath("movie.ogv");
    QVERIFY(makeTestMovie(m_movie));
}

void TestVideoHold::holdsAPlayableFileOutOfSight()
{
    placeMovie(m_movie, m_dir.filePath("program"));
    AfxGetApp()->m_strAppDir = m_dir.filePath("program");
    // One initialisation of the test's own, so that undoing the hold's twice would show.
    QVERIFY(!FAILED(MediaLibrary::Initialize()));
    const int initialised = MediaLibrary::InitCount();
    const QSet<xcb_window_t> before = mappedWindows();

    auto doc = std::make_unique<CPravikDoc>();
    const CHogVideo &video = doc->m_video;
    QVERIFY(video.m_bComInitialized);
    QCOMPARE(MediaLibrary::InitCount(), initialised + 1);
    OAFilterState state = State_Stopped;
    QCOMPARE(video.m_pControl->GetState(5000, &state), S_OK);
    QCOMPARE(state, State_Paused);
    const PlaybackGraph::VideoWindow &window = video.m_pVideoWindow->videoWindow();
    QCOMPARE(window.windowState, SW_HIDE);
    QCOMPARE(window.autoShow, OAFALSE);
    QCOMPARE(window.visible, OAFALSE);
    QCOMPARE(QRect(window.left, window.top, window.width, window.height), QRect(-100, -100, 0, 0));
    // Held for a while, still nothing on the screen.
    QTest::qWait(500);
    QCOMPARE(mappedWindows(), before);

    // The movie runs a minute; the exit does not wait for it.
    QElapsedTimer exit;
    exit.start();
    doc.reset();
    QCOMPARE_LT(exit.elapsed(), 5000);
    QCOMPARE(MediaLibrary::InitCount(), initialised);
    MediaLibrary::Uninitialize();
}

void TestVideoHold::startPlayback_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<int>("pathLength");
    QTest::addColumn<bool>("held");
    QTest::newRow("no file") << QString() << 0 << false;
    QTest::newRow("not media") << "text" << 0 << false;
    QTest::newRow("a movie") << "movie" << 0 << true;
    // The full path and its terminating zero fill the 260 places exactly.
    QTest::newRow("a movie, 259 characters") << "movie" << 259 << true;
    // One more would be cut short and name another file: the hold is skipped.
    QTest::newRow("a movie, 260 characters") << "movie" << 260 << false;
}

void TestVideoHold::startPlayback()
{
    QFETCH(QString, content);
    QFETCH(int, pathLength);
    QFETCH(bool, held);
    QTemporaryDir scratch;
    QString dir = scratch.path();
    const int fileLength = int(QStringLiteral("/CapVideo.req").size());
    if (pathLength > 0)
        dir += "/" + QString(pathLength - fileLength - dir.size() - 1, 'd');
    QDir().mkpath(dir);
    if (content == "movie")
        placeMovie(m_movie, dir);
    else if (!content.isEmpty()) {
        QFile file(dir + "/CapVideo.req");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("this is not a movie");
    }
    if (pathLength > 0)
        QCOMPARE(int(dir.size()) + fileLength, pathLength);

    CHogVideo video;
    QVERIFY(video.m_pGraph && video.m_pControl && video.m_pEvent && video.m_pVideoWindow);
    video.SetFileName(QFile::encodeName(dir + "/CapVideo.req").constData());
    QCOMPARE(bool(video.StartPlayback()), held);
    OAFilterState state = State_Running;
    QCOMPARE(video.m_pControl->GetState(5000, &state), S_OK);
    QCOMPARE(state, held ? State_Paused : State_Stopped);
    // A stopped graph answers a wait at once.
    QVERIFY(video.StopPlayback());
    long code = 0;
    QCOMPARE(video.m_pEvent->WaitForCompletion(-1, &code), VFW_E_WRONG_STATE);
    video.ReleaseAll();
    QVERIFY(!video.m_pGraph && !video.m_pControl && !video.m_pEvent && !video.m_pVideoWindow);
    QVERIFY(!video.StartPlayback());
    QVERIFY(!video.StopPlayback());
}

void TestVideoHold::brokenFileLeavesTheProgramAsItIs()
{
    QTemporaryDir program;
    QFile file(program.filePath("CapVideo.req"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, '\x1a'));
    file.close();
    AfxGetApp()->m_strAppDir = program.path();
    ModalAnswerer answerer;
    QVERIFY(startApplication());
    QTRY_VERIFY(AfxGetApp()->m_pMainWnd->isVisible());
    QTest::qWait(200);
    QVERIFY(answerer.texts.isEmpty());
    QVERIFY(!AfxGetApp()->m_pDoc->m_video.StartPlayback());
    AfxGetApp()->ExitInstance();
}

QTEST_MAIN(TestVideoHold)
#include "tst_videohold.moc"
