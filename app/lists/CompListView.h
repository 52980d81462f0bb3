// The mark column between the two side lists: row i shows the mark of pair i of the main window's RowModel ("○",
// "×", "←", "→", "？") in the mark's colour. A virtual list, like the side lists. It also holds the operations on
// whole pairs that the commands and the registration start: placing newly registered files (MergePending), judging
// a pair (EvaluatePair), resetting and selecting by marks.
#pragma once

#include "app/lists/PairMarks.h"
#include "kit/ui/ListView.h"

#include <string>

class ListHost;

class CompListView : public kit::ListView, private kit::ListViewSource {
public:
    // the texts of the marks, by PairMark index
    static const wchar_t* const MarkTexts[PairMark::Count];
    // the state colour a mark row gets, by PairMark index
    static const int MarkColours[PairMark::Count];
    static const int ColumnWidth = 40;

    explicit CompListView(ListHost* main);
    ~CompListView() override;

    // a child list of the main window (behaviour: own row colours only)
    static boost::shared_ptr<CompListView> Create(ListHost* main, kit::Window* parent, int id);

    // the single column "状態"; removes any other
    void BuildColumn();

    // sets mark on row (the counters follow)
    void SetMark(int mark, int row);
    // the row's mark, PairMark::None when it holds none or does not exist
    int GetMark(int row) const;
    // the background the row is painted in
    COLORREF GetRowColour(int row) const;
    // "○" and "×" back to "？", and every side row's Finished cleared (the enabled hash kinds changed)
    void ResetMarks();
    // on the current side: kind 0..3 selects the rows of that mark, SelectKind::All all, SelectKind::Inverse inverts
    void SelectByMark(int kind);
    void SelectByMark(int side, int kind);
    // gives every file row the colour of its mark (after the colours were changed) and repaints the three lists
    void Recolour();

    // Places side's pending records into blank rows where the other side holds the same relative path (or name),
    // the rest appended with a blank partner row and "←" / "→"; then refreshes the status panes. GUI thread.
    void MergePending(int side);
    // The check of side's row has finished: sets Finished, colours the row, and when both rows of the pair are done
    // decides the mark.
    void EvaluatePair(int side, int row);

    // Keeps the other two lists at the same rows as this one (main window's TopRow); any of the three calls it.
    static void SyncScroll(kit::ListView& source, ListHost* main);
    // Shows the horizontal scroll bars of the three lists when any of their columns overflow, else hides them.
    static void SyncHorizontalBars(ListHost* main);

    LRESULT OnPaint(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnNotify(WPARAM wParam, LPARAM lParam) override;

    ListHost* Main; // not owned

private:
    // ---- kit::ListViewSource ----
    void GetCellText(int row, int column, std::wstring& text) override;
    void GetRowColors(int row, COLORREF& text, COLORREF& back) override;
};
