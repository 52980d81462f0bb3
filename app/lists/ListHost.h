// What the side lists, their windows, the mark column and the import need of the main window, without the window:
// the rows, the settings and the column positions, the other lists they move with, and the commands their mouse
// and keys lead to. The main window implements it.
//
// Interface thread only, except where a method says otherwise.
#pragma once

#include "app/lists/MainHost.h"

#include <string>
#include <vector>

class CheckHost;
class CompListView;
class FileListView;
class FileListWindow;

namespace kit {
class ListView;
class Menu;
} // namespace kit

// The owner window (GetOwnerWindow) is also the one the lists' menus and commands go to.
class ListHost : public virtual MainHost {
public:
    // the window class the side windows are made of (the main window's, with its icon)
    virtual const wchar_t* GetWindowClassName() const = 0;
    // the same window as the registration sees it
    virtual CheckHost& GetCheckHost() = 0;

    // the lists and windows; null before creation
    virtual FileListView* GetList(int side) const = 0;
    virtual CompListView* GetMarkList() const = 0;
    virtual FileListWindow* GetSideWindow(int side) const = 0;
    // the three lists in lock order (left, right, mark)
    virtual kit::ListView* GetLockOrderList(int index) const = 0;
    // the position of a hash kind's column and of the size column in the side lists, -1 when hidden; any thread
    virtual int GetHashColumn(int kind) const = 0;
    virtual int GetSizeColumn() const = 0;
    // the side lists' columns rebuilt from the settings
    virtual void BuildColumns() = 0;
    // the top row the three lists were last scrolled to together
    virtual int GetTopRow() const = 0;
    virtual void SetTopRow(int row) = 0;
    // the lists learn the rows that changed; the status panes show the counts
    virtual void SyncViews() = 0;
    virtual void RefreshPanes() = 0;

    // the side the last list command came from
    virtual int GetCurrentSide() const = 0;
    virtual void SetCurrentSide(int side) = 0;
    // paths dropped on a side registered; Enter or a double click on a row
    virtual void RegisterDrop(int side, const std::vector<std::wstring>& paths) = 0;
    virtual void RunRowAction(int side, int row) = 0;
    // the list context menu of a side, at the cursor or for the first selected row
    virtual void ShowListMenu(int side, bool atCursor) = 0;
    // the "表示(&V)" pop-up of the menu bar; null without a menu bar
    virtual kit::Menu* GetViewMenu() const = 0;

protected:
    virtual ~ListHost() {}
};
