// Answers the modal dialogs and message boxes that code under test opens on this thread, the way a user would,
// and keeps what each of them showed. Polls with a thread timer, which runs inside every modal loop.
//
//   harness::DialogWatcher watcher;
//   watcher.Answer(IDYES);                       // the next dialog: press "Yes"
//   code_that_asks();                            // returns once the box was answered
//   EXPECT_EQ(L"...", watcher.Seen().at(0).Text);
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <boost/noncopyable.hpp>

namespace harness {

// What a dialog showed when it was answered.
struct SeenDialog {
    HWND Handle = nullptr;
    HWND Owner = nullptr;               // the dialog's owner window
    std::wstring ClassName;
    std::wstring Caption;
    std::wstring Text;                  // the static texts, joined by "\n" (a message box's message)
    std::vector<std::wstring> Texts;    // every child's non-empty text, in child order
    RECT Rect = {};                     // the dialog's screen rectangle
    RECT OwnerRect = {};
    int Button = 0;                     // the button pressed, 0 for a custom action
    bool Expected = true;               // false when nothing was queued and the watcher cancelled it
};

class DialogWatcher : private boost::noncopyable {
public:
    // an action returns true when it has answered (closed) the dialog, false to be called again on the next tick
    typedef std::function<bool(HWND dialog)> Action;

    // dialogs already open now are left alone
    DialogWatcher();
    ~DialogWatcher();

    // queues the answer to the next dialog that appears
    void Answer(int button);
    void Answer(const Action& action);

    // leaves a dialog alone (a modeless window opened after the watcher)
    void Ignore(HWND dialog) { Ignored.push_back(dialog); }
    // a dialog with no answer queued is cancelled after this long (a test never hangs on one); 0 turns it off
    void SetUnexpectedTimeout(int milliseconds) { UnexpectedTimeout = milliseconds; }

    const std::vector<SeenDialog>& Seen() const { return Dialogs; }
    size_t PendingAnswers() const { return Answers.size(); }

    // the dialog-class windows of this thread that are visible and enabled, newest first
    static std::vector<HWND> OpenDialogs();
    // WM_COMMAND for the button as its click sends it; false when there is no such button
    static bool PressButton(HWND dialog, int button);
    // the child texts and geometry of a dialog
    static SeenDialog Describe(HWND dialog);

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD);
    void Poll();

    UINT_PTR Timer;
    std::vector<HWND> Ignored;
    std::deque<std::pair<int, Action>> Answers;
    std::vector<SeenDialog> Dialogs;
    HWND Waiting;
    ULONGLONG WaitingSince;
    int UnexpectedTimeout;
    bool Busy;
};

// Fills the name field of a common open or save dialog (file names, or "\"a\" \"b\"" for several).
bool SetFileDialogName(HWND dialog, const std::wstring& name);

} // namespace harness
