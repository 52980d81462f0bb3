// What a virtual ListView shows: the list keeps no rows, it asks its source for the cells of the rows it paints.
// Every call comes on the list's GUI thread, while the control paints, reads a cell back or handles a key; a source
// whose rows other threads change guards them itself. Row and column indexes are always inside the list's count.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>

namespace kit {

class ListViewSource {
public:
    virtual ~ListViewSource() {}

    // the text of a cell, into text (empty on entry)
    virtual void GetCellText(int row, int column, std::wstring& text) = 0;
    // the index in the small image list of the row's first-column icon, or I_IMAGENONE
    virtual int GetImage(int row);
    // the colours the row is painted in (asked only with ColorDrawing); black on white unless changed
    virtual void GetRowColors(int row, COLORREF& text, COLORREF& back);
    // the row's check box (asked only with LVS_EX_CHECKBOXES); the control does not keep it
    virtual bool IsChecked(int row);
    // the user clicked the row's check box or pressed Space on it; the list repaints the row afterwards
    virtual void SetChecked(int row, bool checked);
    // an in-place edit was committed; the list repaints the row afterwards
    virtual void SetCellText(int row, int column, const std::wstring& text);
    // the user pressed Delete (with DeleteKey) on these rows, in ascending order; the source removes them and
    // sets the list's new count
    virtual void DeleteRows(const std::vector<int>& rows);

    // a hint that rows first..last (inclusive) are about to be asked for; nothing has to be done
    virtual void PrepareRows(int first, int last);
    // the selection or focus of rows first..last changed at once (a Shift+click range); new and old states
    virtual void RowStatesChanged(int first, int last, UINT newState, UINT oldState);
    // once a paint, before its first cell (with ColorDrawing): what DecorateCell needs that is the same for every cell
    virtual void PreparePaint(HDC dc);
    // custom draw of one cell once the control has painted it (with ColorDrawing): a source may draw more, such as
    // an underline, into draw.nmcd.hdc; the answer is the post-paint notification's
    virtual LRESULT DecorateCell(int row, int column, NMLVCUSTOMDRAW& draw);

    // The first row from start on (wrapping to row 0 when wrap is set) whose first-column text begins with text
    // (partial) or equals it, ignoring case; -1 when none. The keyboard search of the control asks this. The
    // default reads every row's text through GetCellText; a source with an index answers faster.
    virtual int FindRow(const std::wstring& text, int start, int count, bool partial, bool wrap);
};

} // namespace kit
