// In-place editing of list cells: Enter commits, Esc cancels, losing the focus commits; an editable list keeps an
// empty last row.
#include "kit/ui/ListView.h"
#include "kit/ui/ListViewEditBox.h"

#include "kit/ui/EditBox.h"
#include "tests/harness/Harness.h"

#include <gtest/gtest.h>

namespace {

class ListViewEditBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        List = kit::ListView::Create(&Host, 1001, false);
        ASSERT_TRUE(List);
        MoveWindow(List->Handle, 0, 0, 400, 250, TRUE);
        List->SetExtendedStyle(LVS_EX_FULLROWSELECT);
        List->AddColumn(L"Extension", 150, LVCFMT_LEFT);
        List->AddColumn(L"Tool", 150, LVCFMT_LEFT);
        Other = kit::EditBox::Create(&Host, L"", RECT{0, 260, 200, 285});
        ASSERT_TRUE(Other);
    }

    // starts editing column of row with the keyboard (select, then F2 or Enter)
    HWND BeginWithKey(int row, UINT key)
    {
        List->GetItem(row)->SetSelected(true);
        SetFocus(List->Handle);
        harness::PressKey(List->Handle, key);
        kit::ListViewItem* item = List->GetEditingItem();
        return item && item->GetEditor() ? item->GetEditor()->Handle : nullptr;
    }

    harness::HostWindow Host;
    boost::shared_ptr<kit::ListView> List;
    boost::shared_ptr<kit::EditBox> Other;
};

TEST_F(ListViewEditBoxTest, EnsureEmptyLastRow_onlyForEditableLists)
{
    List->EnsureEmptyLastRow();
    EXPECT_EQ(0, List->GetItemCount());
    List->SetBehaviour(kit::ListView::InPlaceEdit);
    ASSERT_EQ(1, List->GetItemCount());
    List->EnsureEmptyLastRow();
    EXPECT_EQ(1, List->GetItemCount()) << "the last row is empty already";
    List->GetItem(0)->SetText(0, L"txt");
    List->EnsureEmptyLastRow();
    ASSERT_EQ(2, List->GetItemCount());
    EXPECT_EQ(L"", List->GetItem(1)->GetText(0));
}

TEST_F(ListViewEditBoxTest, Enter_commitsAndAddsAnEmptyRow)
{
    List->SetBehaviour(kit::ListView::InPlaceEdit);
    HWND editor = BeginWithKey(0, VK_RETURN);
    ASSERT_NE(nullptr, editor);
    EXPECT_EQ(List->Handle, GetParent(editor));
    EXPECT_EQ(editor, GetFocus());
    EXPECT_EQ(0, List->GetEditingItem()->GetEditColumn());
    SetWindowTextW(editor, L"txt;html");
    harness::PressKey(editor, VK_RETURN);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(nullptr, List->GetEditingItem());
    EXPECT_EQ(nullptr, List->GetItem(0)->GetEditor());
    EXPECT_EQ(L"txt;html", harness::ListCellText(List->Handle, 0, 0));
    ASSERT_EQ(2, List->GetItemCount());
    EXPECT_EQ(L"", harness::ListCellText(List->Handle, 1, 0));
    EXPECT_EQ(List->Handle, GetFocus());
}

TEST_F(ListViewEditBoxTest, Esc_leavesTheCellUnchanged)
{
    List->SetBehaviour(kit::ListView::InPlaceEdit);
    List->GetItem(0)->SetText(0, L"keep");
    List->EnsureEmptyLastRow();
    HWND editor = BeginWithKey(0, VK_F2);
    ASSERT_NE(nullptr, editor);
    EXPECT_EQ(L"keep", harness::WindowText(editor));
    DWORD start = 1, end = 0;
    SendMessageW(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(0u, start);
    EXPECT_EQ(4u, end) << "the whole text is selected";
    SetWindowTextW(editor, L"changed");
    harness::PressKey(editor, VK_ESCAPE);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(L"keep", harness::ListCellText(List->Handle, 0, 0));
    EXPECT_EQ(2, List->GetItemCount());
    EXPECT_EQ(List->Handle, GetFocus());
}

TEST_F(ListViewEditBoxTest, FocusLoss_commits)
{
    List->SetBehaviour(kit::ListView::InPlaceEdit);
    HWND editor = BeginWithKey(0, VK_RETURN);
    ASSERT_NE(nullptr, editor);
    SetWindowTextW(editor, L"exe");
    SetFocus(Other->Handle);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(L"exe", harness::ListCellText(List->Handle, 0, 0));
    EXPECT_EQ(2, List->GetItemCount());
    EXPECT_EQ(Other->Handle, GetFocus()) << "the focus stays where the user put it";
}

TEST_F(ListViewEditBoxTest, DoubleClick_editsTheCellHit)
{
    List->SetBehaviour(kit::ListView::InPlaceEdit);
    List->GetItem(0)->SetText(1, L"notepad.exe");
    RECT cell = {};
    ListView_GetSubItemRect(List->Handle, 0, 1, LVIR_LABEL, &cell);
    harness::DoubleClickAt(List->Handle, cell.left + 10, (cell.top + cell.bottom) / 2);
    kit::ListViewItem* item = List->GetEditingItem();
    ASSERT_NE(nullptr, item);
    EXPECT_EQ(1, item->GetEditColumn());
    HWND editor = item->GetEditor()->Handle;
    EXPECT_EQ(L"notepad.exe", harness::WindowText(editor));
    RECT shown = harness::WindowRect(editor);
    MapWindowPoints(nullptr, List->Handle, reinterpret_cast<POINT*>(&shown), 2);
    EXPECT_EQ(cell.left, shown.left);
    SetWindowTextW(editor, L"wordpad.exe");
    harness::PressKey(editor, VK_RETURN);
    EXPECT_EQ(L"wordpad.exe", harness::ListCellText(List->Handle, 0, 1));
    EXPECT_EQ(1, List->GetItemCount()) << "the first cell is still empty";
}

TEST_F(ListViewEditBoxTest, KeysWithoutTheFlag_startNoEdit)
{
    List->AddItem(L"a");
    EXPECT_EQ(nullptr, BeginWithKey(0, VK_RETURN));
    EXPECT_EQ(nullptr, BeginWithKey(0, VK_F2));
}

TEST_F(ListViewEditBoxTest, SecondEdit_commitsTheFirst)
{
    List->SetBehaviour(kit::ListView::InPlaceEdit);
    List->GetItem(0)->SetText(0, L"one");
    List->AddItem(L"two");
    List->EnsureEmptyLastRow();
    ASSERT_TRUE(List->GetItem(0)->BeginEdit(1));
    HWND first = List->GetItem(0)->GetEditor()->Handle;
    SetWindowTextW(first, L"first tool");
    ASSERT_TRUE(List->GetItem(1)->BeginEdit(1));
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(L"first tool", harness::ListCellText(List->Handle, 0, 1));
    EXPECT_EQ(List->GetItem(1), List->GetEditingItem());
    harness::PressKey(List->GetItem(1)->GetEditor()->Handle, VK_ESCAPE);
    EXPECT_EQ(nullptr, List->GetEditingItem());
}

TEST_F(ListViewEditBoxTest, DeletingTheEditedRow_dropsTheEditor)
{
    List->SetBehaviour(kit::ListView::InPlaceEdit);
    List->GetItem(0)->SetText(0, L"gone");
    List->EnsureEmptyLastRow();
    ASSERT_TRUE(List->GetItem(0)->BeginEdit(0));
    HWND editor = List->GetItem(0)->GetEditor()->Handle;
    SetWindowTextW(editor, L"never written");
    List->DeleteItem(0);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(nullptr, List->GetEditingItem());
    ASSERT_EQ(1, List->GetItemCount());
    EXPECT_EQ(L"", harness::ListCellText(List->Handle, 0, 0));
}

TEST_F(ListViewEditBoxTest, CtrlA_selectsAllTextOfTheEditor)
{
    List->SetBehaviour(kit::ListView::InPlaceEdit);
    List->GetItem(0)->SetText(0, L"abcdef");
    ASSERT_TRUE(List->GetItem(0)->BeginEdit(0));
    HWND editor = List->GetItem(0)->GetEditor()->Handle;
    SendMessageW(editor, EM_SETSEL, 2, 2);
    harness::PressKey(editor, 'A', harness::Ctrl);
    DWORD start = 1, end = 0;
    SendMessageW(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(0u, start);
    EXPECT_EQ(6u, end);
    EXPECT_TRUE(IsWindow(editor));
}

} // namespace
