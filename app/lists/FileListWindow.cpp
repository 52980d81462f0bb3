#include "app/lists/FileListWindow.h"

#include "app/lists/FileListView.h"
#include "app/shell/Commands.h"
#include "app/lists/ListHost.h"
#include "app/lists/RowModel.h"
#include "kit/ui/Image.h"
#include "kit/ui/ImageList.h"
#include "kit/ui/Menu.h"
#include "kit/ui/ReberControl.h"
#include "kit/ui/StaticText.h"
#include "kit/ui/ToolBar.h"
#include "resources/resource.h"

#include <commctrl.h>
#include <shellapi.h>

namespace {

struct SideButton {
    int Image; // -1 for a separator
    int Commands[2];
    const wchar_t* Tip;
};
const SideButton SideButtons[] = {
    {TBI_ADD_FILES, {ID_ADD_FILES_LEFT, ID_ADD_FILES_RIGHT}, L"ファイルの追加"},
    {TBI_ADD_FOLDER, {ID_ADD_FOLDER_LEFT, ID_ADD_FOLDER_RIGHT}, L"フォルダの追加"},
    {TBI_REMOVE, {ID_REMOVE_LEFT, ID_REMOVE_RIGHT}, L"リストから削除"},
    {-1, {0, 0}, 0},
    {TBI_HASH_DIALOG, {ID_HASH_DIALOG_LEFT, ID_HASH_DIALOG_RIGHT}, L"ハッシュ値を比較"},
    {TBI_OPEN, {ID_OPEN_LEFT, ID_OPEN_RIGHT}, L"ファイルを開く"},
    {-1, {0, 0}, 0},
    {TBI_COPY_CRC32, {ID_COPY_CRC32_LEFT, ID_COPY_CRC32_RIGHT}, L"CRC32をコピー"},
    {TBI_COPY_MD5, {ID_COPY_MD5_LEFT, ID_COPY_MD5_RIGHT}, L"MD5をコピー"},
    {TBI_COPY_SHA1, {ID_COPY_SHA1_LEFT, ID_COPY_SHA1_RIGHT}, L"SHA-1をコピー"},
};

// the rebar docked at the outer edge: left for the left side, right for the right side
const DWORD RebarStyles[2] = {CCS_LEFT, CCS_RIGHT};
// Every entry wraps by its own state. Not TBSTYLE_WRAPABLE: a toolbar that works its wraps out itself moves the
// wrap of a button onto the separator after it, and a vertical bar then starts the next button over that button.
const DWORD SideToolBarStyle = TBSTYLE_FLAT | CCS_VERT | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN;
const DWORD HintStyle = SS_CENTER | SS_NOPREFIX | SS_NOTIFY | SS_CENTERIMAGE;

} // namespace

const wchar_t* const FileListWindow::HintText = L"ファイル・フォルダをD&Dで登録できます";

FileListWindow::FileListWindow(ListHost* main, int side) : Main(main), Side(side) {}

FileListWindow::~FileListWindow()
{
    // the children go before this window's object
    DropHint.reset();
    SideToolBar.reset();
    Rebar.reset();
    List.reset();
}

boost::shared_ptr<FileListWindow> FileListWindow::Create(ListHost* main, int side, kit::Window* parent)
{
    boost::shared_ptr<FileListWindow> window(new FileListWindow(main, side));
    if (!window->kit::Window::Create(parent, main->GetWindowClassName(), std::wstring(), Style, WS_EX_ACCEPTFILES))
        return boost::shared_ptr<FileListWindow>();
    return window;
}

LRESULT FileListWindow::OnCreate(WPARAM, LPARAM)
{
    SHFILEINFOW info = {};
    // the system's own list: shared, never destroyed
    HIMAGELIST icons = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));

    List = FileListView::Create(Main, Side, this);
    if (List) {
        List->SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
        List->SetBehaviour(kit::ListView::ColorDrawing | kit::ListView::BlendedIcons);
        List->SetSmallImageList(icons);
        ShowWindow(List->Handle, SW_HIDE);
    }
    const RECT empty = {0, 0, 0, 0};
    DropHint = kit::StaticText::Create(this, HintText, HintStyle, empty);
    CreateSideToolBar();
    ShowWindow(Handle, SW_SHOW);
    return 0;
}

void FileListWindow::CreateSideToolBar()
{
    ToolbarImages = kit::Image::Load(kit::GetModuleInstance(), IDB_TOOLBAR, IMAGE_BITMAP, 0, 0);
    ToolbarImageList = kit::ImageList::Create(TOOLBAR_IMAGE_SIZE, TOOLBAR_IMAGE_SIZE, ILC_COLOR24 | ILC_MASK,
                                              TOOLBAR_IMAGE_COUNT, 0);
    if (ToolbarImages && ToolbarImageList)
        ToolbarImageList->AddMasked(ToolbarImages->GetBitmap(), TOOLBAR_MASK_COLOR);
    Rebar = kit::ReberControl::Create(this, RebarStyles[Side == 0 ? 0 : 1]);
    if (!Rebar)
        return;
    SideToolBar = kit::ToolBar::Create(Rebar.get(), SideToolBarStyle, 0, 0, TOOLBAR_IMAGE_SIZE, TOOLBAR_IMAGE_SIZE);
    if (!SideToolBar)
        return;
    if (ToolbarImageList)
        SendMessageW(SideToolBar->Handle, TB_SETIMAGELIST, 0,
                     reinterpret_cast<LPARAM>(ToolbarImageList->GetHandle()));
    // every entry wraps, so the bar shows one button per row
    for (const SideButton& entry : SideButtons) {
        if (entry.Image < 0) {
            SideToolBar->AddButton(0, 0, BTNS_SEP, TBSTATE_WRAP);
            continue;
        }
        if (kit::ToolBarButton* button =
                SideToolBar->AddButton(entry.Image, entry.Commands[Side == 0 ? 0 : 1], BTNS_BUTTON, TBSTATE_WRAP))
            button->AddTip(entry.Tip);
    }
    SendMessageW(SideToolBar->Handle, TB_AUTOSIZE, 0, 0);
    RECT last = {};
    SendMessageW(SideToolBar->Handle, TB_GETITEMRECT, static_cast<WPARAM>(SideToolBar->GetButtonCount() - 1),
                 reinterpret_cast<LPARAM>(&last));
    Rebar->AddBand(SideToolBar.get(), -1, 1, RBBS_NOGRIPPER, last.bottom);
    ShowWindow(Rebar->Handle, SW_SHOW);
}

void FileListWindow::RemoveDropHint()
{
    if (!DropHint)
        return;
    DropHint.reset();
    if (List) {
        ShowWindow(List->Handle, SW_SHOW);
        // the list now counts for the scroll bars the three lists share: its frame is worked out again
        SetWindowPos(List->Handle, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Layout();
}

void FileListWindow::ShowSideToolBar(bool show)
{
    if (!Rebar)
        return;
    ShowWindow(Rebar->Handle, show ? SW_SHOW : SW_HIDE);
    Layout();
}

bool FileListWindow::IsSideToolBarVisible() const
{
    return Rebar && IsWindowVisible(Rebar->Handle);
}

void FileListWindow::Layout()
{
    RECT client = {};
    GetClientRect(Handle, &client);
    SendMessageW(Handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

LRESULT FileListWindow::OnSize(WPARAM wParam, LPARAM lParam)
{
    const int width = LOWORD(lParam);
    int strip = 0;
    if (Rebar) {
        SendMessageW(Rebar->Handle, WM_SIZE, wParam, lParam);
        if (IsWindowVisible(Rebar->Handle)) {
            // the rebar sits a divider's width off the edge: the strip reaches to its far side
            RECT rect = {};
            GetWindowRect(Rebar->Handle, &rect);
            MapWindowPoints(HWND_DESKTOP, Handle, reinterpret_cast<POINT*>(&rect), 2);
            strip = Side == 0 ? rect.right : width - rect.left;
        }
    }
    const int height = HIWORD(lParam);
    const int x = Side == 0 ? strip : 0;
    const int listWidth = width > strip ? width - strip : 0;
    if (List)
        MoveWindow(List->Handle, x, 0, listWidth, height, TRUE);
    if (DropHint) {
        MoveWindow(DropHint->Handle, x, 0, listWidth, height, TRUE);
        InvalidateRect(DropHint->Handle, 0, TRUE);
    }
    return DefaultProc(WM_SIZE, wParam, lParam);
}

LRESULT FileListWindow::OnDropFiles(WPARAM wParam, LPARAM lParam)
{
    // the list registers the files and finishes the drop handle
    if (List)
        return SendMessageW(List->Handle, WM_DROPFILES, wParam, lParam);
    return DefaultProc(WM_DROPFILES, wParam, lParam);
}

LRESULT FileListWindow::OnContextMenu(WPARAM wParam, LPARAM lParam)
{
    if (DropHint && reinterpret_cast<HWND>(wParam) == DropHint->Handle) {
        Main->ShowListMenu(Side, true);
        return 0;
    }
    // the context-menu key on the list (a right click was answered by its NM_RCLICK)
    if (List && reinterpret_cast<HWND>(wParam) == List->Handle && lParam == -1) {
        Main->ShowListMenu(Side, false);
        return 0;
    }
    return DefaultProc(WM_CONTEXTMENU, wParam, lParam);
}

LRESULT FileListWindow::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // the side toolbar's buttons and the view pop-up shown here: the main window executes them
    if (lParam == 0 || (SideToolBar && reinterpret_cast<HWND>(lParam) == SideToolBar->Handle)) {
        SendMessageW(Main->GetOwnerWindow().Handle, WM_COMMAND, wParam, lParam);
        return 0;
    }
    return kit::Window::OnCommand(wParam, lParam);
}

LRESULT FileListWindow::OnNotify(WPARAM wParam, LPARAM lParam)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    // the list's own notifications go to it directly: every inserted or changed row sends some, and a reflection
    // through the subclassed window costs a round trip to the server each
    if (header && List && header->hwndFrom == List->Handle) {
        // row bookkeeping notifications (several per row placed) need no answer but 0
        if (header->code == LVN_INSERTITEM || header->code == LVN_ITEMCHANGING || header->code == LVN_ITEMCHANGED ||
            header->code == LVN_DELETEITEM)
            return 0;
        return List->OnNotify(wParam, lParam);
    }
    if (header && header->code == NM_RCLICK &&
        ((Rebar && header->hwndFrom == Rebar->Handle) || (SideToolBar && header->hwndFrom == SideToolBar->Handle))) {
        kit::Menu* view = Main->GetViewMenu();
        if (view) {
            POINT cursor = {};
            GetCursorPos(&cursor);
            TrackPopupMenu(view->GetHandle(), TPM_LEFTALIGN | TPM_LEFTBUTTON, cursor.x, cursor.y, 0, Handle, 0);
        }
    }
    return kit::Window::OnNotify(wParam, lParam);
}
