// Holds a lock for the lifetime of a block and releases it on every path, exceptions included.
// Several locks are taken in the documented order (main, left, right, mark) by nesting ScopedLocks in that order.
#pragma once

#include "kit/core/LockObject.h"

#include <boost/noncopyable.hpp>

namespace kit {

// tag for a lock that the caller already holds (after a successful TryLock)
struct AdoptLockTag {};
constexpr AdoptLockTag AdoptLock{};

class ScopedLock : private boost::noncopyable {
public:
    explicit ScopedLock(LockObject& lock) : Held(lock) { Held.Lock(); }
    ScopedLock(LockObject& lock, AdoptLockTag) : Held(lock) {}
    ~ScopedLock() { Held.Unlock(); }

private:
    LockObject& Held; // not owned
};

} // namespace kit
