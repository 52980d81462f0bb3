#include "kit/ui/Menu.h"

#include "kit/core/SettingsNode.h"
#include "kit/ui/Window.h"

#include <string>

namespace kit {

namespace {

const wchar_t CheckKey[] = L"Check";

bool IsSeparator(HMENU menu, int position)
{
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    return GetMenuItemInfoW(menu, position, TRUE, &info) && (info.fType & MFT_SEPARATOR);
}

} // namespace

boost::shared_ptr<Menu> Menu::Load(UINT resourceId)
{
    return Load(GetModuleHandleW(0), resourceId);
}

boost::shared_ptr<Menu> Menu::Load(HINSTANCE module, UINT resourceId)
{
    return Adopt(LoadMenuW(module, MAKEINTRESOURCEW(resourceId)));
}

boost::shared_ptr<Menu> Menu::Adopt(HMENU handle)
{
    if (!handle)
        return boost::shared_ptr<Menu>();
    boost::shared_ptr<Menu> menu(new Menu(handle, 0, 0));
    menu->Walk();
    return menu;
}

Menu::~Menu()
{
    // pop-ups go with the menu that holds them; a window destroys its own menu bar with itself
    if (Parent)
        return;
    if (OwnerHandle && IsWindow(OwnerHandle) && GetMenu(OwnerHandle) == Handle)
        SetMenu(OwnerHandle, 0);
    if (IsMenu(Handle))
        DestroyMenu(Handle);
}

void Menu::Walk()
{
    int count = GetMenuItemCount(Handle);
    for (int position = 0; position < count; ++position) {
        UINT id = GetMenuItemID(Handle, position);
        if (id == static_cast<UINT>(-1)) {
            HMENU popup = ::GetSubMenu(Handle, position);
            if (!popup)
                continue;
            boost::shared_ptr<Menu> child(new Menu(popup, this, position));
            SubMenus[position] = child;
            child->Walk();
        } else if (!IsSeparator(Handle, position)) {
            Items[id].reset(new MenuItem(this, position, id));
        }
    }
}

MenuItem* Menu::FindItem(UINT command) const
{
    ItemMap::const_iterator found = Items.find(command);
    if (found != Items.end())
        return found->second.get();
    for (SubMenuMap::const_iterator sub = SubMenus.begin(); sub != SubMenus.end(); ++sub) {
        if (MenuItem* item = sub->second->FindItem(command))
            return item;
    }
    return 0;
}

Menu* Menu::GetSubMenu(int position) const
{
    SubMenuMap::const_iterator found = SubMenus.find(position);
    return found == SubMenus.end() ? 0 : found->second.get();
}

void Menu::SaveChecks(SettingsNode& section) const
{
    for (ItemMap::const_iterator item = Items.begin(); item != Items.end(); ++item)
        section.Child(std::to_wstring(item->first)).SetBool(CheckKey, item->second->IsChecked());
    for (SubMenuMap::const_iterator sub = SubMenus.begin(); sub != SubMenus.end(); ++sub)
        sub->second->SaveChecks(section);
}

void Menu::LoadChecks(const SettingsNode& section)
{
    for (ItemMap::const_iterator item = Items.begin(); item != Items.end(); ++item) {
        const SettingsNode* stored = section.FindChild(std::to_wstring(item->first));
        if (stored)
            item->second->SetChecked(stored->GetBool(CheckKey));
    }
    for (SubMenuMap::const_iterator sub = SubMenus.begin(); sub != SubMenus.end(); ++sub)
        sub->second->LoadChecks(section);
}

void Menu::SetOwnerWindow(Window* owner)
{
    OwnerWindow = owner;
    OwnerHandle = owner ? owner->Handle : 0;
    for (SubMenuMap::const_iterator sub = SubMenus.begin(); sub != SubMenus.end(); ++sub)
        sub->second->SetOwnerWindow(owner);
}

} // namespace kit
