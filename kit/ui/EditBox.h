// A single-line edit box. It remembers where the caret was when the focus left (so that a button can insert a
// placeholder there), can take a dropped file or folder as its text, and drives bindings by its emptiness.
#pragma once

#include "kit/ui/Window.h"

namespace kit {

class SettingsNode;

class EditBox : public Window {
public:
    static constexpr DWORD DefaultStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;

    static boost::shared_ptr<EditBox> Create(Window* parent, const std::wstring& text, const RECT& rect,
                                             int controlId = 0);
    static boost::shared_ptr<EditBox> Attach(Window* dialog, int controlId);

    // replaces the remembered selection by text and leaves the remembered caret after it
    void InsertText(const std::wstring& text);
    // value "Text" of the section, else fallback
    void LoadText(const SettingsNode& section, const std::wstring& fallback);
    void SaveText(SettingsNode& section) const;

    // drops put a file (or, folderOnly, a folder; a dropped file then gives its folder) into the box
    void AcceptDrops(bool folderOnly);
    // kind 1 enables target while the box holds text, kind 2 while it is empty; applies at once
    void AddBinding(Window* target, int32_t kind);

    DWORD GetSelectionStart() const { return SelectionStart; }
    DWORD GetSelectionEnd() const { return SelectionEnd; }
    bool GetHasFocus() const { return HasFocus; }

    void ApplyBinding(Window* target, int32_t kind, int32_t value) override;
    LRESULT OnDropFiles(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;

protected:
    EditBox() = default;
    bool CreateEdit(Window* parent, const std::wstring& text, const RECT& rect, int controlId);

private:
    // EM_GETSEL as two 32-bit positions, so texts beyond 65535 characters stay right
    DWORD SelectionStart = 0;
    DWORD SelectionEnd = 0;
    bool AcceptsDrop = false;
    bool FolderOnly = false;
    bool HasFocus = false;
};

} // namespace kit
