// Handing rows to other programs: the compare tool chosen by extension (observed through a stand-in tool that
// records its command line), opening with the shell, the double-click action, the manual's path and the version
// dialog.
#include "tests/app/MainWindowTesting.h"

#include "app/tools/ExternalTools.h"
#include "app/tools/VersionDialog.h"
#include "kit/core/Path.h"
#include "resources/resource.h"

#include <fstream>
#include <iterator>

namespace {

std::wstring ReadRecord(const std::wstring& path)
{
    // the tool may still hold the handle it renamed the file with
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return L"<missing>";
    std::wstring text;
    wchar_t buffer[1024];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got / sizeof(wchar_t));
    CloseHandle(file);
    return text;
}

kit::SettingsNode ToolTable(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> entries)
{
    kit::SettingsNode settings;
    int index = 0;
    for (const auto& entry : entries) {
        kit::SettingsNode& node = settings.Child(L"Tool").Child(std::to_wstring(index++));
        node.SetString(L"Extension", entry.first);
        if (entry.second)
            node.SetString(L"Command", entry.second);
    }
    return settings;
}

class ExternalToolsTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        Recorder = harness::HostPath(RECORDER_EXE);
        Record = Folder.PathOf(L"record.txt");
        SetEnvironmentVariableW(L"JUXTA_RECORD_FILE", Record.c_str());
    }
    void TearDown() override
    {
        SetEnvironmentVariableW(L"JUXTA_RECORD_FILE", nullptr);
        MainWindowFixture::TearDown();
    }
    void SetTool(int entry, const std::wstring& extension, const std::wstring& command)
    {
        kit::SettingsNode& node = Main->GetSettings().Child(L"Tool").Child(std::to_wstring(entry));
        node.SetString(L"Extension", extension);
        node.SetString(L"Command", command);
    }
    // the command line the stand-in tool received, once it has written it
    std::wstring Recorded()
    {
        std::wstring text;
        harness::PumpUntil([&] { return (text = ReadRecord(Record)) != L"<missing>"; }, 15000);
        return text;
    }
    // a pair of files in row 0: left and right relative to their own folders
    void Pair(const std::wstring& left, const std::wstring& right)
    {
        Left = Folder.WriteFile(left, "left");
        Right = Folder.WriteFile(right, "right");
        Register(0, {Left}, Left.substr(0, Left.rfind(L'\\') + 1));
        Register(1, {Right}, Right.substr(0, Right.rfind(L'\\') + 1));
    }

    std::wstring Recorder, Record, Left, Right;
};

} // namespace

TEST(CompareCommand, FindCompareCommand_entryByLeftExtension)
{
    const kit::SettingsNode table = ToolTable({{L"txt;HTML", L"text %1 %2"}, {L"gz;bin", L"binary %1 %2"},
                                               {L"*", L"any %1 %2"}});
    const struct {
        const wchar_t* Left;
        const wchar_t* Right;
        const wchar_t* Expected;
    } cases[] = {
        {L"C:\\a\\b.TXT", L"D:\\b.txt", L"text \"C:\\a\\b.TXT\" \"D:\\b.txt\""},
        {L"C:\\a\\index.html", L"D:\\x.bin", L"text \"C:\\a\\index.html\" \"D:\\x.bin\""},
        // only the left file's extension counts
        {L"C:\\a\\b.bin", L"D:\\b.txt", L"binary \"C:\\a\\b.bin\" \"D:\\b.txt\""},
        {L"C:\\a\\a.tar.gz", L"D:\\a.tar.gz", L"binary \"C:\\a\\a.tar.gz\" \"D:\\a.tar.gz\""},
        {L"C:\\a\\Makefile", L"D:\\Makefile", L"any \"C:\\a\\Makefile\" \"D:\\Makefile\""},
        {L"C:\\a.b\\c", L"D:\\c", L"any \"C:\\a.b\\c\" \"D:\\c\""},
        // every path is quoted, so a blank or a "&" in it never splits it
        {L"C:\\my files\\b.txt", L"D:\\b.txt", L"text \"C:\\my files\\b.txt\" \"D:\\b.txt\""},
        {L"C:\\b&c.txt", L"D:\\o s\\b.txt", L"text \"C:\\b&c.txt\" \"D:\\o s\\b.txt\""},
    };
    for (const auto& c : cases) {
        std::wstring line;
        EXPECT_TRUE(FindCompareCommand(table, c.Left, c.Right, line)) << c.Left;
        EXPECT_EQ(c.Expected, line) << c.Left;
    }
}

TEST(CompareCommand, FindCompareCommand_noMatchEmptyCommandAndMissingTable)
{
    std::wstring line = L"untouched";
    EXPECT_FALSE(FindCompareCommand(ToolTable({{L"txt", L"t %1"}, {L"", L"e %1"}}), L"C:\\a.doc", L"D:\\a.doc", line));
    EXPECT_EQ(L"untouched", line);
    EXPECT_FALSE(FindCompareCommand(kit::SettingsNode(), L"C:\\a.txt", L"D:\\a.txt", line));
    // the defaults: ".TXT" matches entry "0", which has no command; the search ends there
    kit::SettingsNode defaults;
    Juxta::PutDefaults(defaults);
    EXPECT_TRUE(FindCompareCommand(defaults, L"C:\\A.TXT", L"D:\\A.TXT", line));
    EXPECT_EQ(L"", line);
    EXPECT_FALSE(StartProcess(line));
    // an empty piece of the list stands for the files without extension
    EXPECT_TRUE(FindCompareCommand(ToolTable({{L"txt;", L"x %1"}}), L"C:\\a", L"D:\\a", line));
    EXPECT_EQ(L"x \"C:\\a\"", line);
    EXPECT_FALSE(FindCompareCommand(ToolTable({{L"txt;", L"x %1"}}), L"C:\\a.doc", L"D:\\a", line));
}

TEST(CompareCommand, SubstituteTags_bothTagsEveryTimeInOnePass)
{
    EXPECT_EQ(L"t L R L", SubstituteTags(L"t %1 %2 %1", L"L", L"R"));
    EXPECT_EQ(L"t", SubstituteTags(L"t", L"L", L"R"));
    EXPECT_EQ(L"%3 % L%", SubstituteTags(L"%3 % %1%", L"L", L"R"));
    EXPECT_EQ(L"LR", SubstituteTags(L"%1%2", L"L", L"R"));
    // a tag inside a path is the path's own text, not a place for the other path
    EXPECT_EQ(L"C:\\100%2.txt D:\\x.txt", SubstituteTags(L"%1 %2", L"C:\\100%2.txt", L"D:\\x.txt"));
}

TEST(CompareCommand, RunsThroughCmd_batchFilesAndCmdItself)
{
    const struct {
        const wchar_t* Line;
        const wchar_t* Program;
        bool Cmd;
    } cases[] = {
        {L"\"C:\\Program Files\\Diff\\diff.exe\" %1 %2", L"C:\\Program Files\\Diff\\diff.exe", false},
        {L"C:\\tools\\diff.exe %1", L"C:\\tools\\diff.exe", false},
        {L"\"C:\\tools\\diff.CMD\" %1", L"C:\\tools\\diff.CMD", true},
        {L"C:\\tools\\diff.bat %1", L"C:\\tools\\diff.bat", true},
        // unquoted with blanks: the words up to the batch file, as CreateProcessW would find it
        {L"C:\\my tools\\diff.cmd %1 %2", L"C:\\my tools\\diff.cmd", true},
        {L"C:\\my tools\\diff.cmd", L"C:\\my tools\\diff.cmd", true},
        {L"cmd /c diff %1", L"cmd", true},
        {L"  C:\\Windows\\System32\\CMD.EXE /c x", L"C:\\Windows\\System32\\CMD.EXE", true},
        {L"cmdtool.exe %1", L"cmdtool.exe", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.Program, CommandProgram(c.Line)) << c.Line;
        EXPECT_EQ(c.Cmd, RunsThroughCmd(c.Line)) << c.Line;
    }
    // cmd.exe starts a batch file, with the program quoted and the rest as written
    EXPECT_EQ(L"cmd.exe /d /s /c \"\"C:\\my tools\\diff.cmd\" \"a b\" \"c\"\"",
              BatchCommandLine(L"C:\\my tools\\diff.cmd \"a b\" \"c\""));
    EXPECT_EQ(L"", BatchCommandLine(L"cmd /c x.bat"));
    // a program found first ends the name, as it does for CreateProcessW
    EXPECT_EQ(L"", BatchCommandLine(L"notepad.exe x.bat"));
    EXPECT_EQ(L"notepad", CommandProgram(L"notepad x.cmd"));
    for (const wchar_t* special : {L"&", L"|", L"<", L">", L"^", L"%", L"!", L"\""})
        EXPECT_TRUE(HoldsCmdSpecial(std::wstring(L"C:\\a") + special + L"b.txt")) << special;
    EXPECT_FALSE(HoldsCmdSpecial(L"C:\\my (1) files\\a;b,c=d.txt"));
}

TEST_F(ExternalToolsTest, StartCompareTool_runsTheToolWithQuotedPathsAndTwoLeftTags)
{
    Start();
    Pair(L"left side\\Report.TXT", L"right\\report.txt");
    SetTool(0, L"doc", Recorder + L" doc %1");
    SetTool(1, L"html;txt", Recorder + L" %1 %2 %1");
    SetTool(2, L"*", Recorder + L" any");
    EXPECT_TRUE(StartCompareTool(*Main, 0));
    EXPECT_EQ(Recorder + L" \"" + Left + L"\" \"" + Right + L"\" \"" + Left + L"\"", Recorded());
}

TEST_F(ExternalToolsTest, StartCompareTool_starEntryForAFileWithoutExtension)
{
    Start();
    Pair(L"l\\LICENSE", L"r\\LICENSE");
    SetTool(0, L"txt;html", L"");
    SetTool(1, L"*", Recorder + L" %2 %1");
    EXPECT_TRUE(StartCompareTool(*Main, 0));
    EXPECT_EQ(Recorder + L" \"" + Right + L"\" \"" + Left + L"\"", Recorded());
}

TEST_F(ExternalToolsTest, StartCompareTool_falseForABlankOrMissingSide)
{
    Start();
    const std::wstring only = Folder.WriteFile(L"l\\only.txt", "x");
    RegisterFile(0, only);
    SetTool(0, L"*", Recorder + L" %1 %2");
    EXPECT_FALSE(StartCompareTool(*Main, 0));
    EXPECT_FALSE(StartCompareTool(*Main, 7));
    Pair(L"l\\gone.txt", L"r\\gone.txt");
    ASSERT_TRUE(DeleteFileW(Right.c_str()));
    EXPECT_FALSE(StartCompareTool(*Main, 1));
    // nothing was started
    harness::PumpUntil([] { return false; }, 500);
    EXPECT_FALSE(kit::PathExists(Record));
    // a tool that cannot be started is not an error of the command
    Pair(L"l\\b.txt", L"r\\b.txt");
    SetTool(0, L"*", Folder.PathOf(L"no such tool.exe") + L" %1");
    EXPECT_TRUE(StartCompareTool(*Main, 2));
}

// A batch file as the compare tool: cmd.exe parses its command line, so a file name must not be able to run a
// command. The file "x&marker&.txt" would run marker.cmd from the current folder, which writes marker.txt.
TEST_F(ExternalToolsTest, StartCompareTool_batchToolGetsQuotedPathsAndNoCommandFromAName)
{
    Start();
    const std::wstring ran = Folder.PathOf(L"ran.txt"), marker = Folder.PathOf(L"marker.txt");
    const std::wstring tool = Folder.WriteFile(L"my tools\\tool.cmd", "@echo %1 %2>\"" + kit::ToNarrow(ran) + "\"\r\n");
    Folder.WriteFile(L"marker.cmd", "@echo marker>\"" + kit::ToNarrow(marker) + "\"\r\n");
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(Folder.Path().c_str()));
    SetTool(0, L"*", L"\"" + tool + L"\" %1 %2");

    Pair(L"l\\a b.txt", L"r\\a b.txt");
    EXPECT_TRUE(StartCompareTool(*Main, 0));
    // the echo is written in pieces: its line end comes last
    std::string echoed;
    harness::PumpUntil([&] {
        std::ifstream in(kit::ToNarrow(ran).c_str(), std::ios::binary);
        echoed.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return echoed.size() >= 2 && echoed.compare(echoed.size() - 2, 2, "\r\n") == 0;
    }, 15000);
    EXPECT_EQ("\"" + kit::ToNarrow(Left) + "\" \"" + kit::ToNarrow(Right) + "\"\r\n", echoed);
    ASSERT_TRUE(DeleteFileW(ran.c_str()));

    Pair(L"l\\x&marker&.txt", L"r\\x&marker&.txt");
    ASSERT_EQ(std::wstring::npos, Left.find(L' '));
    harness::DialogWatcher watcher;
    watcher.Answer(IDOK);
    EXPECT_TRUE(StartCompareTool(*Main, 1));
    ASSERT_EQ(1u, watcher.Seen().size());
    EXPECT_EQ(CmdSpecialMessage(Left), watcher.Seen()[0].Text);
    harness::PumpUntil([&] { return kit::PathExists(marker) || kit::PathExists(ran); }, 2000);
    EXPECT_FALSE(kit::PathExists(marker));
    EXPECT_FALSE(kit::PathExists(ran));
    SetCurrentDirectoryW(previous);
}

TEST_F(ExternalToolsTest, OpenWithShell_handsAnExistingFileToTheShell)
{
    Start();
    // a program as the row's file: the shell runs it, and it records that it ran
    std::ifstream in(std::string(RECORDER_EXE), std::ios::binary);
    const std::string program((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(program.empty());
    const std::wstring copy = Folder.WriteFile(L"l\\opened.exe", program);
    RegisterFile(0, copy);
    EXPECT_FALSE(OpenWithShell(List(0), -1, Main->Handle));
    EXPECT_FALSE(OpenWithShell(List(0), 3, Main->Handle));
    EXPECT_TRUE(OpenWithShell(List(0), 0, Main->Handle));
    EXPECT_NE(std::wstring::npos, Recorded().find(L"opened.exe"));
    ASSERT_TRUE(DeleteFileW(Record.c_str()));
    // the right side's blank row and a file that has gone do nothing
    EXPECT_FALSE(OpenWithShell(List(1), 0, Main->Handle));
    harness::PumpUntil([] { return false; }, 300);
    ASSERT_TRUE(DeleteFileW(copy.c_str()));
    EXPECT_FALSE(OpenWithShell(List(0), 0, Main->Handle));
}

TEST_F(ExternalToolsTest, DoubleClick_followsTheChosenAction)
{
    Start();
    Pair(L"l\\a.txt", L"r\\a.txt");
    SetTool(0, L"*", Recorder + L" %1 %2");

    // "ハッシュの比較" (the default): only for a row whose check has finished
    harness::DialogWatcher watcher;
    RunDoubleClickAction(*Main, List(1), 0);
    EXPECT_EQ(0u, watcher.Seen().size());
    Finish(0, 0, L"11111111", L"4");
    Finish(1, 0, L"22222222", L"5");
    watcher.Answer(IDC_CLOSE);
    RunDoubleClickAction(*Main, List(1), 0);
    ASSERT_EQ(1u, watcher.Seen().size());
    EXPECT_EQ(L"ハッシュ値の比較", watcher.Seen()[0].Caption);
    EXPECT_EQ(0, Main->GetContextRow());
    EXPECT_EQ(1, Main->GetCurrentSide());
    EXPECT_NE(std::find(watcher.Seen()[0].Texts.begin(), watcher.Seen()[0].Texts.end(), Right),
              watcher.Seen()[0].Texts.end());

    // "比較ツールの起動"
    Main->GetSettings().SetBool(L"CompareHash", false);
    Main->GetSettings().SetBool(L"Compare", true);
    RunDoubleClickAction(*Main, List(1), 0);
    EXPECT_EQ(Recorder + L" \"" + Left + L"\" \"" + Right + L"\"", Recorded());
    EXPECT_EQ(1u, watcher.Seen().size());
}

TEST(ExternalTools, ManualPath_besideTheExecutableAndInstalledByTheBuild)
{
    const std::wstring path = ManualPath();
    EXPECT_EQ(kit::AddBackslash(kit::RemoveFileName(kit::GetModulePath())) + L"Manual\\index.html", path);
    const std::wstring program = harness::HostPath(JUXTA_EXE);
    const std::wstring installed = kit::AddBackslash(kit::RemoveFileName(program)) + L"Manual\\index.html";
    ASSERT_TRUE(kit::PathExists(installed)) << "no manual beside " << JUXTA_EXE;
    std::ifstream in(kit::ToNarrow(installed).c_str(), std::ios::binary);
    const std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(std::string::npos, html.find("<html lang=\"ja\">"));
    for (const char* mark : {"○", "×", "←", "→", "？", "%1", "%2"})
        EXPECT_NE(std::string::npos, html.find(mark)) << mark;
}

TEST_F(ExternalToolsTest, VersionDialog_versionTextsCentredAndThePictureLink)
{
    Start();
    MoveWindow(Main->Handle, 100, 80, 700, 500, TRUE);
    harness::PumpPending();
    VersionDialog dialog;
    int clicks = 0;
    dialog.PictureClick = [&] { ++clicks; };
    std::wstring name, version;
    harness::DialogWatcher watcher;
    watcher.Answer([&](HWND handle) {
        name = harness::ItemText(handle, IDC_VERSION_NAME);
        version = harness::ItemText(handle, IDC_VERSION_NUMBER);
        RECT picture = harness::WindowRect(GetDlgItem(handle, IDC_VERSION_PICTURE));
        MapWindowPoints(nullptr, handle, reinterpret_cast<POINT*>(&picture), 2);
        const POINT inside = harness::Centre(picture);
        harness::ClickAt(handle, inside.x, inside.y);
        harness::ClickAt(handle, picture.right + 20, picture.bottom + 5);
        return harness::DialogWatcher::PressButton(handle, IDC_CLOSE);
    });
    EXPECT_EQ(0, dialog.Run(*Main));
    ASSERT_EQ(1u, watcher.Seen().size());
    const harness::SeenDialog& seen = watcher.Seen()[0];
    EXPECT_EQ(L"バージョン情報", seen.Caption);
    EXPECT_EQ(L"Juxta", name);
    EXPECT_EQ(L"1.0.0", version);
    EXPECT_EQ(1, clicks);
    const RECT main = harness::WindowRect(Main->Handle);
    const int width = seen.Rect.right - seen.Rect.left, height = seen.Rect.bottom - seen.Rect.top;
    EXPECT_EQ(main.left + (main.right - main.left - width) / 2, seen.Rect.left);
    EXPECT_EQ(main.top + (main.bottom - main.top - height) / 2, seen.Rect.top);
}

TEST_F(ExternalToolsTest, VersionDialog_escClosesAndAModuleWithoutVersionGivesEmptyTexts)
{
    Start();
    harness::DialogWatcher watcher;
    watcher.Answer(IDCANCEL);
    ShowVersion(*Main);
    EXPECT_EQ(1u, watcher.Seen().size());
    EXPECT_EQ(L"Juxta", VersionDialog::ReadVersionString(kit::GetModulePath(), L"ProductName"));
    EXPECT_EQ(L"", VersionDialog::ReadVersionString(kit::GetModulePath(), L"NoSuchValue"));
    EXPECT_EQ(L"", VersionDialog::ReadVersionString(Recorder, L"ProductName"));
    EXPECT_EQ(L"", VersionDialog::ReadVersionString(Folder.PathOf(L"missing.exe"), L"FileVersion"));
}
