// What the scheduler, its workers and the registration need of the main window, without the window: the rows, the
// lock that guards the workers, the settings, and the few ways they have the interface show their progress. The
// main window implements it.
#pragma once

#include "app/lists/MainHost.h"

#include <boost/shared_ptr.hpp>

#include <string>

class CheckHashManager;

namespace kit {
class CriticalSection;
class SettingsNode;
} // namespace kit

class CheckHost : public virtual MainHost {
public:
    // guards the scheduler's workers against the commands that stop them; held for short steps only
    virtual kit::CriticalSection& GetMainLock() = 0;
    // takes the main lock; on the interface thread it serves sent messages while another thread holds it
    virtual void AcquireMain() = 0;
    // Called by a thread about to take the main lock for a step of its own (not while holding it): while the
    // interface thread waits for the lock, it goes first. It polls for the lock, and a scheduler that takes the lock
    // again as soon as it let it go would keep a drop or a Stop waiting for as long as files keep finishing.
    virtual void YieldMainToInterface() = 0;
    // the settings as last published; any thread
    virtual boost::shared_ptr<const kit::SettingsNode> GetPublishedSettings() const = 0;
    // the scheduler; null before it runs
    virtual CheckHashManager* GetChecker() const = 0;

    // checking: list commands off, stop on, busy animation; idle: the reverse (any thread)
    virtual void SetCheckingAppearance(bool checking) = 0;
    // interface thread: the lists learn the rows that changed
    virtual void SyncViews() = 0;
    // any thread: the interface syncs the lists and the panes; returns when it has
    virtual void FlushViews() = 0;
    // any thread: the panes whose bits are set (1 << pane) refreshed soon
    virtual void RequestPaneRefresh(unsigned panes) = 0;
    // every column as wide as its widest text
    virtual void AutoSizeColumns() = 0;
    // "AutoScroll": a row that has started being read brought into view soon; any thread
    virtual void FollowRow(int row) = 0;
    // the side the last registration went to, and the name of the last drop
    virtual void SetCurrentSide(int side) = 0;
    virtual void SetLastName(const std::wstring& name) = 0;

protected:
    virtual ~CheckHost() {}
};
