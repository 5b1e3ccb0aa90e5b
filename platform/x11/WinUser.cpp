#include "WinUser.h"

#include "GlobalHotkeys.h"
#include "ScreenDC.h"
#include "ScreenGrabber.h"
#include "X11Connection.h"

#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QScreen>
#include <QWidget>
#include <cstring>
#include <memory>
#include <optional>
#include <xcb/xfixes.h>

ATOM GlobalAddAtomA(const char *name)
{
    if (!name || !*name)
        return 0;
    if (xcb_connection_t *c = x11Connection()) {
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> reply(
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr),
            &free);
        return reply ? reply->atom : 0;
    }
    static QHash<QByteArray, ATOM> atoms;
    const auto found = atoms.constFind(name);
    if (found != atoms.constEnd())
        return *found;
    const ATOM atom = ATOM(0xC000 + atoms.size());
    atoms.insert(name, atom);
    return atom;
}

BOOL RegisterHotKey(HWND window, int id, UINT modifiers, UINT virtualKey)
{
    GlobalHotkeys *hotkeys = GlobalHotkeys::instance();
    if (!hotkeys || !window)
        return FALSE;
    uint16_t mask = 0;
    if (modifiers & MOD_ALT)
        mask |= XCB_MOD_MASK_1;
    if (modifiers & MOD_CONTROL)
        mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & MOD_SHIFT)
        mask |= XCB_MOD_MASK_SHIFT;
    // Digit and letter keys have the keysyms of their (lower-case) characters.
    uint32_t keysym = virtualKey;
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        keysym = virtualKey - 'A' + 'a';
    else if (virtualKey < '0' || virtualKey > '9')
        return FALSE;
    return hotkeys->add(window, id, mask, keysym);
}

BOOL UnregisterHotKey(HWND window, int id)
{
    GlobalHotkeys *hotkeys = GlobalHotkeys::instance();
    return hotkeys && hotkeys->remove(window, id);
}

BOOL HotKeysAvailable()
{
    return GlobalHotkeys::instance() != nullptr;
}

namespace {

template <class T> using Reply = std::unique_ptr<T, decltype(&free)>;

xcb_window_t rootOf(xcb_connection_t *c)
{
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr),
        &free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The window's geometry in root coordinates, border included.
std::optional<QRect> rootGeometry(xcb_connection_t *c, xcb_window_t window)
{
    const xcb_window_t root = rootOf(c);
    if (window == root) {
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        return QRect(0, 0, screen->width_in_pixels, screen->height_in_pixels);
    }
    // Both questions in one round trip.
    const xcb_get_geometry_cookie_t geometryCookie = xcb_get_geometry(c, window);
    const xcb_translate_coordinates_cookie_t originCookie =
        xcb_translate_coordinates(c, window, root, 0, 0);
    Reply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, geometryCookie, nullptr),
                                             &free);
    Reply<xcb_translate_coordinates_reply_t> origin(
        xcb_translate_coordinates_reply(c, originCookie, nullptr), &free);
    if (!geometry || !origin)
        return std::nullopt;
    const int border = geometry->border_width;
    return QRect(origin->dst_x - border, origin->dst_y - border, geometry->width + 2 * border,
                 geometry->height + 2 * border);
}

// The window manager's frame around `window`: its ancestor that is a child of the root.
xcb_window_t topLevelOf(xcb_connection_t *c, xcb_window_t window)
{
    const xcb_window_t root = rootOf(c);
    while (window != root) {
        Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr), &free);
        if (!tree)
            return XCB_WINDOW_NONE;
        if (tree->parent == root || tree->parent == XCB_WINDOW_NONE)
            return window;
        window = tree->parent;
    }
    return window;
}

} // namespace

WindowId GetDesktopWindow()
{
    xcb_connection_t *c = x11Connection();
    return c ? rootOf(c) : 0;
}

WindowId GetForegroundWindow()
{
    xcb_connection_t *c = x11Connection();
    if (!c)
        return 0;
    const xcb_window_t root = rootOf(c);
    Reply<xcb_get_property_reply_t> active(
        xcb_get_property_reply(
            c, xcb_get_property(c, 0, root, atom(c, "_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW, 0, 1),
            nullptr),
        &free);
    if (active && xcb_get_property_value_length(active.get()) == 4) {
        const xcb_window_t window =
            *static_cast<xcb_window_t *>(xcb_get_property_value(active.get()));
        if (window != XCB_WINDOW_NONE)
            return window;
    }
    Reply<xcb_get_input_focus_reply_t> focus(
        xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr), &free);
    // No focus, the pointer root or the root itself: nothing is in the foreground.
    if (!focus || focus->focus <= XCB_INPUT_FOCUS_POINTER_ROOT || focus->focus == root)
        return 0;
    return focus->focus;
}

BOOL GetWindowRect(WindowId window, RECT *rect)
{
    xcb_connection_t *c = x11Connection();
    if (!c || !window || !rect)
        return FALSE;
    const xcb_window_t top = topLevelOf(c, window);
    const std::optional<QRect> area = top ? rootGeometry(c, top) : std::nullopt;
    if (!area)
        return FALSE;
    *rect = {area->left(), area->top(), area->right() + 1, area->bottom() + 1};
    return TRUE;
}

BOOL GetClientRect(WindowId window, RECT *rect)
{
    xcb_connection_t *c = x11Connection();
    if (!c || !window || !rect)
        return FALSE;
    Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr), &free);
    if (!geometry)
        return FALSE;
    *rect = {0, 0, geometry->width, geometry->height};
    return TRUE;
}

HDC GetWindowDC(WindowId window)
{
    RECT r;
    if (!ScreenGrabber::instance() || !GetWindowRect(window, &r))
        return nullptr;
    return new ScreenDC(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)));
}

HDC GetDC(WindowId window)
{
    xcb_connection_t *c = x11Connection();
    if (!c || !window || !ScreenGrabber::instance())
        return nullptr;
    Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr), &free);
    Reply<xcb_translate_coordinates_reply_t> origin(
        xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, window, rootOf(c), 0, 0),
                                        nullptr),
        &free);
    if (!geometry || !origin)
        return nullptr;
    return new ScreenDC(QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height));
}

int ReleaseDC(WindowId, HDC dc)
{
    delete dc;
    return dc ? 1 : 0;
}

int GetSystemMetrics(int index)
{
    if (ScreenGrabber *grabber = ScreenGrabber::instance())
        return index == SM_CXSCREEN   ? grabber->screenRect().width()
               : index == SM_CYSCREEN ? grabber->screenRect().height()
                                      : 0;
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 0;
    const QSize size = screen->geometry().size() * screen->devicePixelRatio();
    return index == SM_CXSCREEN ? size.width() : index == SM_CYSCREEN ? size.height() : 0;
}

BOOL GetCursorPos(POINT *point)
{
    xcb_connection_t *c = x11Connection();
    if (!c || !point)
        return FALSE;
    Reply<xcb_query_pointer_reply_t> pointer(
        xcb_query_pointer_reply(c, xcb_query_pointer(c, rootOf(c)), nullptr), &free);
    if (!pointer)
        return FALSE;
    *point = {pointer->root_x, pointer->root_y};
    return TRUE;
}

QImage GetCursorImage()
{
    xcb_connection_t *c = x11Connection();
    if (!c)
        return {};
    const xcb_query_extension_reply_t *xfixes = xcb_get_extension_data(c, &xcb_xfixes_id);
    if (!xfixes || !xfixes->present)
        return {};
    Reply<xcb_xfixes_query_version_reply_t> version(
        xcb_xfixes_query_version_reply(c, xcb_xfixes_query_version(c, 4, 0), nullptr), &free);
    Reply<xcb_xfixes_get_cursor_image_reply_t> cursor(
        xcb_xfixes_get_cursor_image_reply(c, xcb_xfixes_get_cursor_image(c), nullptr), &free);
    if (!version || !cursor || !cursor->width || !cursor->height)
        return {};
    // Deep-copied before the reply goes.
    const QImage shape(
        reinterpret_cast<const uchar *>(xcb_xfixes_get_cursor_image_cursor_image(cursor.get())),
        cursor->width, cursor->height, QImage::Format_ARGB32_Premultiplied);
    return shape.copy();
}

BOOL IsIconic(HWND window)
{
    xcb_connection_t *c = x11Connection();
    if (!window)
        return FALSE;
    if (!c)
        return window->isMinimized();
    const xcb_atom_t wmState = atom(c, "WM_STATE");
    Reply<xcb_get_property_reply_t> state(
        xcb_get_property_reply(
            c, xcb_get_property(c, 0, xcb_window_t(window->winId()), wmState, wmState, 0, 2),
            nullptr),
        &free);
    constexpr uint32_t kIconicState = 3;
    return state && xcb_get_property_value_length(state.get()) >= 4 &&
           *static_cast<uint32_t *>(xcb_get_property_value(state.get())) == kIconicState;
}

void FlushDisplay()
{
    if (xcb_connection_t *c = x11Connection())
        xcb_flush(c);
}
