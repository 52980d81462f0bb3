// A push button, created by code or attached to a dialog item.
#pragma once

#include "kit/ui/Window.h"

namespace kit {

class Button : public Window {
public:
    // every button created by code carries this control id; its parent tells it apart by that id
    static constexpr int CreatedId = 12345;

    static boost::shared_ptr<Button> Create(Window* parent, const std::wstring& text, const RECT& rect);
    static boost::shared_ptr<Button> Attach(Window* dialog, int controlId);
};

} // namespace kit
