// The settings dialog on a real main window: what a first start shows, OK storing every control and Cancel none,
// the colour rows with the colour dialog, the tag menu and the browse button of the compare-tool rows, the trackbar,
// and what the settings command does afterwards (rows recoloured, columns rebuilt and checked again).
#include "tests/app/MainWindowTesting.h"

#include "app/check/CheckHashManager.h"
#include "app/tools/ConfigDialog.h"
#include "kit/ui/Button.h"
#include "kit/ui/ColorDialog.h"
#include "kit/ui/EditBox.h"
#include "resources/resource.h"

#include <commctrl.h>

namespace {

const COLORREF DefaultColours[7] = {0xC0C0C0, 0x00FF00, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0x00FFFF, 0x000000};

// the colour a dialog paints a static control with: its WM_CTLCOLORSTATIC brush, CLR_INVALID for default handling
COLORREF PaintedColour(HWND dialog, HWND control)
{
    HDC dc = GetDC(dialog);
    const LRESULT answer = SendMessageW(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                        reinterpret_cast<LPARAM>(control));
    ReleaseDC(dialog, dc);
    LOGBRUSH info = {};
    if (!answer || !GetObjectW(reinterpret_cast<HBRUSH>(answer), sizeof info, &info))
        return CLR_INVALID;
    return info.lbColor;
}

// answers a colour dialog with its "デフォルト" button, then OK
bool TakeDefaultColour(HWND dialog)
{
    HWND button = GetDlgItem(dialog, kit::Button::CreatedId);
    if (!button)
        return false;
    harness::Click(button);
    return harness::DialogWatcher::PressButton(dialog, IDOK);
}

class ConfigDialogTest : public MainWindowFixture {
protected:
    void TearDown() override
    {
        Dialog.reset();
        MainWindowFixture::TearDown();
    }
    // the dialog as the command opens it, but modeless so that the test can drive it between messages
    ConfigDialog& Open()
    {
        Dialog.reset(new ConfigDialog(*Main));
        EXPECT_TRUE(Dialog->CreateModeless(IDD_CONFIG, Main.get()));
        ShowWindow(Dialog->Handle, SW_SHOW);
        harness::PumpPending();
        return *Dialog;
    }
    HWND Item(int id) { return GetDlgItem(Dialog->Handle, id); }
    void Click(int id)
    {
        harness::Click(Item(id));
        harness::PumpPending();
    }
    bool Checked(int id) { return harness::IsChecked(Item(id)); }
    std::wstring Text(int id) { return harness::WindowText(Item(id)); }
    int TrackPosition() { return static_cast<int>(SendMessageW(Item(IDC_CONFIG_CHECKNUM), TBM_GETPOS, 0, 0)); }
    void SetTrackPosition(int position)
    {
        SendMessageW(Item(IDC_CONFIG_CHECKNUM), TBM_SETPOS, TRUE, position);
        SendMessageW(Dialog->Handle, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                     reinterpret_cast<LPARAM>(Item(IDC_CONFIG_CHECKNUM)));
        harness::PumpPending();
    }
    void Press(int button)
    {
        harness::DialogWatcher::PressButton(Dialog->Handle, button);
        harness::PumpPending();
    }

    std::unique_ptr<ConfigDialog> Dialog;
};

} // namespace

TEST(JuxtaDefaults, PutDefaults_everyKeyOfTheRegister)
{
    kit::SettingsNode settings;
    Juxta::PutDefaults(settings);
    // bools present as 1-byte values
    for (const wchar_t* key : {L"Crc32", L"SubDirectory", L"AutoScroll", L"UnderLine", L"CompareHash"}) {
        ASSERT_EQ(1u, settings.Values.count(key)) << key;
        EXPECT_EQ(std::vector<uint8_t>{1}, settings.Values.at(key)) << key;
    }
    // absent: the readers' fallback (off) applies
    for (const wchar_t* key : {L"Md5", L"Sha1", L"AutoSize", L"Open", L"Compare", L"WindowPlacement",
                               L"DefaultDirectory", L"FinterIndex"})
        EXPECT_EQ(0u, settings.Values.count(key)) << key;
    EXPECT_EQ(8, settings.GetInt(L"CheckNum", -1));
    const kit::SettingsNode* colours = settings.FindChild(L"Color");
    ASSERT_TRUE(colours);
    for (size_t index = 0; index < ConfigDialog::ColourRows.size(); ++index)
        EXPECT_EQ(static_cast<int32_t>(DefaultColours[index]), colours->GetInt(ConfigDialog::ColourRows[index].Key, -1))
            << index;
    const kit::SettingsNode* tools = settings.FindChild(L"Tool");
    ASSERT_TRUE(tools);
    EXPECT_EQ(L"txt;html", tools->FindChild(L"0")->GetString(L"Extension"));
    EXPECT_EQ(L"*", tools->FindChild(L"1")->GetString(L"Extension"));
    EXPECT_EQ(0u, tools->FindChild(L"0")->Values.count(L"Command"));
    EXPECT_EQ(0u, tools->FindChild(L"1")->Values.count(L"Command"));
    EXPECT_FALSE(tools->FindChild(L"2"));
}

TEST_F(ConfigDialogTest, FirstStart_showsTheDefaultsAndCancelStoresNothing)
{
    Start();
    const kit::SettingsNode before = Main->GetSettings();
    std::vector<bool> checks;
    std::vector<COLORREF> swatches;
    std::vector<std::wstring> tools;
    int position = 0;
    std::wstring count;
    bool underlineButton = false;
    harness::DialogWatcher watcher;
    watcher.Answer([&](HWND dialog) {
        for (const ConfigDialog::Option& option : ConfigDialog::Options)
            checks.push_back(harness::IsChecked(GetDlgItem(dialog, option.Id)));
        for (const ConfigDialog::ColourRow& row : ConfigDialog::ColourRows)
            swatches.push_back(PaintedColour(dialog, GetDlgItem(dialog, row.Swatch)));
        for (const ConfigDialog::ToolRow& row : ConfigDialog::ToolRows) {
            tools.push_back(harness::ItemText(dialog, row.Extension));
            tools.push_back(harness::ItemText(dialog, row.Command));
        }
        position = static_cast<int>(SendDlgItemMessageW(dialog, IDC_CONFIG_CHECKNUM, TBM_GETPOS, 0, 0));
        count = harness::ItemText(dialog, IDC_CONFIG_CHECKNUM_TEXT);
        underlineButton = harness::IsEnabled(GetDlgItem(dialog, IDC_CONFIG_UNDERLINE_CHANGE));
        // a change that Cancel must drop
        harness::Click(GetDlgItem(dialog, IDC_CONFIG_MD5));
        return harness::DialogWatcher::PressButton(dialog, IDCANCEL);
    });
    ShowConfigDialog(*Main);
    ASSERT_EQ(1u, watcher.Seen().size());
    EXPECT_EQ(L"設定", watcher.Seen()[0].Caption);
    // Crc32, Md5, Sha1, SubDirectory, AutoScroll, AutoSize, UnderLine, CompareHash, Open, Compare
    EXPECT_EQ((std::vector<bool>{true, false, false, true, true, false, true, true, false, false}), checks);
    EXPECT_EQ(std::vector<COLORREF>(DefaultColours, DefaultColours + 7), swatches);
    EXPECT_EQ((std::vector<std::wstring>{L"txt;html", L"", L"*", L"", L"", L""}), tools);
    EXPECT_EQ(8, position);
    EXPECT_EQ(L"8", count);
    EXPECT_TRUE(underlineButton);
    EXPECT_TRUE(before == Main->GetSettings());
    // no kind was switched: the columns stay file name, CRC32, size
    EXPECT_EQ(3, harness::ListColumnCount(List(0).Handle));
}

TEST_F(ConfigDialogTest, Ok_storesEveryControlAndTheDialogReadsItBack)
{
    Start();
    Open();
    Click(IDC_CONFIG_CRC32);
    Click(IDC_CONFIG_SHA1);
    Click(IDC_CONFIG_SUBDIRECTORY);
    Click(IDC_CONFIG_AUTOSIZE);
    Click(IDC_CONFIG_UNDERLINE);
    EXPECT_FALSE(harness::IsEnabled(Item(IDC_CONFIG_UNDERLINE_CHANGE)));
    EXPECT_TRUE(Dialog->IsChanged());
    Click(IDC_CONFIG_COMPARE);
    EXPECT_FALSE(Checked(IDC_CONFIG_COMPARE_HASH));
    SetWindowTextW(Item(IDC_CONFIG_TOOL0_EXTENSION), L"");
    SetWindowTextW(Item(IDC_CONFIG_TOOL1_COMMAND), L"diff.exe %1 %2");
    SetWindowTextW(Item(IDC_CONFIG_TOOL2_EXTENSION), L"bin;DAT");
    SetWindowTextW(Item(IDC_CONFIG_TOOL2_COMMAND), L"\"C:\\Program Files\\hex.exe\" %1 %2");
    SetTrackPosition(16);
    EXPECT_EQ(L"16", Text(IDC_CONFIG_CHECKNUM_TEXT));
    Press(IDOK);

    const kit::SettingsNode& settings = Main->GetSettings();
    const std::pair<const wchar_t*, uint8_t> expected[] = {
        {L"Crc32", 0}, {L"Md5", 0}, {L"Sha1", 1}, {L"SubDirectory", 0}, {L"AutoScroll", 1}, {L"AutoSize", 1},
        {L"UnderLine", 0}, {L"CompareHash", 0}, {L"Open", 0}, {L"Compare", 1}};
    for (const auto& value : expected) {
        ASSERT_EQ(1u, settings.Values.count(value.first)) << value.first;
        EXPECT_EQ(std::vector<uint8_t>{value.second}, settings.Values.at(value.first)) << value.first;
    }
    EXPECT_EQ(16, settings.GetInt(L"CheckNum", -1));
    const kit::SettingsNode& tools = *settings.FindChild(L"Tool");
    EXPECT_EQ(L"", tools.FindChild(L"0")->GetString(L"Extension"));
    EXPECT_EQ(1u, tools.FindChild(L"0")->Values.count(L"Extension"));
    EXPECT_EQ(1u, tools.FindChild(L"0")->Values.count(L"Command"));
    EXPECT_EQ(L"*", tools.FindChild(L"1")->GetString(L"Extension"));
    EXPECT_EQ(L"diff.exe %1 %2", tools.FindChild(L"1")->GetString(L"Command"));
    EXPECT_EQ(L"bin;DAT", tools.FindChild(L"2")->GetString(L"Extension"));
    EXPECT_EQ(L"\"C:\\Program Files\\hex.exe\" %1 %2", tools.FindChild(L"2")->GetString(L"Command"));
    // the checks running on other threads see the new values
    EXPECT_EQ(16, Main->GetPublishedSettings()->GetInt(L"CheckNum", -1));

    // the same values come back in a new dialog
    Dialog.reset();
    Open();
    EXPECT_FALSE(Checked(IDC_CONFIG_CRC32));
    EXPECT_TRUE(Checked(IDC_CONFIG_SHA1));
    EXPECT_FALSE(Checked(IDC_CONFIG_SUBDIRECTORY));
    EXPECT_TRUE(Checked(IDC_CONFIG_AUTOSIZE));
    EXPECT_FALSE(Checked(IDC_CONFIG_UNDERLINE));
    EXPECT_TRUE(Checked(IDC_CONFIG_COMPARE));
    EXPECT_FALSE(Checked(IDC_CONFIG_COMPARE_HASH));
    EXPECT_EQ(L"diff.exe %1 %2", Text(IDC_CONFIG_TOOL1_COMMAND));
    EXPECT_EQ(L"bin;DAT", Text(IDC_CONFIG_TOOL2_EXTENSION));
    EXPECT_EQ(16, TrackPosition());
    EXPECT_EQ(L"16", Text(IDC_CONFIG_CHECKNUM_TEXT));
    EXPECT_FALSE(Dialog->IsChanged());
}

TEST_F(ConfigDialogTest, Trackbar_staysWithinOneToSixteen)
{
    kit::SettingsNode stored;
    stored.SetInt(L"CheckNum", 40);
    Start(stored);
    Open();
    EXPECT_EQ(16, TrackPosition());
    SetTrackPosition(0);
    EXPECT_EQ(1, TrackPosition());
    EXPECT_EQ(L"1", Text(IDC_CONFIG_CHECKNUM_TEXT));
    Press(IDOK);
    EXPECT_EQ(1, Main->GetSettings().GetInt(L"CheckNum", -1));
}

TEST_F(ConfigDialogTest, ColourNodeLackingNg_showsAndKeepsTheColourTheListsUse)
{
    Start();
    Main->GetSettings().Child(L"Color").Values.erase(L"Ng");
    // a damaged value reads like a missing one
    Main->GetSettings().Child(L"Color").SetBool(L"Left", true);
    Open();
    EXPECT_EQ(COLORREF(0xFF00FF), PaintedColour(Dialog->Handle, Item(IDC_CONFIG_NG_SWATCH)));
    EXPECT_EQ(COLORREF(0x00FFFF), PaintedColour(Dialog->Handle, Item(IDC_CONFIG_LEFT_SWATCH)));
    EXPECT_EQ(COLORREF(0xFF00FF), Main->GetStateColour(3));
    Press(IDOK);
    EXPECT_EQ(0xFF00FF, Main->GetSettings().FindChild(L"Color")->GetInt(L"Ng", -1));
    EXPECT_EQ(0x00FFFF, Main->GetSettings().FindChild(L"Color")->GetInt(L"Left", -1));
}

TEST_F(ConfigDialogTest, ColourChosenThenCancel_settingsUnchangedButChanged)
{
    kit::SettingsNode stored;
    stored.Child(L"Color").SetInt(L"Ok", 0x123456);
    Start(stored);
    const kit::SettingsNode before = Main->GetSettings();
    Open();
    EXPECT_EQ(COLORREF(0x123456), PaintedColour(Dialog->Handle, Item(IDC_CONFIG_OK_SWATCH)));
    harness::DialogWatcher watcher;
    watcher.Answer(TakeDefaultColour);
    Click(IDC_CONFIG_OK_CHANGE);
    ASSERT_EQ(1u, watcher.Seen().size());
    EXPECT_EQ(COLORREF(0xFFFF00), Dialog->GetColour(2));
    EXPECT_EQ(COLORREF(0xFFFF00), PaintedColour(Dialog->Handle, Item(IDC_CONFIG_OK_SWATCH)));
    EXPECT_TRUE(Dialog->IsChanged());
    Press(IDCANCEL);
    EXPECT_TRUE(before == Main->GetSettings());
    EXPECT_TRUE(Dialog->IsChanged());
}

TEST_F(ConfigDialogTest, ColourDialogCancelled_leavesColourAndChanged)
{
    Start();
    Open();
    harness::DialogWatcher watcher;
    watcher.Answer(IDCANCEL);
    Click(IDC_CONFIG_WAIT_CHANGE);
    ASSERT_EQ(1u, watcher.Seen().size());
    EXPECT_EQ(COLORREF(0xC0C0C0), Dialog->GetColour(0));
    EXPECT_FALSE(Dialog->IsChanged());
}

TEST_F(ConfigDialogTest, TagMenu_insertsAtTheRememberedCaretOfItsRow)
{
    Start();
    Open();
    HWND command = Item(IDC_CONFIG_TOOL1_COMMAND);
    SetWindowTextW(command, L"tool.exe %1 ");
    SetFocus(command);
    SendMessageW(command, EM_SETSEL, 12, 12);
    SetFocus(Item(IDC_CONFIG_TOOL1_TAG));
    harness::PumpPending();

    // the menu opens in a loop of its own: read it there and close it
    static std::vector<std::wstring> items;
    items.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND menuWindow = FindWindowW(L"#32768", nullptr);
        if (!menuWindow)
            return;
        HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
        for (int at = 0; menu && at < GetMenuItemCount(menu); ++at) {
            wchar_t text[64] = {};
            GetMenuStringW(menu, static_cast<UINT>(at), text, 64, MF_BYPOSITION);
            items.push_back(text);
        }
        EndMenu();
    });
    Click(IDC_CONFIG_TOOL1_TAG);
    KillTimer(nullptr, timer);
    EXPECT_EQ((std::vector<std::wstring>{L"%1\t左ファイル(&1)", L"%2\t右ファイル(&2)"}), items);
    ASSERT_EQ(Dialog->GetTagTarget(), kit::Window::FromHandle(command));

    harness::SendCommand(Dialog->Handle, ID_TAG_RIGHT);
    EXPECT_EQ(L"tool.exe %1 %2", Text(IDC_CONFIG_TOOL1_COMMAND));
    // the caret moved after the inserted tag
    harness::SendCommand(Dialog->Handle, ID_TAG_LEFT);
    EXPECT_EQ(L"tool.exe %1 %2%1", Text(IDC_CONFIG_TOOL1_COMMAND));
    EXPECT_EQ(L"", Text(IDC_CONFIG_TOOL0_COMMAND));
}

TEST_F(ConfigDialogTest, Browse_putsTheChosenProgramIntoItsRow)
{
    Start();
    const std::wstring program = Folder.WriteFile(L"tools dir\\cmp.exe", "MZ");
    Main->GetSettings().SetString(L"DefaultDirectory", Folder.PathOf(L"tools dir"));
    Open();
    SetWindowTextW(Item(IDC_CONFIG_TOOL2_COMMAND), L"old %1 %2");
    harness::DialogWatcher watcher;
    watcher.Answer([&](HWND dialog) {
        if (!harness::SetFileDialogName(dialog, program))
            return false;
        return harness::DialogWatcher::PressButton(dialog, IDOK);
    });
    Click(IDC_CONFIG_TOOL2_BROWSE);
    ASSERT_EQ(1u, watcher.Seen().size());
    EXPECT_EQ(L"\"" + program + L"\"", Text(IDC_CONFIG_TOOL2_COMMAND));
    EXPECT_EQ(L"", Text(IDC_CONFIG_TOOL0_COMMAND));
    // the folder is read, not updated
    EXPECT_EQ(Folder.PathOf(L"tools dir"), Main->GetSettings().GetString(L"DefaultDirectory"));
}

TEST_F(ConfigDialogTest, SettingsCommand_colourChangeRecoloursTheRows)
{
    kit::SettingsNode stored;
    stored.Child(L"Color").SetInt(L"Ok", 0x123456);
    Start(stored);
    const std::wstring a = Folder.WriteFile(L"l\\a.txt", "abc");
    const std::wstring b = Folder.WriteFile(L"r\\a.txt", "abc");
    RegisterFile(0, a);
    RegisterFile(1, b);
    Finish(0, 0, L"352441C2", L"3");
    Finish(1, 0, L"352441C2", L"3");
    ASSERT_EQ(L"○", MarkText(0));
    ASSERT_EQ(COLORREF(0x123456), RowColour(0, 0));

    int step = 0;
    HWND config = nullptr;
    harness::DialogWatcher watcher;
    watcher.Answer([&](HWND dialog) {
        if (step == 0) {
            config = dialog;
            PostMessageW(GetDlgItem(dialog, IDC_CONFIG_OK_CHANGE), BM_CLICK, 0, 0);
            step = 1;
            return false;
        }
        if (dialog != config) {
            if (TakeDefaultColour(dialog))
                step = 2;
            return false;
        }
        return step == 2 && harness::DialogWatcher::PressButton(dialog, IDOK);
    });
    ShowConfigDialog(*Main);
    EXPECT_EQ(2, step);
    EXPECT_EQ(0xFFFF00, Main->GetSettings().FindChild(L"Color")->GetInt(L"Ok", -1));
    EXPECT_EQ(COLORREF(0xFFFF00), RowColour(0, 0));
    EXPECT_EQ(COLORREF(0xFFFF00), RowColour(1, 0));
    EXPECT_EQ(COLORREF(0xFFFF00), MarkColour(0));
}

TEST_F(ConfigDialogTest, SettingsCommand_kindSwitchedOnRebuildsColumnsAndChecksAgain)
{
    Start();
    const std::wstring a = Folder.WriteFile(L"l\\a.txt", "abc");
    const std::wstring b = Folder.WriteFile(L"r\\a.txt", "abd");
    RegisterFile(0, a);
    RegisterFile(1, b);
    Main->GetChecker()->StartChecking();
    ASSERT_TRUE(harness::PumpUntil([&] { return MarkText(0) == L"×" && !Main->GetChecker()->IsChecking(); }, 20000));
    ASSERT_EQ(L"352441C2", Cell(0, 0, 1));

    harness::DialogWatcher watcher;
    watcher.Answer([](HWND dialog) {
        harness::Click(GetDlgItem(dialog, IDC_CONFIG_MD5));
        return harness::DialogWatcher::PressButton(dialog, IDOK);
    });
    ShowConfigDialog(*Main);
    ASSERT_EQ(1u, watcher.Seen().size());
    EXPECT_EQ(L"MD5", harness::ListHeaderText(List(0).Handle, 2));
    EXPECT_EQ(L"MD5", harness::ListHeaderText(List(1).Handle, 2));
    EXPECT_EQ(2, Main->GetHashColumn(1));
    ASSERT_TRUE(harness::PumpUntil(
        [&] { return !Cell(0, 0, 2).empty() && !Cell(1, 0, 2).empty() && !Main->GetChecker()->IsChecking(); }, 20000));
    EXPECT_EQ(L"900150983CD24FB0D6963F7D28E17F72", Cell(0, 0, 2));
    EXPECT_EQ(L"352441C2", Cell(0, 0, 1));
    EXPECT_EQ(L"3", Cell(0, 0, 3));
    EXPECT_EQ(L"×", MarkText(0));
}

TEST_F(ConfigDialogTest, SettingsCommand_kindSwitchedOffKeepsTheDecidedPairs)
{
    kit::SettingsNode stored;
    stored.SetBool(L"Md5", true);
    Start(stored);
    const std::wstring a = Folder.WriteFile(L"l\\a.txt", "abc");
    const std::wstring b = Folder.WriteFile(L"r\\a.txt", "abc");
    RegisterFile(0, a);
    RegisterFile(1, b);
    Main->GetChecker()->StartChecking();
    ASSERT_TRUE(harness::PumpUntil([&] { return MarkText(0) == L"○" && !Main->GetChecker()->IsChecking(); }, 20000));

    harness::DialogWatcher watcher;
    watcher.Answer([](HWND dialog) {
        harness::Click(GetDlgItem(dialog, IDC_CONFIG_MD5));
        return harness::DialogWatcher::PressButton(dialog, IDOK);
    });
    ShowConfigDialog(*Main);
    ASSERT_EQ(1u, watcher.Seen().size());
    EXPECT_EQ(3, harness::ListColumnCount(List(0).Handle));
    EXPECT_EQ(L"サイズ", harness::ListHeaderText(List(0).Handle, 2));
    EXPECT_EQ(-1, Main->GetHashColumn(1));
    // the pair is decided again by what is left, not left undecided
    EXPECT_TRUE(harness::PumpUntil([&] { return MarkText(0) == L"○" && !Main->GetChecker()->IsChecking(); }, 20000))
        << "mark " << MarkText(0);
    EXPECT_EQ(L"352441C2", Cell(0, 0, 1));
    EXPECT_EQ(L"3", Cell(0, 0, 2));
}
