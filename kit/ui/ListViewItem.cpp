#include "kit/ui/ListViewItem.h"

#include "kit/ui/ListView.h"
#include "kit/ui/ListViewEditBox.h"

#include <commctrl.h>

namespace kit {

namespace {

const size_t TextStep = 256;

} // namespace

ListViewItem::~ListViewItem()
{
    if (Editor)
        Editor->MarkFinished();
}

std::wstring ListViewItem::GetText(int column) const
{
    ListView::Hold hold(*List);
    std::wstring buffer;
    for (size_t size = TextStep;; size += TextStep) {
        buffer.assign(size, L'\0');
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = &buffer[0];
        item.cchTextMax = static_cast<int>(size);
        const size_t length = static_cast<size_t>(
            List->SendToControl(LVM_GETITEMTEXTW, static_cast<WPARAM>(Index.load()),
                         reinterpret_cast<LPARAM>(&item)));
        // a text that fills the buffer up to its terminator may have been cut: try a larger buffer
        if (length < size - 1) {
            buffer.resize(length);
            return buffer;
        }
    }
}

void ListViewItem::SetText(int column, const std::wstring& text)
{
    ListView::Hold hold(*List);
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = Index;
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    List->SendToControl(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
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
    List->SendToControl(LVM_UPDATE, static_cast<WPARAM>(Index.load()), 0);
}

bool ListViewItem::BeginEdit(int column)
{
    return List->BeginEdit(this, column);
}

void ListViewItem::EndEdit(bool commit)
{
    List->EndEdit(this, commit);
}

} // namespace kit
