// The check scheduler: one background thread that walks the rows of the RowModel, both sides in step, starts a
// CheckHashThread for every row that still lacks a value (both rows of a pair together, at most "CheckNum" rows at a
// time), and finishes each check: EvaluatePair gives the row its colour and, once both rows of a pair are done, the
// pair its mark. It also switches the main window between its idle and its checking appearance.
//
// Threads and locks: a round holds the main lock, which guards the workers, while it finishes workers and starts
// rows; each row is read and changed in the RowModel under the model's own short lock. Between rounds it sleeps
// until a worker reports that it has finished (or a short timeout passes), so it costs nothing while files are
// read. The interface thread never blocks on a lock or a thread here: while it waits it serves the messages that
// the scheduler sends it.
#pragma once

#include "app/lists/HashText.h"
#include "kit/core/Thread.h"

#include <boost/shared_ptr.hpp>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <list>

class CheckHashThread;
class CheckHost;

namespace kit {
class SettingsNode;
} // namespace kit

class CheckHashManager : public kit::Thread {
public:
    // a round ends at this timeout when no worker has reported (a safety net; workers wake the scheduler)
    static const DWORD RoundTimeout = 100;
    // "CheckNum": the settings dialog's range and the default
    static const int32_t MinCheckNum = 1;
    static const int32_t MaxCheckNum = 16;
    static const int32_t DefaultCheckNum = 8;

    // "CheckNum" of the settings, within MinCheckNum..MaxCheckNum whatever a settings file held
    static int32_t CheckNumOf(const kit::SettingsNode& settings);

    // the thread is started (paused) at idle priority; empty when it cannot be created
    static boost::shared_ptr<CheckHashManager> Create(CheckHost* main);
    // stops the checks and waits for the thread, serving the interface thread's messages meanwhile
    ~CheckHashManager() override;

    // Interface thread. Checks every row that lacks a value from the first row on; during a check it rescans
    // (rows that have a worker already are left to it).
    void StartChecking();
    // Interface thread. Cancels every worker and returns once all have ended. A worker that had written its values
    // before the cancel reached it is finished as at the end of its check (its pair judged); the rows of the others
    // keep the colour "Check", their cancelled cells are empty and they are not finished. Nothing when no check runs.
    // The caller must hold no list lock (the workers need them to end).
    void StopChecking();
    // switches the appearance (busy animation, commands) when flag differs from the current state
    void SetChecking(bool flag);
    bool IsChecking() const { return Checking; }
    // workers not yet removed (finished ones included); for tests
    size_t GetWorkerCount() const;
    // Tests: after the next `rounds` rounds the scheduler holds, neither judging finished workers nor starting rows
    // (workers go on reading), until ReleaseRounds.
    void HoldRounds(int rounds);
    void ReleaseRounds();
    // Tests: asked before each worker thread is created; false makes that creation fail as when the system refuses
    // a thread. Set while no check runs.
    void SetCreationGate(const std::function<bool()>& gate);

protected:
    void Run() override;

private:
    typedef std::list<boost::shared_ptr<CheckHashThread>> WorkerList;
    // panes 0 (left), 1 to 5 (mark counts), 6 (right) that a round has changed
    typedef std::array<bool, 7> PaneFlags;
    enum class RowStart { Skipped, Started, Refused };

    explicit CheckHashManager(CheckHost* main);

    void CollectFinished(PaneFlags& panes);
    void StartRows(PaneFlags& panes);
    RowStart StartRow(int side, int row, const HashKindFlags& kinds);
    // the finishing step of a check that ended with its cells written: the row's state kept, then EvaluatePair
    void JudgeRow(const CheckHashThread& worker);
    bool HasWorker(int side, int row) const;
    void RefreshPanes(const PaneFlags& panes);
    bool AnyFinished() const;
    // scheduler thread: a round may not run now (HoldRounds); counts the round when it may
    bool IsHeld();
    // judge: a worker that had finished its check gets its finishing step (not when the window goes); true when
    // any did
    bool CancelAndRemoveWorkers(bool judge);

    CheckHost* Main; // not owned; the main window owns the scheduler
    // the workers of every row being checked; guarded by the main lock
    WorkerList Workers;
    // finished workers whose threads wait for a next row; guarded by the main lock. They go when the check ends.
    WorkerList Idle;
    std::atomic<int32_t> NextRow{0};
    std::atomic<bool> Checking{false};
    std::function<bool()> CreationGate; // guarded by the main lock
    // rounds still allowed before a hold; negative while nothing is held
    std::atomic<int32_t> RoundsBeforeHold{-1};
};
