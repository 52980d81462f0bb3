#include "kit/core/File.h"

#include "kit/core/LongPath.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#ifndef _WIN32
#include "kit/core/PathString.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kit {

namespace {

// one system call moves at most this much, so that the count fits every platform's type
const size_t MaxTransfer = 1u << 30;

void PutUInt32(uint8_t* out, uint32_t value)
{
    out[0] = static_cast<uint8_t>(value);
    out[1] = static_cast<uint8_t>(value >> 8);
    out[2] = static_cast<uint8_t>(value >> 16);
    out[3] = static_cast<uint8_t>(value >> 24);
}

uint32_t GetUInt32(const uint8_t* in)
{
    return static_cast<uint32_t>(in[0]) | static_cast<uint32_t>(in[1]) << 8 | static_cast<uint32_t>(in[2]) << 16 |
           static_cast<uint32_t>(in[3]) << 24;
}

} // namespace

File::~File()
{
    Close();
}

#ifdef _WIN32

bool File::OpenRead(const std::wstring& path)
{
    Close();
    HANDLE handle = CreateFileW(SystemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(handle, &size)) {
        DWORD error = GetLastError();
        CloseHandle(handle);
        SetLastError(error);
        return false;
    }
    Handle = handle;
    Kind = Backend::Disk;
    Size = End = static_cast<uint64_t>(size.QuadPart);
    Position = 0;
    return true;
}

bool File::OpenWrite(const std::wstring& path)
{
    Close();
    HANDLE handle = CreateFileW(SystemPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    Handle = handle;
    Kind = Backend::Disk;
    Size = End = Position = 0;
    return true;
}

bool File::Close()
{
    bool ok = true;
    if (Kind == Backend::Disk) {
        ok = CloseHandle(Handle) != FALSE;
        Handle = INVALID_HANDLE_VALUE;
    }
    Kind = Backend::Closed;
    Buffer = nullptr;
    Size = End = Position = 0;
    return ok;
}

size_t File::ReadDisk(void* buffer, size_t n)
{
    size_t total = 0;
    // ReadFile may return less than asked; go on until the count, the end or an error
    while (total < n) {
        DWORD chunk = static_cast<DWORD>(std::min(n - total, MaxTransfer));
        DWORD got = 0;
        if (!ReadFile(Handle, static_cast<uint8_t*>(buffer) + total, chunk, &got, nullptr) || got == 0) {
            break;
        }
        total += got;
    }
    return total;
}

size_t File::WriteDisk(const void* buffer, size_t n)
{
    size_t total = 0;
    while (total < n) {
        DWORD chunk = static_cast<DWORD>(std::min(n - total, MaxTransfer));
        DWORD put = 0;
        if (!WriteFile(Handle, static_cast<const uint8_t*>(buffer) + total, chunk, &put, nullptr) || put == 0) {
            break;
        }
        total += put;
    }
    return total;
}

bool File::SeekDisk(uint64_t position)
{
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(position);
    return SetFilePointerEx(Handle, to, nullptr, FILE_BEGIN) != FALSE;
}

bool File::Flush()
{
    return Kind != Backend::Disk || FlushFileBuffers(Handle) != FALSE;
}

bool File::Replace(const std::wstring& source, const std::wstring& target)
{
    return MoveFileExW(SystemPath(source).c_str(), SystemPath(target).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool File::Remove(const std::wstring& path)
{
    return DeleteFileW(SystemPath(path).c_str()) != FALSE;
}

#else

bool File::OpenRead(const std::wstring& path)
{
    Close();
    int fd = open(pathstring::NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        close(fd);
        return false;
    }
    Descriptor = fd;
    Kind = Backend::Disk;
    Size = End = static_cast<uint64_t>(info.st_size);
    Position = 0;
    return true;
}

bool File::OpenWrite(const std::wstring& path)
{
    Close();
    int fd = open(pathstring::NativePath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    Descriptor = fd;
    Kind = Backend::Disk;
    Size = End = Position = 0;
    return true;
}

bool File::Close()
{
    bool ok = true;
    if (Kind == Backend::Disk) {
        ok = close(Descriptor) == 0;
        Descriptor = -1;
    }
    Kind = Backend::Closed;
    Buffer = nullptr;
    Size = End = Position = 0;
    return ok;
}

size_t File::ReadDisk(void* buffer, size_t n)
{
    size_t total = 0;
    while (total < n) {
        ssize_t got = read(Descriptor, static_cast<uint8_t*>(buffer) + total, std::min(n - total, MaxTransfer));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        total += static_cast<size_t>(got);
    }
    return total;
}

size_t File::WriteDisk(const void* buffer, size_t n)
{
    size_t total = 0;
    while (total < n) {
        ssize_t put = write(Descriptor, static_cast<const uint8_t*>(buffer) + total, std::min(n - total, MaxTransfer));
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            break;
        }
        total += static_cast<size_t>(put);
    }
    return total;
}

bool File::SeekDisk(uint64_t position)
{
    return lseek(Descriptor, static_cast<off_t>(position), SEEK_SET) == static_cast<off_t>(position);
}

bool File::Flush()
{
    return Kind != Backend::Disk || fsync(Descriptor) == 0;
}

bool File::Replace(const std::wstring& source, const std::wstring& target)
{
    return rename(pathstring::NativePath(source).c_str(), pathstring::NativePath(target).c_str()) == 0;
}

bool File::Remove(const std::wstring& path)
{
    return unlink(pathstring::NativePath(path).c_str()) == 0;
}

#endif

void File::AttachBuffer(std::vector<uint8_t>& buffer)
{
    Close();
    Buffer = &buffer;
    Kind = Backend::Buffer;
    Size = End = buffer.size();
    Position = 0;
}

size_t File::Read(void* buffer, size_t n)
{
    n = static_cast<size_t>(std::min<uint64_t>(n, GetRemaining()));
    if (n == 0) {
        return 0;
    }
    size_t got = 0;
    if (Kind == Backend::Disk) {
        got = ReadDisk(buffer, n);
    } else if (Kind == Backend::Buffer) {
        std::memcpy(buffer, Buffer->data() + Position, n);
        got = n;
    }
    Position += got;
    return got;
}

size_t File::Write(const void* buffer, size_t n)
{
    if (n == 0) {
        return 0;
    }
    size_t put = 0;
    if (Kind == Backend::Disk) {
        put = WriteDisk(buffer, n);
    } else if (Kind == Backend::Buffer) {
        if (Position + n > Buffer->size()) {
            Buffer->resize(static_cast<size_t>(Position + n));
        }
        std::memcpy(Buffer->data() + Position, buffer, n);
        put = n;
    }
    Position += put;
    Size = std::max(Size, Position);
    End = std::max(End, Position);
    return put;
}

bool File::Rewind()
{
    return Seek(0);
}

bool File::StepBack(uint64_t k)
{
    if (k == 0) {
        return IsOpen();
    }
    return Seek(Position > k ? Position - k : 0);
}

bool File::Seek(uint64_t position)
{
    position = std::min(position, Size);
    if (Kind == Backend::Closed || (Kind == Backend::Disk && !SeekDisk(position))) {
        return false;
    }
    Position = position;
    return true;
}

uint64_t File::Skip(uint64_t n)
{
    uint64_t from = Position;
    Seek(Position + std::min(n, GetRemaining()));
    return Position - from;
}

bool File::ReadUInt32(uint32_t& value)
{
    uint8_t bytes[4];
    if (Read(bytes, 4) != 4) {
        return false;
    }
    value = GetUInt32(bytes);
    return true;
}

bool File::ReadInt32(int32_t& value)
{
    uint32_t raw = 0;
    if (!ReadUInt32(raw)) {
        return false;
    }
    value = static_cast<int32_t>(raw);
    return true;
}

bool File::WriteUInt32(uint32_t value)
{
    uint8_t bytes[4];
    PutUInt32(bytes, value);
    return Write(bytes, 4) == 4;
}

bool File::WriteInt32(int32_t value)
{
    return WriteUInt32(static_cast<uint32_t>(value));
}

size_t File::ReadString(std::wstring& out)
{
    out.clear();
    uint8_t unit[2];
    while (Read(unit, 2) == 2) {
        wchar_t c = static_cast<wchar_t>(unit[0] | unit[1] << 8);
        if (c == 0) {
            break;
        }
        out.push_back(c);
    }
    return out.size() * 2;
}

bool File::WriteString(const std::wstring& text)
{
    std::vector<uint8_t> bytes(text.size() * 2 + 2, 0);
    for (size_t i = 0; i < text.size(); ++i) {
        uint16_t unit = static_cast<uint16_t>(text[i]);
        bytes[i * 2] = static_cast<uint8_t>(unit);
        bytes[i * 2 + 1] = static_cast<uint8_t>(unit >> 8);
    }
    return Write(bytes.data(), bytes.size()) == bytes.size();
}

bool File::ReadBlock(std::vector<uint8_t>& out)
{
    uint32_t n = 0;
    if (!ReadUInt32(n)) {
        out.clear();
        return false;
    }
    // the count is not trusted: never allocate more than the stream can deliver
    out.resize(static_cast<size_t>(std::min<uint64_t>(n, GetRemaining())));
    size_t got = Read(out.data(), out.size());
    out.resize(got);
    return got == n;
}

bool File::WriteBlock(const void* data, size_t n)
{
    if (n > UINT32_MAX || !WriteUInt32(static_cast<uint32_t>(n))) {
        return false;
    }
    return Write(data, n) == n;
}

bool File::WriteCompressed(const void* data, size_t u)
{
    if (u > UINT32_MAX || !WriteUInt32(static_cast<uint32_t>(u))) {
        return false;
    }
    if (u == 0) {
        return true;
    }
    // compressBound, not twice the input: a tiny input can grow by more than that
    uLongf c = compressBound(static_cast<uLong>(u));
    std::vector<uint8_t> out(c);
    if (compress(out.data(), &c, static_cast<const Bytef*>(data), static_cast<uLong>(u)) != Z_OK || c > UINT32_MAX) {
        return false;
    }
    return WriteUInt32(static_cast<uint32_t>(c)) && Write(out.data(), c) == c;
}

bool File::ReadCompressedData(uint32_t u, std::vector<uint8_t>& compressed)
{
    uint32_t c = 0;
    if (!ReadUInt32(c)) {
        return false;
    }
    // zlib never produces more than compressBound(u) bytes (a little under this limit): a larger count is corrupt
    uint64_t bound = uint64_t(u) + (u >> 12) + (u >> 14) + (u >> 25) + 64;
    // nor does deflate expand more than about 1032 to 1: a tiny block cannot make us allocate megabytes
    uint64_t expansion = uint64_t(c) * 1032 + 64;
    if (c > GetRemaining() || c > bound || u > expansion) {
        Skip(c);
        return false;
    }
    compressed.resize(c);
    return Read(compressed.data(), c) == c;
}

bool File::Inflate(const std::vector<uint8_t>& compressed, uint8_t* out, size_t length)
{
    uLongf produced = static_cast<uLongf>(length);
    int result = uncompress(out, &produced, compressed.data(), static_cast<uLong>(compressed.size()));
    return result == Z_OK && produced == length;
}

size_t File::ReadCompressed(void* buffer, size_t capacity)
{
    uint32_t u = 0;
    if (!ReadUInt32(u)) {
        return 0;
    }
    if (u == 0) {
        return capacity;
    }
    std::vector<uint8_t> compressed;
    if (!ReadCompressedData(u, compressed) || u != capacity) {
        return 0;
    }
    // inflate aside so that a block that fails halfway leaves the caller's buffer as it was
    std::vector<uint8_t> inflated(capacity);
    if (!Inflate(compressed, inflated.data(), capacity)) {
        return 0;
    }
    std::memcpy(buffer, inflated.data(), capacity);
    return capacity;
}

bool File::ReadCompressedBlock(std::vector<uint8_t>& out)
{
    uint32_t u = 0;
    if (!ReadUInt32(u)) {
        return false;
    }
    if (u == 0) {
        out.clear();
        return true;
    }
    std::vector<uint8_t> compressed;
    if (!ReadCompressedData(u, compressed) || u > MaxCompressedLength) {
        return false;
    }
    std::vector<uint8_t> inflated(u);
    if (!Inflate(compressed, inflated.data(), u)) {
        return false;
    }
    out.swap(inflated);
    return true;
}

} // namespace kit
