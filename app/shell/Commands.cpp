// The main window's commands: what every menu item, toolbar button and side-toolbar button does, the list context
// menu with its enabling rules, and the changes of rows that the commands make (removal, clearing, stopping,
// re-checking, switching a hash kind).
#include "app/shell/Commands.h"

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

const std::array<int, 19> Commands::ListCommands = {
    ID_REMOVE_LEFT, ID_REMOVE_RIGHT, ID_CLEAR, ID_COPY_CRC32_LEFT, ID_COPY_CRC32_RIGHT, ID_COPY_MD5_LEFT,
    ID_COPY_MD5_RIGHT, ID_COPY_SHA1_LEFT, ID_COPY_SHA1_RIGHT, ID_HASH_DIALOG_LEFT, ID_HASH_DIALOG_RIGHT, ID_OUTPUT,
    ID_FILE_OPERATION, ID_SELECT_ALL, ID_SELECT_INVERT, ID_RECHECK, ID_COMPARE_TOOL, ID_OPEN_LEFT, ID_OPEN_RIGHT};

// ---------------------------------------------------------------------------------------------------------------
// the command table

bool Commands::Run(int command, HWND from)
{
    return RunListCommand(command) || RunColumnCommand(command) || RunRowCommand(command, from) ||
           RunToolCommand(command);
}

// commands on the lists as a whole: registration, removal, clearing, selection, checking
bool Commands::RunListCommand(int command)
{
    const int side = Main.GetCurrentSide();
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
        if (Main.GetMarkList()) {
            const int kind = command == ID_SELECT_ALL      ? SelectKind::All
                             : command == ID_SELECT_INVERT ? SelectKind::Inverse
                             : command == ID_SELECT_OK     ? PairMark::Ok
                             : command == ID_SELECT_NG     ? PairMark::Ng
                             : command == ID_SELECT_LEFT   ? PairMark::Left
                                                           : PairMark::Right;
            Main.GetMarkList()->SelectByMark(side, kind);
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
bool Commands::RunColumnCommand(int command)
{
    switch (command) {
    case ID_HEADER_CRC32:
    case ID_HEADER_MD5:
    case ID_HEADER_SHA1:
        SwitchHashKind(command - ID_HEADER_CRC32);
        return true;
    case ID_HEADER_AUTOSIZE:
        Main.AutoSizeColumns();
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
bool Commands::RunRowCommand(int command, HWND from)
{
    const int side = Main.GetCurrentSide();
    switch (command) {
    case ID_OPEN:
        if (FileListView* list = Main.GetList(side))
            if (Main.GetContextRow() >= 0)
                OpenWithShell(*list, Main.GetContextRow(), Main.Handle);
        return true;
    case ID_OPEN_LEFT:
    case ID_OPEN_RIGHT: {
        const int target = command == ID_OPEN_LEFT ? 0 : 1;
        const int row = FirstSelectedRow(target);
        if (row >= 0)
            OpenWithShell(*Main.GetList(target), row, Main.Handle);
        return true;
    }
    case ID_COMPARE_TOOL: {
        // the main toolbar's button has no row of its own: the current side's selection
        const bool fromToolbar = Main.GetMainToolBar() && from == Main.GetMainToolBar()->Handle;
        const int row = fromToolbar ? FirstSelectedRow(side) : Main.GetContextRow();
        if (row >= 0)
            StartCompareTool(Main, row);
        return true;
    }
    case ID_HASH_DIALOG:
        if (Main.GetContextRow() >= 0)
            ShowHashDialog(Main, side, Main.GetContextRow());
        return true;
    case ID_HASH_DIALOG_LEFT:
    case ID_HASH_DIALOG_RIGHT: {
        const int target = command == ID_HASH_DIALOG_LEFT ? 0 : 1;
        const int row = FirstSelectedRow(target);
        // as the double-click: only a row whose check has finished
        if (Main.GetList(target) && HasFinishedCheck(*Main.GetList(target), row)) {
            Main.SetContextRow(side, row);
            ShowHashDialog(Main, target, row);
        }
        return true;
    }
    case ID_COPY_CRC32:
    case ID_COPY_MD5:
    case ID_COPY_SHA1:
        CopyHashText(side, Main.GetContextRow(), command - ID_COPY_CRC32);
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
bool Commands::RunToolCommand(int command)
{
    switch (command) {
    case ID_OUTPUT:
        ShowOutputDialog(Main);
        return true;
    case ID_FILE_OPERATION:
        ShowCopyDialog(Main);
        return true;
    case ID_CONFIG:
        ShowConfigDialog(Main);
        return true;
    case ID_HELP_MANUAL:
        OpenManual(Main);
        return true;
    case ID_HELP_HOMEPAGE:
        OpenHomePage(Main);
        return true;
    case ID_HELP_VERSION:
        ShowVersion(Main);
        return true;
    default:
        return false;
    }
}

bool Commands::ListCommandsAllowed() const
{
    return !StopAllowed() && Main.GetRows().RowCount() > 0;
}

bool Commands::StopAllowed() const
{
    return Main.GetChecker() && Main.GetChecker()->IsChecking();
}

void Commands::UpdateEnabling()
{
    const bool list = ListCommandsAllowed();
    const bool stop = StopAllowed();
    const HMENU menu = Main.GetMainMenu() ? Main.GetMainMenu()->GetHandle() : 0;
    const kit::ToolBar* bars[3] = {Main.GetMainToolBar(),
                                   Main.GetSideWindow(0) ? Main.GetSideWindow(0)->SideToolBar.get() : 0,
                                   Main.GetSideWindow(1) ? Main.GetSideWindow(1)->SideToolBar.get() : 0};
    for (int command : ListCommands) {
        if (menu)
            EnableItem(menu, static_cast<UINT>(command), list);
        for (const kit::ToolBar* bar : bars)
            if (bar && bar->FindButton(command))
                SendMessageW(bar->Handle, TB_ENABLEBUTTON, static_cast<WPARAM>(command), MAKELPARAM(list, 0));
    }
    if (menu)
        EnableItem(menu, ID_STOP, stop);
    if (Main.GetMainToolBar())
        SendMessageW(Main.GetMainToolBar()->Handle, TB_ENABLEBUTTON, ID_STOP, MAKELPARAM(stop, 0));
}

int Commands::FirstSelectedRow(int side) const
{
    FileListView* list = Main.GetList(side);
    if (!list)
        return -1;
    return list->GetFirstSelectedRow();
}

// ---------------------------------------------------------------------------------------------------------------
// registration through the dialogs

void Commands::AddFiles(int side)
{
    FileListView* list = Main.GetList(side);
    if (!list)
        return;
    kit::FileDialog dialog;
    std::vector<std::wstring> paths;
    const std::wstring filter(AddFilesFilter, sizeof AddFilesFilter / sizeof AddFilesFilter[0] - 1);
    if (!dialog.ShowMultiple(&Main, Main.GetSettings().GetString(L"DefaultDirectory"), L"", filter, paths) ||
        paths.empty())
        return;
    Main.GetSettings().SetString(L"DefaultDirectory", kit::RemoveFileName(paths.front()));
    Main.SetLastName(Registration::DropName(paths.front()));
    Registration::RegisterBatch(*list, paths, false);
}

void Commands::AddFolder(int side)
{
    FileListView* list = Main.GetList(side);
    if (!list)
        return;
    std::wstring folder;
    if (!kit::ChooseFolder(&Main, Main.GetSettings().GetString(L"DefaultDirectory"), folder) || folder.empty())
        return;
    Main.GetSettings().SetString(L"DefaultDirectory", folder);
    Main.SetLastName(Registration::DropName(folder));
    Registration::RegisterBatch(*list, std::vector<std::wstring>(1, folder), false);
}

// ---------------------------------------------------------------------------------------------------------------
// removal, clearing, stopping, re-checking

void Commands::RemoveSelected(int side)
{
    // not while a check runs (nor with nothing in the lists)
    if (!ListCommandsAllowed())
        return;
    FileListView* list = Main.GetList(side);
    if (!list)
        return;
    std::vector<int> rows = list->GetSelectedIndexes();
    if (rows.empty())
        return;
    // a pair goes whole; the selection does not move onto the rows that take the removed ones' places
    for (int index = 0; index < 2; ++index)
        if (FileListView* each = Main.GetList(index))
            each->SelectRows([](int) { return false; });
    Main.GetRows().RemoveRows(std::move(rows));
    Main.SyncViews();
    Main.RefreshPanes();
    UpdateEnabling();
}

void Commands::ClearLists()
{
    if (!ListCommandsAllowed())
        return;
    Main.GetRows().Clear();
    Main.SyncViews();
    Main.RefreshPanes();
    UpdateEnabling();
}

void Commands::StopChecks()
{
    if (!StopAllowed())
        return;
    // no worker writes after this
    Main.GetChecker()->StopChecking();
    for (int side = 0; side < 2; ++side)
        if (FileListView* list = Main.GetList(side))
            list->SelectRows([](int) { return false; });
    Main.GetRows().Stop();
    Main.SyncViews();
    Main.RefreshPanes();
    UpdateEnabling();
}

void Commands::Recheck(int side)
{
    if (side < 0 || side > 1 || !Main.GetList(side))
        return;
    if (Main.GetChecker())
        Main.GetChecker()->StopChecking();
    Main.GetRows().Recheck(side);
    Main.SyncViews();
    Main.RefreshPanes();
    if (Main.GetChecker())
        Main.GetChecker()->StartChecking();
}

// ---------------------------------------------------------------------------------------------------------------
// hash kinds and columns

void Commands::SwitchHashKind(int kind)
{
    if (kind < 0 || kind >= HashKind::Count)
        return;
    Main.GetSettings().SetBool(KindSettingKeys[kind], !Main.GetEnabledKinds()[kind]);
    ApplyHashKinds();
}

void Commands::ApplyHashKinds()
{
    const bool wasChecking = StopAllowed();
    if (Main.GetChecker())
        Main.GetChecker()->StopChecking();
    Main.PublishSettings();
    bool added = false;
    bool removed = false;
    ApplyKindColumns(Main.GetEnabledKinds(), added, removed);
    // a value that no longer shows decides nothing
    if (removed && !added)
        ReevaluatePairs();
    RestartAfterKinds(added, wasChecking);
    CompListView::SyncHorizontalBars(&Main);
}

void Commands::ApplyKindColumns(const HashKindFlags& wanted, bool& added, bool& removed)
{
    for (int kind = 0; kind < HashKind::Count; ++kind) {
        const bool shown = Main.GetHashColumn(kind) >= 0;
        if (shown == wanted[kind])
            continue;
        // the kinds before this one are as wanted already
        const int position = KindColumnPosition(wanted, kind);
        for (int side = 0; side < 2; ++side)
            if (FileListView* list = Main.GetList(side))
                SetKindColumn(*list, side, kind, position, wanted[kind]);
        // the column's cells go with it, and a column that comes starts empty
        Main.GetRows().ClearKind(kind);
        (wanted[kind] ? added : removed) = true;
    }
    Main.ComputeColumnPositions();
}

void Commands::SetKindColumn(FileListView& list, int side, int kind, int position, bool shown)
{
    const Juxta::ColumnInfo& column = Juxta::ColumnTable[static_cast<size_t>(kind) + 1];
    if (shown)
        list.InsertColumn(position, column.Header, Main.StoredColumnWidth(side, column), column.Format);
    else
        list.DeleteColumn(position);
}

void Commands::RestartAfterKinds(bool added, bool wasChecking)
{
    if (added) {
        // every row lacks the new value: all are checked and every pair decided again
        if (Main.GetMarkList())
            Main.GetMarkList()->ResetMarks();
        if (Main.GetChecker())
            Main.GetChecker()->StartChecking();
    } else if (wasChecking && Main.GetChecker()) {
        Main.GetChecker()->StartChecking();
    }
}

void Commands::ReevaluatePairs()
{
    Main.GetRows().ReevaluatePairs(Main.GetEnabledKinds());
    Main.SyncViews();
    Main.RefreshPanes();
}

void Commands::SetDefaultColumnWidths()
{
    // the shown columns' positions, with the rows of the column table they stand for
    std::vector<std::pair<int, const Juxta::ColumnInfo*>> shown;
    shown.push_back(std::make_pair(Main.GetFileNameColumn(), &Juxta::ColumnTable.front()));
    for (int kind = 0; kind < HashKind::Count; ++kind) {
        const Juxta::ColumnInfo* info = &Juxta::ColumnTable[static_cast<size_t>(kind) + 1];
        shown.push_back(std::make_pair(Main.GetHashColumn(kind), info));
    }
    shown.push_back(std::make_pair(Main.GetSizeColumn(), &Juxta::ColumnTable.back()));
    for (int side = 0; side < 2; ++side) {
        FileListView* list = Main.GetList(side);
        if (!list)
            continue;
        kit::ListView::Hold hold(*list);
        for (const std::pair<int, const Juxta::ColumnInfo*>& column : shown)
            if (kit::ListViewColumn* target = list->GetColumn(column.first))
                target->SetWidth(column.second->Width);
    }
}

bool Commands::CopyHashText(int side, int row, int kind)
{
    FileListView* list = Main.GetList(side);
    if (!list || row < 0 || row >= list->GetRowCount() || kind < 0 || kind >= HashKind::Count)
        return false;
    const std::wstring value = list->GetHashText(row, kind);
    // "読めません" is no value to paste anywhere
    if (value == HashText::Unreadable)
        return false;
    return CopyTextToClipboard(value, Main.Handle);
}

// ---------------------------------------------------------------------------------------------------------------
// the menus

void Commands::ShowViewMenu()
{
    kit::Menu* view = Main.GetMainMenu() ? Main.GetMainMenu()->GetSubMenu(MENU_VIEW_POSITION) : 0;
    if (!view)
        return;
    POINT cursor = {};
    GetCursorPos(&cursor);
    TrackPopupMenu(view->GetHandle(), TPM_LEFTALIGN | TPM_LEFTBUTTON, cursor.x, cursor.y, 0, Main.Handle, 0);
}

kit::Menu* Commands::PrepareListMenu(int side, int row)
{
    FileListView* list = Main.GetList(side);
    kit::Menu* popup = list && list->PopupMenus ? list->PopupMenus->GetSubMenu(POPUP_FILE_LIST) : 0;
    if (!popup)
        return 0;
    const HMENU menu = popup->GetHandle();
    const bool hasRows =
        Main.GetSideWindow(side) && !Main.GetSideWindow(side)->HasDropHint() && list->GetRowCount() > 0;
    const bool checking = Main.GetChecker() && Main.GetChecker()->IsChecking();
    for (UINT command : {ID_RECHECK, ID_SELECT_ALL, ID_SELECT_INVERT, ID_SELECT_OK, ID_SELECT_NG, ID_SELECT_LEFT,
                         ID_SELECT_RIGHT})
        EnableItem(menu, command, hasRows);
    EnableItem(menu, ID_OUTPUT, hasRows && !checking);
    EnableItem(menu, ID_FILE_OPERATION, hasRows && !checking);

    if (row >= list->GetRowCount())
        row = -1;
    Main.SetContextRow(side, row);
    const bool listCommands = ListCommandsAllowed();
    FileListView::ItemInfo info;
    const bool finished = row >= 0 && list->GetItemInfo(row, info) && info.Finished;
    const std::wstring path = row >= 0 ? list->GetCellText(row, 0) : std::wstring();
    FileListView* other = Main.GetList(1 - side);
    const std::wstring otherPath = row >= 0 && other ? other->GetCellText(row, 0) : std::wstring();
    EnableItem(menu, ID_HASH_DIALOG, row >= 0 && !path.empty() && finished);
    EnableItem(menu, ID_OPEN, row >= 0 && FileExists(path));
    EnableItem(menu, ID_COMPARE_TOOL, row >= 0 && FileExists(path) && FileExists(otherPath));
    EnableItem(menu, ID_REMOVE, row >= 0 && listCommands);
    EnableItem(menu, ID_CLEAR, listCommands);

    for (int kind = 0; kind < HashKind::Count; ++kind) {
        const std::wstring value = row >= 0 ? list->GetHashText(row, kind) : std::wstring();
        const bool shown = row >= 0 && Main.GetHashColumn(kind) >= 0 && !value.empty() && value != HashText::Unreadable;
        const std::wstring text =
            shown ? std::wstring(KindNames[kind]) + L"【" + value + L"】" + KindAccelerators[kind]
                  : std::wstring(KindNames[kind]) + KindAccelerators[kind];
        SetItemText(menu, CopyCommands[kind], text);
        EnableItem(menu, CopyCommands[kind], shown);
    }
    return popup;
}

void Commands::ShowListMenu(int side, bool atCursor)
{
    FileListView* list = Main.GetList(side);
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
    TrackPopupMenu(popup->GetHandle(), TPM_LEFTALIGN | TPM_LEFTBUTTON, point.x, point.y, 0, Main.Handle, 0);
}
