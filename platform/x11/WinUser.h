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

// Windows of any program, as X window ids; 0 for none.
using WindowId = DWORD;
class QImage;

inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;

// The root window: the whole desktop, every monitor.
WindowId GetDesktopWindow();
// The active window (_NET_ACTIVE_WINDOW), else the window with the input focus; 0 for none.
WindowId GetForegroundWindow();
// The window's whole rectangle in screen coordinates: its window-manager frame (caption and
// borders) where it has one.
BOOL GetWindowRect(WindowId window, RECT *rect);
// The client area: (0, 0) to its width and height.
BOOL GetClientRect(WindowId window, RECT *rect);
// Device contexts that read the screen: the whole window's rectangle, or its client area.
HDC GetWindowDC(WindowId window);
HDC GetDC(WindowId window);
int ReleaseDC(WindowId window, HDC dc);
int GetSystemMetrics(int index);
BOOL GetCursorPos(POINT *point);
// The pointer's current shape, whatever program shows it, as a premultiplied ARGB image; null
// where it cannot be read.
QImage GetCursorImage();
// Whether the window manager shows `window` iconified (WM_STATE), asked of the server now.
BOOL IsIconic(HWND window);
// Sends the requests made so far to the X server.
void FlushDisplay();
