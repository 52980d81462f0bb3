#include "tests/harness/Pump.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "kit/ui/Window.h"

namespace harness {

namespace {

bool Quit = false;

// one pass over the queue; false when it was empty
bool PumpOnce()
{
    MSG message;
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (message.message == WM_QUIT) {
        Quit = true;
        return true;
    }
    if (!kit::OfferToDialogs(message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

} // namespace

void Initialize()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
}

void PumpPending()
{
    Initialize();
    while (PumpOnce()) {
    }
}

bool PumpUntil(const std::function<bool()>& condition, int timeoutMs)
{
    Initialize();
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs > 0 ? timeoutMs : 0);
    for (;;) {
        PumpPending();
        if (condition())
            return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return condition();
        // other threads may make the condition true without a message, so the wait is short
        const DWORD wait = static_cast<DWORD>(deadline - now < 10 ? deadline - now : 10);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
    }
}

bool QuitReceived()
{
    return Quit;
}

void ClearQuit()
{
    Quit = false;
}

} // namespace harness
