#include "tests/harness/DialogWatcher.h"

#include <algorithm>
#include <map>

#include <gtest/gtest.h>

#include "tests/harness/Pump.h"

namespace harness {

namespace {

const UINT TickMilliseconds = 20;
const int DefaultUnexpectedTimeout = 10000;

std::map<UINT_PTR, DialogWatcher*>& Watchers()
{
    static std::map<UINT_PTR, DialogWatcher*> watchers;
    return watchers;
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring TextOf(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(std::max(0, GetWindowTextW(window, &text[0], length + 1))));
    return text;
}

BOOL CALLBACK CollectDialog(HWND window, LPARAM data)
{
    if (IsWindowVisible(window) && IsWindowEnabled(window) && ClassOf(window) == L"#32770")
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM data)
{
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

} // namespace

DialogWatcher::DialogWatcher()
    : Timer(0), Waiting(nullptr), WaitingSince(0), UnexpectedTimeout(DefaultUnexpectedTimeout), Busy(false)
{
    Initialize();
    Ignored = OpenDialogs();
    Timer = SetTimer(nullptr, 0, TickMilliseconds, Tick);
    if (Timer)
        Watchers()[Timer] = this;
}

DialogWatcher::~DialogWatcher()
{
    if (Timer) {
        KillTimer(nullptr, Timer);
        Watchers().erase(Timer);
    }
}

void DialogWatcher::Answer(int button)
{
    Answers.push_back(std::make_pair(button, Action()));
}

void DialogWatcher::Answer(const Action& action)
{
    Answers.push_back(std::make_pair(0, action));
}

std::vector<HWND> DialogWatcher::OpenDialogs()
{
    std::vector<HWND> dialogs;
    EnumThreadWindows(GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

bool DialogWatcher::PressButton(HWND dialog, int button)
{
    HWND control = GetDlgItem(dialog, button);
    if (control && !IsWindowEnabled(control))
        return false;
    // a message box without a Cancel button still takes IDCANCEL (Esc), so a missing control is not an error
    if (!control && button != IDCANCEL)
        return false;
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(control));
    return true;
}

SeenDialog DialogWatcher::Describe(HWND dialog)
{
    SeenDialog seen;
    seen.Handle = dialog;
    // GetParent names the owner only of pop-ups; the shell's folder dialog is an owned overlapped window
    seen.Owner = GetWindow(dialog, GW_OWNER);
    seen.ClassName = ClassOf(dialog);
    seen.Caption = TextOf(dialog);
    GetWindowRect(dialog, &seen.Rect);
    if (seen.Owner)
        GetWindowRect(seen.Owner, &seen.OwnerRect);
    std::vector<HWND> children;
    EnumChildWindows(dialog, CollectChild, reinterpret_cast<LPARAM>(&children));
    for (HWND child : children) {
        const std::wstring text = TextOf(child);
        if (text.empty())
            continue;
        seen.Texts.push_back(text);
        if (_wcsicmp(ClassOf(child).c_str(), L"Static") == 0)
            seen.Text += (seen.Text.empty() ? L"" : L"\n") + text;
    }
    return seen;
}

void CALLBACK DialogWatcher::Tick(HWND, UINT, UINT_PTR timer, DWORD)
{
    auto found = Watchers().find(timer);
    if (found == Watchers().end())
        return;
    try {
        found->second->Poll();
    } catch (...) {
        // a test's action that throws must not unwind through the modal loop
        ADD_FAILURE() << "a dialog watcher action threw";
    }
}

void DialogWatcher::Poll()
{
    // an action may pump messages itself, and with them this timer
    if (Busy)
        return;
    HWND dialog = nullptr;
    for (HWND candidate : OpenDialogs()) {
        if (std::find(Ignored.begin(), Ignored.end(), candidate) == Ignored.end()) {
            dialog = candidate;
            break;
        }
    }
    if (!dialog)
        return;
    Busy = true;
    if (!Answers.empty()) {
        SeenDialog seen = Describe(dialog);
        const int button = Answers.front().first;
        const Action action = Answers.front().second;
        const bool answered = action ? action(dialog) : PressButton(dialog, button);
        if (answered) {
            seen.Button = button;
            Dialogs.push_back(seen);
            Answers.pop_front();
            Ignored.push_back(dialog);
        }
    } else if (UnexpectedTimeout > 0) {
        if (Waiting != dialog) {
            Waiting = dialog;
            WaitingSince = GetTickCount64();
        } else if (GetTickCount64() - WaitingSince >= static_cast<ULONGLONG>(UnexpectedTimeout)) {
            SeenDialog seen = Describe(dialog);
            seen.Expected = false;
            seen.Button = IDCANCEL;
            Dialogs.push_back(seen);
            Ignored.push_back(dialog);
            PressButton(dialog, IDCANCEL);
        }
    }
    Busy = false;
}

bool SetFileDialogName(HWND dialog, const std::wstring& name)
{
    // the explorer-style dialog names its file field cmb13 (a combo box) or edt1, depending on the system
    const int fields[] = {0x047c, 0x0480};
    for (int id : fields) {
        HWND field = GetDlgItem(dialog, id);
        if (field) {
            SetWindowTextW(field, name.c_str());
            return true;
        }
    }
    return false;
}

} // namespace harness
