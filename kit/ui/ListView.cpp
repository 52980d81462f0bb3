#include "kit/ui/ListView.h"

#include "kit/core/CriticalSection.h"
#include "kit/core/LockObject.h"
#include "kit/ui/BlendedImages.h"
#include "kit/ui/ControlUtility.h"
#include "kit/ui/ListViewEditBox.h"

#include <algorithm>
#include <climits>
#include <windowsx.h>

namespace kit {

namespace {

// the predefined class of dialog windows
const ATOM DialogClassAtom = 32770;

bool IsDialogWindow(HWND window)
{
    return window && GetClassLongPtrW(window, GCW_ATOM) == DialogClassAtom;
}

} // namespace

ListView::ListView(bool locked)
    : Lock(locked ? boost::shared_ptr<LockObject>(new CriticalSection) : boost::shared_ptr<LockObject>(new LockObject))
{
}

ListView::~ListView()
{
    // the editor, rows and columns go before the lock, which goes before the window
    if (Editor)
        Editor->MarkFinished();
    Editor.reset();
    RetiredEditors.clear();
    Items.clear();
    Columns.clear();
}

boost::shared_ptr<ListView> ListView::Create(Window* parent, int id, bool locked)
{
    boost::shared_ptr<ListView> list(new ListView(locked));
    if (!list->Create(parent, id))
        return boost::shared_ptr<ListView>();
    return list;
}

boost::shared_ptr<ListView> ListView::Attach(Window* dialog, int id, bool locked)
{
    boost::shared_ptr<ListView> list(new ListView(locked));
    if (!list->Attach(dialog, id))
        return boost::shared_ptr<ListView>();
    return list;
}

boost::shared_ptr<ListView> ListView::CreateVirtual(Window* parent, int id, ListViewSource* source)
{
    boost::shared_ptr<ListView> list(new ListView(false));
    list->Source = source;
    if (!source || !list->CreateVirtual(parent, id))
        return boost::shared_ptr<ListView>();
    return list;
}

boost::shared_ptr<ListView> ListView::AttachVirtual(Window* dialog, int id, ListViewSource* source)
{
    boost::shared_ptr<ListView> list(new ListView(false));
    list->Source = source;
    if (!source || !list->AttachVirtual(dialog, id))
        return boost::shared_ptr<ListView>();
    return list;
}

bool ListView::Create(Window* parent, int id)
{
    const RECT empty = {0, 0, 0, 0};
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | LVS_REPORT | (Source ? LVS_OWNERDATA : 0);
    if (!CreateControl(parent, WC_LISTVIEWW, std::wstring(), style, WS_EX_CLIENTEDGE, empty, id))
        return false;
    SetDefaultFont(Handle);
    Subclass();
    return true;
}

bool ListView::Attach(Window* dialog, int id)
{
    return AttachAndSubclass(dialog, id);
}

bool ListView::CreateVirtual(Window* parent, int id)
{
    return Source && Create(parent, id);
}

bool ListView::AttachVirtual(Window* dialog, int id)
{
    if (!Source || !dialog || !dialog->Handle)
        return false;
    HWND old = GetDlgItem(dialog->Handle, id);
    if (!old)
        return false;
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(old, GWL_STYLE));
    if (!(style & LVS_OWNERDATA)) {
        RECT rect = {};
        GetWindowRect(old, &rect);
        MapWindowPoints(nullptr, dialog->Handle, reinterpret_cast<POINT*>(&rect), 2);
        HWND made = CreateWindowExW(static_cast<DWORD>(GetWindowLongPtrW(old, GWL_EXSTYLE)), WC_LISTVIEWW, L"",
                                    style | LVS_OWNERDATA, rect.left, rect.top, rect.right - rect.left,
                                    rect.bottom - rect.top, dialog->Handle,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleInstance(), nullptr);
        if (!made)
            return false;
        SendMessageW(made, WM_SETFONT, SendMessageW(old, WM_GETFONT, 0, 0), FALSE);
        // the same place in the tab order
        SetWindowPos(made, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        DestroyWindow(old);
    }
    return AttachAndSubclass(dialog, id);
}

bool ListView::SetRowCount(int count)
{
    if (!Source || count < 0)
        return false;
    Hold hold(*this);
    if (Editor && EditRow >= count)
        DropEditor();
    RowCount = count;
    return SendToControl(LVM_SETITEMCOUNT, static_cast<WPARAM>(count), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL) != 0;
}

void ListView::RedrawRows(int first, int last)
{
    const int count = GetItemCount();
    first = std::max(first, 0);
    last = std::min(last, count - 1);
    if (first > last)
        return;
    if (!IsGuiThread()) {
        PostToControl(LVM_REDRAWITEMS, static_cast<WPARAM>(first), static_cast<LPARAM>(last));
        return;
    }
    // the control invalidates row by row: rows out of sight are left to be painted when they scroll in
    const int top = static_cast<int>(SendToControl(LVM_GETTOPINDEX, 0, 0));
    const int page = static_cast<int>(SendToControl(LVM_GETCOUNTPERPAGE, 0, 0));
    first = std::max(first, top);
    last = std::min(last, top + page);
    if (first > last)
        return;
    // In report view the rows are one band of the client area: one invalidation instead of the control's one per
    // row, each of which is a round trip to the window server under Wine.
    RECT firstRow = {LVIR_BOUNDS, 0, 0, 0};
    RECT lastRow = {LVIR_BOUNDS, 0, 0, 0};
    RECT client;
    if ((GetWindowLongPtrW(Handle, GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT && GetClientRect(Handle, &client) &&
        SendToControl(LVM_GETITEMRECT, static_cast<WPARAM>(first), reinterpret_cast<LPARAM>(&firstRow)) &&
        SendToControl(LVM_GETITEMRECT, static_cast<WPARAM>(last), reinterpret_cast<LPARAM>(&lastRow))) {
        RECT band = {client.left, std::max(firstRow.top, client.top), client.right,
                     std::min(lastRow.bottom, client.bottom)};
        if (band.top < band.bottom)
            InvalidateRect(Handle, &band, TRUE);
        return;
    }
    SendToControl(LVM_REDRAWITEMS, static_cast<WPARAM>(first), static_cast<LPARAM>(last));
}

void ListView::SetBehaviour(uint8_t flags)
{
    Behaviour = flags;
    Blended.reset(); // the next paint decides again
    if (Handle)
        EnsureEmptyLastRow();
}

void ListView::SetExtendedStyle(DWORD style)
{
    SendToControl(LVM_SETEXTENDEDLISTVIEWSTYLE, style, style);
    // the control keeps no check boxes of a virtual list: it asks for them with the other cell data
    if (Source && (style & LVS_EX_CHECKBOXES))
        SendToControl(LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
}

bool ListView::UsesCheckBoxes() const
{
    return (SendToControl(LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_CHECKBOXES) != 0;
}

void ListView::SetSmallImageList(HIMAGELIST images)
{
    // the lists show the system's image list, which is not theirs: without this style a list destroys it
    SetWindowLongPtrW(Handle, GWL_STYLE, GetWindowLongPtrW(Handle, GWL_STYLE) | LVS_SHAREIMAGELISTS);
    SendToControl(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
}

// ---------------------------------------------------------------------------------------------------------------
// lock and bulk updates

void ListView::AcquireLock() const
{
    if (Lock->TryLock())
        return;
    // a worker waits; the GUI thread keeps serving the messages the lock's holder may be sending it
    if (!Handle || GuiThread != GetCurrentThreadId()) {
        Lock->Lock();
        return;
    }
    // only sent messages are served: a paint or input handled here would re-enter the lists in the middle of the
    // caller's work
    ServeSentMessagesUntil([this] { return Lock->TryLock(); });
}

LRESULT ListView::SendToControl(UINT message, WPARAM wParam, LPARAM lParam) const
{
    if (!Handle)
        return 0;
    if (ControlProcedure && GuiThread == GetCurrentThreadId())
        return CallWindowProcW(ControlProcedure, Handle, message, wParam, lParam);
    return SendMessageW(Handle, message, wParam, lParam);
}

void ListView::PostToControl(UINT message, WPARAM wParam, LPARAM lParam) const
{
    if (!Handle)
        return;
    if (GuiThread == GetCurrentThreadId())
        SendToControl(message, wParam, lParam);
    else
        PostMessageW(Handle, message, wParam, lParam);
}

void ListView::ReleaseLock() const
{
    Lock->Unlock();
}

void ListView::BeginUpdate()
{
    if (UpdateDepth.fetch_add(1) == 0)
        SendToControl(WM_SETREDRAW, FALSE, 0);
}

void ListView::EndUpdate()
{
    if (UpdateDepth.fetch_sub(1) != 1)
        return;
    SendToControl(WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Handle, 0, TRUE);
}

// ---------------------------------------------------------------------------------------------------------------
// columns

bool ListView::InsertControlColumn(int index, const std::wstring& text, int width, int format)
{
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<wchar_t*>(text.c_str());
    const LRESULT at =
        SendToControl(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
    if (at != index)
        return false;
    // the first column takes no format at insertion: set it once more
    SendToControl(LVM_SETCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
    return true;
}

ListViewColumn* ListView::AddColumn(const std::wstring& text, int width, int format)
{
    Hold hold(*this);
    return InsertColumn(GetColumnCount(), text, width, format);
}

ListViewColumn* ListView::InsertColumn(int index, const std::wstring& text, int width, int format)
{
    Hold hold(*this);
    if (index < 0 || index > GetColumnCount())
        return 0;
    if (Editor)
        DropEditor();
    boost::shared_ptr<ListViewColumn> column(new ListViewColumn(this, index));
    Columns.insert(Columns.begin() + index, column);
    if (!InsertControlColumn(index, text, width, format)) {
        Columns.erase(Columns.begin() + index);
        return 0;
    }
    RenumberColumns(static_cast<size_t>(index));
    ShiftTexts(index, true);
    return column.get();
}

void ListView::DeleteColumn(int index)
{
    Hold hold(*this);
    if (index < 0 || index >= GetColumnCount())
        return;
    if (Editor)
        DropEditor();
    SendToControl(LVM_DELETECOLUMN, static_cast<WPARAM>(index), 0);
    Columns.erase(Columns.begin() + index);
    RenumberColumns(static_cast<size_t>(index));
    ShiftTexts(index, false);
}

void ListView::ShiftTexts(int index, bool inserted)
{
    const size_t at = static_cast<size_t>(index);
    if (index == 0) {
        // what happens to the row's own text when the first column comes or goes is the control's business: the
        // copies are read back from it
        ReadBackTexts();
        return;
    }
    for (const boost::shared_ptr<ListViewItem>& item : Items) {
        std::vector<std::wstring>& texts = item->Texts;
        if (texts.size() <= at)
            continue;
        if (inserted)
            texts.insert(texts.begin() + index, std::wstring());
        else
            texts.erase(texts.begin() + index);
    }
}

void ListView::ReadBackTexts()
{
    const int columns = std::max(GetColumnCount(), 1);
    std::wstring buffer;
    for (const boost::shared_ptr<ListViewItem>& item : Items) {
        item->Texts.clear();
        for (int column = 0; column < columns; ++column)
            item->KeepText(column, ReadControlText(item->Index, column, buffer));
    }
}

const std::wstring& ListView::ReadControlText(int row, int column, std::wstring& buffer) const
{
    for (size_t size = 256;; size *= 2) {
        buffer.assign(size, L'\0');
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = &buffer[0];
        item.cchTextMax = static_cast<int>(size);
        const size_t length = static_cast<size_t>(
            SendToControl(LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
        // a text that fills the buffer up to its terminator may have been cut: try a larger buffer
        if (length < size - 1) {
            buffer.resize(length);
            return buffer;
        }
    }
}

void ListView::DeleteAllColumns()
{
    Hold hold(*this);
    for (int index = GetColumnCount() - 1; index >= 0; --index)
        DeleteColumn(index);
}

ListViewColumn* ListView::GetColumn(int index) const
{
    if (index < 0 || index >= GetColumnCount())
        return 0;
    return Columns[static_cast<size_t>(index)].get();
}

void ListView::RenumberColumns(size_t from)
{
    for (size_t at = from; at < Columns.size(); ++at)
        Columns[at]->Index = static_cast<int>(at);
}

// ---------------------------------------------------------------------------------------------------------------
// rows

ListViewItem* ListView::AddItem(const std::wstring& text)
{
    Hold hold(*this);
    return InsertItem(GetItemCount(), text);
}

ListViewItem* ListView::InsertItem(int index, const std::wstring& text)
{
    Hold hold(*this);
    if (Source || index < 0 || index > GetItemCount())
        return 0;
    boost::shared_ptr<ListViewItem> item(new ListViewItem(this, index));
    Items.insert(Items.begin() + index, item);
    // the control item carries its object, so that custom draw finds the row without the lock
    LVITEMW row = {};
    row.mask = LVIF_TEXT | LVIF_PARAM;
    row.iItem = index;
    row.pszText = const_cast<wchar_t*>(text.c_str());
    row.lParam = reinterpret_cast<LPARAM>(item.get());
    if (SendToControl(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row)) != index) {
        Items.erase(Items.begin() + index);
        return 0;
    }
    item->KeepText(0, text);
    RenumberItems(static_cast<size_t>(index) + 1);
    return item.get();
}

void ListView::DeleteItem(int index)
{
    Hold hold(*this);
    if (Source || index < 0 || index >= GetItemCount())
        return;
    ListViewItem* item = Items[static_cast<size_t>(index)].get();
    if (EditingItem == item)
        DropEditor();
    // the control lets go of the row before the object goes
    SendToControl(LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
    item->Index = -1;
    Items.erase(Items.begin() + index);
    RenumberItems(static_cast<size_t>(index));
}

void ListView::DeleteItems(std::vector<int> indexes)
{
    Hold hold(*this);
    const int count = static_cast<int>(Items.size());
    indexes.erase(std::remove_if(indexes.begin(), indexes.end(), [count](int i) { return i < 0 || i >= count; }),
                  indexes.end());
    if (indexes.empty())
        return;
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    if (indexes.size() == 1) {
        DeleteItem(indexes.front());
        return;
    }
    UpdateBlock block(*this);
    // from the last to the first, so that the control's indexes of the rows still to go do not move
    for (std::vector<int>::const_reverse_iterator at = indexes.rbegin(); at != indexes.rend(); ++at) {
        boost::shared_ptr<ListViewItem>& item = Items[static_cast<size_t>(*at)];
        if (EditingItem == item.get())
            DropEditor();
        SendToControl(LVM_DELETEITEM, static_cast<WPARAM>(*at), 0);
        item->Index = -1;
        item.reset();
    }
    Items.erase(std::remove(Items.begin() + indexes.front(), Items.end(), boost::shared_ptr<ListViewItem>()),
                Items.end());
    RenumberItems(static_cast<size_t>(indexes.front()));
}

void ListView::DeleteAllItems()
{
    if (Source) {
        SetRowCount(0);
        return;
    }
    Hold hold(*this);
    if (Editor)
        DropEditor();
    SendToControl(LVM_DELETEALLITEMS, 0, 0);
    for (const boost::shared_ptr<ListViewItem>& item : Items)
        item->Index = -1;
    Items.clear();
}

void ListView::Reserve(int count)
{
    Hold hold(*this);
    if (Source || count <= GetItemCount())
        return;
    Items.reserve(static_cast<size_t>(count));
    SendToControl(LVM_SETITEMCOUNT, static_cast<WPARAM>(count), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

ListViewItem* ListView::GetItem(int index) const
{
    if (index < 0 || static_cast<size_t>(index) >= Items.size())
        return 0;
    return Items[static_cast<size_t>(index)].get();
}

void ListView::RenumberItems(size_t from)
{
    for (size_t at = from; at < Items.size(); ++at)
        Items[at]->Index = static_cast<int>(at);
}

int ListView::CountChecked() const
{
    const int count = static_cast<int>(SendToControl(LVM_GETITEMCOUNT, 0, 0));
    int checked = 0;
    if (Source) {
        for (int row = 0; row < count; ++row)
            checked += Source->IsChecked(row) ? 1 : 0;
        return checked;
    }
    for (int index = 0; index < count; ++index) {
        const UINT state =
            static_cast<UINT>(SendToControl(LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK));
        if ((state & LVIS_STATEIMAGEMASK) >> 12 != 1)
            ++checked;
    }
    return checked;
}

std::vector<int> ListView::GetSelectedIndexes() const
{
    Hold hold(*this);
    std::vector<int> selected;
    // walks the selection only, not every row
    int index = -1;
    while ((index = static_cast<int>(SendToControl(LVM_GETNEXTITEM, static_cast<WPARAM>(index),
                                                  MAKELPARAM(LVNI_SELECTED, 0)))) >= 0)
        selected.push_back(index);
    return selected;
}

int ListView::GetSelectedCount() const
{
    return static_cast<int>(SendToControl(LVM_GETSELECTEDCOUNT, 0, 0));
}

int ListView::GetFirstSelectedRow() const
{
    Hold hold(*this);
    return static_cast<int>(SendToControl(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
}

int ListView::GetFocusedRow() const
{
    return static_cast<int>(SendToControl(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_FOCUSED, 0)));
}

ListViewItem* ListView::GetFirstSelected() const
{
    return GetItem(GetFirstSelectedRow());
}

void ListView::SelectRows(const std::function<bool(int)>& selected)
{
    Hold hold(*this);
    UpdateBlock block(*this);
    SetRowSelected(-1, false);
    const int count = GetItemCount();
    for (int row = 0; row < count; ++row) {
        if (selected(row))
            SetRowSelected(row, true);
    }
}

void ListView::SetRowSelected(int row, bool selected)
{
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED;
    state.state = selected ? LVIS_SELECTED : 0;
    SendToControl(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
}

void ListView::SetFocusedRow(int row)
{
    LVITEMW state = {};
    state.stateMask = LVIS_FOCUSED;
    if (row < 0) {
        row = GetFocusedRow();
        if (row < 0)
            return;
    } else {
        state.state = LVIS_FOCUSED;
        SendToControl(LVM_SETSELECTIONMARK, 0, static_cast<LPARAM>(row));
    }
    SendToControl(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
}

void ListView::EnsureVisible(int row)
{
    if (row >= 0 && row < GetItemCount())
        SendToControl(LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

void ListView::SelectAll()
{
    Hold hold(*this);
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    // index -1: every row in one message
    SendToControl(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
}

int ListView::HitTestRow(int x, int y, int* column) const
{
    Hold hold(*this);
    LVHITTESTINFO hit = {};
    hit.pt.x = x;
    hit.pt.y = y;
    SendToControl(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (hit.iItem < 0 || !(hit.flags & LVHT_ONITEM))
        return -1;
    if (column)
        *column = hit.iSubItem;
    return hit.iItem;
}

ListViewItem* ListView::HitTest(int x, int y, int* column) const
{
    return GetItem(HitTestRow(x, y, column));
}

std::wstring ListView::GetCellText(int row, int column) const
{
    if (row < 0 || row >= GetItemCount() || column < 0)
        return std::wstring();
    if (!Source)
        return Items[static_cast<size_t>(row)]->GetText(column);
    std::wstring text;
    Source->GetCellText(row, column, text);
    return text;
}

RECT ListView::GetHeaderRect() const
{
    RECT rect = {};
    HWND header = reinterpret_cast<HWND>(SendToControl(LVM_GETHEADER, 0, 0));
    if (header)
        GetClientRect(header, &rect);
    return rect;
}

bool ListView::ColumnsWiderThanClient() const
{
    RECT client = {};
    GetClientRect(Handle, &client);
    long long total = 0;
    for (const boost::shared_ptr<ListViewColumn>& column : Columns)
        total += column->GetWidth();
    return total > client.right - client.left;
}

void ListView::EnsureEmptyLastRow()
{
    // a virtual list's rows are its source's: the source keeps the empty row
    if (Source || !(Behaviour & InPlaceEdit))
        return;
    Hold hold(*this);
    if (Items.empty() || !Items.back()->GetText(0).empty())
        AddItem(std::wstring());
}

void ListView::OpenSelected()
{
    const std::vector<int> selected = GetSelectedIndexes();
    for (int index : selected) {
        const std::wstring path = GetCellText(index, 0);
        if (!path.empty())
            ShellOpen(path, std::wstring(), std::wstring());
    }
}

// ---------------------------------------------------------------------------------------------------------------
// in-place editing

bool ListView::BeginEdit(ListViewItem* item, int column)
{
    return item && item->GetList() == this && BeginEditCell(item->GetIndex(), column);
}

bool ListView::BeginEditCell(int row, int column)
{
    if (Editor)
        EndEdit(Editor.get(), true);
    ReleaseRetiredEditors();
    if (row < 0 || row >= GetItemCount() || column < 0 || column >= std::max(1, GetColumnCount()))
        return false;
    SendToControl(LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    RECT rect = {};
    rect.top = column;
    rect.left = LVIR_LABEL;
    if (!SendToControl(LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect)))
        return false;
    boost::shared_ptr<ListViewEditBox> editor = ListViewEditBox::Create(this, rect, GetCellText(row, column));
    if (!editor)
        return false;
    Editor = editor;
    EditingItem = GetItem(row);
    EditRow = row;
    EditColumn = column;
    SetFocus(editor->Handle);
    SendMessageW(editor->Handle, EM_SETSEL, 0, -1);
    return true;
}

void ListView::EndEdit(ListViewEditBox* editor, bool commit)
{
    if (!editor || editor != Editor.get() || editor->IsFinished())
        return;
    // the focus moves and the window goes below: neither may end the edit a second time
    editor->MarkFinished();
    if (commit) {
        const std::wstring text = editor->GetText();
        if (EditingItem) {
            EditingItem->SetText(EditColumn, text);
            EnsureEmptyLastRow();
        } else if (Source && EditRow < GetItemCount()) {
            Source->SetCellText(EditRow, EditColumn, text);
            RedrawRows(EditRow, EditRow);
        }
    }
    if (GetFocus() == editor->Handle)
        SetFocus(Handle);
    DropEditor();
}

void ListView::DropEditor()
{
    boost::shared_ptr<ListViewEditBox> editor;
    editor.swap(Editor);
    EditingItem = 0;
    EditRow = -1;
    if (!editor)
        return;
    editor->MarkFinished();
    // sent, not destroyed here: a worker thread that deletes the row cannot destroy the GUI thread's window
    if (editor->Handle)
        SendMessageW(editor->Handle, WM_CLOSE, 0, 0);
    // ending from inside the editor's own handler: its object must outlive that handler
    if (EditorHandlers > 0)
        RetiredEditors.push_back(editor);
}

void ListView::ReleaseRetiredEditors()
{
    if (EditorHandlers == 0)
        RetiredEditors.clear();
}

// ---------------------------------------------------------------------------------------------------------------
// messages

void ListView::OnSubclassed()
{
    ControlProcedure = DefaultProcedure;
    GuiThread = GetWindowThreadProcessId(Handle, 0);
}

LRESULT ListView::OnGetDlgCode(WPARAM wParam, LPARAM lParam)
{
    return WantKeysButTab(DefaultProc(WM_GETDLGCODE, wParam, lParam), lParam);
}

LRESULT ListView::OnKeyDown(WPARAM wParam, LPARAM lParam)
{
    ReleaseRetiredEditors();
    switch (wParam) {
    case VK_RETURN:
        if (Behaviour & InPlaceEdit)
            BeginEditCell(GetFirstSelectedRow(), 0);
        if (Behaviour & OpenKey)
            OpenSelected();
        break;
    case VK_F2:
        if (Behaviour & InPlaceEdit)
            BeginEditCell(GetFirstSelectedRow(), 0);
        break;
    case VK_DELETE:
        if (!(Behaviour & DeleteKey))
            break;
        if (Source) {
            const std::vector<int> selected = GetSelectedIndexes();
            if (!selected.empty())
                Source->DeleteRows(selected);
        } else {
            DeleteItems(GetSelectedIndexes());
            EnsureEmptyLastRow();
        }
        break;
    case VK_SPACE:
        // the control cannot toggle a check box it does not keep
        if (Source && UsesCheckBoxes()) {
            ToggleChecks(GetFocusedRow());
            return 0;
        }
        break;
    case 'A':
        if ((Behaviour & SelectAllKey) && IsControlKeyDown())
            SelectAll();
        break;
    default:
        break;
    }
    return DefaultProc(WM_KEYDOWN, wParam, lParam);
}

LRESULT ListView::OnLeftButtonDown(WPARAM wParam, LPARAM lParam)
{
    if (Source && UsesCheckBoxes()) {
        LVHITTESTINFO hit = {};
        hit.pt.x = GET_X_LPARAM(lParam);
        hit.pt.y = GET_Y_LPARAM(lParam);
        SendToControl(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (hit.iItem >= 0 && (hit.flags & LVHT_ONITEMSTATEICON)) {
            ToggleChecks(hit.iItem);
            return 0;
        }
    }
    return DefaultProc(WM_LBUTTONDOWN, wParam, lParam);
}

LRESULT ListView::OnLeftButtonDblClk(WPARAM wParam, LPARAM lParam)
{
    ReleaseRetiredEditors();
    // the control's own handling first: it takes the focus, which would end an edit begun before it
    const LRESULT result = DefaultProc(WM_LBUTTONDBLCLK, wParam, lParam);
    if (Behaviour & InPlaceEdit) {
        int column = 0;
        const int row = HitTestRow(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), &column);
        if (row >= 0)
            BeginEditCell(row, column);
    }
    return result;
}

// A check box of a virtual list changes through its source. Space on a selected row sets every selected row to
// the focused row's new state, as the control does with the check boxes it keeps.
void ListView::ToggleChecks(int row)
{
    if (row < 0 || row >= GetItemCount())
        return;
    const bool checked = !Source->IsChecked(row);
    std::vector<int> rows(1, row);
    const bool selected = (SendToControl(LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) & LVIS_SELECTED) != 0;
    if (selected)
        rows = GetSelectedIndexes();
    for (int changed : rows) {
        Source->SetChecked(changed, checked);
        RedrawRows(changed, changed);
    }
}

LRESULT ListView::OnNotify(WPARAM wParam, LPARAM lParam)
{
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    if (header && header->hwndFrom == Handle && header->code == NM_CUSTOMDRAW && (Behaviour & ColorDrawing))
        return AnswerNotify(CustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam)));
    LRESULT answer = 0;
    if (header && header->hwndFrom == Handle && Source && SourceNotify(*header, answer))
        return AnswerNotify(answer);
    return Window::OnNotify(wParam, lParam);
}

bool ListView::SourceNotify(NMHDR& header, LRESULT& answer)
{
    const int count = GetItemCount();
    switch (header.code) {
    case LVN_GETDISPINFOW: {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
        if (item.iItem >= 0 && item.iItem < count)
            FillDisplayInfo(item);
        answer = 0;
        return true;
    }
    case LVN_ODCACHEHINT: {
        const NMLVCACHEHINT& hint = reinterpret_cast<NMLVCACHEHINT&>(header);
        const int first = std::max(hint.iFrom, 0);
        const int last = std::min(hint.iTo, count - 1);
        if (first <= last)
            Source->PrepareRows(first, last);
        answer = 0;
        return true;
    }
    case LVN_ODFINDITEMW: {
        const NMLVFINDITEMW& find = reinterpret_cast<NMLVFINDITEMW&>(header);
        answer = -1;
        // only searches by text are answered: the rows carry no item data and no places for the others
        if ((find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) && find.lvfi.psz)
            answer = Source->FindRow(find.lvfi.psz, find.iStart, count, (find.lvfi.flags & LVFI_PARTIAL) != 0,
                                     (find.lvfi.flags & LVFI_WRAP) != 0);
        return true;
    }
    case LVN_ODSTATECHANGED: {
        const NMLVODSTATECHANGE& change = reinterpret_cast<NMLVODSTATECHANGE&>(header);
        const int first = std::max(change.iFrom, 0);
        const int last = std::min(change.iTo, count - 1);
        if (first <= last)
            Source->RowStatesChanged(first, last, change.uNewState, change.uOldState);
        answer = 0;
        return true;
    }
    default:
        return false;
    }
}

// Fills in only what the mask asks for. Texts are copied into the control's buffer (cut to fit, always ended),
// so that no text of ours has to outlive the notification.
void ListView::FillDisplayInfo(LVITEMW& item)
{
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        CellBuffer.clear();
        Source->GetCellText(item.iItem, item.iSubItem, CellBuffer);
        const size_t length = std::min(CellBuffer.size(), static_cast<size_t>(item.cchTextMax - 1));
        CellBuffer.copy(item.pszText, length);
        item.pszText[length] = L'\0';
    }
    if ((item.mask & LVIF_IMAGE) && item.iSubItem == 0) {
        // An image the list blends itself is answered with an index past the image list's end, which the control
        // draws as nothing at once. No index at all would move the label: the control lays out a row without an
        // image otherwise.
        const int image = Source->GetImage(item.iItem);
        item.iImage = image >= 0 && BlendsImage(item.iItem) ? INT_MAX : image;
    }
    if ((item.mask & LVIF_STATE) && (item.stateMask & LVIS_STATEIMAGEMASK) && UsesCheckBoxes()) {
        item.state &= ~LVIS_STATEIMAGEMASK;
        item.state |= INDEXTOSTATEIMAGEMASK(Source->IsChecked(item.iItem) ? 2 : 1);
    }
}

// The control draws each image through a bitmap of its own and a few device queries; the list blends a copy. The
// control keeps the images of selected rows in a focused list, which it tints with the highlight colour.
bool ListView::BlendsImage(int row) const
{
    if (!Blended)
        return false;
    return !PaintsFocused ||
           SendToControl(LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED | LVIS_CUT) == 0;
}

// once a paint, not for every row: whether the list blends, with which images, and whether it has the focus (each
// GetFocus is a trip to the server under Wine)
void ListView::PreparePaint(HDC dc)
{
    HIMAGELIST images = nullptr;
    if ((Behaviour & BlendedIcons) && Source && !UsesCheckBoxes())
        images = reinterpret_cast<HIMAGELIST>(SendToControl(LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    if (!images)
        Blended.reset();
    else if (!Blended || Blended->GetImageList() != images)
        Blended.reset(new BlendedImages(images));
    PaintsFocused = GetFocus() == Handle;
    if (Source)
        Source->PreparePaint(dc);
}

void ListView::BlendImage(int row, HDC dc)
{
    const int image = Source->GetImage(row);
    if (image < 0)
        return;
    RECT icon = {};
    icon.left = LVIR_ICON;
    if (SendToControl(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&icon)))
        Blended->Draw(image, dc, icon.left, icon.top, icon.right - icon.left, icon.bottom - icon.top);
}

LRESULT ListView::CustomDraw(NMLVCUSTOMDRAW& draw)
{
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        PreparePaint(draw.nmcd.hdc);
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
        const DWORD_PTR count = static_cast<DWORD_PTR>(SendToControl(LVM_GETITEMCOUNT, 0, 0));
        if (draw.nmcd.dwItemSpec >= count)
            return CDRF_DODEFAULT;
        if (Source) {
            const int row = static_cast<int>(draw.nmcd.dwItemSpec);
            COLORREF text = RGB(0, 0, 0);
            COLORREF back = RGB(255, 255, 255);
            Source->GetRowColors(row, text, back);
            draw.clrText = text;
            draw.clrTextBk = back;
            // the source draws over the cell once the control has painted it
            return CDRF_NEWFONT | CDRF_NOTIFYPOSTPAINT;
        }
        // the control hands over the row's object; a notification made up elsewhere may carry only the index
        ListViewItem* item = ItemFromParam(draw.nmcd.lItemlParam);
        if (!item)
            item = GetItem(static_cast<int>(draw.nmcd.dwItemSpec));
        if (!item)
            return CDRF_DODEFAULT;
        draw.clrText = item->TextColor;
        draw.clrTextBk = item->BackColor;
        return CDRF_NEWFONT;
    }
    case CDDS_ITEMPOSTPAINT | CDDS_SUBITEM: {
        const DWORD_PTR count = static_cast<DWORD_PTR>(SendToControl(LVM_GETITEMCOUNT, 0, 0));
        if (!Source || draw.nmcd.dwItemSpec >= count)
            return CDRF_DODEFAULT;
        if (draw.iSubItem == 0 && BlendsImage(static_cast<int>(draw.nmcd.dwItemSpec)))
            BlendImage(static_cast<int>(draw.nmcd.dwItemSpec), draw.nmcd.hdc);
        return Source->DecorateCell(static_cast<int>(draw.nmcd.dwItemSpec), draw.iSubItem, draw);
    }
    default:
        return CDRF_DODEFAULT;
    }
}

LRESULT ListView::AnswerNotify(LRESULT answer)
{
    // inside a dialog the dialog procedure's result only says "handled"; the answer goes through DWLP_MSGRESULT
    HWND parent = GetParent(Handle);
    if (Attached || IsDialogWindow(parent)) {
        SetWindowLongPtrW(parent, DWLP_MSGRESULT, answer);
        return TRUE;
    }
    return answer;
}

} // namespace kit
