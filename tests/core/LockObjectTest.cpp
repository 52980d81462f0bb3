#include "kit/core/LockObject.h"

#include "kit/core/ScopedLock.h"

#include <gtest/gtest.h>

#include <boost/shared_ptr.hpp>

#include <stdexcept>

namespace {

// counts what a scoped lock does with it
class CountingLock : public kit::LockObject {
public:
    void Lock() override { ++Locks; }
    void Unlock() override { ++Unlocks; }
    bool TryLock() override
    {
        ++Locks;
        return true;
    }
    int Locks = 0;
    int Unlocks = 0;
};

} // namespace

TEST(LockObject, TryLock_nullLockAlwaysSucceeds)
{
    boost::shared_ptr<kit::LockObject> lock(new kit::LockObject);
    lock->Lock();
    EXPECT_TRUE(lock->TryLock());
    EXPECT_TRUE(lock->TryLock());
    lock->Unlock();
}

TEST(ScopedLock, Release_onEveryPath)
{
    CountingLock lock;
    {
        kit::ScopedLock hold(lock);
        EXPECT_EQ(1, lock.Locks);
        EXPECT_EQ(0, lock.Unlocks);
    }
    EXPECT_EQ(1, lock.Unlocks);

    try {
        kit::ScopedLock hold(lock);
        throw std::runtime_error("x");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(2, lock.Locks);
    EXPECT_EQ(2, lock.Unlocks);

    // a lock taken with TryLock is adopted, not taken twice
    if (lock.TryLock()) {
        kit::ScopedLock hold(lock, kit::AdoptLock);
    }
    EXPECT_EQ(3, lock.Locks);
    EXPECT_EQ(3, lock.Unlocks);
}
