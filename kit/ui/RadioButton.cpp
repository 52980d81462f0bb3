#include "kit/ui/RadioButton.h"

namespace kit {

boost::shared_ptr<RadioButton> RadioButton::Attach(Window* dialog, int controlId)
{
    boost::shared_ptr<RadioButton> button(new RadioButton);
    if (!button->Window::Attach(dialog, controlId))
        return boost::shared_ptr<RadioButton>();
    return button;
}

boost::shared_ptr<RadioButton> RadioButton::Create(Window* parent, const std::wstring& text, const RECT& rect,
                                                   int controlId, bool group)
{
    boost::shared_ptr<RadioButton> button(new RadioButton);
    if (!button->CreateButton(parent, text, BS_AUTORADIOBUTTON | (group ? WS_GROUP : 0), rect, controlId))
        return boost::shared_ptr<RadioButton>();
    return button;
}

} // namespace kit
