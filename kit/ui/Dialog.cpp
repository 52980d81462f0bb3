#include "kit/ui/Dialog.h"

namespace kit {

namespace {

std::unordered_set<Dialog*>& Dialogs()
{
    static std::unordered_set<Dialog*> dialogs;
    return dialogs;
}

} // namespace

Dialog::Dialog()
{
    Dialogs().insert(this);
}

Dialog::~Dialog()
{
    Dialogs().erase(this);
}

LRESULT Dialog::DefaultProc(UINT, WPARAM, LPARAM)
{
    return 0;
}

bool Dialog::CreateModeless(int resourceId, Window* parent)
{
    LinkParent(parent);
    HWND handle = CreateDialogParamW(GetModuleInstance(), MAKEINTRESOURCEW(resourceId), parent ? parent->Handle : nullptr,
                                     DialogProcedure, reinterpret_cast<LPARAM>(this));
    if (handle && !Handle)
        Bind(handle, this);
    return handle != nullptr;
}

const std::unordered_set<Dialog*>& Dialog::Registry()
{
    return Dialogs();
}

} // namespace kit
