#include "app/lists/FileListView.h"

#include "app/lists/CompListView.h"
#include "app/lists/FileListWindow.h"
#include "app/lists/KeyCase.h"
#include "app/lists/PairMarks.h"
#include "app/lists/RowModel.h"
#include "app/shell/Commands.h"
#include "app/lists/ListHost.h"
#include "kit/core/Path.h"
#include "kit/ui/Brush.h"
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

FileListView::FileListView(ListHost* main, int side) : kit::ListView(false), Main(main), Side(side)
{
    UseSource(this);
    PopupMenus = kit::Menu::Load(IDR_POPUP);
}

FileListView::~FileListView() {}

int FileListView::ControlIdOf(int side)
{
    return side == 0 ? IDC_LEFT_FILE_LIST : IDC_RIGHT_FILE_LIST;
}

boost::shared_ptr<FileListView> FileListView::Create(ListHost* main, int side, kit::Window* parent)
{
    boost::shared_ptr<FileListView> list(new FileListView(main, side));
    if (!list->kit::ListView::CreateVirtual(parent, ControlIdOf(side)))
        return boost::shared_ptr<FileListView>();
    return list;
}

// ---------------------------------------------------------------------------------------------------------------
// rows

int FileListView::FieldOf(int column) const
{
    if (column == 0)
        return -1;
    for (int kind = 0; kind < HashKind::Count; ++kind)
        if (Main->GetHashColumn(kind) == column)
            return kind;
    return column == Main->GetSizeColumn() ? HashKind::Count : -2;
}

int FileListView::GetRowCount() const
{
    return Main->GetRows().RowCount();
}

std::wstring FileListView::GetCellText(int row, int column) const
{
    const int field = FieldOf(column);
    std::wstring text;
    Main->GetRows().ReadCell(Side, row, [&](const RowModel::Cell& cell) {
        if (field == -1)
            text = cell.Path;
        else if (field == HashKind::Count)
            text = cell.SizeText();
        else if (field >= 0)
            text = cell.Value(field);
    });
    return text;
}

void FileListView::SetCellText(int row, int column, const std::wstring& text)
{
    const int field = FieldOf(column);
    if (field == HashKind::Count)
        Main->GetRows().SetSizeText(Side, row, text);
    else if (field >= 0)
        Main->GetRows().SetValue(Side, row, field, text);
    Main->SyncViews();
}

std::wstring FileListView::GetHashText(int row, int kind) const
{
    if (kind < 0 || kind >= HashKind::Count)
        return std::wstring();
    const int column = Main->GetHashColumn(kind);
    return column < 0 ? std::wstring() : GetCellText(row, column);
}

void FileListView::SetHashText(int row, int kind, const std::wstring& text)
{
    if (kind < 0 || kind >= HashKind::Count)
        return;
    const int column = Main->GetHashColumn(kind);
    if (column >= 0)
        SetCellText(row, column, text);
}

std::wstring FileListView::GetSizeText(int row) const
{
    const int column = Main->GetSizeColumn();
    return column < 0 ? std::wstring() : GetCellText(row, column);
}

void FileListView::SetSizeText(int row, const std::wstring& text)
{
    const int column = Main->GetSizeColumn();
    if (column >= 0)
        SetCellText(row, column, text);
}

bool FileListView::IsBlankRow(int row) const
{
    bool blank = true;
    Main->GetRows().ReadCell(Side, row, [&](const RowModel::Cell& cell) { blank = cell.IsBlank(); });
    return blank;
}

bool FileListView::GetItemInfo(int row, ItemInfo& info) const
{
    bool file = false;
    Main->GetRows().ReadCell(Side, row, [&](const RowModel::Cell& cell) {
        file = !cell.IsBlank();
        if (!file)
            return;
        info.RelativeKey = cell.RelativeKey();
        for (int kind = 0; kind < HashKind::Count; ++kind)
            info.HashTexts[kind] = cell.ImportedHash(kind);
        info.SizeText = cell.ImportedSize();
        info.Finished = cell.Finished;
        info.Unreadable = cell.Unreadable;
    });
    return file;
}

COLORREF FileListView::GetRowColour(int row) const
{
    int state = RowModel::NoState;
    Main->GetRows().ReadCell(Side, row, [&](const RowModel::Cell& cell) { state = cell.State; });
    return state == RowModel::NoState ? BlankRowColour : Main->GetStateColour(state);
}

int FileListView::GetRowImage(int row)
{
    return row >= 0 && row < GetRowCount() ? GetImage(row) : -1;
}

int FileListView::FileCount() const
{
    return Main->GetRows().FileCount(Side);
}

uint64_t FileListView::TotalSize() const
{
    return Main->GetRows().TotalSize(Side);
}

void FileListView::MergePending()
{
    if (Main->GetMarkList())
        Main->GetMarkList()->MergePending(Side);
}

CheckHost& FileListView::GetCheckHost() const
{
    return Main->GetCheckHost();
}

void FileListView::RevealList()
{
    if (FileListWindow* window = Main->GetSideWindow(Side))
        window->RemoveDropHint();
}

// ---------------------------------------------------------------------------------------------------------------
// what the control asks for

void FileListView::GetCellText(int row, int column, std::wstring& text)
{
    text = static_cast<const FileListView*>(this)->GetCellText(row, column);
}

int FileListView::GetImage(int row)
{
    std::wstring path;
    int icon = -1;
    Main->GetRows().ReadCell(Side, row, [&](const RowModel::Cell& cell) {
        icon = cell.Icon;
        // a blank row and an imported entry show none
        if (cell.IsBlank() || cell.IsImported())
            icon = -1;
        else if (icon == RowModel::UnknownIcon)
            path = cell.Path;
    });
    if (icon != RowModel::UnknownIcon)
        return icon;
    // looked up the first time the row is painted, so that a million rows cost only the ones seen
    icon = ShellIconIndex(path);
    Main->GetRows().SetIcon(Side, row, icon);
    return icon;
}

void FileListView::GetRowColors(int row, COLORREF&, COLORREF& back)
{
    back = GetRowColour(row);
}

// what every underline of a paint shares, asked once: a paint of the list decorates each row in sight
void FileListView::PreparePaint(HDC)
{
    Underline.Shown = Main->GetSettingBool(L"UnderLine", true);
    if (!Underline.Shown)
        return;
    Underline.Font = reinterpret_cast<HFONT>(SendToControl(WM_GETFONT, 0, 0));
    Underline.HeaderBottom = GetHeaderRect().bottom;
    const COLORREF colour = Main->GetStateColour(StateColour::UnderLine);
    if (!Underline.Brush || colour != Underline.Colour) {
        Underline.Brush = kit::Brush::Create(colour);
        Underline.Colour = colour;
    }
}

// the relative part of the path gets a 2-pixel bar under it, over whatever the row is painted with
LRESULT FileListView::DecorateCell(int row, int column, NMLVCUSTOMDRAW& draw)
{
    if (column != 0 || !Underline.Shown || !Underline.Brush || !Underline.Brush->GetHandle())
        return CDRF_DODEFAULT;
    std::wstring& path = Underline.Path;
    path.clear();
    size_t prefix = 0;
    Main->GetRows().ReadCell(Side, row, [&](const RowModel::Cell& cell) {
        // an imported entry has no relative part
        if (cell.RelativeLength == 0)
            return;
        path = cell.Path;
        prefix = cell.PrefixLength();
    });
    if (path.empty())
        return CDRF_DODEFAULT;
    RECT label = {};
    label.left = LVIR_LABEL;
    if (!SendToControl(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label)))
        return CDRF_DODEFAULT;
    // measured in the list's font, whatever the painting context holds; one measure gives the width of every
    // leading part, the prefix's among them
    HDC dc = draw.nmcd.hdc;
    HGDIOBJ old = Underline.Font && GetCurrentObject(dc, OBJ_FONT) != Underline.Font ? SelectObject(dc, Underline.Font)
                                                                                     : nullptr;
    Underline.Extents.resize(path.size());
    SIZE pathSize = {};
    const bool measured = GetTextExtentExPointW(dc, path.c_str(), static_cast<int>(path.size()), 0, nullptr,
                                                Underline.Extents.data(), &pathSize) != FALSE;
    if (old)
        SelectObject(dc, old);
    if (!measured)
        return CDRF_DODEFAULT;
    const LONG prefixWidth = prefix > 0 ? Underline.Extents[std::min(prefix, path.size()) - 1] : 0;
    const LONG headerBottom = Underline.HeaderBottom;
    RECT band = {};
    band.top = std::max(std::max(label.top, label.bottom - 3), headerBottom);
    band.bottom = std::max(std::max(band.top, label.bottom - 1), headerBottom);
    band.right = std::min(std::max(label.left + pathSize.cx, label.left), label.right);
    band.left = std::min(label.left + prefixWidth, band.right);
    FillRect(dc, &band, Underline.Brush->GetHandle());
    return CDRF_DODEFAULT;
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
        if (GetFirstSelectedRow() >= 0)
            Main->RunRowAction(Side, GetFirstSelectedRow());
        break;
    case VK_DELETE:
        SendMessageW(Main->GetOwnerWindow().Handle, WM_COMMAND,
                     MAKEWPARAM(Side == 0 ? ID_REMOVE_LEFT : ID_REMOVE_RIGHT, 0), 0);
        break;
    case 'A':
        if (kit::IsControlKeyDown())
            SelectAll();
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
            Main->SetCurrentSide(Side);
            break;
        case NM_DBLCLK: {
            POINT cursor = {};
            GetCursorPos(&cursor);
            ScreenToClient(Handle, &cursor);
            const int row = HitTestRow(cursor.x, cursor.y, 0);
            if (row >= 0)
                Main->RunRowAction(Side, row);
            break;
        }
        case NM_RCLICK:
            Main->ShowListMenu(Side, true);
            break;
        default:
            break;
        }
    } else if (header->idFrom == 0 && header->code == NM_RCLICK) {
        OnHeaderRightClick();
    }
    return kit::ListView::OnNotify(wParam, lParam);
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
    TrackPopupMenu(header->GetHandle(), TPM_LEFTALIGN | TPM_LEFTBUTTON, cursor.x, cursor.y, 0,
                   Main->GetOwnerWindow().Handle, 0);
}
