#include "kit/ui/StatusBarPane.h"

#include "kit/ui/StatusBar.h"

#include <commctrl.h>

namespace kit {

void StatusBarPane::SetText(const std::wstring& text)
{
    SendMessageW(Bar->Handle, SB_SETTEXTW, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring StatusBarPane::GetText() const
{
    const LRESULT info = SendMessageW(Bar->Handle, SB_GETTEXTLENGTHW, static_cast<WPARAM>(Index), 0);
    std::wstring text(static_cast<size_t>(LOWORD(info)) + 1, L'\0');
    SendMessageW(Bar->Handle, SB_GETTEXTW, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(wcslen(text.c_str()));
    return text;
}

void StatusBarPane::SetWidth(int width)
{
    Bar->SetPaneWidth(Index, width);
}

int StatusBarPane::GetWidth() const
{
    return Bar->GetPaneWidth(Index);
}

void StatusBarPane::SetIcon(HICON icon)
{
    SendMessageW(Bar->Handle, SB_SETICON, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(icon));
}

HICON StatusBarPane::GetIcon() const
{
    return reinterpret_cast<HICON>(SendMessageW(Bar->Handle, SB_GETICON, static_cast<WPARAM>(Index), 0));
}

} // namespace kit
