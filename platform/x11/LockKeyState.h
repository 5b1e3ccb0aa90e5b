#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <xcb/xcb.h>

// Caps Lock, Num Lock and Scroll Lock as the keyboard's XKB indicators show them, kept current
// by the server's indicator notifications.
class LockKeyState : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    // Null when the application does not run on X11 or the server lacks XKB.
    static LockKeyState *create(QObject *parent);
    ~LockKeyState() override;

    bool caps() const { return m_caps; }
    bool num() const { return m_num; }
    bool scroll() const { return m_scroll; }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

signals:
    void changed();

private:
    LockKeyState(xcb_connection_t *connection, uint8_t xkbEvent, QObject *parent);
    void read();

    xcb_connection_t *m_connection;
    uint8_t m_xkbEvent;
    xcb_atom_t m_names[3] = {};
    bool m_caps = false;
    bool m_num = false;
    bool m_scroll = false;
};
