#include "kit/ui/ComboBox.h"

#include "kit/core/SettingsNode.h"
#include "kit/ui/ControlUtility.h"

namespace kit {

namespace {

const wchar_t TextKey[] = L"Text";
const wchar_t IndexKey[] = L"Index";

} // namespace

boost::shared_ptr<ComboBox> ComboBox::Attach(Window* dialog, int controlId)
{
    boost::shared_ptr<ComboBox> box(new ComboBox);
    if (!box->AttachAndSubclass(dialog, controlId))
        return boost::shared_ptr<ComboBox>();
    return box;
}

boost::shared_ptr<ComboBox> ComboBox::Create(Window* parent, DWORD style, const RECT& rect, int controlId)
{
    boost::shared_ptr<ComboBox> box(new ComboBox);
    if (!box->CreateControl(parent, L"COMBOBOX", std::wstring(),
                            style | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | WS_VSCROLL, 0, rect,
                            controlId))
        return boost::shared_ptr<ComboBox>();
    SetDefaultFont(box->Handle);
    box->Subclass();
    return box;
}

int ComboBox::AddString(const std::wstring& text)
{
    return static_cast<int>(SendMessageW(Handle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

int ComboBox::GetSelection() const
{
    return static_cast<int>(SendMessageW(Handle, CB_GETCURSEL, 0, 0));
}

void ComboBox::SetSelection(int index)
{
    SendMessageW(Handle, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool ComboBox::IsDropDownList() const
{
    return (GetWindowLongPtrW(Handle, GWL_STYLE) & 3) == CBS_DROPDOWNLIST;
}

void ComboBox::Load(const SettingsNode& section, int32_t fallbackIndex)
{
    if (IsDropDownList())
        SetSelection(section.GetInt(IndexKey, fallbackIndex));
    else
        SetText(section.GetString(TextKey));
}

void ComboBox::Save(SettingsNode& section) const
{
    if (IsDropDownList())
        section.SetInt(IndexKey, GetSelection());
    else
        section.SetString(TextKey, GetText());
}

LRESULT ComboBox::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (reinterpret_cast<HWND>(lParam) == Handle) {
        if (HIWORD(wParam) == CBN_SETFOCUS) {
            HasFocus = true;
        } else if (HIWORD(wParam) == CBN_KILLFOCUS) {
            if (HasFocus)
                SendMessageW(Handle, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&SelectionStart),
                             reinterpret_cast<LPARAM>(&SelectionEnd));
            HasFocus = false;
        }
    }
    return Window::OnCommand(wParam, lParam);
}

} // namespace kit
