// One command item of a menu, addressed by its position in the menu that holds it.
#pragma once

#include <windows.h>
#include <boost/noncopyable.hpp>

namespace kit {

class Menu;

class MenuItem : private boost::noncopyable {
public:
    MenuItem(Menu* owner, int position, UINT command) : Owner(owner), Position(position), Command(command) {}

    bool IsChecked() const;
    // the whole MENUITEMINFO fState
    UINT GetState() const;
    void SetChecked(bool checked);
    void SetEnabled(bool enabled);

    Menu* GetOwner() const { return Owner; }
    int GetPosition() const { return Position; }
    UINT GetCommand() const { return Command; }

private:
    Menu* Owner; // not owned
    int Position;
    UINT Command;
};

} // namespace kit
