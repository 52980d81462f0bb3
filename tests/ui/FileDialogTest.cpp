// kit::FileDialog: the selection buffer's parsing, and the common dialogs answered as a user would.
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>

#include "kit/ui/FileDialog.h"
#include "tests/harness/Harness.h"

namespace {

std::vector<wchar_t> Buffer(const std::wstring& content, size_t size = kit::FileDialog::MultipleBufferSize)
{
    std::vector<wchar_t> buffer(size, L'\0');
    std::copy(content.begin(), content.begin() + static_cast<std::ptrdiff_t>(std::min(size, content.size())),
              buffer.begin());
    return buffer;
}

const std::wstring Filter(L"テキスト(*.txt)\0*.txt\0すべてのファイル(*.*)\0*.*\0", 37);

// types name into the dialog's file field and presses OK
harness::DialogWatcher::Action Choose(const std::wstring& name)
{
    return [name](HWND dialog) {
        return harness::SetFileDialogName(dialog, name) && harness::DialogWatcher::PressButton(dialog, IDOK);
    };
}

} // namespace

TEST(FileDialog, ParseSelection_oneFileIsItsFullPath)
{
    harness::TempFolder folder;
    const std::wstring file = folder.WriteFile(L"a b.txt", "x");
    EXPECT_EQ(std::vector<std::wstring>{file}, kit::FileDialog::ParseSelection(Buffer(file + L'\0')));
}

TEST(FileDialog, ParseSelection_folderAndNamesInDialogOrder)
{
    harness::TempFolder folder;
    const std::wstring content = folder.Path() + L'\0' + L"b.txt" + L'\0' + L"a.txt" + L'\0' + L"日本語.sfv" + L'\0';
    const std::vector<std::wstring> expected = {folder.PathOf(L"b.txt"), folder.PathOf(L"a.txt"),
                                                folder.PathOf(L"日本語.sfv")};
    EXPECT_EQ(expected, kit::FileDialog::ParseSelection(Buffer(content)));
    // a root folder already ends in a backslash
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\x.txt", L"C:\\y.txt"}),
              kit::FileDialog::ParseSelection(Buffer(std::wstring(L"C:\\\0x.txt\0y.txt\0", 16))));
}

TEST(FileDialog, ParseSelection_staysInsideTheBuffer)
{
    EXPECT_TRUE(kit::FileDialog::ParseSelection(Buffer(L"")).empty());
    EXPECT_TRUE(kit::FileDialog::ParseSelection(Buffer(L"C:\\folder", 9)).empty());
    // a name cut off by the end of the buffer is left out; the names before it stay
    const std::wstring content(L"C:\\d\0one\0tw", 11);
    EXPECT_EQ(std::vector<std::wstring>{L"C:\\d\\one"}, kit::FileDialog::ParseSelection(Buffer(content, 11)));
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\d\\one", L"C:\\d\\tw"}),
              kit::FileDialog::ParseSelection(Buffer(content, 12)));
    // a folder with no names yields nothing
    EXPECT_TRUE(kit::FileDialog::ParseSelection(Buffer(std::wstring(L"C:\\d\0\0", 6))).empty());
}

// Windows applies OFN_FILEMUSTEXIST to a save dialog too and then refuses every new name; Wine does not
TEST(FileDialog, Flags_saveAsksForAnExistingFolderNotAnExistingFile)
{
    const uint32_t save = kit::FileDialog::Flags(false, false);
    EXPECT_EQ(0u, save & OFN_FILEMUSTEXIST);
    EXPECT_EQ(static_cast<uint32_t>(OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT),
              save & (OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT));
    EXPECT_EQ(0x8100Cu, kit::FileDialog::Flags(true, false));
    EXPECT_EQ(0x8120Cu, kit::FileDialog::Flags(true, true));
}

TEST(FileDialog, Show_opensChosenFileAndKeepsFilter)
{
    harness::HostWindow host;
    harness::TempFolder folder;
    const std::wstring file = folder.WriteFile(L"list.txt", "abc");
    harness::DialogWatcher watcher;
    watcher.Answer(Choose(file));
    kit::FileDialog dialog;
    std::wstring path = L"start";
    ASSERT_TRUE(dialog.Show(&host, path, true, folder.Path(), L"txt", Filter, 2));
    EXPECT_EQ(file, path);
    EXPECT_EQ(2, dialog.FilterIndex);
    EXPECT_EQ(&host, dialog.Parent);
    ASSERT_EQ(1u, watcher.Seen().size());
    EXPECT_EQ(host.Handle, watcher.Seen()[0].Owner);
}

TEST(FileDialog, Show_cancelLeavesPathUnchanged)
{
    harness::HostWindow host;
    harness::DialogWatcher watcher;
    watcher.Answer(IDCANCEL);
    kit::FileDialog dialog;
    std::wstring path = L"C:\\unchanged.txt";
    EXPECT_FALSE(dialog.Show(&host, path, false, L"", L"txt", Filter, 1));
    EXPECT_EQ(L"C:\\unchanged.txt", path);
    EXPECT_EQ(1u, watcher.Seen().size());
}

TEST(FileDialog, Show_pathTooLongStartsWithEmptyName)
{
    harness::HostWindow host;
    harness::DialogWatcher watcher;
    std::wstring shown = L"not read";
    watcher.Answer([&shown](HWND dialog) {
        HWND field = GetDlgItem(dialog, 0x047c) ? GetDlgItem(dialog, 0x047c) : GetDlgItem(dialog, 0x0480);
        shown = harness::WindowText(field);
        return harness::DialogWatcher::PressButton(dialog, IDCANCEL);
    });
    kit::FileDialog dialog;
    const std::wstring tooLong = L"C:\\" + std::wstring(300, L'a') + L".txt";
    std::wstring path = tooLong;
    EXPECT_FALSE(dialog.Show(&host, path, false, L"", L"txt", Filter, 1));
    EXPECT_EQ(L"", shown);
    EXPECT_EQ(tooLong, path);
}

TEST(FileDialog, ShowMultiple_returnsEveryChosenFile)
{
    harness::HostWindow host;
    harness::TempFolder folder;
    const std::wstring first = folder.WriteFile(L"one.txt", "1");
    const std::wstring second = folder.WriteFile(L"two.txt", "2");
    harness::DialogWatcher watcher;
    watcher.Answer(Choose(L"\"one.txt\" \"two.txt\""));
    watcher.Answer(Choose(L"two.txt"));
    kit::FileDialog dialog;
    std::vector<std::wstring> paths;
    ASSERT_TRUE(dialog.ShowMultiple(&host, folder.Path(), L"", Filter, paths));
    EXPECT_EQ((std::vector<std::wstring>{first, second}), paths);
    EXPECT_EQ(0, dialog.FilterIndex);

    // a single choice comes back as its full path
    ASSERT_TRUE(dialog.ShowMultiple(&host, folder.Path(), L"", Filter, paths));
    EXPECT_EQ(std::vector<std::wstring>{second}, paths);
}
