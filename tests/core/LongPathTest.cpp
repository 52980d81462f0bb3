// The extended-length form of paths: expected values follow the system's own normalisation of plain paths
// (GetFullPathNameW drops "." and "..", a single trailing dot of a name and trailing dots and blanks at the end).
#include "kit/core/LongPath.h"

#ifdef _WIN32
#include "kit/core/File.h"
#include "kit/core/Path.h"
#include "kit/core/SettingsNode.h"
#include "tests/core/SeenPaths.h"
#include "tests/core/TempFolder.h"

#endif

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
    const wchar_t* Path;
    const wchar_t* Extended;
};

TEST(LongPath, ExtendedPath_knownForms)
{
    const Case cases[] = {
        {L"C:\\Data\\File.txt", L"\\\\?\\C:\\Data\\File.txt"},
        {L"c:/data//sub\\file.txt", L"\\\\?\\c:\\data\\sub\\file.txt"},
        {L"C:\\", L"\\\\?\\C:\\"},
        {L"C:\\a\\.\\b\\..\\c", L"\\\\?\\C:\\a\\c"},
        {L"C:\\..\\..\\a", L"\\\\?\\C:\\a"},
        {L"C:\\a\\b\\..", L"\\\\?\\C:\\a"},
        {L"C:\\a\\sub\\", L"\\\\?\\C:\\a\\sub\\"},
        {L"C:\\a\\name. . ", L"\\\\?\\C:\\a\\name"},
        {L"C:\\folder.\\file.", L"\\\\?\\C:\\folder\\file"},
        {L"C:\\blank \\x", L"\\\\?\\C:\\blank \\x"},
        {L"C:\\three...\\x", L"\\\\?\\C:\\three...\\x"},
        {L"\\\\server\\share\\a\\b.txt", L"\\\\?\\UNC\\server\\share\\a\\b.txt"},
        {L"\\\\server\\share\\..\\..\\a", L"\\\\?\\UNC\\server\\share\\a"},
        {L"//server/share/./a", L"\\\\?\\UNC\\server\\share\\a"},
        // already extended, or not a full path: unchanged
        {L"\\\\?\\C:\\a\\..\\b. ", L"\\\\?\\C:\\a\\..\\b. "},
        {L"\\\\?\\UNC\\server\\share\\a", L"\\\\?\\UNC\\server\\share\\a"},
        {L"\\\\.\\pipe\\x", L"\\\\.\\pipe\\x"},
        {L"relative\\a.txt", L"relative\\a.txt"},
        {L"C:a.txt", L"C:a.txt"},
        {L"\\\\server", L"\\\\server"},
        {L"", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.Extended, kit::ExtendedPath(c.Path)) << std::string(c.Path, c.Path + wcslen(c.Path));
}

TEST(LongPath, SystemPath_extendsOnlyPathsPastTheFolderLimit)
{
    const std::wstring shortest = L"C:\\" + std::wstring(244, L'a');
    EXPECT_EQ(247u, shortest.size());
    EXPECT_EQ(shortest, kit::SystemPath(shortest));
    const std::wstring longer = shortest + L"\\b";
    EXPECT_EQ(L"\\\\?\\" + longer, kit::SystemPath(longer));
    EXPECT_EQ(longer, kit::DisplayPath(kit::SystemPath(longer)));
    const std::wstring unc = L"\\\\server\\share\\" + std::wstring(300, L'x');
    EXPECT_EQ(L"\\\\?\\UNC\\server\\share\\" + std::wstring(300, L'x'), kit::SystemPath(unc));
    EXPECT_EQ(unc, kit::DisplayPath(kit::SystemPath(unc)));
}

#ifdef _WIN32

// Wine takes long plain paths too, so what proves the extended form is that every call handed its path over
TEST(LongPath, FileFoldersAndSettingsFile_passTheirPathsThrough)
{
    TempFolder temp;
    const std::wstring folder = temp.Path + SeenPaths::DeepFolders();
    const std::wstring file = folder + L"\\list.txt";
    const std::wstring written = folder + L"\\list.txt.tmp";
    const std::wstring settings = folder + L"\\juxta.dat";
    ASSERT_GT(file.size(), 300u);
    SeenPaths seen;

    kit::CreateFolders(folder);
    kit::File out;
    ASSERT_TRUE(out.OpenWrite(written));
    ASSERT_EQ(5u, out.Write("hello", 5));
    ASSERT_TRUE(out.Close());
    ASSERT_TRUE(kit::File::Replace(written, file));
    EXPECT_TRUE(kit::PathExists(file));
    kit::File in;
    ASSERT_TRUE(in.OpenRead(file));
    EXPECT_EQ(5u, in.GetSize());
    in.Close();
    EXPECT_TRUE(kit::File::Remove(file));
    kit::SettingsNode node;
    node.SetInt(L"CheckNum", 3);
    ASSERT_TRUE(node.Save(settings));
    kit::SettingsNode loaded;
    ASSERT_TRUE(loaded.Load(settings));
    EXPECT_EQ(3, loaded.GetInt(L"CheckNum", 0));
    seen.Stop();

    for (const std::wstring& path : {folder, written, file, settings})
        EXPECT_EQ(1u, seen.count(path)) << "not through SystemPath: " << path.size() << " characters";
    EXPECT_FALSE(kit::PathExists(file));
}

#endif

} // namespace
