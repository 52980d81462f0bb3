// A visible top-level window to put controls on in tests. It keeps the commands and notifications it receives
// (after the toolkit's reflection) and can hand them to a test's handler.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "kit/ui/Window.h"

namespace harness {

struct ReceivedMessage {
    UINT Message;     // WM_COMMAND or WM_NOTIFY
    UINT Id;          // the command or control id
    UINT Code;        // the notification code
    HWND From;        // the control, or null for a menu command
    LRESULT Result;   // what the window answered
};

class HostWindow : public kit::Window {
public:
    static const wchar_t* const ClassName;

    explicit HostWindow(int width = 480, int height = 360, const std::wstring& title = L"Juxta test");
    ~HostWindow() override;

    // called instead of the toolkit's default handling when set
    std::function<LRESULT(WPARAM, LPARAM)> CommandHandler;
    std::function<LRESULT(WPARAM, LPARAM)> NotifyHandler;

    std::vector<ReceivedMessage> Received;
    // the received commands (menu commands and control notifications) with this id
    size_t CountCommands(UINT id) const;

    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnNotify(WPARAM wParam, LPARAM lParam) override;
};

} // namespace harness
