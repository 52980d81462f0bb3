#include "kit/core/Md5.h"

namespace kit {

namespace {

inline uint32_t RotateLeft(uint32_t x, int s)
{
    return (x << s) | (x >> (32 - s));
}

inline uint32_t LoadLittleEndian32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Each step adds the message word and constant first and the round function last: only the last term waits
// for b, the result of the step before. The empty asm makes that sum a value of its own; without it clang moves
// the constant behind the round function, one more addition on the dependency chain (15% slower).
inline void Settle(uint32_t& value)
{
    __asm__("" : "+r"(value));
}

template <int S>
inline void Step1(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t x, uint32_t t)
{
    a += x + t;
    Settle(a);
    a += d ^ (b & (c ^ d));
    a = RotateLeft(a, S) + b;
}

// G(b, c, d) = (b AND d) OR (c AND NOT d); the two terms never share a bit, so they may be added separately
template <int S>
inline void Step2(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t x, uint32_t t)
{
    a += x + t;
    Settle(a);
    a += c & ~d;
    a += b & d;
    a = RotateLeft(a, S) + b;
}

template <int S>
inline void Step3(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t x, uint32_t t)
{
    a += x + t;
    Settle(a);
    a += b ^ (c ^ d);
    a = RotateLeft(a, S) + b;
}

template <int S>
inline void Step4(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t x, uint32_t t)
{
    a += x + t;
    Settle(a);
    a += c ^ (b | ~d);
    a = RotateLeft(a, S) + b;
}

void Transform(uint32_t* state, const uint8_t* p, size_t count)
{
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (; count != 0; --count, p += 64) {
        uint32_t x[16];
        for (int i = 0; i < 16; ++i) {
            x[i] = LoadLittleEndian32(p + i * 4);
        }
        const uint32_t a0 = a, b0 = b, c0 = c, d0 = d;

        Step1<7>(a, b, c, d, x[0], 0xD76AA478);
        Step1<12>(d, a, b, c, x[1], 0xE8C7B756);
        Step1<17>(c, d, a, b, x[2], 0x242070DB);
        Step1<22>(b, c, d, a, x[3], 0xC1BDCEEE);
        Step1<7>(a, b, c, d, x[4], 0xF57C0FAF);
        Step1<12>(d, a, b, c, x[5], 0x4787C62A);
        Step1<17>(c, d, a, b, x[6], 0xA8304613);
        Step1<22>(b, c, d, a, x[7], 0xFD469501);
        Step1<7>(a, b, c, d, x[8], 0x698098D8);
        Step1<12>(d, a, b, c, x[9], 0x8B44F7AF);
        Step1<17>(c, d, a, b, x[10], 0xFFFF5BB1);
        Step1<22>(b, c, d, a, x[11], 0x895CD7BE);
        Step1<7>(a, b, c, d, x[12], 0x6B901122);
        Step1<12>(d, a, b, c, x[13], 0xFD987193);
        Step1<17>(c, d, a, b, x[14], 0xA679438E);
        Step1<22>(b, c, d, a, x[15], 0x49B40821);

        Step2<5>(a, b, c, d, x[1], 0xF61E2562);
        Step2<9>(d, a, b, c, x[6], 0xC040B340);
        Step2<14>(c, d, a, b, x[11], 0x265E5A51);
        Step2<20>(b, c, d, a, x[0], 0xE9B6C7AA);
        Step2<5>(a, b, c, d, x[5], 0xD62F105D);
        Step2<9>(d, a, b, c, x[10], 0x02441453);
        Step2<14>(c, d, a, b, x[15], 0xD8A1E681);
        Step2<20>(b, c, d, a, x[4], 0xE7D3FBC8);
        Step2<5>(a, b, c, d, x[9], 0x21E1CDE6);
        Step2<9>(d, a, b, c, x[14], 0xC33707D6);
        Step2<14>(c, d, a, b, x[3], 0xF4D50D87);
        Step2<20>(b, c, d, a, x[8], 0x455A14ED);
        Step2<5>(a, b, c, d, x[13], 0xA9E3E905);
        Step2<9>(d, a, b, c, x[2], 0xFCEFA3F8);
        Step2<14>(c, d, a, b, x[7], 0x676F02D9);
        Step2<20>(b, c, d, a, x[12], 0x8D2A4C8A);

        Step3<4>(a, b, c, d, x[5], 0xFFFA3942);
        Step3<11>(d, a, b, c, x[8], 0x8771F681);
        Step3<16>(c, d, a, b, x[11], 0x6D9D6122);
        Step3<23>(b, c, d, a, x[14], 0xFDE5380C);
        Step3<4>(a, b, c, d, x[1], 0xA4BEEA44);
        Step3<11>(d, a, b, c, x[4], 0x4BDECFA9);
        Step3<16>(c, d, a, b, x[7], 0xF6BB4B60);
        Step3<23>(b, c, d, a, x[10], 0xBEBFBC70);
        Step3<4>(a, b, c, d, x[13], 0x289B7EC6);
        Step3<11>(d, a, b, c, x[0], 0xEAA127FA);
        Step3<16>(c, d, a, b, x[3], 0xD4EF3085);
        Step3<23>(b, c, d, a, x[6], 0x04881D05);
        Step3<4>(a, b, c, d, x[9], 0xD9D4D039);
        Step3<11>(d, a, b, c, x[12], 0xE6DB99E5);
        Step3<16>(c, d, a, b, x[15], 0x1FA27CF8);
        Step3<23>(b, c, d, a, x[2], 0xC4AC5665);

        Step4<6>(a, b, c, d, x[0], 0xF4292244);
        Step4<10>(d, a, b, c, x[7], 0x432AFF97);
        Step4<15>(c, d, a, b, x[14], 0xAB9423A7);
        Step4<21>(b, c, d, a, x[5], 0xFC93A039);
        Step4<6>(a, b, c, d, x[12], 0x655B59C3);
        Step4<10>(d, a, b, c, x[3], 0x8F0CCC92);
        Step4<15>(c, d, a, b, x[10], 0xFFEFF47D);
        Step4<21>(b, c, d, a, x[1], 0x85845DD1);
        Step4<6>(a, b, c, d, x[8], 0x6FA87E4F);
        Step4<10>(d, a, b, c, x[15], 0xFE2CE6E0);
        Step4<15>(c, d, a, b, x[6], 0xA3014314);
        Step4<21>(b, c, d, a, x[13], 0x4E0811A1);
        Step4<6>(a, b, c, d, x[4], 0xF7537E82);
        Step4<10>(d, a, b, c, x[11], 0xBD3AF235);
        Step4<15>(c, d, a, b, x[2], 0x2AD7D2BB);
        Step4<21>(b, c, d, a, x[9], 0xEB86D391);

        a += a0;
        b += b0;
        c += c0;
        d += d0;
    }
    state[0] = a;
    state[1] = b;
    state[2] = c;
    state[3] = d;
}

} // namespace

boost::shared_ptr<Md5> Md5::Create()
{
    return boost::shared_ptr<Md5>(new Md5());
}

Md5::Md5()
{
    Reset();
}

void Md5::Reset()
{
    ByteCountLow = 0;
    ByteCountHigh = 0;
    State[0] = 0x67452301;
    State[1] = 0xEFCDAB89;
    State[2] = 0x98BADCFE;
    State[3] = 0x10325476;
}

void Md5::Update(const void* data, uint32_t size)
{
    FeedBlocks(BlockContext{ByteCountLow, ByteCountHigh, State, Buffer}, Transform, data, size);
}

std::wstring Md5::Final()
{
    const uint64_t bits = ((uint64_t(ByteCountHigh) << 32) | ByteCountLow) << 3;
    const uint32_t used = ByteCountLow & (BlockSize - 1);
    Update(Padding, used < 56 ? 56 - used : 120 - used);
    uint8_t length[8];
    for (int i = 0; i < 8; ++i) {
        length[i] = uint8_t(bits >> (8 * i));
    }
    Update(length, sizeof length);

    uint8_t digest[16];
    for (int i = 0; i < 16; ++i) {
        digest[i] = uint8_t(State[i / 4] >> (8 * (i % 4)));
    }
    return HexText(digest, sizeof digest);
}

} // namespace kit
