#include "kit/core/CpuFeatures.h"

#include <atomic>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace kit {

namespace {

struct Detected {
    bool Pclmul = false;
    bool ShaNi = false;
};

Detected Detect()
{
    Detected d;
#if defined(__i386__) || defined(__x86_64__)
    unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) {
        return d;
    }
    const bool ssse3 = (ecx & bit_SSSE3) != 0;
    const bool sse41 = (ecx & bit_SSE4_1) != 0;
    d.Pclmul = sse41 && (ecx & bit_PCLMUL) != 0;
    // leaf 7 exists only when leaf 0 says so; __get_cpuid_count checks that
    if (__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx)) {
        d.ShaNi = ssse3 && sse41 && (ebx & bit_SHA) != 0;
    }
#endif
    return d;
}

const Detected& Cpu()
{
    static const Detected detected = Detect();
    return detected;
}

std::atomic<bool> portableOnly{false};

} // namespace

bool CpuFeatures::HasPclmul()
{
    return Cpu().Pclmul && !portableOnly.load(std::memory_order_relaxed);
}

bool CpuFeatures::HasShaNi()
{
    return Cpu().ShaNi && !portableOnly.load(std::memory_order_relaxed);
}

void CpuFeatures::SetPortableOnly(bool on)
{
    portableOnly.store(on, std::memory_order_relaxed);
}

} // namespace kit
