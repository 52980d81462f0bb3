// CRC-32 by carry-less multiplication (Intel, "Fast CRC Computation for Generic Polynomials Using PCLMULQDQ").
// Only called when CpuFeatures::HasPclmul() is true.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kit {

class Crc32Pclmul {
public:
    static constexpr size_t MinimumSize = 64;
    static constexpr size_t Granularity = 16;

    // crc is the running (uncomplemented) register; size is at least MinimumSize and a multiple of Granularity
    static uint32_t Fold(uint32_t crc, const uint8_t* data, size_t size);

private:
    Crc32Pclmul() = delete;
};

} // namespace kit
