#include "tests/harness/Readback.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace harness {

namespace {

struct ChildSearch {
    std::wstring ClassName;
    std::wstring Text;
    int Remaining;
    HWND Parent;
    HWND Found;
};

BOOL CALLBACK FindByClass(HWND window, LPARAM data)
{
    ChildSearch* search = reinterpret_cast<ChildSearch*>(data);
    if (GetParent(window) != search->Parent || _wcsicmp(ClassName(window).c_str(), search->ClassName.c_str()) != 0)
        return TRUE;
    if (search->Remaining-- > 0)
        return TRUE;
    search->Found = window;
    return FALSE;
}

BOOL CALLBACK FindByText(HWND window, LPARAM data)
{
    ChildSearch* search = reinterpret_cast<ChildSearch*>(data);
    if (WindowText(window) != search->Text)
        return TRUE;
    search->Found = window;
    return FALSE;
}

struct TopLevelSearch {
    std::wstring ClassName;
    std::vector<HWND> Found;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM data)
{
    TopLevelSearch* search = reinterpret_cast<TopLevelSearch*>(data);
    if (ClassName(window) == search->ClassName)
        search->Found.push_back(window);
    return TRUE;
}

bool FindMenuState(HMENU menu, UINT command, UINT& state)
{
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_SUBMENU;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info))
            continue;
        if (info.hSubMenu) {
            if (FindMenuState(info.hSubMenu, command, state))
                return true;
        } else if (info.wID == command) {
            state = info.fState;
            return true;
        }
    }
    return false;
}

} // namespace

std::wstring WindowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(std::max(0, GetWindowTextW(window, &text[0], length + 1))));
    return text;
}

std::wstring ItemText(HWND dialog, int controlId)
{
    HWND item = GetDlgItem(dialog, controlId);
    return item ? WindowText(item) : std::wstring();
}

std::wstring ClassName(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

bool IsChecked(HWND button)
{
    return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsEnabled(HWND window)
{
    return IsWindowEnabled(window) != FALSE;
}

bool IsVisible(HWND window)
{
    return IsWindowVisible(window) != FALSE;
}

RECT WindowRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

POINT Centre(const RECT& rect)
{
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

HWND FindChild(HWND parent, const std::wstring& className, int nth)
{
    ChildSearch search = {className, L"", nth, parent, nullptr};
    EnumChildWindows(parent, FindByClass, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

HWND FindChildByText(HWND parent, const std::wstring& text)
{
    ChildSearch search = {L"", text, 0, parent, nullptr};
    EnumChildWindows(parent, FindByText, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

std::vector<HWND> TopLevelWindows(const std::wstring& className)
{
    TopLevelSearch search;
    search.ClassName = className;
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

bool IsMenuItemChecked(HMENU menu, UINT command)
{
    UINT state = 0;
    return FindMenuState(menu, command, state) && (state & MFS_CHECKED);
}

bool IsMenuItemEnabled(HMENU menu, UINT command)
{
    UINT state = 0;
    return FindMenuState(menu, command, state) && !(state & MFS_DISABLED);
}

bool IsToolbarButtonChecked(HWND toolbar, int command)
{
    return SendMessageW(toolbar, TB_ISBUTTONCHECKED, static_cast<WPARAM>(command), 0) != 0;
}

bool IsToolbarButtonEnabled(HWND toolbar, int command)
{
    return SendMessageW(toolbar, TB_ISBUTTONENABLED, static_cast<WPARAM>(command), 0) != 0;
}

int ListRowCount(HWND list)
{
    return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

int ListColumnCount(HWND list)
{
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    return header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

std::wstring ListHeaderText(HWND list, int column)
{
    wchar_t text[512] = {};
    LVCOLUMNW info = {};
    info.mask = LVCF_TEXT;
    info.pszText = text;
    info.cchTextMax = 512;
    SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
    return text;
}

std::wstring ListCellText(HWND list, int row, int column)
{
    for (size_t size = 256;; size *= 2) {
        std::wstring text(size, L'\0');
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = &text[0];
        item.cchTextMax = static_cast<int>(size);
        const LRESULT length =
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        if (static_cast<size_t>(length) < size - 1) {
            text.resize(static_cast<size_t>(length));
            return text;
        }
    }
}

std::vector<std::wstring> ListRowTexts(HWND list, int row)
{
    std::vector<std::wstring> texts;
    const int columns = ListColumnCount(list);
    for (int column = 0; column < columns; ++column)
        texts.push_back(ListCellText(list, row, column));
    return texts;
}

bool IsListRowSelected(HWND list, int row)
{
    return (SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

int ListStateImage(HWND list, int row)
{
    const LRESULT state = SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK);
    return static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12);
}

LPARAM ListItemData(HWND list, int row)
{
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
}

CellColors ListCellColors(HWND list, int row, int column)
{
    CellColors colors;
    HWND parent = GetParent(list);
    NMLVCUSTOMDRAW draw = {};
    draw.nmcd.hdr.hwndFrom = list;
    draw.nmcd.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
    draw.nmcd.hdr.code = NM_CUSTOMDRAW;
    draw.nmcd.hdc = GetDC(list);
    draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
    draw.iSubItem = column;
    draw.clrText = CLR_DEFAULT;
    draw.clrTextBk = CLR_DEFAULT;
    const DWORD stages[] = {CDDS_PREPAINT, CDDS_ITEMPREPAINT, CDDS_ITEMPREPAINT | CDDS_SUBITEM};
    for (DWORD stage : stages) {
        draw.nmcd.dwDrawStage = stage;
        colors.Answer = SendMessageW(parent, WM_NOTIFY, draw.nmcd.hdr.idFrom, reinterpret_cast<LPARAM>(&draw));
    }
    ReleaseDC(list, draw.nmcd.hdc);
    colors.Text = draw.clrText;
    colors.Back = draw.clrTextBk;
    return colors;
}


// ---- files, clipboard and pixels ----

std::string ReadBytes(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

std::wstring ClipboardText()
{
    std::wstring text;
    if (!OpenClipboard(nullptr))
        return L"<busy>";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const wchar_t* p = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = p;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

// Writes the screen pixels of a window as a 24-bit BMP (for looking at the dialog, not for comparing).
bool SaveWindowBitmap(HWND window, const std::wstring& path)
{
    RECT rect = WindowRect(window);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::vector<char> pixels(stride * static_cast<DWORD>(height));
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
        DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER header = {};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, &header, sizeof header, &written, nullptr)
        && WriteFile(file, &info, sizeof info, &written, nullptr)
        && WriteFile(file, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
    CloseHandle(file);
    return ok;
}

} // namespace harness
