// The scheduler in a real main window: pairs started together under "CheckNum", one worker per row whatever the
// rescans, marks and colours of finished rows, and stopping, re-checking, clearing, dropping and closing while many
// large files are being read (each must end; a hang fails the test by its time limit).
#include "app/check/CheckHashManager.h"
#include "tests/app/CheckTesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace checktesting;

namespace {

class CheckHashManagerTest : public MainWindowTest {
protected:
    // count sparse files of size bytes in folder; returns their paths
    std::vector<std::wstring> SparseFiles(const std::wstring& folder, int count, uint64_t size)
    {
        std::vector<std::wstring> paths;
        for (int i = 0; i < count; ++i) {
            paths.push_back(Temp.WriteSparseFile(folder + L"\\f" + std::to_wstring(100 + i) + L".bin", size));
            EXPECT_FALSE(paths.back().empty());
        }
        return paths;
    }

    // runs action while files are being read (see CellRecorder::RunAtFirstPercentage)
    bool WhileReading(CellRecorder& recorder, const std::function<void()>& action)
    {
        return recorder.RunAtFirstPercentage(action, 60000);
    }

    // Registers folders with the scheduler held, then lets the checks start together: a registration's message
    // window may take seconds to go under Wine without a window manager, and meanwhile small checks would end.
    void RegisterThenStart(const std::vector<std::pair<int, std::wstring>>& folders, int checkNum)
    {
        SetCheckNum(checkNum);
        Main->GetChecker()->HoldRounds(0);
        for (const std::pair<int, std::wstring>& folder : folders)
            Drop(folder.first, {Temp.PathOf(folder.second)});
        Main->GetChecker()->ReleaseRounds();
    }

    // the rows of a side whose check was cancelled: colour "Check", empty hash cells, not finished; returns how many.
    // Rows the scheduler had not started yet (it may not have reached them on a busy machine) keep "Wait".
    int ExpectCancelledOrDone(int side, const Reference& expected)
    {
        int cancelled = 0;
        for (int row = 0; row < harness::ListRowCount(ListHandle(side)); ++row) {
            const std::wstring crc = HashCell(side, row, HashKind::Crc32);
            if (!crc.empty()) {
                EXPECT_EQ(expected.Crc32, crc) << row; // finished before the stop
                continue;
            }
            const COLORREF colour = RowColour(side, row);
            cancelled += colour == CheckColour ? 1 : 0;
            EXPECT_EQ(L"", HashCell(side, row, HashKind::Md5)) << row;
            EXPECT_EQ(L"", HashCell(side, row, HashKind::Sha1)) << row;
            EXPECT_TRUE(colour == CheckColour || colour == WaitColour) << row << " " << colour;
            FileListView::ItemInfo info;
            EXPECT_TRUE(List(side).GetItemInfo(row, info));
            EXPECT_FALSE(info.Finished) << row;
        }
        return cancelled;
    }

    // every row of the sides shows a value (no percentage) in the columns of the enabled kinds
    bool AllValuesShown(const std::vector<int>& sides)
    {
        for (int side : sides)
            for (int row = 0; row < harness::ListRowCount(ListHandle(side)); ++row)
                for (int kind = 0; kind < HashKind::Count; ++kind) {
                    const std::wstring text = HashCell(side, row, kind);
                    if (Main->GetHashColumn(kind) >= 0 && (text.empty() || text.back() == L'%'))
                        return false;
                }
        return true;
    }

    int RowsOfColour(int side, COLORREF colour)
    {
        int count = 0;
        for (int row = 0; row < harness::ListRowCount(ListHandle(side)); ++row)
            count += RowColour(side, row) == colour ? 1 : 0;
        return count;
    }

    // Lets one round run (the scheduler holds after it) and counts the rows it started: a round colours every row
    // it starts "Check" while it holds the main lock, so once one row shows it, taking that lock waits for the
    // round's end.
    int RowsStartedInOneRound(int side)
    {
        Main->GetChecker()->HoldRounds(1);
        if (!harness::PumpUntil([this, side] { return RowsOfColour(side, CheckColour) > 0; }, 10000))
            return 0;
        Juxta::MainHold hold(*Main);
        return RowsOfColour(side, CheckColour);
    }

    void ExpectAllValues(int side, const Reference& expected)
    {
        for (int row = 0; row < harness::ListRowCount(ListHandle(side)); ++row) {
            if (PathCell(side, row).empty())
                continue;
            EXPECT_EQ(expected.Crc32, HashCell(side, row, HashKind::Crc32)) << row;
            EXPECT_EQ(expected.Md5, HashCell(side, row, HashKind::Md5)) << row;
            EXPECT_EQ(expected.Sha1, HashCell(side, row, HashKind::Sha1)) << row;
            EXPECT_EQ(expected.Size, SizeCell(side, row)) << row;
        }
    }
};

// "AutoScroll": the list follows the rows being read, and the last row asked for is followed once the check has
// ended (the follows are spaced in time, so that one may still be pending then); a second check follows again
TEST_F(CheckHashManagerTest, AutoScroll_followsTheCheckToItsLastRow)
{
    Configure(true, false, false);
    SetSetting(L"AutoScroll", true);
    const int count = 300;
    for (int i = 0; i < count; ++i)
        Temp.WriteFile(L"many\\" + std::to_wstring(1000 + i) + L".txt", Content(100, i));
    const auto lastInView = [this, count] {
        const LRESULT top = SendMessageW(ListHandle(0), LVM_GETTOPINDEX, 0, 0);
        return top + SendMessageW(ListHandle(0), LVM_GETCOUNTPERPAGE, 0, 0) >= count;
    };
    Drop(0, {Temp.PathOf(L"many")});
    ASSERT_TRUE(WaitIdle());
    EXPECT_TRUE(harness::PumpUntil(lastInView, 5000));

    SendMessageW(ListHandle(0), LVM_ENSUREVISIBLE, 0, FALSE);
    ASSERT_FALSE(lastInView());
    Main->GetCommands().Recheck(0);
    ASSERT_TRUE(WaitIdle());
    EXPECT_TRUE(harness::PumpUntil(lastInView, 5000));
}

TEST_F(CheckHashManagerTest, LeftOnly_everyRowMarkedLeft)
{
    Configure(true, false, false);
    uint64_t total = 0;
    for (int i = 0; i < 3; ++i) {
        Temp.WriteFile(L"left\\" + std::to_wstring(i) + L".txt", Content(1000 * (i + 1), i));
        total += 1000 * (i + 1);
    }
    Drop(0, {Temp.PathOf(L"left")});
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(3, Rows());
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(L"←", MarkCell(row));
        EXPECT_EQ(SideOnlyColour, RowColour(0, row));
        EXPECT_EQ(L"", PathCell(1, row));
        EXPECT_EQ(L"", SizeCell(1, row)); // a blank row is never checked
    }
    EXPECT_EQ(total, List(0).TotalSize());
    EXPECT_EQ(0u, Main->GetChecker()->GetWorkerCount());
}

TEST_F(CheckHashManagerTest, Pairs_okAndNgWithColours)
{
    Configure(true, false, false);
    Temp.WriteFile(L"a\\same.bin", Content(5000, 1));
    Temp.WriteFile(L"b\\same.bin", Content(5000, 1));
    Temp.WriteFile(L"a\\changed.bin", Content(5000, 2));
    Temp.WriteFile(L"b\\changed.bin", Content(5000, 3));
    Drop(0, {Temp.PathOf(L"a")});
    Drop(1, {Temp.PathOf(L"b")});
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(2, Rows());
    const int same = RowOf(0, Temp.PathOf(L"a\\same.bin"));
    const int changed = RowOf(0, Temp.PathOf(L"a\\changed.bin"));
    EXPECT_EQ(L"○", MarkCell(same));
    EXPECT_EQ(OkColour, RowColour(0, same));
    EXPECT_EQ(OkColour, RowColour(1, same));
    EXPECT_EQ(L"×", MarkCell(changed));
    EXPECT_EQ(NgColour, RowColour(0, changed));
    EXPECT_EQ(NgColour, RowColour(1, changed));
}

TEST_F(CheckHashManagerTest, NoKindEnabled_sizesDecide)
{
    Configure(false, false, false);
    Temp.WriteFile(L"a\\same.bin", Content(4000, 1));
    Temp.WriteFile(L"b\\same.bin", Content(4000, 2)); // other bytes, the same size
    Temp.WriteFile(L"a\\longer.bin", Content(4000, 3));
    Temp.WriteFile(L"b\\longer.bin", Content(4001, 3));
    Drop(0, {Temp.PathOf(L"a")});
    Drop(1, {Temp.PathOf(L"b")});
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(2, Rows());
    const int same = RowOf(0, Temp.PathOf(L"a\\same.bin"));
    const int longer = RowOf(0, Temp.PathOf(L"a\\longer.bin"));
    EXPECT_EQ(L"4,000", SizeCell(1, same));
    EXPECT_EQ(L"○", MarkCell(same));
    EXPECT_EQ(L"4,001", SizeCell(1, longer));
    EXPECT_EQ(L"×", MarkCell(longer));
    EXPECT_EQ(NgColour, RowColour(1, longer));
}

TEST_F(CheckHashManagerTest, ImportedRowsWithoutSize_okAgainstFilesAndNoBytes)
{
    Configure(true, false, false);
    const std::wstring a = Temp.WriteFile(L"files\\a.bin", Content(3000, 4));
    const std::wstring b = Temp.WriteFile(L"files\\b.bin", Content(7000, 5));
    Drop(0, {Temp.PathOf(L"files")});
    ASSERT_TRUE(WaitIdle());
    const std::wstring crcA = ReferenceOf(a).Crc32;
    const std::wstring crcB = ReferenceOf(b).Crc32;
    const std::string sfv = "a.bin " + std::string(crcA.begin(), crcA.end()) + "\r\nb.bin " +
                            std::string(crcB.begin(), crcB.end()) + "\r\n";
    Drop(1, {Temp.WriteFile(L"list\\files.sfv", sfv)});
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(2, Rows());
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(L"○", MarkCell(row)) << row;
        EXPECT_EQ(L"-", SizeCell(1, row));
    }
    EXPECT_EQ(0u, List(1).TotalSize());
}

TEST_F(CheckHashManagerTest, CheckNumOne_pairStartsTogetherThenNothingUntilBothEnd)
{
    Configure(true, false, false);
    SparseFiles(L"l", 3, 48 * MiB);
    SparseFiles(L"r", 3, 48 * MiB);
    CellRecorder recorder(*Main);
    RegisterThenStart({{0, L"l"}, {1, L"r"}}, 1);
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(3, Rows());

    const int size = Main->GetSizeColumn();
    const int crc = Main->GetHashColumn(HashKind::Crc32);
    int previousEnd = -1;
    for (int row = 0; row < 3; ++row) {
        const int startLeft = recorder.FirstWrite(0, row, size);
        const int startRight = recorder.FirstWrite(1, row, size);
        const int endLeft = recorder.LastWrite(0, row, crc);
        const int endRight = recorder.LastWrite(1, row, crc);
        ASSERT_TRUE(startLeft >= 0 && startRight >= 0 && endLeft >= 0 && endRight >= 0) << row;
        // no row starts before both checks of the row above have ended
        EXPECT_GT(std::min(startLeft, startRight), previousEnd) << row;
        // the two rows of a pair start in the same round, before either has read its 48 MiB
        EXPECT_LT(std::max(startLeft, startRight), std::min(endLeft, endRight)) << row;
        previousEnd = std::max(endLeft, endRight);
        EXPECT_EQ(L"○", MarkCell(row));
    }
}

TEST_F(CheckHashManagerTest, Rescans_neverStartASecondWorkerForARow)
{
    // room for more workers than rows: every rescan looks at rows whose worker may not have written yet
    Configure(true, false, false);
    SparseFiles(L"many", 12, 6 * MiB);
    CellRecorder recorder(*Main);
    RegisterThenStart({{0, L"many"}}, 16);
    // a rescan after every message catches rows whose worker has not written anything yet
    const bool idle = PumpEachUntil(
        [this] {
            if (!Main->GetChecker()->IsChecking())
                return true;
            Main->GetChecker()->StartChecking();
            EXPECT_LE(Main->GetChecker()->GetWorkerCount(), 12u);
            return false;
        },
        120000);
    ASSERT_TRUE(idle);
    const Reference expected = ReferenceOf(Temp.PathOf(L"many\\f100.bin"));
    for (int row = 0; row < 12; ++row) {
        EXPECT_EQ(1u, recorder.TextsOf(0, row, Main->GetSizeColumn()).size()) << row;
        const std::vector<std::wstring> texts = recorder.TextsOf(0, row, Main->GetHashColumn(HashKind::Crc32));
        EXPECT_EQ(1, std::count(texts.begin(), texts.end(), expected.Crc32)) << row;
        EXPECT_EQ(expected.Crc32, HashCell(0, row, HashKind::Crc32));
    }
}

// A re-check, and then a kind switched off, each while the workers of a round have finished but the scheduler (held)
// has not judged their rows yet: when the check ends every pair is decided as after an undisturbed check.
TEST_F(CheckHashManagerTest, RecheckOrKindSwitchBeforeFinishedRowsAreJudged_everyPairDecided)
{
    Configure(true, true, false, 16);
    const std::vector<std::pair<std::wstring, size_t>> files = {
        {L"below.bin", MiB - 1}, {L"edge.bin", MiB}, {L"above.bin", MiB + 1}};
    for (size_t i = 0; i < files.size(); ++i) {
        Temp.WriteFile(L"l\\" + files[i].first, Content(files[i].second, uint32_t(i)));
        // the last pair differs in its content alone
        Temp.WriteFile(L"r\\" + files[i].first, Content(files[i].second, uint32_t(i + (i == 2 ? 7 : 0))));
    }
    const auto expectDecided = [this, &files] {
        for (size_t i = 0; i < files.size(); ++i) {
            const int row = RowOf(0, Temp.PathOf(L"l\\" + files[i].first));
            ASSERT_GE(row, 0);
            const COLORREF colour = i == 2 ? NgColour : OkColour;
            EXPECT_EQ(i == 2 ? L"×" : L"○", MarkCell(row)) << row;
            EXPECT_EQ(colour, RowColour(0, row)) << row;
            EXPECT_EQ(colour, RowColour(1, row)) << row;
            EXPECT_EQ(ReferenceOf(Temp.PathOf(L"r\\" + files[i].first)).Crc32, HashCell(1, row, HashKind::Crc32));
        }
        EXPECT_EQ(L"\t○:2", PaneShown(1));
        EXPECT_EQ(L"\t×:1", PaneShown(2));
        EXPECT_EQ(L"\t？:0", PaneShown(5));
    };
    // one round starts every row of both sides; the workers then finish while the next round is held
    Main->GetChecker()->HoldRounds(0);
    Drop(0, {Temp.PathOf(L"l")});
    Drop(1, {Temp.PathOf(L"r")});
    Main->GetChecker()->HoldRounds(1);
    ASSERT_TRUE(harness::PumpUntil([this] { return AllValuesShown({0, 1}); }, 60000));
    Main->GetCommands().Recheck(0);
    Main->GetChecker()->ReleaseRounds();
    ASSERT_TRUE(WaitIdle());
    expectDecided();

    // the right side re-checked, its rows finished, and MD5 switched off before they are judged
    Main->GetChecker()->HoldRounds(1);
    Main->GetCommands().Recheck(1);
    ASSERT_TRUE(harness::PumpUntil([this] { return AllValuesShown({1}); }, 60000));
    Main->GetCommands().SwitchHashKind(HashKind::Md5);
    Main->GetChecker()->ReleaseRounds();
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(-1, Main->GetHashColumn(HashKind::Md5));
    expectDecided();
}

// "CheckNum" out of the settings dialog's range (a settings file edited by hand or damaged) counts as 1 or 16.
TEST_F(CheckHashManagerTest, CheckNumOutOfRange_clampedToOneAndSixteen)
{
    Configure(true, false, false);
    for (int i = 0; i < 20; ++i)
        Temp.WriteFile(L"many\\" + std::to_wstring(100 + i) + L".bin", Content(MiB + 1, uint32_t(i)));
    Main->GetChecker()->HoldRounds(0);
    Drop(0, {Temp.PathOf(L"many")});
    const std::pair<int, int> cases[] = {{40, 16}, {0, 1}, {-3, 1}};
    for (const std::pair<int, int>& c : cases) {
        SetCheckNum(c.first);
        EXPECT_EQ(c.second, RowsStartedInOneRound(0)) << c.first;
        Main->GetChecker()->ReleaseRounds();
        ASSERT_TRUE(WaitIdle());
        EXPECT_EQ(20, RowsOfColour(0, SideOnlyColour)) << c.first;
        // the next case starts from unchecked rows again
        Main->GetChecker()->HoldRounds(0);
        Main->GetCommands().Recheck(0);
    }
}

// A worker thread that the system refuses leaves its row waiting for the next round; when no thread can be made at
// all the check still ends, with the rows unchecked.
TEST_F(CheckHashManagerTest, WorkerNotCreated_rowWaitsForTheNextRoundAndTheCheckEnds)
{
    Configure(true, false, false);
    for (int i = 0; i < 3; ++i)
        Temp.WriteFile(L"l\\" + std::to_wstring(i) + L".bin", Content(2 * MiB, uint32_t(i)));
    std::shared_ptr<int> creations = std::make_shared<int>(0);
    Main->GetChecker()->SetCreationGate([creations] { return ++*creations != 2; });
    Drop(0, {Temp.PathOf(L"l")});
    ASSERT_TRUE(WaitIdle());
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(ReferenceOf(PathCell(0, row)).Crc32, HashCell(0, row, HashKind::Crc32)) << row;
        EXPECT_EQ(L"←", MarkCell(row));
        EXPECT_EQ(SideOnlyColour, RowColour(0, row)) << row;
    }

    Main->GetChecker()->SetCreationGate([] { return false; });
    Main->GetCommands().Recheck(0);
    ASSERT_TRUE(WaitIdle());
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(L"", HashCell(0, row, HashKind::Crc32)) << row;
        EXPECT_EQ(L"", SizeCell(0, row)) << row;
    }
    Main->GetChecker()->SetCreationGate(nullptr);
}

TEST_F(CheckHashManagerTest, StopWhileReading_cancelledRowsThenRecheckReadsAgain)
{
    Configure(true, true, true);
    SparseFiles(L"big", 16, 64 * MiB);
    const Reference expected = ReferenceOf(Temp.PathOf(L"big\\f100.bin"));
    CellRecorder recorder(*Main);
    RegisterThenStart({{0, L"big"}}, 16);
    ASSERT_TRUE(WhileReading(recorder, [this] { Main->GetChecker()->StopChecking(); }));
    EXPECT_FALSE(Main->GetChecker()->IsChecking());
    EXPECT_EQ(0u, Main->GetChecker()->GetWorkerCount());
    // the file whose percentage was seen had 63 MiB left to read
    EXPECT_GE(ExpectCancelledOrDone(0, expected), 1);

    // the re-check: values and sizes emptied, the byte total restarted, then everything read again
    Main->GetRows().Recheck(0);
    Main->GetChecker()->StartChecking();
    ASSERT_TRUE(WhileReading(recorder, [this] { Main->GetChecker()->StopChecking(); }));
    EXPECT_GE(ExpectCancelledOrDone(0, expected), 1);
    Main->GetChecker()->StartChecking();
    ASSERT_TRUE(WaitIdle());
    ExpectAllValues(0, expected);
    EXPECT_EQ(16u * 64 * MiB, List(0).TotalSize());
}

TEST_F(CheckHashManagerTest, DropWhileSixteenRead_everythingEnds)
{
    Configure(true, true, true);
    SparseFiles(L"l", 16, 32 * MiB);
    SparseFiles(L"r", 16, 32 * MiB);
    SparseFiles(L"more", 4, 32 * MiB);
    const Reference expected = ReferenceOf(Temp.PathOf(L"l\\f100.bin"));
    CellRecorder recorder(*Main);
    RegisterThenStart({{0, L"l"}, {1, L"r"}}, 16);
    ASSERT_TRUE(WhileReading(recorder, [this] { Drop(0, {Temp.PathOf(L"more")}); }));
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(20, Rows());
    ExpectAllValues(0, expected);
    ExpectAllValues(1, expected);
}

TEST_F(CheckHashManagerTest, ClearWhileSixteenRead_listsEmpty)
{
    Configure(true, true, true);
    SparseFiles(L"l", 16, 32 * MiB);
    CellRecorder recorder(*Main);
    RegisterThenStart({{0, L"l"}}, 16);
    // what the clear command does: stop, then empty the rows
    ASSERT_TRUE(WhileReading(recorder, [this] {
        Main->GetChecker()->StopChecking();
        Main->GetRows().Clear();
        Main->SyncViews();
    }));
    EXPECT_EQ(0, Rows());
    Main->GetChecker()->StartChecking();
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(0u, Main->GetChecker()->GetWorkerCount());
}

TEST_F(CheckHashManagerTest, CloseWhileSixteenRead_windowGoesAndNothingHangs)
{
    Configure(true, true, true);
    SparseFiles(L"l", 16, 64 * MiB);
    {
        // the recorder lets go of the rows before the object that holds them ends
        CellRecorder recorder(*Main);
        RegisterThenStart({{0, L"l"}}, 16);
        const HWND window = Main->Handle;
        ASSERT_TRUE(WhileReading(recorder, [window] { DestroyWindow(window); }));
        EXPECT_FALSE(IsWindow(window));
        harness::PumpPending();
    }
    Main.reset();
    SUCCEED();
}

} // namespace
