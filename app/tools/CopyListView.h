// The file list of the file operation dialog: one row per file of the chosen side, with a check box that says
// whether the file takes part, the pair's mark, the file list row's colour and the relative part of the path
// underlined. Its context menu ("コピーリスト") checks, unchecks and inverts rows; the dialog handles the commands.
//
// Interface thread only.
#pragma once

#include "app/lists/HashText.h"
#include "kit/ui/ListView.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CopyDialog;
class Juxta;

namespace kit {
class Menu;
}

class CopyListView : public kit::ListView {
public:
    // per-row data
    struct ItemInfo {
        // the file list row's pairing key: the path below the registered folder, lower-cased
        std::wstring RelativePath;
        // pixel widths of the path in front of the relative part and of the whole path
        int32_t RelativeOffset = 0;
        int32_t PathWidth = 0;
        uint64_t Size = 0;
        // the file list row's values when its check had finished, "" otherwise
        std::array<std::wstring, HashKind::Count> Values;
    };

    // what a check-state command does to a row
    enum CheckChange { CheckOn, CheckOff, CheckInvert };

    CopyListView(Juxta* owner, CopyDialog* dialog);
    ~CopyListView() override;

    // the dialog's list control, subclassed; empty when the dialog has no such item
    static boost::shared_ptr<CopyListView> Attach(Juxta* owner, CopyDialog* dialog, int id);

    // a row whose state image is not the unchecked one (1)
    bool IsRowChecked(int row) const;
    void SetRowChecked(int row, bool checked);
    // applies a change to the selected rows or to every row
    void ChangeChecks(CheckChange change, bool selectedOnly);
    // pixel width of a text in the list's font (LVM_GETSTRINGWIDTHW)
    int MeasureText(const std::wstring& text) const;
    // the relative part of a path in the file's own letter case: as many characters at the end of the path as the
    // (lower-cased) key has, when they match it
    static std::wstring RelativeTail(const std::wstring& path, const std::wstring& key);

    // the "コピーリスト" pop-up with the commands for selected rows enabled only when a row is selected
    kit::Menu* PrepareContextMenu();

    LRESULT OnNotify(WPARAM wParam, LPARAM lParam) override;

    Juxta* Owner;       // not owned
    CopyDialog* Dialog; // not owned
    boost::shared_ptr<kit::Menu> ContextMenu;

private:
    void ShowContextMenu();
    void DrawUnderline(NMLVCUSTOMDRAW& draw);
};
