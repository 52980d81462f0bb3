// The list output dialog on a real main window: the sample of each layout, output to a file (bytes compared exactly)
// and to the clipboard, the stored control states, and lists written by the dialog read back by the import.
#include "tests/app/MainWindowTesting.h"

#include "app/lists/ImportHashList.h"
#include "app/tools/OutputDialog.h"
#include "kit/core/Path.h"
#include "kit/ui/EditBox.h"
#include "resources/resource.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

using harness::ReadBytes;
using harness::ClipboardText;
using harness::SaveWindowBitmap;

const std::wstring Md5A = L"0123456789ABCDEF0123456789ABCDEF";
const std::wstring Md5B = L"FEDCBA9876543210FEDCBA9876543210";

std::wstring Widen(const std::string& ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

class OutputDialogTest : public MainWindowFixture {
protected:
    void TearDown() override
    {
        Dialog.reset();
        MainWindowFixture::TearDown();
    }
    Juxta& StartWith(bool crc32, bool md5, bool sha1)
    {
        kit::SettingsNode stored;
        stored.SetBool(L"Crc32", crc32);
        stored.SetBool(L"Md5", md5);
        stored.SetBool(L"Sha1", sha1);
        return Start(stored);
    }
    // two checked files on the left, below the folder "l": sub\a.bin (1,234 bytes) and b.bin (over 4 GiB)
    void FillLeft()
    {
        const std::wstring base = Folder.PathOf(L"l\\");
        A = Folder.WriteFile(L"l\\sub\\a.bin", "a");
        B = Folder.WriteFile(L"l\\b.bin", "b");
        Register(0, {A, B}, base);
        List(0).SetHashText(0, HashKind::Md5, Md5A);
        List(0).SetHashText(1, HashKind::Md5, Md5B);
        Finish(0, 0, L"1A2B3C4D", L"1,234");
        Finish(0, 1, L"00000000", L"5,000,000,000");
    }
    // the dialog as the command opens it, but modeless so that the test can drive it between messages
    OutputDialog& Open()
    {
        Dialog.reset(new OutputDialog(*Main));
        EXPECT_TRUE(Dialog->CreateModeless(IDD_OUTPUT, Main.get()));
        ShowWindow(Dialog->Handle, SW_SHOWNOACTIVATE);
        harness::PumpPending();
        return *Dialog;
    }
    HWND Item(int id) { return GetDlgItem(Dialog->Handle, id); }
    void Click(int id)
    {
        harness::Click(Item(id));
        harness::PumpPending();
    }
    std::wstring SampleText() { return harness::WindowText(Item(IDC_OUTPUT_SAMPLE)); }

    std::wstring A, B;
    std::unique_ptr<OutputDialog> Dialog;
};

// CRC32 alone is on: name (9 bytes at most), CRC32, size (13 characters at most)
const std::string TextLayout =
    "Name       CRC32     Bytes\r\n"
    "---------  --------  -------------\r\n"
    "sub\\a.bin  1A2B3C4D          1,234\r\n"
    "b.bin      00000000  5,000,000,000\r\n"
    "----------------------------------\r\n"
    "Total  2 Files  5,000,001,234 Bytes\r\n";

TEST_F(OutputDialogTest, Sample_eachLayoutFollowsTheRadios)
{
    StartWith(true, false, false);
    FillLeft();
    Open();
    EXPECT_EQ(Widen(TextLayout), SampleText());

    Click(IDC_OUTPUT_CSV);
    EXPECT_EQ(L"Name,CRC32,Bytes\r\nsub\\a.bin,1A2B3C4D,1234\r\nb.bin,00000000,5000000000\r\n", SampleText());
    Click(IDC_OUTPUT_TSV);
    EXPECT_EQ(L"Name\tCRC32\tBytes\r\nsub\\a.bin\t1A2B3C4D\t1234\r\nb.bin\t00000000\t5000000000\r\n", SampleText());
    Click(IDC_OUTPUT_SFV);
    EXPECT_EQ(L"sub\\a.bin 1A2B3C4D\r\nb.bin     00000000\r\n", SampleText());

    Click(IDC_OUTPUT_FILE_NAME);
    EXPECT_EQ(L"a.bin 1A2B3C4D\r\nb.bin 00000000\r\n", SampleText());
    Click(IDC_OUTPUT_FULL_PATH);
    EXPECT_EQ(A + L" 1A2B3C4D\r\n" + B + std::wstring(A.size() - B.size() + 1, L' ') + L"00000000\r\n",
        SampleText());

    // the left-only mark unchecked leaves nothing to write: no title, no footer
    Click(IDC_OUTPUT_LEFT);
    EXPECT_EQ(L"", SampleText());
}

TEST_F(OutputDialogTest, Sample_lineCountComboLimitsRows)
{
    StartWith(true, false, false);
    FillLeft();
    Open();
    HWND combo = Item(IDC_OUTPUT_SAMPLE_LINES);
    ASSERT_EQ(5, SendMessageW(combo, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(1, SendMessageW(combo, CB_GETCURSEL, 0, 0));
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    harness::SendControlCommand(Dialog->Handle, combo, CBN_SELCHANGE);
    EXPECT_EQ(L"", SampleText());
    SendMessageW(combo, CB_SETCURSEL, 4, 0);
    harness::SendControlCommand(Dialog->Handle, combo, CBN_SELCHANGE);
    EXPECT_EQ(Widen(TextLayout), SampleText());
    EXPECT_EQ(1, Dialog->BuildOutput(1).Rows);
}

TEST_F(OutputDialogTest, Open_kindsOffDisabledColumnsFollowTheSwitchedOnKinds)
{
    StartWith(true, true, false);
    FillLeft();
    Open();
    EXPECT_TRUE(harness::IsEnabled(Item(IDC_OUTPUT_CRC32)));
    EXPECT_TRUE(harness::IsEnabled(Item(IDC_OUTPUT_MD5)));
    EXPECT_FALSE(harness::IsEnabled(Item(IDC_OUTPUT_SHA1)));
    // the layout of a kind that is off cannot be chosen
    EXPECT_TRUE(harness::IsEnabled(Item(IDC_OUTPUT_MD5SUM)));
    EXPECT_FALSE(harness::IsEnabled(Item(IDC_OUTPUT_SHA1SUM)));
    Click(IDC_OUTPUT_MD5SUM);
    EXPECT_EQ(Md5A + L" *sub/a.bin\r\n" + Md5B + L" *b.bin\r\n", SampleText());
    Click(IDC_OUTPUT_CSV);
    EXPECT_EQ(L"Name,CRC32,MD5,Bytes\r\nsub\\a.bin,1A2B3C4D," + Md5A + L",1234\r\nb.bin,00000000," + Md5B
            + L",5000000000\r\n",
        SampleText());
    Click(IDC_OUTPUT_CRC32);
    Click(IDC_OUTPUT_SFV);
    EXPECT_EQ(L"sub\\a.bin " + Md5A + L"\r\nb.bin     " + Md5B + L"\r\n", SampleText());

    // the sample box uses the fixed-pitch Japanese font, so the text layout lines up
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(Item(IDC_OUTPUT_SAMPLE), WM_GETFONT, 0, 0));
    LOGFONTW description = {};
    ASSERT_TRUE(font && GetObjectW(font, sizeof description, &description));
    EXPECT_EQ(std::wstring(L"ＭＳ ゴシック"), description.lfFaceName);
    EXPECT_EQ(12, description.lfHeight);
    EXPECT_EQ(SHIFTJIS_CHARSET, description.lfCharSet);
}

TEST_F(OutputDialogTest, Run_opensOnTheCurrentSideAndStoresEveryStateOnClose)
{
    kit::SettingsNode stored;
    stored.SetBool(L"Crc32", true);
    stored.Child(L"Output").Child(L"LeftList").SetInt(L"Check", 1);
    stored.Child(L"Output").Child(L"WinCrc").SetInt(L"Check", 0);
    stored.Child(L"Output").Child(L"SampleLine").SetInt(L"Index", 3);
    stored.Child(L"Output").Child(L"Encoding").SetInt(L"Index", 2);
    // a stored sha1sum layout while SHA-1 is off
    stored.Child(L"Output").Child(L"Sha1sum").SetInt(L"Check", 1);
    Start(stored);
    Main->SetCurrentSide(1);
    bool right = false, left = true, sha1sum = true, encodingEnabled = true;
    int index = -1, encoding = -1;
    harness::DialogWatcher watcher;
    watcher.Answer([&](HWND dialog) {
        right = harness::IsChecked(GetDlgItem(dialog, IDC_OUTPUT_RIGHT_LIST));
        left = harness::IsChecked(GetDlgItem(dialog, IDC_OUTPUT_LEFT_LIST));
        index = static_cast<int>(SendMessageW(GetDlgItem(dialog, IDC_OUTPUT_SAMPLE_LINES), CB_GETCURSEL, 0, 0));
        sha1sum = harness::IsChecked(GetDlgItem(dialog, IDC_OUTPUT_SHA1SUM));
        encoding = static_cast<int>(SendMessageW(GetDlgItem(dialog, IDC_OUTPUT_ENCODING), CB_GETCURSEL, 0, 0));
        // the clipboard takes Unicode text: the encoding is for files only
        harness::Click(GetDlgItem(dialog, IDC_OUTPUT_TO_CLIPBOARD));
        encodingEnabled = harness::IsEnabled(GetDlgItem(dialog, IDC_OUTPUT_ENCODING));
        harness::Click(GetDlgItem(dialog, IDC_OUTPUT_FOOTER));
        return harness::DialogWatcher::PressButton(dialog, IDC_CLOSE);
    });
    EXPECT_TRUE(ShowOutputDialog(*Main));
    ASSERT_EQ(1u, watcher.Seen().size());
    EXPECT_EQ(L"リスト出力", watcher.Seen()[0].Caption);
    EXPECT_TRUE(right);
    EXPECT_FALSE(left);
    EXPECT_FALSE(sha1sum);
    EXPECT_EQ(3, index);
    EXPECT_EQ(2, encoding);
    EXPECT_FALSE(encodingEnabled);
    const kit::SettingsNode& output = Main->GetSettings().Child(L"Output");
    EXPECT_EQ(1, output.FindChild(L"RightList")->GetInt(L"Check", -1));
    EXPECT_EQ(0, output.FindChild(L"LeftList")->GetInt(L"Check", -1));
    EXPECT_EQ(0, output.FindChild(L"Footer")->GetInt(L"Check", -1));
    EXPECT_EQ(1, output.FindChild(L"RelativePath")->GetInt(L"Check", -1));
    EXPECT_EQ(0, output.FindChild(L"Message")->GetInt(L"Check", -1));
    EXPECT_EQ(3, output.FindChild(L"SampleLine")->GetInt(L"Index", -1));
    EXPECT_EQ(2, output.FindChild(L"Encoding")->GetInt(L"Index", -1));
    EXPECT_EQ(1, output.FindChild(L"WinCrc")->GetInt(L"Check", -1));
}

TEST_F(OutputDialogTest, WriteFile_bytesExactlyAndTheCompletionMessage)
{
    StartWith(true, false, false);
    FillLeft();
    Open();
    const std::wstring path = Folder.PathOf(L"out.txt");
    Folder.WriteFile(L"out.txt", "an older, longer list that is replaced whole by the new one\r\n");
    harness::DialogWatcher watcher;
    watcher.Answer(IDOK);
    ASSERT_TRUE(Dialog->WriteFile(path));
    EXPECT_EQ(TextLayout, ReadBytes(path));
    ASSERT_EQ(1u, watcher.Seen().size());
    EXPECT_EQ(path + L" へ出力しました", watcher.Seen()[0].Text);
    // no temporary file is left beside it
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Folder.PathOf(L"*.tmp").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search);
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);

    // quiet when asked, and a folder that does not exist gives the error
    Click(IDC_OUTPUT_NO_MESSAGE);
    ASSERT_TRUE(Dialog->WriteFile(path));
    EXPECT_EQ(1u, watcher.Seen().size());
    watcher.Answer(IDOK);
    EXPECT_FALSE(Dialog->WriteFile(Folder.PathOf(L"missing\\out.txt")));
    ASSERT_EQ(2u, watcher.Seen().size());
    EXPECT_EQ(L"出力ファイルが開けませんでした", watcher.Seen()[1].Text);
    EXPECT_EQ(TextLayout, ReadBytes(path));
}

TEST_F(OutputDialogTest, WriteFile_namesOutsideTheCodePageOfferUtf8)
{
    StartWith(true, false, false);
    // U+D55C (Hangul) has no code in code page 932, U+00E9 only a best-fit "e"
    const std::wstring hangul = L"\xD55C.bin";
    const std::wstring accented = L"caf\x00E9.bin";
    for (const std::wstring& name : {hangul, accented}) {
        char bytes[16] = {};
        const int n = WideCharToMultiByte(932, 0, name.c_str(), -1, bytes, sizeof bytes, nullptr, nullptr);
        wchar_t back[16] = {};
        MultiByteToWideChar(932, 0, bytes, n, back, 16);
        ASSERT_NE(name, std::wstring(back));
    }
    const std::wstring base = Folder.PathOf(L"u\\");
    Register(0, {Folder.WriteFile(L"u\\" + hangul, "1"), Folder.WriteFile(L"u\\plain.bin", "2"),
                    Folder.WriteFile(L"u\\" + accented, "3")},
        base);
    for (int row = 0; row < 3; ++row)
        Finish(0, row, L"1A2B3C4D", L"1");
    Open();
    Click(IDC_OUTPUT_FILE_NAME);
    Click(IDC_OUTPUT_NO_MESSAGE);
    const std::wstring path = Folder.PathOf(L"out.sfv");
    harness::DialogWatcher watcher;
    // the offer to write UTF-8 names the files; declined, the list is written in code page 932
    watcher.Answer(IDNO);
    watcher.Answer(IDOK);
    ASSERT_TRUE(Dialog->WriteFile(path));
    ASSERT_EQ(2u, watcher.Seen().size());
    const std::wstring offer = watcher.Seen()[0].Text;
    EXPECT_NE(std::wstring::npos, offer.find(L" 2 件")) << offer;
    EXPECT_NE(std::wstring::npos, offer.find(hangul)) << offer;
    EXPECT_NE(std::wstring::npos, offer.find(accented)) << offer;
    EXPECT_EQ(std::wstring::npos, offer.find(L"plain.bin")) << offer;
    EXPECT_NE(std::wstring::npos, offer.find(L"UTF-8 で出力しますか")) << offer;
    // even with messages turned off: the file does not hold what the list shows
    const std::wstring message = watcher.Seen()[1].Text;
    EXPECT_EQ(0u, message.find(path + L" へ出力しました"));
    EXPECT_NE(std::wstring::npos, message.find(hangul)) << message;
    std::string bytes = ReadBytes(path);
    EXPECT_NE(0xEF, static_cast<unsigned char>(bytes[0]));
    EXPECT_NE(std::string::npos, bytes.find("plain.bin  1A2B3C4D  1\r\n"));

    // accepted: UTF-8 with its byte-order mark, every name as the list shows it, and nothing more to tell
    watcher.Answer(IDYES);
    ASSERT_TRUE(Dialog->WriteFile(path));
    ASSERT_EQ(3u, watcher.Seen().size());
    bytes = ReadBytes(path);
    EXPECT_EQ(0u, bytes.find("\xEF\xBB\xBF"));
    EXPECT_NE(std::string::npos, bytes.find("\r\n\xED\x95\x9C.bin  ")) << bytes;
    EXPECT_NE(std::string::npos, bytes.find("\r\ncaf\xC3\xA9.bin  ")) << bytes;
}

TEST_F(OutputDialogTest, CopyToClipboard_unicodeTextAndTheMessage)
{
    StartWith(true, false, false);
    FillLeft();
    const std::wstring accented = Folder.WriteFile(L"l\\caf\x00E9.bin", "c");
    Register(0, {accented}, Folder.PathOf(L"l\\"));
    Finish(0, 2, L"FFFFFFFF", L"0");
    Open();
    Click(IDC_OUTPUT_TSV);
    harness::DialogWatcher watcher;
    watcher.Answer(IDOK);
    ASSERT_TRUE(Dialog->CopyToClipboard());
    EXPECT_EQ(L"Name\tCRC32\tBytes\r\nsub\\a.bin\t1A2B3C4D\t1234\r\nb.bin\t00000000\t5000000000\r\n"
              L"caf\x00E9.bin\tFFFFFFFF\t0\r\n",
        ClipboardText());
    ASSERT_EQ(1u, watcher.Seen().size());
    EXPECT_EQ(L"クリップボードへコピーしました", watcher.Seen()[0].Text);
}

TEST_F(OutputDialogTest, Output_throughTheSaveDialogRemembersFolderFilterAndName)
{
    StartWith(true, false, false);
    FillLeft();
    Main->SetLastName(L"dropped");
    Main->GetSettings().SetString(L"DefaultDirectory", Folder.Path());
    Open();
    Click(IDC_OUTPUT_TSV);
    const std::wstring path = Folder.PathOf(L"chosen.csv");
    harness::DialogWatcher watcher;
    watcher.Answer([&](HWND dialog) {
        return harness::SetFileDialogName(dialog, path) && harness::DialogWatcher::PressButton(dialog, IDOK);
    });
    watcher.Answer(IDOK);
    Dialog->Output();
    ASSERT_EQ(2u, watcher.Seen().size());
    EXPECT_EQ(path + L" へ出力しました", watcher.Seen()[1].Text);
    EXPECT_EQ("Name\tCRC32\tBytes\r\nsub\\a.bin\t1A2B3C4D\t1234\r\nb.bin\t00000000\t5000000000\r\n", ReadBytes(path));
    EXPECT_EQ(3, Main->GetSettings().GetInt(L"FinterIndex", 0));
    EXPECT_EQ(Folder.Path() + L"\\", kit::AddBackslash(Main->GetSettings().GetString(L"DefaultDirectory")));
    EXPECT_EQ(L"chosen", Main->GetLastName());
}

// lists written by the dialog, in each layout and encoding, come back through the import with the same names,
// values and sizes
TEST_F(OutputDialogTest, RoundTrip_eachLayoutAndEncodingImportsBackTheSameRows)
{
    StartWith(true, true, false);
    FillLeft();
    Open();
    Click(IDC_OUTPUT_FULL_PATH);
    Click(IDC_OUTPUT_NO_MESSAGE);
    const struct {
        int Radio;
        const wchar_t* Name;
        bool Sizes;
        bool Crc32;
        bool Md5;
    } layouts[] = {{IDC_OUTPUT_WINCRC, L"rt.txt", true, true, true}, {IDC_OUTPUT_CSV, L"rt.csv", true, true, true},
        {IDC_OUTPUT_TSV, L"rt.tsv.txt", true, true, true}, {IDC_OUTPUT_SFV, L"rt.sfv", false, true, false},
        {IDC_OUTPUT_MD5SUM, L"rt.md5", false, false, true}};
    for (int encoding = 0; encoding < 3; ++encoding) {
        SendMessageW(Item(IDC_OUTPUT_ENCODING), CB_SETCURSEL, encoding, 0);
        for (const auto& layout : layouts) {
            SCOPED_TRACE(std::wstring(layout.Name) + L" " + std::to_wstring(encoding));
            Click(layout.Radio);
            const std::wstring path = Folder.PathOf(layout.Name);
            ASSERT_TRUE(Dialog->WriteFile(path));
            EXPECT_EQ(encoding == 1, ReadBytes(path).compare(0, 3, "\xEF\xBB\xBF") == 0);
            List(1).Pending.clear();
            ASSERT_TRUE(ImportHashList(path, List(1)));
            const std::vector<PendingRecord>& records = List(1).Pending;
            ASSERT_EQ(2u, records.size());
            for (int row = 0; row < 2; ++row) {
                std::wstring name = Cell(0, row, 0);
                // md5sum lists put "/" between folders
                if (layout.Radio == IDC_OUTPUT_MD5SUM)
                    std::replace(name.begin(), name.end(), L'\\', L'/');
                EXPECT_EQ(name, records[row].Path);
                EXPECT_EQ(layout.Crc32 ? List(0).GetHashText(row, HashKind::Crc32) : L"",
                    records[row].ImportedHash(HashKind::Crc32));
                EXPECT_EQ(layout.Md5 ? List(0).GetHashText(row, HashKind::Md5) : L"",
                    records[row].ImportedHash(HashKind::Md5));
                EXPECT_EQ(layout.Sizes ? List(0).GetSizeText(row) : L"-", records[row].ImportedSize());
                EXPECT_EQ(L"", records[row].RelativeKey());
            }
        }
    }
    List(1).Pending.clear();
}

TEST_F(OutputDialogTest, ImportedRows_sizeDashCountsAsAFileButNoBytes)
{
    StartWith(true, false, false);
    RegisterImported(0, L"x.bin", L"1A2B3C4D", L"-");
    RegisterImported(0, L"d\\y.bin", L"00000000", L"-");
    Finish(0, 0, L"1A2B3C4D", L"-");
    Finish(0, 1, L"00000000", L"12,345");
    Open();
    // an imported row writes its whole name whatever the path setting
    Click(IDC_OUTPUT_FILE_NAME);
    EXPECT_EQ(L"Name     CRC32     Bytes\r\n"
              L"-------  --------  ------\r\n"
              L"x.bin    1A2B3C4D       -\r\n"
              L"d\\y.bin  00000000  12,345\r\n"
              L"-------------------------\r\n"
              L"Total  2 Files  12,345 Bytes\r\n",
        SampleText());
}

// With JUXTA_SCREENSHOTS set to a folder, the dialog of each layout is saved there as output-<layout>.bmp.
TEST_F(OutputDialogTest, Screenshots_eachLayout)
{
    wchar_t folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"JUXTA_SCREENSHOTS", folder, MAX_PATH))
        GTEST_SKIP() << "JUXTA_SCREENSHOTS not set";
    StartWith(true, true, false);
    FillLeft();
    RegisterImported(0, L"\x5B9F\x9A13\\\x30C7\x30FC\x30BF.bin", L"FFFFFFFF", L"-");
    Finish(0, 2, L"FFFFFFFF", L"-");
    Open();
    SetWindowPos(Dialog->Handle, HWND_TOPMOST, 20, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    const struct {
        int Radio;
        const wchar_t* Name;
    } layouts[] = {{IDC_OUTPUT_WINCRC, L"text"}, {IDC_OUTPUT_CSV, L"csv"}, {IDC_OUTPUT_TSV, L"tsv"},
        {IDC_OUTPUT_SFV, L"sfv"}, {IDC_OUTPUT_MD5SUM, L"md5sum"}};
    SendMessageW(Item(IDC_OUTPUT_ENCODING), CB_SETCURSEL, 1, 0);
    for (const auto& layout : layouts) {
        Click(layout.Radio);
        RedrawWindow(Dialog->Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        harness::PumpUntil([] { return false; }, 300);
        EXPECT_TRUE(SaveWindowBitmap(Dialog->Handle, std::wstring(folder) + L"\\output-" + layout.Name + L".bmp"));
    }
    // the offer to write UTF-8 when ANSI cannot hold a name (code page 932 has no "é" nor "ü")
    RegisterImported(0, L"Caf\x00E9 M\x00FCller.bin", L"FFFFFFFF", L"-");
    Finish(0, 3, L"FFFFFFFF", L"-");
    SendMessageW(Item(IDC_OUTPUT_ENCODING), CB_SETCURSEL, 0, 0);
    Click(IDC_OUTPUT_WINCRC);
    harness::DialogWatcher watcher;
    watcher.Answer([&](HWND box) {
        RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        harness::PumpUntil([] { return false; }, 300);
        EXPECT_TRUE(SaveWindowBitmap(box, std::wstring(folder) + L"\\output-utf8-offer.bmp"));
        return harness::DialogWatcher::PressButton(box, IDNO);
    });
    watcher.Answer(IDOK);
    EXPECT_TRUE(Dialog->WriteFile(Folder.PathOf(L"offer.txt")));
}

} // namespace
