#pragma once

#include <QEvent>

// WM_HOTKEY: posted to the window that registered the hotkey when its key combination is pressed.
class HotkeyEvent : public QEvent {
public:
    static QEvent::Type eventType()
    {
        static const auto type = QEvent::Type(QEvent::registerEventType());
        return type;
    }

    explicit HotkeyEvent(int id) : QEvent(eventType()), m_id(id) {}
    int id() const { return m_id; }

private:
    int m_id;
};
