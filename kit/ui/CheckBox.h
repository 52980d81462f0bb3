// A check box attached to a dialog item. Other windows can follow its state through bindings.
#pragma once

#include "kit/ui/Window.h"

namespace kit {

class SettingsNode;

class CheckBox : public Window {
public:
    static boost::shared_ptr<CheckBox> Attach(Window* dialog, int controlId);
    // a BS_AUTOCHECKBOX made by code (tests, dialogs built at run time)
    static boost::shared_ptr<CheckBox> Create(Window* parent, const std::wstring& text, const RECT& rect,
                                              int controlId);

    bool IsChecked() const;
    void SetChecked(bool checked);
    // value "Check" (4 bytes) of the section, else fallback
    void LoadCheck(const SettingsNode& section, int32_t fallback);
    void SaveCheck(SettingsNode& section) const;

    // kind 1 enables target while the check state equals value, kind 2 while it differs, kind 5 makes it top-most;
    // the box is subclassed so that it sees its BM_SETCHECK messages, and the binding applies at once
    void AddBinding(Window* target, int32_t kind, int32_t value);

    void ApplyBinding(Window* target, int32_t kind, int32_t value) override;
    LRESULT OnSetCheck(WPARAM wParam, LPARAM lParam) override;

protected:
    CheckBox() = default;
    bool CreateButton(Window* parent, const std::wstring& text, DWORD style, const RECT& rect, int controlId);
};

} // namespace kit
