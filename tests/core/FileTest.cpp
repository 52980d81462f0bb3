#include "kit/core/File.h"

#include "tests/core/TempFolder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

using kit::File;
typedef std::vector<uint8_t> Bytes;

namespace {

Bytes Pattern(size_t n)
{
    Bytes bytes(n);
    uint32_t x = 2463534242u;
    for (uint8_t& b : bytes) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b = static_cast<uint8_t>(x);
    }
    return bytes;
}

Bytes CompressedBlock(const Bytes& payload)
{
    Bytes block;
    File out;
    out.AttachBuffer(block);
    EXPECT_TRUE(out.WriteCompressed(payload.data(), payload.size()));
    return block;
}

} // namespace

TEST(File, AttachBuffer_writeGrowsVector)
{
    Bytes buffer;
    File f;
    f.AttachBuffer(buffer);
    EXPECT_EQ(0u, f.GetSize());
    EXPECT_TRUE(f.WriteUInt32(0x12345678));
    EXPECT_EQ(4u, f.GetSize());
    EXPECT_EQ(4u, f.GetPosition());
    EXPECT_EQ((Bytes{0x78, 0x56, 0x34, 0x12}), buffer);

    // overwriting inside the vector does not grow it; writing past its end does
    EXPECT_TRUE(f.StepBack(2));
    EXPECT_TRUE(f.WriteUInt32(0xAABBCCDD));
    EXPECT_EQ((Bytes{0x78, 0x56, 0xDD, 0xCC, 0xBB, 0xAA}), buffer);
    EXPECT_EQ(6u, f.GetSize());

    EXPECT_TRUE(f.Rewind());
    int32_t value = 0;
    EXPECT_TRUE(f.ReadInt32(value));
    EXPECT_EQ(static_cast<int32_t>(0xCCDD5678), value);
}

TEST(File, Read_shortAtEndAndNothingWhenClosed)
{
    Bytes buffer = Pattern(10);
    File f;
    f.AttachBuffer(buffer);
    uint8_t out[16] = {};
    EXPECT_EQ(10u, f.Read(out, sizeof out));
    EXPECT_EQ(0, std::memcmp(out, buffer.data(), 10));
    EXPECT_EQ(0u, f.Read(out, sizeof out));

    // a short integer read leaves the caller's value alone
    f.StepBack(3);
    uint32_t value = 77;
    EXPECT_FALSE(f.ReadUInt32(value));
    EXPECT_EQ(77u, value);

    // stepping back is bounded by the start
    EXPECT_TRUE(f.StepBack(100));
    EXPECT_EQ(0u, f.GetPosition());

    f.Close();
    EXPECT_FALSE(f.IsOpen());
    EXPECT_EQ(0u, f.Read(out, sizeof out));
    EXPECT_EQ(0u, f.Write(out, sizeof out));
    EXPECT_EQ(10u, buffer.size());
}

TEST(File, ReadString_untilZeroOrEnd)
{
    Bytes buffer;
    File f;
    f.AttachBuffer(buffer);
    EXPECT_TRUE(f.WriteString(L"\u65e5\u672c"));
    EXPECT_TRUE(f.WriteString(L""));
    EXPECT_EQ((Bytes{0xE5, 0x65, 0x2C, 0x67, 0, 0, 0, 0}), buffer);
    // a string cut off by the end, with an odd last byte
    f.Write("ab\0c", 4);
    f.Write("d", 1);

    f.Rewind();
    std::wstring text;
    EXPECT_EQ(4u, f.ReadString(text));
    EXPECT_EQ(L"\u65e5\u672c", text);
    EXPECT_EQ(0u, f.ReadString(text));
    EXPECT_EQ(L"", text);
    EXPECT_EQ(4u, f.ReadString(text));
    EXPECT_EQ(L"\u6261\u6300", text);
    EXPECT_EQ(0u, f.ReadString(text));
    EXPECT_TRUE(text.empty());
}

TEST(File, ReadBlock_countIsNotTrusted)
{
    Bytes buffer;
    File f;
    f.AttachBuffer(buffer);
    EXPECT_TRUE(f.WriteBlock("xyz", 3));
    EXPECT_TRUE(f.WriteBlock(nullptr, 0));
    EXPECT_TRUE(f.WriteUInt32(0xFFFFFFFF));
    f.Write("12", 2);

    f.Rewind();
    Bytes block;
    EXPECT_TRUE(f.ReadBlock(block));
    EXPECT_EQ((Bytes{'x', 'y', 'z'}), block);
    EXPECT_TRUE(f.ReadBlock(block));
    EXPECT_TRUE(block.empty());
    // a count of 4 GiB with two bytes left yields those two bytes and no huge allocation
    EXPECT_FALSE(f.ReadBlock(block));
    EXPECT_EQ((Bytes{'1', '2'}), block);
    EXPECT_FALSE(f.ReadBlock(block));
    EXPECT_TRUE(block.empty());
}

TEST(File, WriteCompressed_emptyPayloadIsFourZeroBytes)
{
    Bytes block = CompressedBlock(Bytes());
    EXPECT_EQ((Bytes{0, 0, 0, 0}), block);

    // reading it back gives an empty vector and reads nothing beyond the block
    block.push_back(0x55);
    File f;
    f.AttachBuffer(block);
    Bytes out = Pattern(3);
    EXPECT_TRUE(f.ReadCompressedBlock(out));
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(4u, f.GetPosition());
}

TEST(File, WriteCompressed_roundTripsAtAnySize)
{
    // tiny and incompressible inputs grow under zlib; the output area must allow for that
    for (size_t size : {1u, 5u, 12u, 13u, 100u, 65536u, 1u << 20}) {
        Bytes payload = Pattern(size);
        Bytes block = CompressedBlock(payload);
        ASSERT_GE(block.size(), 10u);
        uint32_t c = block[4] | block[5] << 8 | block[6] << 16 | static_cast<uint32_t>(block[7]) << 24;
        EXPECT_EQ(block.size(), 8 + c) << size;
        // zlib header of the default level
        EXPECT_EQ(0x78, block[8]);
        EXPECT_EQ(0x9C, block[9]);

        File f;
        f.AttachBuffer(block);
        Bytes out;
        EXPECT_TRUE(f.ReadCompressedBlock(out)) << size;
        EXPECT_EQ(payload, out) << size;
        EXPECT_EQ(0u, f.GetRemaining());
    }
}

TEST(File, ReadCompressedBlock_mostCompressibleInputAtTheCap)
{
    // zeros compress best (about 1028 to 1); the largest allowed block of them still reads back
    Bytes zeros(File::MaxCompressedLength, 0);
    Bytes block = CompressedBlock(zeros);
    File f;
    f.AttachBuffer(block);
    Bytes out;
    EXPECT_TRUE(f.ReadCompressedBlock(out));
    EXPECT_EQ(zeros, out);

    // a few bytes of data cannot inflate to megabytes: refused before anything is allocated
    Bytes tiny = CompressedBlock(Bytes(100, 0));
    tiny[0] = 0;
    tiny[1] = 0;
    tiny[2] = 0x10;
    File g;
    g.AttachBuffer(tiny);
    EXPECT_FALSE(g.ReadCompressedBlock(out));
    EXPECT_EQ(tiny.size(), g.GetPosition());
}

TEST(File, ReadCompressed_capacityMismatchConsumesBlock)
{
    Bytes payload = Pattern(300);
    Bytes block = CompressedBlock(payload);
    File out;
    out.AttachBuffer(block);
    out.Skip(block.size());
    out.WriteUInt32(42);

    for (size_t capacity : {299u, 301u}) {
        File f;
        f.AttachBuffer(block);
        Bytes buffer(capacity, 0xEE);
        EXPECT_EQ(0u, f.ReadCompressed(buffer.data(), capacity));
        EXPECT_EQ(Bytes(capacity, 0xEE), buffer);
        uint32_t next = 0;
        EXPECT_TRUE(f.ReadUInt32(next));
        EXPECT_EQ(42u, next);
    }

    File f;
    f.AttachBuffer(block);
    Bytes buffer(300);
    EXPECT_EQ(300u, f.ReadCompressed(buffer.data(), 300));
    EXPECT_EQ(payload, buffer);
}

TEST(File, ReadCompressedBlock_rejectsBlocksThatDoNotInflateExactly)
{
    Bytes payload = Pattern(1000);
    Bytes good = CompressedBlock(payload);
    const Bytes untouched = {1, 2, 3};
    auto rejects = [&](Bytes block) {
        File f;
        f.AttachBuffer(block);
        Bytes out = untouched;
        bool read = f.ReadCompressedBlock(out);
        return !read && out == untouched;
    };
    auto withUInt32 = [&](size_t offset, uint32_t value) {
        Bytes block = good;
        for (int i = 0; i < 4; ++i) {
            block[offset + i] = static_cast<uint8_t>(value >> (8 * i));
        }
        return block;
    };

    EXPECT_TRUE(rejects(withUInt32(0, 999)));            // stored length too small
    EXPECT_TRUE(rejects(withUInt32(0, 1001)));           // stored length too large
    EXPECT_TRUE(rejects(withUInt32(0, 0xFFFFFFFF)));     // beyond the cap
    EXPECT_TRUE(rejects(withUInt32(0, File::MaxCompressedLength + 1)));
    EXPECT_TRUE(rejects(withUInt32(4, 0xFFFFFFFF)));     // compressed length beyond the data
    EXPECT_TRUE(rejects(Bytes(good.begin(), good.end() - 1)));
    EXPECT_TRUE(rejects(Bytes(good.begin(), good.begin() + 6)));
    Bytes flipped = good;
    flipped[good.size() / 2] ^= 0x10;
    EXPECT_TRUE(rejects(flipped));
    Bytes trailer = good;
    trailer.back() ^= 1; // Adler-32
    EXPECT_TRUE(rejects(trailer));
}

TEST(File, Disk_writeThenReadBack)
{
    TempFolder folder;
    std::wstring path = folder / L"\u30c7\u30fc\u30bf.bin";
    Bytes payload = Pattern((1 << 20) + 1);
    {
        File out;
        ASSERT_TRUE(out.OpenWrite(path));
        EXPECT_EQ(payload.size(), out.Write(payload.data(), payload.size()));
        EXPECT_EQ(payload.size(), out.GetSize());
        EXPECT_TRUE(out.Flush());
    }
    File in;
    ASSERT_TRUE(in.OpenRead(path));
    EXPECT_EQ(payload.size(), in.GetSize());

    // blocks at the 1 MiB edge: a full block, then the one byte left, then nothing
    Bytes block(1 << 20);
    EXPECT_EQ(block.size(), in.Read(block.data(), block.size()));
    EXPECT_TRUE(std::equal(block.begin(), block.end(), payload.begin()));
    EXPECT_EQ(1u, in.Read(block.data(), block.size()));
    EXPECT_EQ(payload.back(), block[0]);
    EXPECT_EQ(0u, in.Read(block.data(), block.size()));

    EXPECT_TRUE(in.StepBack(4));
    uint32_t tail = 0;
    EXPECT_TRUE(in.ReadUInt32(tail));
    EXPECT_EQ(payload[payload.size() - 4], tail & 0xFF);
    EXPECT_TRUE(in.Rewind());
    EXPECT_EQ(2u, in.Read(block.data(), 2));
    EXPECT_EQ(payload[1], block[1]);
}

TEST(File, Disk_openFailureLeavesStreamClosed)
{
    TempFolder folder;
    File f;
    EXPECT_FALSE(f.OpenRead(folder / L"missing.bin"));
    EXPECT_FALSE(f.IsOpen());
    EXPECT_FALSE(f.OpenWrite(folder / L"no-such-folder" + TempFolder::Separator + L"x.bin"));
    EXPECT_FALSE(f.IsOpen());
    // a folder is not a file to read
    EXPECT_FALSE(f.OpenRead(folder.Path));
    EXPECT_FALSE(f.IsOpen());
}

TEST(File, Disk_fileLargerThan4GiB)
{
    TempFolder folder;
    std::wstring path = folder / L"large.bin";
    const uint64_t size = (uint64_t(1) << 32) + 16;
    const Bytes tail = Pattern(16);
    // a sparse file: only the last 16 bytes take space on disk
#ifdef _WIN32
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(size - tail.size());
    ASSERT_TRUE(SetFilePointerEx(h, at, nullptr, FILE_BEGIN));
    DWORD put = 0;
    ASSERT_TRUE(WriteFile(h, tail.data(), static_cast<DWORD>(tail.size()), &put, nullptr));
    ASSERT_TRUE(SetEndOfFile(h));
    CloseHandle(h);
#else
    int fd = open(kit::ToNarrow(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(0, ftruncate(fd, static_cast<off_t>(size)));
    ASSERT_EQ(16, pwrite(fd, tail.data(), tail.size(), static_cast<off_t>(size - tail.size())));
    close(fd);
#endif

    File in;
    ASSERT_TRUE(in.OpenRead(path));
    EXPECT_EQ(size, in.GetSize());
    // a read across the 4 GiB mark and up to the end
    ASSERT_TRUE(in.Seek((uint64_t(1) << 32) - 8));
    Bytes buffer(64, 0xEE);
    EXPECT_EQ(24u, in.Read(buffer.data(), buffer.size()));
    EXPECT_EQ(Bytes(8, 0), Bytes(buffer.begin(), buffer.begin() + 8));
    EXPECT_EQ(tail, Bytes(buffer.begin() + 8, buffer.begin() + 24));
    EXPECT_EQ(size, in.GetPosition());

#ifdef _WIN32
    // and the whole file in 1 MiB blocks, as the check worker reads it (natively this only costs time)
    ASSERT_TRUE(in.Rewind());
    Bytes block(1 << 20);
    uint64_t total = 0;
    size_t got;
    while ((got = in.Read(block.data(), block.size())) != 0) {
        total += got;
    }
    EXPECT_EQ(size, total);
    EXPECT_EQ(tail, Bytes(block.begin(), block.begin() + 16));
#endif
}
