#include "WinUser.h"

#include "GlobalHotkeys.h"
#include "X11Connection.h"

#include <QGuiApplication>
#include <QHash>
#include <cstring>
#include <memory>

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
