// The messages a user's actions produce: clicks, keys, typed text, menu and toolbar commands, dropped files.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace harness {

enum Modifier { NoModifier = 0, Ctrl = 1, Shift = 2, Alt = 4 };

// A click on a button, check box or radio button (BM_CLICK: the control toggles itself and notifies its parent).
void Click(HWND button);
// Mouse button down and up at a point in window's client area.
void ClickAt(HWND window, int x, int y, int modifiers = NoModifier);
void RightClickAt(HWND window, int x, int y);
void DoubleClickAt(HWND window, int x, int y);

// WM_KEYDOWN and WM_KEYUP sent to window, with the modifiers held (GetKeyState sees them) meanwhile.
void PressKey(HWND window, UINT virtualKey, int modifiers = NoModifier);
// The same keys posted to the queue and pumped, so that modeless dialogs see them through IsDialogMessageW.
void PostKey(HWND window, UINT virtualKey, int modifiers = NoModifier);
// WM_CHAR for each character.
void TypeText(HWND window, const std::wstring& text);

// A menu or accelerator command (WM_COMMAND, lParam 0).
LRESULT SendCommand(HWND window, int command);
// A control's notification as the control sends it (WM_COMMAND with code and the control's handle).
LRESULT SendControlCommand(HWND parent, HWND control, int code);
// A click on a toolbar button: a check button toggles, then the bar's parent gets the command with lParam the bar.
LRESULT ClickToolbarButton(HWND toolbar, int command);

// Drops files on window at a client point through a real HDROP (GlobalAlloc + DROPFILES, wide names).
LRESULT DropFiles(HWND window, const std::vector<std::wstring>& paths, POINT point = POINT{10, 10});
// The HDROP alone; the receiver frees it with DragFinish.
HDROP MakeDrop(const std::vector<std::wstring>& paths, POINT point);

} // namespace harness
