// The main window's commands: what every menu item, toolbar button and side-toolbar button does, the list context
// menu with its enabling rules, and the changes of rows that the commands make (removal, clearing, stopping,
// re-checking, switching a hash kind). Whether a command may run follows from the rows and the scheduler; the
// menus and toolbars only show it.
#pragma once

#include "app/lists/HashText.h"

#include <windows.h>
#include <array>
#include <boost/noncopyable.hpp>

class FileListView;
class Juxta;

namespace kit {
class Menu;
} // namespace kit

class Commands : private boost::noncopyable {
public:
    // the 19 commands that are off while a check runs or the lists are empty
    static const std::array<int, 19> ListCommands;

    explicit Commands(Juxta& main) : Main(main) {}

    // Runs a command of the main window's table; false when the id is none of them.
    bool Run(int command, HWND from);

    // the list commands may run: no check runs and there are rows
    bool ListCommandsAllowed() const;
    // "チェックを中止" may run: a check runs
    bool StopAllowed() const;
    // Any thread: the menu items and toolbar buttons of the list commands and of Stop enabled as the state allows.
    void UpdateEnabling();

    // the open dialog (several files) / the folder dialog, then the chosen paths registered into side
    void AddFiles(int side);
    void AddFolder(int side);
    // the selected rows of side removed, each with its whole pair; nothing while the list commands are off
    void RemoveSelected(int side);
    // every row of the three lists gone, counters at 0; nothing while the list commands are off
    void ClearLists();
    // Ends the check run: finished files stay, the unfinished side of a pair is blanked, pairs with neither side
    // finished go. Nothing when no check runs.
    void StopChecks();
    // the side's values and sizes emptied, its "○" and "×" pairs undecided again, and checked anew
    void Recheck(int side);
    // the header menu's CRC32 / MD5 / SHA-1: the kind switched on or off on both lists
    void SwitchHashKind(int kind);
    // After the settings switched hash kinds: the columns of both lists follow them (cells of the other columns
    // stay); a kind switched on resets the marks and checks every row, a kind switched off decides the finished
    // pairs again by what is left.
    void ApplyHashKinds();
    void SetDefaultColumnWidths();
    // a row's text of a hash kind to the clipboard; false without such a row or value, or when the clipboard refused
    bool CopyHashText(int side, int row, int kind);
    // The "ファイルリスト" pop-up of a side made ready for a row (-1 none): enabled items, the copy items' texts.
    kit::Menu* PrepareListMenu(int side, int row);
    // the "表示(&V)" pop-up at the cursor
    void ShowViewMenu();
    // the list context menu "ファイルリスト" of a side at the cursor (or for the first selected row, keyboard)
    void ShowListMenu(int side, bool atCursor = true);

private:
    // the groups of Run; each false when the id is not one of its own
    bool RunListCommand(int command);
    bool RunColumnCommand(int command);
    bool RunRowCommand(int command, HWND from);
    bool RunToolCommand(int command);
    // the lowest selected row of a side's list, -1 when none is selected
    int FirstSelectedRow(int side) const;
    // a hash kind's column inserted at position (with its stored width) or deleted from there
    void SetKindColumn(FileListView& list, int side, int kind, int position, bool shown);
    // the switches of the kinds in wanted applied to the columns; which kinds came and went
    void ApplyKindColumns(const HashKindFlags& wanted, bool& added, bool& removed);
    // the pairs whose both files are finished decided again by the kinds shown now
    void ReevaluatePairs();
    // after kinds came (every row checked anew) or went (a check that ran goes on)
    void RestartAfterKinds(bool added, bool wasChecking);

    Juxta& Main; // not owned
};
