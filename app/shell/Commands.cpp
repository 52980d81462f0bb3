// The main window's commands: what every menu item, toolbar button and side-toolbar button does, the list context
// menu with its enabling rules, and the changes of rows that the commands make (removal, clearing, stopping,
// re-checking, switching a hash kind).
#include "app/shell/Juxta.h"

#include "app/check/CheckHashManager.h"
#include "app/check/Registration.h"
#include "app/lists/CompListView.h"
#include "app/lists/FileListView.h"
#include "app/lists/FileListWindow.h"
#include "app/lists/PairMarks.h"
#include "app/lists/SizeFormat.h"
#include "app/tools/Clipboard.h"
#include "app/tools/ConfigDialog.h"
#include "app/tools/CopyDialog.h"
#include "app/tools/ExternalTools.h"
#include "app/tools/HashDialog.h"
#include "app/tools/OutputDialog.h"
#include "kit/core/Path.h"
#include "kit/ui/ChooseFolder.h"
#include "kit/ui/FileDialog.h"
#include "kit/ui/Menu.h"
#include "kit/ui/ToolBar.h"
#include "resources/resource.h"

#include <string>
#include <utility>
#include <vector>

namespace {

const wchar_t* const KindSettingKeys[HashKind::Count] = {L"Crc32", L"Md5", L"Sha1"};
const wchar_t* const KindNames[HashKind::Count] = {L"CRC32", L"MD5", L"SHA-1"};
const wchar_t* const KindAccelerators[HashKind::Count] = {L"(&C)", L"(&M)", L"(&S)"};
const UINT CopyCommands[HashKind::Count] = {ID_COPY_CRC32, ID_COPY_MD5, ID_COPY_SHA1};
const wchar_t AddFilesFilter[] = L"すべてのファイル(*.*)\0*.*\0";

bool FileExists(const std::wstring& path)
{
    if (path.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void EnableItem(HMENU menu, UINT command, bool enabled)
{
    EnableMenuItem(menu, command, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void SetItemText(HMENU menu, UINT command, const std::wstring& text)
{
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<wchar_t*>(text.c_str());
    SetMenuItemInfoW(menu, command, FALSE, &info);
}

// the position a hash kind's column has when the kinds before it are as in enabled
int KindColumnPosition(const HashKindFlags& enabled, int kind)
{
    int position = 1;
    for (int before = 0; before < kind; ++before)
        if (enabled[before])
            ++position;
    return position;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------------
// the command table

bool Juxta::RunCommand(int command, HWND from)
{
    return RunListCommand(command) || RunColumnCommand(command) || RunRowCommand(command, from) ||
           RunToolCommand(command);
}

// commands on the lists as a whole: registration, removal, clearing, selection, checking
bool Juxta::RunListCommand(int command)
{
    const int side = CurrentSide;
    switch (command) {
    case ID_ADD_FILES_LEFT:
    case ID_ADD_FILES_RIGHT:
        AddFiles(command == ID_ADD_FILES_LEFT ? 0 : 1);
        return true;
    case ID_ADD_FOLDER_LEFT:
    case ID_ADD_FOLDER_RIGHT:
        AddFolder(command == ID_ADD_FOLDER_LEFT ? 0 : 1);
        return true;
    case ID_ADD_FILES:
        AddFiles(side);
        return true;
    case ID_ADD_FOLDER:
        AddFolder(side);
        return true;
    case ID_REMOVE:
        RemoveSelected(side);
        return true;
    case ID_REMOVE_LEFT:
    case ID_REMOVE_RIGHT:
        RemoveSelected(command == ID_REMOVE_LEFT ? 0 : 1);
        return true;
    case ID_CLEAR:
        ClearLists();
        return true;
    case ID_SELECT_ALL:
    case ID_SELECT_INVERT:
    case ID_SELECT_OK:
    case ID_SELECT_NG:
    case ID_SELECT_LEFT:
    case ID_SELECT_RIGHT:
        if (MarkList) {
            const int kind = command == ID_SELECT_ALL      ? SelectKind::All
                             : command == ID_SELECT_INVERT ? SelectKind::Inverse
                             : command == ID_SELECT_OK     ? PairMark::Ok
                             : command == ID_SELECT_NG     ? PairMark::Ng
                             : command == ID_SELECT_LEFT   ? PairMark::Left
                                                           : PairMark::Right;
            MarkList->SelectByMark(side, kind);
        }
        return true;
    case ID_STOP:
        StopChecks();
        return true;
    case ID_RECHECK:
        Recheck(side);
        return true;
    default:
        return false;
    }
}

// the header menu's commands
bool Juxta::RunColumnCommand(int command)
{
    switch (command) {
    case ID_HEADER_CRC32:
    case ID_HEADER_MD5:
    case ID_HEADER_SHA1:
        SwitchHashKind(command - ID_HEADER_CRC32);
        return true;
    case ID_HEADER_AUTOSIZE:
        AutoSizeColumns();
        return true;
    case ID_HEADER_DEFAULT_WIDTH:
        SetDefaultColumnWidths();
        return true;
    default:
        return false;
    }
}

// commands on one row: the list menu's act on the row it was opened on, the side toolbars' on the first selected
// row of their side
bool Juxta::RunRowCommand(int command, HWND from)
{
    const int side = CurrentSide;
    switch (command) {
    case ID_OPEN:
        if (FileListView* list = GetList(side))
            if (ContextRow >= 0)
                OpenWithShell(*list, ContextRow, Handle);
        return true;
    case ID_OPEN_LEFT:
    case ID_OPEN_RIGHT: {
        const int target = command == ID_OPEN_LEFT ? 0 : 1;
        const int row = FirstSelectedRow(target);
        if (row >= 0)
            OpenWithShell(*GetList(target), row, Handle);
        return true;
    }
    case ID_COMPARE_TOOL: {
        // the main toolbar's button has no row of its own: the current side's selection
        const bool fromToolbar = MainToolBar && from == MainToolBar->Handle;
        const int row = fromToolbar ? FirstSelectedRow(side) : static_cast<int>(ContextRow);
        if (row >= 0)
            StartCompareTool(*this, row);
        return true;
    }
    case ID_HASH_DIALOG:
        if (ContextRow >= 0)
            ShowHashDialog(*this, side, ContextRow);
        return true;
    case ID_HASH_DIALOG_LEFT:
    case ID_HASH_DIALOG_RIGHT: {
        const int target = command == ID_HASH_DIALOG_LEFT ? 0 : 1;
        const int row = FirstSelectedRow(target);
        // as the double-click: only a row whose check has finished
        if (GetList(target) && HasFinishedCheck(*GetList(target), row)) {
            ContextRow = row;
            ShowHashDialog(*this, target, row);
        }
        return true;
    }
    case ID_COPY_CRC32:
    case ID_COPY_MD5:
    case ID_COPY_SHA1:
        CopyHashText(side, ContextRow, command - ID_COPY_CRC32);
        return true;
    case ID_COPY_CRC32_LEFT:
    case ID_COPY_MD5_LEFT:
    case ID_COPY_SHA1_LEFT:
        CopyHashText(0, FirstSelectedRow(0), command - ID_COPY_CRC32_LEFT);
        return true;
    case ID_COPY_CRC32_RIGHT:
    case ID_COPY_MD5_RIGHT:
    case ID_COPY_SHA1_RIGHT:
        CopyHashText(1, FirstSelectedRow(1), command - ID_COPY_CRC32_RIGHT);
        return true;
    default:
        return false;
    }
}

// the dialogs and the programs outside
bool Juxta::RunToolCommand(int command)
{
    switch (command) {
    case ID_OUTPUT:
        ShowOutputDialog(*this);
        return true;
    case ID_FILE_OPERATION:
        ShowCopyDialog(*this);
        return true;
    case ID_CONFIG:
        ShowConfigDialog(*this);
        return true;
    case ID_HELP_MANUAL:
        OpenManual(*this);
        return true;
    case ID_HELP_HOMEPAGE:
        OpenHomePage(*this);
        return true;
    case ID_HELP_VERSION:
        ShowVersion(*this);
        return true;
    default:
        return false;
    }
}

bool Juxta::AreListCommandsEnabled() const
{
    if (!MainMenu)
        return false;
    const UINT state = GetMenuState(MainMenu->GetHandle(), ID_CLEAR, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

bool Juxta::IsStopCommandEnabled() const
{
    if (!MainMenu)
        return false;
    const UINT state = GetMenuState(MainMenu->GetHandle(), ID_STOP, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

int Juxta::FirstSelectedRow(int side) const
{
    FileListView* list = GetList(side);
    if (!list)
        return -1;
    return list->GetFirstSelectedRow();
}

// ---------------------------------------------------------------------------------------------------------------
// registration through the dialogs

void Juxta::AddFiles(int side)
{
    FileListView* list = GetList(side);
    if (!list)
        return;
    kit::FileDialog dialog;
    std::vector<std::wstring> paths;
    const std::wstring filter(AddFilesFilter, sizeof AddFilesFilter / sizeof AddFilesFilter[0] - 1);
    if (!dialog.ShowMultiple(this, Settings.GetString(L"DefaultDirectory"), L"", filter, paths) || paths.empty())
        return;
    Settings.SetString(L"DefaultDirectory", kit::RemoveFileName(paths.front()));
    LastName = Registration::DropName(paths.front());
    Registration::RegisterBatch(*list, paths, false);
}

void Juxta::AddFolder(int side)
{
    FileListView* list = GetList(side);
    if (!list)
        return;
    std::wstring folder;
    if (!kit::ChooseFolder(this, Settings.GetString(L"DefaultDirectory"), folder) || folder.empty())
        return;
    Settings.SetString(L"DefaultDirectory", folder);
    LastName = Registration::DropName(folder);
    Registration::RegisterBatch(*list, std::vector<std::wstring>(1, folder), false);
}

// ---------------------------------------------------------------------------------------------------------------
// removal, clearing, stopping, re-checking

void Juxta::RemoveSelected(int side)
{
    // not while a check runs (nor with nothing in the lists)
    if (!AreListCommandsEnabled())
        return;
    FileListView* list = GetList(side);
    if (!list)
        return;
    std::vector<int> rows = list->GetSelectedIndexes();
    if (rows.empty())
        return;
    // a pair goes whole; the selection does not move onto the rows that take the removed ones' places
    for (int index = 0; index < 2; ++index)
        if (FileListView* each = GetList(index))
            each->SelectRows([](int) { return false; });
    Rows.RemoveRows(std::move(rows));
    SyncViews();
    RefreshPanes();
    if (Rows.RowCount() == 0)
        SetListCommandsEnabled(false);
}

void Juxta::ClearLists()
{
    if (!AreListCommandsEnabled())
        return;
    Rows.Clear();
    SyncViews();
    RefreshPanes();
    SetListCommandsEnabled(false);
}

void Juxta::StopChecks()
{
    if (!Checker || !IsStopCommandEnabled())
        return;
    // no worker writes after this
    Checker->StopChecking();
    for (int side = 0; side < 2; ++side)
        if (FileListView* list = GetList(side))
            list->SelectRows([](int) { return false; });
    Rows.Stop();
    SyncViews();
    RefreshPanes();
    SetListCommandsEnabled(Rows.RowCount() > 0);
    SetStopCommandEnabled(false);
}

void Juxta::Recheck(int side)
{
    if (side < 0 || side > 1 || !GetList(side))
        return;
    if (Checker)
        Checker->StopChecking();
    Rows.Recheck(side);
    SyncViews();
    RefreshPanes();
    if (Checker)
        Checker->StartChecking();
}

// ---------------------------------------------------------------------------------------------------------------
// hash kinds and columns

void Juxta::SwitchHashKind(int kind)
{
    if (kind < 0 || kind >= HashKind::Count)
        return;
    const bool wasChecking = Checker && Checker->IsChecking();
    if (Checker)
        Checker->StopChecking();
    const HashKindFlags before = GetEnabledKinds();
    const bool on = !before[kind];
    const int position = KindColumnPosition(before, kind);
    {
        Settings.SetBool(KindSettingKeys[kind], on);
        PublishSettings();
        for (int side = 0; side < 2; ++side) {
            FileListView* list = GetList(side);
            if (!list)
                continue;
            SetKindColumn(*list, side, kind, position, on);
        }
        ComputeColumnPositions();
        // the column's cells go with it, and a column that comes starts empty
        Rows.ClearKind(kind);
        // a value that no longer shows decides nothing
        if (!on)
            ReevaluatePairs();
    }
    if (on) {
        // every row lacks the new value: all are checked and every pair decided again
        if (MarkList)
            MarkList->ResetMarks();
        if (Checker)
            Checker->StartChecking();
    } else if (wasChecking && Checker) {
        Checker->StartChecking();
    }
    CompListView::SyncHorizontalBars(this);
}

void Juxta::SetKindColumn(FileListView& list, int side, int kind, int position, bool shown)
{
    const ColumnInfo& column = ColumnTable[static_cast<size_t>(kind) + 1];
    if (shown)
        list.InsertColumn(position, column.Header, StoredColumnWidth(side, column), column.Format);
    else
        list.DeleteColumn(position);
}

void Juxta::ApplyHashKinds()
{
    const bool wasChecking = Checker && Checker->IsChecking();
    if (Checker)
        Checker->StopChecking();
    const HashKindFlags wanted = GetEnabledKinds();
    bool added = false;
    bool removed = false;
    {
        PublishSettings();
        for (int kind = 0; kind < HashKind::Count; ++kind) {
            const bool shown = HashColumns[kind] >= 0;
            if (shown == wanted[kind])
                continue;
            // the kinds before this one are as wanted already
            const int position = KindColumnPosition(wanted, kind);
            for (int side = 0; side < 2; ++side) {
                FileListView* list = GetList(side);
                if (!list)
                    continue;
                SetKindColumn(*list, side, kind, position, wanted[kind]);
            }
            Rows.ClearKind(kind);
            (wanted[kind] ? added : removed) = true;
        }
        ComputeColumnPositions();
        if (removed && !added)
            ReevaluatePairs();
    }
    if (added) {
        if (MarkList)
            MarkList->ResetMarks();
        if (Checker)
            Checker->StartChecking();
    } else if (wasChecking && Checker) {
        Checker->StartChecking();
    }
    CompListView::SyncHorizontalBars(this);
}

void Juxta::ReevaluatePairs()
{
    Rows.ReevaluatePairs(GetEnabledKinds());
    SyncViews();
    RefreshPanes();
}

void Juxta::SetDefaultColumnWidths()
{
    // the shown columns' positions, with the rows of the column table they stand for
    std::vector<std::pair<int, const ColumnInfo*>> shown;
    shown.push_back(std::make_pair(static_cast<int>(FileNameColumn), &ColumnTable.front()));
    for (int kind = 0; kind < HashKind::Count; ++kind) {
        const ColumnInfo* info = &ColumnTable[static_cast<size_t>(kind) + 1];
        shown.push_back(std::make_pair(static_cast<int>(HashColumns[kind]), info));
    }
    shown.push_back(std::make_pair(static_cast<int>(SizeColumn), &ColumnTable.back()));
    for (int side = 0; side < 2; ++side) {
        FileListView* list = GetList(side);
        if (!list)
            continue;
        kit::ListView::Hold hold(*list);
        for (const std::pair<int, const ColumnInfo*>& column : shown)
            if (kit::ListViewColumn* target = list->GetColumn(column.first))
                target->SetWidth(column.second->Width);
    }
}

void Juxta::AutoSizeColumns()
{
    for (int side = 0; side < 2; ++side) {
        FileListView* list = GetList(side);
        if (!list)
            continue;
        kit::ListView::Hold hold(*list);
        for (int column = 0; column < list->GetColumnCount(); ++column)
            list->GetColumn(column)->SetWidth(LVSCW_AUTOSIZE_USEHEADER);
    }
}

bool Juxta::CopyHashText(int side, int row, int kind)
{
    FileListView* list = GetList(side);
    if (!list || row < 0 || row >= list->GetRowCount() || kind < 0 || kind >= HashKind::Count)
        return false;
    const std::wstring value = list->GetHashText(row, kind);
    // "読めません" is no value to paste anywhere
    if (value == HashText::Unreadable)
        return false;
    return CopyTextToClipboard(value, Handle);
}

// ---------------------------------------------------------------------------------------------------------------
// the list context menu

kit::Menu* Juxta::PrepareListMenu(int side, int row)
{
    FileListView* list = GetList(side);
    kit::Menu* popup = list && list->PopupMenus ? list->PopupMenus->GetSubMenu(POPUP_FILE_LIST) : 0;
    if (!popup)
        return 0;
    const HMENU menu = popup->GetHandle();
    const bool hasRows = Sides[side] && !Sides[side]->HasDropHint() && list->GetRowCount() > 0;
    const bool checking = Checker && Checker->IsChecking();
    for (UINT command : {ID_RECHECK, ID_SELECT_ALL, ID_SELECT_INVERT, ID_SELECT_OK, ID_SELECT_NG, ID_SELECT_LEFT,
                         ID_SELECT_RIGHT})
        EnableItem(menu, command, hasRows);
    EnableItem(menu, ID_OUTPUT, hasRows && !checking);
    EnableItem(menu, ID_FILE_OPERATION, hasRows && !checking);

    if (row >= list->GetRowCount())
        row = -1;
    ContextRow = row;
    const bool listCommands = AreListCommandsEnabled();
    FileListView::ItemInfo info;
    const bool finished = row >= 0 && list->GetItemInfo(row, info) && info.Finished;
    const std::wstring path = row >= 0 ? list->GetCellText(row, 0) : std::wstring();
    FileListView* other = GetList(1 - side);
    const std::wstring otherPath = row >= 0 && other ? other->GetCellText(row, 0) : std::wstring();
    EnableItem(menu, ID_HASH_DIALOG, row >= 0 && !path.empty() && finished);
    EnableItem(menu, ID_OPEN, row >= 0 && FileExists(path));
    EnableItem(menu, ID_COMPARE_TOOL, row >= 0 && FileExists(path) && FileExists(otherPath));
    EnableItem(menu, ID_REMOVE, row >= 0 && listCommands);
    EnableItem(menu, ID_CLEAR, listCommands);

    for (int kind = 0; kind < HashKind::Count; ++kind) {
        const std::wstring value = row >= 0 ? list->GetHashText(row, kind) : std::wstring();
        const bool shown = row >= 0 && HashColumns[kind] >= 0 && !value.empty() && value != HashText::Unreadable;
        const std::wstring text =
            shown ? std::wstring(KindNames[kind]) + L"【" + value + L"】" + KindAccelerators[kind]
                  : std::wstring(KindNames[kind]) + KindAccelerators[kind];
        SetItemText(menu, CopyCommands[kind], text);
        EnableItem(menu, CopyCommands[kind], shown);
    }
    CurrentSide = side;
    return popup;
}

void Juxta::ShowListMenu(int side, bool atCursor)
{
    FileListView* list = GetList(side);
    if (!list)
        return;
    POINT point = {};
    int row = -1;
    if (atCursor) {
        GetCursorPos(&point);
        POINT client = point;
        ScreenToClient(list->Handle, &client);
        row = list->HitTestRow(client.x, client.y, 0);
    } else {
        // the context-menu key: the first selected row, the menu at its top left
        row = FirstSelectedRow(side);
        RECT rect = {};
        if (row >= 0) {
            rect.left = LVIR_LABEL;
            SendMessageW(list->Handle, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
        }
        point.x = rect.left;
        point.y = rect.bottom;
        ClientToScreen(list->Handle, &point);
    }
    kit::Menu* popup = PrepareListMenu(side, row);
    if (!popup)
        return;
    TrackPopupMenu(popup->GetHandle(), TPM_LEFTALIGN | TPM_LEFTBUTTON, point.x, point.y, 0, Handle, 0);
}
