// A combo box attached to a dialog item. A drop-down combo keeps its text in the settings, a drop-down list its
// selected index.
#pragma once

#include "kit/ui/Window.h"

namespace kit {

class SettingsNode;

class ComboBox : public Window {
public:
    static boost::shared_ptr<ComboBox> Attach(Window* dialog, int controlId);
    // style: CBS_DROPDOWN or CBS_DROPDOWNLIST (and the like)
    static boost::shared_ptr<ComboBox> Create(Window* parent, DWORD style, const RECT& rect, int controlId);

    int AddString(const std::wstring& text);
    int GetSelection() const;
    void SetSelection(int index);
    bool IsDropDownList() const;
    // "Text" for a drop-down combo; "Index" (4 bytes, fallback when absent) for a drop-down list
    void Load(const SettingsNode& section, int32_t fallbackIndex = 1);
    void Save(SettingsNode& section) const;
    // the edit part's selection when the focus last left it
    DWORD GetSelectionStart() const { return SelectionStart; }
    DWORD GetSelectionEnd() const { return SelectionEnd; }
    bool GetHasFocus() const { return HasFocus; }

    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    ComboBox() = default;

    DWORD SelectionStart = 0;
    DWORD SelectionEnd = 0;
    bool HasFocus = false;
};

} // namespace kit
