#include "kit/core/Crc32.h"
#include "kit/core/Md5.h"
#include "kit/core/Sha1.h"
#include "tests/core/HashTesting.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cwctype>

using hashtesting::FeedInRandomPieces;
using hashtesting::PortableOnly;
using hashtesting::RandomBytes;

namespace {

enum class Kind { Crc32, Md5, Sha1 };
const Kind AllKinds[] = {Kind::Crc32, Kind::Md5, Kind::Sha1};

const char* Name(Kind kind)
{
    return kind == Kind::Crc32 ? "CRC32" : kind == Kind::Md5 ? "MD5" : "SHA-1";
}

size_t DigitCount(Kind kind)
{
    return kind == Kind::Crc32 ? 8 : kind == Kind::Md5 ? 32 : 40;
}

boost::shared_ptr<kit::Hash> Make(Kind kind)
{
    switch (kind) {
    case Kind::Crc32:
        return kit::Crc32::Create();
    case Kind::Md5:
        return kit::Md5::Create();
    case Kind::Sha1:
        return kit::Sha1::Create();
    }
    return {};
}

std::wstring HashOf(Kind kind, const std::string& bytes)
{
    const auto hash = Make(kind);
    hash->Update(bytes.data(), uint32_t(bytes.size()));
    return hash->Final();
}

std::wstring Wide(const char* ascii)
{
    return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii));
}

std::wstring ZlibCrc(const uint8_t* data, size_t size)
{
    const unsigned long value = crc32(0, data, uInt(size));
    std::wstring text;
    for (int shift = 28; shift >= 0; shift -= 4) {
        text += L"0123456789ABCDEF"[(value >> shift) & 0xF];
    }
    return text;
}

// runs body once on the path the CPU offers and once on the portable code
template <class Body>
void OnBothPaths(Body body)
{
    {
        SCOPED_TRACE("path the CPU offers");
        body();
    }
    PortableOnly portable;
    SCOPED_TRACE("portable path");
    body();
}

struct KnownAnswer {
    Kind HashKind;
    std::string Input;
    const char* Expected;
};

// Sources: the design's own vectors (empty, "abc"); the CRC catalogue check value of CRC-32/ISO-HDLC
// ("123456789") and zlib's crc32 for the rest; the test suite of RFC 1321 appendix A.5; FIPS 180-4 examples and
// RFC 3174 section 7.3 (TEST2, TEST4).
const KnownAnswer PublishedVectors[] = {
    {Kind::Crc32, "", "00000000"},
    {Kind::Crc32, "abc", "352441C2"},
    {Kind::Crc32, "123456789", "CBF43926"},
    {Kind::Crc32, "The quick brown fox jumps over the lazy dog", "414FA339"},
    {Kind::Crc32, "62", "0012D20A"}, // leading zeros stay
    {Kind::Md5, "", "D41D8CD98F00B204E9800998ECF8427E"},
    {Kind::Md5, "a", "0CC175B9C0F1B6A831C399E269772661"},
    {Kind::Md5, "abc", "900150983CD24FB0D6963F7D28E17F72"},
    {Kind::Md5, "message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
    {Kind::Md5, "abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
    {Kind::Md5, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "D174AB98D277D9F5A5611C2C9F419D9F"},
    {Kind::Md5, "12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57EDF4A22BE3C955AC49DA2E2107B67A"},
    {Kind::Sha1, "", "DA39A3EE5E6B4B0D3255BFEF95601890AFD80709"},
    {Kind::Sha1, "abc", "A9993E364706816ABA3E25717850C26C9CD0D89D"},
    {Kind::Sha1, "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
     "84983E441C3BD26EBAAE4AA1F95129E5E54670F1"},
};

TEST(Hash, Final_publishedVectors)
{
    OnBothPaths([] {
        for (const auto& v : PublishedVectors) {
            EXPECT_EQ(Wide(v.Expected), HashOf(v.HashKind, v.Input)) << Name(v.HashKind) << " of \"" << v.Input << '"';
        }
        std::string test4;
        for (int i = 0; i < 80; ++i) {
            test4 += "01234567";
        }
        EXPECT_EQ(L"DEA356A2CDDD90C7A7ECEDC5EBB563934F460452", HashOf(Kind::Sha1, test4));
    });
}

TEST(Hash, Final_millionAInUnevenPieces)
{
    // RFC 1321 does not list it; the MD5 value is the widely published one, checked with md5sum
    const std::string million(1000000, 'a');
    const std::pair<Kind, const wchar_t*> expected[] = {
        {Kind::Crc32, L"DC25BFBC"},
        {Kind::Md5, L"7707D6AE4E027C70EEA2A935C2296F21"},
        {Kind::Sha1, L"34AA973CD4C4DAA4F61EEB2BDBAD27316534016F"}, // FIPS 180-4 / RFC 3174 TEST3
    };
    OnBothPaths([&] {
        for (const auto& e : expected) {
            const auto hash = Make(e.first);
            size_t at = 0;
            for (uint32_t piece = 1; at < million.size(); piece = piece * 7 % 1013 + 1) {
                const uint32_t n = uint32_t(std::min<size_t>(piece, million.size() - at));
                hash->Update(million.data() + at, n);
                at += n;
            }
            EXPECT_EQ(e.second, hash->Final()) << Name(e.first);
        }
    });
}

TEST(Hash, Final_paddingEdges)
{
    // n times 'a'; values from coreutils: head -c n /dev/zero | tr '\0' a | md5sum (sha1sum)
    const struct {
        size_t Size;
        const wchar_t* Md5;
        const wchar_t* Sha1;
    } edges[] = {
        {55, L"EF1772B6DFF9A122358552954AD0DF65", L"C1C8BBDC22796E28C0E15163D20899B65621D65A"},
        {56, L"3B0C8AC703F828B04C6C197006D17218", L"C2DB330F6083854C99D4B5BFB6E8F29F201BE699"},
        {63, L"B06521F39153D618550606BE297466D5", L"03F09F5B158A7A8CDAD920BDDC29B81C18A551F5"},
        {64, L"014842D480B571495A4A0363793F7367", L"0098BA824B5C16427BD7A1122A5A442A25EC644D"},
        {65, L"C743A45E0D2E6A95CB859ADAE0248435", L"11655326C708D70319BE2610E8A57D9A5B959D3B"},
        {119, L"8A7BD0732ED6A28CE75F6DABC90E1613", L"EE971065AAA017E0632A8CA6C77BB3BF8B1DFC56"},
        {120, L"5F61C0CCAD4CAC44C75FF505E1F1E537", L"F34C1488385346A55709BA056DDD08280DD4C6D6"},
        {128, L"E510683B3F5FFE4093D021808BC6FF70", L"AD5B3FDBCB526778C2839D2F151EA753995E26A0"},
    };
    OnBothPaths([&] {
        for (const auto& e : edges) {
            const std::string input(e.Size, 'a');
            EXPECT_EQ(e.Md5, HashOf(Kind::Md5, input)) << e.Size << " bytes";
            EXPECT_EQ(e.Sha1, HashOf(Kind::Sha1, input)) << e.Size << " bytes";
        }
    });
}

TEST(Hash, Update_anySplitGivesTheSameValue)
{
    std::mt19937 random(1321);
    const auto data = RandomBytes(random, 3000);
    OnBothPaths([&] {
        for (Kind kind : AllKinds) {
            SCOPED_TRACE(Name(kind));
            const auto whole = Make(kind);
            whole->Update(data.data(), uint32_t(data.size()));
            const std::wstring expected = whole->Final();

            const auto bytes = Make(kind);
            for (uint8_t b : data) {
                bytes->Update(&b, 1);
            }
            EXPECT_EQ(expected, bytes->Final());

            const auto pieces = Make(kind); // the example split of 63 + 1 + 64 + 5 bytes, then the rest
            const uint32_t sizes[] = {63, 1, 64, 5, uint32_t(data.size()) - 133};
            const uint8_t* p = data.data();
            for (uint32_t n : sizes) {
                pieces->Update(p, n);
                p += n;
            }
            EXPECT_EQ(expected, pieces->Final());

            for (int round = 0; round < 20; ++round) {
                const auto hash = Make(kind);
                EXPECT_EQ(expected, FeedInRandomPieces(*hash, data.data(), data.size(), random, 300));
            }
        }
    });
}

TEST(Hash, Update_zeroSizeChangesNothing)
{
    for (Kind kind : AllKinds) {
        const auto hash = Make(kind);
        hash->Update(nullptr, 0);
        hash->Update("ab", 2);
        hash->Update(nullptr, 0);
        hash->Update("c", 1);
        EXPECT_EQ(HashOf(kind, "abc"), hash->Final()) << Name(kind);
    }
}

TEST(Hash, Reset_startsAFreshValue)
{
    for (Kind kind : AllKinds) {
        const auto hash = Make(kind);
        const std::string junk(100, 'x');
        hash->Update(junk.data(), 70);
        hash->Final();
        hash->Update(junk.data(), 3); // bytes left in the buffer must not leak into the next value
        hash->Reset();
        hash->Update("abc", 3);
        EXPECT_EQ(HashOf(kind, "abc"), hash->Final()) << Name(kind);
    }
}

TEST(Hash, Final_fixedLengthUpperCaseHex)
{
    std::mt19937 random(3174);
    for (Kind kind : AllKinds) {
        for (size_t size = 0; size < 200; ++size) {
            const auto data = RandomBytes(random, size);
            const std::wstring text = HashOf(kind, std::string(data.begin(), data.end()));
            ASSERT_EQ(DigitCount(kind), text.size()) << Name(kind);
            for (wchar_t c : text) {
                ASSERT_TRUE(std::iswdigit(c) || (c >= L'A' && c <= L'F')) << Name(kind) << ": " << text.c_str();
            }
        }
    }
}

TEST(Crc32, Final_leavesTheObjectAsItIs)
{
    kit::Crc32 crc;
    crc.Update("ab", 2);
    EXPECT_EQ(HashOf(Kind::Crc32, "ab"), crc.Final());
    EXPECT_EQ(HashOf(Kind::Crc32, "ab"), crc.Final());
    crc.Update("c", 1);
    EXPECT_EQ(L"352441C2", crc.Final());
}

TEST(Crc32, Table_isTheStandardTable)
{
    // entries of the table printed in RFC 1952 and zlib's crc32.h
    const uint32_t* table = kit::Crc32::Table();
    EXPECT_EQ(0x00000000u, table[0]);
    EXPECT_EQ(0x77073096u, table[1]);
    EXPECT_EQ(0xEDB88320u, table[128]);
    EXPECT_EQ(0x2D02EF8Du, table[255]);
}

TEST(Crc32, Update_matchesZlibAtRandomSplits)
{
    std::mt19937 random(802);
    OnBothPaths([&] {
        for (int round = 0; round < 40; ++round) {
            const size_t size = round < 20 ? random() % 300 : random() % (3 << 20);
            const auto data = RandomBytes(random, size + 16);
            const size_t offset = random() % 16; // the hardware path must not care about alignment
            kit::Crc32 crc;
            EXPECT_EQ(ZlibCrc(data.data() + offset, size),
                      FeedInRandomPieces(crc, data.data() + offset, size, random, round % 2 ? 100 : 1 << 20))
                << size << " bytes at offset " << offset;
        }
    });
}

// Both paths on the same machine: the portable block functions are the reference of the hardware ones.
TEST(Hash, FastPath_matchesPortableOnRandomData)
{
    if (!kit::CpuFeatures::HasPclmul() && !kit::CpuFeatures::HasShaNi()) {
        GTEST_SKIP() << "this CPU has neither PCLMULQDQ nor the SHA extensions";
    }
    std::mt19937 random(180);
    for (int round = 0; round < 60; ++round) {
        const size_t size = random() % (round < 30 ? 1000 : 1 << 20);
        const auto data = RandomBytes(random, size);
        for (Kind kind : {Kind::Crc32, Kind::Sha1}) {
            const auto fast = Make(kind);
            const std::wstring fastValue = FeedInRandomPieces(*fast, data.data(), size, random, 5000);
            PortableOnly portable;
            const auto slow = Make(kind);
            EXPECT_EQ(fastValue, FeedInRandomPieces(*slow, data.data(), size, random, 5000))
                << Name(kind) << ", " << size << " bytes";
        }
    }
}

// 4097 MiB and 1000 bytes: the byte count passes 2^32, so the bit length needs the high word.
// Expected values: Python hashlib over the same bytes (block[i] = (131 * i + 7) mod 256, i < 2^20).
TEST(Hash, Final_byteCountCarriesPast4GiB)
{
    std::vector<uint8_t> block(1 << 20);
    for (size_t i = 0; i < block.size(); ++i) {
        block[i] = uint8_t(i * 131 + 7);
    }
    kit::Md5 md5;
    kit::Sha1 sha1;
    for (int i = 0; i < 4097; ++i) {
        md5.Update(block.data(), uint32_t(block.size()));
        sha1.Update(block.data(), uint32_t(block.size()));
    }
    md5.Update(block.data(), 1000);
    sha1.Update(block.data(), 1000);
    EXPECT_EQ(L"0AFF651071C86C01BD3F3A31AE7FDB4D", md5.Final());
    EXPECT_EQ(L"F2C9CC9CE0369F006044A55265FA257514359800", sha1.Final());
}

} // namespace
