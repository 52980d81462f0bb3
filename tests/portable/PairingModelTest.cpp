#include "app/lists/PairingModel.h"

#include "tests/portable/PortableTesting.h"
#include "tests/portable/ReferenceMerge.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <list>
#include <random>

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

std::vector<std::wstring> Paths(const PairingModel& model, int side)
{
    std::vector<std::wstring> paths;
    for (int row = 0; row < model.RowCount(); ++row)
        paths.push_back(model.GetRow(row).Sides[side].Path);
    return paths;
}

std::vector<int> Marks(const PairingModel& model)
{
    std::vector<int> marks;
    for (int row = 0; row < model.RowCount(); ++row)
        marks.push_back(model.GetMark(row));
    return marks;
}

} // namespace

TEST(PairingModel, MergePending_foldersPairByRelativePath)
{
    PairingModel model;
    model.MergePending(0, {FileFrom(L"C:\\A\\x.txt", L"C:\\A\\"), FileFrom(L"C:\\A\\sub\\y.txt", L"C:\\A\\")});
    PairingModel::MergeResult right =
        model.MergePending(1, {FileFrom(L"D:\\B\\sub\\y.txt", L"D:\\B\\"), FileFrom(L"D:\\B\\x.txt", L"D:\\B\\")});

    ASSERT_EQ(2, model.RowCount());
    EXPECT_EQ((std::vector<std::wstring>{L"D:\\B\\x.txt", L"D:\\B\\sub\\y.txt"}), Paths(model, 1));
    EXPECT_EQ((std::vector<int>{PairMark::Unknown, PairMark::Unknown}), Marks(model));
    ASSERT_EQ(2u, right.Filled.size());
    EXPECT_EQ(0, right.Filled[0].Row);
    EXPECT_EQ(L"D:\\B\\x.txt", right.Filled[0].Record.Path);
    EXPECT_TRUE(right.Appended.empty());
    EXPECT_EQ(2, model.MarkCount(PairMark::Unknown));
    EXPECT_EQ(0, model.MarkCount(PairMark::Left));
}

TEST(PairingModel, MergePending_unmatchedFilesAreAppendedWithBlankPartner)
{
    PairingModel model;
    PairingModel::MergeResult left = model.MergePending(0, {SingleFile(L"C:\\A\\one.txt")});
    PairingModel::MergeResult right = model.MergePending(1, {SingleFile(L"D:\\B\\two.txt")});

    ASSERT_EQ(2, model.RowCount());
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\A\\one.txt", L""}), Paths(model, 0));
    EXPECT_EQ((std::vector<std::wstring>{L"", L"D:\\B\\two.txt"}), Paths(model, 1));
    EXPECT_EQ((std::vector<int>{PairMark::Left, PairMark::Right}), Marks(model));
    ASSERT_EQ(1u, left.Appended.size());
    EXPECT_EQ(0, left.Appended[0].Row);
    ASSERT_EQ(1u, right.Appended.size());
    EXPECT_EQ(1, right.Appended[0].Row);
}

TEST(PairingModel, MergePending_singleFileFillsRowOfFolderFile)
{
    // a single file pairs by its name with a file at the top of a folder dropped on the other side
    PairingModel model;
    model.MergePending(0, {SingleFile(L"C:\\Docs\\Report.TXT")});
    model.MergePending(1, {FileFrom(L"E:\\Backup\\report.txt", L"E:\\Backup\\"),
                              FileFrom(L"E:\\Backup\\old\\report.txt", L"E:\\Backup\\")});

    ASSERT_EQ(2, model.RowCount());
    EXPECT_EQ(L"E:\\Backup\\report.txt", model.GetRow(0).Sides[1].Path);
    EXPECT_EQ((std::vector<int>{PairMark::Unknown, PairMark::Right}), Marks(model));
}

TEST(PairingModel, MergePending_longestTrailingPathWinsAndDisplacedGoesToTheEnd)
{
    PairingModel model;
    model.MergePending(0, {Imported(L"music\\live\\song.mp3")});
    // pending order: short match, unrelated, long match, equally long match
    PairingModel::MergeResult right = model.MergePending(1, {
        SingleFile(L"D:\\x\\song.mp3"),
        SingleFile(L"D:\\other.mp3"),
        SingleFile(L"D:\\music\\live\\song.mp3"),
        SingleFile(L"E:\\music\\live\\song.mp3"),
    });

    ASSERT_EQ(1u, right.Filled.size());
    EXPECT_EQ(L"D:\\music\\live\\song.mp3", right.Filled[0].Record.Path);
    // the displaced short match moved behind the records that were still pending
    ASSERT_EQ(3u, right.Appended.size());
    EXPECT_EQ(L"D:\\other.mp3", right.Appended[0].Record.Path);
    EXPECT_EQ(L"E:\\music\\live\\song.mp3", right.Appended[1].Record.Path);
    EXPECT_EQ(L"D:\\x\\song.mp3", right.Appended[2].Record.Path);
}

TEST(PairingModel, MergePending_importedNamesWithSlashesPairByFolder)
{
    PairingModel model;
    model.MergePending(0, {FileFrom(L"C:\\A\\b\\readme.txt", L"C:\\A\\"),
        FileFrom(L"C:\\A\\a\\readme.txt", L"C:\\A\\")});
    model.MergePending(1, {Imported(L"a/readme.txt"), Imported(L"b/readme.txt")});
    ASSERT_EQ(2, model.RowCount());
    EXPECT_EQ((std::vector<std::wstring>{L"b/readme.txt", L"a/readme.txt"}), Paths(model, 1));
}

TEST(PairingModel, MergePending_differentRelativeKeysDoNotPairByName)
{
    PairingModel model;
    model.MergePending(0, {FileFrom(L"C:\\A\\a\\x.txt", L"C:\\A\\")});
    model.MergePending(1, {FileFrom(L"D:\\B\\b\\x.txt", L"D:\\B\\")});
    EXPECT_EQ(2, model.RowCount());
    EXPECT_EQ((std::vector<int>{PairMark::Left, PairMark::Right}), Marks(model));
}

TEST(PairingModel, MergePending_caseVariantsPair)
{
    PairingModel model;
    model.MergePending(0, {FileFrom(L"C:\\A\\Sub\\READ.me", L"C:\\A\\")});
    model.MergePending(1, {FileFrom(L"d:\\b\\sub\\read.ME", L"d:\\b\\")});
    ASSERT_EQ(1, model.RowCount());
    EXPECT_EQ(L"d:\\b\\sub\\read.ME", model.GetRow(0).Sides[1].Path);
}

TEST(PairingModel, MergePending_blankedCellIsFilledAgain)
{
    PairingModel model;
    model.MergePending(0, {SingleFile(L"C:\\a.bin"), SingleFile(L"C:\\b.bin")});
    model.MergePending(1, {SingleFile(L"D:\\a.bin"), SingleFile(L"D:\\b.bin")});
    model.BlankCell(1, 1);
    model.MergePending(1, {SingleFile(L"E:\\b.bin")});
    ASSERT_EQ(2, model.RowCount());
    EXPECT_EQ(L"E:\\b.bin", model.GetRow(1).Sides[1].Path);
}

TEST(PairingModel, RemoveRows_keepsOrderAndMarkCounts)
{
    PairingModel model;
    model.MergePending(0, {SingleFile(L"C:\\1"), SingleFile(L"C:\\2"), SingleFile(L"C:\\3"), SingleFile(L"C:\\4")});
    model.MergePending(1, {SingleFile(L"D:\\2")});
    model.RemoveRows({3, 0, 3, -1, 99});
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\2", L"C:\\3"}), Paths(model, 0));
    EXPECT_EQ((std::vector<int>{PairMark::Unknown, PairMark::Left}), Marks(model));
    EXPECT_EQ(1, model.MarkCount(PairMark::Left));
    EXPECT_EQ(1, model.MarkCount(PairMark::Unknown));
    model.Clear();
    EXPECT_EQ(0, model.RowCount());
    EXPECT_EQ(0, model.MarkCount(PairMark::Unknown));
}

TEST(PairingModel, ResetMarks_turnsDecidedPairsBackToUnknown)
{
    PairingModel model;
    model.MergePending(0, {SingleFile(L"C:\\1"), SingleFile(L"C:\\2"), SingleFile(L"C:\\3")});
    model.MergePending(1, {SingleFile(L"D:\\1"), SingleFile(L"D:\\2")});
    model.SetMark(0, PairMark::Ok);
    model.SetMark(1, PairMark::Ng);
    EXPECT_EQ((std::vector<int>{0, 1}), model.ResetMarks());
    EXPECT_EQ((std::vector<int>{PairMark::Unknown, PairMark::Unknown, PairMark::Left}), Marks(model));
    EXPECT_EQ(0, model.MarkCount(PairMark::Ok));
    EXPECT_EQ(2, model.MarkCount(PairMark::Unknown));
}

TEST(PairingModel, CommonTrailingLength_countsRecordsLastComponentAndSharedFolders)
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

void ExpectSameLists(const PairingModel& model, const reference::Lists& lists, const std::string& where)
{
    ASSERT_EQ(static_cast<int>(lists.Rows.size()), model.RowCount()) << where;
    for (int row = 0; row < model.RowCount(); ++row) {
        const PairingModel::Row& actual = model.GetRow(row);
        const reference::Row& expected = lists.Rows[row];
        for (int side = 0; side < 2; ++side) {
            ASSERT_EQ(expected.Sides[side].Text, actual.Sides[side].Path) << where << " row " << row;
            ASSERT_EQ(expected.Sides[side].RelativeKey, actual.Sides[side].RelativeKey) << where << " row " << row;
            if (!actual.Sides[side].IsBlank()) {
                // the keys kept in the row are the ones the merge would make from the shown path
                ASSERT_EQ(reference::Lower(reference::FileNamePart(actual.Sides[side].Path)),
                    actual.Sides[side].NameKey);
            }
        }
        ASSERT_EQ(expected.Mark, actual.Mark) << where << " row " << row;
    }
    for (int mark = 0; mark < PairMark::Count; ++mark)
        ASSERT_EQ(lists.MarkCounts[mark], model.MarkCount(mark)) << where;
}

void ExpectSamePlacements(const std::vector<PairingModel::Placement>& actual,
    const std::vector<std::pair<int, PendingRecord>>& expected, const std::string& where)
{
    ASSERT_EQ(expected.size(), actual.size()) << where;
    for (size_t i = 0; i < actual.size(); ++i) {
        ASSERT_EQ(expected[i].first, actual[i].Row) << where;
        ASSERT_EQ(expected[i].second.Path, actual[i].Record.Path) << where;
        ASSERT_EQ(expected[i].second.RelativeKey, actual[i].Record.RelativeKey) << where;
    }
}

void RunRandomSequence(unsigned seed, size_t largeBucket, int steps, int batch)
{
    RandomLists random(seed);
    PairingModel model(largeBucket);
    reference::Lists lists;
    for (int step = 0; step < steps; ++step) {
        std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(step);
        int what = random.Pick(20);
        if (what < 14) {
            int side = random.Pick(2);
            std::vector<PendingRecord> pending = random.Batch(batch);
            reference::MergeResult expected =
                lists.MergePending(side, std::list<PendingRecord>(pending.begin(), pending.end()));
            PairingModel::MergeResult actual = model.MergePending(side, pending);
            ExpectSamePlacements(actual.Filled, expected.Filled, where + " filled");
            ExpectSamePlacements(actual.Appended, expected.Appended, where + " appended");
        } else if (what < 17 && model.RowCount() > 0) {
            // a stopped check blanks one side of some rows
            for (int n = random.Pick(4); n >= 0; --n) {
                int side = random.Pick(2);
                int row = random.Pick(model.RowCount());
                model.BlankCell(side, row);
                lists.BlankCell(side, row);
            }
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

TEST(PairingModel, MergePending_sameResultsAsPlainWalk)
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

TEST(PairingModel, MergePending_sameResultsWithLargeDuplicateGroups)
{
    // many records per key, so that buckets turn into path trees while records move to the end
    for (unsigned seed = 1000; seed < 1015; ++seed) {
        RunRandomSequence(seed, PendingIndex::DefaultLargeBucket, 6, 400);
        if (HasFatalFailure())
            return;
    }
}
