// The program's entry: one instance at a time, the main window, the message loop, then an orderly teardown.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/shell/InstanceMapping.h"
#include "app/shell/Juxta.h"
#include "kit/ui/Window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    kit::SetModuleInstance(instance);
    const std::wstring mappingName = Juxta::ClassName;
    if (InstanceMapping::ActivateRunning(mappingName))
        return 0;

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    // the shell's dialogs and ShellExecuteW want COM on the GUI thread
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    {
        // the mapping outlives the main object: it is closed after the main window's teardown
        InstanceMapping mapping(mappingName);
        Juxta main;
        // the mapping is made only once the window exists, so a second start never finds an empty handle
        if (main.CreateMainWindow()) {
            mapping.Publish(main.Handle);
            kit::RunMessageLoop();
        }
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return 0;
}
