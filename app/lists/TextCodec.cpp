#include "app/lists/TextCodec.h"

TextCodec TextCodec::WithRoundTripCheck(std::wstring (*toWide)(const std::string&),
    std::string (*toNarrow)(const std::wstring&))
{
    TextCodec codec;
    codec.ToWide = toWide;
    codec.ToNarrow = [toWide, toNarrow](const std::wstring& text, bool& lossy) {
        std::string bytes = toNarrow(text);
        lossy = toWide(bytes) != text;
        return bytes;
    };
    return codec;
}
