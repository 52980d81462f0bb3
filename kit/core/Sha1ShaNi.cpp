#include "kit/core/Sha1ShaNi.h"

#if defined(__i386__) || defined(__x86_64__)

#include "kit/core/CpuFeatures.h"

#include <immintrin.h>

// Layout of the Intel SHA extensions: ABCD sits in one register with A in the top lane, E rides in the top lane
// of a second register that also carries the next four message words. Each group is four rounds; sha1msg1,
// the XOR and sha1msg2 build the words of group g + 4 from groups g .. g + 3, so four registers roll through
// the schedule.
#define KIT_SHA1_LOAD(msg, offset)                                                                     \
    msg = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + (offset))), byteSwap)

// one group g of the rounds 16-79: ea carries E into this group, eb receives ABCD for the next one;
// m0 holds the words of this group, m1 is finished here, m3 is started here, m2 takes this group's XOR
#define KIT_SHA1_GROUP(ea, eb, m0, m1, m2, m3, function)                                                  \
    ea = _mm_sha1nexte_epu32(ea, m0);                                                                    \
    eb = abcd;                                                                                           \
    m1 = _mm_sha1msg2_epu32(m1, m0);                                                                     \
    abcd = _mm_sha1rnds4_epu32(abcd, ea, function);                                                      \
    m3 = _mm_sha1msg1_epu32(m3, m0);                                                                     \
    m2 = _mm_xor_si128(m2, m0)

namespace kit {

KIT_REALIGN_STACK __attribute__((target("sha,sse4.1")))
void Sha1ShaNi::Transform(uint32_t* state, const uint8_t* p, size_t count)
{
    // reverses all 16 bytes: the words turn big-endian and their order becomes the one sha1rnds4 wants
    const __m128i byteSwap = _mm_set_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    __m128i abcd = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0x1B);
    __m128i e0 = _mm_set_epi32(int(state[4]), 0, 0, 0);

    for (; count != 0; --count, p += 64) {
        const __m128i abcdSaved = abcd;
        const __m128i eSaved = e0;
        __m128i e1, msg0, msg1, msg2, msg3;

        // rounds 0-3
        KIT_SHA1_LOAD(msg0, 0);
        e0 = _mm_add_epi32(e0, msg0);
        e1 = abcd;
        abcd = _mm_sha1rnds4_epu32(abcd, e0, 0);

        // rounds 4-7
        KIT_SHA1_LOAD(msg1, 16);
        e1 = _mm_sha1nexte_epu32(e1, msg1);
        e0 = abcd;
        abcd = _mm_sha1rnds4_epu32(abcd, e1, 0);
        msg0 = _mm_sha1msg1_epu32(msg0, msg1);

        // rounds 8-11
        KIT_SHA1_LOAD(msg2, 32);
        e0 = _mm_sha1nexte_epu32(e0, msg2);
        e1 = abcd;
        abcd = _mm_sha1rnds4_epu32(abcd, e0, 0);
        msg1 = _mm_sha1msg1_epu32(msg1, msg2);
        msg0 = _mm_xor_si128(msg0, msg2);

        // rounds 12-15
        KIT_SHA1_LOAD(msg3, 48);
        e1 = _mm_sha1nexte_epu32(e1, msg3);
        e0 = abcd;
        msg0 = _mm_sha1msg2_epu32(msg0, msg3);
        abcd = _mm_sha1rnds4_epu32(abcd, e1, 0);
        msg2 = _mm_sha1msg1_epu32(msg2, msg3);
        msg1 = _mm_xor_si128(msg1, msg3);


        KIT_SHA1_GROUP(e0, e1, msg0, msg1, msg2, msg3, 0); // rounds 16-19
        KIT_SHA1_GROUP(e1, e0, msg1, msg2, msg3, msg0, 1); // 20-23
        KIT_SHA1_GROUP(e0, e1, msg2, msg3, msg0, msg1, 1); // 24-27
        KIT_SHA1_GROUP(e1, e0, msg3, msg0, msg1, msg2, 1); // 28-31
        KIT_SHA1_GROUP(e0, e1, msg0, msg1, msg2, msg3, 1); // 32-35
        KIT_SHA1_GROUP(e1, e0, msg1, msg2, msg3, msg0, 1); // 36-39
        KIT_SHA1_GROUP(e0, e1, msg2, msg3, msg0, msg1, 2); // 40-43
        KIT_SHA1_GROUP(e1, e0, msg3, msg0, msg1, msg2, 2); // 44-47
        KIT_SHA1_GROUP(e0, e1, msg0, msg1, msg2, msg3, 2); // 48-51
        KIT_SHA1_GROUP(e1, e0, msg1, msg2, msg3, msg0, 2); // 52-55
        KIT_SHA1_GROUP(e0, e1, msg2, msg3, msg0, msg1, 2); // 56-59
        KIT_SHA1_GROUP(e1, e0, msg3, msg0, msg1, msg2, 3); // 60-63
        KIT_SHA1_GROUP(e0, e1, msg0, msg1, msg2, msg3, 3); // 64-67

        // rounds 68-71: the last word group (76-79) is finished here; no new group starts
        e1 = _mm_sha1nexte_epu32(e1, msg1);
        e0 = abcd;
        msg2 = _mm_sha1msg2_epu32(msg2, msg1);
        abcd = _mm_sha1rnds4_epu32(abcd, e1, 3);
        msg3 = _mm_xor_si128(msg3, msg1);

        // rounds 72-75
        e0 = _mm_sha1nexte_epu32(e0, msg2);
        e1 = abcd;
        msg3 = _mm_sha1msg2_epu32(msg3, msg2);
        abcd = _mm_sha1rnds4_epu32(abcd, e0, 3);

        // rounds 76-79
        e1 = _mm_sha1nexte_epu32(e1, msg3);
        e0 = abcd;
        abcd = _mm_sha1rnds4_epu32(abcd, e1, 3);

        // e0 holds A after round 75, which is E after round 79 before its rotation by 30: sha1nexte rotates it
        // and adds the saved E
        e0 = _mm_sha1nexte_epu32(e0, eSaved);
        abcd = _mm_add_epi32(abcd, abcdSaved);
    }

    _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_shuffle_epi32(abcd, 0x1B));
    state[4] = uint32_t(_mm_extract_epi32(e0, 3));
}

} // namespace kit

#undef KIT_SHA1_LOAD
#undef KIT_SHA1_GROUP

#else

namespace kit {

// never called: CpuFeatures::HasShaNi() is false off x86
void Sha1ShaNi::Transform(uint32_t*, const uint8_t*, size_t)
{
}

} // namespace kit

#endif
