// Helpers shared by the hash tests: random inputs, feeding at random split points, forcing the portable path.
#pragma once

#include "kit/core/CpuFeatures.h"
#include "kit/core/Hash.h"

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace hashtesting {

inline std::vector<uint8_t> RandomBytes(std::mt19937& random, size_t size)
{
    std::vector<uint8_t> bytes(size);
    for (auto& b : bytes) {
        b = uint8_t(random());
    }
    return bytes;
}

// feeds the bytes in pieces of random length (0 included) and returns Final
inline std::wstring FeedInRandomPieces(kit::Hash& hash, const uint8_t* data, size_t size, std::mt19937& random,
                                       size_t maxPiece)
{
    std::uniform_int_distribution<size_t> piece(0, maxPiece);
    for (size_t at = 0; at < size;) {
        const size_t n = std::min(piece(random), size - at);
        hash.Update(data + at, uint32_t(n));
        at += n;
    }
    return hash.Final();
}

// runs the portable code while it lives, whatever the CPU offers
class PortableOnly {
public:
    PortableOnly() { kit::CpuFeatures::SetPortableOnly(true); }
    ~PortableOnly() { kit::CpuFeatures::SetPortableOnly(false); }
    PortableOnly(const PortableOnly&) = delete;
    PortableOnly& operator=(const PortableOnly&) = delete;
};

} // namespace hashtesting
