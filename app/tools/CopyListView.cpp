#include "app/tools/CopyListView.h"

#include "app/lists/CompListView.h"
#include "app/lists/FileListView.h"
#include "app/lists/RowModel.h"
#include "app/lists/PairMarks.h"
#include "app/lists/SizeFormat.h"
#include "app/tools/CopyDialog.h"
#include "app/tools/ToolHost.h"
#include "kit/ui/Menu.h"
#include "resources/resource.h"

#include <algorithm>

namespace {

const UINT SelectedRowCommands[] = {ID_CHECK_SELECTED, ID_UNCHECK_SELECTED, ID_INVERT_SELECTED};

uint64_t ParseSize(const std::wstring& text)
{
    uint64_t size = 0;
    return SizeFormat::Parse(text, size) ? size : 0;
}

} // namespace

CopyListView::CopyListView(ToolHost* owner, CopyDialog* dialog) : kit::ListView(false), Owner(owner), Dialog(dialog)
{
    UseSource(this);
}

CopyListView::~CopyListView() = default;

boost::shared_ptr<CopyListView> CopyListView::Attach(ToolHost* owner, CopyDialog* dialog, int id)
{
    boost::shared_ptr<CopyListView> list(new CopyListView(owner, dialog));
    if (!list->kit::ListView::AttachVirtual(dialog, id))
        return boost::shared_ptr<CopyListView>();
    list->ContextMenu = kit::Menu::Load(IDR_POPUP);
    return list;
}

void CopyListView::Show(int side, const std::array<bool, PairMark::Count>& listed)
{
    Side = side;
    Shown.clear();
    const int count = Owner->GetRows().RowCount();
    for (int row = 0; row < count; ++row) {
        Owner->GetRows().ReadRow(row, [&](const RowModel::Row& pair) {
            const RowModel::Cell& cell = pair.Sides[side];
            // an imported entry carries its size text: no file on disk stands behind it
            if (cell.IsBlank() || cell.IsImported())
                return;
            if (pair.Mark < 0 || pair.Mark >= PairMark::Count || !listed[pair.Mark])
                return;
            Shown.push_back(row);
        });
    }
    SelectRows([](int) { return false; });
    SetRowCount(static_cast<int>(Shown.size()));
    if (Handle)
        InvalidateRect(Handle, nullptr, TRUE);
}

int CopyListView::ModelRow(int row) const
{
    return row >= 0 && static_cast<size_t>(row) < Shown.size() ? Shown[static_cast<size_t>(row)] : -1;
}

bool CopyListView::IsRowChecked(int row) const
{
    return Owner->GetRows().IsChecked(Side, ModelRow(row));
}

void CopyListView::SetRowChecked(int row, bool checked)
{
    Owner->GetRows().SetChecked(Side, ModelRow(row), checked);
    RedrawRows(row, row);
}

void CopyListView::ChangeChecks(CheckChange change, bool selectedOnly)
{
    std::vector<int> rows;
    if (selectedOnly) {
        rows = GetSelectedIndexes();
    } else {
        const int count = GetItemCount();
        for (int row = 0; row < count; ++row)
            rows.push_back(row);
    }
    for (int row : rows) {
        const bool checked = change == CheckOn || (change == CheckInvert && !IsRowChecked(row));
        Owner->GetRows().SetChecked(Side, ModelRow(row), checked);
    }
    if (Handle)
        InvalidateRect(Handle, nullptr, FALSE);
}

std::vector<CopyRow> CopyListView::CollectRows() const
{
    std::vector<CopyRow> rows;
    rows.reserve(Shown.size());
    for (int row : Shown) {
        CopyRow copy;
        Owner->GetRows().ReadCell(Side, row, [&](const RowModel::Cell& cell) {
            copy.FullPath = cell.Path;
            copy.RelativePath = cell.RelativeKey();
            copy.Size = ParseSize(cell.SizeText());
            copy.Checked = cell.Checked;
            // the values of a finished check, of the kinds shown
            if (cell.Finished)
                for (int kind = 0; kind < HashKind::Count; ++kind)
                    if (Owner->IsKindShown(kind) && cell.Value(kind) != HashText::Unreadable)
                        copy.Values[kind] = cell.Value(kind);
        });
        rows.push_back(copy);
    }
    return rows;
}

void CopyListView::GetCellText(int row, int column, std::wstring& text)
{
    const int model = ModelRow(row);
    if (column == 0) {
        Owner->GetRows().ReadCell(Side, model, [&](const RowModel::Cell& cell) { text = cell.Path; });
    } else if (column == 1) {
        const int mark = Owner->GetRows().GetMark(model);
        if (mark >= 0 && mark < PairMark::Count)
            text = CompListView::MarkTexts[mark];
    }
}

void CopyListView::GetRowColors(int row, COLORREF&, COLORREF& back)
{
    if (FileListView* list = Owner->GetList(Side))
        back = list->GetRowColour(ModelRow(row));
}

bool CopyListView::IsChecked(int row)
{
    return IsRowChecked(row);
}

void CopyListView::SetChecked(int row, bool checked)
{
    Owner->GetRows().SetChecked(Side, ModelRow(row), checked);
}

std::wstring CopyListView::RelativeTail(const std::wstring& path, const std::wstring& key)
{
    if (key.empty() || key.size() > path.size())
        return key;
    const std::wstring tail = path.substr(path.size() - key.size());
    const bool same = CompareStringOrdinal(tail.c_str(), static_cast<int>(tail.size()), key.c_str(),
                                           static_cast<int>(key.size()), TRUE) == CSTR_EQUAL;
    return same ? tail : key;
}

kit::Menu* CopyListView::PrepareContextMenu()
{
    kit::Menu* popup = ContextMenu ? ContextMenu->GetSubMenu(POPUP_COPY_LIST) : 0;
    if (!popup)
        return 0;
    const bool selection = SendToControl(LVM_GETSELECTEDCOUNT, 0, 0) > 0;
    for (UINT command : SelectedRowCommands)
        if (kit::MenuItem* item = popup->FindItem(command))
            item->SetEnabled(selection);
    return popup;
}

void CopyListView::ShowContextMenu()
{
    kit::Menu* popup = PrepareContextMenu();
    if (!popup || !Dialog)
        return;
    POINT cursor = {};
    GetCursorPos(&cursor);
    // the dialog owns the menu, so the chosen command reaches it as WM_COMMAND
    TrackPopupMenu(popup->GetHandle(), TPM_LEFTALIGN | TPM_LEFTBUTTON, cursor.x, cursor.y, 0, Dialog->Handle, 0);
}

LRESULT CopyListView::OnNotify(WPARAM wParam, LPARAM lParam)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header && header->hwndFrom == Handle && header->code == NM_RCLICK)
        ShowContextMenu();
    return kit::ListView::OnNotify(wParam, lParam);
}

// the relative part of the path, as it is written, gets a 2-pixel bar under it
LRESULT CopyListView::DecorateCell(int row, int column, NMLVCUSTOMDRAW& draw)
{
    if (column != 0 || !Owner || !Owner->GetSettingBool(L"UnderLine", true))
        return CDRF_DODEFAULT;
    std::wstring path, key;
    Owner->GetRows().ReadCell(Side, ModelRow(row), [&](const RowModel::Cell& cell) {
        path = cell.Path;
        key = cell.RelativeKey();
    });
    if (path.empty() || key.empty())
        return CDRF_DODEFAULT;
    RECT label = {};
    label.left = LVIR_LABEL;
    if (!SendToControl(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label)))
        return CDRF_DODEFAULT;
    const std::wstring relative = RelativeTail(path, key);
    const int pathWidth =
        static_cast<int>(SendToControl(LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(path.c_str())));
    const int relativeWidth =
        static_cast<int>(SendToControl(LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(relative.c_str())));
    const LONG headerBottom = GetHeaderRect().bottom;
    RECT band = {};
    band.top = std::max(label.bottom - 3, headerBottom);
    band.bottom = std::max(label.bottom - 1, headerBottom);
    band.right = std::min(std::max(label.left + pathWidth, label.left), label.right);
    band.left = std::min(std::max(label.left + pathWidth - relativeWidth, label.left), band.right);
    HBRUSH brush = CreateSolidBrush(Owner->GetStateColour(StateColour::UnderLine));
    if (brush) {
        FillRect(draw.nmcd.hdc, &band, brush);
        DeleteObject(brush);
    }
    return CDRF_DODEFAULT;
}
