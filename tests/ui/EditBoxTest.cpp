// kit::EditBox: inserting at the caret the user left, bindings by emptiness, Ctrl+A, drops of files and folders,
// and the "Text" setting.
#include "kit/ui/EditBox.h"

#include "kit/core/SettingsNode.h"
#include "kit/ui/Button.h"
#include "tests/harness/Harness.h"

#include <gtest/gtest.h>

namespace {

class EditBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Box = kit::EditBox::Create(&Host, L"", RECT{10, 10, 300, 32}, 1062);
        Other = kit::EditBox::Create(&Host, L"", RECT{10, 40, 300, 62}, 1063);
        ASSERT_TRUE(Box && Other);
    }

    // the user puts the caret (or a selection) into the box and then moves on
    void LeaveWithSelection(int start, int end)
    {
        SetFocus(Box->Handle);
        SendMessageW(Box->Handle, EM_SETSEL, static_cast<WPARAM>(start), end);
        SetFocus(Other->Handle);
    }

    harness::HostWindow Host;
    boost::shared_ptr<kit::EditBox> Box;
    boost::shared_ptr<kit::EditBox> Other;
};

TEST_F(EditBoxTest, InsertText_atTheCaretTheUserLeft)
{
    Box->SetText(L"tool.exe  ");
    LeaveWithSelection(9, 9);
    EXPECT_FALSE(Box->GetHasFocus());
    EXPECT_EQ(9u, Box->GetSelectionStart());
    Box->InsertText(L"%1");
    EXPECT_EQ(L"tool.exe %1 ", Box->GetText());
    // the remembered caret moved behind the insertion
    Box->InsertText(L" %2");
    EXPECT_EQ(L"tool.exe %1 %2 ", Box->GetText());
    EXPECT_EQ(14u, Box->GetSelectionStart());
    EXPECT_EQ(14u, Box->GetSelectionEnd());
}

TEST_F(EditBoxTest, InsertText_replacesTheSelectionAndClampsToTheText)
{
    Box->SetText(L"a REPLACE b");
    LeaveWithSelection(2, 9);
    Box->InsertText(L"%1");
    EXPECT_EQ(L"a %1 b", Box->GetText());
    // the text shrank behind the remembered caret: the insertion goes to the end
    Box->SetText(L"ab");
    Box->InsertText(L"%2");
    EXPECT_EQ(L"ab%2", Box->GetText());
    EXPECT_EQ(4u, Box->GetSelectionStart());
}

TEST_F(EditBoxTest, InsertText_withoutFocusEverInsertsAtTheStart)
{
    Box->SetText(L"end");
    Box->InsertText(L"start ");
    EXPECT_EQ(L"start end", Box->GetText());
}

TEST_F(EditBoxTest, Bindings_followTheText)
{
    boost::shared_ptr<kit::Button> ok = kit::Button::Create(&Host, L"OK", RECT{10, 70, 100, 95});
    boost::shared_ptr<kit::Button> clear = kit::Button::Create(&Host, L"x", RECT{110, 70, 200, 95});
    ASSERT_TRUE(ok && clear);
    Box->AddBinding(ok.get(), kit::BindEnable);
    Box->AddBinding(clear.get(), kit::BindDisable);
    EXPECT_FALSE(harness::IsEnabled(ok->Handle));
    EXPECT_TRUE(harness::IsEnabled(clear->Handle));
    SetFocus(Box->Handle);
    harness::TypeText(Box->Handle, L"a");
    EXPECT_TRUE(harness::IsEnabled(ok->Handle));
    EXPECT_FALSE(harness::IsEnabled(clear->Handle));
    harness::TypeText(Box->Handle, L"\b");
    EXPECT_EQ(L"", Box->GetText());
    EXPECT_FALSE(harness::IsEnabled(ok->Handle));
    Box->SetText(L"set by code");
    EXPECT_TRUE(harness::IsEnabled(ok->Handle));
}

TEST_F(EditBoxTest, CtrlA_selectsAllText)
{
    Box->SetText(L"0123456789");
    SendMessageW(Box->Handle, EM_SETSEL, 3, 3);
    harness::PressKey(Box->Handle, 'A', harness::Ctrl);
    DWORD start = 1, end = 0;
    SendMessageW(Box->Handle, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(0u, start);
    EXPECT_EQ(10u, end);
}

TEST_F(EditBoxTest, Drops_fileOnlyAndFolderOnly)
{
    harness::TempFolder temp;
    const std::wstring file = temp.WriteFile(L"sub\\a.txt", "x");
    const std::wstring folder = temp.PathOf(L"sub");
    const std::wstring other = temp.WriteFile(L"b.exe", "y");
    ASSERT_FALSE(file.empty());

    // not accepting drops: the text stays
    Box->SetText(L"before");
    harness::DropFiles(Box->Handle, {file});
    EXPECT_EQ(L"before", Box->GetText());

    Box->AcceptDrops(false);
    harness::DropFiles(Box->Handle, {folder});
    EXPECT_EQ(L"before", Box->GetText()) << "a folder on a file box changes nothing";
    harness::DropFiles(Box->Handle, {file});
    EXPECT_EQ(file, Box->GetText());
    harness::DropFiles(Box->Handle, {other, folder});
    EXPECT_EQ(other, Box->GetText()) << "the last accepted path wins";

    Other->AcceptDrops(true);
    harness::DropFiles(Other->Handle, {file});
    EXPECT_EQ(folder, Other->GetText()) << "a file on a folder box gives its folder";
    harness::DropFiles(Other->Handle, {temp.Path()});
    EXPECT_EQ(temp.Path(), Other->GetText());
}

TEST_F(EditBoxTest, LoadAndSave_textOrTheDefault)
{
    kit::SettingsNode section;
    Box->LoadText(section, L"default");
    EXPECT_EQ(L"default", Box->GetText());
    Box->SetText(L"ハッシュ.txt");
    Box->SaveText(section);
    EXPECT_EQ(L"ハッシュ.txt", section.GetString(L"Text"));
    Other->LoadText(section, L"default");
    EXPECT_EQ(L"ハッシュ.txt", Other->GetText());
    // a stored empty text is a text: it does not bring the default back
    section.SetString(L"Text", L"");
    Other->LoadText(section, L"default");
    EXPECT_EQ(L"", Other->GetText());
}

} // namespace
