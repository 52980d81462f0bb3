#include "tests/harness/HostWindow.h"

#include "tests/harness/Pump.h"

namespace harness {

const wchar_t* const HostWindow::ClassName = L"JuxtaTestHost";

HostWindow::HostWindow(int width, int height, const std::wstring& title)
{
    Initialize();
    if (Create(nullptr, ClassName, title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0)) {
        SetWindowPos(Handle, nullptr, 100, 100, width, height, SWP_NOZORDER);
        ShowWindow(Handle, SW_SHOW);
        UpdateWindow(Handle);
    }
}

HostWindow::~HostWindow() {}

size_t HostWindow::CountCommands(UINT id) const
{
    size_t count = 0;
    for (const ReceivedMessage& message : Received)
        count += message.Message == WM_COMMAND && message.Id == id;
    return count;
}

LRESULT HostWindow::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CommandHandler ? CommandHandler(wParam, lParam) : Window::OnCommand(wParam, lParam);
    Received.push_back(ReceivedMessage{WM_COMMAND, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam),
                                       result});
    return result;
}

LRESULT HostWindow::OnNotify(WPARAM wParam, LPARAM lParam)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    const LRESULT result = NotifyHandler ? NotifyHandler(wParam, lParam) : Window::OnNotify(wParam, lParam);
    Received.push_back(ReceivedMessage{WM_NOTIFY, static_cast<UINT>(header->idFrom), header->code, header->hwndFrom,
                                       result});
    return result;
}

} // namespace harness
