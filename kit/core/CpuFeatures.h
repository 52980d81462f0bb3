// Which optional x86 instructions the hash fast paths may use, detected once per process.
#pragma once

// For the entry points of the fast paths. 32-bit Windows promises a callback's first frame only 4-byte stack
// alignment, while 32-bit GCC assumes 16 and folds spilled SSE values into instructions that fault when
// unaligned: realign the stack on entry.
#if defined(__i386__)
#define KIT_REALIGN_STACK __attribute__((force_align_arg_pointer))
#else
#define KIT_REALIGN_STACK
#endif

namespace kit {

class CpuFeatures {
public:
    // PCLMULQDQ with SSE4.1: the folding CRC-32
    static bool HasPclmul();
    // the SHA extensions with SSSE3 and SSE4.1: the SHA-1 block transform in hardware
    static bool HasShaNi();

    // Makes both queries answer false, so tests and the benchmark can run the portable code on a CPU that has
    // the instructions. Results do not depend on the path; only speed does.
    static void SetPortableOnly(bool portableOnly);

private:
    CpuFeatures() = delete;
};

} // namespace kit
