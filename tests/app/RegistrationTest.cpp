// Registration of dropped files and folders into a real main window: relative keys, pairing of the two sides,
// "SubDirectory", dot-folders, hash lists dropped alone, the drop name and the "ファイル登録中…" window.
#include "app/check/Registration.h"
#include "app/lists/KeyCase.h"
#include "kit/core/LongPath.h"
#include "tests/app/CheckTesting.h"
#include "tests/core/SeenPaths.h"
#include "kit/core/Path.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace checktesting;

namespace {

class RegistrationTest : public MainWindowTest {
protected:
    std::vector<std::wstring> Paths(int side)
    {
        std::vector<std::wstring> paths;
        for (int row = 0; row < Rows(); ++row)
            if (!PathCell(side, row).empty())
                paths.push_back(PathCell(side, row));
        std::sort(paths.begin(), paths.end());
        return paths;
    }
    std::wstring RelativeKey(int side, int row)
    {
        FileListView::ItemInfo info;
        List(side).GetItemInfo(row, info);
        return info.RelativeKey;
    }
};

TEST(RegistrationName, DropName_lastComponentWithoutExtension)
{
    EXPECT_EQ(L"Data", Registration::DropName(L"C:\\Work\\Data.Old"));
    EXPECT_EQ(L"Photo", Registration::DropName(L"C:\\Photo.JPG"));
    EXPECT_EQ(L"Folder", Registration::DropName(L"C:\\Folder"));
}

TEST_F(RegistrationTest, SameTreeOnBothSides_pairsByRelativePath)
{
    Configure(true, false, false);
    for (const wchar_t* side : {L"A", L"B"}) {
        Temp.WriteFile(std::wstring(side) + L"\\x.txt", "x");
        Temp.WriteFile(std::wstring(side) + L"\\sub\\y.txt", "y");
        Temp.WriteFile(std::wstring(side) + L"\\sub\\deeper\\z.txt", "z");
    }
    Drop(0, {Temp.PathOf(L"A")});
    Drop(1, {Temp.PathOf(L"B")});
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(3, Rows());
    for (int row = 0; row < 3; ++row) {
        const std::wstring left = PathCell(0, row);
        const std::wstring right = PathCell(1, row);
        EXPECT_EQ(left.substr(Temp.PathOf(L"A").size()), right.substr(Temp.PathOf(L"B").size())) << row;
        EXPECT_EQ(RelativeKey(0, row), RelativeKey(1, row));
        EXPECT_EQ(L"○", MarkCell(row));
    }
    EXPECT_GE(RowOf(0, Temp.PathOf(L"A\\sub\\deeper\\z.txt")), 0);
    EXPECT_EQ(L"sub\\deeper\\z.txt", RelativeKey(0, RowOf(0, Temp.PathOf(L"A\\sub\\deeper\\z.txt"))));
    EXPECT_EQ(3, List(0).FileCount());
    EXPECT_EQ(3, List(1).FileCount());
    EXPECT_EQ(1, Main->GetCurrentSide());
}

TEST_F(RegistrationTest, SingleFileThenFolder_rightFillsTheLeftRow)
{
    Configure(true, false, false);
    const std::wstring left = Temp.WriteFile(L"one\\Report.txt", "same");
    Temp.WriteFile(L"folder\\Report.txt", "same");
    Temp.WriteFile(L"folder\\other.txt", "other");
    Drop(0, {left});
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(L"report.txt", RelativeKey(0, 0));
    Drop(1, {Temp.PathOf(L"folder")});
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(2, Rows());
    EXPECT_EQ(Temp.PathOf(L"folder\\Report.txt"), PathCell(1, 0));
    EXPECT_EQ(L"○", MarkCell(0));
    EXPECT_EQ(Temp.PathOf(L"folder\\other.txt"), PathCell(1, 1));
    EXPECT_EQ(L"→", MarkCell(1));
}

TEST_F(RegistrationTest, TwoCandidatesForOneGap_longestCommonTrailingPathWins)
{
    Configure(true, false, false);
    const std::wstring left = Temp.WriteFile(L"left\\data\\x.txt", "x");
    const std::wstring closer = Temp.WriteFile(L"right1\\data\\x.txt", "x");
    const std::wstring farther = Temp.WriteFile(L"right2\\other\\x.txt", "x");
    Drop(0, {left});
    ASSERT_TRUE(WaitIdle());
    // the weaker candidate first, so that it must give the row up again
    Drop(1, {farther, closer});
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(2, Rows());
    EXPECT_EQ(closer, PathCell(1, 0));
    EXPECT_EQ(L"○", MarkCell(0));
    EXPECT_EQ(farther, PathCell(1, 1));
    EXPECT_EQ(L"→", MarkCell(1));
}

TEST_F(RegistrationTest, CaseOnlyDifferences_pair)
{
    Configure(true, false, false);
    Temp.WriteFile(L"L\\Docs\\ReadMe.TXT", "text");
    Temp.WriteFile(L"R\\DOCS\\readme.txt", "text");
    Drop(0, {Temp.PathOf(L"L")});
    Drop(1, {Temp.PathOf(L"R")});
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(1, Rows());
    EXPECT_EQ(L"docs\\readme.txt", RelativeKey(0, 0));
    EXPECT_EQ(L"○", MarkCell(0));
    // the cells keep the paths as the file system spells them
    EXPECT_EQ(Temp.PathOf(L"L\\Docs\\ReadMe.TXT"), PathCell(0, 0));
    // beyond ASCII: U+0080 to U+00FF stay as they are, later letters are lower-cased
    EXPECT_EQ(L"a\u00C4\u03C9z", KeyCase::Lower(L"A\u00C4\u03A9Z"));
}

TEST_F(RegistrationTest, SubDirectoryOff_onlyTopFiles)
{
    Configure(true, false, false);
    SetSetting(L"SubDirectory", false);
    Temp.WriteFile(L"top\\a.txt", "a");
    Temp.WriteFile(L"top\\b.txt", "b");
    Temp.WriteFile(L"top\\sub\\c.txt", "c");
    Drop(0, {Temp.PathOf(L"top")});
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ((std::vector<std::wstring>{Temp.PathOf(L"top\\a.txt"), Temp.PathOf(L"top\\b.txt")}), Paths(0));
}

TEST_F(RegistrationTest, DotFolders_skippedDotFilesRegistered)
{
    Configure(true, false, false);
    Temp.WriteFile(L"repo\\.git\\HEAD", "ref");
    Temp.WriteFile(L"repo\\.git\\objects\\ab", "blob");
    Temp.WriteFile(L"repo\\.cache\\x", "x");
    Temp.WriteFile(L"repo\\.gitignore", "*.o");
    Temp.WriteFile(L"repo\\src.v2\\main.c", "int");
    Drop(0, {Temp.PathOf(L"repo")});
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ((std::vector<std::wstring>{Temp.PathOf(L"repo\\.gitignore"), Temp.PathOf(L"repo\\src.v2\\main.c")}),
              Paths(0));
}

TEST_F(RegistrationTest, ThreeFilesFromOneFolder_keyedByLowerCaseName)
{
    Configure(true, false, false);
    const std::vector<std::wstring> files = {Temp.WriteFile(L"f\\One.TXT", "1"), Temp.WriteFile(L"f\\Two.txt", "2"),
                                             Temp.WriteFile(L"f\\写真.JPG", "3")};
    Drop(0, files);
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(3, Rows());
    // a drop keeps its order
    EXPECT_EQ(L"one.txt", RelativeKey(0, 0));
    EXPECT_EQ(L"two.txt", RelativeKey(0, 1));
    EXPECT_EQ(L"写真.jpg", RelativeKey(0, 2));
    EXPECT_EQ(L"One", Main->GetLastName());
}

TEST_F(RegistrationTest, FileRegisteredTwice_twoRows)
{
    Configure(true, false, false);
    const std::wstring file = Temp.WriteFile(L"twice.bin", "2");
    Drop(0, {file});
    Drop(0, {file});
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(2, Rows());
}

TEST_F(RegistrationTest, HashListAlone_entriesWithAnotherFile_bothFiles)
{
    Configure(true, false, false);
    const std::wstring list = Temp.WriteFile(L"l\\set.SFV", "a.bin 1A2B3C4D\r\nb.bin 00000000\r\n");
    const std::wstring other = Temp.WriteFile(L"l\\c.bin", "c");
    Drop(0, {list});
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ((std::vector<std::wstring>{L"a.bin", L"b.bin"}), Paths(0));
    EXPECT_EQ(L"1A2B3C4D", HashCell(0, RowOf(0, L"a.bin"), HashKind::Crc32));

    Drop(1, {list, other});
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ((std::vector<std::wstring>{other, list}), Paths(1));
}

TEST_F(RegistrationTest, NotAHashList_registeredAsFile)
{
    Configure(true, false, false);
    const std::wstring notes = Temp.WriteFile(L"notes.txt", "plain words without any hash\r\n");
    Drop(0, {notes});
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ((std::vector<std::wstring>{notes}), Paths(0));
    EXPECT_EQ(ReferenceOf(notes).Crc32, HashCell(0, 0, HashKind::Crc32));
}

TEST_F(RegistrationTest, VanishedPath_nothingRegistered)
{
    Configure(true, false, false);
    Drop(0, {Temp.PathOf(L"never-there"), Temp.PathOf(L"never-there.txt")});
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(0, Rows());
}

// Starts a Unix program through Wine's start.exe. Started from this process, Wine forks it from here and hands
// back no process handle; later, a send from another thread to this thread's windows could then hang for good.
bool RunUnix(const std::wstring& command)
{
    std::wstring line = L"start.exe /unix " + command;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

// A folder link as a Unix symbolic link (Wine's CreateSymbolicLinkW makes nothing), removed again by the object:
// the temporary folder's removal would follow it.
class FolderLink {
public:
    FolderLink(const std::wstring& link, const std::string& target) : Link(link)
    {
        typedef char*(CDECL * UnixName)(const wchar_t*);
        const UnixName unixName = reinterpret_cast<UnixName>(reinterpret_cast<void (*)()>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
        if (char* name = unixName ? unixName(link.c_str()) : nullptr) {
            UnixPath = kit::ToWide(name);
            HeapFree(GetProcessHeap(), 0, name);
        }
        // Wine does not wait for a Unix program's end: the link is there when it is there
        Made = !UnixPath.empty() && RunUnix(L"/bin/ln -s " + kit::ToWide(target) + L" " + UnixPath) &&
               harness::PumpUntil([&] { return GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000);
    }
    ~FolderLink()
    {
        if (UnixPath.empty() || !RunUnix(L"/bin/rm -f " + UnixPath))
            return;
        const std::wstring link = Link;
        harness::PumpUntil([&] { return GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES; }, 10000);
    }
    bool Made = false;

private:
    std::wstring Link, UnixPath;
};

// Links back to a folder above would register the tree again at every level (two of them, exponentially): each
// folder is scanned once on its path, the links (or the folder below a link that repeats one) are skipped and
// named in a message.
TEST_F(RegistrationTest, LinkLoops_skippedAndNamed)
{
    Configure(true, false, false);
    Temp.WriteFile(L"tree\\a.txt", "a");
    Temp.WriteFile(L"tree\\sub\\b.txt", "b");
    const FolderLink up(Temp.PathOf(L"tree\\sub\\up"), "..");
    const FolderLink self(Temp.PathOf(L"tree\\sub\\self"), ".");
    // a link out of the tree leads back into it through a plain folder
    const FolderLink out(Temp.PathOf(L"tree\\sub\\out"), "../..");
    ASSERT_TRUE(up.Made && self.Made && out.Made);
    harness::DialogWatcher watcher;
    watcher.Answer(IDOK);
    Drop(0, {Temp.PathOf(L"tree")});
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ((std::vector<std::wstring>{Temp.PathOf(L"tree\\a.txt"), Temp.PathOf(L"tree\\sub\\b.txt")}), Paths(0));
    ASSERT_EQ(1u, watcher.Seen().size());
    const std::wstring& text = watcher.Seen()[0].Text;
    EXPECT_NE(std::wstring::npos, text.find(Temp.PathOf(L"tree\\sub\\up"))) << text;
    EXPECT_NE(std::wstring::npos, text.find(Temp.PathOf(L"tree\\sub\\self"))) << text;
    EXPECT_NE(std::wstring::npos, text.find(Temp.PathOf(L"tree\\sub\\out\\tree"))) << text;
}

// the static texts of every dialog this thread destroys while the hook is set
std::vector<std::wstring> DestroyedDialogTexts;

LRESULT CALLBACK WatchDestroy(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_DESTROYWND) {
        HWND window = reinterpret_cast<HWND>(wParam);
        if (harness::ClassName(window) == L"#32770")
            for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                DestroyedDialogTexts.push_back(harness::WindowText(child));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(RegistrationTest, Batch_showsTheBusyWindowUntilItEnds)
{
    Configure(true, false, false);
    const std::wstring file = Temp.WriteFile(L"busy.bin", "b");
    DestroyedDialogTexts.clear();
    HHOOK hook = SetWindowsHookExW(WH_CBT, &WatchDestroy, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(hook);
    Drop(0, {file});
    UnhookWindowsHookEx(hook);
    EXPECT_EQ((std::vector<std::wstring>{L"ファイル登録中…"}), DestroyedDialogTexts);
    ASSERT_TRUE(WaitIdle());
}

// a tree whose paths pass 300 characters is scanned, checked and paired; the scan and the check hand their paths
// to the extended-length form
TEST_F(RegistrationTest, LongPaths_scannedCheckedAndPaired)
{
    Configure(true, false, false);
    const std::wstring deep = SeenPaths::DeepFolders();
    const std::wstring left = Temp.WriteFile(L"A" + deep + L"\\x.txt", "x");
    Temp.WriteFile(L"B" + deep + L"\\x.txt", "x");
    ASSERT_GT(left.size(), 300u);
    SeenPaths seen;
    Drop(0, {Temp.PathOf(L"A")});
    Drop(1, {Temp.PathOf(L"B")});
    ASSERT_TRUE(WaitIdle());
    seen.Stop();

    ASSERT_EQ(1, Rows());
    EXPECT_EQ(left, PathCell(0, 0));
    EXPECT_EQ(L"8CDC1683", HashCell(0, 0, 0));
    EXPECT_EQ(L"○", MarkCell(0));
    EXPECT_EQ(1u, seen.count(Temp.PathOf(L"A") + deep + L"\\*.*"));
    EXPECT_EQ(1u, seen.count(left));
}

} // namespace
