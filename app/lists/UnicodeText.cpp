#include "app/lists/UnicodeText.h"

#include <cstdint>

const char* const UnicodeText::Utf8Bom = "\xEF\xBB\xBF";

namespace {

const uint32_t Replacement = 0xFFFD;

bool IsSurrogate(uint32_t c)
{
    return c >= 0xD800 && c <= 0xDFFF;
}

void AppendUtf8(std::string& out, uint32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendWide(std::wstring& out, uint32_t c)
{
    if (sizeof(wchar_t) == 2 && c >= 0x10000) {
        c -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (c >> 10));
        out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
    } else {
        out += static_cast<wchar_t>(c);
    }
}

// One sequence at bytes[i]: its code point and length. False when it is ill-formed; surrogates pass only when
// allowSurrogates. A sequence cut by the end sets truncated.
bool DecodeOne(const std::string& bytes, size_t i, bool allowSurrogates, uint32_t& c, size_t& length,
    bool& truncated)
{
    truncated = false;
    const unsigned char lead = static_cast<unsigned char>(bytes[i]);
    uint32_t minimum;
    if (lead < 0x80) {
        c = lead;
        length = 1;
        return true;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        c = lead & 0x1F;
        length = 2;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        c = lead & 0x0F;
        length = 3;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        c = lead & 0x07;
        length = 4;
        minimum = 0x10000;
    } else {
        return false;
    }
    for (size_t k = 1; k < length; ++k) {
        if (i + k >= bytes.size()) {
            truncated = true;
            return false;
        }
        const unsigned char trail = static_cast<unsigned char>(bytes[i + k]);
        if ((trail & 0xC0) != 0x80)
            return false;
        c = (c << 6) | (trail & 0x3F);
    }
    return c >= minimum && c <= 0x10FFFF && (allowSurrogates || !IsSurrogate(c));
}

} // namespace

bool UnicodeText::IsValidUtf8(const std::string& bytes, bool truncatedEnd)
{
    size_t i = 0;
    while (i < bytes.size()) {
        uint32_t c = 0;
        size_t length = 0;
        bool truncated = false;
        if (!DecodeOne(bytes, i, false, c, length, truncated))
            return truncated && truncatedEnd;
        i += length;
    }
    return true;
}

bool UnicodeText::HasNonAscii(const std::string& bytes)
{
    for (char b : bytes) {
        if (static_cast<unsigned char>(b) >= 0x80)
            return true;
    }
    return false;
}

std::wstring UnicodeText::Utf8ToWide(const std::string& bytes)
{
    std::wstring out;
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        uint32_t c = 0;
        size_t length = 0;
        bool truncated = false;
        if (DecodeOne(bytes, i, true, c, length, truncated)) {
            AppendWide(out, c);
            i += length;
        } else {
            AppendWide(out, Replacement);
            ++i;
        }
    }
    return out;
}

std::string UnicodeText::WideToUtf8(const std::wstring& text, bool* lossy)
{
    std::string out;
    out.reserve(text.size());
    bool replaced = false;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = static_cast<uint32_t>(text[i]);
        if (sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            const uint32_t low = static_cast<uint16_t>(text[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (IsSurrogate(c) || c > 0x10FFFF) {
            c = Replacement;
            replaced = true;
        }
        AppendUtf8(out, c);
    }
    if (lossy)
        *lossy = replaced;
    return out;
}

std::string UnicodeText::Utf16ToUtf8(const std::string& bytes, bool bigEndian)
{
    std::string out;
    out.reserve(bytes.size());
    const size_t units = bytes.size() / 2;
    auto unit = [&](size_t k) {
        const uint32_t first = static_cast<unsigned char>(bytes[2 * k]);
        const uint32_t second = static_cast<unsigned char>(bytes[2 * k + 1]);
        return bigEndian ? (first << 8) | second : (second << 8) | first;
    };
    for (size_t k = 0; k < units; ++k) {
        uint32_t c = unit(k);
        if (c >= 0xD800 && c <= 0xDBFF && k + 1 < units) {
            const uint32_t low = unit(k + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++k;
            }
        }
        AppendUtf8(out, c);
    }
    return out;
}
