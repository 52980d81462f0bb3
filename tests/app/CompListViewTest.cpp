// The pairing of left and right rows, the mark column and the evaluation of finished pairs, on a real main window.
#include "tests/app/MainWindowTesting.h"

#include "app/lists/PairMarks.h"

namespace {

const COLORREF Wait = 0xC0C0C0;
const COLORREF Ok = 0xFFFF00;
const COLORREF Ng = 0xFF00FF;
const COLORREF LeftOnly = 0x00FFFF;

class CompListViewTest : public MainWindowFixture {};

TEST_F(CompListViewTest, MergePending_rowsGetInfoIconAndWaitColour)
{
    Start();
    const std::wstring path = Folder.WriteFile(L"set\\dir\\file.txt", "abc");
    Register(0, {path}, Folder.PathOf(L"set\\"));
    FileListView& left = List(0);
    FileListView::ItemInfo info;
    ASSERT_TRUE(left.GetItemInfo(0, info));
    EXPECT_EQ(L"dir\\file.txt", info.RelativeKey);
    EXPECT_FALSE(info.Finished);
    // the underline starts where the relative part does
    EXPECT_EQ(path.size() - 12, Main->GetRows().GetCell(0, 0).PrefixLength());
    EXPECT_EQ(FileListView::ShellIconIndex(path), left.GetRowImage(0));
    EXPECT_EQ(Wait, RowColour(0, 0));
    // the partner row is a blank placeholder: no path, no record, no icon
    FileListView::ItemInfo none;
    EXPECT_FALSE(List(1).GetItemInfo(0, none));
    EXPECT_TRUE(List(1).IsBlankRow(0));
    EXPECT_EQ(-1, List(1).GetRowImage(0));
    EXPECT_EQ(-1, left.GetRowImage(5));

    RegisterImported(1, L"C:\\listed\\x.bin", L"", L"-");
    EXPECT_EQ(-1, List(1).GetRowImage(1));
}

TEST_F(CompListViewTest, EvaluatePair_equalAndDifferingValues)
{
    Start();
    RegisterFile(0, Folder.WriteFile(L"a\\same.bin", "1"));
    RegisterFile(0, Folder.WriteFile(L"a\\diff.bin", "1"));
    RegisterFile(1, Folder.WriteFile(L"b\\same.bin", "1"));
    RegisterFile(1, Folder.WriteFile(L"b\\diff.bin", "2"));

    Finish(0, 0, L"1A2B3C4D", L"1");
    // the partner has not finished: the row waits, the mark stays
    EXPECT_EQ(Wait, RowColour(0, 0));
    EXPECT_EQ(L"？", MarkText(0));
    FileListView::ItemInfo info;
    ASSERT_TRUE(List(0).GetItemInfo(0, info));
    EXPECT_TRUE(info.Finished);

    Finish(1, 0, L"1A2B3C4D", L"1");
    EXPECT_EQ(L"○", MarkText(0));
    EXPECT_EQ(Ok, RowColour(0, 0));
    EXPECT_EQ(Ok, RowColour(1, 0));
    EXPECT_EQ(Ok, MarkColour(0));

    // hash texts compare exactly: case counts
    Finish(0, 1, L"1A2B3C4D", L"1");
    Finish(1, 1, L"1a2b3c4d", L"1");
    EXPECT_EQ(L"×", MarkText(1));
    EXPECT_EQ(Ng, RowColour(0, 1));
    EXPECT_EQ(Ng, RowColour(1, 1));
    EXPECT_EQ(1, Main->GetRows().MarkCount(PairMark::Ok));
    EXPECT_EQ(1, Main->GetRows().MarkCount(PairMark::Ng));
    EXPECT_EQ(0, Main->GetRows().MarkCount(PairMark::Unknown));
    EXPECT_EQ(L"\t○:1", Main->PaneText(1));
}

TEST_F(CompListViewTest, EvaluatePair_withoutHashKindsTheSizesDecide)
{
    kit::SettingsNode stored;
    stored.SetBool(L"Crc32", false);
    Start(stored);
    EXPECT_EQ(-1, Main->GetHashColumn(0));
    RegisterFile(0, Folder.WriteFile(L"a\\one.bin", "1"));
    RegisterFile(0, Folder.WriteFile(L"a\\two.bin", "1"));
    RegisterFile(1, Folder.WriteFile(L"b\\one.bin", "1"));
    RegisterFile(1, Folder.WriteFile(L"b\\two.bin", "22"));
    Finish(0, 0, L"", L"1");
    Finish(1, 0, L"", L"1");
    Finish(0, 1, L"", L"1");
    Finish(1, 1, L"", L"2");
    EXPECT_EQ(L"○", MarkText(0));
    EXPECT_EQ(L"×", MarkText(1));
}

TEST_F(CompListViewTest, EvaluatePair_aloneRowsTakeTheirSideColour)
{
    Start();
    RegisterFile(0, Folder.WriteFile(L"a\\left.bin", "1"));
    RegisterFile(1, Folder.WriteFile(L"b\\right.bin", "1"));
    Finish(0, 0, L"00000001", L"1");
    Finish(1, 1, L"00000001", L"1");
    EXPECT_EQ(L"←", MarkText(0));
    EXPECT_EQ(LeftOnly, RowColour(0, 0));
    EXPECT_EQ(L"→", MarkText(1));
    EXPECT_EQ(LeftOnly, RowColour(1, 1));
    // the blank partner rows keep their colour
    EXPECT_EQ(0xFFFFFFu, RowColour(1, 0));
}

TEST_F(CompListViewTest, SelectByMark_kinds)
{
    Start();
    RegisterFile(0, Folder.WriteFile(L"a\\pair.bin", "1"));
    RegisterFile(1, Folder.WriteFile(L"b\\pair.bin", "1"));
    RegisterFile(0, Folder.WriteFile(L"a\\alone1.bin", "1"));
    RegisterFile(0, Folder.WriteFile(L"a\\alone2.bin", "1"));
    HWND left = List(0).Handle;
    Main->SetCurrentSide(0);

    // no "○" anywhere: nothing stays selected
    List(0).SetRowSelected(0, true);
    Marks().SelectByMark(PairMark::Ok);
    for (int row = 0; row < 3; ++row)
        EXPECT_FALSE(harness::IsListRowSelected(left, row));

    Marks().SelectByMark(PairMark::Left);
    EXPECT_FALSE(harness::IsListRowSelected(left, 0));
    EXPECT_TRUE(harness::IsListRowSelected(left, 1));
    EXPECT_TRUE(harness::IsListRowSelected(left, 2));

    Marks().SelectByMark(SelectKind::Inverse);
    EXPECT_TRUE(harness::IsListRowSelected(left, 0));
    EXPECT_FALSE(harness::IsListRowSelected(left, 1));

    Marks().SelectByMark(SelectKind::All);
    for (int row = 0; row < 3; ++row)
        EXPECT_TRUE(harness::IsListRowSelected(left, row));
    // the other side is not touched
    EXPECT_FALSE(harness::IsListRowSelected(List(1).Handle, 1));
}

TEST_F(CompListViewTest, Recolour_followsChangedColours)
{
    Start();
    RegisterFile(0, Folder.WriteFile(L"a\\same.bin", "1"));
    RegisterFile(1, Folder.WriteFile(L"b\\same.bin", "1"));
    Finish(0, 0, L"00000001", L"1");
    Finish(1, 0, L"00000001", L"1");
    Main->GetSettings().Child(L"Color").SetInt(L"Ok", 0x123456);
    // a value of the wrong length is ignored: the default applies
    Main->GetSettings().Child(L"Color").SetBool(L"Wait", true);
    Marks().Recolour();
    EXPECT_EQ(0x123456u, RowColour(0, 0));
    EXPECT_EQ(0x123456u, RowColour(1, 0));
    EXPECT_EQ(0x123456u, MarkColour(0));
    EXPECT_EQ(Wait, Main->GetStateColour(0));
}

TEST_F(CompListViewTest, OnNotify_markColumnCannotBeResized)
{
    Start();
    HWND marks = Marks().Handle;
    NMHEADERW header = {};
    header.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageW(marks, LVM_GETHEADER, 0, 0));
    header.hdr.code = HDN_BEGINTRACKW;
    EXPECT_EQ(1, SendMessageW(marks, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header)));
    header.hdr.code = HDN_DIVIDERDBLCLICKW;
    EXPECT_EQ(1, SendMessageW(marks, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header)));
    ASSERT_EQ(1, harness::ListColumnCount(marks));
    EXPECT_EQ(L"状態", harness::ListHeaderText(marks, 0));
    EXPECT_EQ(40, Marks().GetColumn(0)->GetWidth());
}

TEST_F(CompListViewTest, Scroll_oneListMovesTheOthers)
{
    Start();
    std::vector<std::wstring> paths;
    for (int n = 0; n < 120; ++n)
        paths.push_back(Folder.WriteFile(L"many\\f" + std::to_wstring(n) + L".txt", "x"));
    Register(0, paths, Folder.PathOf(L"many\\"));
    List(1).RevealList();
    harness::PumpPending();
    HWND lists[3] = {List(0).Handle, List(1).Handle, Marks().Handle};

    SendMessageW(lists[2], WM_VSCROLL, SB_PAGEDOWN, 0);
    SendMessageW(lists[2], WM_VSCROLL, SB_PAGEDOWN, 0);
    for (HWND list : lists)
        UpdateWindow(list);
    harness::PumpPending();
    const int top = static_cast<int>(SendMessageW(lists[2], LVM_GETTOPINDEX, 0, 0));
    const int page = static_cast<int>(SendMessageW(lists[2], LVM_GETCOUNTPERPAGE, 0, 0));
    ASSERT_GT(top, 0);
    // the side lists show the same bottom row as the mark list
    for (int side = 0; side < 2; ++side) {
        const int sideTop = static_cast<int>(SendMessageW(lists[side], LVM_GETTOPINDEX, 0, 0));
        const int sidePage = static_cast<int>(SendMessageW(lists[side], LVM_GETCOUNTPERPAGE, 0, 0));
        EXPECT_EQ(top + page, sideTop + sidePage) << side;
    }

    // scrolling the right list back to the top takes the others along
    for (int page = 0; page < 6; ++page)
        SendMessageW(lists[1], WM_VSCROLL, SB_PAGEUP, 0);
    for (HWND list : lists)
        UpdateWindow(list);
    harness::PumpPending();
    ASSERT_EQ(0, SendMessageW(lists[1], LVM_GETTOPINDEX, 0, 0));
    EXPECT_EQ(0, SendMessageW(lists[0], LVM_GETTOPINDEX, 0, 0));
    EXPECT_EQ(0, SendMessageW(lists[2], LVM_GETTOPINDEX, 0, 0));
}

} // namespace
