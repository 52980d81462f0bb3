#include "kit/core/Sha1.h"

#include "kit/core/CpuFeatures.h"
#include "kit/core/Sha1ShaNi.h"

namespace kit {

namespace {

constexpr uint32_t K1 = 0x5A827999;
constexpr uint32_t K2 = 0x6ED9EBA1;
constexpr uint32_t K3 = 0x8F1BBCDC;
constexpr uint32_t K4 = 0xCA62C1D6;

inline uint32_t RotateLeft(uint32_t x, int s)
{
    return (x << s) | (x >> (32 - s));
}

inline uint32_t LoadBigEndian32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

// The schedule lives in 16 words that are overwritten as the rounds go: compilers turn the usual 80-word
// expansion loop into vector code whose stores stall the loads right after them.
template <int I>
inline uint32_t Word(uint32_t* w, const uint8_t* p)
{
    if (I < 16) {
        w[I & 15] = LoadBigEndian32(p + (I & 15) * 4);
    } else {
        w[I & 15] = RotateLeft(w[(I + 13) & 15] ^ w[(I + 8) & 15] ^ w[(I + 2) & 15] ^ w[I & 15], 1);
    }
    return w[I & 15];
}

template <int I>
inline void Round1(uint32_t a, uint32_t& b, uint32_t c, uint32_t d, uint32_t& e, uint32_t* w, const uint8_t* p)
{
    e += Word<I>(w, p) + K1;
    e += d ^ (b & (c ^ d));
    e += RotateLeft(a, 5);
    b = RotateLeft(b, 30);
}

template <int I>
inline void Round2(uint32_t a, uint32_t& b, uint32_t c, uint32_t d, uint32_t& e, uint32_t* w, const uint8_t* p)
{
    e += Word<I>(w, p) + K2;
    e += b ^ c ^ d;
    e += RotateLeft(a, 5);
    b = RotateLeft(b, 30);
}

// Maj(b, c, d) = (c AND d) + (b AND (c XOR d)): the two terms never share a bit
template <int I>
inline void Round3(uint32_t a, uint32_t& b, uint32_t c, uint32_t d, uint32_t& e, uint32_t* w, const uint8_t* p)
{
    e += Word<I>(w, p) + K3;
    e += c & d;
    e += b & (c ^ d);
    e += RotateLeft(a, 5);
    b = RotateLeft(b, 30);
}

template <int I>
inline void Round4(uint32_t a, uint32_t& b, uint32_t c, uint32_t d, uint32_t& e, uint32_t* w, const uint8_t* p)
{
    e += Word<I>(w, p) + K4;
    e += b ^ c ^ d;
    e += RotateLeft(a, 5);
    b = RotateLeft(b, 30);
}

} // namespace

void Sha1::TransformPortable(uint32_t* state, const uint8_t* p, size_t count)
{
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];
    for (; count != 0; --count, p += 64) {
        uint32_t w[16];
        const uint32_t a0 = a, b0 = b, c0 = c, d0 = d, e0 = e;

        Round1<0>(a, b, c, d, e, w, p);
        Round1<1>(e, a, b, c, d, w, p);
        Round1<2>(d, e, a, b, c, w, p);
        Round1<3>(c, d, e, a, b, w, p);
        Round1<4>(b, c, d, e, a, w, p);
        Round1<5>(a, b, c, d, e, w, p);
        Round1<6>(e, a, b, c, d, w, p);
        Round1<7>(d, e, a, b, c, w, p);
        Round1<8>(c, d, e, a, b, w, p);
        Round1<9>(b, c, d, e, a, w, p);
        Round1<10>(a, b, c, d, e, w, p);
        Round1<11>(e, a, b, c, d, w, p);
        Round1<12>(d, e, a, b, c, w, p);
        Round1<13>(c, d, e, a, b, w, p);
        Round1<14>(b, c, d, e, a, w, p);
        Round1<15>(a, b, c, d, e, w, p);
        Round1<16>(e, a, b, c, d, w, p);
        Round1<17>(d, e, a, b, c, w, p);
        Round1<18>(c, d, e, a, b, w, p);
        Round1<19>(b, c, d, e, a, w, p);

        Round2<20>(a, b, c, d, e, w, p);
        Round2<21>(e, a, b, c, d, w, p);
        Round2<22>(d, e, a, b, c, w, p);
        Round2<23>(c, d, e, a, b, w, p);
        Round2<24>(b, c, d, e, a, w, p);
        Round2<25>(a, b, c, d, e, w, p);
        Round2<26>(e, a, b, c, d, w, p);
        Round2<27>(d, e, a, b, c, w, p);
        Round2<28>(c, d, e, a, b, w, p);
        Round2<29>(b, c, d, e, a, w, p);
        Round2<30>(a, b, c, d, e, w, p);
        Round2<31>(e, a, b, c, d, w, p);
        Round2<32>(d, e, a, b, c, w, p);
        Round2<33>(c, d, e, a, b, w, p);
        Round2<34>(b, c, d, e, a, w, p);
        Round2<35>(a, b, c, d, e, w, p);
        Round2<36>(e, a, b, c, d, w, p);
        Round2<37>(d, e, a, b, c, w, p);
        Round2<38>(c, d, e, a, b, w, p);
        Round2<39>(b, c, d, e, a, w, p);

        Round3<40>(a, b, c, d, e, w, p);
        Round3<41>(e, a, b, c, d, w, p);
        Round3<42>(d, e, a, b, c, w, p);
        Round3<43>(c, d, e, a, b, w, p);
        Round3<44>(b, c, d, e, a, w, p);
        Round3<45>(a, b, c, d, e, w, p);
        Round3<46>(e, a, b, c, d, w, p);
        Round3<47>(d, e, a, b, c, w, p);
        Round3<48>(c, d, e, a, b, w, p);
        Round3<49>(b, c, d, e, a, w, p);
        Round3<50>(a, b, c, d, e, w, p);
        Round3<51>(e, a, b, c, d, w, p);
        Round3<52>(d, e, a, b, c, w, p);
        Round3<53>(c, d, e, a, b, w, p);
        Round3<54>(b, c, d, e, a, w, p);
        Round3<55>(a, b, c, d, e, w, p);
        Round3<56>(e, a, b, c, d, w, p);
        Round3<57>(d, e, a, b, c, w, p);
        Round3<58>(c, d, e, a, b, w, p);
        Round3<59>(b, c, d, e, a, w, p);

        Round4<60>(a, b, c, d, e, w, p);
        Round4<61>(e, a, b, c, d, w, p);
        Round4<62>(d, e, a, b, c, w, p);
        Round4<63>(c, d, e, a, b, w, p);
        Round4<64>(b, c, d, e, a, w, p);
        Round4<65>(a, b, c, d, e, w, p);
        Round4<66>(e, a, b, c, d, w, p);
        Round4<67>(d, e, a, b, c, w, p);
        Round4<68>(c, d, e, a, b, w, p);
        Round4<69>(b, c, d, e, a, w, p);
        Round4<70>(a, b, c, d, e, w, p);
        Round4<71>(e, a, b, c, d, w, p);
        Round4<72>(d, e, a, b, c, w, p);
        Round4<73>(c, d, e, a, b, w, p);
        Round4<74>(b, c, d, e, a, w, p);
        Round4<75>(a, b, c, d, e, w, p);
        Round4<76>(e, a, b, c, d, w, p);
        Round4<77>(d, e, a, b, c, w, p);
        Round4<78>(c, d, e, a, b, w, p);
        Round4<79>(b, c, d, e, a, w, p);

        a += a0;
        b += b0;
        c += c0;
        d += d0;
        e += e0;
    }
    state[0] = a;
    state[1] = b;
    state[2] = c;
    state[3] = d;
    state[4] = e;
}

boost::shared_ptr<Sha1> Sha1::Create()
{
    return boost::shared_ptr<Sha1>(new Sha1());
}

Sha1::Sha1()
{
    Reset();
}

void Sha1::Reset()
{
    ByteCountLow = 0;
    ByteCountHigh = 0;
    State[0] = 0x67452301;
    State[1] = 0xEFCDAB89;
    State[2] = 0x98BADCFE;
    State[3] = 0x10325476;
    State[4] = 0xC3D2E1F0;
}

void Sha1::Update(const void* data, uint32_t size)
{
    const BlockTransform transform = CpuFeatures::HasShaNi() ? Sha1ShaNi::Transform : TransformPortable;
    FeedBlocks(BlockContext{ByteCountLow, ByteCountHigh, State, Buffer}, transform, data, size);
}

std::wstring Sha1::Final()
{
    const uint64_t bits = ((uint64_t(ByteCountHigh) << 32) | ByteCountLow) << 3;
    const uint32_t used = ByteCountLow & (BlockSize - 1);
    Update(Padding, used < 56 ? 56 - used : 120 - used);
    uint8_t length[8];
    for (int i = 0; i < 8; ++i) {
        length[i] = uint8_t(bits >> (56 - 8 * i));
    }
    Update(length, sizeof length);

    uint8_t digest[20];
    for (int i = 0; i < 20; ++i) {
        digest[i] = uint8_t(State[i / 4] >> (24 - 8 * (i % 4)));
    }
    return HexText(digest, sizeof digest);
}

} // namespace kit
