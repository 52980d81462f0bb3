// Running the GUI thread's messages in tests: until a condition holds (bounded), or until the queue is empty.
#pragma once

#include <functional>

namespace harness {

// Common controls and COM for the test's GUI thread; every harness entry point calls it, tests may too.
void Initialize();

// Processes messages (modeless dialogs get theirs first, as in the program's loop) until condition() is true or
// timeoutMs has passed; returns condition()'s last value. Waits on the queue in between, never a fixed sleep.
bool PumpUntil(const std::function<bool()>& condition, int timeoutMs = 5000);
// Processes every message already in the queue.
void PumpPending();
// A WM_QUIT that the pump took from the queue (a main window that posted quit on destroy).
bool QuitReceived();
void ClearQuit();

} // namespace harness
