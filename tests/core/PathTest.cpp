#include "kit/core/Path.h"

#include "kit/core/File.h"
#include "kit/core/PathString.h"
#include "tests/core/TempFolder.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct Case {
    std::wstring Input;
    std::wstring Expected;
};

// Each table holds what the Windows shell path functions return (checked against them under Wine); the string
// versions must agree, since they stand in for paths the shell functions refuse.
void CheckBoth(const std::vector<Case>& cases, std::wstring (*shell)(const std::wstring&),
               std::wstring (*string)(const std::wstring&))
{
    for (const Case& c : cases) {
        EXPECT_EQ(c.Expected, shell(c.Input)) << c.Input;
        EXPECT_EQ(c.Expected, string(c.Input)) << c.Input;
    }
}

} // namespace

TEST(Path, FindExtension_lastDotOfLastComponent)
{
    CheckBoth({{L"C:\\x\\data.bin", L".bin"},
               {L"C:\\x\\data.tar.gz", L".gz"},
               {L"C:\\x\\readme", L""},
               {L"C:\\x.y\\z", L""},
               {L"C:\\x\\a.b c", L""},
               {L"C:\\x\\.hidden", L".hidden"},
               {L"C:\\x\\file.", L"."},
               {L"", L""}},
              kit::FindExtension, kit::pathstring::FindExtension);
}

TEST(Path, RemoveExtension_keepsFolders)
{
    CheckBoth({{L"C:\\x\\data.bin", L"C:\\x\\data"},
               {L"C:\\x\\data (1).bin", L"C:\\x\\data (1)"},
               {L"C:\\x.y\\z", L"C:\\x.y\\z"},
               {L"readme", L"readme"}},
              kit::RemoveExtension, kit::pathstring::RemoveExtension);
}

TEST(Path, RenameExtension_replacesOrAppends)
{
    struct { const wchar_t* Path; const wchar_t* Extension; const wchar_t* Expected; } cases[] = {
        {L"C:\\tools\\app.exe", L".dat", L"C:\\tools\\app.dat"},
        {L"C:\\out\\readme", L".txt", L"C:\\out\\readme.txt"},
        {L"C:\\a.b\\file", L".x", L"C:\\a.b\\file.x"},
        {L"C:\\dir\\my file.tar.gz", L".7z", L"C:\\dir\\my file.tar.7z"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.Expected, kit::RenameExtension(c.Path, c.Extension)) << c.Path;
        EXPECT_EQ(c.Expected, kit::pathstring::RenameExtension(c.Path, c.Extension)) << c.Path;
    }
}

TEST(Path, FindFileName_lastComponent)
{
    CheckBoth({{L"C:\\a\\b.txt", L"b.txt"},
               {L"C:\\a\\", L"a\\"},
               {L"C:b", L"b"},
               {L"C:", L"C:"},
               {L"b.txt", L"b.txt"},
               {L"\\\\server\\share", L"share"},
               {L"C:\\a/b.txt", L"b.txt"}},
              kit::FindFileName, kit::pathstring::FindFileName);
}

TEST(Path, RemoveFileName_keepsRoots)
{
    CheckBoth({{L"C:\\a\\b.txt", L"C:\\a"},
               {L"C:\\a", L"C:\\"},
               {L"C:\\", L"C:\\"},
               {L"file", L""},
               {L"\\file", L"\\"},
               {L"\\\\server\\share", L"\\\\server"}},
              kit::RemoveFileName, kit::pathstring::RemoveFileName);
}

TEST(Path, AddBackslash_exactlyOne)
{
    CheckBoth({{L"C:\\a", L"C:\\a\\"}, {L"C:\\a\\", L"C:\\a\\"}, {L"", L""}}, kit::AddBackslash,
              kit::pathstring::AddBackslash);
}

TEST(Path, LongPaths_beyondTheShellLimit)
{
    std::wstring folder = L"C:\\" + std::wstring(300, L'd') + L"\\";
    EXPECT_EQ(folder + L"app.dat", kit::RenameExtension(folder + L"app.exe", L".dat"));
    EXPECT_EQ(folder + L"app", kit::RemoveExtension(folder + L"app.exe"));
    EXPECT_EQ(L".exe", kit::FindExtension(folder + L"app.exe"));
    EXPECT_EQ(L"app.exe", kit::FindFileName(folder + L"app.exe"));
    EXPECT_EQ(folder.substr(0, folder.size() - 1), kit::RemoveFileName(folder + L"app.exe"));
    EXPECT_EQ(folder, kit::AddBackslash(folder.substr(0, folder.size() - 1)));
}

TEST(Path, GetModulePath_namesThisProgram)
{
    std::wstring path = kit::GetModulePath();
    EXPECT_EQ(0u, kit::FindFileName(path).find(L"core_tests"));
    EXPECT_TRUE(kit::PathExists(path));
    EXPECT_EQ(L".dat", kit::FindExtension(kit::RenameExtension(path, L".dat")));
}

TEST(Path, StripCopyNumber_onlyATrailingNumberInParentheses)
{
    EXPECT_EQ(L"x", kit::StripCopyNumber(L"x (3)"));
    EXPECT_EQ(L"C:\\out\\data", kit::StripCopyNumber(L"C:\\out\\data (12)"));
    EXPECT_EQ(L"x (1)", kit::StripCopyNumber(L"x (1) (2)"));
    EXPECT_EQ(L"x(3)", kit::StripCopyNumber(L"x(3)"));
    EXPECT_EQ(L" (3)", kit::StripCopyNumber(L" (3)"));
    EXPECT_EQ(L"x (a)", kit::StripCopyNumber(L"x (a)"));
    EXPECT_EQ(L"x ()", kit::StripCopyNumber(L"x ()"));
}

TEST(Path, FindFreeName_numbersTheStem)
{
    std::set<std::wstring> existing;
    auto exists = [&](const std::wstring& p) { return existing.count(p) != 0; };

    existing = {L"C:\\out\\data.bin"};
    EXPECT_EQ(L"C:\\out\\data (1).bin", kit::FindFreeName(L"C:\\out\\data.bin", exists));
    existing = {L"C:\\out\\data.bin", L"C:\\out\\data (1).bin"};
    EXPECT_EQ(L"C:\\out\\data (2).bin", kit::FindFreeName(L"C:\\out\\data (1).bin", exists));
    existing.clear();
    EXPECT_EQ(L"C:\\out\\data (1).bin", kit::FindFreeName(L"C:\\out\\data (1).bin", exists));
    EXPECT_EQ(L"C:\\out\\x (1)", kit::FindFreeName(L"C:\\out\\x (3)", exists));
    EXPECT_EQ(L"C:\\out\\readme (1)", kit::FindFreeName(L"C:\\out\\readme", exists));
    EXPECT_EQ(L"C:\\my dir\\a b (1).txt", kit::FindFreeName(L"C:\\my dir\\a b.txt", exists));
}

TEST(Path, FindFreeName_allTakenReturnsInput)
{
    int asked = 0;
    std::wstring last;
    auto taken = [&](const std::wstring& p) {
        ++asked;
        last = p;
        return true;
    };
    EXPECT_EQ(L"C:\\out\\data.bin", kit::FindFreeName(L"C:\\out\\data.bin", taken));
    EXPECT_EQ(9999, asked);
    EXPECT_EQ(L"C:\\out\\data (9999).bin", last);
}

TEST(Path, FindFreeName_onDisk)
{
    TempFolder folder;
    kit::File out;
    ASSERT_TRUE(out.OpenWrite(folder / L"data.bin"));
    ASSERT_TRUE(out.OpenWrite(folder / L"data (1).bin"));
    out.Close();
    kit::CreateFolders(folder / L"data (2).bin");
    EXPECT_EQ(folder / L"data (3).bin", kit::FindFreeName(folder / L"data.bin"));
}

TEST(Path, CreateFolders_everyLevel)
{
    TempFolder folder;
    const wchar_t s = TempFolder::Separator;
    std::wstring deep = folder / (L"a" + std::wstring(1, s) + L"\u30d5\u30a9\u30eb\u30c0" + s + L"c");
    EXPECT_FALSE(kit::PathExists(folder / L"a"));
    EXPECT_TRUE(kit::CreateFolders(deep));
    EXPECT_TRUE(kit::PathExists(folder / L"a"));
    EXPECT_TRUE(kit::PathExists(deep));
    // existing levels and a trailing separator are fine
    EXPECT_TRUE(kit::CreateFolders(deep + s + L"d" + s));
    EXPECT_TRUE(kit::PathExists(deep + s + L"d"));
    kit::File out;
    EXPECT_TRUE(out.OpenWrite(deep + s + L"d" + s + L"file.txt"));
}

TEST(Path, IsNumber_wholeTextOfAsciiDigits)
{
    EXPECT_TRUE(kit::IsNumber("0123"));
    EXPECT_TRUE(kit::IsNumber("7"));
    EXPECT_FALSE(kit::IsNumber("12a"));
    EXPECT_FALSE(kit::IsNumber(""));
    EXPECT_FALSE(kit::IsNumber(" 12"));
    EXPECT_FALSE(kit::IsNumber("12 "));
    EXPECT_FALSE(kit::IsNumber("12\n"));
    EXPECT_FALSE(kit::IsNumber("-1"));
    EXPECT_FALSE(kit::IsNumber("\x82\x50")); // full-width 1 in Shift_JIS
}

#ifdef _WIN32

TEST(Path, ToNarrow_codePage932)
{
    ASSERT_EQ(932u, GetACP());
    bool usedDefault = true;
    EXPECT_EQ("\x93\xfa\x96\x7b\x8c\xea\x83\x65\x83\x4c\x83\x58\x83\x67",
              kit::ToNarrow(L"\u65e5\u672c\u8a9e\u30c6\u30ad\u30b9\u30c8", &usedDefault));
    EXPECT_FALSE(usedDefault);
    // a trail byte 0x5C, half-width katakana and ASCII
    EXPECT_EQ("\x95\x5c\xb1" "a", kit::ToNarrow(L"\u8868\uff71a"));
    EXPECT_EQ("", kit::ToNarrow(L"", &usedDefault));
    EXPECT_FALSE(usedDefault);
    // the code page has no é nor Hangul: the list output must be able to warn about that
    kit::ToNarrow(L"caf\u00e9", &usedDefault);
    EXPECT_TRUE(usedDefault);
    kit::ToNarrow(L"\ud55c", &usedDefault);
    EXPECT_TRUE(usedDefault);
}

TEST(Path, ToWide_codePage932)
{
    EXPECT_EQ(L"\u65e5\u672c\u8a9e\u30c6\u30ad\u30b9\u30c8",
              kit::ToWide("\x93\xfa\x96\x7b\x8c\xea\x83\x65\x83\x4c\x83\x58\x83\x67"));
    EXPECT_EQ(L"\u8868\uff71a", kit::ToWide("\x95\x5c\xb1" "a"));
    EXPECT_EQ(L"", kit::ToWide(""));
    std::wstring text = L"C:\\\u8868\\\u30bd\u30d5\u30c8.txt";
    EXPECT_EQ(text, kit::ToWide(kit::ToNarrow(text)));
}

// Windows' "Unicode UTF-8" option makes the ANSI code page 65001, which takes no default-character pointer
TEST(Path, ToNarrow_codePageUtf8)
{
    bool usedDefault = true;
    EXPECT_EQ("\xe6\x97\xa5 \xc3\xa9", kit::ToNarrowInCodePage(L"\u65e5 \u00e9", &usedDefault, CP_UTF8));
    EXPECT_FALSE(usedDefault);
    EXPECT_EQ("\xe6\x97\xa5", kit::ToNarrowInCodePage(L"\u65e5", nullptr, CP_UTF8));
    // a lone surrogate has no UTF-8 form
    kit::ToNarrowInCodePage(std::wstring{L'a', wchar_t(0xD83D)}, &usedDefault, CP_UTF8);
    EXPECT_TRUE(usedDefault);
    EXPECT_EQ(L"\u65e5 \u00e9", kit::ToWideInCodePage("\xe6\x97\xa5 \xc3\xa9", CP_UTF8));
}

#else

TEST(Path, ToNarrow_utf8InTheNativeBuild)
{
    bool usedDefault = true;
    EXPECT_EQ("\xe6\x97\xa5\xe6\x9c\xac", kit::ToNarrow(L"\u65e5\u672c", &usedDefault));
    EXPECT_FALSE(usedDefault);
    // a surrogate pair is one character; a lone surrogate has no equivalent
    std::wstring pair = {wchar_t(0xD83D), wchar_t(0xDE00)};
    EXPECT_EQ("\xf0\x9f\x98\x80", kit::ToNarrow(pair, &usedDefault));
    EXPECT_FALSE(usedDefault);
    EXPECT_EQ("a?", kit::ToNarrow(std::wstring{L'a', wchar_t(0xD83D)}, &usedDefault));
    EXPECT_TRUE(usedDefault);

    EXPECT_EQ(pair, kit::ToWide("\xf0\x9f\x98\x80"));
    EXPECT_EQ(L"\u65e5\u672c", kit::ToWide("\xe6\x97\xa5\xe6\x9c\xac"));
    EXPECT_EQ(L"?a??", kit::ToWide("\xff" "a\xe6\x97"));
    EXPECT_EQ(L"??", kit::ToWide("\xc0\xaf")); // overlong '/'
}

#endif
