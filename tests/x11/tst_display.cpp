#include <QGuiApplication>
#include <QTest>
#include <memory>
#include <xcb/xcb.h>

// The X11 tests run on the display the test script provides: a 1920 x 1080 screen of 24-bit
// colour managed by a window manager, so that frames, focus and iconifying behave as on a desktop.
class TestDisplay : public QObject {
    Q_OBJECT

private slots:
    void screenAndWindowManager();
};

template <class T> using Reply = std::unique_ptr<T, decltype(&free)>;

void TestDisplay::screenAndWindowManager()
{
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    QVERIFY(x11);
    xcb_connection_t *c = x11->connection();
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    QCOMPARE(int(screen->width_in_pixels), 1920);
    QCOMPARE(int(screen->height_in_pixels), 1080);
    QCOMPARE(int(screen->root_depth), 24);

    const char name[] = "_NET_SUPPORTING_WM_CHECK";
    Reply<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, sizeof name - 1, name), nullptr), &free);
    QVERIFY(atom && atom->atom != XCB_ATOM_NONE);
    Reply<xcb_get_property_reply_t> property(
        xcb_get_property_reply(
            c, xcb_get_property(c, 0, screen->root, atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr),
        &free);
    QVERIFY2(property && xcb_get_property_value_length(property.get()) == 4,
             "no window manager is running");
}

QTEST_MAIN(TestDisplay)
#include "tst_display.moc"
