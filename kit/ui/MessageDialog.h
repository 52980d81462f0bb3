// A small modeless window with a one-line message, shown while the GUI thread is busy with a long job.
#pragma once

#include <string>

#include "kit/ui/Dialog.h"

namespace kit {

class StaticText;

class MessageDialog : public Dialog {
public:
    // the dialog resource: a title-less pop-up holding one centred static control
    static const int ResourceId = 107;
    static const int TextId = 1030;

    explicit MessageDialog(const std::wstring& text);
    ~MessageDialog() override;

    // Creates and shows the window over parent; it is painted before this returns. The window goes with the object.
    bool Show(Window* parent);

    LRESULT OnInitDialog(WPARAM wParam, LPARAM lParam) override;

    std::wstring Text;
    boost::shared_ptr<StaticText> Label;
};

} // namespace kit
