#include "app/tools/VersionDialog.h"

#include "app/tools/ExternalTools.h"
#include "kit/core/Path.h"
#include "resources/resource.h"

#include <vector>

VersionDialog::VersionDialog()
{
    PictureClick = [this] { ShellOpen(HomePageAddress, std::wstring(), std::wstring()); };
}

VersionDialog::~VersionDialog() = default;

INT_PTR VersionDialog::Run(kit::Window& owner)
{
    return DoModal(IDD_VERSION, &owner);
}

std::wstring VersionDialog::ReadVersionString(const std::wstring& modulePath, const std::wstring& name)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(modulePath.c_str(), &ignored);
    if (size == 0)
        return std::wstring();
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(modulePath.c_str(), 0, size, block.data()))
        return std::wstring();
    const std::wstring query = L"\\StringFileInfo\\041104b0\\" + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), query.c_str(), &value, &length) || !value || length == 0)
        return std::wstring();
    // the length counts the terminating NUL, which some resource compilers leave out
    const wchar_t* text = static_cast<const wchar_t*>(value);
    std::wstring result(text, length);
    const size_t end = result.find(L'\0');
    return end == std::wstring::npos ? result : result.substr(0, end);
}

LRESULT VersionDialog::OnInitDialog(WPARAM, LPARAM)
{
    const std::wstring module = kit::GetModulePath();
    SetDlgItemTextW(Handle, IDC_VERSION_NAME, ReadVersionString(module, L"ProductName").c_str());
    SetDlgItemTextW(Handle, IDC_VERSION_NUMBER, ReadVersionString(module, L"FileVersion").c_str());
    CenterOver(Parent);
    return TRUE;
}

bool VersionDialog::OnPicture(POINT point) const
{
    const HWND picture = GetDlgItem(Handle, IDC_VERSION_PICTURE);
    RECT rect = {};
    if (!picture || !GetWindowRect(picture, &rect))
        return false;
    MapWindowPoints(nullptr, Handle, reinterpret_cast<POINT*>(&rect), 2);
    return PtInRect(&rect, point) != FALSE;
}

LRESULT VersionDialog::OnLeftButtonDown(WPARAM wParam, LPARAM lParam)
{
    // the picture has no SS_NOTIFY, so its clicks reach the dialog
    const POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (OnPicture(point) && PictureClick) {
        PictureClick();
        return TRUE;
    }
    return DefaultProc(WM_LBUTTONDOWN, wParam, lParam);
}

LRESULT VersionDialog::OnSetCursor(WPARAM wParam, LPARAM lParam)
{
    // the hand tells that the picture is a link
    POINT point = {};
    if (LOWORD(lParam) == HTCLIENT && GetCursorPos(&point) && ScreenToClient(Handle, &point) && OnPicture(point)) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        SetWindowLongPtrW(Handle, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    return DefaultProc(WM_SETCURSOR, wParam, lParam);
}

LRESULT VersionDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    if (id == IDC_CLOSE || id == IDCANCEL) {
        EndDialog(Handle, 0);
        return TRUE;
    }
    return Window::OnCommand(wParam, lParam);
}
