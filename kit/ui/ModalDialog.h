// A dialog run modally from a resource; the caller reads the results from the object after DoModal returns.
#pragma once

#include "kit/ui/Dialog.h"

namespace kit {

class ModalDialog : public Dialog {
public:
    // Returns the value given to EndDialog, or -1 when the dialog could not be created.
    INT_PTR DoModal(int resourceId, Window* parent);
};

} // namespace kit
