// A recursive lock: a Win32 critical section (a recursive mutex in the native build, which has no Win32).
#pragma once

#include "kit/core/LockObject.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <mutex>
#endif

namespace kit {

class CriticalSection final : public LockObject {
public:
    CriticalSection();
    ~CriticalSection() override;

    void Lock() override;
    void Unlock() override;
    // true when entered; fails at once when another thread holds the lock
    bool TryLock() override;

private:
#ifdef _WIN32
    CRITICAL_SECTION Section;
#else
    std::recursive_mutex Section;
#endif
};

} // namespace kit
