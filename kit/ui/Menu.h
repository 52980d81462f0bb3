// A menu and its pop-ups, mirrored in objects: command items by id, submenus by position.
#pragma once

#include "kit/ui/MenuItem.h"

#include <windows.h>
#include <boost/noncopyable.hpp>
#include <boost/shared_ptr.hpp>
#include <map>

namespace kit {

class SettingsNode;
class Window;

class Menu : private boost::noncopyable {
public:
    typedef std::map<UINT, boost::shared_ptr<MenuItem>> ItemMap;
    typedef std::map<int, boost::shared_ptr<Menu>> SubMenuMap;

    // LoadMenuW from the program's module, then the walk; empty on failure
    static boost::shared_ptr<Menu> Load(UINT resourceId);
    static boost::shared_ptr<Menu> Load(HINSTANCE module, UINT resourceId);
    // takes ownership of a menu built by code
    static boost::shared_ptr<Menu> Adopt(HMENU handle);
    ~Menu();

    // in this menu, else in each submenu depth first; null when absent
    MenuItem* FindItem(UINT command) const;
    Menu* GetSubMenu(int position) const;

    // one subsection per command item (flattened over all submenus), named by the decimal id, value "Check" 1 byte
    void SaveChecks(SettingsNode& section) const;
    void LoadChecks(const SettingsNode& section);

    // records the window whose menu bar this is, in this menu and all its submenus
    void SetOwnerWindow(Window* owner);
    Window* GetOwnerWindow() const { return OwnerWindow; }

    HMENU GetHandle() const { return Handle; }
    Menu* GetParent() const { return Parent; }
    int GetPosition() const { return Position; }
    const ItemMap& GetItems() const { return Items; }
    const SubMenuMap& GetSubMenus() const { return SubMenus; }

private:
    Menu(HMENU handle, Menu* parent, int position) : Handle(handle), Parent(parent), Position(position) {}
    void Walk();

    HMENU Handle;
    Window* OwnerWindow = 0; // not owned
    HWND OwnerHandle = 0;    // the owner's handle at SetOwnerWindow, checked before the menu is destroyed
    Menu* Parent;            // not owned
    int Position;
    ItemMap Items;
    SubMenuMap SubMenus;
};

} // namespace kit
