// Shows one resource of the program on its own, for screenshots of the layout:
//   dialog_preview dialog <id>          a dialog, with sample contents in its controls
//   dialog_preview menu <id> [i [j]]    pop-up i (and its sub-menu j) of a menu, opened at a fixed point
//   dialog_preview menubar              a window with the menu bar
//   dialog_preview images               the toolbar strip (plain, enlarged, in a toolbar), the icons, the picture
// Every mode closes itself after a few seconds (JUXTA_PREVIEW_SECONDS, default 5).
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

HINSTANCE Instance;
UINT CloseAfterMs = 5000;
const UINT_PTR CloseTimer = 1;
const int Left = 40;
const int Top = 40;

HBRUSH SwatchBrush(COLORREF colour)
{
    // a handful of colours for the whole run: never freed, the process is short
    static std::vector<std::pair<COLORREF, HBRUSH>> brushes;
    for (const auto& b : brushes)
        if (b.first == colour)
            return b.second;
    HBRUSH brush = CreateSolidBrush(colour);
    brushes.emplace_back(colour, brush);
    return brush;
}

void SetItem(HWND dialog, int id, const wchar_t* text)
{
    SetDlgItemTextW(dialog, id, text);
}

void Check(HWND dialog, std::initializer_list<int> ids)
{
    for (int id : ids)
        CheckDlgButton(dialog, id, BST_CHECKED);
}

void AddStrings(HWND combo, std::initializer_list<const wchar_t*> texts, int selected)
{
    for (const wchar_t* t : texts)
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
    SendMessageW(combo, CB_SETCURSEL, selected, 0);
}

void AddColumn(HWND list, int index, const wchar_t* title, int width, int format = LVCFMT_LEFT)
{
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<wchar_t*>(title);
    SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
}

void AddRow(HWND list, int row, std::initializer_list<const wchar_t*> cells)
{
    int sub = 0;
    for (const wchar_t* text : cells) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.iSubItem = sub;
        item.pszText = const_cast<wchar_t*>(text);
        SendMessageW(list, sub == 0 ? LVM_INSERTITEMW : LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        ++sub;
    }
}

int ListClientWidth(HWND list)
{
    RECT r;
    GetClientRect(list, &r);
    return r.right - r.left - GetSystemMetrics(SM_CXVSCROLL);
}

void FillConfig(HWND d)
{
    Check(d, {IDC_CONFIG_CRC32, IDC_CONFIG_SUBDIRECTORY, IDC_CONFIG_AUTOSCROLL, IDC_CONFIG_UNDERLINE,
              IDC_CONFIG_COMPARE_HASH});
    SetItem(d, IDC_CONFIG_TOOL0_EXTENSION, L"txt;html");
    SetItem(d, IDC_CONFIG_TOOL0_COMMAND, L"\"C:\\Program Files\\WinMerge\\WinMergeU.exe\" %1 %2");
    SetItem(d, IDC_CONFIG_TOOL1_EXTENSION, L"*");
    HWND bar = GetDlgItem(d, IDC_CONFIG_CHECKNUM);
    SendMessageW(bar, TBM_SETRANGE, TRUE, MAKELPARAM(1, 16));
    SendMessageW(bar, TBM_SETPOS, TRUE, 8);
    SetItem(d, IDC_CONFIG_CHECKNUM_TEXT, L"8");
}

void FillOutput(HWND d)
{
    Check(d, {IDC_OUTPUT_LEFT_LIST, IDC_OUTPUT_TO_FILE, IDC_OUTPUT_WINCRC, IDC_OUTPUT_RELATIVE_PATH, IDC_OUTPUT_OK,
              IDC_OUTPUT_NG, IDC_OUTPUT_LEFT, IDC_OUTPUT_RIGHT, IDC_OUTPUT_UNKNOWN, IDC_OUTPUT_CRC32,
              IDC_OUTPUT_HEADER, IDC_OUTPUT_FOOTER});
    EnableWindow(GetDlgItem(d, IDC_OUTPUT_MD5), FALSE);
    EnableWindow(GetDlgItem(d, IDC_OUTPUT_SHA1), FALSE);
    AddStrings(GetDlgItem(d, IDC_OUTPUT_SAMPLE_LINES),
               {L"表示しない", L"5ファイル", L"10ファイル", L"20ファイル", L"全て表示する"}, 1);
    LOGFONTW lf = {};
    lf.lfHeight = 12;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    wcscpy(lf.lfFaceName, L"ＭＳ ゴシック");
    SendDlgItemMessageW(d, IDC_OUTPUT_SAMPLE, WM_SETFONT, reinterpret_cast<WPARAM>(CreateFontIndirectW(&lf)), FALSE);
    SetItem(d, IDC_OUTPUT_SAMPLE,
            L"Name                 CRC32     Bytes\r\n"
            L"-------------------  --------  -----\r\n"
            L"photos\\2024\\001.jpg  1A2B3C4D  1,234\r\n"
            L"photos\\2024\\002.jpg  9F00E1C2    917\r\n"
            L"資料\\見積書.xlsx     0BADF00D  8,192\r\n"
            L"------------------------------------\r\n"
            L"Total  3 Files  10,343 Bytes\r\n");
}

void FillHash(HWND d)
{
    SetItem(d, IDC_HASH_FILE_NAME, L"D:\\データ\\photos\\2024\\001.jpg");
    SetItem(d, IDC_HASH_CRC32_VALUE, L"1A2B3C4D");
    SetItem(d, IDC_HASH_CRC32_INPUT, L"1A2B3C4D");
    SetItem(d, IDC_HASH_CRC32_RESULT, L"一致");
    SetItem(d, IDC_HASH_MD5_VALUE, L"9E107D9D372BB6826BD81D3542A419D6");
    SetItem(d, IDC_HASH_MD5_INPUT, L"9E107D9D372BB6826BD81D3542A419D7");
    SetItem(d, IDC_HASH_MD5_RESULT, L"不一致");
    SetItem(d, IDC_HASH_SHA1_VALUE, L"2FD4E1C67A2D28FCED849EE1BB76E7391B93EB12");
    SetItem(d, IDC_HASH_SHA1_RESULT, L"未入力");
    SendDlgItemMessageW(d, IDC_HASH_SHA1_INPUT, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(L"SHA-1を入力"));
    SetItem(d, IDC_HASH_SIZE_VALUE, L"1,234,567");
    SendDlgItemMessageW(d, IDC_HASH_SIZE_INPUT, EM_SETCUEBANNER, TRUE,
                        reinterpret_cast<LPARAM>(L"ファイルサイズを入力（カンマ省略可）"));
    SetItem(d, IDC_HASH_SIZE_RESULT, L"未入力");
}

void FillProgress(HWND d)
{
    SetItem(d, IDC_PROGRESS_STATUS,
            L"D:\\データ\\photos\\2024\\summer\\very long folder name\\IMG_0042.jpgをコピー中...");
    SendDlgItemMessageW(d, IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, 10000);
    SendDlgItemMessageW(d, IDC_PROGRESS_BAR, PBM_SETPOS, 4000, 0);
    HWND log = GetDlgItem(d, IDC_PROGRESS_ERRORS);
    AddColumn(log, 0, L"エラーログ", ListClientWidth(log) - 2 * GetSystemMetrics(SM_CXEDGE));
    AddRow(log, 0, {L"D:\\データ\\photos\\2024\\003.jpg が開けませんでした"});
    AddRow(log, 1, {L"E:\\バックアップ\\photos\\2024\\004.jpg が既に存在します"});
    AddRow(log, 2, {L"\u3000→出力ファイル名を 004 (1).jpg に変更しました"});
}

void FillCopy(HWND d)
{
    Check(d, {IDC_COPY_LEFT_LIST, IDC_COPY_COPY, IDC_COPY_RELATIVE_PATH, IDC_COPY_OK, IDC_COPY_NG, IDC_COPY_LEFT,
              IDC_COPY_RIGHT, IDC_COPY_UNKNOWN});
    AddStrings(GetDlgItem(d, IDC_COPY_CLASH), {L"強制的に上書きする", L"処理せずにスキップする", L"名前を変更して保存する"},
               1);
    SetItem(d, IDC_COPY_FOLDER, L"E:\\バックアップ");
    HWND list = GetDlgItem(d, IDC_COPY_FILES);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES);
    AddColumn(list, 0, L"ファイル名", ListClientWidth(list) - 2 * GetSystemMetrics(SM_CXEDGE) - 50);
    AddColumn(list, 1, L"状態", 50);
    AddRow(list, 0, {L"D:\\データ\\photos\\2024\\001.jpg", L"○"});
    AddRow(list, 1, {L"D:\\データ\\photos\\2024\\002.jpg", L"×"});
    AddRow(list, 2, {L"D:\\データ\\資料\\見積書.xlsx", L"←"});
    for (int row = 0; row < 3; ++row) {
        LVITEMW item = {};
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.state = INDEXTOSTATEIMAGEMASK(row == 1 ? 1 : 2);
        SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }
}

COLORREF SwatchColour(int id)
{
    switch (id) {
    case IDC_CONFIG_WAIT_SWATCH: return 0xC0C0C0;
    case IDC_CONFIG_CHECK_SWATCH: return 0x00FF00;
    case IDC_CONFIG_OK_SWATCH: return 0xFFFF00;
    case IDC_CONFIG_NG_SWATCH: return 0xFF00FF;
    case IDC_CONFIG_LEFT_SWATCH: return 0x00FFFF;
    case IDC_CONFIG_RIGHT_SWATCH: return 0x00FFFF;
    case IDC_CONFIG_UNDERLINE_SWATCH: return 0x000000;
    default: return CLR_INVALID;
    }
}

int PreviewedDialog = 0;

INT_PTR ColourStatic(HWND control, HDC dc)
{
    int id = GetDlgCtrlID(control);
    COLORREF colour = CLR_INVALID;
    if (PreviewedDialog == IDD_CONFIG) {
        colour = SwatchColour(id);
    } else if (PreviewedDialog == IDD_HASH) {
        wchar_t text[16] = {};
        GetWindowTextW(control, text, 16);
        if (wcscmp(text, L"一致") == 0)
            colour = 0xFFFF00;
        else if (wcscmp(text, L"不一致") == 0)
            colour = 0xFF00FF;
    }
    if (colour == CLR_INVALID)
        return 0;
    SetBkColor(dc, colour);
    return reinterpret_cast<INT_PTR>(SwatchBrush(colour));
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetTimer(dialog, CloseTimer, CloseAfterMs, nullptr);
        return TRUE;
    case WM_CTLCOLORSTATIC:
        return ColourStatic(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam));
    case WM_TIMER:
    case WM_CLOSE:
        DestroyWindow(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDC_CLOSE || LOWORD(wParam) == IDOK)
            DestroyWindow(dialog);
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return TRUE;
    }
    return FALSE;
}

int RunLoop()
{
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

int ShowDialog(int id)
{
    PreviewedDialog = id;
    HWND dialog = CreateDialogParamW(Instance, MAKEINTRESOURCEW(id), nullptr, DialogProc, 0);
    if (!dialog)
        return 2;
    switch (id) {
    case IDD_CONFIG: FillConfig(dialog); break;
    case IDD_MESSAGE: SetItem(dialog, IDC_MESSAGE_TEXT, L"ファイル登録中…"); break;
    case IDD_VERSION:
        SetItem(dialog, IDC_VERSION_NAME, L"Juxta");
        SetItem(dialog, IDC_VERSION_NUMBER, L"1.0.0");
        break;
    case IDD_OUTPUT: FillOutput(dialog); break;
    case IDD_HASH: FillHash(dialog); break;
    case IDD_PROGRESS: FillProgress(dialog); break;
    case IDD_COPY: FillCopy(dialog); break;
    }
    SetWindowPos(dialog, HWND_TOP, Left, Top, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    return RunLoop();
}

// ---- windows for the menus and the images ----

std::vector<int> MenuPath;
int MenuId = 0;

LRESULT CALLBACK MenuOwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (wParam == CloseTimer) {
            EndMenu();
            DestroyWindow(window);
        } else {
            KillTimer(window, wParam);
            HMENU menu = LoadMenuW(Instance, MAKEINTRESOURCEW(MenuId));
            HMENU popup = menu;
            for (int index : MenuPath)
                popup = GetSubMenu(popup, index);
            if (popup) {
                SetForegroundWindow(window);
                TrackPopupMenu(popup, TPM_LEFTBUTTON, Left, Top, 0, window, nullptr);
            }
            DestroyMenu(menu);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

struct Images {
    HIMAGELIST Strip = nullptr;
    HBITMAP Picture = nullptr;
    HICON Main[3] = {};
    HICON Busy[3] = {};
};
Images Pictures;

void DrawEnlarged(HDC dc, int x, int y, int scale, int width, int height, void (*draw)(HDC))
{
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT all = {0, 0, width, height};
    FillRect(memory, &all, GetSysColorBrush(COLOR_BTNFACE));
    draw(memory);
    StretchBlt(dc, x, y, width * scale, height * scale, memory, 0, 0, width, height, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

void DrawStripPart(HDC dc, int first, int count)
{
    for (int i = 0; i < count; ++i)
        ImageList_Draw(Pictures.Strip, first + i, dc, i * TOOLBAR_IMAGE_SIZE, 0, ILD_NORMAL);
}

void DrawStripFirstHalf(HDC dc)
{
    DrawStripPart(dc, 0, TOOLBAR_IMAGE_COUNT / 2);
}

void DrawStripSecondHalf(HDC dc)
{
    DrawStripPart(dc, TOOLBAR_IMAGE_COUNT / 2, TOOLBAR_IMAGE_COUNT / 2);
}

void DrawBusy(HDC dc)
{
    for (int i = 0; i < 3; ++i)
        DrawIconEx(dc, i * 20, 0, Pictures.Busy[i], 16, 16, 0, nullptr, DI_NORMAL);
}

// Rows from the top: the strip as it is, two sample toolbars (added at creation), the strip enlarged five times in
// two rows, the icons and the version picture at their size, then enlarged.
void PaintImages(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    const int half = TOOLBAR_IMAGE_COUNT / 2 * TOOLBAR_IMAGE_SIZE;
    DrawStripPart(dc, 0, TOOLBAR_IMAGE_COUNT);
    DrawEnlarged(dc, 0, 100, 5, half, TOOLBAR_IMAGE_SIZE, DrawStripFirstHalf);
    DrawEnlarged(dc, 0, 190, 5, half, TOOLBAR_IMAGE_SIZE, DrawStripSecondHalf);

    const int sizes[3] = {16, 32, 48};
    int x = 0;
    for (int i = 0; i < 3; ++i) {
        DrawIconEx(dc, x, 290, Pictures.Main[i], sizes[i], sizes[i], 0, nullptr, DI_NORMAL);
        DrawIconEx(dc, x, 370, Pictures.Main[i], sizes[i] * 3, sizes[i] * 3, 0, nullptr, DI_NORMAL);
        x += sizes[i] * 3 + 10;
    }
    HDC pictureDc = CreateCompatibleDC(dc);
    HGDIOBJ oldPicture = SelectObject(pictureDc, Pictures.Picture);
    BitBlt(dc, x, 290, 64, 64, pictureDc, 0, 0, SRCCOPY);
    StretchBlt(dc, x, 370, 128, 128, pictureDc, 0, 0, 64, 64, SRCCOPY);
    SelectObject(pictureDc, oldPicture);
    DeleteDC(pictureDc);
    x += 138;
    for (int i = 0; i < 3; ++i)
        DrawIconEx(dc, x + i * 20, 290, Pictures.Busy[i], 16, 16, 0, nullptr, DI_NORMAL);
    DrawEnlarged(dc, x, 370, 5, 56, 16, DrawBusy);
    EndPaint(window, &ps);
}

struct ButtonSpec {
    int Command;
    int Image;
    BYTE Style;
};

void AddToolbar(HWND parent, int y, const std::vector<ButtonSpec>& buttons, bool disableSome)
{
    HWND bar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                               WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE |
                                   CCS_NOPARENTALIGN | CCS_NODIVIDER,
                               0, y, 640, 28, parent, nullptr, Instance, nullptr);
    SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(Pictures.Strip));
    for (const ButtonSpec& b : buttons) {
        TBBUTTON button = {};
        button.iBitmap = b.Image;
        button.idCommand = b.Command;
        button.fsStyle = b.Style;
        button.fsState = TBSTATE_ENABLED;
        if (b.Style == BTNS_CHECK && b.Command != ID_VIEW_TOPMOST)
            button.fsState |= TBSTATE_CHECKED;
        if (disableSome && (b.Command == ID_STOP || b.Command == ID_COMPARE_TOOL))
            button.fsState &= ~TBSTATE_ENABLED;
        SendMessageW(bar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
    }
}

void AddToolbars(HWND window)
{
    const BYTE B = BTNS_BUTTON, C = BTNS_CHECK, S = BTNS_SEP;
    AddToolbar(window, 24,
               {{ID_CLEAR, TBI_CLEAR, B}, {ID_STOP, TBI_STOP, B}, {ID_RECHECK, TBI_RECHECK, B}, {0, 0, S},
                {ID_COMPARE_TOOL, TBI_COMPARE_TOOL, B}, {ID_OUTPUT, TBI_OUTPUT, B},
                {ID_FILE_OPERATION, TBI_FILE_OPERATION, B}, {0, 0, S}, {ID_VIEW_TOOLBAR, TBI_VIEW_TOOLBAR, C},
                {ID_VIEW_SIDE_TOOLBAR, TBI_VIEW_SIDE_TOOLBAR, C}, {ID_VIEW_STATUSBAR, TBI_VIEW_STATUSBAR, C},
                {ID_VIEW_TOPMOST, TBI_VIEW_TOPMOST, C}, {0, 0, S}, {ID_CONFIG, TBI_CONFIG, B},
                {ID_HELP_MANUAL, TBI_MANUAL, B}},
               true);
    // every image of the strip as a button, in index order
    std::vector<ButtonSpec> all;
    for (int i = 0; i < TOOLBAR_IMAGE_COUNT; ++i)
        all.push_back({1000 + i, i, B});
    AddToolbar(window, 56, all, false);
}

LRESULT CALLBACK ImagesProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        AddToolbars(window);
        return 0;
    case WM_PAINT:
        PaintImages(window);
        return 0;
    case WM_TIMER:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK MenuBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool LoadPictures()
{
    HBITMAP strip = static_cast<HBITMAP>(LoadImageW(Instance, MAKEINTRESOURCEW(IDB_TOOLBAR), IMAGE_BITMAP, 0, 0, 0));
    Pictures.Picture = static_cast<HBITMAP>(LoadImageW(Instance, MAKEINTRESOURCEW(IDB_VERSION), IMAGE_BITMAP, 0, 0, 0));
    if (!strip || !Pictures.Picture)
        return false;
    Pictures.Strip = ImageList_Create(TOOLBAR_IMAGE_SIZE, TOOLBAR_IMAGE_SIZE, ILC_COLOR24 | ILC_MASK,
                                      TOOLBAR_IMAGE_COUNT, 0);
    ImageList_AddMasked(Pictures.Strip, strip, TOOLBAR_MASK_COLOR);
    DeleteObject(strip);
    const int sizes[3] = {16, 32, 48};
    for (int i = 0; i < 3; ++i)
        Pictures.Main[i] = static_cast<HICON>(
            LoadImageW(Instance, MAKEINTRESOURCEW(IDI_MAIN), IMAGE_ICON, sizes[i], sizes[i], 0));
    const int busy[3] = {IDI_BUSY1, IDI_BUSY2, IDI_BUSY3};
    for (int i = 0; i < 3; ++i)
        Pictures.Busy[i] = static_cast<HICON>(LoadImageW(Instance, MAKEINTRESOURCEW(busy[i]), IMAGE_ICON, 16, 16, 0));
    return true;
}

HWND CreateFrame(const wchar_t* className, WNDPROC proc, DWORD style, int width, int height, HMENU menu)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = Instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.hIcon = LoadIconW(Instance, MAKEINTRESOURCEW(IDI_MAIN));
    wc.lpszClassName = className;
    if (!RegisterClassW(&wc))
        return nullptr;
    return CreateWindowExW(0, className, L"Juxta", style, Left, Top, width, height, nullptr, menu, Instance, nullptr);
}

int ShowMenu(int id, const std::vector<int>& path)
{
    MenuId = id;
    MenuPath = path;
    // a tiny owner beside the menu's corner: the pop-up needs a foreground window to stay open
    HWND owner = CreateFrame(L"JuxtaPreviewMenu", MenuOwnerProc, WS_POPUP | WS_VISIBLE, 1, 1, nullptr);
    if (!owner)
        return 2;
    SetTimer(owner, CloseTimer, CloseAfterMs, nullptr);
    SetTimer(owner, CloseTimer + 1, 200, nullptr);
    return RunLoop();
}

int ShowMenuBar()
{
    HWND frame = CreateFrame(L"JuxtaPreviewMenuBar", MenuBarProc, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 480, 120,
                             LoadMenuW(Instance, MAKEINTRESOURCEW(IDR_MENU)));
    if (!frame)
        return 2;
    SetTimer(frame, CloseTimer, CloseAfterMs, nullptr);
    return RunLoop();
}

int ShowImages()
{
    if (!LoadPictures())
        return 2;
    HWND frame = CreateFrame(L"JuxtaPreviewImages", ImagesProc, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 900, 560, nullptr);
    if (!frame)
        return 2;
    SetTimer(frame, CloseTimer, CloseAfterMs, nullptr);
    return RunLoop();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    Instance = instance;
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    if (const char* seconds = std::getenv("JUXTA_PREVIEW_SECONDS"))
        CloseAfterMs = static_cast<UINT>(std::atoi(seconds)) * 1000;

    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::wstring> args(argv + 1, argv + argc);
    LocalFree(argv);
    if (args.size() >= 2 && args[0] == L"dialog")
        return ShowDialog(std::stoi(args[1]));
    if (args.size() >= 2 && args[0] == L"menu") {
        std::vector<int> path;
        for (size_t i = 2; i < args.size(); ++i)
            path.push_back(std::stoi(args[i]));
        return ShowMenu(std::stoi(args[1]), path);
    }
    if (args.size() == 1 && args[0] == L"menubar")
        return ShowMenuBar();
    if (args.size() == 1 && args[0] == L"images")
        return ShowImages();
    MessageBoxW(nullptr, L"dialog <id> | menu <id> [index...] | menubar | images", L"dialog_preview", MB_OK);
    return 1;
}
