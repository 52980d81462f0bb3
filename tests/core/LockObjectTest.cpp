#include "kit/core/LockObject.h"

#include <gtest/gtest.h>

namespace {
struct NullLock : kit::LockObject {};
}

TEST(LockObject, TryLock_nullLockAlwaysSucceeds)
{
    NullLock lock;
    lock.Lock();
    EXPECT_TRUE(lock.TryLock());
    lock.Unlock();
}
