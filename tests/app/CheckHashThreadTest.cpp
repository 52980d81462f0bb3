// The check of one row, as a user sees it in a real main window: sizes, percentages at the 1 MiB block edge, values
// of empty and large files, files that cannot be read, kinds computed earlier, imported rows.
#include "app/check/CheckHashThread.h"
#include "tests/app/CheckTesting.h"

#include <gtest/gtest.h>

using namespace checktesting;

namespace {

class CheckHashThreadTest : public MainWindowTest {};

TEST(CheckHashThreadText, PercentText_truncates)
{
    EXPECT_EQ(L"0%", CheckHashThread::PercentText(0, 100));
    EXPECT_EQ(L"99%", CheckHashThread::PercentText(MiB, MiB + 1));
    EXPECT_EQ(L"100%", CheckHashThread::PercentText(MiB + 1, MiB + 1));
    // 64-bit arithmetic: 5 GiB of 6 GiB
    EXPECT_EQ(L"83%", CheckHashThread::PercentText(5ull << 30, 6ull << 30));
}

TEST_F(CheckHashThreadTest, EmptyFile_valuesOfEmptyInputAndNoPercentage)
{
    Configure(true, true, true);
    const std::wstring path = Temp.WriteFile(L"empty.bin", std::string());
    CellRecorder recorder(*Main);
    Drop(0, {path});
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(L"0", SizeCell(0, 0));
    EXPECT_EQ(L"00000000", HashCell(0, 0, HashKind::Crc32));
    EXPECT_EQ(L"D41D8CD98F00B204E9800998ECF8427E", HashCell(0, 0, HashKind::Md5));
    EXPECT_EQ(L"DA39A3EE5E6B4B0D3255BFEF95601890AFD80709", HashCell(0, 0, HashKind::Sha1));
    for (int kind = 0; kind < HashKind::Count; ++kind)
        EXPECT_EQ(1u, recorder.TextsOf(0, 0, Main->GetHashColumn(kind)).size()) << kind;
}

TEST_F(CheckHashThreadTest, BlockEdge_percentagesThenValues)
{
    Configure(true, true, true);
    const std::vector<std::pair<std::wstring, size_t>> files = {
        {L"a_below.bin", MiB - 1}, {L"b_exact.bin", MiB}, {L"c_above.bin", MiB + 1}, {L"d_two.bin", 2 * MiB + 1}};
    std::vector<std::wstring> paths;
    for (size_t i = 0; i < files.size(); ++i)
        paths.push_back(Temp.WriteFile(L"edge\\" + files[i].first, Content(files[i].second, uint32_t(i))));
    CellRecorder recorder(*Main);
    Drop(0, {Temp.PathOf(L"edge")});
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(4, Rows());

    // the last block's percentage is never shown: the values take its place
    const std::vector<std::vector<std::wstring>> percentages = {{}, {}, {L"99%"}, {L"49%", L"99%"}};
    for (size_t i = 0; i < files.size(); ++i) {
        const int row = RowOf(0, paths[i]);
        ASSERT_GE(row, 0);
        const Reference expected = ReferenceOf(paths[i]);
        const std::wstring values[3] = {expected.Crc32, expected.Md5, expected.Sha1};
        for (int kind = 0; kind < HashKind::Count; ++kind) {
            std::vector<std::wstring> shown = percentages[i];
            shown.push_back(values[kind]);
            EXPECT_EQ(shown, recorder.TextsOf(0, row, Main->GetHashColumn(kind))) << files[i].first << " " << kind;
        }
        EXPECT_EQ(expected.Size, SizeCell(0, row));
        // the size cell is written once, when the check starts
        EXPECT_EQ(1u, recorder.TextsOf(0, row, Main->GetSizeColumn()).size());
    }
}

TEST_F(CheckHashThreadTest, Sizes_groupedByThousands)
{
    Configure(true, false, false);
    const std::wstring small = Temp.WriteFile(L"s\\small.bin", std::string(999, 'x'));
    const std::wstring large = Temp.WriteFile(L"s\\large.bin", std::string(1234567, 'y'));
    Drop(0, {Temp.PathOf(L"s")});
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(L"999", SizeCell(0, RowOf(0, small)));
    EXPECT_EQ(L"1,234,567", SizeCell(0, RowOf(0, large)));
    EXPECT_EQ(ReferenceOf(large).Crc32, HashCell(0, RowOf(0, large), HashKind::Crc32));
}

// A file that cannot be opened (held without sharing, gone since its registration) shows "読めません" in its value
// cells and its pair is "×", whatever the other file holds: a missing file is not equal to an empty one, also when no
// kind is shown and only the sizes ("0" and "0") are left.
TEST_F(CheckHashThreadTest, UnreadableFiles_cellsSayWhyAndPairsDiffer)
{
    Configure(true, true, false);
    const std::string bytes = Content(3 * MiB, 9);
    for (const wchar_t* name : {L"held.bin", L"fine.bin"}) {
        Temp.WriteFile(std::wstring(L"l\\") + name, bytes);
        Temp.WriteFile(std::wstring(L"r\\") + name, bytes);
    }
    const std::wstring gone = Temp.WriteFile(L"l\\gone.bin", "x");
    Temp.WriteFile(L"r\\gone.bin", std::string());
    Main->GetChecker()->HoldRounds(0);
    Drop(0, {Temp.PathOf(L"l")});
    Drop(1, {Temp.PathOf(L"r")});
    ASSERT_TRUE(DeleteFileW(gone.c_str()));
    HANDLE held = CreateFileW(Temp.PathOf(L"l\\held.bin").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    Main->GetChecker()->ReleaseRounds();
    ASSERT_TRUE(WaitIdle());
    CloseHandle(held);

    for (const wchar_t* name : {L"held.bin", L"gone.bin"}) {
        const int row = RowOf(0, Temp.PathOf(std::wstring(L"l\\") + name));
        ASSERT_GE(row, 0) << name;
        EXPECT_EQ(L"0", SizeCell(0, row)) << name;
        EXPECT_EQ(L"読めません", HashCell(0, row, HashKind::Crc32)) << name;
        EXPECT_EQ(L"読めません", HashCell(0, row, HashKind::Md5)) << name;
        EXPECT_EQ(L"×", MarkCell(row)) << name;
        EXPECT_EQ(NgColour, RowColour(0, row)) << name;
        EXPECT_EQ(NgColour, RowColour(1, row)) << name;
    }
    EXPECT_EQ(L"○", MarkCell(RowOf(0, Temp.PathOf(L"l\\fine.bin"))));

    // the pairs judged again by the sizes alone
    Main->GetCommands().SwitchHashKind(HashKind::Crc32);
    Main->GetCommands().SwitchHashKind(HashKind::Md5);
    ASSERT_TRUE(WaitIdle());
    const int goneRow = RowOf(0, gone);
    EXPECT_EQ(L"0", SizeCell(1, goneRow));
    EXPECT_EQ(L"×", MarkCell(goneRow));
}

TEST_F(CheckHashThreadTest, KindComputedBefore_keepsItsCell)
{
    Configure(true, true, false);
    const std::wstring path = Temp.WriteFile(L"kept.bin", Content(3 * MiB, 7));
    Main->GetChecker()->HoldRounds(0);
    Drop(0, {path});
    // a text that is not the file's CRC-32 shows whether the cell is computed again
    List(0).SetCellText(0, Main->GetHashColumn(HashKind::Crc32), L"DEADBEEF");
    CellRecorder recorder(*Main);
    Main->GetChecker()->ReleaseRounds();
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(L"DEADBEEF", HashCell(0, 0, HashKind::Crc32));
    EXPECT_TRUE(recorder.TextsOf(0, 0, Main->GetHashColumn(HashKind::Crc32)).empty());
    EXPECT_EQ(ReferenceOf(path).Md5, HashCell(0, 0, HashKind::Md5));
}

TEST_F(CheckHashThreadTest, ImportedRow_storedValuesWithoutReading)
{
    // MD5 is shown but the list carries CRC32 alone: the MD5 cell stays empty (no file is read to fill it)
    Configure(true, true, false);
    Temp.WriteFile(L"list\\a.bin", "abc");
    // "abc": CRC-32 352441C2 (zlib crc32); the listed value is wrong on purpose, so it must come from the list
    const std::wstring list = Temp.WriteFile(L"list\\a.sfv", "; a comment\r\na.bin 11223344\r\n");
    Drop(0, {list});
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(1, Rows());
    EXPECT_EQ(L"a.bin", PathCell(0, 0));
    EXPECT_EQ(L"-", SizeCell(0, 0));
    EXPECT_EQ(L"11223344", HashCell(0, 0, HashKind::Crc32));
    EXPECT_EQ(L"", HashCell(0, 0, HashKind::Md5));
    // the list's byte total counts no row of unknown size
    EXPECT_EQ(0u, List(0).TotalSize());
}

TEST_F(CheckHashThreadTest, LargerThan4GiB_readWhole)
{
    Configure(true, false, false);
    // 2^32 + 1 zero bytes: a 32-bit size would read as 1
    const std::wstring path = Temp.WriteSparseFile(L"huge.bin", (1ull << 32) + 1);
    ASSERT_FALSE(path.empty());
    Drop(0, {path});
    ASSERT_TRUE(WaitIdle(600000));
    EXPECT_EQ(L"4,294,967,297", SizeCell(0, 0));
    // zlib.crc32 over 2^32 + 1 zero bytes, computed with Python
    EXPECT_EQ(L"41D912FF", HashCell(0, 0, HashKind::Crc32));
}

} // namespace
