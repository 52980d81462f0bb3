// The common colour dialog, fully open, with an added "デフォルト" button and a swatch of the default colour.
#pragma once

#include "kit/ui/Dialog.h"

namespace kit {

class Brush;
class Button;
class EditBox;
class StaticText;

class ColorDialog : public Dialog {
public:
    ColorDialog();
    ~ColorDialog() override;

    // color is the initial colour on entry and the chosen one on success; false when cancelled.
    bool Show(Window* owner, COLORREF defaultColor, COLORREF& color);

    LRESULT OnInitDialog(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCtlColorStatic(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;

    // the common dialog's hook: binds at WM_INITDIALOG from the CHOOSECOLORW's lCustData
    static UINT_PTR CALLBACK HookProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);

    // the common dialog's own controls
    static const int RedId = 706;
    static const int GreenId = 707;
    static const int BlueId = 708;
    static const int CustomId = 719;

    boost::shared_ptr<Button> Buttons[4]; // OK, Cancel, the custom-colour button, the added default button
    boost::shared_ptr<EditBox> Edits[3];  // red, green, blue
    boost::shared_ptr<StaticText> Statics[2]; // the added label and the swatch
    boost::shared_ptr<Brush> SwatchBrush;
    COLORREF DefaultColor;

private:
    void ReleaseControls();
};

} // namespace kit
