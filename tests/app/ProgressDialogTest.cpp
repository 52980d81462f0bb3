// The progress dialog on real windows with real files: what a run shows (status, bar, error log, the button's text)
// and the button that only cancels while the worker runs and closes the dialog once it has finished.
#include "app/tools/CopyThread.h"
#include "app/tools/ProgressDialog.h"
#include "resources/resource.h"
#include "tests/harness/Harness.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <thread>
#include <vector>

namespace {

using harness::ReadBytes;

long long FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// a file of zeros of the given size, made by extending an empty one
bool MakeLargeFile(const std::wstring& path, long long size)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER end;
    end.QuadPart = size;
    const bool ok = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return ok;
}

CopyTask Task(const std::wstring& source, const std::wstring& destination, uint64_t size)
{
    CopyTask task;
    task.Source = source;
    task.Destination = destination;
    task.Size = size;
    return task;
}

// what the dialog shows at one moment
struct Shown {
    std::wstring Status;
    std::wstring Button;
    std::wstring Header;
    std::vector<std::wstring> Log;
    int Position = -1;
    bool Open = false;
};

Shown Read(HWND dialog)
{
    Shown shown;
    shown.Open = IsWindow(dialog) && harness::IsVisible(dialog);
    shown.Status = harness::ItemText(dialog, IDC_PROGRESS_STATUS);
    shown.Button = harness::ItemText(dialog, IDC_CLOSE);
    HWND bar = GetDlgItem(dialog, IDC_PROGRESS_BAR);
    shown.Position = static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0));
    HWND log = GetDlgItem(dialog, IDC_PROGRESS_ERRORS);
    shown.Header = harness::ListHeaderText(log, 0);
    for (int row = 0; row < harness::ListRowCount(log); ++row)
        shown.Log.push_back(harness::ListCellText(log, row, 0));
    return shown;
}

// the last state the progress bar was given (Wine takes PBM_SETSTATE but always answers PBM_GETSTATE with normal)
int StateSent = 0;

LRESULT CALLBACK SpyOnState(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == PBM_SETSTATE)
        StateSent = static_cast<int>(wParam);
    return DefSubclassProc(window, message, wParam, lParam);
}

// whether the dialog was done when its button came to read "閉じる", seen from inside that text's change
const ProgressDialog* Watched = nullptr;
int DoneWhenClosable = -1;

LRESULT CALLBACK SpyOnCloseText(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_SETTEXT && GetDlgCtrlID(call->hwnd) == IDC_CLOSE &&
        std::wstring(reinterpret_cast<const wchar_t*>(call->lParam)) == L"閉じる")
        DoneWhenClosable = Watched->IsDone();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// holds the worker at one status line, as if the user pressed a button at that moment
class HeldProgressDialog : public ProgressDialog {
public:
    HeldProgressDialog(Request request, const std::wstring& status)
        : ProgressDialog(std::move(request)), HoldStatus(status),
          Reached(CreateEventW(nullptr, TRUE, FALSE, nullptr)), Release(CreateEventW(nullptr, TRUE, FALSE, nullptr))
    {
    }
    ~HeldProgressDialog() override
    {
        SetEvent(Release);
        CloseHandle(Reached);
        CloseHandle(Release);
    }

    void SetStatus(const std::wstring& text) override
    {
        if (text == HoldStatus) {
            SetEvent(Reached);
            WaitForSingleObject(Release, 60000);
        }
        ProgressDialog::SetStatus(text);
    }

    const std::wstring HoldStatus;
    HANDLE Reached;
    HANDLE Release;
};

// presses the button at the moment the run ends: the press is posted as the run reports its end, and handled only
// once the dialog reads as done, which is when the worker may still be sending its last text
class RacingProgressDialog : public ProgressDialog {
public:
    using ProgressDialog::ProgressDialog;

    void Finished(const std::wstring& closeText) override
    {
        PostMessageW(Handle, WM_COMMAND, IDCANCEL, 0);
        ProgressDialog::Finished(closeText);
    }
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        const ULONGLONG start = GetTickCount64();
        while (LOWORD(wParam) == IDCANCEL && !IsDone() && GetTickCount64() - start < 10000) {
            MSG message;
            PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_SENDMESSAGE);
        }
        return ProgressDialog::OnCommand(wParam, lParam);
    }
};

class ProgressDialogTest : public ::testing::Test {
protected:
    void SetUp() override { harness::Initialize(); }

    harness::TempFolder Folder;
    harness::HostWindow Host;
};

TEST_F(ProgressDialogTest, Run_showsTheLogAndEndsWithAFullBar)
{
    const std::wstring a = Folder.WriteFile(L"src\\a.txt", "a");
    const std::wstring b = Folder.WriteFile(L"src\\b.txt", "new b");
    const std::wstring gone = Folder.PathOf(L"src\\gone.txt");
    const std::wstring oldB = Folder.WriteFile(L"out\\b.txt", "old b");
    ProgressDialog::Request request;
    request.Operation = CopyThread::OperationCopy;
    request.ClashPolicy = CopyThread::ClashSkip;
    request.Tasks = {Task(a, Folder.PathOf(L"out\\sub\\a.txt"), 1), Task(gone, Folder.PathOf(L"out\\gone.txt"), 2),
                     Task(b, oldB, 3)};
    ProgressDialog dialog(request);
    Watched = &dialog;
    HHOOK spy = SetWindowsHookExW(WH_CALLWNDPROCRET, SpyOnCloseText, nullptr, GetCurrentThreadId());

    Shown end;
    harness::DialogWatcher watcher;
    watcher.Answer([&](HWND window) {
        if (harness::ItemText(window, IDC_CLOSE) != L"閉じる")
            return false;
        end = Read(window);
        return harness::DialogWatcher::PressButton(window, IDC_CLOSE);
    });
    EXPECT_EQ(0, dialog.Run(&Host));
    UnhookWindowsHookEx(spy);
    // a press on "閉じる" closes: the dialog is done before its button says so
    EXPECT_EQ(1, DoneWhenClosable);

    ASSERT_EQ(1u, watcher.Seen().size());
    EXPECT_EQ(L"進捗", watcher.Seen()[0].Caption);
    EXPECT_EQ(L"コピーが終了しました（コピー 1、スキップ 1、失敗 1）", end.Status);
    EXPECT_EQ(CopyThread::ProgressMax, end.Position);
    EXPECT_EQ(L"エラーログ", end.Header);
    EXPECT_EQ((std::vector<std::wstring>{gone + L" が開けませんでした", oldB + L" が既に存在します"}), end.Log);
    EXPECT_EQ("a", ReadBytes(Folder.PathOf(L"out\\sub\\a.txt")));
    EXPECT_EQ("old b", ReadBytes(oldB));
    EXPECT_EQ("new b", ReadBytes(b));
    EXPECT_TRUE(dialog.IsDone());
    EXPECT_TRUE(dialog.GetWorker()->IsFinished());
}

// the close command of the window and the button both only cancel while a file is being copied: the file
// finishes, no further file starts, the bar shows the paused state, and only then does the button close
TEST_F(ProgressDialogTest, Close_whileALargeFileCopiesOnlyCancels)
{
    const long long bigSize = 48LL * 1024 * 1024;
    const std::wstring big = Folder.PathOf(L"src\\big.bin");
    Folder.MakeFolder(L"src");
    ASSERT_TRUE(MakeLargeFile(big, bigSize));
    const std::wstring small = Folder.WriteFile(L"src\\small.txt", "small");
    ProgressDialog::Request request;
    request.Operation = CopyThread::OperationCopy;
    request.ClashPolicy = CopyThread::ClashSkip;
    request.Tasks = {Task(big, Folder.PathOf(L"out\\big.bin"), static_cast<uint64_t>(bigSize)),
                     Task(small, Folder.PathOf(L"out\\small.txt"), 5)};
    HeldProgressDialog dialog(request, big + L"をコピー中...");

    Shown afterClose, afterButton, end;
    int step = 0;
    harness::DialogWatcher watcher;
    watcher.Answer([&](HWND window) {
        if (step == 0) {
            if (WaitForSingleObject(dialog.Reached, 0) != WAIT_OBJECT_0)
                return false;
            SetWindowSubclass(GetDlgItem(window, IDC_PROGRESS_BAR), SpyOnState, 1, 0);
            // the dialog manager posts the cancel command of WM_CLOSE
            SendMessageW(window, WM_CLOSE, 0, 0);
            harness::PumpPending();
            afterClose = Read(window);
            harness::DialogWatcher::PressButton(window, IDC_CLOSE);
            afterButton = Read(window);
            SetEvent(dialog.Release);
            step = 1;
            return false;
        }
        if (harness::ItemText(window, IDC_CLOSE) != L"閉じる")
            return false;
        end = Read(window);
        RemoveWindowSubclass(GetDlgItem(window, IDC_PROGRESS_BAR), SpyOnState, 1);
        return harness::DialogWatcher::PressButton(window, IDC_CLOSE);
    });
    EXPECT_EQ(0, dialog.Run(&Host));

    EXPECT_TRUE(afterClose.Open);
    EXPECT_EQ(L"キャンセル中...", afterClose.Status);
    EXPECT_EQ(L"キャンセル", afterClose.Button);
    EXPECT_TRUE(afterButton.Open);
    EXPECT_EQ(L"コピーがキャンセルされました（コピー 1、スキップ 0、失敗 0）", end.Status);
    EXPECT_EQ(PBST_PAUSED, StateSent);
    EXPECT_TRUE(end.Log.empty());
    EXPECT_EQ(bigSize, FileSize(Folder.PathOf(L"out\\big.bin")));
    EXPECT_EQ(-1, FileSize(Folder.PathOf(L"out\\small.txt")));
    EXPECT_EQ(bigSize, FileSize(big));
    EXPECT_EQ("small", ReadBytes(small));
}

// a log longer than the list scrolls to its newest line as each one comes; at the end its column fits the lines
TEST_F(ProgressDialogTest, AddLog_keepsTheNewestLineInView)
{
    const std::wstring name = L"missing file with a name longer than the log is wide " + std::wstring(40, L'x');
    std::vector<CopyTask> tasks;
    for (int i = 0; i < 40; ++i)
        tasks.push_back(Task(Folder.PathOf(name + std::to_wstring(i)), Folder.PathOf(L"out.txt"), 1));
    ProgressDialog::Request request;
    request.Tasks = tasks;
    ProgressDialog dialog(request);

    bool lastVisible = false;
    int rows = 0;
    int columnWidth = 0;
    harness::DialogWatcher watcher;
    watcher.Answer([&](HWND window) {
        if (harness::ItemText(window, IDC_CLOSE) != L"閉じる")
            return false;
        HWND log = GetDlgItem(window, IDC_PROGRESS_ERRORS);
        rows = harness::ListRowCount(log);
        const int top = static_cast<int>(SendMessageW(log, LVM_GETTOPINDEX, 0, 0));
        const int page = static_cast<int>(SendMessageW(log, LVM_GETCOUNTPERPAGE, 0, 0));
        lastVisible = rows - 1 >= top && rows - 1 < top + page;
        columnWidth = static_cast<int>(SendMessageW(log, LVM_GETCOLUMNWIDTH, 0, 0));
        const std::wstring longest = Folder.PathOf(name + L"10 が開けませんでした");
        const LPARAM text = reinterpret_cast<LPARAM>(longest.c_str());
        columnWidth -= static_cast<int>(SendMessageW(log, LVM_GETSTRINGWIDTHW, 0, text));
        return harness::DialogWatcher::PressButton(window, IDC_CLOSE);
    });
    EXPECT_EQ(0, dialog.Run(&Host));
    EXPECT_EQ(40, rows);
    EXPECT_TRUE(lastVisible);
    EXPECT_GE(columnWidth, 0);
}

// a press at the moment the run ends closes the dialog; a hang is ended after ten seconds by ending the worker
TEST_F(ProgressDialogTest, Close_atTheMomentTheRunEndsNeverHangs)
{
    const std::wstring a = Folder.WriteFile(L"a.txt", "a");
    for (int round = 0; round < 20; ++round) {
        ProgressDialog::Request request;
        request.Tasks = {Task(a, Folder.PathOf(L"out\\" + std::to_wstring(round) + L".txt"), 1)};
        RacingProgressDialog dialog(request);
        HANDLE closed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        bool hung = false;
        std::thread watchdog([&] {
            if (WaitForSingleObject(closed, 10000) == WAIT_OBJECT_0)
                return;
            hung = true;
            HANDLE worker = OpenThread(THREAD_TERMINATE, FALSE, dialog.GetWorker()->GetId());
            TerminateThread(worker, 1);
            CloseHandle(worker);
        });
        EXPECT_EQ(0, dialog.Run(&Host));
        SetEvent(closed);
        watchdog.join();
        CloseHandle(closed);
        ASSERT_FALSE(hung) << "round " << round;
    }
}

// damages the copy of one file between its write and its read-back
class DamagingProgressDialog : public ProgressDialog {
public:
    using ProgressDialog::ProgressDialog;
    void CopyWritten(const std::wstring& temporary) override
    {
        if (temporary.find(L"damaged.txt") == std::wstring::npos)
            return;
        HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, "X", 1, &written, nullptr);
        CloseHandle(file);
    }
};

// what a verify failure looks like: the log line and the final counts (JUXTA_SCREENSHOTS names the folder)
TEST_F(ProgressDialogTest, Screenshot_verifyFailure)
{
    wchar_t folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"JUXTA_SCREENSHOTS", folder, MAX_PATH))
        GTEST_SKIP() << "JUXTA_SCREENSHOTS not set";
    const std::wstring damaged = Folder.WriteFile(L"src\\damaged.txt", "damaged");
    const std::wstring good = Folder.WriteFile(L"src\\good.txt", "good");
    const std::wstring kept = Folder.WriteFile(L"src\\kept.txt", "kept");
    const std::wstring old = Folder.WriteFile(L"out\\kept.txt", "old");
    ProgressDialog::Request request;
    request.Verify = {true, false, false};
    request.Tasks = {Task(damaged, Folder.PathOf(L"out\\damaged.txt"), 7), Task(good, Folder.PathOf(L"out\\good.txt"), 4),
                     Task(kept, old, 4)};
    DamagingProgressDialog dialog(request);
    Shown end;
    harness::DialogWatcher watcher;
    watcher.Answer([&](HWND window) {
        if (harness::ItemText(window, IDC_CLOSE) != L"閉じる")
            return false;
        end = Read(window);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        harness::PumpUntil([] { return false; }, 300);
        EXPECT_TRUE(harness::SaveWindowBitmap(window, std::wstring(folder) + L"\\copy-verify-failure.bmp"));
        return harness::DialogWatcher::PressButton(window, IDC_CLOSE);
    });
    EXPECT_EQ(0, dialog.Run(&Host));
    EXPECT_EQ((std::vector<std::wstring>{damaged + L" の検証に失敗しました", old + L" が既に存在します"}), end.Log);
    EXPECT_EQ(L"コピーが終了しました（コピー 1、検証済み 1、スキップ 1、失敗 1）", end.Status);
    EXPECT_EQ(-1, FileSize(Folder.PathOf(L"out\\damaged.txt")));
}

} // namespace
