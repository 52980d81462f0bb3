#include "kit/ui/ToolTip.h"

#include <commctrl.h>

namespace kit {

boost::shared_ptr<ToolTip> ToolTip::Create(Window* parent)
{
    boost::shared_ptr<ToolTip> tip(new ToolTip);
    tip->LinkParent(parent);
    HWND handle = CreateWindowExW(0, TOOLTIPS_CLASSW, 0, TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, parent ? parent->Handle : 0, 0, GetModuleInstance(), 0);
    if (!handle)
        return boost::shared_ptr<ToolTip>();
    Bind(handle, tip.get());
    return tip;
}

bool ToolTip::AddTool(HWND window, UINT_PTR id, const RECT& rect, const std::wstring& text)
{
    // TTM_GETTOOLINFOW copies the tool's text (80 characters at most) into a buffer of the caller's
    wchar_t oldText[80] = {};
    TTTOOLINFOW info = {};
    info.cbSize = sizeof info;
    info.hwnd = window;
    info.uId = id;
    info.lpszText = oldText;
    // a toolbar that knows its tooltip adds a text-less tool per button itself: give that one the text
    if (SendMessageW(Handle, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info))) {
        info.uFlags |= TTF_SUBCLASS;
        info.rect = rect;
        info.lpszText = const_cast<wchar_t*>(text.c_str());
        SendMessageW(Handle, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info));
        return true;
    }
    info.uFlags = TTF_SUBCLASS;
    info.rect = rect;
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    return SendMessageW(Handle, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

int ToolTip::GetToolCount() const
{
    return static_cast<int>(SendMessageW(Handle, TTM_GETTOOLCOUNT, 0, 0));
}

std::wstring ToolTip::GetToolText(HWND window, UINT_PTR id) const
{
    wchar_t buffer[256] = {};
    TTTOOLINFOW info = {};
    info.cbSize = sizeof info;
    info.hwnd = window;
    info.uId = id;
    info.lpszText = buffer;
    SendMessageW(Handle, TTM_GETTEXTW, sizeof buffer / sizeof buffer[0], reinterpret_cast<LPARAM>(&info));
    return info.lpszText ? std::wstring(buffer) : std::wstring();
}

} // namespace kit
