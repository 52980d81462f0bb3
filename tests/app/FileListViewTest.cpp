// A side list: cells through the column positions, the relative-path underline, keys and notifications.
#include "tests/app/MainWindowTesting.h"

#include <algorithm>

namespace {

const COLORREF White = 0xFFFFFF;

class FileListViewTest : public MainWindowFixture {
protected:
    // Paints what the custom draw adds over row's cells into a white bitmap as large as the list, exactly as the
    // list asks its parent while it paints: the pixel colours are read back from it.
    struct Picture {
        HDC Dc = 0;
        HBITMAP Bitmap = 0;
        HGDIOBJ Old = 0;
        ~Picture()
        {
            SelectObject(Dc, Old);
            DeleteObject(Bitmap);
            DeleteDC(Dc);
        }
        COLORREF At(int x, int y) const { return GetPixel(Dc, x, y); }
    };
    void Paint(int side, int row, Picture& picture)
    {
        HWND list = List(side).Handle;
        RECT client = {};
        GetClientRect(list, &client);
        HDC screen = GetDC(list);
        picture.Dc = CreateCompatibleDC(screen);
        picture.Bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
        ReleaseDC(list, screen);
        picture.Old = SelectObject(picture.Dc, picture.Bitmap);
        HBRUSH white = CreateSolidBrush(White);
        FillRect(picture.Dc, &client, white);
        DeleteObject(white);
        NMLVCUSTOMDRAW draw = {};
        draw.nmcd.hdr.hwndFrom = list;
        draw.nmcd.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
        draw.nmcd.hdr.code = NM_CUSTOMDRAW;
        draw.nmcd.hdc = picture.Dc;
        // a paint begins once, then goes cell by cell
        draw.nmcd.dwDrawStage = CDDS_PREPAINT;
        SendMessageW(GetParent(list), WM_NOTIFY, draw.nmcd.hdr.idFrom, reinterpret_cast<LPARAM>(&draw));
        draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
        for (int column = 0; column < List(side).GetColumnCount(); ++column) {
            draw.iSubItem = column;
            for (DWORD stage : {DWORD(CDDS_ITEMPREPAINT | CDDS_SUBITEM), DWORD(CDDS_ITEMPOSTPAINT | CDDS_SUBITEM)}) {
                draw.nmcd.dwDrawStage = stage;
                SendMessageW(GetParent(list), WM_NOTIFY, draw.nmcd.hdr.idFrom, reinterpret_cast<LPARAM>(&draw));
            }
        }
    }
    int Width(int side, const std::wstring& text)
    {
        return static_cast<int>(
            SendMessageW(List(side).Handle, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    RECT Label(int side, int row)
    {
        RECT label = {};
        label.left = LVIR_LABEL;
        SendMessageW(List(side).Handle, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label));
        return label;
    }
};

TEST_F(FileListViewTest, CustomDraw_underlinesTheRelativePart)
{
    Start();
    const std::wstring path = Folder.WriteFile(L"set\\dir\\file.txt", "abc");
    Register(0, {path}, Folder.PathOf(L"set\\"));
    // the whole path in view (the temporary folder is long)
    SetWindowPos(Main->Handle, nullptr, 0, 0, 1260, 600, SWP_NOZORDER | SWP_NOACTIVATE);
    harness::PumpPending();
    SendMessageW(List(0).Handle, LVM_SETCOLUMNWIDTH, 0, 2000);
    struct {
        int PrefixWidth, PathWidth;
    } info = {Width(0, path.substr(0, path.size() - 12)), Width(0, path)};
    const RECT label = Label(0, 0);
    ASSERT_GT(label.right, label.left + info.PathWidth);
    RECT client = {};
    GetClientRect(List(0).Handle, &client);
    ASSERT_GT(client.right, label.left + info.PathWidth) << info.PrefixWidth;
    Picture picture;
    Paint(0, 0, picture);
    const int y = label.bottom - 2;
    // the bar runs from the end of the prefix to the end of the path, 2 pixels high, at the label's foot
    EXPECT_EQ(0u, picture.At(label.left + info.PrefixWidth + 1, y));
    EXPECT_EQ(0u, picture.At(label.left + info.PathWidth - 1, label.bottom - 3));
    EXPECT_EQ(White, picture.At(label.left + info.PrefixWidth - 1, y));
    EXPECT_EQ(White, picture.At(label.left + info.PathWidth + 1, y));
    EXPECT_EQ(White, picture.At(label.left + info.PrefixWidth + 1, label.bottom - 4));
    EXPECT_EQ(White, picture.At(label.left + info.PrefixWidth + 1, label.bottom - 1));

    // in the colour of "UnderLine"
    Main->GetSettings().Child(L"Color").SetInt(L"UnderLine", 0x0000FF);
    Picture red;
    Paint(0, 0, red);
    EXPECT_EQ(0x0000FFu, red.At(label.left + info.PrefixWidth + 1, y));
}

TEST_F(FileListViewTest, CustomDraw_nothingWhenOffOrBlank)
{
    Start();
    const std::wstring path = Folder.WriteFile(L"set\\dir\\file.txt", "abc");
    Register(0, {path}, Folder.PathOf(L"set\\"));
    SendMessageW(List(0).Handle, LVM_SETCOLUMNWIDTH, 0, 2000);
    SendMessageW(List(1).Handle, LVM_SETCOLUMNWIDTH, 0, 2000);
    const RECT label = Label(0, 0);

    RECT client = {};
    GetClientRect(List(0).Handle, &client);
    const int right = std::min<int>(label.right, client.right);
    ASSERT_GT(right, label.left + 20);

    // the blank partner row on the right has no record: nothing is drawn on it
    Picture blank;
    Paint(1, 0, blank);
    for (int x = label.left; x < right; x += 3)
        ASSERT_EQ(White, blank.At(x, label.bottom - 2)) << x;

    Main->GetSettings().SetBool(L"UnderLine", false);
    Picture off;
    Paint(0, 0, off);
    for (int x = label.left; x < right; x += 3)
        ASSERT_EQ(White, off.At(x, label.bottom - 2)) << x;
    // the row colours are still handed to the control
    harness::CellColors colours = harness::ListCellColors(List(0).Handle, 0, 0);
    EXPECT_EQ(0xC0C0C0u, colours.Back);
}

TEST_F(FileListViewTest, OnKeyDown_ctrlASelectsAllAndAAloneNothing)
{
    Start();
    Register(0, {Folder.WriteFile(L"a\\1.bin", "1"), Folder.WriteFile(L"a\\2.bin", "1"),
                 Folder.WriteFile(L"a\\3.bin", "1")},
             Folder.PathOf(L"a\\"));
    HWND list = List(0).Handle;
    harness::PressKey(list, 'A');
    for (int row = 0; row < 3; ++row)
        EXPECT_FALSE(harness::IsListRowSelected(list, row));
    harness::PressKey(list, 'A', harness::Ctrl);
    for (int row = 0; row < 3; ++row)
        EXPECT_TRUE(harness::IsListRowSelected(list, row));
    // the other side and the mark list keep their selection
    EXPECT_FALSE(harness::IsListRowSelected(List(1).Handle, 0));
    EXPECT_FALSE(harness::IsListRowSelected(Marks().Handle, 0));
}

TEST_F(FileListViewTest, OnNotify_clickMakesTheSideCurrent)
{
    Start();
    RegisterFile(1, Folder.WriteFile(L"b\\x.bin", "1"));
    Main->SetCurrentSide(0);
    HWND right = List(1).Handle;
    NMITEMACTIVATE click = {};
    click.hdr.hwndFrom = right;
    click.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(right));
    click.hdr.code = NM_CLICK;
    click.iItem = -1;
    SendMessageW(GetParent(right), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(1, Main->GetCurrentSide());
}

TEST_F(FileListViewTest, Rows_cellsColoursAndRecords)
{
    Start();
    RegisterFile(0, Folder.WriteFile(L"a\\x.bin", "1"));
    FileListView& list = List(0);
    list.SetSizeText(0, L"1,234");
    EXPECT_EQ(L"1,234", list.GetSizeText(0));
    EXPECT_EQ(L"1,234", Cell(0, 0, 2));
    list.SetHashText(0, 0, L"42%");
    EXPECT_EQ(L"42%", Cell(0, 0, 1));
    // out of range rows and columns are ignored
    list.SetCellText(7, 0, L"x");
    list.SetCellText(0, 9, L"x");
    EXPECT_EQ(L"", list.GetCellText(7, 0));
    EXPECT_EQ(L"", list.GetCellText(0, 9));

    Main->GetRows().SetState(0, 0, StateColour::Check);
    EXPECT_EQ(0x00FF00u, list.GetRowColour(0));
    EXPECT_EQ(0x00FF00u, harness::ListCellColors(list.Handle, 0, 1).Back);

    // a blank row has no record
    FileListView::ItemInfo info;
    EXPECT_TRUE(list.GetItemInfo(0, info));
    EXPECT_FALSE(List(1).GetItemInfo(0, info));
}

} // namespace
