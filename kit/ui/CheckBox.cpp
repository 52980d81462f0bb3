#include "kit/ui/CheckBox.h"

#include "kit/core/SettingsNode.h"
#include "kit/ui/ControlUtility.h"

namespace kit {

namespace {

const wchar_t CheckKey[] = L"Check";

} // namespace

boost::shared_ptr<CheckBox> CheckBox::Attach(Window* dialog, int controlId)
{
    boost::shared_ptr<CheckBox> box(new CheckBox);
    if (!box->Window::Attach(dialog, controlId))
        return boost::shared_ptr<CheckBox>();
    return box;
}

boost::shared_ptr<CheckBox> CheckBox::Create(Window* parent, const std::wstring& text, const RECT& rect,
                                             int controlId)
{
    boost::shared_ptr<CheckBox> box(new CheckBox);
    if (!box->CreateButton(parent, text, BS_AUTOCHECKBOX, rect, controlId))
        return boost::shared_ptr<CheckBox>();
    return box;
}

bool CheckBox::CreateButton(Window* parent, const std::wstring& text, DWORD style, const RECT& rect, int controlId)
{
    if (!CreateControl(parent, L"BUTTON", text, style | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0, rect,
                       controlId))
        return false;
    Bind(Handle, this);
    SetDefaultFont(Handle);
    return true;
}

bool CheckBox::IsChecked() const
{
    return SendMessageW(Handle, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::SetChecked(bool checked)
{
    SendMessageW(Handle, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBox::LoadCheck(const SettingsNode& section, int32_t fallback)
{
    SendMessageW(Handle, BM_SETCHECK, static_cast<WPARAM>(section.GetInt(CheckKey, fallback)), 0);
}

void CheckBox::SaveCheck(SettingsNode& section) const
{
    section.SetInt(CheckKey, static_cast<int32_t>(SendMessageW(Handle, BM_GETCHECK, 0, 0)));
}

void CheckBox::AddBinding(Window* target, int32_t kind, int32_t value)
{
    Subclass();
    AddStateBinding(target, kind, value);
    ApplyBinding(target, kind, value);
}

void CheckBox::ApplyBinding(Window* target, int32_t kind, int32_t value)
{
    if (!target || !target->Handle)
        return;
    const bool equal = SendMessageW(Handle, BM_GETCHECK, 0, 0) == value;
    switch (kind) {
    case BindEnable:
        EnableWindow(target->Handle, equal);
        break;
    case BindDisable:
        EnableWindow(target->Handle, !equal);
        break;
    case BindTopMost:
        SetWindowPos(target->Handle, equal ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE);
        target->TopMost = equal;
        break;
    default:
        break;
    }
}

LRESULT CheckBox::OnSetCheck(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefaultProc(BM_SETCHECK, wParam, lParam);
    UpdateBindings();
    return result;
}

} // namespace kit
