#include "LockKeyState.h"

#include "X11Connection.h"
#include "Xkb.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstring>
#include <memory>

namespace {
template <class T> using Reply = std::unique_ptr<T, decltype(&free)>;
}

LockKeyState *LockKeyState::create(QObject *parent)
{
    xcb_connection_t *c = x11Connection();
    if (!c)
        return nullptr;
    const xcb_query_extension_reply_t *xkb = xcb_get_extension_data(c, &xcb_xkb_id);
    if (!xkb || !xkb->present)
        return nullptr;
    return new LockKeyState(c, xkb->first_event, parent);
}

LockKeyState::LockKeyState(xcb_connection_t *connection, uint8_t xkbEvent, QObject *parent)
    : QObject(parent), m_connection(connection), m_xkbEvent(xkbEvent)
{
    const char *names[3] = {"Caps Lock", "Num Lock", "Scroll Lock"};
    for (int i = 0; i < 3; ++i) {
        Reply<xcb_intern_atom_reply_t> atom(
            xcb_intern_atom_reply(
                m_connection,
                xcb_intern_atom(m_connection, 0, uint16_t(strlen(names[i])), names[i]), nullptr),
            &free);
        m_names[i] = atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
    }
    // Add indicator changes to the XKB events this client already receives.
    xcb_xkb_select_events(m_connection, XCB_XKB_ID_USE_CORE_KBD,
                          XCB_XKB_EVENT_TYPE_INDICATOR_STATE_NOTIFY, 0,
                          XCB_XKB_EVENT_TYPE_INDICATOR_STATE_NOTIFY, 0, 0, nullptr);
    xcb_flush(m_connection);
    read();
    QCoreApplication::instance()->installNativeEventFilter(this);
}

LockKeyState::~LockKeyState()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

void LockKeyState::read()
{
    bool *states[3] = {&m_caps, &m_num, &m_scroll};
    xcb_xkb_get_named_indicator_cookie_t cookies[3];
    for (int i = 0; i < 3; ++i)
        cookies[i] = xcb_xkb_get_named_indicator(m_connection, XCB_XKB_ID_USE_CORE_KBD,
                                                 XCB_XKB_LED_CLASS_DFLT_XI_CLASS,
                                                 XCB_XKB_ID_DFLT_XI_ID, m_names[i]);
    for (int i = 0; i < 3; ++i) {
        Reply<xcb_xkb_get_named_indicator_reply_t> reply(
            xcb_xkb_get_named_indicator_reply(m_connection, cookies[i], nullptr), &free);
        *states[i] = reply && reply->found && reply->on;
    }
}

bool LockKeyState::nativeEventFilter(const QByteArray &, void *message, qintptr *)
{
    auto *event = static_cast<xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7F) == m_xkbEvent &&
        reinterpret_cast<xcb_xkb_indicator_state_notify_event_t *>(event)->xkbType ==
            XCB_XKB_INDICATOR_STATE_NOTIFY) {
        read();
        emit changed();
    }
    return false;
}
