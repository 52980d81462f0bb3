#include "app/lists/CompListView.h"

#include "app/lists/FileListView.h"
#include "app/lists/FileListWindow.h"
#include "app/lists/KeyCase.h"
#include "app/lists/PairDecision.h"
#include "app/lists/PendingIndex.h"
#include "app/shell/Juxta.h"
#include "kit/core/Path.h"

#include <commctrl.h>

namespace {

// the pixel widths of many texts in one list's font, with one device context for the whole batch
class TextMeasure : private boost::noncopyable {
public:
    explicit TextMeasure(HWND window) : Window(window), Dc(GetDC(window))
    {
        if (Dc)
            Old = SelectObject(Dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
    }
    ~TextMeasure()
    {
        if (!Dc)
            return;
        SelectObject(Dc, Old);
        ReleaseDC(Window, Dc);
    }
    int Width(const wchar_t* text, size_t length) const
    {
        SIZE size = {};
        if (Dc && length)
            GetTextExtentPoint32W(Dc, text, static_cast<int>(length), &size);
        return size.cx;
    }
    // the files of one registered folder share the part in front of their relative paths: measured once
    int PrefixWidth(const std::wstring& path, size_t length)
    {
        if (length != LastPrefix.size() || path.compare(0, length, LastPrefix) != 0) {
            LastPrefix.assign(path, 0, length);
            LastPrefixWidth = Width(path.c_str(), length);
        }
        return LastPrefixWidth;
    }

private:
    HWND Window;
    HDC Dc;
    HGDIOBJ Old = 0;
    std::wstring LastPrefix;
    int LastPrefixWidth = 0;
};

FileListView::ItemInfo MakeItemInfo(const PendingRecord& record, TextMeasure& measure)
{
    FileListView::ItemInfo info;
    info.RelativeKey = record.RelativeKey;
    info.HashTexts = record.HashTexts;
    info.SizeText = record.SizeText;
    // the relative key is the tail of the path, lower-cased to the same length
    const size_t prefix =
        record.Path.size() >= record.RelativeKey.size() ? record.Path.size() - record.RelativeKey.size() : 0;
    info.PrefixWidth = measure.PrefixWidth(record.Path, prefix);
    info.PathWidth = measure.Width(record.Path.c_str(), record.Path.size());
    info.Finished = false;
    return info;
}

// a registered file in a row: path (unless the row was made with it), record, "Wait", its shell icon (none for an
// imported row)
void FillRow(FileListView& list, int row, const PendingRecord& record, TextMeasure& measure, COLORREF wait,
             bool withPath)
{
    kit::ListViewItem* item = list.GetItem(row);
    if (!item)
        return;
    if (withPath)
        item->SetText(0, record.Path);
    list.SetItemInfo(*item, MakeItemInfo(record, measure));
    item->SetBackColor(wait);
    list.SetRowImage(row, record.SizeText.empty() ? FileListView::ShellIconIndex(record.Path) : -1);
}

void SelectRow(kit::ListView& list, int row, bool selected)
{
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED;
    state.state = selected ? LVIS_SELECTED : 0;
    list.SendToControl(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
}

bool RowSelected(const kit::ListView& list, int row)
{
    return (list.SendToControl(LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

} // namespace

const wchar_t* const CompListView::MarkTexts[PairMark::Count] = {L"○", L"×", L"←", L"→", L"？"};
const int CompListView::MarkColours[PairMark::Count] = {StateColour::Ok, StateColour::Ng, StateColour::Left,
                                                        StateColour::Right, StateColour::Wait};

CompListView::CompListView(Juxta* main) : kit::ListView(true), Main(main) {}

CompListView::~CompListView() {}

boost::shared_ptr<CompListView> CompListView::Create(Juxta* main, kit::Window* parent, int id)
{
    boost::shared_ptr<CompListView> list(new CompListView(main));
    if (!list->kit::ListView::Create(parent, id))
        return boost::shared_ptr<CompListView>();
    list->SetBehaviour(ColorDrawing);
    list->SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    return list;
}

void CompListView::BuildColumn()
{
    DeleteAllColumns();
    AddColumn(L"状態", ColumnWidth, LVCFMT_RIGHT);
}

// ---------------------------------------------------------------------------------------------------------------
// marks

void CompListView::SetMark(int mark, int row)
{
    if (mark < 0 || mark >= PairMark::Count)
        return;
    Hold hold(*this);
    kit::ListViewItem* item = GetItem(row);
    if (!item)
        return;
    item->SetText(0, MarkTexts[mark]);
    PutMark(*item, mark, false);
}

// everything of SetMark but the text, which a new row gets as it is made (with no icon, which it keeps)
void CompListView::PutMark(kit::ListViewItem& item, int mark, bool newRow)
{
    const int old = GetMark(item.GetIndex());
    if (old != PairMark::None)
        --Main->MarkCounts[old];
    item.SetData(mark);
    if (newRow) {
        LVITEMW image = {};
        image.mask = LVIF_IMAGE;
        image.iItem = item.GetIndex();
        image.iImage = -1;
        SendToControl(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&image));
    }
    item.SetBackColor(Main->GetStateColour(MarkColours[mark]));
    ++Main->MarkCounts[mark];
}

int CompListView::GetMark(int row) const
{
    Hold hold(*this);
    kit::ListViewItem* item = GetItem(row);
    int mark = PairMark::None;
    if (!item || !item->GetDataAs(mark) || mark < 0 || mark >= PairMark::Count)
        return PairMark::None;
    return mark;
}

void CompListView::ResetMarks()
{
    Juxta::RowLocks locks(*Main);
    const int count = GetItemCount();
    for (int row = 0; row < count; ++row) {
        const int mark = GetMark(row);
        if (mark == PairMark::Ok || mark == PairMark::Ng)
            SetMark(PairMark::Unknown, row);
    }
    for (int side = 0; side < 2; ++side) {
        FileListView* list = Main->GetList(side);
        if (!list)
            continue;
        const int rows = list->GetItemCount();
        for (int row = 0; row < rows; ++row) {
            FileListView::ItemInfo info;
            if (list->GetItemInfo(row, info) && info.Finished) {
                info.Finished = false;
                list->SetItemInfo(row, info);
            }
        }
    }
    Main->RefreshPanes();
}

void CompListView::SelectByMark(int kind)
{
    SelectByMark(Main->CurrentSide, kind);
}

void CompListView::SelectByMark(int side, int kind)
{
    Juxta::RowLocks locks(*Main);
    FileListView* list = Main->GetList(side);
    if (!list)
        return;
    const int count = list->GetItemCount();
    for (int row = 0; row < count; ++row) {
        if (kind == SelectKind::All)
            SelectRow(*list, row, true);
        else if (kind == SelectKind::Inverse)
            SelectRow(*list, row, !RowSelected(*list, row));
        else if (kind >= 0 && kind <= 3)
            SelectRow(*list, row, GetMark(row) == kind);
    }
}

void CompListView::Recolour()
{
    Juxta::RowLocks locks(*Main);
    // by mark + 1: no mark, "○", "×", "←", "→", "？"
    static const int colourOf[PairMark::Count + 1] = {StateColour::Wait, StateColour::Ok,    StateColour::Ng,
                                                      StateColour::Left, StateColour::Right, StateColour::Wait};
    COLORREF colours[PairMark::Count + 1];
    for (int at = 0; at <= PairMark::Count; ++at)
        colours[at] = Main->GetStateColour(colourOf[at]);
    kit::ListView* lists[3] = {Main->GetList(0), Main->GetList(1), this};
    const int count = GetItemCount();
    for (int row = 0; row < count; ++row) {
        const COLORREF colour = colours[GetMark(row) + 1];
        for (kit::ListView* list : lists)
            if (kit::ListViewItem* item = list ? list->GetItem(row) : 0)
                item->SetBackColor(colour);
    }
    for (kit::ListView* list : lists)
        if (list)
            InvalidateRect(list->Handle, 0, TRUE);
}

// ---------------------------------------------------------------------------------------------------------------
// placing registered files

void CompListView::MergePending(int side)
{
    Juxta::RowLocks locks(*Main);
    FileListView* own = Main->GetList(side);
    FileListView* other = Main->GetList(1 - side);
    // the window may have gone while the locks were awaited
    if (!own || !other || !Handle || !own->Handle || !other->Handle)
        return;
    std::vector<PendingRecord> pending;
    pending.swap(own->Pending);
    if (pending.empty()) {
        Main->RefreshPanes();
        return;
    }

    PendingIndex index(pending);
    std::vector<std::pair<int, int>> matches; // row, record
    const int rows = GetItemCount();
    for (int row = 0; row < rows; ++row) {
        FileListView::ItemInfo mine;
        // a row whose record has a key holds a file; any other row is blank when its path is empty
        if (own->GetItemInfo(row, mine) && !mine.RelativeKey.empty())
            continue;
        if (!own->GetCellText(row, 0).empty())
            continue;
        const std::wstring partnerPath = other->GetCellText(row, 0);
        if (partnerPath.empty())
            continue;
        FileListView::ItemInfo partner;
        other->GetItemInfo(row, partner);
        const std::wstring pathKey = KeyCase::Lower(partnerPath);
        const int record = index.TakeMatch(partner.RelativeKey, kit::FindFileName(pathKey), pathKey);
        if (record >= 0)
            matches.push_back(std::make_pair(row, record));
    }
    const std::vector<int> appended = index.Remaining();

    UpdateBlock ownBlock(*own), otherBlock(*other), markBlock(*this);
    TextMeasure measure(own->Handle);
    const COLORREF wait = Main->GetStateColour(StateColour::Wait);
    for (const std::pair<int, int>& match : matches) {
        FillRow(*own, match.first, pending[match.second], measure, wait, true);
        SetMark(PairMark::Unknown, match.first);
    }
    const int total = rows + static_cast<int>(appended.size());
    own->Reserve(total);
    other->Reserve(total);
    Reserve(total);
    // one list after the other: rows appended to several lists in turn make the controls' row tables outgrow
    // their place on the heap at every step, which costs a copy of the whole table each time
    int added = 0;
    for (int record : appended) {
        kit::ListViewItem* item = own->AddItem(pending[record].Path);
        if (!item)
            break;
        FillRow(*own, item->GetIndex(), pending[record], measure, wait, false);
        ++added;
    }
    for (int row = 0; row < added; ++row) {
        if (kit::ListViewItem* blank = other->AddItem(std::wstring())) {
            // a new row may sit where a removed one was: it must not inherit that one's underline
            other->ClearItemInfo(*blank);
            other->SetRowImage(blank->GetIndex(), -1);
        }
    }
    const int alone = side == 0 ? PairMark::Left : PairMark::Right;
    for (int row = 0; row < added; ++row)
        if (kit::ListViewItem* item = AddItem(MarkTexts[alone]))
            PutMark(*item, alone, true);
    Main->RefreshPanes();
}

void CompListView::EvaluatePair(int side, int row)
{
    FileListView* own = Main->GetList(side);
    FileListView* other = Main->GetList(1 - side);
    if (!own || !other)
        return;
    FileListView::ItemInfo info;
    if (!own->GetItemInfo(row, info))
        return;
    info.Finished = true;
    own->SetItemInfo(row, info);

    const int mark = GetMark(row);
    FileListView::ItemInfo partner;
    const bool otherFinished = other->GetItemInfo(row, partner) && partner.Finished;
    const HashKindFlags enabled = Main->GetEnabledKinds();
    PairCells ownCells, otherCells;
    // the texts are read only when there is something to compare
    if (mark == PairMark::Unknown && otherFinished) {
        for (int kind = 0; kind < HashKind::Count; ++kind) {
            if (!enabled[kind])
                continue;
            ownCells.HashTexts[kind] = own->GetHashText(row, kind);
            otherCells.HashTexts[kind] = other->GetHashText(row, kind);
        }
        ownCells.SizeText = own->GetSizeText(row);
        otherCells.SizeText = other->GetSizeText(row);
        ownCells.Unreadable = info.Unreadable;
        otherCells.Unreadable = partner.Unreadable;
    }
    const PairDecision decision = DecidePair(mark, otherFinished, enabled, ownCells, otherCells);
    switch (decision.What) {
    case PairDecision::ColourOwnRow:
        own->SetRowState(row, decision.ColourIndex);
        break;
    case PairDecision::ColourBothRows:
        own->SetRowState(row, decision.ColourIndex);
        other->SetRowState(row, decision.ColourIndex);
        SetMark(decision.Mark, row);
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------------------------------------------
// the three lists together

void CompListView::SyncScroll(kit::ListView& source, Juxta* main)
{
    if (!main || !source.Handle)
        return;
    const int top = static_cast<int>(SendMessageW(source.Handle, LVM_GETTOPINDEX, 0, 0));
    int target = -1;
    if (top > main->TopRow) {
        main->TopRow = top;
        target = top + static_cast<int>(SendMessageW(source.Handle, LVM_GETCOUNTPERPAGE, 0, 0)) - 1;
    } else if (top < main->TopRow) {
        main->TopRow = top;
        target = top;
    }
    if (target < 0)
        return;
    for (int index = 0; index < 3; ++index) {
        kit::ListView* list = main->GetLockOrderList(index);
        if (list && list != &source && list->Handle)
            SendMessageW(list->Handle, LVM_ENSUREVISIBLE, static_cast<WPARAM>(target), FALSE);
    }
}

void CompListView::SyncHorizontalBars(Juxta* main)
{
    // showing a bar recalculates the frames of the lists, which lands here again
    static bool busy = false;
    if (busy || !main)
        return;
    kit::ListView* lists[3] = {main->GetList(0), main->GetList(1), main->MarkList.get()};
    bool overflow = false;
    for (kit::ListView* list : lists) {
        if (!list || !list->Handle)
            return;
        // a side list hidden under its drop hint shows no bar, so it must not give the mark list a lone one
        const bool shown = (GetWindowLongPtrW(list->Handle, GWL_STYLE) & WS_VISIBLE) != 0;
        overflow = overflow || (shown && list->ColumnsWiderThanClient());
    }
    busy = true;
    for (kit::ListView* list : lists)
        ShowScrollBar(list->Handle, SB_HORZ, overflow);
    busy = false;
}

LRESULT CompListView::OnPaint(WPARAM wParam, LPARAM lParam)
{
    SyncScroll(*this, Main);
    return DefaultProc(WM_PAINT, wParam, lParam);
}

LRESULT CompListView::OnNcCalcSize(WPARAM wParam, LPARAM lParam)
{
    SyncHorizontalBars(Main);
    return DefaultProc(WM_NCCALCSIZE, wParam, lParam);
}

LRESULT CompListView::OnNotify(WPARAM wParam, LPARAM lParam)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    // the column can be neither dragged nor fitted
    if (header && (header->code == HDN_BEGINTRACKW || header->code == HDN_DIVIDERDBLCLICKW))
        return 1;
    return kit::ListView::OnNotify(wParam, lParam);
}
