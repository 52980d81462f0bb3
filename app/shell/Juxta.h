// The main window: the two side windows with their lists, the mark column between them, the rebar with the main
// toolbar, the status bar and the menu bar; it also owns the settings, the main lock, the check scheduler and the
// commands (Commands). The dialogs and outside tools see it only as a ToolHost.
//
// Threads: the rows live in Rows, which the scheduler and the workers (app/check) change from their own threads;
// the lists show it and repaint what changed (SyncViews). The status panes are refreshed on request from any
// thread. The GUI thread never blocks on the main lock: AcquireMain serves sent messages while it waits.
#pragma once

#include "app/lists/HashText.h"
#include "app/lists/RowModel.h"
#include "app/check/CheckHost.h"
#include "app/lists/ListHost.h"
#include "app/tools/ToolHost.h"
#include "kit/core/CriticalSection.h"
#include "kit/core/SettingsNode.h"
#include "kit/core/SettingsSnapshot.h"
#include "kit/ui/Window.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

class CheckHashManager;
class Commands;
class CompListView;
class FileListView;
class FileListWindow;

namespace kit {
class Brush;
class Image;
class ImageList;
class ListView;
class Menu;
class ReberControl;
class StatusBar;
class ToolBar;
} // namespace kit

class Juxta : public kit::Window, public ToolHost, public CheckHost, public ListHost {
public:
    // the class name is also the name of the single-instance mapping
    static const wchar_t* const ClassName;
    static const wchar_t* const Title;
    static const DWORD Style = WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    static const int PaneCount = 7;
    static const int MarkPaneWidth = 64;
    // the mark panes give up room to the side panes down to this width
    static const int MinimumMarkPaneWidth = 44;
    static const UINT_PTR BusyTimer = 0;
    static const UINT BusyInterval = 50;
    static const UINT_PTR FollowTimer = 1;
    // "AutoScroll" moves the lists at most this often (each move repaints all three lists)
    static const UINT FollowInterval = 500;
    // while a check runs, the rows that changed are repainted at most this often (about 30 times a second)
    static const UINT_PTR ViewTimer = 2;
    static const UINT ViewInterval = 33;
    // and the counts of the status bar at most this often: the control repaints the whole bar for each text
    static const UINT PaneInterval = 100;
    static const int MinimumWidth = 500;
    static const int MinimumHeight = 200;

    // the side lists' columns, in their order: file name, CRC32, MD5, SHA-1, size
    struct ColumnInfo {
        const wchar_t* Key; // node under "Left" / "Right" holding the width
        const wchar_t* Header;
        int Width; // default
        int Format;
        int Kind; // hash kind, -1 for a column that is always there
    };
    static const std::array<ColumnInfo, 5> ColumnTable;

    // Holds the main lock alone, taken the same way.
    class MainHold : private boost::noncopyable {
    public:
        explicit MainHold(Juxta& main) : Main(main) { Main.AcquireMain(); }
        ~MainHold() { Main.MainLock.Unlock(); }

    private:
        Juxta& Main; // not owned
    };

    // the settings are loaded from settingsPath and saved there at exit
    explicit Juxta(const std::wstring& settingsPath = DefaultSettingsPath());
    ~Juxta() override;

    // Registers the window class with the program's icon and creates the main window (shown by OnCreate).
    bool CreateMainWindow();

    // ---- settings ----
    // every key's start-up value (the settings file is merged over them)
    static void PutDefaults(kit::SettingsNode& settings);
    // the executable's path with the extension ".dat"
    static std::wstring DefaultSettingsPath();
    // Settings changed on the GUI thread: background threads see the new values from now on.
    void PublishSettings() override;
    // a state colour (0 "Wait" .. 6 "UnderLine"): the stored 4-byte value, else the default; any thread
    COLORREF GetStateColour(int index) const override;
    // the hash kinds switched on ("Crc32", "Md5", "Sha1"); any thread
    HashKindFlags GetEnabledKinds() const override;
    bool GetSettingBool(const std::wstring& name, bool fallback) const override;

    // ---- lists ----
    FileListView* GetList(int side) const override;
    // the three lists in lock order (left, right, mark); null before creation
    kit::ListView* GetLockOrderList(int index) const override;
    // rebuilds the columns of both side lists from the settings and the stored widths
    void BuildColumns() override;
    // a column's width stored under the side's node, the default when there is none, at least 50
    int StoredColumnWidth(int side, const ColumnInfo& column) const;
    // positions of the hash columns from the settings (column 0 is the file name)
    void ComputeColumnPositions();
    // the file name column's position in the side lists, -1 before the columns are built; any thread
    int GetFileNameColumn() const { return FileNameColumn; }
    // takes the main lock the GUI-safe way
    void AcquireMain() override;
    void YieldMainToInterface() override;
    // the interface thread is inside AcquireMain, waiting for another thread to let the lock go
    bool InterfaceWaitsForMain() const { return InterfaceWantsMain.load(); }
    bool IsGuiThread() const;

    // ---- status bar and checking appearance (any thread) ----
    void RefreshPane(int pane);
    void RefreshPanes() override;
    // Asks the GUI thread to refresh the panes whose bits are set (1 << pane) and returns at once; requests made
    // before the GUI thread gets to them are merged.
    void RequestPaneRefresh(unsigned panes) override;
    // GUI thread: the three lists learn the model's row count and repaint the rows that changed since the last
    // time; nothing on other threads (the view timer and FlushViews get to it)
    void SyncViews() override;
    // Any thread: the GUI thread syncs the lists and refreshes the pending panes; returns when it has. The end of a
    // check does it, so that whoever sees the check ended sees its last cells and counts.
    void FlushViews() override;
    std::wstring PaneText(int pane) const;
    void StartBusyAnimation();
    void StopBusyAnimation();
    // the busy animation's frames shown in the left pane (0..3); null when the icon could not be loaded
    HICON GetBusyIcon(int frame) const;
    // the busy animation while a check runs, and the commands enabled as the scheduler and the rows allow
    void SetCheckingAppearance(bool checking) override;

    // ---- actions on rows ----
    // "AutoScroll": asks the GUI thread to bring a row that has started being read into view, and returns at once.
    // Requests made meanwhile are merged (the furthest row wins); the lists move at most every FollowInterval.
    void FollowRow(int row) override;
    // a batch of dropped paths registered into a side (RegisterDroppedPaths)
    void RegisterDrop(int side, const std::vector<std::wstring>& paths) override;
    // Enter or double-click on a row: open or compare
    void RunRowAction(int side, int row) override;

    // ---- bars and commands ----
    // the rebar, the main toolbar, the status bar and the menu bar; null before creation
    const kit::ReberControl* GetRebar() const { return Rebar.get(); }
    const kit::ToolBar* GetMainToolBar() const { return MainToolBar.get(); }
    const kit::StatusBar* GetStatusBar() const { return StatusBar.get(); }
    const kit::Menu* GetMainMenu() const { return MainMenu.get(); }
    Commands& GetCommands() const { return *MainCommands; }
    // every column of both side lists as wide as its widest text (or header)
    void AutoSizeColumns() override;

    // ---- what the tools see (ToolHost) ----
    kit::Window& GetOwnerWindow() override { return *this; }
    kit::SettingsNode& GetSettings() override { return Settings; }
    RowModel& GetRows() override { return Rows; }
    bool IsKindShown(int kind) const override;
    int GetCurrentSide() const override { return CurrentSide; }
    void SetContextRow(int side, int row) override;
    // the row the last list command acts on, -1 none
    int GetContextRow() const { return ContextRow; }
    std::wstring GetLastName() const override { return LastName; }
    void SetLastName(const std::wstring& name) override { LastName = name; }
    void RecolourRows() override;
    void ApplyHashKinds() override;

    // ---- what the scheduler, its workers and the registration see (CheckHost) ----
    kit::CriticalSection& GetMainLock() override { return MainLock; }
    boost::shared_ptr<const kit::SettingsNode> GetPublishedSettings() const override { return SettingsView.Get(); }
    CheckHashManager* GetChecker() const override { return Checker.get(); }
    void SetCurrentSide(int side) override { CurrentSide = side; }

    // ---- what the lists, their windows and the import see (ListHost) ----
    const wchar_t* GetWindowClassName() const override { return ClassName; }
    CheckHost& GetCheckHost() override { return *this; }
    CompListView* GetMarkList() const override { return MarkList.get(); }
    FileListWindow* GetSideWindow(int side) const override;
    int GetHashColumn(int kind) const override;
    int GetSizeColumn() const override { return SizeColumn; }
    int GetTopRow() const override { return TopRow; }
    void SetTopRow(int row) override { TopRow = row; }
    void ShowListMenu(int side, bool atCursor) override;
    kit::Menu* GetViewMenu() const override;

    // ---- window handlers ----
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnSize(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnUser(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnNcRightButtonUp(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnNotify(WPARAM wParam, LPARAM lParam) override;

private:
    kit::SettingsNode Settings;           // GUI thread only
    kit::SettingsSnapshot SettingsView;   // what other threads read (PublishSettings)
    std::wstring SettingsPath;            // where the settings are loaded from and saved to
    // the rows of the three lists; the only place where their state lives
    RowModel Rows;
    // guards the scheduler's workers against the commands that stop them; held for short steps only
    kit::CriticalSection MainLock;
    // the interface thread is waiting for the main lock (AcquireMain); other threads let it go first
    std::atomic<bool> InterfaceWantsMain{false};
    std::wstring LastName;
    std::array<boost::shared_ptr<FileListWindow>, 2> Sides;
    boost::shared_ptr<CompListView> MarkList;
    boost::shared_ptr<kit::ReberControl> Rebar;
    boost::shared_ptr<kit::ToolBar> MainToolBar;
    boost::shared_ptr<kit::StatusBar> StatusBar;
    boost::shared_ptr<kit::Menu> MainMenu;
    boost::shared_ptr<CheckHashManager> Checker;
    std::atomic<int32_t> CurrentSide{0};
    std::atomic<int32_t> ContextRow{-1};
    int32_t TopRow = 0;
    std::atomic<int32_t> FileNameColumn{-1};
    std::array<std::atomic<int32_t>, HashKind::Count> HashColumns;
    std::atomic<int32_t> SizeColumn{-1};

    boost::shared_ptr<kit::Image> ToolBarImage;
    // the strip cut into images with its magenta keyed out; the side toolbars use it too
    boost::shared_ptr<kit::ImageList> ToolBarImages;
    boost::shared_ptr<kit::Brush> BackgroundBrush;
    std::array<boost::shared_ptr<kit::Image>, 4> BusyIcons;
    std::atomic<int32_t> BusyFrame{0};

    void CreateChildren();
    void CreateStatusBar();
    void LoadSettings();
    void CreateBars();
    void AddMainToolBarButtons();
    void RestoreViewChecks();
    void BindViewToggles();
    void RestorePlacement();
    void SaveViewChecks();
    void SaveColumnWidths();
    void LayoutStatusPanes(int width);
    // the width panes 0 and 6 need for their texts (with the busy icon and the size grip)
    int SidePaneNeed() const;
    int StatusWidth = 0;      // the client width the panes were last laid out for
    int LaidOutPaneNeed = 0;  // SidePaneNeed() then
    // stops the scheduler and its workers (at exit)
    void StopChecker();

    // GUI thread: the pending FollowRow request, or a timer for it when the lists moved a moment ago
    void FollowPendingRow();
    void ScrollRowIntoView(int row);
    // GUI thread: the panes of every pending RequestPaneRefresh
    void RefreshPendingPanes();

    DWORD GuiThread = 0;
    boost::shared_ptr<Commands> MainCommands;
    std::atomic<bool> Animating{false};
    std::atomic<int32_t> FollowTarget{-1};
    std::atomic<bool> FollowPosted{false};
    ULONGLONG LastFollow = 0; // GUI thread
    ULONGLONG LastPaneRefresh = 0; // GUI thread, while a check runs
    std::atomic<unsigned> PendingPanes{0};
};
