// Helpers of the portable tests: a small double-byte code page that stands in for code page 932, the line
// splitting of kit::TextFile::ReadLine, lower-casing of keys and temporary folders.
#pragma once

#include "app/lists/TextCodec.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace testing_support {

// ASCII as itself, kana (U+3040..U+30FF) as a lead byte 0x82 and a trail byte 0x40..0xFF (trail bytes such as 0x5C
// occur, as in code page 932), everything else has no equivalent and becomes '?'.
inline std::string FakeToNarrow(const std::wstring& text, bool& lossy)
{
    lossy = false;
    std::string bytes;
    for (wchar_t c : text) {
        if (c < 0x80) {
            bytes += static_cast<char>(c);
        } else if (c >= 0x3040 && c <= 0x30FF) {
            bytes += static_cast<char>(0x82);
            bytes += static_cast<char>(c - 0x3040 + 0x40);
        } else {
            bytes += '?';
            lossy = true;
        }
    }
    return bytes;
}

inline std::wstring FakeToWide(const std::string& bytes)
{
    std::wstring text;
    for (size_t i = 0; i < bytes.size(); ++i) {
        unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b == 0x82 && i + 1 < bytes.size() && static_cast<unsigned char>(bytes[i + 1]) >= 0x40) {
            text += static_cast<wchar_t>(0x3040 + static_cast<unsigned char>(bytes[++i]) - 0x40);
        } else {
            text += static_cast<wchar_t>(b);
        }
    }
    return text;
}

inline TextCodec FakeCodec()
{
    TextCodec codec;
    codec.ToWide = FakeToWide;
    codec.ToNarrow = FakeToNarrow;
    return codec;
}

inline std::wstring LowerAscii(const std::wstring& text)
{
    std::wstring lower(text);
    for (wchar_t& c : lower) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return lower;
}

inline std::wstring Widen(const std::string& ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

// The lines of a file as kit::TextFile::ReadLine gives them: LF, CR, CR LF and Ctrl-Z end a line; a last line
// without an end still counts.
inline std::vector<std::string> SplitLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::string line;
    bool any = false;
    for (size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c == '\n' || c == '\x1a' || c == '\r') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            lines.push_back(line);
            line.clear();
            any = false;
        } else {
            line += c;
            any = true;
        }
    }
    if (any)
        lines.push_back(line);
    return lines;
}

inline std::string ReadFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

inline void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

// a folder of its own for one test, removed with everything in it
class TempFolder {
public:
    TempFolder()
    {
        std::random_device random;
        std::string name = "juxta-test-" + std::to_string(random()) + std::to_string(random());
        Path = std::filesystem::temp_directory_path() / name;
        std::filesystem::create_directories(Path);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(Path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::filesystem::path Path;
};

} // namespace testing_support
