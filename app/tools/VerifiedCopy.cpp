#include "app/tools/VerifiedCopy.h"

#include "kit/core/Crc32.h"
#include "kit/core/LongPath.h"
#include "kit/core/Md5.h"
#include "kit/core/Sha1.h"
#include "kit/core/Thread.h"

#include <atomic>
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
    HANDLE Release()
    {
        HANDLE value = Value;
        Value = INVALID_HANDLE_VALUE;
        return value;
    }
    HANDLE Value;
};

// page-aligned, as unbuffered reads want it
void* AllocateBlock()
{
    return VirtualAlloc(nullptr, BlockSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

void FreeBlock(void* block)
{
    if (block)
        VirtualFree(block, 0, MEM_RELEASE);
}

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

// runs the checks of one slot: StartCheck posts one, FinishCheck waits for its end
class VerifiedCopy::Checker : public kit::Thread {
public:
    Checker(VerifiedCopy& owner, Slot& slot)
        : Owner(owner), Work(slot), Done(CreateEventW(nullptr, FALSE, FALSE, nullptr))
    {
    }
    ~Checker() override
    {
        StopAndJoin();
        if (Done)
            CloseHandle(Done);
    }
    bool Begin()
    {
        if (!Done || !Start(THREAD_PRIORITY_NORMAL))
            return false;
        Resume();
        return true;
    }
    void Post()
    {
        Posted = true;
        Notify();
    }
    void Wait() { WaitForSingleObject(Done, INFINITE); }

protected:
    void Run() override
    {
        if (!WaitForWork(INFINITE) || !Posted.exchange(false))
            return;
        Work.Outcome = Owner.RunCheck(Work);
        SetEvent(Done);
    }

private:
    VerifiedCopy& Owner; // not owned
    Slot& Work;          // not owned
    HANDLE Done;
    std::atomic<bool> Posted{false};
};

VerifiedCopy::VerifiedCopy(const HashKindFlags& kinds)
    : Kinds(kinds), WriteBuffer(AllocateBlock()), Oldest(0), Count(0)
{
    Kinds[HashKind::Crc32] = true;
    for (Slot& slot : Slots) {
        slot.Buffer = AllocateBlock();
        boost::shared_ptr<Checker> checker(new Checker(*this, slot));
        if (checker->Begin())
            slot.Thread = checker;
    }
}

VerifiedCopy::~VerifiedCopy()
{
    while (Count > 0)
        FinishCheck();
    Discard(Written);
    for (Slot& slot : Slots) {
        slot.Thread.reset();
        Discard(slot.Checked);
        FreeBlock(slot.Buffer);
    }
    FreeBlock(WriteBuffer);
}

VerifiedCopy::Result VerifiedCopy::Write(const std::wstring& source, const std::wstring& target,
                                         const std::array<std::wstring, HashKind::Count>& expected, DWORD& attributes)
{
    Discard(Written);
    attributes = INVALID_FILE_ATTRIBUTES;
    if (!WriteBuffer || !Slots[0].Buffer || !Slots[1].Buffer)
        return SourceFailed;
    Handle in(CreateFileW(kit::SystemPath(source).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!in.IsValid())
        return SourceFailed;
    // the attributes and the time in one call, without the volume's details that GetFileInformationByHandle also
    // fetches (under Wine a round trip to the mount manager); a copy without them is still whole
    FILE_BASIC_INFO info;
    const bool known = GetFileInformationByHandleEx(in.Value, FileBasicInfo, &info, sizeof(info)) != FALSE;
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
        if (!ReadFile(in.Value, WriteBuffer, BlockSize, &read, nullptr))
            return SourceFailed;
        if (read == 0)
            break;
        Feed(sourceHashes, WriteBuffer, read);
        if (!WriteAll(out.Value, WriteBuffer, read))
            return WriteFailed;
    }
    for (int kind = 0; kind < HashKind::Count; ++kind)
        if (sourceHashes[kind])
            sourceValues[kind] = sourceHashes[kind]->Final();
    if (known) {
        FILETIME modified;
        modified.dwLowDateTime = static_cast<DWORD>(info.LastWriteTime.QuadPart);
        modified.dwHighDateTime = static_cast<DWORD>(info.LastWriteTime.QuadPart >> 32);
        SetFileTime(out.Value, nullptr, nullptr, &modified);
        attributes = info.FileAttributes;
    }
    Written.Target = target;
    Written.Values = sourceValues;
    Written.File = out.Release();
    return Verified;
}

void VerifiedCopy::StartCheck(const std::function<void()>& written)
{
    Slot& slot = Slots[(Oldest + Count) % Depth];
    Discard(slot.Checked);
    slot.Checked = Written;
    Written.File = INVALID_HANDLE_VALUE;
    slot.Written = written;
    ++Count;
    if (slot.Thread)
        slot.Thread->Post();
}

VerifiedCopy::Result VerifiedCopy::FinishCheck()
{
    if (Count == 0)
        return ReadBackFailed;
    Slot& slot = Slots[Oldest];
    Oldest = (Oldest + 1) % Depth;
    --Count;
    if (slot.Thread)
        slot.Thread->Wait();
    else
        slot.Outcome = RunCheck(slot);
    return slot.Outcome;
}

VerifiedCopy::Result VerifiedCopy::RunCheck(Slot& slot)
{
    try {
        return Check(slot);
    } catch (...) {
        // out of memory on the way: the copy counts as unread
        Discard(slot.Checked);
        return ReadBackFailed;
    }
}

VerifiedCopy::Result VerifiedCopy::Check(Slot& slot)
{
    Copy& copy = slot.Checked;
    if (copy.File == INVALID_HANDLE_VALUE)
        return WriteFailed;
    const bool flushed = FlushFileBuffers(copy.File) != FALSE;
    // false when closing reported an error: the data may not have reached the file
    const bool closed = CloseHandle(copy.File) != FALSE;
    copy.File = INVALID_HANDLE_VALUE;
    if (!flushed || !closed)
        return WriteFailed;
    if (slot.Written)
        slot.Written();

    std::array<std::wstring, HashKind::Count> copyValues;
    if (!ReadBack(copy.Target, slot.Buffer, copyValues))
        return ReadBackFailed;
    for (int kind = 0; kind < HashKind::Count; ++kind)
        if (Kinds[kind] && !SameValue(copyValues[kind], copy.Values[kind]))
            return Mismatch;
    return Verified;
}

bool VerifiedCopy::ReadBack(const std::wstring& target, void* buffer,
                            std::array<std::wstring, HashKind::Count>& values)
{
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
        if (!HashAll(file.Value, buffer, hashes))
            continue;
        for (int kind = 0; kind < HashKind::Count; ++kind)
            if (hashes[kind])
                values[kind] = hashes[kind]->Final();
        return true;
    }
    return false;
}

void VerifiedCopy::Discard(Copy& copy)
{
    if (copy.File != INVALID_HANDLE_VALUE)
        CloseHandle(copy.File);
    copy.File = INVALID_HANDLE_VALUE;
}
