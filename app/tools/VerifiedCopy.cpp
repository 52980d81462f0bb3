#include "app/tools/VerifiedCopy.h"

#include "kit/core/Crc32.h"
#include "kit/core/LongPath.h"
#include "kit/core/Md5.h"
#include "kit/core/Sha1.h"

#include <windows.h>

#include <boost/shared_ptr.hpp>

#include <cwctype>

namespace {

// a multiple of every sector size, so that unbuffered reads stay aligned
const DWORD BlockSize = 1u << 20;

typedef std::array<boost::shared_ptr<kit::Hash>, HashKind::Count> Hashes;

boost::shared_ptr<kit::Hash> CreateHash(int kind)
{
    if (kind == HashKind::Crc32)
        return kit::Crc32::Create();
    if (kind == HashKind::Md5)
        return kit::Md5::Create();
    return kit::Sha1::Create();
}

void Feed(Hashes& hashes, const void* data, DWORD size)
{
    for (auto& hash : hashes)
        if (hash)
            hash->Update(data, size);
}

class Handle {
public:
    explicit Handle(HANDLE handle) : Value(handle) {}
    ~Handle()
    {
        if (Value != INVALID_HANDLE_VALUE)
            CloseHandle(Value);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool IsValid() const { return Value != INVALID_HANDLE_VALUE; }
    // false when closing reported an error: the data may not have reached the file
    bool Close()
    {
        const bool ok = CloseHandle(Value) != FALSE;
        Value = INVALID_HANDLE_VALUE;
        return ok;
    }
    HANDLE Value;
};

// page-aligned, as unbuffered reads want it
class Buffer {
public:
    Buffer() : Data(VirtualAlloc(nullptr, BlockSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~Buffer()
    {
        if (Data)
            VirtualFree(Data, 0, MEM_RELEASE);
    }
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;
    void* Data;
};

bool WriteAll(HANDLE file, const void* data, DWORD size)
{
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

// list values are upper case; one typed in another case still counts
bool SameValue(const std::wstring& a, const std::wstring& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (towupper(a[i]) != towupper(b[i]))
            return false;
    return true;
}

bool HashAll(HANDLE file, void* buffer, Hashes& hashes)
{
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file, buffer, BlockSize, &read, nullptr))
            return false;
        if (read == 0)
            return true;
        Feed(hashes, buffer, read);
    }
}

} // namespace

VerifiedCopy::VerifiedCopy(const HashKindFlags& kinds) : Kinds(kinds)
{
    Kinds[HashKind::Crc32] = true;
}

VerifiedCopy::Result VerifiedCopy::Copy(const std::wstring& source, const std::wstring& target,
                                        const std::array<std::wstring, HashKind::Count>& expected,
                                        const std::function<void()>& written)
{
    Buffer buffer;
    if (!buffer.Data)
        return SourceFailed;
    Handle in(CreateFileW(kit::SystemPath(source).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!in.IsValid())
        return SourceFailed;
    Handle out(CreateFileW(kit::SystemPath(target).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!out.IsValid())
        return WriteFailed;

    Hashes sourceHashes;
    std::array<std::wstring, HashKind::Count> sourceValues = expected;
    for (int kind = 0; kind < HashKind::Count; ++kind)
        if (Kinds[kind] && !HashText::Matches(kind, expected[kind]))
            sourceHashes[kind] = CreateHash(kind);
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(in.Value, buffer.Data, BlockSize, &read, nullptr))
            return SourceFailed;
        if (read == 0)
            break;
        Feed(sourceHashes, buffer.Data, read);
        if (!WriteAll(out.Value, buffer.Data, read))
            return WriteFailed;
    }
    for (int kind = 0; kind < HashKind::Count; ++kind)
        if (sourceHashes[kind])
            sourceValues[kind] = sourceHashes[kind]->Final();

    FILETIME created, accessed, modified;
    if (GetFileTime(in.Value, &created, &accessed, &modified))
        SetFileTime(out.Value, nullptr, nullptr, &modified); // a copy without the source's time is still whole
    if (!FlushFileBuffers(out.Value) || !out.Close())
        return WriteFailed;
    if (written)
        written();

    std::array<std::wstring, HashKind::Count> copyValues;
    if (!ReadBack(target, copyValues))
        return ReadBackFailed;
    for (int kind = 0; kind < HashKind::Count; ++kind)
        if (Kinds[kind] && !SameValue(copyValues[kind], sourceValues[kind]))
            return Mismatch;
    return Verified;
}

bool VerifiedCopy::ReadBack(const std::wstring& target, std::array<std::wstring, HashKind::Count>& values)
{
    Buffer buffer;
    if (!buffer.Data)
        return false;
    const std::wstring path = kit::SystemPath(target);
    // past the write cache where the system allows it; a file system that refuses unbuffered handles or reads is
    // read plainly
    const DWORD modes[] = {FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN, FILE_FLAG_SEQUENTIAL_SCAN};
    for (DWORD mode : modes) {
        Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, mode, nullptr));
        if (!file.IsValid())
            continue;
        Hashes hashes;
        for (int kind = 0; kind < HashKind::Count; ++kind)
            if (Kinds[kind])
                hashes[kind] = CreateHash(kind);
        if (!HashAll(file.Value, buffer.Data, hashes))
            continue;
        for (int kind = 0; kind < HashKind::Count; ++kind)
            if (hashes[kind])
                values[kind] = hashes[kind]->Final();
        return true;
    }
    return false;
}
