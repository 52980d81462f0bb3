#include "app/lists/CompListView.h"

#include "app/lists/FileListView.h"
#include "app/lists/FileListWindow.h"
#include "app/lists/KeyCase.h"
#include "app/lists/PairDecision.h"
#include "app/lists/PendingIndex.h"
#include "app/lists/ListHost.h"
#include "app/lists/RowModel.h"
#include "kit/core/Path.h"

#include <commctrl.h>

const wchar_t* const CompListView::MarkTexts[PairMark::Count] = {L"○", L"×", L"←", L"→", L"？"};
const int CompListView::MarkColours[PairMark::Count] = {StateColour::Ok, StateColour::Ng, StateColour::Left,
                                                        StateColour::Right, StateColour::Wait};

CompListView::CompListView(ListHost* main) : kit::ListView(false), Main(main)
{
    UseSource(this);
}

CompListView::~CompListView() {}

boost::shared_ptr<CompListView> CompListView::Create(ListHost* main, kit::Window* parent, int id)
{
    boost::shared_ptr<CompListView> list(new CompListView(main));
    if (!list->kit::ListView::CreateVirtual(parent, id))
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
    Main->GetRows().SetMark(row, mark);
    Main->SyncViews();
}

int CompListView::GetMark(int row) const
{
    return Main->GetRows().GetMark(row);
}

COLORREF CompListView::GetRowColour(int row) const
{
    const int mark = GetMark(row);
    return mark == PairMark::None ? FileListView::BlankRowColour : Main->GetStateColour(MarkColours[mark]);
}

void CompListView::GetCellText(int row, int, std::wstring& text)
{
    const int mark = GetMark(row);
    if (mark != PairMark::None)
        text = MarkTexts[mark];
}

void CompListView::GetRowColors(int row, COLORREF&, COLORREF& back)
{
    back = GetRowColour(row);
}

void CompListView::ResetMarks()
{
    Main->GetRows().ResetMarks();
    Main->SyncViews();
    Main->RefreshPanes();
}

void CompListView::SelectByMark(int kind)
{
    SelectByMark(Main->GetCurrentSide(), kind);
}

void CompListView::SelectByMark(int side, int kind)
{
    FileListView* list = Main->GetList(side);
    if (!list)
        return;
    const int count = list->GetItemCount();
    std::vector<bool> selected(static_cast<size_t>(count), false);
    if (kind == SelectKind::Inverse)
        for (int row : list->GetSelectedIndexes())
            if (row >= 0 && row < count)
                selected[static_cast<size_t>(row)] = true;
    const std::vector<bool> wanted = Main->GetRows().SelectByMark(kind, selected);
    list->SelectRows([&wanted](int row) { return row >= 0 && static_cast<size_t>(row) < wanted.size() && wanted[row]; });
}

void CompListView::Recolour()
{
    Main->GetRows().Recolour();
    kit::ListView* lists[3] = {Main->GetList(0), Main->GetList(1), this};
    for (kit::ListView* list : lists)
        if (list && list->Handle)
            InvalidateRect(list->Handle, 0, TRUE);
}

// ---------------------------------------------------------------------------------------------------------------
// placing registered files

void CompListView::MergePending(int side)
{
    FileListView* own = Main->GetList(side);
    if (!own || !Handle)
        return;
    std::vector<PendingRecord> pending;
    pending.swap(own->Pending);
    if (!pending.empty())
        Main->GetRows().MergePending(side, std::move(pending));
    Main->SyncViews();
    Main->RefreshPanes();
}

void CompListView::EvaluatePair(int side, int row)
{
    Main->GetRows().EvaluatePair(side, row, Main->GetEnabledKinds());
}

// ---------------------------------------------------------------------------------------------------------------
// the three lists together

void CompListView::SyncScroll(kit::ListView& source, ListHost* main)
{
    if (!main || !source.Handle)
        return;
    const int top = static_cast<int>(SendMessageW(source.Handle, LVM_GETTOPINDEX, 0, 0));
    int target = -1;
    if (top > main->GetTopRow()) {
        main->SetTopRow(top);
        target = top + static_cast<int>(SendMessageW(source.Handle, LVM_GETCOUNTPERPAGE, 0, 0)) - 1;
    } else if (top < main->GetTopRow()) {
        main->SetTopRow(top);
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

void CompListView::SyncHorizontalBars(ListHost* main)
{
    // showing a bar recalculates the frames of the lists, which lands here again
    static bool busy = false;
    if (busy || !main)
        return;
    kit::ListView* lists[3] = {main->GetList(0), main->GetList(1), main->GetMarkList()};
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
