// A toolbar made with CreateToolbarEx from an image strip, with a tooltip for its buttons.
#pragma once

#include "kit/ui/ToolBarButton.h"
#include "kit/ui/Window.h"

#include <vector>

namespace kit {

class ToolTip;

class ToolBar : public Window {
public:
    // style: TBSTYLE_xxx and CCS_xxx bits added to WS_CHILD | WS_CLIPSIBLINGS; bitmap: a strip of bitmapCount
    // images of imageWidth x imageHeight (stays the caller's), or null for a toolbar without images
    static boost::shared_ptr<ToolBar> Create(Window* parent, DWORD style, int bitmapCount, HBITMAP bitmap,
                                             int imageWidth, int imageHeight);

    // appends a button (style BTNS_SEP for a separator); extraState is added to TBSTATE_ENABLED (TBSTATE_WRAP)
    ToolBarButton* AddButton(int image, int command, BYTE style, BYTE extraState = 0);
    // the button with that command id, or null
    ToolBarButton* FindButton(int command) const;
    ToolBarButton* GetButton(int index) const;
    int GetButtonCount() const { return static_cast<int>(Buttons.size()); }
    ToolTip* GetTips() const { return Tips.get(); }
    // TB_GETIDEALSIZE (width) for the rebar band that holds the toolbar
    int GetIdealWidth() const;

private:
    ToolBar() = default;

    std::vector<boost::shared_ptr<ToolBarButton>> Buttons;
    // a pop-up owned by the top-level window, so it does not go with the toolbar: destroyed with this object
    boost::shared_ptr<ToolTip> Tips;
};

} // namespace kit
