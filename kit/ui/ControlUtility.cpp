#include "kit/ui/ControlUtility.h"

namespace kit {

void SetDefaultFont(HWND control)
{
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
}

bool IsControlKeyDown()
{
    return (GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

LRESULT WantKeysButTab(LRESULT defaultCode, LPARAM lParam)
{
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (message && (message->message == WM_KEYDOWN || message->message == WM_CHAR) && message->wParam == VK_TAB)
        return defaultCode;
    return defaultCode | DLGC_WANTALLKEYS;
}

} // namespace kit
