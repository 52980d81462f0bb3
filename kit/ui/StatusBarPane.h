// One pane (part) of a StatusBar.
#pragma once

#include <windows.h>
#include <boost/noncopyable.hpp>
#include <string>

namespace kit {

class StatusBar;

class StatusBarPane : private boost::noncopyable {
public:
    StatusBarPane(StatusBar* bar, int index) : Bar(bar), Index(index) {}

    // a leading tab centres the text, two right-align it
    void SetText(const std::wstring& text);
    std::wstring GetText() const;
    void SetWidth(int width);
    int GetWidth() const;
    // null removes the icon; the icon stays the caller's
    void SetIcon(HICON icon);
    HICON GetIcon() const;

    StatusBar* GetBar() const { return Bar; }
    int GetIndex() const { return Index; }

private:
    StatusBar* Bar; // not owned
    int Index;
};

} // namespace kit
