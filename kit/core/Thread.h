// A thread that is created paused and calls the virtual Run over and over while it is resumed, until it is stopped.
//
// A derived class either finishes inside Run (Stop on itself) or pauses itself when it has nothing to do; a class
// that waits for other threads instead sleeps in WaitForWork, which returns when someone calls Notify, so no
// scheduler has to poll. Run must not let an exception escape; one that does stops the thread.
//
// The destructor stops and joins the thread, but by then the derived part is gone: a derived class whose Run uses
// its own members calls StopAndJoin first thing in its own destructor. Never destroy a Thread on its own thread.
#pragma once

#include <boost/noncopyable.hpp>
#include <windows.h>

#include <atomic>

namespace kit {

class Thread : private boost::noncopyable {
public:
    Thread();
    virtual ~Thread();

    // Stops and joins a thread that still exists, then starts a new one, paused, at the given Win32 priority
    // (THREAD_PRIORITY_IDLE for the checking threads, THREAD_PRIORITY_NORMAL for file operations).
    bool Start(int priority);

    // After Pause the current Run completes and the thread sleeps until Resume. Pause on a paused or stopping
    // thread and Resume on a running one change nothing.
    virtual void Pause();
    virtual void Resume();
    // Waits until the thread has ended (resuming it first so that it can see a stop request).
    virtual void Join();

    // The stop protocol: the loop ends after the current Run. Safe to call from Run itself.
    void Stop();
    // What the destructor does: stop, join and close the thread.
    void StopAndJoin();
    // Wakes a WaitForWork of this thread; a signal sent while nobody waits is kept for the next wait.
    void Notify();
    // the Win32 priority of a started thread; false when there is none or the system refused
    bool SetPriority(int priority);

    bool IsStarted() const { return ThreadHandle.load() != nullptr; }
    bool IsPaused() const { return Paused.load(); }
    bool IsStopping() const { return Stopping.load(); }
    unsigned GetId() const { return ThreadId.load(); }

protected:
    virtual void Run() {}
    // Called on the thread at every turn of its loop, after the stop flag was read and before the pause flag is:
    // a seam for tests that need a Stop to land exactly there.
    virtual void OnLoopTurn() {}
    // Sleeps until Notify, Pause or Stop, or until timeoutMs passes; true when woken, false on timeout.
    bool WaitForWork(DWORD timeoutMs);

private:
    static unsigned __stdcall Procedure(void* self);
    // sleeps while the thread is paused
    void WaitWhilePaused();

    // The flags' changes and the two waits. A lock and condition variables rather than events: where nobody waits
    // they stay in the process, and a scheduler pauses, resumes and notifies its workers once for every file (each
    // event call is a round trip to the Wine server).
    SRWLOCK StateLock = SRWLOCK_INIT;
    CONDITION_VARIABLE Resumed = CONDITION_VARIABLE_INIT; // Paused was cleared (or Stopping set)
    CONDITION_VARIABLE WorkCame = CONDITION_VARIABLE_INIT; // WorkPending was set
    bool WorkPending = false; // a Notify not yet taken by WaitForWork (under StateLock)
    std::atomic<HANDLE> ThreadHandle{nullptr};
    std::atomic<unsigned> ThreadId{0};
    std::atomic<bool> Paused{false};
    std::atomic<bool> Stopping{false};
};

} // namespace kit
