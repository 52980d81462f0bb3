#include "kit/ui/ModalDialog.h"

namespace kit {

INT_PTR ModalDialog::DoModal(int resourceId, Window* parent)
{
    LinkParent(parent);
    return DialogBoxParamW(GetModuleInstance(), MAKEINTRESOURCEW(resourceId), parent ? parent->Handle : nullptr,
                           DialogProcedure, reinterpret_cast<LPARAM>(this));
}

} // namespace kit
