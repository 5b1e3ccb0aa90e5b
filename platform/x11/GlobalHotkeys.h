#pragma once

#include <QAbstractNativeEventFilter>
#include <QPointer>
#include <QWidget>
#include <vector>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

// Hotkeys as passive key grabs on the X root window, so they fire whichever window has the
// focus and while our windows are hidden. Each is grabbed under every combination of the Caps
// Lock, Num Lock and Scroll Lock modifiers, and grabbed again when the keyboard mapping changes.
class GlobalHotkeys : public QAbstractNativeEventFilter {
public:
    // Null when the application does not run on X11.
    static GlobalHotkeys *instance();

    // False when another client holds the combination (nothing stays grabbed then).
    bool add(QWidget *target, int id, uint16_t modifiers, uint32_t keysym);
    bool remove(QWidget *target, int id);

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    struct Hotkey {
        QPointer<QWidget> target;
        int id;
        uint16_t modifiers;
        uint32_t keysym;
        std::vector<xcb_keycode_t> keycodes; // grabbed
    };

    explicit GlobalHotkeys(xcb_connection_t *connection);
    void readKeyboard();
    bool grab(Hotkey &hotkey);
    void ungrab(Hotkey &hotkey);
    std::vector<uint16_t> lockCombinations() const;

    xcb_connection_t *m_connection;
    xcb_window_t m_root;
    uint8_t m_xkbEvent = 0;
    xcb_key_symbols_t *m_symbols = nullptr;
    uint16_t m_numLock = 0;
    uint16_t m_scrollLock = 0;
    std::vector<Hotkey> m_hotkeys;
};
