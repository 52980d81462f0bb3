// Reading back what a user would see: texts, check and enabled states, menus, toolbars, list view cells, colours.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace harness {

std::wstring WindowText(HWND window);
std::wstring ItemText(HWND dialog, int controlId);
std::wstring ClassName(HWND window);
bool IsChecked(HWND button);
bool IsEnabled(HWND window);
bool IsVisible(HWND window);
RECT WindowRect(HWND window);
POINT Centre(const RECT& rect);

// The n-th direct child of a class (case-insensitive), or null.
HWND FindChild(HWND parent, const std::wstring& className, int nth = 0);
// The first descendant with exactly this text, or null.
HWND FindChildByText(HWND parent, const std::wstring& text);
// Every top-level window of a class in the session (all processes), visible or not.
std::vector<HWND> TopLevelWindows(const std::wstring& className);

// Menu item states by command id, searched through the submenus.
bool IsMenuItemChecked(HMENU menu, UINT command);
bool IsMenuItemEnabled(HMENU menu, UINT command);
bool IsToolbarButtonChecked(HWND toolbar, int command);
bool IsToolbarButtonEnabled(HWND toolbar, int command);

// List view contents as shown.
int ListRowCount(HWND list);
int ListColumnCount(HWND list);
std::wstring ListHeaderText(HWND list, int column);
std::wstring ListCellText(HWND list, int row, int column);
std::vector<std::wstring> ListRowTexts(HWND list, int row);
bool IsListRowSelected(HWND list, int row);
// the state image index of a row (1 unchecked, 2 checked with LVS_EX_CHECKBOXES), 0 for none
int ListStateImage(HWND list, int row);
LPARAM ListItemData(HWND list, int row);

// The colours a row's cell is painted with: the list's parent is asked through NM_CUSTOMDRAW exactly as when the
// list paints (prepaint, item prepaint, sub-item prepaint), and the colours it fills in are returned.
struct CellColors {
    COLORREF Text = CLR_DEFAULT;
    COLORREF Back = CLR_DEFAULT;
    LRESULT Answer = 0;
};
CellColors ListCellColors(HWND list, int row, int column);

// A file's bytes as they are on disk ("<missing>" when it cannot be opened).
std::string ReadBytes(const std::wstring& path);
// The clipboard's Unicode text ("<busy>" when the clipboard cannot be opened).
std::wstring ClipboardText();
// Writes the screen pixels of a window as a 24-bit BMP (for looking at a dialog, not for comparing).
bool SaveWindowBitmap(HWND window, const std::wstring& path);

} // namespace harness
