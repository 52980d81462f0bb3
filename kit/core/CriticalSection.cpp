#include "kit/core/CriticalSection.h"

namespace kit {

#ifdef _WIN32

CriticalSection::CriticalSection()
{
    InitializeCriticalSection(&Section);
}

CriticalSection::~CriticalSection()
{
    DeleteCriticalSection(&Section);
}

void CriticalSection::Lock()
{
    EnterCriticalSection(&Section);
}

void CriticalSection::Unlock()
{
    LeaveCriticalSection(&Section);
}

bool CriticalSection::TryLock()
{
    return TryEnterCriticalSection(&Section) != FALSE;
}

#else

CriticalSection::CriticalSection() = default;
CriticalSection::~CriticalSection() = default;

void CriticalSection::Lock()
{
    Section.lock();
}

void CriticalSection::Unlock()
{
    Section.unlock();
}

bool CriticalSection::TryLock()
{
    return Section.try_lock();
}

#endif

} // namespace kit
