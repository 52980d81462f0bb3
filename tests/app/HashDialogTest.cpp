// The hash comparison dialog on a real main window: the row's values, the cue texts, the live results while the user
// types (upper-cased hash input, sizes with or without commas) and their colours from the settings.
#include "tests/app/MainWindowTesting.h"

#include "app/tools/HashDialog.h"
#include "resources/resource.h"

#include <commctrl.h>

namespace {

const std::wstring Md5 = L"900150983CD24FB0D6963F7D28E17F72";
const std::wstring Sha1 = L"A9993E364706816ABA3E25717850C26C9CD0D89D";

struct Painted {
    bool Brush = false;
    COLORREF Colour = CLR_INVALID;
    COLORREF Back = CLR_INVALID;
};

// what the dialog answers WM_CTLCOLORSTATIC for a control: its brush colour and the text background it set
Painted PaintOf(HWND dialog, HWND control)
{
    Painted painted;
    HDC dc = GetDC(dialog);
    const COLORREF before = SetBkColor(dc, RGB(1, 2, 3));
    const LRESULT answer = SendMessageW(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                        reinterpret_cast<LPARAM>(control));
    painted.Back = GetBkColor(dc);
    SetBkColor(dc, before);
    ReleaseDC(dialog, dc);
    LOGBRUSH info = {};
    if (answer && GetObjectW(reinterpret_cast<HBRUSH>(answer), sizeof info, &info)) {
        painted.Brush = true;
        painted.Colour = info.lbColor;
    }
    return painted;
}

std::wstring Cue(HWND edit)
{
    wchar_t text[128] = {};
    SendMessageW(edit, EM_GETCUEBANNER, reinterpret_cast<WPARAM>(text), 128);
    return text;
}

class HashDialogTest : public MainWindowFixture {
protected:
    void TearDown() override
    {
        Dialog.reset();
        MainWindowFixture::TearDown();
    }
    Juxta& StartWith(bool md5, bool sha1, COLORREF ok = 0xFFFF00)
    {
        kit::SettingsNode stored;
        stored.SetBool(L"Md5", md5);
        stored.SetBool(L"Sha1", sha1);
        stored.Child(L"Color").SetInt(L"Ok", static_cast<int32_t>(ok));
        return Start(stored);
    }
    // one checked file on the left: "abc" shown with the size 1,234,567
    void FillLeft()
    {
        Path = Folder.WriteFile(L"l\\a.txt", "abc");
        RegisterFile(0, Path);
        if (Main->GetHashColumn(1) >= 0)
            List(0).SetHashText(0, 1, Md5);
        if (Main->GetHashColumn(2) >= 0)
            List(0).SetHashText(0, 2, Sha1);
        Finish(0, 0, L"352441C2", L"1,234,567");
    }
    HashDialog& Open()
    {
        Dialog.reset(new HashDialog(*Main, 0, 0));
        EXPECT_TRUE(Dialog->CreateModeless(IDD_HASH, Main.get()));
        ShowWindow(Dialog->Handle, SW_SHOW);
        harness::PumpPending();
        return *Dialog;
    }
    HWND Item(int id) { return GetDlgItem(Dialog->Handle, id); }
    std::wstring Text(int id) { return harness::WindowText(Item(id)); }
    // typed as the user types: one character after the other
    void Type(int id, const std::wstring& text)
    {
        SetFocus(Item(id));
        harness::TypeText(Item(id), text);
        harness::PumpPending();
    }
    void Replace(int id, const std::wstring& text)
    {
        SetWindowTextW(Item(id), text.c_str());
        harness::PumpPending();
    }
    Painted Paint(int id) { return PaintOf(Dialog->Handle, Item(id)); }

    std::wstring Path;
    std::unique_ptr<HashDialog> Dialog;
};

} // namespace

TEST(HashDialogCompare, Compare_commasAndOuterBlanksIgnoredEverythingElseExact)
{
    const struct {
        const wchar_t* Input;
        const wchar_t* Value;
        const wchar_t* Result;
    } cases[] = {
        {L"", L"1,234,567", L"未入力"},
        {L"1,234,567", L"1,234,567", L"一致"},
        {L"1234,567", L"1,234,567", L"一致"},
        {L"1234567", L"1,234,567", L"一致"},
        {L",,1234567,", L"1,234,567", L"一致"},
        {L"01234567", L"1,234,567", L"不一致"},
        {L"1 234567", L"1,234,567", L"不一致"},
        // a pasted value keeps no blanks around it
        {L" 1234567", L"1,234,567", L"一致"},
        {L"\t352441C2\u3000 ", L"352441C2", L"一致"},
        {L" \u3000\t", L"352441C2", L"未入力"},
        {L"352441C2", L"352441C2", L"一致"},
        {L"352441c2", L"352441C2", L"不一致"},
        {L"352441C", L"352441C2", L"不一致"},
        {L"x", L"", L"不一致"},
        {L",", L"", L"不一致"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.Result, HashDialog::Compare(c.Input, c.Value)) << c.Input << L" / " << c.Value;
}

TEST_F(HashDialogTest, Open_onlyCrc32_showsTheRowAndDisablesTheOtherKinds)
{
    StartWith(false, false);
    FillLeft();
    Open();
    EXPECT_EQ(Path, Text(IDC_HASH_FILE_NAME));
    EXPECT_EQ(L"352441C2", Text(IDC_HASH_CRC32_VALUE));
    EXPECT_EQ(L"1,234,567", Text(IDC_HASH_SIZE_VALUE));
    EXPECT_EQ(L"CRC32を入力", Cue(Item(IDC_HASH_CRC32_INPUT)));
    EXPECT_EQ(L"ファイルサイズを入力（カンマ省略可）", Cue(Item(IDC_HASH_SIZE_INPUT)));
    EXPECT_EQ(L"未入力", Text(IDC_HASH_CRC32_RESULT));
    EXPECT_EQ(L"未入力", Text(IDC_HASH_SIZE_RESULT));
    EXPECT_NE(COLORREF(0xFFFF00), Paint(IDC_HASH_CRC32_RESULT).Back);
    for (int id : {IDC_HASH_MD5_VALUE, IDC_HASH_MD5_INPUT, IDC_HASH_MD5_RESULT, IDC_HASH_SHA1_VALUE,
                   IDC_HASH_SHA1_INPUT, IDC_HASH_SHA1_RESULT}) {
        EXPECT_FALSE(harness::IsEnabled(Item(id))) << id;
        EXPECT_EQ(L"", Text(id)) << id;
    }
    // the first input takes the focus; the value boxes show the end of their text
    EXPECT_EQ(Item(IDC_HASH_CRC32_INPUT), GetFocus());
    DWORD start = 0, end = 0;
    SendMessageW(Item(IDC_HASH_FILE_NAME), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(Path.size(), end);
}

TEST_F(HashDialogTest, Typing_mismatchUntilComplete_matchThenEmptyAgain)
{
    StartWith(false, false);
    FillLeft();
    Open();
    const std::wstring typed = L"352441c2";
    for (size_t at = 0; at + 1 < typed.size(); ++at) {
        Type(IDC_HASH_CRC32_INPUT, typed.substr(at, 1));
        EXPECT_EQ(L"不一致", Text(IDC_HASH_CRC32_RESULT)) << at;
    }
    Type(IDC_HASH_CRC32_INPUT, typed.substr(typed.size() - 1));
    // the box upper-cases what is typed
    EXPECT_EQ(L"352441C2", Text(IDC_HASH_CRC32_INPUT));
    EXPECT_EQ(L"一致", Text(IDC_HASH_CRC32_RESULT));
    EXPECT_EQ(L"未入力", Text(IDC_HASH_SIZE_RESULT));
    Replace(IDC_HASH_CRC32_INPUT, L"");
    EXPECT_EQ(L"未入力", Text(IDC_HASH_CRC32_RESULT));
}

TEST_F(HashDialogTest, Size_withOrWithoutCommas)
{
    StartWith(false, false);
    FillLeft();
    Open();
    Type(IDC_HASH_SIZE_INPUT, L"1234,567");
    EXPECT_EQ(L"一致", Text(IDC_HASH_SIZE_RESULT));
    Replace(IDC_HASH_SIZE_INPUT, L"1234567");
    EXPECT_EQ(L"一致", Text(IDC_HASH_SIZE_RESULT));
    Replace(IDC_HASH_SIZE_INPUT, L"1,234,567");
    EXPECT_EQ(L"一致", Text(IDC_HASH_SIZE_RESULT));
    Replace(IDC_HASH_SIZE_INPUT, L"01234567");
    EXPECT_EQ(L"不一致", Text(IDC_HASH_SIZE_RESULT));
    // a pasted value: the blanks around it do not count, those inside do
    Replace(IDC_HASH_SIZE_INPUT, L"\u3000 1234567\t");
    EXPECT_EQ(L"一致", Text(IDC_HASH_SIZE_RESULT));
    Replace(IDC_HASH_SIZE_INPUT, L"1 234 567");
    EXPECT_EQ(L"不一致", Text(IDC_HASH_SIZE_RESULT));
    // the size box keeps lower-case letters: no upper-casing there
    Replace(IDC_HASH_SIZE_INPUT, L"abc");
    EXPECT_EQ(L"abc", Text(IDC_HASH_SIZE_INPUT));
    EXPECT_EQ(L"未入力", Text(IDC_HASH_CRC32_RESULT));
}

TEST_F(HashDialogTest, Results_paintedWithTheStateColours)
{
    StartWith(true, true, 0x123456);
    FillLeft();
    Open();
    EXPECT_EQ(Md5, Text(IDC_HASH_MD5_VALUE));
    EXPECT_EQ(Sha1, Text(IDC_HASH_SHA1_VALUE));
    EXPECT_EQ(L"MD5を入力", Cue(Item(IDC_HASH_MD5_INPUT)));
    EXPECT_EQ(L"SHA-1を入力", Cue(Item(IDC_HASH_SHA1_INPUT)));
    Type(IDC_HASH_MD5_INPUT, L"900150983cd24fb0d6963f7d28e17f72");
    Type(IDC_HASH_SHA1_INPUT, L"a9993e364706816aba3e25717850c26c9cd0d89e");
    EXPECT_EQ(L"一致", Text(IDC_HASH_MD5_RESULT));
    EXPECT_EQ(L"不一致", Text(IDC_HASH_SHA1_RESULT));
    const Painted match = Paint(IDC_HASH_MD5_RESULT);
    EXPECT_TRUE(match.Brush);
    EXPECT_EQ(COLORREF(0x123456), match.Colour);
    EXPECT_EQ(COLORREF(0x123456), match.Back);
    const Painted mismatch = Paint(IDC_HASH_SHA1_RESULT);
    EXPECT_EQ(COLORREF(0xFF00FF), mismatch.Colour);
    EXPECT_EQ(COLORREF(0xFF00FF), mismatch.Back);
    // "未入力" keeps the dialog's own colours
    const Painted empty = Paint(IDC_HASH_CRC32_RESULT);
    EXPECT_EQ(L"未入力", Text(IDC_HASH_CRC32_RESULT));
    EXPECT_NE(COLORREF(0x123456), empty.Back);
    EXPECT_NE(COLORREF(0xFF00FF), empty.Back);
    EXPECT_NE(COLORREF(0x123456), empty.Colour);
}

TEST_F(HashDialogTest, ShowHashDialog_modalWithCaptionAndRefusesRowsThatDoNotExist)
{
    StartWith(false, false);
    FillLeft();
    EXPECT_FALSE(ShowHashDialog(*Main, 0, 5));
    EXPECT_FALSE(ShowHashDialog(*Main, 0, -1));
    EXPECT_FALSE(ShowHashDialog(*Main, 2, 0));
    std::wstring result;
    harness::DialogWatcher watcher;
    watcher.Answer([&](HWND dialog) {
        SetDlgItemTextW(dialog, IDC_HASH_CRC32_INPUT, L"352441C2");
        result = harness::ItemText(dialog, IDC_HASH_CRC32_RESULT);
        return harness::DialogWatcher::PressButton(dialog, IDC_CLOSE);
    });
    EXPECT_TRUE(ShowHashDialog(*Main, 0, 0));
    ASSERT_EQ(1u, watcher.Seen().size());
    EXPECT_EQ(L"ハッシュ値の比較", watcher.Seen()[0].Caption);
    EXPECT_EQ(L"一致", result);
    // nothing in the list changed
    EXPECT_EQ(L"352441C2", Cell(0, 0, 1));
}
