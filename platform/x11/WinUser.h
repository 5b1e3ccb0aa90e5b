#pragma once

// Global hotkeys with their Windows names: atoms as ids, modifiers, virtual keys, and WM_HOTKEY
// delivered to the registering window as a posted HotkeyEvent.

#include "platform/gdi/WinTypes.h"

class QWidget;
using HWND = QWidget *;
using ATOM = DWORD; // an X atom where there is an X server

inline constexpr UINT MOD_ALT = 0x0001;
inline constexpr UINT MOD_CONTROL = 0x0002;
inline constexpr UINT MOD_SHIFT = 0x0004;
inline constexpr UINT WM_HOTKEY = 0x0312;

// The X atom interned for `name` (elsewhere an id of the string-atom range, one per name for
// the run); 0 on failure.
ATOM GlobalAddAtomA(const char *name);
// FALSE when another program holds the key or no global hotkeys exist on this desktop.
BOOL RegisterHotKey(HWND window, int id, UINT modifiers, UINT virtualKey);
BOOL UnregisterHotKey(HWND window, int id);
// FALSE on a desktop without X11, where no global hotkeys can be had.
BOOL HotKeysAvailable();
