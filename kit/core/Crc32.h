// CRC-32 in its common reflected form (zlib, PKZIP, IEEE 802.3), polynomial 0xEDB88320.
#pragma once

#include "kit/core/Hash.h"

#include <boost/shared_ptr.hpp>

namespace kit {

class Crc32 final : public Hash {
public:
    static boost::shared_ptr<Crc32> Create();
    Crc32();

    void Reset() override;
    void Update(const void* data, uint32_t size) override;
    // "%08X" of the complemented register; leaves the object as it is, so it may be called again
    std::wstring Final() override;

    // the standard 256-entry table: entry n is the register after feeding byte n to a zero register
    static const uint32_t* Table();
    // the register fed with bytes without the hardware path, for callers that test or measure it
    static uint32_t UpdatePortable(uint32_t crc, const uint8_t* data, size_t size);

private:
    uint32_t Crc;
};

} // namespace kit
