// A radio button: a check box whose group unchecks the others.
#pragma once

#include "kit/ui/CheckBox.h"

namespace kit {

class RadioButton : public CheckBox {
public:
    static boost::shared_ptr<RadioButton> Attach(Window* dialog, int controlId);
    // a BS_AUTORADIOBUTTON made by code; group starts a new group (WS_GROUP)
    static boost::shared_ptr<RadioButton> Create(Window* parent, const std::wstring& text, const RECT& rect,
                                                 int controlId, bool group);
};

} // namespace kit
