// The one byte stream: a file on disk or a growable byte vector in memory, with the same operations for both,
// plus the typed encodings of the settings file (little-endian 32-bit integers, zero-terminated UTF-16 strings,
// length-prefixed blocks and zlib-compressed blocks).
//
// Reads stop at the end (the size when the stream was opened or attached) and return short counts there; a read
// that returns less than was asked ends the caller's loop. A stream belongs to one thread at a time.
#pragma once

#include <boost/noncopyable.hpp>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace kit {

class File : private boost::noncopyable {
public:
    // the largest uncompressed length a compressed block may declare; anything larger is taken as corrupt
    static const uint32_t MaxCompressedLength = 16u << 20;

    File() = default;
    virtual ~File();

    // Each open first closes whatever the stream held. A failed open leaves the stream closed.
    bool OpenRead(const std::wstring& path);
    // Creates or truncates the file.
    bool OpenWrite(const std::wstring& path);
    // The stream reads and writes the caller's vector, which must outlive it; the position starts at 0.
    void AttachBuffer(std::vector<uint8_t>& buffer);
    // False when the system reported an error while closing a file (data may not have reached the disk).
    bool Close();
    bool IsOpen() const { return Kind != Backend::Closed; }

    uint64_t GetSize() const { return Size; }
    uint64_t GetPosition() const { return Position; }
    // the bytes between the position and the end
    uint64_t GetRemaining() const { return End > Position ? End - Position : 0; }

    // Copies up to n bytes, fewer only at the end of the stream or when the system fails.
    size_t Read(void* buffer, size_t n);
    // Returns the bytes written; fewer than n only when the system fails.
    size_t Write(const void* buffer, size_t n);
    bool Rewind();
    // Moves the position back by k bytes (not below 0).
    bool StepBack(uint64_t k);
    // Moves the position to an absolute offset, at most the size.
    bool Seek(uint64_t position);
    // Skips up to n bytes without reading them; returns the bytes skipped.
    uint64_t Skip(uint64_t n);
    // Asks the system to write the file's data through to the disk.
    bool Flush();

    // 32-bit integers, little-endian. A short read leaves value unchanged and returns false.
    bool ReadUInt32(uint32_t& value);
    bool ReadInt32(int32_t& value);
    bool WriteUInt32(uint32_t value);
    bool WriteInt32(int32_t value);

    // Reads 16-bit units up to a zero unit (consumed, not stored) or the end of the stream; returns the bytes of
    // text read (twice the units). Each unit is one wchar_t, also where wchar_t is wider.
    size_t ReadString(std::wstring& out);
    // The text's 16-bit units and a zero unit.
    bool WriteString(const std::wstring& text);

    // A 32-bit byte count n, then n bytes. False when the stream ends first; out then holds the bytes that were
    // there (never more than the stream had left, whatever the count says).
    bool ReadBlock(std::vector<uint8_t>& out);
    bool WriteBlock(const void* data, size_t n);

    // A compressed block: 32-bit uncompressed length u; if u is not 0, a 32-bit compressed length c and c bytes
    // of zlib data. True when the whole block was written.
    bool WriteCompressed(const void* data, size_t u);
    // Returns capacity when u is 0 or when the block inflated to exactly capacity bytes into buffer, else 0 and
    // buffer is untouched. The block's bytes are consumed either way.
    size_t ReadCompressed(void* buffer, size_t capacity);
    // Learns u from the block and inflates into out (resized to u). False, with out untouched, when the block is
    // cut short, declares more than MaxCompressedLength, or does not inflate to exactly u bytes.
    bool ReadCompressedBlock(std::vector<uint8_t>& out);

    // Replaces target by source once source is complete (MoveFileExW with write-through; rename natively).
    static bool Replace(const std::wstring& source, const std::wstring& target);
    static bool Remove(const std::wstring& path);

private:
    enum class Backend { Closed, Disk, Buffer };

    // reads the compressed length and data of a block whose u is already known; false when cut short
    bool ReadCompressedData(uint32_t u, std::vector<uint8_t>& compressed);
    bool Inflate(const std::vector<uint8_t>& compressed, uint8_t* out, size_t length);

    size_t ReadDisk(void* buffer, size_t n);
    size_t WriteDisk(const void* buffer, size_t n);
    bool SeekDisk(uint64_t position);

    Backend Kind = Backend::Closed;
#ifdef _WIN32
    HANDLE Handle = INVALID_HANDLE_VALUE;
#else
    int Descriptor = -1;
#endif
    std::vector<uint8_t>* Buffer = nullptr; // not owned
    uint64_t Size = 0;
    uint64_t Position = 0;
    uint64_t End = 0;
};

} // namespace kit
