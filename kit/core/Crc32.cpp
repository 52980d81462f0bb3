#include "kit/core/Crc32.h"

#include "kit/core/CpuFeatures.h"
#include "kit/core/Crc32Pclmul.h"

namespace kit {

namespace {

constexpr uint32_t ReflectedPolynomial = 0xEDB88320u;
constexpr uint32_t InitialRegister = 0xFFFFFFFFu;
// eight bytes per step: table k gives the effect of a byte followed by k zero bytes
constexpr int SliceCount = 8;

struct SliceTables {
    uint32_t Entry[SliceCount][256];
};

constexpr SliceTables MakeSliceTables()
{
    SliceTables t{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int bit = 0; bit < 8; ++bit) {
            c = (c & 1) ? ReflectedPolynomial ^ (c >> 1) : c >> 1;
        }
        t.Entry[0][n] = c;
    }
    for (uint32_t n = 0; n < 256; ++n) {
        for (int k = 1; k < SliceCount; ++k) {
            const uint32_t previous = t.Entry[k - 1][n];
            t.Entry[k][n] = (previous >> 8) ^ t.Entry[0][previous & 0xFF];
        }
    }
    return t;
}

constexpr SliceTables Tables = MakeSliceTables();

inline uint32_t LoadLittleEndian32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline uint32_t UpdateBytes(uint32_t crc, const uint8_t* p, size_t size)
{
    const auto& t0 = Tables.Entry[0];
    for (size_t i = 0; i < size; ++i) {
        crc = (crc >> 8) ^ t0[(crc ^ p[i]) & 0xFF];
    }
    return crc;
}

} // namespace

boost::shared_ptr<Crc32> Crc32::Create()
{
    return boost::shared_ptr<Crc32>(new Crc32());
}

Crc32::Crc32()
    : Crc(InitialRegister)
{
}

void Crc32::Reset()
{
    Crc = InitialRegister;
}

void Crc32::Update(const void* data, uint32_t size)
{
    if (size == 0) {
        return;
    }
    const uint8_t* p = static_cast<const uint8_t*>(data);
    size_t left = size;
    if (left >= Crc32Pclmul::MinimumSize && CpuFeatures::HasPclmul()) {
        const size_t folded = left & ~size_t(Crc32Pclmul::Granularity - 1);
        Crc = Crc32Pclmul::Fold(Crc, p, folded);
        p += folded;
        left -= folded;
    }
    Crc = UpdatePortable(Crc, p, left);
}

std::wstring Crc32::Final()
{
    const uint32_t value = ~Crc;
    const uint8_t bytes[4] = {uint8_t(value >> 24), uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value)};
    return HexText(bytes, sizeof bytes);
}

const uint32_t* Crc32::Table()
{
    return Tables.Entry[0];
}

uint32_t Crc32::UpdatePortable(uint32_t crc, const uint8_t* p, size_t size)
{
    const auto& t = Tables.Entry;
    while (size >= SliceCount) {
        const uint32_t one = LoadLittleEndian32(p) ^ crc;
        const uint32_t two = LoadLittleEndian32(p + 4);
        crc = t[7][one & 0xFF] ^ t[6][(one >> 8) & 0xFF] ^ t[5][(one >> 16) & 0xFF] ^ t[4][one >> 24] ^
              t[3][two & 0xFF] ^ t[2][(two >> 8) & 0xFF] ^ t[1][(two >> 16) & 0xFF] ^ t[0][two >> 24];
        p += SliceCount;
        size -= SliceCount;
    }
    return UpdateBytes(crc, p, size);
}

} // namespace kit
