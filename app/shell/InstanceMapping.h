// The named 4-byte mapping that holds the running instance's main window handle, so that a second start can
// bring that window to the front instead of running a second instance.
#pragma once

#include <windows.h>

#include <string>

#include <boost/noncopyable.hpp>

class InstanceMapping : private boost::noncopyable {
public:
    explicit InstanceMapping(const std::wstring& name);
    // closes the mapping; the system removes it with the last handle
    ~InstanceMapping();

    // When a mapping of that name exists, brings the window stored in it to the front (when the view maps) and
    // returns true: this process is a second instance.
    static bool ActivateRunning(const std::wstring& name);
    // The window handle stored under name, or null when there is no mapping or it cannot be read.
    static HWND ReadWindow(const std::wstring& name);

    // Creates the mapping and writes window into it; false when either step failed (the program runs on).
    bool Publish(HWND window);

private:
    std::wstring Name;
    HANDLE Handle;
};
