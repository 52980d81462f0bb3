#include "app/lists/FileListWindow.h"

#include "app/lists/FileListView.h"
#include "app/shell/Juxta.h"
#include "kit/ui/Image.h"
#include "kit/ui/ReberControl.h"
#include "kit/ui/StaticText.h"
#include "kit/ui/ToolBar.h"

const wchar_t* const FileListWindow::HintText = L"ファイル・フォルダをD&Dで登録できます";

FileListWindow::FileListWindow(Juxta* main, int side) : Main(main), Side(side) {}

FileListWindow::~FileListWindow() {}

boost::shared_ptr<FileListWindow> FileListWindow::Create(Juxta* main, int side, kit::Window* parent)
{
    boost::shared_ptr<FileListWindow> window(new FileListWindow(main, side));
    if (!window->kit::Window::Create(parent, Juxta::ClassName, std::wstring(), Style, WS_EX_ACCEPTFILES))
        return boost::shared_ptr<FileListWindow>();
    return window;
}

void FileListWindow::RemoveDropHint() {}
void FileListWindow::ShowSideToolBar(bool) {}
bool FileListWindow::IsSideToolBarVisible() const { return false; }
void FileListWindow::Layout() {}
void FileListWindow::CreateSideToolBar() {}
LRESULT FileListWindow::OnCreate(WPARAM, LPARAM) { return 0; }
LRESULT FileListWindow::OnSize(WPARAM wParam, LPARAM lParam) { return DefaultProc(WM_SIZE, wParam, lParam); }
LRESULT FileListWindow::OnDropFiles(WPARAM wParam, LPARAM lParam) { return DefaultProc(WM_DROPFILES, wParam, lParam); }
LRESULT FileListWindow::OnContextMenu(WPARAM wParam, LPARAM lParam) { return DefaultProc(WM_CONTEXTMENU, wParam, lParam); }
LRESULT FileListWindow::OnCommand(WPARAM wParam, LPARAM lParam) { return kit::Window::OnCommand(wParam, lParam); }
LRESULT FileListWindow::OnNotify(WPARAM wParam, LPARAM lParam) { return kit::Window::OnNotify(wParam, lParam); }
