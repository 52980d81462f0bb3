#include "kit/ui/Button.h"

#include "kit/ui/ControlUtility.h"

namespace kit {

boost::shared_ptr<Button> Button::Create(Window* parent, const std::wstring& text, const RECT& rect)
{
    boost::shared_ptr<Button> button(new Button);
    if (!button->CreateControl(parent, L"BUTTON", text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0,
                               rect, CreatedId))
        return boost::shared_ptr<Button>();
    Bind(button->Handle, button.get());
    SetDefaultFont(button->Handle);
    return button;
}

boost::shared_ptr<Button> Button::Attach(Window* dialog, int controlId)
{
    boost::shared_ptr<Button> button(new Button);
    if (!button->Window::Attach(dialog, controlId))
        return boost::shared_ptr<Button>();
    return button;
}

} // namespace kit
