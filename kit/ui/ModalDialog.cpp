#include "kit/ui/ModalDialog.h"

namespace kit {

INT_PTR ModalDialog::DoModal(int resourceId, Window* parent)
{
    LinkParent(parent);
    const INT_PTR result = DialogBoxParamW(GetModuleInstance(), MAKEINTRESOURCEW(resourceId),
                                           parent ? parent->Handle : nullptr, DialogProcedure,
                                           reinterpret_cast<LPARAM>(this));
    Handle = nullptr;
    OwnsHandle = false;
    return result;
}

} // namespace kit
