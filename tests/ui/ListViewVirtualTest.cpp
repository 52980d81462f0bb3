// kit::ListView in virtual mode: the control holds a count and asks a source for what it paints; texts, colours and
// check boxes read back as shown, selection in the control, keyboard search and in-place editing through the source.
#include "kit/ui/ListView.h"
#include "kit/ui/ListViewEditBox.h"

#include "tests/harness/Harness.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

// rows "r<n>" / "v<n>"; every tenth row red on yellow; edits and checks kept in maps
class CountingSource : public kit::ListViewSource {
public:
    void GetCellText(int row, int column, std::wstring& text) override
    {
        ++TextCalls;
        const std::map<std::pair<int, int>, std::wstring>::const_iterator edited = Edits.find({row, column});
        if (edited != Edits.end())
            text = edited->second;
        else
            text = (column == 0 ? L"r" : L"v") + std::to_wstring(row);
    }
    void GetRowColors(int row, COLORREF& text, COLORREF& back) override
    {
        if (row % 10 == 0) {
            text = RGB(255, 0, 0);
            back = RGB(255, 255, 0);
        }
    }
    int GetImage(int row) override { return row % 2 == 0 ? Image : -1; }
    bool IsChecked(int row) override { return Checked.count(row) != 0; }
    void SetChecked(int row, bool checked) override
    {
        if (checked)
            Checked.insert(row);
        else
            Checked.erase(row);
    }
    void SetCellText(int row, int column, const std::wstring& text) override { Edits[{row, column}] = text; }
    void PrepareRows(int first, int last) override { Hints.push_back({first, last}); }
    void RowStatesChanged(int first, int last, UINT, UINT) override { Ranges.push_back({first, last}); }

    int Image = -1; // the even rows'
    int TextCalls = 0;
    std::map<std::pair<int, int>, std::wstring> Edits;
    std::set<int> Checked;
    std::vector<std::pair<int, int>> Hints;
    std::vector<std::pair<int, int>> Ranges;
};

class ListViewVirtualTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        List = kit::ListView::CreateVirtual(&Host, 1001, &Source);
        ASSERT_TRUE(List);
        MoveWindow(List->Handle, 0, 0, 440, 300, TRUE);
        List->SetExtendedStyle(LVS_EX_FULLROWSELECT);
        List->AddColumn(L"Name", 120, LVCFMT_LEFT);
        List->AddColumn(L"Value", 120, LVCFMT_LEFT);
    }

    void Paint() { RedrawWindow(List->Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

    RECT RowRect(int row, int part)
    {
        RECT rect = {};
        rect.left = part;
        SendMessageW(List->Handle, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
        return rect;
    }

    CountingSource Source;
    harness::HostWindow Host;
    boost::shared_ptr<kit::ListView> List;
};

// the pixels of rows 0 and 1 as painted on the screen
std::vector<uint32_t> RowPixels(HWND list, const RECT& rows)
{
    const int width = rows.right - rows.left;
    const int height = rows.bottom - rows.top;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(list);
    HDC copy = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(copy, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, width, height, screen, rows.left, rows.top, SRCCOPY);
    GdiFlush();
    const uint32_t* first = static_cast<const uint32_t*>(bits);
    std::vector<uint32_t> pixels(first, first + width * height);
    SelectObject(copy, old);
    DeleteObject(bitmap);
    DeleteDC(copy);
    ReleaseDC(list, screen);
    return pixels;
}

// The list blends the images itself and the rows look exactly as when the control draws them: icon, label place,
// colours; a selected row of the focused list (tinted by the control) too.
TEST_F(ListViewVirtualTest, BlendedIcons_rowsLookAsTheControlDrawsThem)
{
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
    ASSERT_NE(-1, ImageList_ReplaceIcon(images, -1, LoadIconW(nullptr, IDI_WARNING)));
    Source.Image = 0;
    List->SetSmallImageList(images);
    List->SetRowCount(20);
    RECT rows = RowRect(0, LVIR_BOUNDS);
    rows.bottom = RowRect(1, LVIR_BOUNDS).bottom;
    const auto look = [&](uint8_t behaviour) {
        List->SetBehaviour(behaviour);
        Paint();
        return RowPixels(List->Handle, rows);
    };
    const std::vector<uint32_t> drawn = look(kit::ListView::ColorDrawing);
    // the icon is there: the first row's icon cell is not all the colour of its corner
    const RECT icon = RowRect(0, LVIR_ICON);
    const int width = rows.right - rows.left;
    const uint32_t corner = drawn[(icon.top - rows.top) * width + icon.left - rows.left];
    bool shown = false;
    for (int y = icon.top; y < icon.bottom; ++y)
        for (int x = icon.left; x < icon.right; ++x)
            shown = shown || drawn[(y - rows.top) * width + x - rows.left] != corner;
    EXPECT_TRUE(shown);
    EXPECT_EQ(drawn, look(kit::ListView::ColorDrawing | kit::ListView::BlendedIcons));

    SetFocus(List->Handle);
    List->SetRowSelected(0, true);
    const std::vector<uint32_t> selected = look(kit::ListView::ColorDrawing);
    EXPECT_NE(drawn, selected);
    EXPECT_EQ(selected, look(kit::ListView::ColorDrawing | kit::ListView::BlendedIcons));
    List->SetSmallImageList(nullptr);
    ImageList_Destroy(images);
}

TEST_F(ListViewVirtualTest, SetRowCount_aMillionRowsIsACountAndOnlyVisibleRowsAreAsked)
{
    ASSERT_TRUE(List->SetRowCount(1000000));
    EXPECT_EQ(1000000, List->GetItemCount());
    EXPECT_EQ(1000000, harness::ListRowCount(List->Handle));
    Source.TextCalls = 0;
    Paint();
    const int page = static_cast<int>(SendMessageW(List->Handle, LVM_GETCOUNTPERPAGE, 0, 0));
    EXPECT_GT(Source.TextCalls, 0);
    // two columns of the rows in sight, each asked a few times at most (measuring and drawing)
    EXPECT_LE(Source.TextCalls, (page + 1) * 2 * 4);
    ASSERT_FALSE(Source.Hints.empty()) << "the rows about to be painted are announced";
    EXPECT_LE(Source.Hints.back().second - Source.Hints.back().first, page + 1);

    EXPECT_EQ(L"r999999", harness::ListCellText(List->Handle, 999999, 0));
    EXPECT_EQ(L"v123456", harness::ListCellText(List->Handle, 123456, 1));
    EXPECT_EQ(nullptr, List->GetItem(0)) << "a virtual list has no row objects";
    EXPECT_EQ(nullptr, List->AddItem(L"x"));

    List->EnsureVisible(500000);
    const int top = static_cast<int>(SendMessageW(List->Handle, LVM_GETTOPINDEX, 0, 0));
    EXPECT_LE(top, 500000);
    EXPECT_GE(top + page, 500000);

    ASSERT_TRUE(List->SetRowCount(3));
    EXPECT_EQ(3, harness::ListRowCount(List->Handle));
    EXPECT_EQ(L"", harness::ListCellText(List->Handle, 3, 0)) << "rows past the count are never asked for";
}

TEST_F(ListViewVirtualTest, RedrawRows_invalidatesTheRowsInSightAndNothingElse)
{
    ASSERT_TRUE(List->SetRowCount(1000));
    Paint();
    RECT update = {};
    ASSERT_FALSE(GetUpdateRect(List->Handle, &update, FALSE));
    List->RedrawRows(3, 5);
    ASSERT_TRUE(GetUpdateRect(List->Handle, &update, FALSE));
    EXPECT_EQ(RowRect(3, LVIR_BOUNDS).top, update.top);
    EXPECT_EQ(RowRect(5, LVIR_BOUNDS).bottom, update.bottom);
    Source.TextCalls = 0;
    UpdateWindow(List->Handle);
    EXPECT_GT(Source.TextCalls, 0);

    // a span running past the view stops at its bottom; one wholly below it asks for nothing
    const int page = static_cast<int>(SendMessageW(List->Handle, LVM_GETCOUNTPERPAGE, 0, 0));
    RECT client;
    GetClientRect(List->Handle, &client);
    List->RedrawRows(page - 1, 900);
    ASSERT_TRUE(GetUpdateRect(List->Handle, &update, FALSE));
    EXPECT_EQ(RowRect(page - 1, LVIR_BOUNDS).top, update.top);
    EXPECT_LE(update.bottom, client.bottom);
    UpdateWindow(List->Handle);
    List->RedrawRows(page + 5, 900);
    EXPECT_FALSE(GetUpdateRect(List->Handle, &update, FALSE));
}

TEST_F(ListViewVirtualTest, DisplayInfo_textsCutToTheBufferColoursAndChecksReadBack)
{
    List->SetBehaviour(kit::ListView::ColorDrawing);
    List->SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES);
    List->SetRowCount(100);
    Source.Edits[{1, 0}] = L"0123456789";

    // a buffer of 5 characters takes 4 and the terminator
    wchar_t buffer[8] = L"#######";
    LVITEMW item = {};
    item.iSubItem = 0;
    item.pszText = buffer;
    item.cchTextMax = 5;
    SendMessageW(List->Handle, LVM_GETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(std::wstring(L"0123"), std::wstring(buffer));
    EXPECT_EQ(L'#', buffer[5]) << "nothing written past the buffer";
    EXPECT_EQ(L"0123456789", harness::ListCellText(List->Handle, 1, 0));

    const harness::CellColors red = harness::ListCellColors(List->Handle, 20, 1);
    EXPECT_EQ(RGB(255, 0, 0), red.Text);
    EXPECT_EQ(RGB(255, 255, 0), red.Back);
    EXPECT_EQ(RGB(255, 255, 255), harness::ListCellColors(List->Handle, 21, 0).Back);

    EXPECT_EQ(1, harness::ListStateImage(List->Handle, 2));
    Source.Checked.insert(2);
    EXPECT_EQ(2, harness::ListStateImage(List->Handle, 2));
    EXPECT_EQ(1, List->CountChecked());

    // a click on the check box and Space go to the source, which keeps the state
    const RECT icon = RowRect(4, LVIR_ICON);
    const RECT bounds = RowRect(4, LVIR_BOUNDS);
    harness::ClickAt(List->Handle, bounds.left + 8, (icon.top + icon.bottom) / 2);
    EXPECT_EQ(1u, Source.Checked.count(4));
    EXPECT_EQ(2, harness::ListStateImage(List->Handle, 4));
    List->SelectRows([](int row) { return row == 6 || row == 7; });
    List->SetFocusedRow(6);
    SetFocus(List->Handle);
    harness::PressKey(List->Handle, VK_SPACE);
    EXPECT_EQ((std::set<int>{2, 4, 6, 7}), Source.Checked) << "Space sets every selected row like the focused one";
    harness::PressKey(List->Handle, VK_SPACE);
    EXPECT_EQ((std::set<int>{2, 4}), Source.Checked);
}

TEST_F(ListViewVirtualTest, Selection_rangesAndQueriesKeptByTheControl)
{
    List->SetRowCount(1000);
    List->SelectAll();
    EXPECT_EQ(1000, List->GetSelectedCount());
    List->SelectRows([](int row) { return row % 100 == 3; });
    EXPECT_EQ(10, List->GetSelectedCount());
    const std::vector<int> selected = List->GetSelectedIndexes();
    ASSERT_EQ(10u, selected.size());
    EXPECT_EQ(3, selected.front());
    EXPECT_EQ(903, selected.back());
    EXPECT_EQ(3, List->GetFirstSelectedRow());

    // a Shift+click selects a range in one change, told to the source
    List->SelectRows([](int) { return false; });
    const RECT first = RowRect(2, LVIR_BOUNDS);
    const RECT last = RowRect(8, LVIR_BOUNDS);
    harness::ClickAt(List->Handle, first.left + 40, (first.top + first.bottom) / 2);
    harness::ClickAt(List->Handle, last.left + 40, (last.top + last.bottom) / 2, harness::Shift);
    EXPECT_EQ(7, List->GetSelectedCount());
    EXPECT_EQ(8, List->GetFocusedRow());
    bool told = false;
    for (const std::pair<int, int>& range : Source.Ranges)
        told = told || (range.first <= 2 && range.second >= 8);
    EXPECT_TRUE(told);
    harness::PressKey(List->Handle, VK_DOWN);
    EXPECT_EQ(9, List->GetFocusedRow());
}

TEST_F(ListViewVirtualTest, FindItem_firstColumnPrefixFromTheStartWrappingOrMinusOne)
{
    List->SetRowCount(500);
    LVFINDINFOW find = {};
    find.flags = LVFI_STRING | LVFI_PARTIAL;
    find.psz = L"R49";
    EXPECT_EQ(49, SendMessageW(List->Handle, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
    EXPECT_EQ(490, SendMessageW(List->Handle, LVM_FINDITEMW, 100, reinterpret_cast<LPARAM>(&find)));
    find.flags = LVFI_STRING;
    find.psz = L"r7";
    EXPECT_EQ(7, SendMessageW(List->Handle, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
    find.psz = L"nothing";
    EXPECT_EQ(-1, SendMessageW(List->Handle, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
    EXPECT_EQ(-1, Source.FindRow(L"r1", 200, 500, true, false)) << "no wrap: rows before the start are not searched";
    EXPECT_EQ(1, Source.FindRow(L"r1", 200, 500, false, true));

    // typing in the list moves the focus to the first row that begins with the typed text
    SetFocus(List->Handle);
    harness::TypeText(List->Handle, L"r42");
    EXPECT_EQ(42, List->GetFocusedRow());
}

TEST_F(ListViewVirtualTest, InPlaceEdit_commitGoesToTheSourceEscapeLeavesTheCell)
{
    List->SetBehaviour(kit::ListView::InPlaceEdit);
    List->SetRowCount(50);
    ASSERT_TRUE(List->BeginEditCell(3, 1));
    ASSERT_NE(nullptr, List->GetEditor());
    EXPECT_EQ(3, List->GetEditRow());
    EXPECT_EQ(L"v3", List->GetEditor()->GetText());
    SetWindowTextW(List->GetEditor()->Handle, L"changed");
    harness::PressKey(List->GetEditor()->Handle, VK_RETURN);
    EXPECT_EQ(-1, List->GetEditRow());
    EXPECT_EQ(L"changed", harness::ListCellText(List->Handle, 3, 1));
    EXPECT_EQ(50, List->GetItemCount()) << "the source, not the list, decides about an empty last row";

    List->SetRowSelected(5, true);
    SetFocus(List->Handle);
    harness::PressKey(List->Handle, VK_F2);
    ASSERT_NE(nullptr, List->GetEditor());
    EXPECT_EQ(5, List->GetEditRow());
    SetWindowTextW(List->GetEditor()->Handle, L"dropped");
    harness::PressKey(List->GetEditor()->Handle, VK_ESCAPE);
    EXPECT_EQ(nullptr, List->GetEditor());
    EXPECT_EQ(L"r5", harness::ListCellText(List->Handle, 5, 0));

    // the row under an edit goes away with the count
    ASSERT_TRUE(List->BeginEditCell(40, 0));
    List->SetRowCount(10);
    EXPECT_EQ(nullptr, List->GetEditor());
    EXPECT_TRUE(Source.Edits.count({40, 0}) == 0);
}

} // namespace
