#include "kit/ui/ListViewItem.h"

#include "kit/ui/ListView.h"
#include "kit/ui/ListViewEditBox.h"

#include <commctrl.h>

namespace kit {

ListViewEditBox* ListViewItem::GetEditor() const
{
    return List->GetEditingItem() == this ? List->GetEditor() : 0;
}

int ListViewItem::GetEditColumn() const
{
    return List->GetEditColumn();
}

std::wstring ListViewItem::GetText(int column) const
{
    ListView::Hold hold(*List);
    if (column < 0 || static_cast<size_t>(column) >= Texts.size())
        return std::wstring();
    return Texts[static_cast<size_t>(column)];
}

void ListViewItem::KeepText(int column, const std::wstring& text)
{
    if (column < 0)
        return;
    if (static_cast<size_t>(column) >= Texts.size()) {
        if (text.empty())
            return;
        Texts.resize(static_cast<size_t>(column) + 1);
    }
    Texts[static_cast<size_t>(column)] = text;
}

void ListViewItem::SetText(int column, const std::wstring& text)
{
    ListView::Hold hold(*List);
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = Index;
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    // a cell the control has not (a column that does not exist) is not kept either
    if (List->SendToControl(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        KeepText(column, text);
}

bool ListViewItem::IsSelected() const
{
    return (List->SendToControl(LVM_GETITEMSTATE, static_cast<WPARAM>(Index.load()), LVIS_SELECTED) &
            LVIS_SELECTED) != 0;
}

void ListViewItem::SetSelected(bool selected)
{
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    List->SendToControl(LVM_SETITEMSTATE, static_cast<WPARAM>(Index.load()), reinterpret_cast<LPARAM>(&item));
}

RECT ListViewItem::GetRect() const
{
    RECT rect = {};
    rect.left = LVIR_LABEL;
    List->SendToControl(LVM_GETITEMRECT, static_cast<WPARAM>(Index.load()), reinterpret_cast<LPARAM>(&rect));
    return rect;
}

boost::any ListViewItem::GetData() const
{
    ListView::Hold hold(*List);
    return Data;
}

void ListViewItem::SetData(const boost::any& data)
{
    ListView::Hold hold(*List);
    Data = data;
}

void ListViewItem::SetColors(COLORREF text, COLORREF back)
{
    TextColor = text;
    BackColor = back;
    Redraw();
}

void ListViewItem::SetBackColor(COLORREF back)
{
    BackColor = back;
    Redraw();
}

void ListViewItem::Redraw()
{
    // nobody waits for a repaint: another thread only asks for it
    List->PostToControl(LVM_UPDATE, static_cast<WPARAM>(Index.load()), 0);
}

bool ListViewItem::BeginEdit(int column)
{
    return List->BeginEdit(this, column);
}

void ListViewItem::EndEdit(bool commit)
{
    if (List->GetEditingItem() == this)
        List->EndEdit(List->GetEditor(), commit);
}

} // namespace kit
