#include "kit/ui/EditBox.h"

#include "kit/core/SettingsNode.h"
#include "kit/ui/ControlUtility.h"
#include "kit/ui/DropFile.h"

#include <algorithm>
#include <shellapi.h>
#include <shlwapi.h>

namespace kit {

namespace {

const wchar_t TextKey[] = L"Text";

bool IsFolder(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring FolderOf(const std::wstring& path)
{
    std::wstring folder = path;
    folder.push_back(L'\0');
    PathRemoveFileSpecW(&folder[0]);
    folder.resize(wcslen(folder.c_str()));
    return folder;
}

} // namespace

boost::shared_ptr<EditBox> EditBox::Create(Window* parent, const std::wstring& text, const RECT& rect, int controlId)
{
    boost::shared_ptr<EditBox> box(new EditBox);
    if (!box->CreateEdit(parent, text, rect, controlId))
        return boost::shared_ptr<EditBox>();
    return box;
}

boost::shared_ptr<EditBox> EditBox::Attach(Window* dialog, int controlId)
{
    boost::shared_ptr<EditBox> box(new EditBox);
    if (!box->AttachAndSubclass(dialog, controlId))
        return boost::shared_ptr<EditBox>();
    return box;
}

bool EditBox::CreateEdit(Window* parent, const std::wstring& text, const RECT& rect, int controlId)
{
    if (!CreateControl(parent, L"EDIT", text, DefaultStyle, 0, rect, controlId))
        return false;
    SetDefaultFont(Handle);
    Subclass();
    return true;
}

void EditBox::InsertText(const std::wstring& text)
{
    SendMessageW(Handle, EM_SETSEL, SelectionStart, SelectionEnd);
    // the text may have shrunk since the selection was remembered: take the range the control clamped it to
    DWORD start = 0, end = 0;
    SendMessageW(Handle, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    SendMessageW(Handle, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    SelectionStart = SelectionEnd = std::min(start, end) + static_cast<DWORD>(text.size());
}

void EditBox::LoadText(const SettingsNode& section, const std::wstring& fallback)
{
    SetText(section.Values.count(TextKey) ? section.GetString(TextKey) : fallback);
}

void EditBox::SaveText(SettingsNode& section) const
{
    section.SetString(TextKey, GetText());
}

void EditBox::AcceptDrops(bool folderOnly)
{
    AcceptsDrop = true;
    FolderOnly = folderOnly;
    DragAcceptFiles(Handle, TRUE);
}

void EditBox::AddBinding(Window* target, int32_t kind)
{
    AddStateBinding(target, kind, 0);
    ApplyBinding(target, kind, 0);
}

void EditBox::ApplyBinding(Window* target, int32_t kind, int32_t)
{
    if (!target || !target->Handle)
        return;
    const bool hasText = GetWindowTextLengthW(Handle) > 0;
    if (kind == BindEnable)
        EnableWindow(target->Handle, hasText);
    else if (kind == BindDisable)
        EnableWindow(target->Handle, !hasText);
}

LRESULT EditBox::OnDropFiles(WPARAM wParam, LPARAM lParam)
{
    if (!AcceptsDrop)
        return DefaultProc(WM_DROPFILES, wParam, lParam);
    DropFile drop(reinterpret_cast<HDROP>(wParam));
    std::wstring path;
    std::wstring accepted;
    bool any = false;
    while (drop.Next(path)) {
        if (IsFolder(path)) {
            if (!FolderOnly)
                continue;
            accepted = path;
        } else {
            accepted = FolderOnly ? FolderOf(path) : path;
        }
        any = true;
    }
    if (any)
        SetText(accepted);
    return DefaultProc(WM_DROPFILES, wParam, lParam);
}

LRESULT EditBox::OnKeyDown(WPARAM wParam, LPARAM lParam)
{
    if (wParam == 'A' && IsControlKeyDown()) {
        SendMessageW(Handle, EM_SETSEL, 0, -1);
        return 0;
    }
    return DefaultProc(WM_KEYDOWN, wParam, lParam);
}

LRESULT EditBox::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (reinterpret_cast<HWND>(lParam) == Handle) {
        switch (HIWORD(wParam)) {
        case EN_SETFOCUS:
            HasFocus = true;
            break;
        case EN_KILLFOCUS:
            if (HasFocus)
                SendMessageW(Handle, EM_GETSEL, reinterpret_cast<WPARAM>(&SelectionStart),
                             reinterpret_cast<LPARAM>(&SelectionEnd));
            HasFocus = false;
            break;
        case EN_UPDATE:
            UpdateBindings();
            break;
        default:
            break;
        }
    }
    return Window::OnCommand(wParam, lParam);
}

} // namespace kit
