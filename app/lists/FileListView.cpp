#include "app/lists/FileListView.h"

#include "app/lists/CompListView.h"
#include "app/lists/FileListWindow.h"
#include "app/lists/KeyCase.h"
#include "app/lists/PairMarks.h"
#include "app/shell/Juxta.h"
#include "kit/core/Path.h"
#include "kit/ui/ControlUtility.h"
#include "kit/ui/DropFile.h"
#include "kit/ui/Menu.h"
#include "kit/ui/MenuItem.h"
#include "resources/resource.h"

#include <algorithm>
#include <mutex>
#include <objbase.h>
#include <shellapi.h>
#include <unordered_map>

FileListView::FileListView(Juxta* main, int side) : kit::ListView(true), Main(main), Side(side)
{
    PopupMenus = kit::Menu::Load(IDR_POPUP);
}

FileListView::~FileListView() {}

int FileListView::ControlIdOf(int side)
{
    return side == 0 ? IDC_LEFT_FILE_LIST : IDC_RIGHT_FILE_LIST;
}

boost::shared_ptr<FileListView> FileListView::Create(Juxta* main, int side, kit::Window* parent)
{
    boost::shared_ptr<FileListView> list(new FileListView(main, side));
    if (!list->kit::ListView::Create(parent, ControlIdOf(side)))
        return boost::shared_ptr<FileListView>();
    return list;
}

// ---------------------------------------------------------------------------------------------------------------
// rows

std::wstring FileListView::GetCellText(int row, int column) const
{
    Hold hold(*this);
    kit::ListViewItem* item = GetItem(row);
    if (!item || column < 0 || column >= GetColumnCount())
        return std::wstring();
    return item->GetText(column);
}

void FileListView::SetCellText(int row, int column, const std::wstring& text)
{
    Hold hold(*this);
    kit::ListViewItem* item = GetItem(row);
    if (item && column >= 0 && column < GetColumnCount())
        item->SetText(column, text);
}

std::wstring FileListView::GetHashText(int row, int kind) const
{
    if (kind < 0 || kind >= HashKind::Count)
        return std::wstring();
    const int column = Main->HashColumns[kind];
    return column < 0 ? std::wstring() : GetCellText(row, column);
}

void FileListView::SetHashText(int row, int kind, const std::wstring& text)
{
    if (kind < 0 || kind >= HashKind::Count)
        return;
    const int column = Main->HashColumns[kind];
    if (column >= 0)
        SetCellText(row, column, text);
}

std::wstring FileListView::GetSizeText(int row) const
{
    const int column = Main->SizeColumn;
    return column < 0 ? std::wstring() : GetCellText(row, column);
}

void FileListView::SetSizeText(int row, const std::wstring& text)
{
    const int column = Main->SizeColumn;
    if (column >= 0)
        SetCellText(row, column, text);
}

bool FileListView::IsBlankRow(int row) const
{
    return GetCellText(row, 0).empty();
}

bool FileListView::GetItemInfo(int row, ItemInfo& info) const
{
    Hold hold(*this);
    kit::ListViewItem* item = GetItem(row);
    return item && item->GetDataAs(info);
}

void FileListView::SetItemInfo(int row, const ItemInfo& info)
{
    Hold hold(*this);
    if (kit::ListViewItem* item = GetItem(row))
        SetItemInfo(*item, info);
}

void FileListView::SetItemInfo(kit::ListViewItem& item, const ItemInfo& info)
{
    Hold hold(*this);
    item.SetData(info);
    KeepUnderline(item, &info);
}

void FileListView::ClearItemInfo(int row)
{
    Hold hold(*this);
    if (kit::ListViewItem* item = GetItem(row))
        ClearItemInfo(*item);
}

void FileListView::ClearItemInfo(kit::ListViewItem& item)
{
    Hold hold(*this);
    item.SetData(boost::any());
    KeepUnderline(item, nullptr);
}

void FileListView::KeepUnderline(const kit::ListViewItem& item, const ItemInfo* info)
{
    std::lock_guard<std::mutex> guard(UnderlineGuard);
    if (info)
        Underlines[&item] = UnderlineSpan{info->PrefixWidth, info->PathWidth};
    else
        Underlines.erase(&item);
}

bool FileListView::FindUnderline(const kit::ListViewItem* item, int row, UnderlineSpan& span) const
{
    // the row's object as the control hands it over; an index alone is looked up (painting never changes rows)
    if (!item)
        item = GetItem(row);
    std::lock_guard<std::mutex> guard(UnderlineGuard);
    std::unordered_map<const kit::ListViewItem*, UnderlineSpan>::const_iterator found = Underlines.find(item);
    if (found == Underlines.end())
        return false;
    span = found->second;
    return true;
}

void FileListView::SetRowState(int row, int colourIndex)
{
    SetRowColour(row, Main->GetStateColour(colourIndex));
}

void FileListView::SetRowColour(int row, COLORREF colour)
{
    Hold hold(*this);
    if (kit::ListViewItem* item = GetItem(row))
        item->SetBackColor(colour);
}

COLORREF FileListView::GetRowColour(int row) const
{
    Hold hold(*this);
    kit::ListViewItem* item = GetItem(row);
    return item ? item->GetBackColor() : 0xFFFFFF;
}

void FileListView::SetRowImage(int row, int image)
{
    Hold hold(*this);
    if (row < 0 || row >= GetItemCount())
        return;
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iImage = image;
    SendToControl(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

int FileListView::GetRowImage(int row) const
{
    Hold hold(*this);
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    if (row < 0 || row >= GetItemCount() || !SendToControl(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return -1;
    return item.iImage;
}

void FileListView::MergePending()
{
    if (Main->MarkList)
        Main->MarkList->MergePending(Side);
}

void FileListView::RevealList()
{
    if (FileListWindow* window = Main->Sides[Side].get())
        window->RemoveDropHint();
}

int FileListView::MeasureText(const std::wstring& text) const
{
    HDC dc = GetDC(Handle);
    if (!dc)
        return 0;
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(Handle, dc);
    return size.cx;
}

namespace {

int LookUpIcon(const std::wstring& path)
{
    // SHGetFileInfoW asks for COM on the calling thread; where it is there already this only counts up
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    SHFILEINFOW info = {};
    const bool found = SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX) != 0;
    if (SUCCEEDED(com))
        CoUninitialize();
    return found ? info.iIcon : -1;
}

std::wstring RegistryDefault(const std::wstring& key)
{
    wchar_t value[MAX_PATH] = {};
    LONG size = sizeof value;
    if (RegQueryValueW(HKEY_CLASSES_ROOT, key.c_str(), value, &size) != ERROR_SUCCESS)
        return std::wstring();
    // a value stored without its terminating zero comes back without one
    value[MAX_PATH - 1] = L'\0';
    return value;
}

bool KeyExists(const std::wstring& key)
{
    HKEY handle = 0;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

// A file type whose icon is the same for every file of the type: its class names an icon of its own (not "%1",
// the file itself) and has no icon handler. Such types share one lookup.
bool HasClassIcon(const std::wstring& extension)
{
    static const wchar_t* const ownIcons[] = {L".exe", L".ico", L".lnk", L".cur", L".ani", L".scr",
                                             L".cpl", L".url", L".pif", L".dll", L".icl"};
    for (const wchar_t* own : ownIcons)
        if (extension == own)
            return false;
    for (const std::wstring& key : {extension, RegistryDefault(extension)}) {
        if (key.empty())
            continue;
        if (RegistryDefault(key + L"\\DefaultIcon").find(L"%1") != std::wstring::npos ||
            KeyExists(key + L"\\shellex\\IconHandler"))
            return false;
    }
    return true;
}

} // namespace

// the shell reads the type's registration and the file for every lookup, some milliseconds each: a type whose
// icon does not depend on the file is looked up once
int FileListView::ShellIconIndex(const std::wstring& path)
{
    static std::mutex guard;
    static std::unordered_map<std::wstring, int> byExtension;
    const std::wstring extension = KeyCase::Lower(kit::FindExtension(path));
    {
        std::lock_guard<std::mutex> lock(guard);
        std::unordered_map<std::wstring, int>::const_iterator known = byExtension.find(extension);
        if (known != byExtension.end())
            return known->second;
    }
    const int icon = LookUpIcon(path);
    if (icon >= 0 && HasClassIcon(extension)) {
        std::lock_guard<std::mutex> lock(guard);
        byExtension[extension] = icon;
    }
    return icon;
}

// ---------------------------------------------------------------------------------------------------------------
// window handlers

LRESULT FileListView::OnDropFiles(WPARAM wParam, LPARAM)
{
    std::vector<std::wstring> paths;
    {
        // the drop handle is finished when the object goes
        kit::DropFile drop(reinterpret_cast<HDROP>(wParam));
        std::wstring path;
        while (drop.Next(path))
            paths.push_back(path);
    }
    if (!paths.empty())
        Main->RegisterDrop(Side, paths);
    return 0;
}

LRESULT FileListView::OnPaint(WPARAM wParam, LPARAM lParam)
{
    CompListView::SyncScroll(*this, Main);
    return DefaultProc(WM_PAINT, wParam, lParam);
}

LRESULT FileListView::OnNcCalcSize(WPARAM wParam, LPARAM lParam)
{
    CompListView::SyncHorizontalBars(Main);
    return DefaultProc(WM_NCCALCSIZE, wParam, lParam);
}

LRESULT FileListView::OnKeyDown(WPARAM wParam, LPARAM lParam)
{
    switch (wParam) {
    case VK_RETURN:
        if (kit::ListViewItem* item = GetFirstSelected())
            Main->RunRowAction(Side, item->GetIndex());
        break;
    case VK_DELETE:
        SendMessageW(Main->Handle, WM_COMMAND, MAKEWPARAM(Side == 0 ? ID_REMOVE_LEFT : ID_REMOVE_RIGHT, 0), 0);
        break;
    case 'A':
        if (kit::IsControlKeyDown()) {
            Hold hold(*this);
            const int count = GetItemCount();
            for (int row = 0; row < count; ++row)
                GetItem(row)->SetSelected(true);
        }
        break;
    default:
        break;
    }
    return DefaultProc(WM_KEYDOWN, wParam, lParam);
}

LRESULT FileListView::OnNotify(WPARAM wParam, LPARAM lParam)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (!header)
        return kit::ListView::OnNotify(wParam, lParam);
    if (header->hwndFrom == Handle) {
        switch (header->code) {
        case NM_CLICK:
            Main->CurrentSide = Side;
            break;
        case NM_DBLCLK: {
            POINT cursor = {};
            GetCursorPos(&cursor);
            ScreenToClient(Handle, &cursor);
            if (kit::ListViewItem* item = HitTest(cursor.x, cursor.y, 0))
                Main->RunRowAction(Side, item->GetIndex());
            break;
        }
        case NM_RCLICK:
            Main->ShowListMenu(Side);
            break;
        case NM_CUSTOMDRAW: {
            NMLVCUSTOMDRAW& draw = *reinterpret_cast<NMLVCUSTOMDRAW*>(lParam);
            if (draw.nmcd.dwDrawStage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM))
                DrawUnderline(draw);
            break;
        }
        default:
            break;
        }
    } else if (header->idFrom == 0 && header->code == NM_RCLICK) {
        OnHeaderRightClick();
    }
    return kit::ListView::OnNotify(wParam, lParam);
}

// the relative part of the path gets a 2-pixel bar under it, over whatever the row is painted with
LRESULT FileListView::DrawUnderline(NMLVCUSTOMDRAW& draw)
{
    if (!Main->GetSettingBool(L"UnderLine", true))
        return CDRF_DODEFAULT;
    const int row = static_cast<int>(draw.nmcd.dwItemSpec);
    UnderlineSpan info;
    if (row < 0 || row >= GetItemCount() || !FindUnderline(ItemFromParam(draw.nmcd.lItemlParam), row, info))
        return CDRF_DODEFAULT;
    RECT label = {};
    label.left = LVIR_LABEL;
    if (!SendMessageW(Handle, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label)))
        return CDRF_DODEFAULT;
    const LONG headerBottom = GetHeaderRect().bottom;
    RECT band = {};
    band.top = std::max(std::max(label.top, label.bottom - 3), headerBottom);
    band.bottom = std::max(std::max(band.top, label.bottom - 1), headerBottom);
    band.right = std::min(std::max(label.left + info.PathWidth, label.left), label.right);
    band.left = std::min(label.left + info.PrefixWidth, band.right);
    HBRUSH brush = CreateSolidBrush(Main->GetStateColour(StateColour::UnderLine));
    if (brush) {
        FillRect(draw.nmcd.hdc, &band, brush);
        DeleteObject(brush);
    }
    return CDRF_DODEFAULT;
}

void FileListView::OnHeaderRightClick()
{
    kit::Menu* header = PopupMenus ? PopupMenus->GetSubMenu(POPUP_HEADER) : 0;
    if (!header)
        return;
    const UINT commands[HashKind::Count] = {ID_HEADER_CRC32, ID_HEADER_MD5, ID_HEADER_SHA1};
    const HashKindFlags enabled = Main->GetEnabledKinds();
    for (int kind = 0; kind < HashKind::Count; ++kind)
        if (kit::MenuItem* item = header->FindItem(commands[kind]))
            item->SetChecked(enabled[kind]);
    POINT cursor = {};
    GetCursorPos(&cursor);
    TrackPopupMenu(header->GetHandle(), TPM_LEFTALIGN | TPM_LEFTBUTTON, cursor.x, cursor.y, 0, Main->Handle, 0);
}
