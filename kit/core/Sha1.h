// SHA-1 (FIPS 180-4).
#pragma once

#include "kit/core/Hash.h"

#include <boost/shared_ptr.hpp>

namespace kit {

class Sha1 final : public Hash {
public:
    static boost::shared_ptr<Sha1> Create();
    Sha1();

    void Reset() override;
    void Update(const void* data, uint32_t size) override;
    // pads the message, so the object needs Reset before it hashes anything else
    std::wstring Final() override;

    // the block transform without the SHA instructions, for callers that test or measure it
    static void TransformPortable(uint32_t* state, const uint8_t* blocks, size_t count);

private:
    uint32_t ByteCountLow;
    uint32_t ByteCountHigh;
    uint32_t State[5];
    uint8_t Buffer[BlockSize];
};

} // namespace kit
