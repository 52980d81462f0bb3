#include "app/check/CheckHashManager.h"

#include "app/check/CheckHashThread.h"
#include "app/lists/FileListView.h"
#include "app/check/CheckHost.h"
#include "kit/core/CriticalSection.h"
#include "kit/core/ScopedLock.h"
#include "kit/core/SettingsNode.h"
#include "kit/ui/Window.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

namespace {

const int LeftPane = 0;
const int FirstMarkPane = 1;
const int LastMarkPane = 5;
const int RightPane = 6;
const unsigned MarkPanes = ((1u << (LastMarkPane + 1)) - 1) & ~((1u << FirstMarkPane) - 1);
// how long one wait of the interface thread lasts at most before it looks at the queue again; a wake-up that the
// message wait misses costs no more than this
const DWORD ServeSlice = 10;

int SidePane(int side)
{
    return side == 0 ? LeftPane : RightPane;
}

} // namespace

CheckHashManager::CheckHashManager(CheckHost* main) : Main(main) {}

int32_t CheckHashManager::CheckNumOf(const kit::SettingsNode& settings)
{
    return std::min(std::max(settings.GetInt(L"CheckNum", DefaultCheckNum), MinCheckNum), MaxCheckNum);
}

boost::shared_ptr<CheckHashManager> CheckHashManager::Create(CheckHost* main)
{
    boost::shared_ptr<CheckHashManager> manager(new CheckHashManager(main));
    // It only hands out rows and sleeps between rounds, but it holds the main lock while it does: at idle priority
    // a busy machine would keep the interface waiting for it. The workers read at idle priority.
    if (!manager->Start(THREAD_PRIORITY_NORMAL))
        return boost::shared_ptr<CheckHashManager>();
    return manager;
}

CheckHashManager::~CheckHashManager()
{
    // the window may be gone already: no appearance change, only the checks end
    Checking = false;
    Main->AcquireMain();
    {
        kit::ScopedLock main(Main->GetMainLock(), kit::AdoptLock);
        CancelAndRemoveWorkers(false);
    }
    Stop();
    // a round that is still running may be sending to the lists; serve it until the thread has ended
    if (HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, GetId())) {
        kit::WaitServingSentMessages(thread, INFINITE);
        CloseHandle(thread);
    }
    StopAndJoin();
}

void CheckHashManager::StartChecking()
{
    Main->AcquireMain();
    kit::ScopedLock main(Main->GetMainLock(), kit::AdoptLock);
    NextRow = 0;
    SetChecking(true);
    Resume();
    // a scheduler that sleeps between rounds rescans now
    Notify();
}

void CheckHashManager::StopChecking()
{
    if (!Checking)
        return;
    SetChecking(false);
    Main->AcquireMain();
    kit::ScopedLock main(Main->GetMainLock(), kit::AdoptLock);
    const bool judged = CancelAndRemoveWorkers(true);
    // the cancelled cells are empty in the lists, and the counts of the pairs judged shown, by the time the caller
    // looks
    Main->SyncViews();
    if (judged)
        Main->RequestPaneRefresh(MarkPanes);
}

void CheckHashManager::SetChecking(bool flag)
{
    if (Checking.exchange(flag) == flag)
        return;
    Main->SetCheckingAppearance(flag);
}

size_t CheckHashManager::GetWorkerCount() const
{
    Main->AcquireMain();
    kit::ScopedLock main(Main->GetMainLock(), kit::AdoptLock);
    return Workers.size();
}

void CheckHashManager::HoldRounds(int rounds)
{
    RoundsBeforeHold = rounds;
    Notify();
}

void CheckHashManager::ReleaseRounds()
{
    RoundsBeforeHold = -1;
    Notify();
}

void CheckHashManager::SetCreationGate(const std::function<bool()>& gate)
{
    Main->AcquireMain();
    kit::ScopedLock main(Main->GetMainLock(), kit::AdoptLock);
    CreationGate = gate;
}

bool CheckHashManager::IsHeld()
{
    int32_t left = RoundsBeforeHold;
    while (left > 0 && !RoundsBeforeHold.compare_exchange_weak(left, left - 1)) {
    }
    return left == 0;
}

bool CheckHashManager::CancelAndRemoveWorkers(bool judge)
{
    Idle.clear();
    for (const boost::shared_ptr<CheckHashThread>& worker : Workers) {
        worker->RequestCancel();
        // the interface waits for it now: on a busy machine an idle-priority thread might not run for a long while
        if (!worker->IsFinished())
            worker->SetPriority(THREAD_PRIORITY_NORMAL);
    }
    bool judged = false;
    while (!Workers.empty()) {
        for (WorkerList::iterator it = Workers.begin(); it != Workers.end();) {
            const CheckHashThread& worker = **it;
            if (!worker.IsFinished()) {
                ++it;
                continue;
            }
            // a check that ended before the cancel reached it: left unjudged, a rescan would see its cells filled
            // and pass it by, and its pair would stay "？" for good
            if (judge && !worker.WasCancelled()) {
                JudgeRow(worker);
                judged = true;
            }
            // a finished worker sends nothing more, so destroying it here (a join) cannot wait for this thread
            it = Workers.erase(it);
        }
        if (Workers.empty())
            break;
        HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, Workers.front()->GetId());
        kit::WaitServingSentMessages(thread, ServeSlice);
        if (thread)
            CloseHandle(thread);
    }
    return judged;
}

void CheckHashManager::Run()
{
    if (IsHeld()) {
        WaitForWork(RoundTimeout);
        return;
    }
    Main->YieldMainToInterface();
    {
        kit::ScopedLock main(Main->GetMainLock());
        if (IsStopping())
            return;
        PaneFlags panes = {};
        CollectFinished(panes);
        if (Checking)
            StartRows(panes);
        RefreshPanes(panes);
        if (Workers.empty()) {
            Idle.clear();
            Pause();
            // the lists and panes show the last cells and counts by the time the check is seen to have ended, and
            // the columns are fitted to those texts
            Main->FlushViews();
            if (Main->GetPublishedSettings()->GetBool(L"AutoSize", false))
                Main->AutoSizeColumns();
            SetChecking(false);
            return;
        }
        // a worker that finished at once (imported row, file that failed to open) is collected without waiting
        if (AnyFinished())
            return;
    }
    WaitForWork(RoundTimeout);
}

bool CheckHashManager::AnyFinished() const
{
    return std::any_of(Workers.begin(), Workers.end(),
                       [](const boost::shared_ptr<CheckHashThread>& worker) { return worker->IsFinished(); });
}

void CheckHashManager::CollectFinished(PaneFlags& panes)
{
    for (WorkerList::iterator it = Workers.begin(); it != Workers.end();) {
        const CheckHashThread& worker = **it;
        if (!worker.IsFinished()) {
            ++it;
            continue;
        }
        JudgeRow(worker);
        // its thread takes the next row started
        WorkerList::iterator next = std::next(it);
        Idle.splice(Idle.end(), Workers, it);
        it = next;
        std::fill(panes.begin() + FirstMarkPane, panes.begin() + LastMarkPane + 1, true);
    }
}

void CheckHashManager::JudgeRow(const CheckHashThread& worker)
{
    Main->GetRows().SetUnreadable(worker.GetSide(), worker.GetRow(), worker.WasUnreadable());
    Main->GetRows().EvaluatePair(worker.GetSide(), worker.GetRow(), Main->GetEnabledKinds());
}

void CheckHashManager::StartRows(PaneFlags& panes)
{
    const CheckHashThread::Options options = CheckHashThread::Options::FromSettings(*Main->GetPublishedSettings());
    // rows are only appended while a check runs (a registration meanwhile)
    const int rows = Main->GetRows().RowCount();
    // a stop requested meanwhile starts nothing more
    while (NextRow < rows && Checking) {
        // read again for every row: a change takes effect at the next row started
        const int32_t limit = CheckNumOf(*Main->GetPublishedSettings());
        if (static_cast<int64_t>(Workers.size()) >= limit)
            break;
        const int row = NextRow;
        bool refused = false;
        for (int side = 0; side < 2 && !refused; ++side) {
            const RowStart started = StartRow(side, row, options.Kinds);
            panes[SidePane(side)] = panes[SidePane(side)] || started == RowStart::Started;
            refused = started == RowStart::Refused;
        }
        // a row whose thread the system refused waits for the next round (a worker that ends leaves its thread);
        // with no worker left the check ends and the row stays unchecked
        if (refused)
            break;
        ++NextRow;
    }
}

CheckHashManager::RowStart CheckHashManager::StartRow(int side, int row, const HashKindFlags& kinds)
{
    // a row that has a worker already looks unchecked to a rescan until its worker writes
    if (HasWorker(side, row))
        return RowStart::Skipped;
    RowModel::CheckJob job;
    if (!Main->GetRows().BeginCheck(side, row, kinds, job))
        return RowStart::Skipped;
    boost::shared_ptr<CheckHashThread> worker;
    if (!Idle.empty()) {
        worker = Idle.front();
        Idle.pop_front();
        worker->Reuse(side, row, job);
    } else {
        if (!CreationGate || CreationGate())
            worker = CheckHashThread::Create(Main, side, row, job, this);
        if (!worker) {
            // the row waits for the next round as it was
            Main->GetRows().SetState(side, row, StateColour::Wait);
            return RowStart::Refused;
        }
    }
    Workers.push_back(worker);
    const uint64_t size = worker->GetFileSize();
    if (!job.SizeShown && size != CheckHashThread::UnknownSize)
        Main->GetRows().AddBytes(side, size);
    return RowStart::Started;
}

bool CheckHashManager::HasWorker(int side, int row) const
{
    return std::any_of(Workers.begin(), Workers.end(), [side, row](const boost::shared_ptr<CheckHashThread>& worker) {
        return worker->GetSide() == side && worker->GetRow() == row;
    });
}

void CheckHashManager::RefreshPanes(const PaneFlags& panes)
{
    // the interface thread refreshes them when it gets to it; rounds meanwhile only add to the request
    unsigned mask = 0;
    for (size_t pane = 0; pane < panes.size(); ++pane)
        if (panes[pane])
            mask |= 1u << pane;
    Main->RequestPaneRefresh(mask);
}

