#include "kit/ui/MenuItem.h"

#include "kit/ui/Menu.h"

namespace kit {

UINT MenuItem::GetState() const
{
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    if (!GetMenuItemInfoW(Owner->GetHandle(), Position, TRUE, &info))
        return 0;
    return info.fState;
}

bool MenuItem::IsChecked() const
{
    return (GetState() & MFS_CHECKED) != 0;
}

void MenuItem::SetChecked(bool checked)
{
    CheckMenuItem(Owner->GetHandle(), Position, MF_BYPOSITION | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void MenuItem::SetEnabled(bool enabled)
{
    EnableMenuItem(Owner->GetHandle(), Position, MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
}

} // namespace kit
