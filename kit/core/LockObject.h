// The lock interface: a null lock that never blocks. kit::CriticalSection derives from it.
#pragma once

#include <boost/noncopyable.hpp>

namespace kit {

class LockObject : private boost::noncopyable {
public:
    LockObject() = default;
    // virtual so that an owner may delete either kind through this interface
    virtual ~LockObject();

    virtual void Lock() {}
    virtual void Unlock() {}
    virtual bool TryLock() { return true; }
};

} // namespace kit
