// A tooltip window owned by a parent window; tools are added by ToolBarButton::AddTip.
#pragma once

#include "kit/ui/Window.h"

namespace kit {

class ToolTip : public Window {
public:
    static boost::shared_ptr<ToolTip> Create(Window* parent);

    // a rectangle of window that shows text (TTF_SUBCLASS: the tooltip watches the window's mouse messages)
    bool AddTool(HWND window, UINT_PTR id, const RECT& rect, const std::wstring& text);
    int GetToolCount() const;
    // the text of the tool; empty when it does not exist
    std::wstring GetToolText(HWND window, UINT_PTR id) const;

private:
    ToolTip() = default;
};

} // namespace kit
