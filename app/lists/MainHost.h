// What every part that works for the main window needs of it, without the window: the window its dialogs and
// messages belong to, the rows, and the settings with what other threads read of them. CheckHost, ListHost and
// ToolHost each add what their part needs besides; the main window implements all of them.
#pragma once

#include "app/lists/HashText.h"

#include <windows.h>

#include <string>

class RowModel;

namespace kit {
class SettingsNode;
class Window;
} // namespace kit

class MainHost {
public:
    // the window the part's dialogs are modal on and its messages go to
    virtual kit::Window& GetOwnerWindow() = 0;
    // the rows of both sides and the marks; any thread
    virtual RowModel& GetRows() = 0;

    // the settings themselves; interface thread
    virtual kit::SettingsNode& GetSettings() = 0;
    // settings changed: other threads see the new values from now on
    virtual void PublishSettings() = 0;
    // from the published settings; any thread
    virtual COLORREF GetStateColour(int index) const = 0;
    virtual HashKindFlags GetEnabledKinds() const = 0;
    virtual bool GetSettingBool(const std::wstring& name, bool fallback) const = 0;

protected:
    virtual ~MainHost() {}
};
