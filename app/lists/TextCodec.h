// Conversion between the program's wide text and the narrow bytes of the system ANSI code page, handed in by the
// caller: the Windows code passes kit::ToWide and kit::ToNarrow, the native tests a code page of their own.
#pragma once

#include <functional>
#include <string>

struct TextCodec {
    typedef std::function<std::wstring(const std::string&)> ToWideFunction;
    // lossy is set when the bytes do not stand for exactly the given text (a character had no equivalent)
    typedef std::function<std::string(const std::wstring&, bool& lossy)> ToNarrowFunction;

    ToWideFunction ToWide;
    ToNarrowFunction ToNarrow;

    // A codec whose narrow conversion reports a loss whenever converting the bytes back does not give the text
    // again. This catches best-fit replacements as well as the default character. Plain functions, so that
    // WithRoundTripCheck(kit::ToWide, kit::ToNarrow) picks the right overload.
    static TextCodec WithRoundTripCheck(std::wstring (*toWide)(const std::string&),
        std::string (*toNarrow)(const std::wstring&));
};
