// A copy that proves itself: the source is read once, its bytes go to a new file and, where the list holds no
// value for a kind, into that kind's hash; the new file is flushed, read back past the write cache where the system
// allows, and its values are compared with the source's. The flush and the read-back run on threads of their own,
// so that the caller copies the next file meanwhile: one copy is written while the two before it are checked (the
// flush of one waits for the disk while the other is read back).
#pragma once

#include "app/lists/HashText.h"

#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include <boost/noncopyable.hpp>
#include <boost/shared_ptr.hpp>

class VerifiedCopy : private boost::noncopyable {
public:
    enum Result { Verified, SourceFailed, WriteFailed, ReadBackFailed, Mismatch };
    // the most checks that run at once
    static const int Depth = 2;

    // the kinds compared; CRC32 always is
    explicit VerifiedCopy(const HashKindFlags& kinds);
    // waits for the checks in progress
    ~VerifiedCopy();

    // Copies source to target, which must not exist yet, with the source's time. Verified means written (not yet
    // checked): the copy then waits for StartCheck. On any other result the caller removes target. attributes
    // receives the source's, which the copy takes only after its check (a read-only copy could not be read back).
    Result Write(const std::wstring& source, const std::wstring& target,
                 const std::array<std::wstring, HashKind::Count>& expected, DWORD& attributes);
    // Flushes the copy Write made and reads it back, on a checking thread; written runs there between the flush and
    // the read-back. With Depth checks running, the caller first finishes the oldest.
    void StartCheck(const std::function<void()>& written);
    // Waits for the oldest check still running. On any result but Verified the caller removes its copy.
    Result FinishCheck();

private:
    class Checker;
    // a copy written and not yet checked
    struct Copy {
        HANDLE File = INVALID_HANDLE_VALUE; // open for writing until the check flushes it
        std::wstring Target;
        std::array<std::wstring, HashKind::Count> Values; // the source's
    };

    // one check, from StartCheck to FinishCheck
    struct Slot {
        Copy Checked;
        std::function<void()> Written;
        Result Outcome = ReadBackFailed;
        void* Buffer = nullptr;           // the read-back's
        boost::shared_ptr<Checker> Thread; // empty when none could start: the check then runs in FinishCheck
    };

    // on the slot's thread, or in FinishCheck when it has none
    Result RunCheck(Slot& slot);
    Result Check(Slot& slot);
    bool ReadBack(const std::wstring& target, void* buffer, std::array<std::wstring, HashKind::Count>& values);
    static void Discard(Copy& copy);

    HashKindFlags Kinds;
    void* WriteBuffer; // Write's, on the caller's thread
    Copy Written;      // from Write to StartCheck
    std::array<Slot, Depth> Slots;
    int Oldest; // the slot of the oldest check running
    int Count;  // checks running
};
