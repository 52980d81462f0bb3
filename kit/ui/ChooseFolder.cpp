#include "kit/ui/ChooseFolder.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <vector>

#include "kit/ui/Window.h"

namespace kit {

namespace {

// the new-style dialog does not scroll its tree to the selection by itself
void ShowSelection(HWND dialog)
{
    HWND space = FindWindowExW(dialog, nullptr, L"SHBrowseForFolder ShellNameSpace Control", nullptr);
    HWND tree = space ? FindWindowExW(space, nullptr, WC_TREEVIEWW, nullptr) : nullptr;
    if (!tree)
        return;
    const LRESULT caret = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
    if (caret)
        PostMessageW(tree, TVM_ENSUREVISIBLE, 0, caret);
}

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED && data) {
        // The selection comes last, so that it is the folder wherever the expansion leaves the caret (Wine's
        // BFFM_SETEXPANDED moves it). Both take a path when wParam is TRUE.
        SendMessageW(dialog, BFFM_SETEXPANDED, TRUE, data);
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
        ShowSelection(dialog);
    } else if (message == BFFM_SELCHANGED) {
        // Windows fills the tree after BFFM_INITIALIZED: the selected item may exist only now
        ShowSelection(dialog);
    }
    return 0;
}

} // namespace

bool ChooseFolder(const Window* owner, const std::wstring& initialPath, std::wstring& folder)
{
    // the new dialog style hosts shell objects and needs COM on this thread
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    std::vector<wchar_t> name(MAX_PATH, L'\0');
    BROWSEINFOW browse = {};
    browse.hwndOwner = owner ? owner->Handle : nullptr;
    browse.pszDisplayName = name.data();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    browse.lpfn = BrowseCallback;
    browse.lParam = initialPath.empty() ? 0 : reinterpret_cast<LPARAM>(initialPath.c_str());
    LPITEMIDLIST chosen = SHBrowseForFolderW(&browse);
    bool result = false;
    if (chosen) {
        std::vector<wchar_t> path(MAX_PATH, L'\0');
        if (SHGetPathFromIDListW(chosen, path.data())) {
            folder = path.data();
            result = true;
        }
        CoTaskMemFree(chosen);
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return result;
}

} // namespace kit
