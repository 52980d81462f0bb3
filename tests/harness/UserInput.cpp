#include "tests/harness/UserInput.h"

#include <commctrl.h>
#include <shlobj.h>

#include "tests/harness/Pump.h"

namespace harness {

namespace {

// holds the modifier keys down in this thread's keyboard state for as long as the object lives
class HeldModifiers {
public:
    explicit HeldModifiers(int modifiers)
    {
        GetKeyboardState(Saved);
        BYTE state[256];
        GetKeyboardState(state);
        Set(state, modifiers & Ctrl, VK_CONTROL, VK_LCONTROL);
        Set(state, modifiers & Shift, VK_SHIFT, VK_LSHIFT);
        Set(state, modifiers & Alt, VK_MENU, VK_LMENU);
        SetKeyboardState(state);
    }
    ~HeldModifiers() { SetKeyboardState(Saved); }

private:
    static void Set(BYTE* state, int held, int key, int leftKey)
    {
        if (held) {
            state[key] |= 0x80;
            state[leftKey] |= 0x80;
        }
    }
    BYTE Saved[256];
};

LPARAM KeyData(UINT virtualKey, bool up)
{
    const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    LPARAM data = 1 | (static_cast<LPARAM>(scan & 0xFF) << 16);
    if (up)
        data |= (static_cast<LPARAM>(1) << 30) | (static_cast<LPARAM>(1) << 31);
    return data;
}

WPARAM MouseKeys(int modifiers, WPARAM button)
{
    WPARAM keys = button;
    if (modifiers & Ctrl)
        keys |= MK_CONTROL;
    if (modifiers & Shift)
        keys |= MK_SHIFT;
    return keys;
}

} // namespace

void Click(HWND button)
{
    SendMessageW(button, BM_CLICK, 0, 0);
}

void ClickAt(HWND window, int x, int y, int modifiers)
{
    HeldModifiers held(modifiers);
    const LPARAM point = MAKELPARAM(x, y);
    SendMessageW(window, WM_MOUSEMOVE, MouseKeys(modifiers, 0), point);
    SendMessageW(window, WM_LBUTTONDOWN, MouseKeys(modifiers, MK_LBUTTON), point);
    SendMessageW(window, WM_LBUTTONUP, MouseKeys(modifiers, 0), point);
}

void RightClickAt(HWND window, int x, int y)
{
    const LPARAM point = MAKELPARAM(x, y);
    SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, point);
    SendMessageW(window, WM_RBUTTONUP, 0, point);
    POINT screen = {x, y};
    ClientToScreen(window, &screen);
    SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(screen.x, screen.y));
}

void DoubleClickAt(HWND window, int x, int y)
{
    const LPARAM point = MAKELPARAM(x, y);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(window, WM_LBUTTONUP, 0, point);
    SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    SendMessageW(window, WM_LBUTTONUP, 0, point);
}

void PressKey(HWND window, UINT virtualKey, int modifiers)
{
    HeldModifiers held(modifiers);
    const UINT down = (modifiers & Alt) ? WM_SYSKEYDOWN : WM_KEYDOWN;
    const UINT up = (modifiers & Alt) ? WM_SYSKEYUP : WM_KEYUP;
    SendMessageW(window, down, virtualKey, KeyData(virtualKey, false));
    SendMessageW(window, up, virtualKey, KeyData(virtualKey, true));
}

void PostKey(HWND window, UINT virtualKey, int modifiers)
{
    HeldModifiers held(modifiers);
    const UINT down = (modifiers & Alt) ? WM_SYSKEYDOWN : WM_KEYDOWN;
    const UINT up = (modifiers & Alt) ? WM_SYSKEYUP : WM_KEYUP;
    PostMessageW(window, down, virtualKey, KeyData(virtualKey, false));
    PostMessageW(window, up, virtualKey, KeyData(virtualKey, true));
    PumpPending();
}

void TypeText(HWND window, const std::wstring& text)
{
    for (wchar_t c : text)
        SendMessageW(window, WM_CHAR, static_cast<WPARAM>(c), 1);
}

LRESULT SendCommand(HWND window, int command)
{
    return SendMessageW(window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

LRESULT SendControlCommand(HWND parent, HWND control, int code)
{
    const int id = GetDlgCtrlID(control);
    return SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

LRESULT ClickToolbarButton(HWND toolbar, int command)
{
    TBBUTTONINFOW info = {};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_STYLE | TBIF_STATE;
    if (SendMessageW(toolbar, TB_GETBUTTONINFOW, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(&info)) < 0)
        return 0;
    if (!(info.fsState & TBSTATE_ENABLED))
        return 0;
    if (info.fsStyle & BTNS_CHECK) {
        const bool checked = (info.fsState & TBSTATE_CHECKED) != 0;
        SendMessageW(toolbar, TB_CHECKBUTTON, static_cast<WPARAM>(command), MAKELPARAM(!checked, 0));
    }
    return SendMessageW(GetParent(toolbar), WM_COMMAND, MAKEWPARAM(command, BN_CLICKED),
                        reinterpret_cast<LPARAM>(toolbar));
}

HDROP MakeDrop(const std::vector<std::wstring>& paths, POINT point)
{
    size_t characters = 1;
    for (const std::wstring& path : paths)
        characters += path.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + characters * sizeof(wchar_t));
    if (!memory)
        return nullptr;
    DROPFILES* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = point;
    drop->fNC = FALSE;
    drop->fWide = TRUE;
    wchar_t* names = reinterpret_cast<wchar_t*>(reinterpret_cast<BYTE*>(drop) + sizeof(DROPFILES));
    for (const std::wstring& path : paths) {
        path.copy(names, path.size());
        names += path.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

LRESULT DropFiles(HWND window, const std::vector<std::wstring>& paths, POINT point)
{
    HDROP drop = MakeDrop(paths, point);
    if (!drop)
        return 0;
    return SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
}

} // namespace harness
