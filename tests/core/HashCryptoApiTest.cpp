// kit::Md5 and kit::Sha1 against an independent implementation: the Windows CryptoAPI (advapi32).
#include "kit/core/Md5.h"
#include "kit/core/Sha1.h"
#include "tests/core/HashTesting.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <wincrypt.h>

using hashtesting::FeedInRandomPieces;
using hashtesting::PortableOnly;
using hashtesting::RandomBytes;

namespace {

class CryptoProvider {
public:
    CryptoProvider()
    {
        if (!CryptAcquireContextW(&Handle, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT)) {
            Handle = 0;
        }
    }
    ~CryptoProvider()
    {
        if (Handle) {
            CryptReleaseContext(Handle, 0);
        }
    }
    CryptoProvider(const CryptoProvider&) = delete;
    CryptoProvider& operator=(const CryptoProvider&) = delete;

    // the upper-case hex of the digest; empty on failure
    std::wstring Digest(ALG_ID algorithm, const uint8_t* data, size_t size) const
    {
        HCRYPTHASH hash = 0;
        if (!Handle || !CryptCreateHash(Handle, algorithm, 0, 0, &hash)) {
            return std::wstring();
        }
        BYTE digest[20];
        DWORD length = sizeof digest;
        const bool ok = CryptHashData(hash, data, DWORD(size), 0) &&
                        CryptGetHashParam(hash, HP_HASHVAL, digest, &length, 0);
        CryptDestroyHash(hash);
        if (!ok) {
            return std::wstring();
        }
        std::wstring text;
        for (DWORD i = 0; i < length; ++i) {
            text += L"0123456789ABCDEF"[digest[i] >> 4];
            text += L"0123456789ABCDEF"[digest[i] & 0xF];
        }
        return text;
    }

    HCRYPTPROV Handle = 0;
};

void CompareAtRandomSplits(const CryptoProvider& provider, std::mt19937& random)
{
    for (int round = 0; round < 120; ++round) {
        // every size around the block and padding edges first, then larger ones up to 2 MiB
        const size_t size = round < 100 ? size_t(round) * 3 : random() % (2 << 20);
        const auto data = RandomBytes(random, size);
        const size_t maxPiece = round % 3 == 0 ? 70 : round % 3 == 1 ? 1000 : 1 << 20;
        kit::Md5 md5;
        kit::Sha1 sha1;
        EXPECT_EQ(provider.Digest(CALG_MD5, data.data(), size),
                  FeedInRandomPieces(md5, data.data(), size, random, maxPiece))
            << "MD5 of " << size << " bytes";
        EXPECT_EQ(provider.Digest(CALG_SHA1, data.data(), size),
                  FeedInRandomPieces(sha1, data.data(), size, random, maxPiece))
            << "SHA-1 of " << size << " bytes";
    }
}

TEST(HashCryptoApi, Final_matchesCryptoApiAtRandomSplits)
{
    const CryptoProvider provider;
    ASSERT_NE(0u, provider.Handle) << "CryptAcquireContextW failed: " << GetLastError();
    std::mt19937 random(1996);
    CompareAtRandomSplits(provider, random);
    PortableOnly portable;
    SCOPED_TRACE("portable path");
    CompareAtRandomSplits(provider, random);
}

} // namespace
