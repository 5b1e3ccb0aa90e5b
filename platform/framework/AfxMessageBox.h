#pragma once

#include "platform/gdi/WinTypes.h"

#include <QString>

// Buttons, icons and answers of message boxes, with their Windows values.
inline constexpr UINT MB_OK = 0x00;
inline constexpr UINT MB_OKCANCEL = 0x01;
inline constexpr UINT MB_YESNOCANCEL = 0x03;
inline constexpr UINT MB_YESNO = 0x04;
inline constexpr UINT MB_ICONHAND = 0x10;
inline constexpr UINT MB_ICONQUESTION = 0x20;
inline constexpr UINT MB_ICONEXCLAMATION = 0x30;
inline constexpr UINT MB_ICONASTERISK = 0x40;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// Sets the caption of every message box: the application's title.
void AfxSetAppTitle(const QString &title);

// A modal message box captioned with the application's title, with the
// buttons and icon that `type` names. Returns the button chosen; Esc and the close box answer
// Cancel where there is one, else the only other way out (OK or No).
int AfxMessageBox(const QString &text, UINT type = MB_OK);
