#include "kit/ui/ListView.h"

#include "kit/core/CriticalSection.h"
#include "kit/core/LockObject.h"
#include "kit/ui/ControlUtility.h"
#include "kit/ui/ListViewEditBox.h"

#include <algorithm>
#include <deque>
#include <mutex>
#include <windowsx.h>

namespace kit {

namespace {

// cells written by other threads and not yet by the controls, oldest first; a removed row's Index is -1
struct PendingCell {
    ListView* List;
    boost::shared_ptr<ListViewItem> Row;
    int Column;
    std::wstring Text;
};

struct PendingCells {
    std::mutex Guard; // held for a push or a pop only
    std::deque<PendingCell> Cells;
};

PendingCells& Pending()
{
    static PendingCells pending;
    return pending;
}

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
    // rows (and their editors) and columns go before the lock, which goes before the window
    RetiredEditors.clear();
    {
        // queued cells of this list have nowhere to go
        PendingCells& pending = Pending();
        std::lock_guard<std::mutex> guard(pending.Guard);
        pending.Cells.erase(std::remove_if(pending.Cells.begin(), pending.Cells.end(),
                                           [this](const PendingCell& cell) { return cell.List == this; }),
                            pending.Cells.end());
    }
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

bool ListView::Create(Window* parent, int id)
{
    const RECT empty = {0, 0, 0, 0};
    if (!CreateControl(parent, WC_LISTVIEWW, std::wstring(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | LVS_REPORT,
                       WS_EX_CLIENTEDGE, empty, id))
        return false;
    SetDefaultFont(Handle);
    Subclass();
    return true;
}

bool ListView::Attach(Window* dialog, int id)
{
    return AttachAndSubclass(dialog, id);
}

void ListView::SetBehaviour(uint8_t flags)
{
    Behaviour = flags;
    if (Handle)
        EnsureEmptyLastRow();
}

void ListView::SetExtendedStyle(DWORD style)
{
    SendToControl(LVM_SETEXTENDEDLISTVIEWSTYLE, style, style);
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
    // caller's work, so posted messages and input wait in the queue until the caller is done
    do {
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_SENDMESSAGE);
    } while (!Lock->TryLock());
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
    ForeignChange change(*this);
    if (IsGuiThread())
        DrainWrites();
    if (index < 0 || index > GetColumnCount())
        return 0;
    if (EditingItem)
        DropEditor(EditingItem);
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
    ForeignChange change(*this);
    if (IsGuiThread())
        DrainWrites();
    if (index < 0 || index >= GetColumnCount())
        return;
    if (EditingItem)
        DropEditor(EditingItem);
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
    ForeignChange change(*this);
    // rows are inserted and removed on the GUI thread: the queued cells of other threads find their rows by object
    if (IsGuiThread())
        DrainWrites();
    if (index < 0 || index > GetItemCount())
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
    ForeignChange change(*this);
    if (IsGuiThread())
        DrainWrites();
    if (index < 0 || index >= GetItemCount())
        return;
    ListViewItem* item = Items[static_cast<size_t>(index)].get();
    if (item->Editor)
        DropEditor(item);
    // the control lets go of the row before the object goes
    SendToControl(LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
    item->Index = -1;
    Items.erase(Items.begin() + index);
    RenumberItems(static_cast<size_t>(index));
}

void ListView::DeleteItems(std::vector<int> indexes)
{
    Hold hold(*this);
    ForeignChange change(*this);
    if (IsGuiThread())
        DrainWrites();
    const int count = GetItemCount();
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
        if (item->Editor)
            DropEditor(item.get());
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
    Hold hold(*this);
    ForeignChange change(*this);
    if (IsGuiThread())
        DrainWrites();
    if (EditingItem)
        DropEditor(EditingItem);
    SendToControl(LVM_DELETEALLITEMS, 0, 0);
    for (const boost::shared_ptr<ListViewItem>& item : Items)
        item->Index = -1;
    Items.clear();
}

void ListView::Reserve(int count)
{
    Hold hold(*this);
    if (count <= GetItemCount())
        return;
    Items.reserve(static_cast<size_t>(count));
    SendToControl(LVM_SETITEMCOUNT, static_cast<WPARAM>(count), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

ListViewItem* ListView::GetItem(int index) const
{
    if (index < 0 || index >= GetItemCount())
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

ListViewItem* ListView::GetFirstSelected() const
{
    Hold hold(*this);
    const int index =
        static_cast<int>(SendToControl(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
    return GetItem(index);
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

ListViewItem* ListView::HitTest(int x, int y, int* column) const
{
    Hold hold(*this);
    LVHITTESTINFO hit = {};
    hit.pt.x = x;
    hit.pt.y = y;
    SendToControl(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (hit.iItem < 0 || !(hit.flags & LVHT_ONITEM))
        return 0;
    if (column)
        *column = hit.iSubItem;
    return GetItem(hit.iItem);
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
    if (!(Behaviour & InPlaceEdit))
        return;
    Hold hold(*this);
    if (Items.empty() || !Items.back()->GetText(0).empty())
        AddItem(std::wstring());
}

void ListView::OpenSelected()
{
    const std::vector<int> selected = GetSelectedIndexes();
    for (int index : selected) {
        if (ListViewItem* item = GetItem(index))
            ShellOpen(item->GetText(0), std::wstring(), std::wstring());
    }
}

// ---------------------------------------------------------------------------------------------------------------
// in-place editing

bool ListView::BeginEdit(ListViewItem* item, int column)
{
    if (EditingItem)
        EndEdit(EditingItem, true);
    ReleaseRetiredEditors();
    if (column < 0 || column >= std::max(1, GetColumnCount()))
        return false;
    const int index = item->Index;
    SendToControl(LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
    RECT rect = {};
    rect.top = column;
    rect.left = LVIR_LABEL;
    if (!SendToControl(LVM_GETSUBITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)))
        return false;
    boost::shared_ptr<ListViewEditBox> editor = ListViewEditBox::Create(item, rect, item->GetText(column));
    if (!editor)
        return false;
    item->Editor = editor;
    item->EditColumn = column;
    EditingItem = item;
    SetFocus(editor->Handle);
    SendMessageW(editor->Handle, EM_SETSEL, 0, -1);
    return true;
}

void ListView::EndEdit(ListViewItem* item, bool commit)
{
    boost::shared_ptr<ListViewEditBox> editor = item->Editor;
    if (!editor || editor->IsFinished())
        return;
    // the focus moves and the window goes below: neither may end the edit a second time
    editor->MarkFinished();
    if (commit) {
        item->SetText(item->EditColumn, editor->GetText());
        EnsureEmptyLastRow();
    }
    if (GetFocus() == editor->Handle)
        SetFocus(Handle);
    DropEditor(item);
}

void ListView::DropEditor(ListViewItem* item)
{
    boost::shared_ptr<ListViewEditBox> editor;
    editor.swap(item->Editor);
    if (EditingItem == item)
        EditingItem = 0;
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
        if (Behaviour & InPlaceEdit) {
            if (ListViewItem* item = GetFirstSelected())
                BeginEdit(item, 0);
        }
        if (Behaviour & OpenKey)
            OpenSelected();
        break;
    case VK_F2:
        if (Behaviour & InPlaceEdit) {
            if (ListViewItem* item = GetFirstSelected())
                BeginEdit(item, 0);
        }
        break;
    case VK_DELETE:
        if (Behaviour & DeleteKey) {
            DeleteItems(GetSelectedIndexes());
            EnsureEmptyLastRow();
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

LRESULT ListView::OnLeftButtonDblClk(WPARAM wParam, LPARAM lParam)
{
    ReleaseRetiredEditors();
    // the control's own handling first: it takes the focus, which would end an edit begun before it
    const LRESULT result = DefaultProc(WM_LBUTTONDBLCLK, wParam, lParam);
    if (Behaviour & InPlaceEdit) {
        int column = 0;
        if (ListViewItem* item = HitTest(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), &column))
            BeginEdit(item, column);
    }
    return result;
}

LRESULT ListView::OnUser(WPARAM, LPARAM)
{
    // WriteCellsMessage
    DrainWrites();
    return 0;
}


void ListView::QueueWrites(int index, const std::vector<ListViewItem::Cell>& cells)
{
    if (cells.empty() || index < 0 || index >= GetItemCount())
        return;
    PendingCells& pending = Pending();
    bool first = false;
    {
        std::lock_guard<std::mutex> guard(pending.Guard);
        first = pending.Cells.empty();
        for (const ListViewItem::Cell& cell : cells)
            pending.Cells.push_back(PendingCell{this, Items[static_cast<size_t>(index)], cell.first, cell.second});
    }
    // one message wakes the GUI thread for everything queued until it drains
    if (first && Handle)
        PostMessageW(Handle, WriteCellsMessage, 0, 0);
}

void ListView::DrainWrites()
{
    PendingCells& pending = Pending();
    // One cell at a time, taken off the queue before it is written: a handler on the way (a subclass further up)
    // may itself drain or remove rows, and a cell taken later is never older than one written before it.
    for (;;) {
        PendingCell cell;
        {
            std::lock_guard<std::mutex> guard(pending.Guard);
            if (pending.Cells.empty())
                return;
            cell = std::move(pending.Cells.front());
            pending.Cells.pop_front();
        }
        // Rows change places on this thread only, unless another thread is inserting or removing rows: that thread
        // holds the lock until the control and the places agree again (taking it serves its messages meanwhile).
        int row = -1;
        if (cell.List->ForeignChanges) {
            Hold hold(*cell.List);
            row = cell.Row->Index;
        } else {
            row = cell.Row->Index;
        }
        // a row removed meanwhile has no cells to write
        if (row < 0 || !cell.List->Handle)
            continue;
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.iSubItem = cell.Column;
        item.pszText = const_cast<wchar_t*>(cell.Text.c_str());
        // through the whole window procedure, as the write of another thread would come
        SendMessageW(cell.List->Handle, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
}

LRESULT ListView::OnNotify(WPARAM wParam, LPARAM lParam)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header && header->hwndFrom == Handle && header->code == NM_CUSTOMDRAW && (Behaviour & ColorDrawing))
        return AnswerNotify(CustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam)));
    return Window::OnNotify(wParam, lParam);
}

LRESULT ListView::CustomDraw(NMLVCUSTOMDRAW& draw)
{
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
        const DWORD_PTR count = static_cast<DWORD_PTR>(SendToControl(LVM_GETITEMCOUNT, 0, 0));
        if (draw.nmcd.dwItemSpec >= count)
            return CDRF_DODEFAULT;
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
