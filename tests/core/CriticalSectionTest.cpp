#include "kit/core/CriticalSection.h"

#include "kit/core/ScopedLock.h"

#include <gtest/gtest.h>

#include <boost/shared_ptr.hpp>

#include <future>
#include <thread>

namespace {

bool TryFromAnotherThread(kit::LockObject& lock)
{
    return std::async(std::launch::async, [&lock] {
        bool entered = lock.TryLock();
        if (entered) {
            lock.Unlock();
        }
        return entered;
    }).get();
}

} // namespace

TEST(CriticalSection, TryLock_failsAtOnceWhileAnotherThreadHoldsIt)
{
    boost::shared_ptr<kit::LockObject> lock(new kit::CriticalSection);
    EXPECT_TRUE(TryFromAnotherThread(*lock));
    lock->Lock();
    EXPECT_FALSE(TryFromAnotherThread(*lock));
    // the holder may enter again (the lock is recursive) and must leave as often
    EXPECT_TRUE(lock->TryLock());
    lock->Unlock();
    EXPECT_FALSE(TryFromAnotherThread(*lock));
    lock->Unlock();
    EXPECT_TRUE(TryFromAnotherThread(*lock));
}

TEST(CriticalSection, Lock_excludesOtherThreads)
{
    kit::CriticalSection lock;
    long counter = 0;
    auto add = [&] {
        for (int i = 0; i < 100000; ++i) {
            kit::ScopedLock hold(lock);
            // a read and a write apart: without the lock, increments would be lost
            long seen = counter;
            counter = seen + 1;
        }
    };
    std::thread a(add);
    std::thread b(add);
    a.join();
    b.join();
    EXPECT_EQ(200000, counter);
}
