#include "app/CMainFrame.h"
#include "app/CPravikApp.h"
#include "platform/x11/HotkeyEvent.h"
#include "platform/x11/WinUser.h"
#include "tests/support/AppSession.h"
#include "tests/support/ModalAnswerer.h"

#include <QProcess>
#include <QTest>
#include <QWidget>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

// Global hotkeys on a real X server: they fire whichever window has the focus and whatever the
// lock keys, and a key another program holds is reported and left alone.
class TestHotkeys : public QObject {
    Q_OBJECT

private slots:
    void firesWhateverTheFocusAndLocks_data();
    void firesWhateverTheFocusAndLocks();
    void keysHeldElsewhereAreReportedInOrder();
};

// Counts the hotkey ids posted to a window.
class HotkeyCounter : public QWidget {
public:
    QList<int> ids;

protected:
    bool event(QEvent *e) override
    {
        if (e->type() == HotkeyEvent::eventType()) {
            ids << static_cast<HotkeyEvent *>(e)->id();
            return true;
        }
        return QWidget::event(e);
    }
};

static void xdotool(const QStringList &arguments)
{
    QCOMPARE(QProcess::execute("xdotool", arguments), 0);
}

void TestHotkeys::firesWhateverTheFocusAndLocks_data()
{
    QTest::addColumn<QStringList>("locks");
    QTest::newRow("no locks") << QStringList{};
    QTest::newRow("Num Lock") << QStringList{"Num_Lock"};
    QTest::newRow("Caps Lock") << QStringList{"Caps_Lock"};
    QTest::newRow("Num and Caps Lock") << QStringList{"Num_Lock", "Caps_Lock"};
}

void TestHotkeys::firesWhateverTheFocusAndLocks()
{
    QFETCH(QStringList, locks);
    HotkeyCounter target; // never shown: hotkeys reach hidden windows too
    QVERIFY(RegisterHotKey(&target, 11, MOD_CONTROL | MOD_SHIFT, '0'));
    QVERIFY(RegisterHotKey(&target, 12, MOD_CONTROL | MOD_SHIFT, '9'));
    QVERIFY(RegisterHotKey(&target, 13, MOD_CONTROL | MOD_SHIFT, '8'));
    // Another window has the focus.
    QWidget other;
    other.setWindowTitle(QStringLiteral("focus holder"));
    other.resize(200, 100);
    other.show();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    for (const QString &lock : locks)
        xdotool({"key", lock});
    xdotool({"key", "ctrl+shift+9"});
    xdotool({"key", "ctrl+shift+0"});
    xdotool({"key", "ctrl+shift+8"});
    xdotool({"key", "ctrl+9"}); // not a hotkey
    for (const QString &lock : locks)
        xdotool({"key", lock});
    QTRY_COMPARE(target.ids, (QList<int>{12, 11, 13}));
    QVERIFY(UnregisterHotKey(&target, 11));
    xdotool({"key", "ctrl+shift+0"});
    QTest::qWait(200);
    QCOMPARE(target.ids.size(), 3);
    UnregisterHotKey(&target, 12);
    UnregisterHotKey(&target, 13);
}

void TestHotkeys::keysHeldElsewhereAreReportedInOrder()
{
    // Another program (another X client) holds all three keys.
    xcb_connection_t *other = xcb_connect(nullptr, nullptr);
    QVERIFY(!xcb_connection_has_error(other));
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(other)).data->root;
    xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(other);
    for (const char key : {'8', '9', '0'}) {
        xcb_keycode_t *codes = xcb_key_symbols_get_keycode(symbols, xcb_keysym_t(key));
        QVERIFY(codes);
        QVERIFY(!xcb_request_check(
            other, xcb_grab_key_checked(other, 1, root, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT,
                                        codes[0], XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC)));
        free(codes);
    }
    xcb_key_symbols_free(symbols);

    ModalAnswerer answerer;
    QVERIFY(startApplication());
    QCOMPARE(answerer.texts,
             (QStringList{"hotkey ctrl+shift+0 has been regisered by other program.",
                          "hotkey ctrl+shift+9 has been regisered by other program.",
                          "hotkey ctrl+shift+8 has been regisered by other program."}));
    QCOMPARE(answerer.captions.value(0), QStringLiteral("Marvu抓图助手"));
    // Start-up went on: the frame is there and shown.
    QVERIFY(AfxGetApp()->m_pMainWnd && AfxGetApp()->m_pMainWnd->isVisible());
    AfxGetApp()->ExitInstance();
    xcb_disconnect(other);
}

QTEST_MAIN(TestHotkeys)
#include "tst_hotkeys.moc"
