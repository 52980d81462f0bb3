// The file list of the file operation dialog: a virtual list of the files of the chosen side, with a check box that
// says whether the file takes part (the check flags of the main window's RowModel), the pair's mark, the file list
// row's colour and the relative part of the path underlined. Its context menu ("コピーリスト") checks, unchecks and
// inverts rows; the dialog handles the commands.
//
// Interface thread only.
#pragma once

#include "app/lists/HashText.h"
#include "app/lists/PairMarks.h"
#include "app/tools/CopyRow.h"
#include "kit/ui/ListView.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CopyDialog;
class ToolHost;

namespace kit {
class Menu;
}

class CopyListView : public kit::ListView, private kit::ListViewSource {
public:
    // what a check-state command does to a row
    enum CheckChange { CheckOn, CheckOff, CheckInvert };

    CopyListView(ToolHost* owner, CopyDialog* dialog);
    ~CopyListView() override;

    // the dialog's list control as an owner-data list; empty when the dialog has no such item
    static boost::shared_ptr<CopyListView> Attach(ToolHost* owner, CopyDialog* dialog, int id);

    // Shows the files of side (no blank rows, no imported entries) whose pair's mark is listed, in row order. The
    // check flags stay in the model, so a file that goes out of view and comes back keeps its flag.
    void Show(int side, const std::array<bool, PairMark::Count>& listed);
    // the main window's row that a row of this list shows
    int ModelRow(int row) const;
    int GetSide() const { return Side; }
    bool IsRowChecked(int row) const;
    void SetRowChecked(int row, bool checked);
    // applies a change to the selected rows or to every row
    void ChangeChecks(CheckChange change, bool selectedOnly);
    // what a run needs of every row shown, in row order
    std::vector<CopyRow> CollectRows() const;
    // the relative part of a path in the file's own letter case: as many characters at the end of the path as the
    // (lower-cased) key has, when they match it
    static std::wstring RelativeTail(const std::wstring& path, const std::wstring& key);

    // the "コピーリスト" pop-up with the commands for selected rows enabled only when a row is selected
    kit::Menu* PrepareContextMenu();

    LRESULT OnNotify(WPARAM wParam, LPARAM lParam) override;

    ToolHost* Owner;       // not owned
    CopyDialog* Dialog; // not owned
    boost::shared_ptr<kit::Menu> ContextMenu;

private:
    // ---- kit::ListViewSource ----
    void GetCellText(int row, int column, std::wstring& text) override;
    void GetRowColors(int row, COLORREF& text, COLORREF& back) override;
    bool IsChecked(int row) override;
    void SetChecked(int row, bool checked) override;
    LRESULT DecorateCell(int row, int column, NMLVCUSTOMDRAW& draw) override;

    void ShowContextMenu();

    int Side = 0;
    // the model rows shown, in order
    std::vector<int> Shown;
};
