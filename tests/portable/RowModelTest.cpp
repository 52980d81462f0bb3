#include "app/lists/RowModel.h"
#include "app/lists/SizeFormat.h"

#include "tests/portable/PortableTesting.h"
#include "tests/portable/ReferenceMerge.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <list>
#include <random>
#include <thread>

using testing_support::LowerAscii;

namespace {

PendingRecord FileFrom(const std::wstring& path, const std::wstring& base)
{
    return PendingRecord::ForFile(path, base, LowerAscii);
}

// a file registered on its own: its folder is the base
PendingRecord SingleFile(const std::wstring& path)
{
    return FileFrom(path, path.substr(0, path.rfind(L'\\') + 1));
}

PendingRecord Imported(const std::wstring& name)
{
    HashListEntry entry;
    entry.Name = name;
    entry.SizeText = L"-";
    return PendingRecord::ForListEntry(entry, LowerAscii);
}

std::vector<std::wstring> Paths(const RowModel& model, int side)
{
    std::vector<std::wstring> paths;
    for (int row = 0; row < model.RowCount(); ++row)
        paths.push_back(model.GetCell(side, row).Path);
    return paths;
}

const HashKindFlags NoKinds = {{false, false, false}};
const HashKindFlags Crc = {{true, false, false}};

// one side's check from start to end: its CRC32 and its size, then the pair's evaluation
void Check(RowModel& model, int side, int row, const std::wstring& crc, const std::wstring& size)
{
    RowModel::CheckJob job;
    if (model.BeginCheck(side, row, Crc, job)) {
        uint64_t bytes = 0;
        SizeFormat::Parse(size, bytes);
        model.AddBytes(side, bytes);
    }
    model.SetSizeText(side, row, size);
    model.SetValue(side, row, HashKind::Crc32, crc);
    model.EvaluatePair(side, row, Crc);
}

std::vector<int> Marks(const RowModel& model)
{
    std::vector<int> marks;
    for (int row = 0; row < model.RowCount(); ++row)
        marks.push_back(model.GetMark(row));
    return marks;
}

} // namespace

TEST(RowModel, MergePending_foldersPairByRelativePath)
{
    RowModel model;
    model.MergePending(0, {FileFrom(L"C:\\A\\x.txt", L"C:\\A\\"), FileFrom(L"C:\\A\\sub\\y.txt", L"C:\\A\\")});
    RowModel::MergeResult right =
        model.MergePending(1, {FileFrom(L"D:\\B\\sub\\y.txt", L"D:\\B\\"), FileFrom(L"D:\\B\\x.txt", L"D:\\B\\")});

    ASSERT_EQ(2, model.RowCount());
    EXPECT_EQ((std::vector<std::wstring>{L"D:\\B\\x.txt", L"D:\\B\\sub\\y.txt"}), Paths(model, 1));
    EXPECT_EQ((std::vector<int>{PairMark::Unknown, PairMark::Unknown}), Marks(model));
    ASSERT_EQ(2u, right.Filled.size());
    EXPECT_EQ((std::vector<int>{0, 1}), right.Filled);
    EXPECT_TRUE(right.Appended.empty());
    EXPECT_EQ(2, model.MarkCount(PairMark::Unknown));
    EXPECT_EQ(0, model.MarkCount(PairMark::Left));
}

TEST(RowModel, MergePending_unmatchedFilesAreAppendedWithBlankPartner)
{
    RowModel model;
    RowModel::MergeResult left = model.MergePending(0, {SingleFile(L"C:\\A\\one.txt")});
    RowModel::MergeResult right = model.MergePending(1, {SingleFile(L"D:\\B\\two.txt")});

    ASSERT_EQ(2, model.RowCount());
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\A\\one.txt", L""}), Paths(model, 0));
    EXPECT_EQ((std::vector<std::wstring>{L"", L"D:\\B\\two.txt"}), Paths(model, 1));
    EXPECT_EQ((std::vector<int>{PairMark::Left, PairMark::Right}), Marks(model));
    EXPECT_EQ(std::vector<int>{0}, left.Appended);
    EXPECT_EQ(std::vector<int>{1}, right.Appended);
}

TEST(RowModel, MergePending_singleFileFillsRowOfFolderFile)
{
    // a single file pairs by its name with a file at the top of a folder dropped on the other side
    RowModel model;
    model.MergePending(0, {SingleFile(L"C:\\Docs\\Report.TXT")});
    model.MergePending(1, {FileFrom(L"E:\\Backup\\report.txt", L"E:\\Backup\\"),
                              FileFrom(L"E:\\Backup\\old\\report.txt", L"E:\\Backup\\")});

    ASSERT_EQ(2, model.RowCount());
    EXPECT_EQ(L"E:\\Backup\\report.txt", model.GetCell(1, 0).Path);
    EXPECT_EQ((std::vector<int>{PairMark::Unknown, PairMark::Right}), Marks(model));
}

TEST(RowModel, MergePending_longestTrailingPathWinsAndDisplacedGoesToTheEnd)
{
    RowModel model;
    model.MergePending(0, {Imported(L"music\\live\\song.mp3")});
    // pending order: short match, unrelated, long match, equally long match
    RowModel::MergeResult right = model.MergePending(1, {
        SingleFile(L"D:\\x\\song.mp3"),
        SingleFile(L"D:\\other.mp3"),
        SingleFile(L"D:\\music\\live\\song.mp3"),
        SingleFile(L"E:\\music\\live\\song.mp3"),
    });

    EXPECT_EQ(std::vector<int>{0}, right.Filled);
    // the displaced short match moved behind the records that were still pending
    EXPECT_EQ((std::vector<int>{1, 2, 3}), right.Appended);
    EXPECT_EQ((std::vector<std::wstring>{L"D:\\music\\live\\song.mp3", L"D:\\other.mp3",
                  L"E:\\music\\live\\song.mp3", L"D:\\x\\song.mp3"}),
        Paths(model, 1));
}

TEST(RowModel, MergePending_importedNamesWithSlashesPairByFolder)
{
    RowModel model;
    model.MergePending(0, {FileFrom(L"C:\\A\\b\\readme.txt", L"C:\\A\\"),
        FileFrom(L"C:\\A\\a\\readme.txt", L"C:\\A\\")});
    model.MergePending(1, {Imported(L"a/readme.txt"), Imported(L"b/readme.txt")});
    ASSERT_EQ(2, model.RowCount());
    EXPECT_EQ((std::vector<std::wstring>{L"b/readme.txt", L"a/readme.txt"}), Paths(model, 1));
}

TEST(RowModel, MergePending_differentRelativeKeysDoNotPairByName)
{
    RowModel model;
    model.MergePending(0, {FileFrom(L"C:\\A\\a\\x.txt", L"C:\\A\\")});
    model.MergePending(1, {FileFrom(L"D:\\B\\b\\x.txt", L"D:\\B\\")});
    EXPECT_EQ(2, model.RowCount());
    EXPECT_EQ((std::vector<int>{PairMark::Left, PairMark::Right}), Marks(model));
}

TEST(RowModel, MergePending_caseVariantsPair)
{
    RowModel model;
    model.MergePending(0, {FileFrom(L"C:\\A\\Sub\\READ.me", L"C:\\A\\")});
    model.MergePending(1, {FileFrom(L"d:\\b\\sub\\read.ME", L"d:\\b\\")});
    ASSERT_EQ(1, model.RowCount());
    EXPECT_EQ(L"d:\\b\\sub\\read.ME", model.GetCell(1, 0).Path);
}

TEST(RowModel, RemoveRows_keepsOrderAndCounters)
{
    RowModel model;
    model.MergePending(0, {SingleFile(L"C:\\1"), SingleFile(L"C:\\2"), SingleFile(L"C:\\3"), SingleFile(L"C:\\4")});
    model.MergePending(1, {SingleFile(L"D:\\2")});
    Check(model, 1, 0, L"AAAAAAAA", L"1,000");
    model.RemoveRows({3, 0, 3, -1, 99});
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\2", L"C:\\3"}), Paths(model, 0));
    EXPECT_EQ((std::vector<int>{PairMark::Unknown, PairMark::Left}), Marks(model));
    EXPECT_EQ(1, model.MarkCount(PairMark::Left));
    EXPECT_EQ(1, model.MarkCount(PairMark::Unknown));
    EXPECT_EQ(2, model.FileCount(0));
    EXPECT_EQ(1, model.FileCount(1));
    model.RemoveRows({0});
    EXPECT_EQ(0, model.FileCount(1));
    EXPECT_EQ(0u, model.TotalSize(1));
    model.Clear();
    EXPECT_EQ(0, model.RowCount());
    EXPECT_EQ(0, model.MarkCount(PairMark::Left));
    EXPECT_EQ(0, model.FileCount(0));
}

TEST(RowModel, EvaluatePair_judgesWhenBothSidesFinished)
{
    RowModel model;
    model.MergePending(0, {SingleFile(L"C:\\same"), SingleFile(L"C:\\diff"), SingleFile(L"C:\\size"),
                              SingleFile(L"C:\\alone")});
    model.MergePending(1, {SingleFile(L"D:\\same"), SingleFile(L"D:\\diff"), SingleFile(L"D:\\size")});
    Check(model, 0, 0, L"AAAAAAAA", L"1");
    // one side finished: its own row waits, the pair stays undecided
    EXPECT_EQ(PairMark::Unknown, model.GetMark(0));
    EXPECT_EQ(StateColour::Wait, model.GetCell(0, 0).State);
    Check(model, 1, 0, L"AAAAAAAA", L"1");
    Check(model, 0, 1, L"AAAAAAAA", L"1");
    Check(model, 1, 1, L"BBBBBBBB", L"1");
    // values agree, sizes do not; "1,000" and "1000" are the same size
    Check(model, 0, 2, L"AAAAAAAA", L"1,000");
    Check(model, 1, 2, L"AAAAAAAA", L"2");
    Check(model, 0, 3, L"AAAAAAAA", L"1");
    EXPECT_EQ((std::vector<int>{PairMark::Ok, PairMark::Ng, PairMark::Ng, PairMark::Left}), Marks(model));
    EXPECT_EQ(StateColour::Ok, model.GetCell(1, 0).State);
    EXPECT_EQ(StateColour::Ng, model.GetCell(0, 1).State);
    EXPECT_EQ(StateColour::Left, model.GetCell(0, 3).State);
    // a blank side has no state of its own
    EXPECT_EQ(RowModel::NoState, model.GetCell(1, 3).State);
    EXPECT_EQ(1, model.MarkCount(PairMark::Ok));
    EXPECT_EQ(2, model.MarkCount(PairMark::Ng));
    EXPECT_EQ(0, model.MarkCount(PairMark::Unknown));
}

TEST(RowModel, EvaluatePair_nothingComparableStaysUnknown)
{
    // an imported entry without values or size against a file: no kind enabled, a size unknown
    RowModel model;
    model.MergePending(0, {Imported(L"x.bin")});
    model.MergePending(1, {SingleFile(L"D:\\x.bin")});
    model.SetSizeText(0, 0, L"-");
    model.EvaluatePair(0, 0, NoKinds);
    Check(model, 1, 0, L"AAAAAAAA", L"3");
    EXPECT_EQ(PairMark::Unknown, model.GetMark(0));
    EXPECT_EQ(StateColour::Wait, model.GetCell(0, 0).State);
}

TEST(RowModel, BeginCheck_onlyFilesThatNeedIt)
{
    RowModel model;
    model.MergePending(0, {SingleFile(L"C:\\a"), Imported(L"b")});
    model.MergePending(1, {SingleFile(L"D:\\z")});
    RowModel::CheckJob job;
    ASSERT_TRUE(model.BeginCheck(0, 1, Crc, job));
    EXPECT_EQ(L"b", job.Path);
    EXPECT_EQ(L"-", job.Imported->SizeText);
    EXPECT_FALSE(model.BeginCheck(1, 0, Crc, job)) << "blank side";
    EXPECT_FALSE(model.BeginCheck(0, 9, Crc, job)) << "no such row";
    Check(model, 0, 0, L"AAAAAAAA", L"5");
    EXPECT_FALSE(model.BeginCheck(0, 0, Crc, job)) << "finished";
    // a kind switched on: only that kind is computed; the size counted before is not counted again
    model.ResetMarks();
    HashKindFlags both = {{true, true, false}};
    ASSERT_TRUE(model.BeginCheck(0, 0, both, job));
    EXPECT_EQ((HashKindFlags{{false, true, false}}), job.Compute);
    EXPECT_TRUE(job.SizeShown);
}

TEST(RowModel, Unreadable_pairDiffersAndTheNextCheckReadsAgain)
{
    RowModel model;
    model.MergePending(0, {SingleFile(L"C:\\x")});
    model.MergePending(1, {SingleFile(L"D:\\x")});
    // neither side could be read: equal texts, yet never "○"
    for (int side = 0; side < 2; ++side) {
        RowModel::CheckJob job;
        ASSERT_TRUE(model.BeginCheck(side, 0, Crc, job));
        model.SetSizeText(side, 0, L"0");
        model.SetValue(side, 0, HashKind::Crc32, HashText::Unreadable);
        model.SetUnreadable(side, 0, true);
        model.EvaluatePair(side, 0, Crc);
    }
    EXPECT_EQ(PairMark::Ng, model.GetMark(0));
    model.ResetMarks();
    RowModel::CheckJob job;
    ASSERT_TRUE(model.BeginCheck(0, 0, Crc, job));
    EXPECT_TRUE(job.Compute[HashKind::Crc32]);
    EXPECT_FALSE(job.SizeShown) << "the 0 of a file that could not be opened counted nothing";
}

TEST(RowModel, ReevaluateAndRecolour_followTheKindsAndTheMarks)
{
    RowModel model;
    model.MergePending(0, {SingleFile(L"C:\\x"), SingleFile(L"C:\\alone")});
    model.MergePending(1, {SingleFile(L"D:\\x")});
    const HashKindFlags both = {{true, true, false}};
    for (int side = 0; side < 2; ++side) {
        RowModel::CheckJob job;
        model.BeginCheck(side, 0, both, job);
        model.SetSizeText(side, 0, L"1");
        model.SetValue(side, 0, HashKind::Crc32, L"AAAAAAAA");
        model.SetValue(side, 0, HashKind::Md5, side == 0 ? L"1" : L"2");
        model.EvaluatePair(side, 0, both);
    }
    ASSERT_EQ(PairMark::Ng, model.GetMark(0));
    // MD5 switched off: its cells go and what is left decides
    model.ClearKind(HashKind::Md5);
    model.ReevaluatePairs(Crc);
    EXPECT_EQ(PairMark::Ok, model.GetMark(0));
    EXPECT_EQ(StateColour::Ok, model.GetCell(1, 0).State);
    // a state set meanwhile gives way to the mark's colour; a blank side stays blank
    model.SetState(0, 1, StateColour::Check);
    model.Recolour();
    EXPECT_EQ(StateColour::Left, model.GetCell(0, 1).State);
    EXPECT_EQ(RowModel::NoState, model.GetCell(1, 1).State);
}

TEST(RowModel, ResetMarksAndRecheck_turnDecidedPairsBackToUnknown)
{
    RowModel model;
    model.MergePending(0, {SingleFile(L"C:\\1"), SingleFile(L"C:\\2"), SingleFile(L"C:\\3")});
    model.MergePending(1, {SingleFile(L"D:\\1"), SingleFile(L"D:\\2")});
    for (int side = 0; side < 2; ++side) {
        Check(model, side, 0, L"AAAAAAAA", L"1");
        Check(model, side, 1, side ? L"AAAAAAAA" : L"BBBBBBBB", L"1");
    }
    model.ResetMarks();
    EXPECT_EQ((std::vector<int>{PairMark::Unknown, PairMark::Unknown, PairMark::Left}), Marks(model));
    EXPECT_EQ(0, model.MarkCount(PairMark::Ok));
    EXPECT_EQ(2, model.MarkCount(PairMark::Unknown));
    EXPECT_FALSE(model.GetCell(1, 0).Finished);
    EXPECT_EQ(L"AAAAAAAA", model.GetCell(1, 0).Value(HashKind::Crc32));

    // a re-check empties the side's cells and bytes as well
    Check(model, 0, 0, L"AAAAAAAA", L"1");
    Check(model, 1, 0, L"AAAAAAAA", L"1");
    model.Recheck(1);
    EXPECT_EQ(PairMark::Unknown, model.GetMark(0));
    EXPECT_EQ(L"", model.GetCell(1, 0).Value(HashKind::Crc32));
    EXPECT_EQ(L"", model.GetCell(1, 0).SizeText());
    EXPECT_EQ(0u, model.TotalSize(1));
    EXPECT_EQ(L"AAAAAAAA", model.GetCell(0, 0).Value(HashKind::Crc32));
}

TEST(RowModel, Stop_keepsFinishedBlanksUnfinishedAndDropsPairsWhereNeitherFinished)
{
    RowModel model;
    model.MergePending(0, {SingleFile(L"C:\\done"), SingleFile(L"C:\\half"), SingleFile(L"C:\\none")});
    model.MergePending(1, {SingleFile(L"D:\\done"), SingleFile(L"D:\\half"), SingleFile(L"D:\\none")});
    Check(model, 0, 0, L"AAAAAAAA", L"10");
    Check(model, 1, 0, L"AAAAAAAA", L"10");
    Check(model, 0, 1, L"AAAAAAAA", L"20");
    RowModel::CheckJob job;
    ASSERT_TRUE(model.BeginCheck(1, 1, Crc, job));
    model.AddBytes(1, 30);
    model.SetSizeText(1, 1, L"30");
    model.SetValue(1, 1, HashKind::Crc32, L"40%");
    model.Stop();

    ASSERT_EQ(2, model.RowCount());
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\done", L"C:\\half"}), Paths(model, 0));
    EXPECT_EQ((std::vector<std::wstring>{L"D:\\done", L""}), Paths(model, 1));
    EXPECT_EQ((std::vector<int>{PairMark::Ok, PairMark::Left}), Marks(model));
    EXPECT_EQ(StateColour::Left, model.GetCell(0, 1).State);
    // the blanked side shows nothing and has the colour of a blank row, not "left only"
    EXPECT_EQ(RowModel::NoState, model.GetCell(1, 1).State);
    EXPECT_EQ(L"", model.GetCell(1, 1).Value(HashKind::Crc32));
    EXPECT_EQ(1, model.FileCount(1));
    EXPECT_EQ(10u, model.TotalSize(1));
    EXPECT_EQ(1, model.MarkCount(PairMark::Left));
    EXPECT_EQ(0, model.MarkCount(PairMark::Unknown));
    // the blanked side takes a file again
    model.MergePending(1, {SingleFile(L"E:\\half")});
    EXPECT_EQ(L"E:\\half", model.GetCell(1, 1).Path);
    EXPECT_EQ(PairMark::Unknown, model.GetMark(1));
}

TEST(RowModel, SelectByMark_marksAllAndInverse)
{
    RowModel model;
    model.MergePending(0, {SingleFile(L"C:\\1"), SingleFile(L"C:\\2")});
    model.MergePending(1, {SingleFile(L"D:\\1"), SingleFile(L"D:\\3")});
    const std::vector<bool> some = {true, false, true};
    EXPECT_EQ((std::vector<bool>{false, true, false}), model.SelectByMark(PairMark::Left, some));
    EXPECT_EQ((std::vector<bool>{false, false, false}), model.SelectByMark(PairMark::Ok, some));
    EXPECT_EQ((std::vector<bool>{true, true, true}), model.SelectByMark(SelectKind::All, some));
    EXPECT_EQ((std::vector<bool>{false, true, false}), model.SelectByMark(SelectKind::Inverse, some));
}

TEST(RowModel, SetChecked_onlyFilesCarryTheFlag)
{
    RowModel model;
    model.MergePending(0, {SingleFile(L"C:\\1"), SingleFile(L"C:\\2")});
    model.SetAllChecked(0, true);
    model.SetChecked(0, 1, false);
    model.SetChecked(1, 0, true);
    EXPECT_TRUE(model.IsChecked(0, 0));
    EXPECT_FALSE(model.IsChecked(0, 1));
    EXPECT_FALSE(model.IsChecked(1, 0)) << "blank side";
}

TEST(RowModel, TakeChanges_spansTheRowsWrittenSinceLastTakenInEachView)
{
    RowModel model;
    model.MergePending(0, {SingleFile(L"C:\\1"), SingleFile(L"C:\\2"), SingleFile(L"C:\\3")});
    model.MergePending(1, {SingleFile(L"D:\\3")});
    EXPECT_TRUE(model.TakeChanges().RowCountChanged);
    EXPECT_FALSE(model.TakeChanges().Any());
    const uint64_t before = model.ChangeCount();
    model.SetValue(0, 2, HashKind::Crc32, L"5%");
    model.SetState(0, 1, StateColour::Check);
    RowModel::Changes changes = model.TakeChanges();
    EXPECT_EQ(1, changes.Views[0].First);
    EXPECT_EQ(2, changes.Views[0].Last);
    EXPECT_FALSE(changes.Views[1].Any()) << "the other side's list is not repainted";
    EXPECT_FALSE(changes.Views[RowModel::MarkView].Any());
    EXPECT_FALSE(changes.RowCountChanged);
    EXPECT_LT(before, model.ChangeCount());

    // a decided pair colours both sides and sets its mark
    model.SetValue(0, 2, HashKind::Crc32, L"AAAAAAAA");
    model.SetValue(1, 2, HashKind::Crc32, L"AAAAAAAA");
    model.EvaluatePair(1, 2, Crc);
    model.TakeChanges();
    model.EvaluatePair(0, 2, Crc);
    changes = model.TakeChanges();
    EXPECT_EQ(PairMark::Ok, model.GetMark(2));
    for (int view = 0; view < 3; ++view) {
        EXPECT_EQ(2, changes.Views[view].First) << view;
        EXPECT_EQ(2, changes.Views[view].Last) << view;
    }
}

TEST(RowModel, Writers_manyThreadsWriteTheirRowsWhileOneReads)
{
    const int rows = 400;
    RowModel model;
    std::vector<PendingRecord> left;
    for (int row = 0; row < rows; ++row)
        left.push_back(SingleFile(L"C:\\f" + std::to_wstring(row)));
    model.MergePending(0, left);
    std::vector<std::thread> writers;
    for (int writer = 0; writer < 8; ++writer) {
        writers.emplace_back([&model, writer] {
            for (int row = writer; row < rows; row += 8) {
                for (int percent = 0; percent <= 100; percent += 25)
                    model.SetValue(0, row, HashKind::Crc32, std::to_wstring(percent) + L"%");
                model.SetValue(0, row, HashKind::Crc32, L"V" + std::to_wstring(row));
                model.EvaluatePair(0, row, Crc);
            }
        });
    }
    // the interface reads and takes changes meanwhile
    for (int round = 0; round < 50; ++round) {
        model.TakeChanges();
        model.GetCell(0, round % rows);
    }
    for (std::thread& writer : writers)
        writer.join();
    for (int row = 0; row < rows; ++row)
        ASSERT_EQ(L"V" + std::to_wstring(row), model.GetCell(0, row).Value(HashKind::Crc32));
    EXPECT_EQ(StateColour::Left, model.GetCell(0, rows - 1).State);
}

TEST(RowModel, CommonTrailingLength_countsRecordsLastComponentAndSharedFolders)
{
    EXPECT_EQ(std::wstring(L"a\\x").size(), PendingIndex::CommonTrailingLength(L"c:\\a\\x", L"d:\\a\\x"));
    EXPECT_EQ(std::wstring(L"c:\\a\\x").size(), PendingIndex::CommonTrailingLength(L"c:\\a\\x", L"c:\\a\\x"));
    // the last components are not compared: the record's counts whatever the gap's is; "/" separates as "\\" does
    EXPECT_EQ(std::wstring(L"long.bin").size(), PendingIndex::CommonTrailingLength(L"sub/long.bin", L"c:\\x\\y.bin"));
    EXPECT_EQ(std::wstring(L"sub/long.bin").size(),
        PendingIndex::CommonTrailingLength(L"sub/long.bin", L"c:\\sub\\long.bin"));
    EXPECT_EQ(std::wstring(L"dir\\").size(), PendingIndex::CommonTrailingLength(L"c:\\dir\\", L"d:\\dir\\"));
    EXPECT_EQ(std::wstring(L"y").size(), PendingIndex::CommonTrailingLength(L"y", L"c:\\y"));
}

// ---- the model against the plain transcription, on random sequences of merges, removals and stops ----

namespace {

class RandomLists {
public:
    explicit RandomLists(unsigned seed) : Random(seed) {}

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(Random); }

    std::wstring Component()
    {
        static const wchar_t* const parts[] = {L"a", L"A", L"b", L"sub", L"SUB", L"Sub", L"dir", L"x.txt", L"d2"};
        return parts[Pick(9)];
    }

    std::wstring Name()
    {
        static const wchar_t* const names[] = {L"x.txt", L"X.TXT", L"y.bin", L"z", L"a", L"sub", L"Y.bin"};
        return names[Pick(7)];
    }

    std::wstring Folders(int most)
    {
        std::wstring folders;
        for (int n = Pick(most + 1); n > 0; --n)
            folders += Component() + L"\\";
        return folders;
    }

    PendingRecord Record()
    {
        static const wchar_t* const bases[] = {L"C:\\L\\", L"c:\\l\\", L"D:\\R\\", L"C:\\L\\sub\\", L"E:\\",
            L"\\\\srv\\share\\"};
        switch (Pick(10)) {
        case 0:
        case 1:
        case 2:
        case 3: { // a file found in a dropped folder
            std::wstring base = bases[Pick(6)];
            return FileFrom(base + Folders(3) + Name(), base);
        }
        case 4:
        case 5: // a file dropped on its own
            return SingleFile(bases[Pick(6)] + Folders(2) + Name());
        case 6:
        case 7: // an entry of an imported list, with either separator
            return Imported(Folders(2) + (Pick(2) ? L"" : L"dir/") + Name());
        case 8: // odd paths: a drive-relative name, a trailing separator
            return Pick(2) ? Imported(L"c:" + Name()) : FileFrom(bases[Pick(6)] + Folders(2), bases[0]);
        default: { // a duplicate of an earlier record
            if (Seen.empty())
                return SingleFile(L"C:\\" + Name());
            return Seen[Pick(static_cast<int>(Seen.size()))];
        }
        }
    }

    std::vector<PendingRecord> Batch(int most)
    {
        std::vector<PendingRecord> batch;
        for (int n = Pick(most + 1); n > 0; --n) {
            batch.push_back(Record());
            Seen.push_back(batch.back());
        }
        return batch;
    }

    std::mt19937 Random;
    std::vector<PendingRecord> Seen;
};

void ExpectSameLists(const RowModel& model, const reference::Lists& lists, const std::string& where)
{
    ASSERT_EQ(static_cast<int>(lists.Rows.size()), model.RowCount()) << where;
    for (int row = 0; row < model.RowCount(); ++row) {
        const RowModel::Row& actual = model.GetRow(row);
        const reference::Row& expected = lists.Rows[row];
        for (int side = 0; side < 2; ++side) {
            ASSERT_EQ(expected.Sides[side].Text, actual.Sides[side].Path) << where << " row " << row;
            ASSERT_EQ(expected.Sides[side].RelativeKey, actual.Sides[side].RelativeKey()) << where << " row " << row;
            if (!actual.Sides[side].IsBlank()) {
                // the keys kept in the row are the ones the merge would make from the shown path
                ASSERT_EQ(reference::Lower(reference::FileNamePart(actual.Sides[side].Path)),
                    actual.Sides[side].NameKey());
            }
        }
        ASSERT_EQ(expected.Mark, actual.Mark) << where << " row " << row;
    }
    for (int mark = 0; mark < PairMark::Count; ++mark)
        ASSERT_EQ(lists.MarkCounts[mark], model.MarkCount(mark)) << where;
}

void ExpectSamePlacements(const RowModel& model, int side, const std::vector<int>& actual,
    const std::vector<std::pair<int, PendingRecord>>& expected, const std::string& where)
{
    ASSERT_EQ(expected.size(), actual.size()) << where;
    for (size_t i = 0; i < actual.size(); ++i) {
        ASSERT_EQ(expected[i].first, actual[i]) << where;
        const RowModel::Cell cell = model.GetCell(side, actual[i]);
        ASSERT_EQ(expected[i].second.Path, cell.Path) << where;
        ASSERT_EQ(expected[i].second.RelativeKey(), cell.RelativeKey()) << where;
    }
}

void RunRandomSequence(unsigned seed, size_t largeBucket, int steps, int batch)
{
    RandomLists random(seed);
    RowModel model(largeBucket);
    reference::Lists lists;
    for (int step = 0; step < steps; ++step) {
        std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(step);
        int what = random.Pick(20);
        if (what < 14) {
            int side = random.Pick(2);
            std::vector<PendingRecord> pending = random.Batch(batch);
            reference::MergeResult expected =
                lists.MergePending(side, std::list<PendingRecord>(pending.begin(), pending.end()));
            RowModel::MergeResult actual = model.MergePending(side, pending);
            ExpectSamePlacements(model, side, actual.Filled, expected.Filled, where + " filled");
            ExpectSamePlacements(model, side, actual.Appended, expected.Appended, where + " appended");
        } else if (what < 17 && model.RowCount() > 0) {
            // some checks finish, then a stop blanks the unfinished sides
            for (int n = random.Pick(2 * model.RowCount() + 1); n > 0; --n) {
                int side = random.Pick(2);
                int row = random.Pick(model.RowCount());
                model.EvaluatePair(side, row, HashKindFlags{{false, false, false}});
                lists.Finish(side, row);
            }
            model.Stop();
            lists.Stop();
        } else if (what < 19 && model.RowCount() > 0) {
            std::vector<int> rows;
            for (int n = random.Pick(4); n >= 0; --n)
                rows.push_back(random.Pick(model.RowCount()));
            model.RemoveRows(rows);
            std::sort(rows.begin(), rows.end());
            rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
            for (auto row = rows.rbegin(); row != rows.rend(); ++row)
                lists.RemoveRow(*row);
        } else {
            model.Clear();
            lists = reference::Lists();
        }
        ExpectSameLists(model, lists, where);
        if (::testing::Test::HasFatalFailure())
            return;
    }
}

} // namespace

TEST(RowModel, MergePending_sameResultsAsPlainWalk)
{
    // small buckets searched one by one, every bucket a path tree, and the default
    for (size_t largeBucket : {static_cast<size_t>(1000000), static_cast<size_t>(0), static_cast<size_t>(2),
             PendingIndex::DefaultLargeBucket}) {
        for (unsigned seed = 1; seed <= 200; ++seed) {
            RunRandomSequence(seed, largeBucket, 12, 24);
            if (HasFatalFailure())
                return;
        }
    }
}

TEST(RowModel, MergePending_sameResultsWithLargeDuplicateGroups)
{
    // many records per key, so that buckets turn into path trees while records move to the end
    for (unsigned seed = 1000; seed < 1015; ++seed) {
        RunRandomSequence(seed, PendingIndex::DefaultLargeBucket, 6, 400);
        if (HasFatalFailure())
            return;
    }
}
