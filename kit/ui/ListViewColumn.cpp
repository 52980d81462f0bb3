#include "kit/ui/ListViewColumn.h"

#include "kit/ui/ListView.h"

#include <commctrl.h>

namespace kit {

int ListViewColumn::GetWidth() const
{
    return static_cast<int>(List->SendToControl(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(Index), 0));
}

void ListViewColumn::SetWidth(int width)
{
    List->SendToControl(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(Index), MAKELPARAM(width, 0));
}

std::wstring ListViewColumn::GetText() const
{
    wchar_t buffer[260] = {};
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT;
    column.pszText = buffer;
    column.cchTextMax = static_cast<int>(sizeof buffer / sizeof buffer[0]);
    if (!List->SendToControl(LVM_GETCOLUMNW, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&column)))
        return std::wstring();
    return std::wstring(column.pszText);
}

} // namespace kit
