// A copy that proves itself: the source is read once, its bytes go to a new file and, where the list holds no
// value for a kind, into that kind's hash; the new file is flushed, read back past the write cache where the system
// allows, and its values are compared with the source's. The flush and the read-back run on a thread of their own,
// so that the caller copies the next file meanwhile: one copy is written while the one before it is checked.
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

    // the kinds compared; CRC32 always is
    explicit VerifiedCopy(const HashKindFlags& kinds);
    // waits for a check in progress
    ~VerifiedCopy();

    // Copies source to target, which must not exist yet, with the source's time. Verified means written (not yet
    // checked): the copy then waits for StartCheck. On any other result the caller removes target. attributes
    // receives the source's, which the copy takes only after its check (a read-only copy could not be read back).
    Result Write(const std::wstring& source, const std::wstring& target,
                 const std::array<std::wstring, HashKind::Count>& expected, DWORD& attributes);
    // Flushes the copy Write made and reads it back, on the checking thread; written runs there between the flush
    // and the read-back. The check before must have been finished.
    void StartCheck(const std::function<void()>& written);
    // Waits for the check StartCheck began. On any result but Verified the caller removes the copy.
    Result FinishCheck();

private:
    class Checker;
    // a copy written and not yet checked
    struct Copy {
        HANDLE File = INVALID_HANDLE_VALUE; // open for writing until the check flushes it
        std::wstring Target;
        std::array<std::wstring, HashKind::Count> Values; // the source's
    };

    // on the checking thread, or in FinishCheck when there is none
    Result RunCheck();
    Result Check(Copy& copy, const std::function<void()>& written);
    bool ReadBack(const std::wstring& target, std::array<std::wstring, HashKind::Count>& values);
    static void Discard(Copy& copy);

    HashKindFlags Kinds;
    // one buffer for each thread: Write's on the caller's, Check's on the checking thread
    void* WriteBuffer;
    void* ReadBuffer;
    Copy Written;  // from Write to StartCheck
    Copy Checking; // from StartCheck to FinishCheck
    std::function<void()> WrittenHook;
    Result Outcome;
    bool Started;
    boost::shared_ptr<Checker> Thread; // empty when none could start: the check then runs in FinishCheck
};
