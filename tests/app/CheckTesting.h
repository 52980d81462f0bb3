// Helpers of the checking tests: a real main window whose settings file lives in the test's folder, files dropped on
// its lists, a record of every cell text the lists are sent, and reference values computed without kit (a table
// CRC-32 and the Windows CryptoAPI for MD5 and SHA-1).
#pragma once

#include "app/check/CheckHashManager.h"
#include "app/lists/CompListView.h"
#include "app/lists/FileListView.h"
#include "app/shell/Commands.h"
#include "app/shell/Juxta.h"
#include "kit/ui/StatusBar.h"
#include "tests/harness/Harness.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <wincrypt.h>

#include <cstdint>
#include <atomic>
#include <functional>
#include <mutex>
#include <memory>
#include <string>
#include <vector>

namespace checktesting {

const uint32_t MiB = 1u << 20;

// the default state colours
const COLORREF WaitColour = 0xC0C0C0;
const COLORREF CheckColour = 0x00FF00;
const COLORREF OkColour = 0xFFFF00;
const COLORREF NgColour = 0xFF00FF;
const COLORREF SideOnlyColour = 0x00FFFF;

// The values a file should show, from code that shares nothing with kit: CRC-32 by the textbook table (built here
// bit by bit from the reflected polynomial 0xEDB88320), MD5 and SHA-1 by the CryptoAPI of advapi32.
struct Reference {
    std::wstring Crc32;
    std::wstring Md5;
    std::wstring Sha1;
    std::wstring Size; // with "," between groups of three digits
};

inline const uint32_t* CrcTable()
{
    static uint32_t table[256];
    static bool built = false;
    if (!built) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        built = true;
    }
    return table;
}

inline std::wstring Hex(const uint8_t* bytes, size_t count)
{
    std::wstring text;
    for (size_t i = 0; i < count; ++i) {
        text += L"0123456789ABCDEF"[bytes[i] >> 4];
        text += L"0123456789ABCDEF"[bytes[i] & 0xF];
    }
    return text;
}

inline std::wstring GroupedSize(uint64_t size)
{
    std::wstring digits = std::to_wstring(size);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<size_t>(at), L",");
    return digits;
}

// the reference values of a whole file; Size "0" and no values when it cannot be read
inline Reference ReferenceOf(const std::wstring& path)
{
    Reference result;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        result.Size = L"0";
        return result;
    }
    HCRYPTPROV provider = 0;
    HCRYPTHASH md5 = 0, sha1 = 0;
    CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT);
    CryptCreateHash(provider, CALG_MD5, 0, 0, &md5);
    CryptCreateHash(provider, CALG_SHA1, 0, 0, &sha1);
    uint32_t crc = 0xFFFFFFFFu;
    uint64_t total = 0;
    std::vector<uint8_t> buffer(300000); // deliberately not the program's block size
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) || got == 0)
            break;
        for (DWORD i = 0; i < got; ++i)
            crc = CrcTable()[(crc ^ buffer[i]) & 0xFF] ^ (crc >> 8);
        CryptHashData(md5, buffer.data(), got, 0);
        CryptHashData(sha1, buffer.data(), got, 0);
        total += got;
    }
    CloseHandle(file);
    crc ^= 0xFFFFFFFFu;
    const uint8_t crcBytes[4] = {uint8_t(crc >> 24), uint8_t(crc >> 16), uint8_t(crc >> 8), uint8_t(crc)};
    result.Crc32 = Hex(crcBytes, 4);
    BYTE digest[20];
    DWORD length = 16;
    CryptGetHashParam(md5, HP_HASHVAL, digest, &length, 0);
    result.Md5 = Hex(digest, length);
    length = 20;
    CryptGetHashParam(sha1, HP_HASHVAL, digest, &length, 0);
    result.Sha1 = Hex(digest, length);
    CryptDestroyHash(md5);
    CryptDestroyHash(sha1);
    CryptReleaseContext(provider, 0);
    result.Size = GroupedSize(total);
    return result;
}

// deterministic content of a given size (differs by seed)
inline std::string Content(size_t size, uint32_t seed)
{
    std::string bytes(size, '\0');
    uint32_t x = seed * 2654435761u + 12345u;
    for (size_t i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        bytes[i] = static_cast<char>(x);
    }
    return bytes;
}

// Every value, percentage and size a check writes into the main window's rows, in the order they are written, by
// side ("list" 0 left, 1 right) and by the column that shows it.
class CellRecorder {
public:
    struct Write {
        int List; // the side
        int Row;
        int Column;
        std::wstring Text;
    };

    explicit CellRecorder(Juxta& main) : Main(main)
    {
        Main.GetRows().SetWriteObserver([this](int side, int row, int field, const std::wstring& text) {
            const int column = field == HashKind::Count ? Main.GetSizeColumn() : Main.GetHashColumn(field);
            std::lock_guard<std::mutex> lock(Guard);
            Writes.push_back(Write{side, row, column, text});
            if (!text.empty() && text.back() == L'%')
                Percentage = true;
        });
    }
    ~CellRecorder() { Main.GetRows().SetWriteObserver(nullptr); }
    CellRecorder(const CellRecorder&) = delete;
    CellRecorder& operator=(const CellRecorder&) = delete;

    // the texts written into one cell, in order
    std::vector<std::wstring> TextsOf(int list, int row, int column) const
    {
        std::lock_guard<std::mutex> lock(Guard);
        std::vector<std::wstring> texts;
        for (const Write& write : Writes)
            if (write.List == list && write.Row == row && write.Column == column)
                texts.push_back(write.Text);
        return texts;
    }
    // the position in Writes of the first / last write into a cell, -1 when there was none
    int FirstWrite(int list, int row, int column) const
    {
        std::lock_guard<std::mutex> lock(Guard);
        for (size_t i = 0; i < Writes.size(); ++i)
            if (Writes[i].List == list && Writes[i].Row == row && Writes[i].Column == column)
                return static_cast<int>(i);
        return -1;
    }
    int LastWrite(int list, int row, int column) const
    {
        std::lock_guard<std::mutex> lock(Guard);
        for (size_t i = Writes.size(); i-- > 0;)
            if (Writes[i].List == list && Writes[i].Row == row && Writes[i].Column == column)
                return static_cast<int>(i);
        return -1;
    }

    // Runs action once, as soon as a percentage has been written from now on, processing messages until then (false
    // when none came within timeoutMs): files are then in the middle of being read.
    bool RunAtFirstPercentage(const std::function<void()>& action, int timeoutMs)
    {
        Percentage = false;
        const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
        while (!Percentage && GetTickCount64() < deadline) {
            MSG message;
            if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
            } else if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                break;
            } else {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        if (!Percentage)
            return false;
        action();
        return true;
    }

private:
    Juxta& Main;
    mutable std::mutex Guard;
    std::vector<Write> Writes;
    std::atomic<bool> Percentage{false};
};

// Processes one queued message at a time and looks at condition after each, so that it sees a state that lasts
// only while the workers are busy (harness::PumpUntil empties the whole queue first, and while cells are written
// the queue never runs empty). True once condition holds, false after timeoutMs.
inline bool PumpEachUntil(const std::function<bool()>& condition, int timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    while (!condition()) {
        if (GetTickCount64() > deadline)
            return false;
        MSG message;
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return condition();
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
    return true;
}

// A real main window for one test, with its settings file in the test's folder.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        harness::Initialize();
        Main.reset(new Juxta(Temp.PathOf(L"juxta.dat")));
        ASSERT_TRUE(Main->CreateMainWindow());
        ASSERT_TRUE(Main->GetChecker());
        ASSERT_TRUE(Main->GetList(0) && Main->GetList(1) && Main->GetMarkList());
    }

    void TearDown() override
    {
        if (Main && Main->Handle)
            DestroyWindow(Main->Handle);
        harness::PumpPending();
        harness::ClearQuit();
        Main.reset();
    }

    // switches the kinds and "CheckNum" as the settings dialog would, with the columns to match
    void Configure(bool crc32, bool md5, bool sha1, int checkNum = 8)
    {
        Main->GetSettings().SetBool(L"Crc32", crc32);
        Main->GetSettings().SetBool(L"Md5", md5);
        Main->GetSettings().SetBool(L"Sha1", sha1);
        Main->GetSettings().SetInt(L"CheckNum", checkNum);
        Main->BuildColumns();
        Main->PublishSettings();
    }
    void SetSetting(const std::wstring& name, bool value)
    {
        Main->GetSettings().SetBool(name, value);
        Main->PublishSettings();
    }
    void SetCheckNum(int checkNum)
    {
        Main->GetSettings().SetInt(L"CheckNum", checkNum);
        Main->PublishSettings();
    }

    FileListView& List(int side) { return *Main->GetList(side); }
    HWND ListHandle(int side) { return Main->GetList(side)->Handle; }

    // a drop batch on a side's list, as the list hands it to the registration
    void Drop(int side, const std::vector<std::wstring>& paths) { RegisterDroppedPaths(List(side), paths); }

    // true when every check has ended
    bool WaitIdle(int timeoutMs = 120000)
    {
        return harness::PumpUntil([this] { return !Main->GetChecker()->IsChecking(); }, timeoutMs);
    }

    int Rows() { return harness::ListRowCount(ListHandle(0)); }
    std::wstring PathCell(int side, int row) { return harness::ListCellText(ListHandle(side), row, 0); }
    std::wstring HashCell(int side, int row, int kind)
    {
        const int column = Main->GetHashColumn(kind);
        return column < 0 ? std::wstring() : harness::ListCellText(ListHandle(side), row, column);
    }
    std::wstring SizeCell(int side, int row)
    {
        return harness::ListCellText(ListHandle(side), row, Main->GetSizeColumn());
    }
    std::wstring MarkCell(int row) { return harness::ListCellText(Main->GetMarkList()->Handle, row, 0); }
    // a status bar pane's text as the bar shows it
    std::wstring PaneShown(int pane)
    {
        const HWND bar = Main->GetStatusBar()->Handle;
        const int length = LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(pane), 0));
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(&text[0]));
        text.resize(static_cast<size_t>(length));
        return text;
    }
    COLORREF RowColour(int side, int row) { return List(side).GetRowColour(row); }
    // the row whose path cell is path on that side, -1 when none
    int RowOf(int side, const std::wstring& path)
    {
        for (int row = 0; row < Rows(); ++row)
            if (PathCell(side, row) == path)
                return row;
        return -1;
    }

    harness::TempFolder Temp;
    std::unique_ptr<Juxta> Main;
};

} // namespace checktesting
