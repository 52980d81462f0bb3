#include "kit/ui/ToolBarButton.h"

#include "kit/ui/ToolBar.h"
#include "kit/ui/ToolTip.h"

#include <commctrl.h>

namespace kit {

void ToolBarButton::SetChecked(bool checked)
{
    SendMessageW(Bar->Handle, TB_CHECKBUTTON, static_cast<WPARAM>(Command), MAKELPARAM(checked ? TRUE : FALSE, 0));
}

bool ToolBarButton::IsChecked() const
{
    return SendMessageW(Bar->Handle, TB_ISBUTTONCHECKED, static_cast<WPARAM>(Command), 0) != 0;
}

void ToolBarButton::SetEnabled(bool enabled)
{
    SendMessageW(Bar->Handle, TB_ENABLEBUTTON, static_cast<WPARAM>(Command), MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

bool ToolBarButton::IsEnabled() const
{
    return SendMessageW(Bar->Handle, TB_ISBUTTONENABLED, static_cast<WPARAM>(Command), 0) != 0;
}

bool ToolBarButton::AddTip(const std::wstring& text)
{
    ToolTip* tips = Bar->GetTips();
    if (!tips)
        return false;
    RECT rect = {};
    SendMessageW(Bar->Handle, TB_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&rect));
    if (!tips->AddTool(Bar->Handle, static_cast<UINT_PTR>(Command), rect, text))
        return false;
    SendMessageW(Bar->Handle, TB_SETTOOLTIPS, reinterpret_cast<WPARAM>(tips->Handle), 0);
    return true;
}

} // namespace kit
