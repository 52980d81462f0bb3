// The SHA-1 block transform on the CPU's SHA instructions. Only called when CpuFeatures::HasShaNi() is true.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kit {

class Sha1ShaNi {
public:
    // state is H0..H4; count whole 64-byte blocks are read in place
    static void Transform(uint32_t* state, const uint8_t* blocks, size_t count);

private:
    Sha1ShaNi() = delete;
};

} // namespace kit
