// The lock interface: a null lock that never blocks. kit::CriticalSection derives from it.
#pragma once

#include <boost/noncopyable.hpp>

namespace kit {

class LockObject : private boost::noncopyable {
public:
    virtual void Lock() {}
    virtual void Unlock() {}
    virtual bool TryLock() { return true; }

protected:
    // owners hold locks through shared_ptr created from the concrete class, so no virtual destructor is needed
    ~LockObject() = default;
};

} // namespace kit
