#include "kit/core/Thread.h"

#include <process.h>

namespace kit {

namespace {

// the lock held for a scope
class StateHold : private boost::noncopyable {
public:
    explicit StateHold(SRWLOCK& lock) : Lock(lock) { AcquireSRWLockExclusive(&Lock); }
    ~StateHold() { ReleaseSRWLockExclusive(&Lock); }

private:
    SRWLOCK& Lock;
};

} // namespace

Thread::Thread() {}

Thread::~Thread()
{
    StopAndJoin();
}

bool Thread::Start(int priority)
{
    StopAndJoin();
    {
        StateHold hold(StateLock);
        ThreadId = 0;
        Paused = true;
        Stopping = false;
    }
    unsigned id = 0;
    HANDLE handle = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &Thread::Procedure, this, 0, &id));
    if (!handle) {
        return false;
    }
    ThreadId = id;
    ThreadHandle = handle;
    // a thread left at its default priority still works, only less politely
    SetThreadPriority(handle, priority);
    return true;
}

void Thread::Pause()
{
    StateHold hold(StateLock);
    if (IsStarted() && !Paused && !Stopping) {
        Paused = true;
        // let a Run that sleeps in WaitForWork return now rather than at its timeout
        WorkPending = true;
        WakeAllConditionVariable(&WorkCame);
    }
}

void Thread::Resume()
{
    StateHold hold(StateLock);
    if (IsStarted() && Paused) {
        Paused = false;
        WakeAllConditionVariable(&Resumed);
    }
}

void Thread::Join()
{
    HANDLE handle = ThreadHandle.load();
    // a thread that waited for itself would never wake
    if (!handle || GetCurrentThreadId() == ThreadId.load()) {
        return;
    }
    Resume();
    WaitForSingleObject(handle, INFINITE);
}

bool Thread::SetPriority(int priority)
{
    HANDLE thread = ThreadHandle.load();
    return thread && SetThreadPriority(thread, priority) != FALSE;
}

void Thread::Stop()
{
    StateHold hold(StateLock);
    Stopping = true;
    // a paused thread wakes to see the request, and a WaitForWork returns at once
    if (IsStarted() && Paused) {
        Paused = false;
        WakeAllConditionVariable(&Resumed);
    }
    WorkPending = true;
    WakeAllConditionVariable(&WorkCame);
}

void Thread::StopAndJoin()
{
    HANDLE handle = ThreadHandle.load();
    if (!handle) {
        return;
    }
    Stop();
    Join();
    if (GetCurrentThreadId() != ThreadId.load()) {
        CloseHandle(handle);
        ThreadHandle = nullptr;
    }
}

void Thread::Notify()
{
    StateHold hold(StateLock);
    WorkPending = true;
    WakeAllConditionVariable(&WorkCame);
}

bool Thread::WaitForWork(DWORD timeoutMs)
{
    StateHold hold(StateLock);
    if (Stopping) {
        return false;
    }
    const ULONGLONG start = GetTickCount64();
    while (!WorkPending) {
        DWORD wait = INFINITE;
        if (timeoutMs != INFINITE) {
            const ULONGLONG elapsed = GetTickCount64() - start;
            if (elapsed >= timeoutMs) {
                break;
            }
            wait = static_cast<DWORD>(timeoutMs - elapsed);
        }
        // a wake without the flag (a spurious one, or another waiter took it) waits for the rest of the time
        if (!SleepConditionVariableSRW(&WorkCame, &StateLock, wait, 0) && GetLastError() != ERROR_TIMEOUT) {
            break;
        }
    }
    const bool woken = WorkPending;
    WorkPending = false;
    return woken;
}

void Thread::WaitWhilePaused()
{
    StateHold hold(StateLock);
    while (Paused && !Stopping) {
        SleepConditionVariableSRW(&Resumed, &StateLock, INFINITE, 0);
    }
}

unsigned __stdcall Thread::Procedure(void* self)
{
    Thread* thread = static_cast<Thread*>(self);
    while (!thread->Stopping) {
        thread->OnLoopTurn();
        // a Stop since the test above has also resumed a paused thread: it ends here without running once more
        if (!thread->Paused && !thread->Stopping) {
            try {
                thread->Run();
            } catch (...) {
                // nothing may leave a thread procedure; a body that failed this way cannot go on
                thread->Stop();
            }
        }
        thread->WaitWhilePaused();
    }
    return 0;
}

} // namespace kit
