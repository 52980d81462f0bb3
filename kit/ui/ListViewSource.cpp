#include "kit/ui/ListViewSource.h"

namespace kit {

int ListViewSource::GetImage(int)
{
    return I_IMAGENONE;
}

void ListViewSource::GetRowColors(int, COLORREF& text, COLORREF& back)
{
    text = RGB(0, 0, 0);
    back = RGB(255, 255, 255);
}

bool ListViewSource::IsChecked(int)
{
    return false;
}

void ListViewSource::SetChecked(int, bool) {}

void ListViewSource::SetCellText(int, int, const std::wstring&) {}

void ListViewSource::DeleteRows(const std::vector<int>&) {}

void ListViewSource::PrepareRows(int, int) {}

void ListViewSource::RowStatesChanged(int, int, UINT, UINT) {}

void ListViewSource::PreparePaint(HDC) {}

LRESULT ListViewSource::DecorateCell(int, int, NMLVCUSTOMDRAW&)
{
    return CDRF_DODEFAULT;
}

int ListViewSource::FindRow(const std::wstring& text, int start, int count, bool partial, bool wrap)
{
    if (count <= 0)
        return -1;
    if (start < 0 || start >= count)
        start = 0;
    const int length = static_cast<int>(text.size());
    std::wstring cell;
    const int rows = wrap ? count : count - start;
    for (int step = 0; step < rows; ++step) {
        const int row = (start + step) % count;
        cell.clear();
        GetCellText(row, 0, cell);
        if (partial ? static_cast<int>(cell.size()) < length : cell.size() != text.size())
            continue;
        if (CompareStringOrdinal(cell.c_str(), length, text.c_str(), length, TRUE) == CSTR_EQUAL)
            return row;
    }
    return -1;
}

} // namespace kit
