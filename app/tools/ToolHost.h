// What the dialogs and the outside tools need of the main window, without the window: the owner of their dialogs,
// the settings, the rows and the lists that show them, and the few things they hand back (the row a command acts
// on, the name of the last list, the settings dialog's outcome). The main window implements it.
//
// Interface thread only, except where a method says otherwise.
#pragma once

#include "app/lists/MainHost.h"

#include <string>

class FileListView;

// The owner window (GetOwnerWindow) is also the one the shell's windows are owned by.
class ToolHost : public virtual MainHost {
public:
    // a side's list, null before creation
    virtual FileListView* GetList(int side) const = 0;
    // a hash kind's column is shown in the side lists
    virtual bool IsKindShown(int kind) const = 0;

    // the side the last list command came from, and the row it acts on there
    virtual int GetCurrentSide() const = 0;
    virtual void SetContextRow(int side, int row) = 0;
    // the name the next list output offers (the last dropped or saved name)
    virtual std::wstring GetLastName() const = 0;
    virtual void SetLastName(const std::wstring& name) = 0;

    // after the settings dialog: the rows repainted in the new colours; the columns follow the kinds switched on
    virtual void RecolourRows() = 0;
    virtual void ApplyHashKinds() = 0;

protected:
    virtual ~ToolHost() {}
};
