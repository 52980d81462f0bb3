#include "app/lists/CompListView.h"

#include "app/shell/Juxta.h"

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
    return list;
}

void CompListView::BuildColumn() {}
void CompListView::SetMark(int, int) {}
int CompListView::GetMark(int) const { return PairMark::None; }
void CompListView::ResetMarks() {}
void CompListView::SelectByMark(int) {}
void CompListView::SelectByMark(int, int) {}
void CompListView::Recolour() {}
void CompListView::MergePending(int) {}
void CompListView::EvaluatePair(int, int) {}
void CompListView::SyncScroll(kit::ListView&, Juxta*) {}
void CompListView::SyncHorizontalBars(Juxta*) {}
LRESULT CompListView::OnPaint(WPARAM wParam, LPARAM lParam) { return DefaultProc(WM_PAINT, wParam, lParam); }
LRESULT CompListView::OnNcCalcSize(WPARAM wParam, LPARAM lParam) { return DefaultProc(WM_NCCALCSIZE, wParam, lParam); }
LRESULT CompListView::OnNotify(WPARAM wParam, LPARAM lParam) { return kit::ListView::OnNotify(wParam, lParam); }
