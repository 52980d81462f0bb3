#include "app/tools/CopyListView.h"

#include "app/lists/PairMarks.h"
#include "app/shell/Juxta.h"
#include "app/tools/CopyDialog.h"
#include "kit/ui/Menu.h"
#include "resources/resource.h"

#include <algorithm>

namespace {

const UINT Unchecked = INDEXTOSTATEIMAGEMASK(1);
const UINT Checked = INDEXTOSTATEIMAGEMASK(2);
const UINT SelectedRowCommands[] = {ID_CHECK_SELECTED, ID_UNCHECK_SELECTED, ID_INVERT_SELECTED};

} // namespace

CopyListView::CopyListView(Juxta* owner, CopyDialog* dialog) : kit::ListView(true), Owner(owner), Dialog(dialog) {}

CopyListView::~CopyListView() = default;

boost::shared_ptr<CopyListView> CopyListView::Attach(Juxta* owner, CopyDialog* dialog, int id)
{
    boost::shared_ptr<CopyListView> list(new CopyListView(owner, dialog));
    if (!list->kit::ListView::Attach(dialog, id))
        return boost::shared_ptr<CopyListView>();
    list->ContextMenu = kit::Menu::Load(IDR_POPUP);
    return list;
}

bool CopyListView::IsRowChecked(int row) const
{
    const UINT state =
        static_cast<UINT>(SendToControl(LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK));
    return (state & LVIS_STATEIMAGEMASK) != Unchecked;
}

void CopyListView::SetRowChecked(int row, bool checked)
{
    LVITEMW item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = checked ? Checked : Unchecked;
    SendToControl(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
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
        SetRowChecked(row, checked);
    }
}

int CopyListView::MeasureText(const std::wstring& text) const
{
    return static_cast<int>(SendToControl(LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str())));
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
    if (header && header->hwndFrom == Handle) {
        if (header->code == NM_RCLICK) {
            ShowContextMenu();
        } else if (header->code == NM_CUSTOMDRAW) {
            NMLVCUSTOMDRAW& draw = *reinterpret_cast<NMLVCUSTOMDRAW*>(lParam);
            if (draw.nmcd.dwDrawStage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM))
                DrawUnderline(draw);
        }
    }
    return kit::ListView::OnNotify(wParam, lParam);
}

// the relative part of the path gets a 2-pixel bar under it
void CopyListView::DrawUnderline(NMLVCUSTOMDRAW& draw)
{
    if (!Owner || !Owner->GetSettingBool(L"UnderLine", true))
        return;
    const int row = static_cast<int>(draw.nmcd.dwItemSpec);
    kit::ListViewItem* item = GetItem(row);
    ItemInfo info;
    if (!item || !item->GetDataAs(info))
        return;
    RECT label = {};
    label.left = LVIR_LABEL;
    if (!SendToControl(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label)))
        return;
    const LONG headerBottom = GetHeaderRect().bottom;
    RECT band = {};
    band.top = std::max(label.bottom - 3, headerBottom);
    band.bottom = std::max(label.bottom - 1, headerBottom);
    band.right = std::min(std::max(label.left + info.PathWidth, label.left), label.right);
    band.left = std::min(std::max(label.left + info.RelativeOffset, label.left), band.right);
    HBRUSH brush = CreateSolidBrush(Owner->GetStateColour(StateColour::UnderLine));
    if (brush) {
        FillRect(draw.nmcd.hdc, &band, brush);
        DeleteObject(brush);
    }
}
