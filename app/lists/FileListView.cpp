#include "app/lists/FileListView.h"

#include "app/lists/CompListView.h"
#include "app/shell/Juxta.h"
#include "kit/ui/Menu.h"

FileListView::FileListView(Juxta* main, int side) : kit::ListView(true), Main(main), Side(side) {}

FileListView::~FileListView() {}

int FileListView::ControlIdOf(int side)
{
    return side == 0 ? 104 : 105;
}

boost::shared_ptr<FileListView> FileListView::Create(Juxta* main, int side, kit::Window* parent)
{
    boost::shared_ptr<FileListView> list(new FileListView(main, side));
    if (!list->kit::ListView::Create(parent, ControlIdOf(side)))
        return boost::shared_ptr<FileListView>();
    return list;
}

std::wstring FileListView::GetCellText(int row, int column) const
{
    Hold hold(*this);
    kit::ListViewItem* item = GetItem(row);
    return item && column >= 0 ? item->GetText(column) : std::wstring();
}

void FileListView::SetCellText(int row, int column, const std::wstring& text)
{
    Hold hold(*this);
    if (kit::ListViewItem* item = GetItem(row))
        if (column >= 0)
            item->SetText(column, text);
}

std::wstring FileListView::GetHashText(int, int) const { return std::wstring(); }
void FileListView::SetHashText(int, int, const std::wstring&) {}
std::wstring FileListView::GetSizeText(int) const { return std::wstring(); }
void FileListView::SetSizeText(int, const std::wstring&) {}
bool FileListView::IsBlankRow(int row) const { return GetCellText(row, 0).empty(); }
bool FileListView::GetItemInfo(int, ItemInfo&) const { return false; }
void FileListView::SetItemInfo(int, const ItemInfo&) {}
void FileListView::ClearItemInfo(int) {}
void FileListView::SetRowState(int, int) {}
void FileListView::SetRowColour(int, COLORREF) {}
COLORREF FileListView::GetRowColour(int) const { return 0; }
void FileListView::SetRowImage(int, int) {}
int FileListView::GetRowImage(int) const { return -1; }
void FileListView::MergePending() {}
void FileListView::RevealList() {}
int FileListView::MeasureText(const std::wstring&) const { return 0; }
int FileListView::ShellIconIndex(const std::wstring&) { return -1; }
LRESULT FileListView::OnDropFiles(WPARAM wParam, LPARAM lParam) { return DefaultProc(WM_DROPFILES, wParam, lParam); }
LRESULT FileListView::OnPaint(WPARAM wParam, LPARAM lParam) { return DefaultProc(WM_PAINT, wParam, lParam); }
LRESULT FileListView::OnNcCalcSize(WPARAM wParam, LPARAM lParam) { return DefaultProc(WM_NCCALCSIZE, wParam, lParam); }
LRESULT FileListView::OnKeyDown(WPARAM wParam, LPARAM lParam) { return kit::ListView::OnKeyDown(wParam, lParam); }
LRESULT FileListView::OnNotify(WPARAM wParam, LPARAM lParam) { return kit::ListView::OnNotify(wParam, lParam); }
LRESULT FileListView::DrawUnderline(NMLVCUSTOMDRAW&) { return CDRF_DODEFAULT; }
void FileListView::OnHeaderRightClick() {}
