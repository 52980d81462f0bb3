// The list of one side (0 left, 1 right): one row per registered file, or a blank row that keeps the row in line
// with a file on the other side. Cell texts live in the control; each row's ItemInfo holds what the columns do not
// show, and its background colour shows where the row stands in checking and comparison.
//
// Threads: the scheduler and the workers write cells, colours and ItemInfo from their own threads; every row
// operation below takes the list's lock (the GUI thread pumps messages while it waits, see kit::ListView).
#pragma once

#include "app/lists/HashText.h"
#include "app/lists/PendingRecord.h"
#include "kit/ui/ListView.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

class Juxta;

namespace kit {
class Menu;
}

class FileListView : public kit::ListView {
public:
    // per-row record, copied out and stored back whole
    struct ItemInfo {
        // path below the registered folder, lower-cased; pairs the row with the other side; empty for an imported
        // row (and for a row blanked by a stopped check)
        std::wstring RelativeKey;
        // values that came with an imported row (empty for a file on disk)
        std::array<std::wstring, HashKind::Count> HashTexts;
        // "-" or the size for an imported row; empty for a file on disk
        std::wstring SizeText;
        // pixel widths, in the list's font, of the full path in front of the relative part and of the whole path
        int32_t PrefixWidth = 0;
        int32_t PathWidth = 0;
        // the row's check has finished (EvaluatePair); cleared by ResetMarks and a re-check
        bool Finished = false;
        // its last check could not read the file in full (its value cells show HashText::Unreadable)
        bool Unreadable = false;
    };

    // the background of a blank row: the colour a list gives a row it makes
    static const COLORREF BlankRowColour = 0xFFFFFF;

    FileListView(Juxta* main, int side);
    ~FileListView() override;

    // the list as a child of the side window, with control id 104 (left) or 105 (right)
    static boost::shared_ptr<FileListView> Create(Juxta* main, int side, kit::Window* parent);
    static int ControlIdOf(int side);

    // ---- rows (each takes the list's lock) ----
    int GetRowCount() const { return GetItemCount(); }
    std::wstring GetCellText(int row, int column) const;
    void SetCellText(int row, int column, const std::wstring& text);
    // the cell of a hash kind / of the size, through the main window's column positions; a hidden kind reads ""
    // and is not written
    std::wstring GetHashText(int row, int kind) const;
    void SetHashText(int row, int kind, const std::wstring& text);
    std::wstring GetSizeText(int row) const;
    void SetSizeText(int row, const std::wstring& text);
    // a blank placeholder row: its path cell is empty
    bool IsBlankRow(int row) const;
    // false (info untouched) for a row without ItemInfo (blank) or out of range
    bool GetItemInfo(int row, ItemInfo& info) const;
    void SetItemInfo(int row, const ItemInfo& info);
    void SetItemInfo(kit::ListViewItem& item, const ItemInfo& info);
    // removes the row's ItemInfo (it becomes a blank row's data)
    void ClearItemInfo(int row);
    void ClearItemInfo(kit::ListViewItem& item);
    // background colour: a state colour index (looked up in the settings now) or a value; the row is redrawn
    void SetRowState(int row, int colourIndex);
    void SetRowColour(int row, COLORREF colour);
    COLORREF GetRowColour(int row) const;
    // the shell's small-icon index of the row (-1 none)
    void SetRowImage(int row, int image);
    int GetRowImage(int row) const;

    // Places the pending records into rows (CompListView::MergePending for this side).
    void MergePending();
    // The first registration on the side: the side window's drop hint goes and the list is shown.
    void RevealList();

    // pixel widths of the text in the list's font, for ItemInfo::PrefixWidth and PathWidth
    int MeasureText(const std::wstring& text) const;
    // the system small-icon index of a file's path (SHGetFileInfoW), -1 when the shell has none
    static int ShellIconIndex(const std::wstring& path);

    // ---- window handlers ----
    LRESULT OnDropFiles(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnNotify(WPARAM wParam, LPARAM lParam) override;

    Juxta* Main; // not owned
    // menu 104: submenu 0 "ヘッダ" (column header), 1 "ファイルリスト" (the list's context menu)
    boost::shared_ptr<kit::Menu> PopupMenus;
    // files registered but not yet placed into rows, in registration order (appended by the registration)
    std::vector<PendingRecord> Pending;
    int32_t Side;
    // files registered into this list, and the bytes of the rows whose check has started (status bar)
    std::atomic<int32_t> FileCount{0};
    std::atomic<uint64_t> TotalSize{0};

private:
    // where the underline of a row runs: the pixel widths of its ItemInfo
    struct UnderlineSpan {
        int32_t PrefixWidth;
        int32_t PathWidth;
    };

    LRESULT DrawUnderline(NMLVCUSTOMDRAW& draw);
    bool FindUnderline(const kit::ListViewItem* item, int row, UnderlineSpan& span) const;
    void KeepUnderline(const kit::ListViewItem& item, const ItemInfo* info);
    void OnHeaderRightClick();

    // The underline spans by row, for painting: the custom draw must not wait for the list's lock. Waiting would
    // mean serving the messages of the workers that hold it, inside the control's own painting (whose text pointers
    // such a message may free), and painting again from there, one level deeper for every busy moment.
    // UnderlineGuard is held only around the map, never while a message is sent.
    mutable std::mutex UnderlineGuard;
    std::unordered_map<const kit::ListViewItem*, UnderlineSpan> Underlines;
};

// A batch of paths dropped on a side: records, MergePending, StartChecking. Implemented by the registration
// (app/check/Registration.cpp); the list calls it from OnDropFiles (the side window passes its drops on to the list).
void RegisterDroppedPaths(FileListView& list, const std::vector<std::wstring>& paths);
