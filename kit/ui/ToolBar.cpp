#include "kit/ui/ToolBar.h"

#include "kit/ui/ControlUtility.h"
#include "kit/ui/ToolTip.h"

#include <commctrl.h>

namespace kit {

boost::shared_ptr<ToolBar> ToolBar::Create(Window* parent, DWORD style, int bitmapCount, HBITMAP bitmap,
                                           int imageWidth, int imageHeight)
{
    boost::shared_ptr<ToolBar> bar(new ToolBar);
    bar->LinkParent(parent);
    HWND handle = CreateToolbarEx(parent ? parent->Handle : 0, style | WS_CHILD | WS_CLIPSIBLINGS, 0,
                                  bitmap ? bitmapCount : 0, 0, reinterpret_cast<UINT_PTR>(bitmap), 0, 0, 0, 0,
                                  imageWidth, imageHeight, sizeof(TBBUTTON));
    if (!handle)
        return boost::shared_ptr<ToolBar>();
    Bind(handle, bar.get());
    SendMessageW(handle, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    SetDefaultFont(handle);
    bar->Tips = ToolTip::Create(bar.get());
    return bar;
}

ToolBarButton* ToolBar::AddButton(int image, int command, BYTE style, BYTE extraState)
{
    TBBUTTON button = {};
    button.iBitmap = image;
    button.idCommand = command;
    button.fsState = static_cast<BYTE>(TBSTATE_ENABLED | extraState);
    button.fsStyle = style;
    button.iString = -1;
    const int index = static_cast<int>(Buttons.size());
    if (!SendMessageW(Handle, TB_INSERTBUTTONW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button)))
        return 0;
    Buttons.push_back(boost::shared_ptr<ToolBarButton>(new ToolBarButton(this, index, command)));
    return Buttons.back().get();
}

ToolBarButton* ToolBar::FindButton(int command) const
{
    const int index = static_cast<int>(SendMessageW(Handle, TB_COMMANDTOINDEX, static_cast<WPARAM>(command), 0));
    return GetButton(index);
}

ToolBarButton* ToolBar::GetButton(int index) const
{
    if (index < 0 || index >= static_cast<int>(Buttons.size()))
        return 0;
    return Buttons[static_cast<size_t>(index)].get();
}

int ToolBar::GetIdealWidth() const
{
    SIZE size = {};
    SendMessageW(Handle, TB_GETIDEALSIZE, FALSE, reinterpret_cast<LPARAM>(&size));
    return size.cx;
}

} // namespace kit
