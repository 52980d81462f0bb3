#include "kit/core/Thread.h"

#include "kit/core/ScopedLock.h"

#include <process.h>

namespace kit {

Thread::Thread()
{
    WorkEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
}

Thread::~Thread()
{
    StopAndJoin();
    if (WakeEvent) {
        CloseHandle(WakeEvent);
    }
    if (WorkEvent) {
        CloseHandle(WorkEvent);
    }
}

bool Thread::Start(int priority)
{
    StopAndJoin();
    ThreadId = 0;
    Paused = true;
    Stopping = false;
    if (WakeEvent) {
        CloseHandle(WakeEvent);
    }
    WakeEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!WakeEvent || !WorkEvent) {
        return false;
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
    ScopedLock lock(Guard);
    if (IsStarted() && !Paused && !Stopping) {
        Paused = true;
        ResetEvent(WakeEvent);
        // let a Run that sleeps in WaitForWork return now rather than at its timeout
        SetEvent(WorkEvent);
    }
}

void Thread::Resume()
{
    ScopedLock lock(Guard);
    if (IsStarted() && Paused) {
        Paused = false;
        SetEvent(WakeEvent);
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
    {
        ScopedLock lock(Guard);
        Stopping = true;
    }
    Resume();
    if (WorkEvent) {
        SetEvent(WorkEvent);
    }
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
    if (WorkEvent) {
        SetEvent(WorkEvent);
    }
}

bool Thread::WaitForWork(DWORD timeoutMs)
{
    if (Stopping || !WorkEvent) {
        return false;
    }
    return WaitForSingleObject(WorkEvent, timeoutMs) == WAIT_OBJECT_0;
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
        WaitForSingleObject(thread->WakeEvent, INFINITE);
    }
    return 0;
}

} // namespace kit
