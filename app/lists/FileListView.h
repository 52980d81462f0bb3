// The list of one side (0 left, 1 right): a virtual list that shows that side of the main window's RowModel. Row i
// is the side of pair i: a registered file, or a blank row that keeps it in line with a file on the other side.
// The control keeps no rows; it asks for the texts, icon and colours of the rows it paints, and the underline of
// the relative part of a path is drawn over them.
//
// Threads: the rows live in the model, which any thread may change; the list is told of new rows and repaints the
// changed ones on the interface thread (Juxta::SyncViews). The accessors below read and write the model.
#pragma once

#include "app/lists/HashText.h"
#include "app/lists/PendingRecord.h"
#include "kit/ui/ListView.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

class CheckHost;
class ListHost;

namespace kit {
class Brush;
class Menu;
}

class FileListView : public kit::ListView, private kit::ListViewSource {
public:
    // what the columns do not show of a file row, read from the model
    struct ItemInfo {
        // path below the registered folder, lower-cased; pairs the row with the other side; empty for an imported
        // row
        std::wstring RelativeKey;
        // values that came with an imported row (empty for a file on disk)
        std::array<std::wstring, HashKind::Count> HashTexts;
        // "-" or the size for an imported row; empty for a file on disk
        std::wstring SizeText;
        // the row's check has finished (EvaluatePair); cleared by ResetMarks and a re-check
        bool Finished = false;
        // its last check could not read the file in full (its value cells show HashText::Unreadable)
        bool Unreadable = false;
    };

    // the background of a blank row
    static const COLORREF BlankRowColour = 0xFFFFFF;

    FileListView(ListHost* main, int side);
    // the main window as the registration sees it
    CheckHost& GetCheckHost() const;
    ~FileListView() override;

    // the list as a child of the side window, with control id 104 (left) or 105 (right)
    static boost::shared_ptr<FileListView> Create(ListHost* main, int side, kit::Window* parent);
    static int ControlIdOf(int side);

    // ---- the side's rows in the model ----
    int GetRowCount() const;
    // a cell's text by the list's column: the path, a hash kind's value or percentage, the size
    std::wstring GetCellText(int row, int column) const;
    void SetCellText(int row, int column, const std::wstring& text);
    // the cell of a hash kind / of the size; a hidden kind reads "" and is not written
    std::wstring GetHashText(int row, int kind) const;
    void SetHashText(int row, int kind, const std::wstring& text);
    std::wstring GetSizeText(int row) const;
    void SetSizeText(int row, const std::wstring& text);
    // a blank placeholder row: its path cell is empty
    bool IsBlankRow(int row) const;
    // false (info untouched) for a blank row or one out of range
    bool GetItemInfo(int row, ItemInfo& info) const;
    // the row's background: its state colour, the blank colour for a blank row
    COLORREF GetRowColour(int row) const;
    // the shell's small-icon index of the row (-1 none)
    int GetRowImage(int row);
    // files registered into the side, and the bytes of those whose check has started (status bar)
    int FileCount() const;
    uint64_t TotalSize() const;

    // Places the pending records into rows (CompListView::MergePending for this side).
    void MergePending();
    // The first registration on the side: the side window's drop hint goes and the list is shown.
    void RevealList();

    // the system small-icon index of a file's path (SHGetFileInfoW), -1 when the shell has none
    static int ShellIconIndex(const std::wstring& path);

    // ---- window handlers ----
    LRESULT OnDropFiles(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnNotify(WPARAM wParam, LPARAM lParam) override;

    ListHost* Main; // not owned
    // menu 104: submenu 0 "ヘッダ" (column header), 1 "ファイルリスト" (the list's context menu)
    boost::shared_ptr<kit::Menu> PopupMenus;
    // files registered but not yet placed into rows, in registration order (appended by the registration)
    std::vector<PendingRecord> Pending;
    int32_t Side;

private:
    // ---- kit::ListViewSource ----
    void GetCellText(int row, int column, std::wstring& text) override;
    int GetImage(int row) override;
    void GetRowColors(int row, COLORREF& text, COLORREF& back) override;
    void PreparePaint(HDC dc) override;
    LRESULT DecorateCell(int row, int column, NMLVCUSTOMDRAW& draw) override;

    // The underline as the current paint began: the setting, the list's font that measures the path, and the
    // header's bottom, which the bar never covers. The brush is kept while its colour stays.
    struct UnderlinePaint {
        bool Shown = false;
        HFONT Font = nullptr;
        LONG HeaderBottom = 0;
        COLORREF Colour = 0;
        boost::shared_ptr<kit::Brush> Brush;
        // the path of the cell being decorated and the widths of its leading parts, reused cell after cell
        std::wstring Path;
        std::vector<INT> Extents;
    };
    UnderlinePaint Underline;

    // which part of a cell a list column shows: -1 the path, a hash kind, HashKind::Count the size, -2 none
    int FieldOf(int column) const;
    void OnHeaderRightClick();
};

// A batch of paths dropped on a side: records, MergePending, StartChecking. Implemented by the registration
// (app/check/Registration.cpp); the list calls it from OnDropFiles (the side window passes its drops on to the list).
void RegisterDroppedPaths(FileListView& list, const std::vector<std::wstring>& paths);
