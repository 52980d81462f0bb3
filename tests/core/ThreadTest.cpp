#include "kit/core/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <stdexcept>

namespace {

// waits up to five seconds for a condition that another thread brings about
bool Eventually(const std::function<bool()>& condition)
{
    for (int i = 0; i < 5000; ++i) {
        if (condition()) {
            return true;
        }
        Sleep(1);
    }
    return condition();
}

bool HasEnded(unsigned threadId, DWORD timeoutMs)
{
    HANDLE h = OpenThread(SYNCHRONIZE, FALSE, threadId);
    if (!h) {
        return true; // gone already
    }
    bool ended = WaitForSingleObject(h, timeoutMs) == WAIT_OBJECT_0;
    CloseHandle(h);
    return ended;
}

class Counter : public kit::Thread {
public:
    ~Counter() override { StopAndJoin(); }
    std::atomic<int> Runs{0};
    int StopAfter = 0;
    bool Throw = false;

protected:
    void Run() override
    {
        ++Runs;
        if (Throw) {
            throw std::runtime_error("run failed");
        }
        if (Runs == StopAfter) {
            Stop();
        }
        Sleep(1);
    }
};

class StopsAtOnce : public Counter {
public:
    StopsAtOnce()
    {
        Start(THREAD_PRIORITY_NORMAL);
        Stop();
    }
};

// At its first turn, once it runs for real (Go), it stops itself while paused: the Stop lands between the loop's
// stop test and its pause test, and its Resume clears the pause flag before the loop reads it.
class StopsBetweenTheTests : public Counter {
public:
    StopsBetweenTheTests() : Go(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~StopsBetweenTheTests() override
    {
        SetEvent(Go);
        StopAndJoin();
        CloseHandle(Go);
    }
    HANDLE Go;

protected:
    void OnLoopTurn() override
    {
        // Start has returned: a Resume now finds the thread
        WaitForSingleObject(Go, 5000);
        if (IsPaused() && !IsStopping())
            Stop();
    }
};

class Waiter : public kit::Thread {
public:
    explicit Waiter(DWORD timeoutMs) : Timeout(timeoutMs) {}
    ~Waiter() override { StopAndJoin(); }
    std::atomic<int> Waits{0};
    std::atomic<int> Woken{0};
    std::atomic<int> TimedOut{0};

protected:
    void Run() override
    {
        ++Waits;
        if (WaitForWork(Timeout)) {
            ++Woken;
        } else {
            ++TimedOut;
        }
    }

private:
    DWORD Timeout;
};

} // namespace

TEST(Thread, Start_neverResumedNeverRuns)
{
    unsigned id = 0;
    {
        Counter thread;
        ASSERT_TRUE(thread.Start(THREAD_PRIORITY_IDLE));
        id = thread.GetId();
        EXPECT_NE(0u, id);
        EXPECT_TRUE(thread.IsPaused());
        Sleep(50);
        EXPECT_EQ(0, thread.Runs);
    }
    EXPECT_TRUE(HasEnded(id, 0));
}

TEST(Thread, PauseResume_startAndStopTheRuns)
{
    Counter thread;
    ASSERT_TRUE(thread.Start(THREAD_PRIORITY_NORMAL));
    thread.Resume();
    EXPECT_TRUE(Eventually([&] { return thread.Runs > 2; }));

    thread.Pause();
    // the Run under way may still complete, then nothing
    Sleep(20);
    int paused = thread.Runs;
    Sleep(50);
    EXPECT_EQ(paused, thread.Runs);

    thread.Resume();
    EXPECT_TRUE(Eventually([&] { return thread.Runs > paused + 2; }));
}

TEST(Thread, PauseResume_onlyChangeWhatTheyApplyTo)
{
    Counter thread;
    // nothing happens without a thread
    thread.Resume();
    thread.Pause();
    EXPECT_FALSE(thread.IsPaused());

    ASSERT_TRUE(thread.Start(THREAD_PRIORITY_NORMAL));
    thread.Pause();
    EXPECT_TRUE(thread.IsPaused());
    thread.Resume();
    thread.Resume();
    EXPECT_FALSE(thread.IsPaused());
    thread.Stop();
    EXPECT_TRUE(thread.IsStopping());
    thread.Pause();
    EXPECT_FALSE(thread.IsPaused());
    unsigned id = thread.GetId();
    EXPECT_TRUE(HasEnded(id, 5000));
}

TEST(Thread, Stop_inConstructorNeverRuns)
{
    StopsAtOnce thread;
    // the thread ends on its own, without a Join
    EXPECT_TRUE(HasEnded(thread.GetId(), 5000));
    EXPECT_EQ(0, thread.Runs);
}

TEST(Thread, Stop_betweenTheLoopsTestsNeverRuns)
{
    StopsBetweenTheTests thread;
    ASSERT_TRUE(thread.Start(THREAD_PRIORITY_NORMAL));
    SetEvent(thread.Go);
    EXPECT_TRUE(HasEnded(thread.GetId(), 5000));
    EXPECT_EQ(0, thread.Runs);
}

TEST(Thread, Stop_fromRunEndsTheLoop)
{
    Counter thread;
    thread.StopAfter = 3;
    ASSERT_TRUE(thread.Start(THREAD_PRIORITY_NORMAL));
    thread.Resume();
    thread.Join();
    EXPECT_EQ(3, thread.Runs);
    EXPECT_TRUE(thread.IsStopping());
}

TEST(Thread, Run_exceptionStopsTheThread)
{
    Counter thread;
    thread.Throw = true;
    ASSERT_TRUE(thread.Start(THREAD_PRIORITY_NORMAL));
    thread.Resume();
    thread.Join();
    EXPECT_EQ(1, thread.Runs);
    EXPECT_TRUE(thread.IsStopping());
}

TEST(Thread, Start_joinsTheOldThreadFirst)
{
    Counter thread;
    ASSERT_TRUE(thread.Start(THREAD_PRIORITY_NORMAL));
    thread.Resume();
    EXPECT_TRUE(Eventually([&] { return thread.Runs > 0; }));
    HANDLE old = OpenThread(SYNCHRONIZE, FALSE, thread.GetId());
    ASSERT_NE(nullptr, old);

    ASSERT_TRUE(thread.Start(THREAD_PRIORITY_NORMAL));
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(old, 0));
    CloseHandle(old);
    // the new thread starts paused
    EXPECT_TRUE(thread.IsPaused());
    EXPECT_FALSE(thread.IsStopping());
    int runs = thread.Runs;
    Sleep(30);
    EXPECT_EQ(runs, thread.Runs);
    thread.Resume();
    EXPECT_TRUE(Eventually([&] { return thread.Runs > runs; }));
}

TEST(Thread, WaitForWork_wakesOnNotifyAndTimesOut)
{
    Waiter waiter(60000);
    ASSERT_TRUE(waiter.Start(THREAD_PRIORITY_NORMAL));
    // a signal sent before anyone waits is kept
    waiter.Notify();
    waiter.Resume();
    EXPECT_TRUE(Eventually([&] { return waiter.Woken == 1; }));
    waiter.Notify();
    EXPECT_TRUE(Eventually([&] { return waiter.Woken == 2; }));
    // Pause and Stop do not leave it sleeping out its timeout
    // (once it is inside Run: a Pause between two Runs has no Run to cut short)
    EXPECT_TRUE(Eventually([&] { return waiter.Waits == 3; }));
    waiter.Pause();
    EXPECT_TRUE(Eventually([&] { return waiter.Woken == 3; }));
    waiter.Resume();
    ULONGLONG before = GetTickCount64();
    waiter.StopAndJoin();
    EXPECT_LT(GetTickCount64() - before, 30000u);
    EXPECT_EQ(0, waiter.TimedOut);

    Waiter brief(10);
    ASSERT_TRUE(brief.Start(THREAD_PRIORITY_NORMAL));
    brief.Resume();
    EXPECT_TRUE(Eventually([&] { return brief.TimedOut > 1; }));
}
