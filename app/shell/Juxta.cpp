#include "app/shell/Juxta.h"

#include "app/check/CheckHashManager.h"
#include "app/lists/CompListView.h"
#include "app/lists/FileListView.h"
#include "app/lists/FileListWindow.h"
#include "app/lists/PairMarks.h"
#include "app/lists/SizeFormat.h"
#include "app/shell/Commands.h"
#include "app/tools/ExternalTools.h"
#include "kit/core/Path.h"
#include "kit/ui/Brush.h"
#include "kit/ui/Image.h"
#include "kit/ui/ImageList.h"
#include "kit/ui/Menu.h"
#include "kit/ui/MenuItem.h"
#include "kit/ui/ReberControl.h"
#include "kit/ui/StatusBar.h"
#include "kit/ui/ToolBar.h"
#include "resources/resource.h"

#include <algorithm>
#include <shellapi.h>

namespace {

// messages the GUI thread handles for other threads (OnUser): the timer belongs to the window's thread
const WPARAM UserStartAnimation = 1;
const WPARAM UserStopAnimation = 2;
const WPARAM UserFollowRow = 3;
const WPARAM UserRefreshPanes = 4;
const WPARAM UserFlushViews = 5;

const wchar_t* const ColourKeys[7] = {L"Wait", L"Check", L"Ok", L"Ng", L"Left", L"Right", L"UnderLine"};
const COLORREF ColourDefaults[7] = {0xC0C0C0, 0x00FF00, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0x00FFFF, 0x000000};
const wchar_t* const KindKeys[HashKind::Count] = {L"Crc32", L"Md5", L"Sha1"};
const wchar_t* const SideKeys[2] = {L"Left", L"Right"};

const int MinimumColumnWidth = 50;

const UINT ViewCommands[4] = {ID_VIEW_TOOLBAR, ID_VIEW_SIDE_TOOLBAR, ID_VIEW_STATUSBAR, ID_VIEW_TOPMOST};

struct ButtonSpec {
    int Command; // 0 for a separator
    int Image;
    bool Check;
    const wchar_t* Tip;
};
const ButtonSpec MainButtons[] = {
    {ID_CLEAR, TBI_CLEAR, false, L"リストから全て削除"},
    {ID_STOP, TBI_STOP, false, L"チェックを停止"},
    {ID_RECHECK, TBI_RECHECK, false, L"ハッシュを再チェック"},
    {0, 0, false, 0},
    {ID_COMPARE_TOOL, TBI_COMPARE_TOOL, false, L"比較ツールを起動"},
    {ID_OUTPUT, TBI_OUTPUT, false, L"ファイルリストを出力"},
    {ID_FILE_OPERATION, TBI_FILE_OPERATION, false, L"ファイルのコピー・移動・削除"},
    {0, 0, false, 0},
    {ID_VIEW_TOOLBAR, TBI_VIEW_TOOLBAR, true, L"ツールバーの表示"},
    {ID_VIEW_SIDE_TOOLBAR, TBI_VIEW_SIDE_TOOLBAR, true, L"サイドツールバーの表示"},
    {ID_VIEW_STATUSBAR, TBI_VIEW_STATUSBAR, true, L"ステータスバーの表示"},
    {ID_VIEW_TOPMOST, TBI_VIEW_TOPMOST, true, L"常に最前面表示"},
    {0, 0, false, 0},
    {ID_CONFIG, TBI_CONFIG, false, L"設定"},
    {ID_HELP_MANUAL, TBI_MANUAL, false, L"オンラインマニュアル"},
};

} // namespace

const wchar_t* const Juxta::ClassName = L"Orvane - Juxta";
const wchar_t* const Juxta::Title = L"Juxta";

const std::array<Juxta::ColumnInfo, 5> Juxta::ColumnTable = {{
    {L"FileName", L"ファイル名", 160, LVCFMT_LEFT, -1},
    {L"Crc32", L"CRC32", 80, LVCFMT_LEFT, HashKind::Crc32},
    {L"Md5", L"MD5", 240, LVCFMT_LEFT, HashKind::Md5},
    {L"Sha1", L"SHA-1", 290, LVCFMT_LEFT, HashKind::Sha1},
    {L"FileSize", L"サイズ", 100, LVCFMT_RIGHT, -1},
}};

Juxta::Juxta(const std::wstring& settingsPath) : SettingsPath(settingsPath), MainCommands(new Commands(*this))
{
    for (std::atomic<int32_t>& column : HashColumns)
        column = -1;
}

// children go in the reverse order of their creation
Juxta::~Juxta()
{
    Checker.reset();
    MainMenu.reset();
    MainToolBar.reset();
    Rebar.reset();
    StatusBar.reset();
    MarkList.reset();
    Sides[1].reset();
    Sides[0].reset();
}

bool Juxta::CreateMainWindow()
{
    HICON icon = LoadIconW(kit::GetModuleInstance(), MAKEINTRESOURCEW(IDI_MAIN));
    if (!RegisterWindowClass(ClassName, icon))
        return false;
    return Create(nullptr, ClassName, Title, Style, 0);
}

// ---------------------------------------------------------------------------------------------------------------
// settings

void Juxta::PutDefaults(kit::SettingsNode& settings)
{
    settings.SetBool(L"Crc32", true);
    settings.SetBool(L"SubDirectory", true);
    settings.SetBool(L"AutoScroll", true);
    settings.SetBool(L"UnderLine", true);
    settings.SetBool(L"CompareHash", true);
    kit::SettingsNode& colours = settings.Child(L"Color");
    for (int index = 0; index < 7; ++index)
        colours.SetInt(ColourKeys[index], static_cast<int32_t>(ColourDefaults[index]));
    kit::SettingsNode& tools = settings.Child(L"Tool");
    tools.Child(L"0").SetString(L"Extension", L"txt;html");
    tools.Child(L"1").SetString(L"Extension", L"*");
    settings.SetInt(L"CheckNum", 8);
}

std::wstring Juxta::DefaultSettingsPath()
{
    return kit::RenameExtension(kit::GetModulePath(), L".dat");
}

void Juxta::LoadSettings()
{
    PutDefaults(Settings);
    // a file of another version is left alone here and overwritten at exit
    if (kit::SettingsNode::ReadVersion(SettingsPath) == kit::SettingsNode::FileVersion)
        Settings.Load(SettingsPath);
    PublishSettings();
}

void Juxta::PublishSettings()
{
    SettingsView.Publish(Settings);
}

COLORREF Juxta::GetStateColour(int index) const
{
    if (index < 0 || index >= 7)
        return 0;
    const COLORREF fallback = ColourDefaults[index];
    if (IsGuiThread()) {
        const kit::SettingsNode* colours = Settings.FindChild(L"Color");
        return colours ? static_cast<COLORREF>(colours->GetInt(ColourKeys[index], static_cast<int32_t>(fallback)))
                       : fallback;
    }
    const boost::shared_ptr<const kit::SettingsNode> settings = SettingsView.Get();
    const kit::SettingsNode* colours = settings->FindChild(L"Color");
    return colours ? static_cast<COLORREF>(colours->GetInt(ColourKeys[index], static_cast<int32_t>(fallback)))
                   : fallback;
}

bool Juxta::GetSettingBool(const std::wstring& name, bool fallback) const
{
    if (IsGuiThread())
        return Settings.GetBool(name, fallback);
    return SettingsView.Get()->GetBool(name, fallback);
}

HashKindFlags Juxta::GetEnabledKinds() const
{
    HashKindFlags flags = {{false, false, false}};
    for (int kind = 0; kind < HashKind::Count; ++kind)
        flags[kind] = GetSettingBool(KindKeys[kind], false);
    return flags;
}

// ---------------------------------------------------------------------------------------------------------------
// lists and columns

FileListView* Juxta::GetList(int side) const
{
    if (side < 0 || side > 1 || !Sides[side])
        return 0;
    return Sides[side]->List.get();
}

kit::ListView* Juxta::GetLockOrderList(int index) const
{
    if (index < 2)
        return GetList(index);
    return MarkList.get();
}

void Juxta::ComputeColumnPositions()
{
    const HashKindFlags enabled = GetEnabledKinds();
    int position = 1;
    FileNameColumn = 0;
    for (int kind = 0; kind < HashKind::Count; ++kind)
        HashColumns[kind] = enabled[kind] ? position++ : -1;
    SizeColumn = position;
}

void Juxta::BuildColumns()
{
    FileNameColumn = -1;
    for (std::atomic<int32_t>& column : HashColumns)
        column = -1;
    SizeColumn = -1;
    const HashKindFlags enabled = GetEnabledKinds();
    for (int side = 0; side < 2; ++side) {
        FileListView* list = GetList(side);
        if (!list)
            continue;
        kit::ListView::Hold hold(*list);
        list->DeleteAllColumns();
        for (const ColumnInfo& column : ColumnTable) {
            if (column.Kind >= 0 && !enabled[column.Kind])
                continue;
            list->AddColumn(column.Header, StoredColumnWidth(side, column), column.Format);
        }
    }
    ComputeColumnPositions();
    if (MarkList)
        MarkList->BuildColumn();
    PublishSettings();
}

int Juxta::StoredColumnWidth(int side, const ColumnInfo& column) const
{
    const kit::SettingsNode* sideNode = Settings.FindChild(SideKeys[side]);
    const kit::SettingsNode* node = sideNode ? sideNode->FindChild(column.Key) : 0;
    const int width = node ? node->GetInt(L"Width", column.Width) : column.Width;
    return width < MinimumColumnWidth ? MinimumColumnWidth : width;
}

void Juxta::SaveColumnWidths()
{
    for (int side = 0; side < 2; ++side) {
        FileListView* list = GetList(side);
        if (!list || list->GetColumnCount() == 0)
            continue;
        kit::SettingsNode& node = Settings.Child(SideKeys[side]);
        const int count = list->GetColumnCount();
        node.Child(L"FileName").SetInt(L"Width", list->GetColumn(0)->GetWidth());
        for (int kind = 0; kind < HashKind::Count; ++kind) {
            const int column = HashColumns[kind];
            if (column > 0 && column < count)
                node.Child(KindKeys[kind]).SetInt(L"Width", list->GetColumn(column)->GetWidth());
        }
        node.Child(L"FileSize").SetInt(L"Width", list->GetColumn(count - 1)->GetWidth());
    }
}

void Juxta::AcquireMain()
{
    if (MainLock.TryLock())
        return;
    if (!IsGuiThread()) {
        MainLock.Lock();
        return;
    }
    // the holder may be waiting inside SendMessageW for this thread
    InterfaceWantsMain = true;
    kit::ServeSentMessagesUntil([this] { return MainLock.TryLock(); });
    InterfaceWantsMain = false;
}

void Juxta::YieldMainToInterface()
{
    if (IsGuiThread())
        return;
    // the interface thread looks for the lock every millisecond; the wait is bounded all the same
    for (int waited = 0; waited < 100 && InterfaceWantsMain.load(); ++waited)
        Sleep(1);
}

bool Juxta::IsGuiThread() const
{
    return GuiThread != 0 && GetCurrentThreadId() == GuiThread;
}

// ---------------------------------------------------------------------------------------------------------------
// status bar and the checking appearance

std::wstring Juxta::PaneText(int pane) const
{
    if (pane == 0 || pane == PaneCount - 1) {
        const int side = pane == 0 ? 0 : 1;
        const int32_t files = Rows.FileCount(side);
        const uint64_t bytes = Rows.TotalSize(side);
        const std::wstring text = std::to_wstring(files) + L" ファイル  " + SizeFormat::Format(bytes) + L" Byte ";
        return (pane == 0 ? L"\t\t" : L" ") + text;
    }
    if (pane > 0 && pane < PaneCount - 1) {
        const int mark = pane - 1;
        return std::wstring(L"\t") + CompListView::MarkTexts[mark] + L":" + std::to_wstring(Rows.MarkCount(mark));
    }
    return std::wstring();
}

void Juxta::RefreshPane(int pane)
{
    if (!StatusBar)
        return;
    if (kit::StatusBarPane* target = StatusBar->GetPane(pane))
        target->SetText(PaneText(pane));
    // a side text that outgrows its pane, or no longer needs the room the mark panes gave up, lays them out again
    if ((pane == 0 || pane == PaneCount - 1) && StatusWidth > 0) {
        const int need = SidePaneNeed();
        if (need > StatusBar->GetPaneWidth(pane) ||
            (need < LaidOutPaneNeed && StatusBar->GetPaneWidth(1) < MarkPaneWidth))
            LayoutStatusPanes(StatusWidth);
    }
}

void Juxta::RefreshPanes()
{
    for (int pane = 0; pane < PaneCount; ++pane)
        RefreshPane(pane);
}

void Juxta::RequestPaneRefresh(unsigned panes)
{
    if (!panes || !Handle)
        return;
    if (IsGuiThread()) {
        PendingPanes |= panes;
        RefreshPendingPanes();
        return;
    }
    // one message carries every request made until the GUI thread handles it; while a check runs the view timer
    // takes them, so that a tree of small files does not repaint the status bar for every round of the scheduler
    if (PendingPanes.fetch_or(panes) == 0 && !Animating)
        PostMessageW(Handle, WM_USER, UserRefreshPanes, 0);
}

void Juxta::SyncViews()
{
    if (!IsGuiThread())
        return;
    const RowModel::Changes changes = Rows.TakeChanges();
    if (!changes.Any())
        return;
    const int count = Rows.RowCount();
    // in the order of the model's views: the left side, the right side, the marks
    kit::ListView* lists[3] = {GetList(0), GetList(1), MarkList.get()};
    static_assert(RowModel::MarkView == 2, "the mark list is the model's third view");
    for (int view = 0; view < 3; ++view) {
        kit::ListView* list = lists[view];
        if (!list || !list->Handle)
            continue;
        if (changes.RowCountChanged || list->GetItemCount() != count) {
            // rows came or went: what is in view may have moved
            list->SetRowCount(count);
            InvalidateRect(list->Handle, 0, TRUE);
        } else if (changes.Views[view].Any()) {
            list->RedrawRows(changes.Views[view].First, changes.Views[view].Last);
        }
    }
}

void Juxta::FlushViews()
{
    if (!Handle)
        return;
    if (IsGuiThread()) {
        SyncViews();
        RefreshPendingPanes();
    } else {
        SendMessageW(Handle, WM_USER, UserFlushViews, 0);
    }
}

void Juxta::RefreshPendingPanes()
{
    const unsigned panes = PendingPanes.exchange(0);
    for (int pane = 0; pane < PaneCount; ++pane)
        if (panes & (1u << pane))
            RefreshPane(pane);
}

void Juxta::FollowRow(int row)
{
    if (row < 0 || !Handle)
        return;
    int32_t known = FollowTarget;
    while (row > known && !FollowTarget.compare_exchange_weak(known, row)) {
    }
    if (!FollowPosted.exchange(true))
        PostMessageW(Handle, WM_USER, UserFollowRow, 0);
}

void Juxta::FollowPendingRow()
{
    const ULONGLONG now = GetTickCount64();
    if (LastFollow && now - LastFollow < FollowInterval) {
        // The request stays pending and the timer takes it up. Meanwhile the flag stays set, so that the workers post
        // nothing more: a tree of small files would otherwise post a message, and set the timer again, per file.
        SetTimer(Handle, FollowTimer, static_cast<UINT>(FollowInterval - (now - LastFollow)), 0);
        return;
    }
    KillTimer(Handle, FollowTimer);
    // cleared before the target is taken: a row asked for after this posts again
    FollowPosted = false;
    const int row = FollowTarget.exchange(-1);
    if (row < 0)
        return;
    LastFollow = now;
    ScrollRowIntoView(row);
}

void Juxta::ScrollRowIntoView(int row)
{
    FileListView* list = GetList(0);
    if (list && row >= list->GetRowCount())
        list = GetList(1);
    if (!list)
        return;
    kit::ListView::Hold hold(*list);
    if (row >= list->GetItemCount())
        return;
    const int top = static_cast<int>(list->SendToControl(LVM_GETTOPINDEX, 0, 0));
    const int page = static_cast<int>(list->SendToControl(LVM_GETCOUNTPERPAGE, 0, 0));
    if (page > 0 && row >= top && row < top + page)
        return;
    // Rows start in order. A row below the view is brought to its middle, so that the rows started after it are
    // in view already: every scroll repaints all three lists, a few milliseconds under Wine.
    int target = row;
    if (page > 0 && row >= top + page)
        target = std::min(row + page / 2, list->GetItemCount() - 1);
    list->SendToControl(LVM_ENSUREVISIBLE, static_cast<WPARAM>(target), FALSE);
}

void Juxta::StartBusyAnimation()
{
    if (!Handle)
        return;
    if (!IsGuiThread()) {
        SendMessageW(Handle, WM_USER, UserStartAnimation, 0);
        return;
    }
    if (StatusBar && BusyIcons[0])
        StatusBar->GetPane(0)->SetIcon(BusyIcons[0]->GetIcon());
    BusyFrame = 0;
    SetTimer(Handle, BusyTimer, BusyInterval, 0);
    // the cells the workers write are shown by this timer while the check runs
    SetTimer(Handle, ViewTimer, ViewInterval, 0);
    Animating = true;
}

HICON Juxta::GetBusyIcon(int frame) const
{
    if (frame < 0 || frame >= static_cast<int>(BusyIcons.size()) || !BusyIcons[static_cast<size_t>(frame)])
        return 0;
    return BusyIcons[static_cast<size_t>(frame)]->GetIcon();
}

void Juxta::StopBusyAnimation()
{
    if (!Handle)
        return;
    if (!IsGuiThread()) {
        SendMessageW(Handle, WM_USER, UserStopAnimation, 0);
        return;
    }
    KillTimer(Handle, BusyTimer);
    KillTimer(Handle, ViewTimer);
    Animating = false;
    SyncViews();
    RefreshPendingPanes();
    if (StatusBar)
        StatusBar->GetPane(0)->SetIcon(0);
}

void Juxta::SetCheckingAppearance(bool checking)
{
    if (checking)
        StartBusyAnimation();
    else
        StopBusyAnimation();
    MainCommands->UpdateEnabling();
}

// ---------------------------------------------------------------------------------------------------------------
// rows and menus

void Juxta::RegisterDrop(int side, const std::vector<std::wstring>& paths)
{
    if (FileListView* list = GetList(side))
        RegisterDroppedPaths(*list, paths);
}

void Juxta::RunRowAction(int side, int row)
{
    FileListView* list = GetList(side);
    if (list && row >= 0 && row < list->GetRowCount())
        RunDoubleClickAction(*this, *list, row);
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


bool Juxta::IsKindShown(int kind) const
{
    return kind >= 0 && kind < HashKind::Count && HashColumns[kind] >= 0;
}

void Juxta::SetContextRow(int side, int row)
{
    CurrentSide = side;
    ContextRow = row;
}

void Juxta::RecolourRows()
{
    if (MarkList)
        MarkList->Recolour();
}

void Juxta::ApplyHashKinds()
{
    MainCommands->ApplyHashKinds();
}

// ---------------------------------------------------------------------------------------------------------------
// creation

LRESULT Juxta::OnCreate(WPARAM, LPARAM)
{
    GuiThread = GetCurrentThreadId();
    BusyFrame = 0;
    HINSTANCE module = kit::GetModuleInstance();
    SendMessageW(Handle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(LoadIconW(module, MAKEINTRESOURCEW(IDI_MAIN))));
    BackgroundBrush = kit::Brush::Wrap(GetSysColorBrush(COLOR_BTNFACE));
    SetClassLongPtrW(Handle, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(BackgroundBrush->GetHandle()));
    InvalidateRect(Handle, 0, TRUE);
    const UINT busy[4] = {IDI_BUSY1, IDI_BUSY2, IDI_BUSY3, IDI_BUSY2};
    for (int frame = 0; frame < 4; ++frame)
        BusyIcons[frame] = kit::Image::Load(module, busy[frame], IMAGE_ICON, 16, 16);

    CreateChildren();
    CreateStatusBar();
    Checker = CheckHashManager::Create(this);
    LoadSettings();
    CreateBars();
    MainCommands->UpdateEnabling();
    RestoreViewChecks();
    BindViewToggles();
    BuildColumns();
    RestorePlacement();
    return 0;
}

void Juxta::CreateChildren()
{
    for (int side = 0; side < 2; ++side)
        Sides[side] = FileListWindow::Create(this, side, this);
    MarkList = CompListView::Create(this, this, IDC_MARK_LIST);
    if (MarkList) {
        SHFILEINFOW info = {};
        // the system's list, shared and never destroyed: the rows are as tall as the side lists' rows
        HIMAGELIST images = reinterpret_cast<HIMAGELIST>(
            SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
        MarkList->SetSmallImageList(images);
    }
}

void Juxta::CreateStatusBar()
{
    StatusBar = kit::StatusBar::Create(this);
    if (!StatusBar)
        return;
    for (int pane = 0; pane < PaneCount; ++pane)
        StatusBar->AddPane(pane == 0 || pane == PaneCount - 1 ? 0 : MarkPaneWidth);
    RefreshPanes();
}

void Juxta::CreateBars()
{
    HINSTANCE module = kit::GetModuleInstance();
    Rebar = kit::ReberControl::Create(this, CCS_NODIVIDER | RBS_VARHEIGHT);
    ToolBarImage = kit::Image::Load(module, IDB_TOOLBAR, IMAGE_BITMAP, 0, 0);
    ToolBarImages = kit::ImageList::Create(TOOLBAR_IMAGE_SIZE, TOOLBAR_IMAGE_SIZE, ILC_COLOR24 | ILC_MASK,
                                           TOOLBAR_IMAGE_COUNT, 0);
    if (ToolBarImage && ToolBarImages)
        ToolBarImages->AddMasked(ToolBarImage->GetBitmap(), TOOLBAR_MASK_COLOR);
    if (Rebar)
        MainToolBar = kit::ToolBar::Create(Rebar.get(),
                                           TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE |
                                               CCS_NOPARENTALIGN,
                                           0, 0, TOOLBAR_IMAGE_SIZE, TOOLBAR_IMAGE_SIZE);
    MainMenu = kit::Menu::Load(IDR_MENU);
    if (MainMenu)
        SetMenu(MainMenu);
    for (UINT command : {ID_VIEW_TOOLBAR, ID_VIEW_SIDE_TOOLBAR, ID_VIEW_STATUSBAR})
        if (kit::MenuItem* item = MainMenu ? MainMenu->FindItem(command) : 0)
            item->SetChecked(true);
    AddMainToolBarButtons();
}

void Juxta::AddMainToolBarButtons()
{
    if (!MainToolBar)
        return;
    if (ToolBarImages)
        SendMessageW(MainToolBar->Handle, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(ToolBarImages->GetHandle()));
    for (const ButtonSpec& entry : MainButtons) {
        if (!entry.Command) {
            MainToolBar->AddButton(0, 0, BTNS_SEP);
            continue;
        }
        if (kit::ToolBarButton* button =
                MainToolBar->AddButton(entry.Image, entry.Command, entry.Check ? BTNS_CHECK : BTNS_BUTTON))
            button->AddTip(entry.Tip);
    }
    SendMessageW(MainToolBar->Handle, TB_AUTOSIZE, 0, 0);
    Rebar->AddBand(MainToolBar.get(), -1, 1, RBBS_GRIPPERALWAYS, MainToolBar->GetIdealWidth());
}

void Juxta::RestoreViewChecks()
{
    if (!MainMenu)
        return;
    for (UINT command : ViewCommands) {
        const kit::SettingsNode* node = Settings.FindChild(std::to_wstring(command));
        kit::MenuItem* item = MainMenu->FindItem(command);
        // a node without a 1-byte "Check" unchecks the item
        if (node && item)
            item->SetChecked(node->GetBool(L"Check", false));
    }
}

void Juxta::BindViewToggles()
{
    if (!MainMenu)
        return;
    kit::ToolBar* bar = MainToolBar.get();
    AddMenuBinding(MainMenu->FindItem(ID_VIEW_TOOLBAR), bar, Rebar.get(), kit::BindShow);
    AddMenuBinding(MainMenu->FindItem(ID_VIEW_STATUSBAR), bar, StatusBar.get(), kit::BindShow);
    AddMenuBinding(MainMenu->FindItem(ID_VIEW_TOPMOST), bar, this, kit::BindTopMost);
    for (int side = 0; side < 2; ++side)
        if (Sides[side])
            AddMenuBinding(MainMenu->FindItem(ID_VIEW_SIDE_TOOLBAR), bar, Sides[side]->Rebar.get(), kit::BindShow);
}

void Juxta::RestorePlacement()
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(Handle, &placement);
    WINDOWPLACEMENT stored = {};
    if (Settings.GetBinary(L"WindowPlacement", stored))
        placement = stored;
    const UINT show = placement.showCmd;
    placement.length = sizeof placement;
    placement.flags = 0;
    placement.showCmd = SW_HIDE;
    SetWindowPlacement(Handle, &placement);
    if (show == SW_SHOWMAXIMIZED)
        PostMessageW(Handle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    else if (show == SW_SHOWMINIMIZED)
        PostMessageW(Handle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    else
        ShowWindow(Handle, SW_SHOW);
}

// ---------------------------------------------------------------------------------------------------------------
// exit

void Juxta::SaveViewChecks()
{
    if (!MainMenu)
        return;
    for (UINT command : ViewCommands)
        if (kit::MenuItem* item = MainMenu->FindItem(command))
            Settings.Child(std::to_wstring(command)).SetBool(L"Check", item->IsChecked());
}

void Juxta::StopChecker()
{
    if (Checker)
        Checker->StopChecking();
}

LRESULT Juxta::OnDestroy(WPARAM, LPARAM)
{
    StopChecker();
    if (Animating)
        StopBusyAnimation();
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (GetWindowPlacement(Handle, &placement))
        Settings.SetBinary(L"WindowPlacement", placement);
    SaveViewChecks();
    SaveColumnWidths();
    // a settings file that cannot be written keeps its old content; nothing else can be done at exit
    Settings.Save(SettingsPath);
    PostQuitMessage(0);
    return 0;
}

// ---------------------------------------------------------------------------------------------------------------
// layout and other handlers

void Juxta::LayoutStatusPanes(int width)
{
    if (!StatusBar)
        return;
    StatusWidth = width;
    LaidOutPaneNeed = SidePaneNeed();
    // the side panes hold the counts read most: at a narrow width the mark panes give up room for them first
    int mark = MarkPaneWidth;
    if ((width - 5 * mark) / 2 < LaidOutPaneNeed)
        mark = std::max(MinimumMarkPaneWidth, (width - 2 * LaidOutPaneNeed) / 5);
    mark = std::min(mark, static_cast<int>(MarkPaneWidth));
    const int side = width > 5 * mark ? (width - 5 * mark) / 2 : 0;
    for (int pane = 1; pane < PaneCount - 1; ++pane)
        StatusBar->SetPaneWidth(pane, mark);
    StatusBar->SetPaneWidth(0, side);
    StatusBar->SetPaneWidth(PaneCount - 1, side);
}

int Juxta::SidePaneNeed() const
{
    if (!StatusBar || !StatusBar->Handle)
        return 0;
    HDC dc = GetDC(StatusBar->Handle);
    if (!dc)
        return 0;
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(StatusBar->Handle, WM_GETFONT, 0, 0)));
    int widths[2] = {};
    for (int side = 0; side < 2; ++side) {
        std::wstring text = PaneText(side == 0 ? 0 : PaneCount - 1);
        text.erase(std::remove(text.begin(), text.end(), L'\t'), text.end());
        SIZE size = {};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        widths[side] = size.cx;
    }
    SelectObject(dc, old);
    ReleaseDC(StatusBar->Handle, dc);
    // pane 0 carries the busy icon while files are checked, pane 6 the size grip; both have borders
    const int margin = 4 * GetSystemMetrics(SM_CXEDGE) + 4;
    return std::max(widths[0] + GetSystemMetrics(SM_CXSMICON), widths[1] + GetSystemMetrics(SM_CXVSCROLL)) + margin;
}

LRESULT Juxta::OnSize(WPARAM wParam, LPARAM lParam)
{
    int top = 0;
    if (Rebar) {
        SendMessageW(Rebar->Handle, WM_SIZE, wParam, lParam);
        if (IsWindowVisible(Rebar->Handle)) {
            RECT rect = {};
            GetWindowRect(Rebar->Handle, &rect);
            top = rect.bottom - rect.top;
        }
    }
    LayoutStatusPanes(LOWORD(lParam));
    int bottom = 0;
    if (StatusBar) {
        SendMessageW(StatusBar->Handle, WM_SIZE, wParam, lParam);
        if (IsWindowVisible(StatusBar->Handle)) {
            RECT rect = {};
            GetWindowRect(StatusBar->Handle, &rect);
            bottom = rect.bottom - rect.top;
        }
    }
    RECT client = {};
    GetClientRect(Handle, &client);
    const int width = client.right - client.left;
    const int middle = 2 * GetSystemMetrics(SM_CXEDGE) + CompListView::ColumnWidth + GetSystemMetrics(SM_CXVSCROLL);
    const int left = width / 2 - middle / 2;
    const int height = client.bottom - client.top - bottom - top;
    if (Sides[0])
        MoveWindow(Sides[0]->Handle, 0, top, left, height, TRUE);
    if (Sides[1])
        MoveWindow(Sides[1]->Handle, left + middle, top, width - left - middle, height, TRUE);
    if (MarkList)
        MoveWindow(MarkList->Handle, left, top, middle, height, TRUE);
    // the three lists decide together whether they show a horizontal scroll bar
    if (FileListView* list = GetList(0))
        ShowScrollBar(list->Handle, SB_HORZ, TRUE);
    return DefaultProc(WM_SIZE, wParam, lParam);
}

LRESULT Juxta::OnTimer(WPARAM wParam, LPARAM lParam)
{
    if (wParam == FollowTimer) {
        KillTimer(Handle, FollowTimer);
        LastFollow = 0;
        FollowPendingRow();
        return 0;
    }
    if (wParam == ViewTimer) {
        SyncViews();
        const ULONGLONG now = GetTickCount64();
        if (now - LastPaneRefresh >= PaneInterval) {
            LastPaneRefresh = now;
            RefreshPendingPanes();
        }
        return 0;
    }
    if (wParam != BusyTimer)
        return DefaultProc(WM_TIMER, wParam, lParam);
    const int frame = BusyFrame;
    if (StatusBar && BusyIcons[frame])
        StatusBar->GetPane(0)->SetIcon(BusyIcons[frame]->GetIcon());
    BusyFrame = (frame + 1) % static_cast<int>(BusyIcons.size());
    return 0;
}

LRESULT Juxta::OnUser(WPARAM wParam, LPARAM lParam)
{
    switch (wParam) {
    case UserStartAnimation:
        StartBusyAnimation();
        return 0;
    case UserStopAnimation:
        StopBusyAnimation();
        return 0;
    case UserFollowRow:
        FollowPendingRow();
        return 0;
    case UserRefreshPanes:
        RefreshPendingPanes();
        return 0;
    case UserFlushViews:
        SyncViews();
        RefreshPendingPanes();
        return 0;
    default:
        return DefaultProc(WM_USER, wParam, lParam);
    }
}

LRESULT Juxta::OnGetMinMaxInfo(WPARAM, LPARAM lParam)
{
    MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
    info->ptMinTrackSize.x = MinimumWidth;
    info->ptMinTrackSize.y = MinimumHeight;
    return 0;
}

LRESULT Juxta::OnNcRightButtonUp(WPARAM wParam, LPARAM lParam)
{
    const RECT bar = GetMenuBarRect(this);
    const POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (PtInRect(&bar, point))
        MainCommands->ShowViewMenu();
    return DefaultProc(WM_NCRBUTTONUP, wParam, lParam);
}

LRESULT Juxta::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int command = LOWORD(wParam);
    if (command == IDCANCEL || command == ID_EXIT) {
        DestroyWindow(Handle);
        return 0;
    }
    MainCommands->Run(command, reinterpret_cast<HWND>(lParam));
    return kit::Window::OnCommand(wParam, lParam);
}

LRESULT Juxta::OnNotify(WPARAM wParam, LPARAM lParam)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    // the mark list's notifications (one or more per row placed) go to it without a round trip
    if (header && MarkList && header->hwndFrom == MarkList->Handle) {
        if (header->code == LVN_INSERTITEM || header->code == LVN_ITEMCHANGING || header->code == LVN_ITEMCHANGED ||
            header->code == LVN_DELETEITEM)
            return 0;
        return MarkList->OnNotify(wParam, lParam);
    }
    if (header && header->code == NM_RCLICK) {
        const HWND from = header->hwndFrom;
        if ((StatusBar && from == StatusBar->Handle) || (Rebar && from == Rebar->Handle) ||
            (MainToolBar && from == MainToolBar->Handle))
            MainCommands->ShowViewMenu();
    }
    return kit::Window::OnNotify(wParam, lParam);
}

FileListWindow* Juxta::GetSideWindow(int side) const
{
    return side == 0 || side == 1 ? Sides[side].get() : nullptr;
}

int Juxta::GetHashColumn(int kind) const
{
    return kind >= 0 && kind < HashKind::Count ? HashColumns[kind].load() : -1;
}

void Juxta::ShowListMenu(int side, bool atCursor)
{
    MainCommands->ShowListMenu(side, atCursor);
}

kit::Menu* Juxta::GetViewMenu() const
{
    return MainMenu ? MainMenu->GetSubMenu(MENU_VIEW_POSITION) : nullptr;
}
