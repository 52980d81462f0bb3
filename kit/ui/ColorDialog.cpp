#include "kit/ui/ColorDialog.h"

#include <commdlg.h>

#include "kit/ui/Brush.h"
#include "kit/ui/Button.h"
#include "kit/ui/EditBox.h"
#include "kit/ui/StaticText.h"

namespace kit {

namespace {

// the custom colours picked during this run, offered again by every colour dialog
COLORREF CustomColors[16] = {};

RECT ClientRectOf(const Window* control, HWND dialog)
{
    RECT rect = {};
    if (!control || !control->Handle)
        return rect;
    GetWindowRect(control->Handle, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

} // namespace

ColorDialog::ColorDialog() : DefaultColor(0) {}

ColorDialog::~ColorDialog()
{
    ReleaseControls();
}

void ColorDialog::ReleaseControls()
{
    // the dialog has gone with its controls; the objects must not destroy handles that may be reused
    for (auto& button : Buttons) {
        if (button)
            button->OwnsHandle = false;
        button.reset();
    }
    for (auto& edit : Edits)
        edit.reset();
    for (auto& label : Statics) {
        if (label)
            label->OwnsHandle = false;
        label.reset();
    }
    SwatchBrush.reset();
}

bool ColorDialog::Show(Window* owner, COLORREF defaultColor, COLORREF& color)
{
    DefaultColor = defaultColor;
    LinkParent(owner);
    CHOOSECOLORW request = {};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner ? owner->Handle : nullptr;
    request.rgbResult = color;
    request.lpCustColors = CustomColors;
    request.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ENABLEHOOK;
    request.lCustData = reinterpret_cast<LPARAM>(this);
    request.lpfnHook = HookProcedure;
    const bool chosen = ChooseColorW(&request) != FALSE;
    ReleaseControls();
    // the window is gone, whether or not its last messages reached the hook
    Handle = nullptr;
    OwnsHandle = false;
    if (chosen)
        color = request.rgbResult;
    return chosen;
}

UINT_PTR CALLBACK ColorDialog::HookProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* object = FromHandle(handle);
    if (!object && message == WM_INITDIALOG) {
        const CHOOSECOLORW* request = reinterpret_cast<const CHOOSECOLORW*>(lParam);
        object = request ? reinterpret_cast<Window*>(request->lCustData) : nullptr;
        if (object)
            Bind(handle, object);
    }
    if (!object)
        return 0;
    return static_cast<UINT_PTR>(Dispatch(object, message, wParam, lParam));
}

LRESULT ColorDialog::OnInitDialog(WPARAM, LPARAM)
{
    Edits[0] = EditBox::Attach(this, RedId);
    Edits[1] = EditBox::Attach(this, GreenId);
    Edits[2] = EditBox::Attach(this, BlueId);
    Buttons[0] = Button::Attach(this, IDOK);
    Buttons[1] = Button::Attach(this, IDCANCEL);
    Buttons[2] = Button::Attach(this, CustomId);
    const RECT ok = ClientRectOf(Buttons[0].get(), Handle);
    const RECT cancel = ClientRectOf(Buttons[1].get(), Handle);
    const RECT custom = ClientRectOf(Buttons[2].get(), Handle);

    // the default button continues the row of OK and Cancel, with the same gap, up to the custom button's edge
    const RECT place = {cancel.left + cancel.right - ok.right, ok.top, custom.right, ok.bottom};
    Buttons[3] = Button::Create(this, L"デフォルト", place);

    // the dialog opens fully, so the custom-colour button has no use; its place takes the default colour
    if (Buttons[2]) {
        DestroyWindow(Buttons[2]->Handle);
        Buttons[2]->Handle = nullptr;
    }
    const RECT label = {ok.left, custom.top - 5, custom.right - 40, custom.bottom - 5};
    const RECT swatch = {custom.right - 30, custom.top - 5, custom.right, custom.bottom - 5};
    Statics[0] = StaticText::Create(this, L"デフォルトの色", SS_RIGHT | SS_CENTERIMAGE, label);
    Statics[1] = StaticText::Create(this, L"", SS_SUNKEN, swatch, WS_EX_STATICEDGE);
    return TRUE;
}

LRESULT ColorDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) != Button::CreatedId)
        return Window::OnCommand(wParam, lParam);
    const BYTE parts[3] = {GetRValue(DefaultColor), GetGValue(DefaultColor), GetBValue(DefaultColor)};
    for (int i = 0; i < 3; ++i) {
        if (Edits[i])
            Edits[i]->SetText(std::to_wstring(parts[i]));
    }
    return 1;
}

LRESULT ColorDialog::OnCtlColorStatic(WPARAM, LPARAM lParam)
{
    if (!Statics[1] || reinterpret_cast<HWND>(lParam) != Statics[1]->Handle)
        return 0;
    SwatchBrush = Brush::Create(DefaultColor);
    return SwatchBrush ? reinterpret_cast<LRESULT>(SwatchBrush->GetHandle()) : 0;
}

} // namespace kit
