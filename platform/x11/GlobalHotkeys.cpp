#include "GlobalHotkeys.h"

#include "HotkeyEvent.h"
#include "X11Connection.h"
#include "Xkb.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <algorithm>
#include <memory>

namespace {

constexpr uint32_t kNumLockSym = 0xff7f;
constexpr uint32_t kScrollLockSym = 0xff14;
// Modifier bits that count when matching a key press; pointer buttons and XKB group bits do not.
constexpr uint16_t kModifierBits = 0xFF;

template <class T> using Reply = std::unique_ptr<T, decltype(&free)>;

std::vector<xcb_keycode_t> keycodesOf(xcb_key_symbols_t *symbols, uint32_t keysym)
{
    std::vector<xcb_keycode_t> codes;
    Reply<xcb_keycode_t> list(xcb_key_symbols_get_keycode(symbols, keysym), &free);
    for (const xcb_keycode_t *c = list.get(); c && *c != XCB_NO_SYMBOL; ++c) {
        if (std::find(codes.begin(), codes.end(), *c) == codes.end())
            codes.push_back(*c);
    }
    return codes;
}

} // namespace

GlobalHotkeys *GlobalHotkeys::instance()
{
    static GlobalHotkeys *const hotkeys = []() -> GlobalHotkeys * {
        xcb_connection_t *connection = x11Connection();
        if (!connection)
            return nullptr;
        auto *created = new GlobalHotkeys(connection);
        QCoreApplication::instance()->installNativeEventFilter(created);
        return created;
    }();
    return hotkeys;
}

GlobalHotkeys::GlobalHotkeys(xcb_connection_t *connection)
    : m_connection(connection),
      m_root(xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root)
{
    if (const xcb_query_extension_reply_t *xkb = xcb_get_extension_data(connection, &xcb_xkb_id);
        xkb && xkb->present)
        m_xkbEvent = xkb->first_event;
    readKeyboard();
}

void GlobalHotkeys::readKeyboard()
{
    if (m_symbols)
        xcb_key_symbols_free(m_symbols);
    m_symbols = xcb_key_symbols_alloc(m_connection);
    Reply<xcb_get_modifier_mapping_reply_t> map(
        xcb_get_modifier_mapping_reply(m_connection, xcb_get_modifier_mapping(m_connection),
                                       nullptr),
        &free);
    // Num Lock and Scroll Lock are whichever modifiers their keys are mapped to.
    auto maskOf = [&](uint32_t keysym) -> uint16_t {
        if (!map)
            return 0;
        const std::vector<xcb_keycode_t> codes = keycodesOf(m_symbols, keysym);
        const xcb_keycode_t *mods = xcb_get_modifier_mapping_keycodes(map.get());
        const int perModifier = map->keycodes_per_modifier;
        for (int mod = 0; mod < 8; ++mod) {
            for (int k = 0; k < perModifier; ++k) {
                const xcb_keycode_t code = mods[mod * perModifier + k];
                if (code && std::find(codes.begin(), codes.end(), code) != codes.end())
                    return uint16_t(1 << mod);
            }
        }
        return 0;
    };
    m_numLock = maskOf(kNumLockSym);
    m_scrollLock = maskOf(kScrollLockSym);
}

std::vector<uint16_t> GlobalHotkeys::lockCombinations() const
{
    std::vector<uint16_t> locks;
    for (const uint16_t mask : {uint16_t(XCB_MOD_MASK_LOCK), m_numLock, m_scrollLock}) {
        if (mask && std::find(locks.begin(), locks.end(), mask) == locks.end())
            locks.push_back(mask);
    }
    std::vector<uint16_t> combinations;
    for (unsigned subset = 0; subset < (1u << locks.size()); ++subset) {
        uint16_t combination = 0;
        for (size_t i = 0; i < locks.size(); ++i) {
            if (subset & (1u << i))
                combination |= locks[i];
        }
        combinations.push_back(combination);
    }
    return combinations;
}

bool GlobalHotkeys::grab(Hotkey &hotkey)
{
    hotkey.keycodes = keycodesOf(m_symbols, hotkey.keysym);
    if (hotkey.keycodes.empty())
        return false;
    std::vector<xcb_void_cookie_t> cookies;
    for (const xcb_keycode_t code : hotkey.keycodes) {
        for (const uint16_t locks : lockCombinations())
            cookies.push_back(xcb_grab_key_checked(m_connection, 1, m_root,
                                                   hotkey.modifiers | locks, code,
                                                   XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
    // A BadAccess means another client holds one of the combinations.
    bool ok = true;
    for (const xcb_void_cookie_t cookie : cookies) {
        if (xcb_generic_error_t *error = xcb_request_check(m_connection, cookie)) {
            ok = false;
            free(error);
        }
    }
    if (!ok)
        ungrab(hotkey);
    return ok;
}

void GlobalHotkeys::ungrab(Hotkey &hotkey)
{
    // Ungrabbing releases only this client's own grabs, never another's.
    for (const xcb_keycode_t code : hotkey.keycodes) {
        for (const uint16_t locks : lockCombinations())
            xcb_ungrab_key(m_connection, code, m_root, hotkey.modifiers | locks);
    }
    xcb_flush(m_connection);
    hotkey.keycodes.clear();
}

bool GlobalHotkeys::add(QWidget *target, int id, uint16_t modifiers, uint32_t keysym)
{
    remove(target, id);
    Hotkey hotkey{target, id, modifiers, keysym, {}};
    if (!grab(hotkey))
        return false;
    m_hotkeys.push_back(std::move(hotkey));
    return true;
}

bool GlobalHotkeys::remove(QWidget *target, int id)
{
    const auto found = std::find_if(m_hotkeys.begin(), m_hotkeys.end(), [&](const Hotkey &h) {
        return h.target == target && h.id == id;
    });
    if (found == m_hotkeys.end())
        return false;
    ungrab(*found);
    m_hotkeys.erase(found);
    return true;
}

bool GlobalHotkeys::nativeEventFilter(const QByteArray &, void *message, qintptr *)
{
    auto *event = static_cast<xcb_generic_event_t *>(message);
    const uint8_t type = event->response_type & 0x7F;
    if (type == XCB_KEY_PRESS) {
        auto *press = reinterpret_cast<xcb_key_press_event_t *>(event);
        if (press->event != m_root)
            return false;
        const uint16_t locks = XCB_MOD_MASK_LOCK | m_numLock | m_scrollLock;
        const uint16_t state = press->state & kModifierBits & ~locks;
        for (const Hotkey &hotkey : m_hotkeys) {
            if (hotkey.target && hotkey.modifiers == state &&
                std::find(hotkey.keycodes.begin(), hotkey.keycodes.end(), press->detail) !=
                    hotkey.keycodes.end()) {
                QCoreApplication::postEvent(hotkey.target, new HotkeyEvent(hotkey.id));
                return true;
            }
        }
        return false;
    }
    const bool mappingChanged =
        type == XCB_MAPPING_NOTIFY ||
        (m_xkbEvent && type == m_xkbEvent &&
         (reinterpret_cast<xcb_xkb_map_notify_event_t *>(event)->xkbType == XCB_XKB_MAP_NOTIFY ||
          reinterpret_cast<xcb_xkb_map_notify_event_t *>(event)->xkbType ==
              XCB_XKB_NEW_KEYBOARD_NOTIFY));
    if (mappingChanged) {
        for (Hotkey &hotkey : m_hotkeys)
            ungrab(hotkey);
        readKeyboard();
        for (Hotkey &hotkey : m_hotkeys)
            grab(hotkey);
    }
    return false;
}
