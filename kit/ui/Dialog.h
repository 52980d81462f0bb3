// The base of every dialog: a window bound at WM_INITDIALOG whose unhandled messages go to the dialog manager.
#pragma once

#include <unordered_set>

#include "kit/ui/Window.h"

namespace kit {

class Dialog : public Window {
public:
    Dialog();
    ~Dialog() override;
    // FALSE for every message, so that the dialog manager does the default processing
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Creates the dialog modelessly from a resource; it stays until the object goes.
    bool CreateModeless(int resourceId, Window* parent);

    // Every dialog object alive in the process, offered each message by the message loop.
    static const std::unordered_set<Dialog*>& Registry();
};

} // namespace kit
