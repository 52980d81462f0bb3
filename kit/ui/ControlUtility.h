// Small helpers shared by the control wrappers.
#pragma once

#include <windows.h>

namespace kit {

// controls created by code use the stock GUI font
void SetDefaultFont(HWND control);
// Ctrl is held down for the key message being handled
bool IsControlKeyDown();
// WM_GETDLGCODE answer of a control that takes every key (Enter and Esc inside a dialog) except Tab, which keeps
// moving the focus through the dialog
LRESULT WantKeysButTab(LRESULT defaultCode, LPARAM lParam);

} // namespace kit
