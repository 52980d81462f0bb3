// MD5 (RFC 1321).
#pragma once

#include "kit/core/Hash.h"

#include <boost/shared_ptr.hpp>

namespace kit {

class Md5 final : public Hash {
public:
    static boost::shared_ptr<Md5> Create();
    Md5();

    void Reset() override;
    void Update(const void* data, uint32_t size) override;
    // pads the message, so the object needs Reset before it hashes anything else
    std::wstring Final() override;

private:
    uint32_t ByteCountLow;
    uint32_t ByteCountHigh;
    uint32_t State[4];
    uint8_t Buffer[BlockSize];
};

} // namespace kit
