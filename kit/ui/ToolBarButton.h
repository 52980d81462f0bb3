// One button of a ToolBar, addressed by its command id.
#pragma once

#include <windows.h>
#include <boost/noncopyable.hpp>
#include <string>

namespace kit {

class ToolBar;

class ToolBarButton : private boost::noncopyable {
public:
    ToolBarButton(ToolBar* bar, int index, int command) : Bar(bar), Index(index), Command(command) {}

    void SetChecked(bool checked);
    bool IsChecked() const;
    void SetEnabled(bool enabled);
    bool IsEnabled() const;
    // a tooltip over the button's rectangle
    bool AddTip(const std::wstring& text);

    ToolBar* GetBar() const { return Bar; }
    int GetIndex() const { return Index; }
    int GetCommand() const { return Command; }

private:
    ToolBar* Bar; // not owned
    int Index;
    int Command;
};

} // namespace kit
