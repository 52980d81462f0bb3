// A copy that proves itself: the source is read once, its bytes go to a new file and, where the list holds no
// value for a kind, into that kind's hash; the new file is flushed, read back past the write cache where the system
// allows, and its values are compared with the source's.
#pragma once

#include "app/lists/HashText.h"

#include <array>
#include <functional>
#include <string>

class VerifiedCopy {
public:
    enum Result { Verified, SourceFailed, WriteFailed, ReadBackFailed, Mismatch };

    // the kinds compared; CRC32 always is
    explicit VerifiedCopy(const HashKindFlags& kinds);

    // Copies source to target, which must not exist yet, with the source's time and attributes. expected holds the
    // list's value of each kind, or "" where the source's bytes give it. written runs between the flush and the
    // read-back. On any result but Verified the caller removes target.
    Result Copy(const std::wstring& source, const std::wstring& target,
                const std::array<std::wstring, HashKind::Count>& expected, const std::function<void()>& written);

private:
    bool ReadBack(const std::wstring& target, std::array<std::wstring, HashKind::Count>& values);

    HashKindFlags Kinds;
};
