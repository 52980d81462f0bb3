// The version dialog (resource 109, "バージョン情報"): the product name and file version from the executable's
// version resource, and a picture that opens the home page when clicked.
//
// Interface thread only; modal on the main window.
#pragma once

#include "kit/ui/ModalDialog.h"

#include <functional>
#include <string>

namespace kit {
class EditBox;
}

class VersionDialog : public kit::ModalDialog {
public:
    VersionDialog();
    ~VersionDialog() override;

    // runs the dialog centred over owner; 0 when it was closed, -1 when it could not be created
    INT_PTR Run(kit::Window& owner);

    // a value of the block "\StringFileInfo\041104b0\" of a module's version resource, empty when there is none
    static std::wstring ReadVersionString(const std::wstring& modulePath, const std::wstring& name);

    // what a click on the picture does: opens the home page (tests put something else here)
    std::function<void()> PictureClick;

    LRESULT OnInitDialog(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnLeftButtonDown(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    // the picture's rectangle contains a point of the dialog's client area
    bool OnPicture(POINT point) const;
};
