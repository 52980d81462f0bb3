#include "kit/core/TextFile.h"

#include "tests/core/TempFolder.h"

#include <gtest/gtest.h>

namespace {

// every case runs over a byte vector and over a file on disk
class TextFileTest : public ::testing::TestWithParam<bool> {
protected:
    std::vector<std::string> Lines(const std::string& content)
    {
        std::vector<uint8_t> bytes(content.begin(), content.end());
        kit::TextFile f;
        if (GetParam()) {
            std::wstring path = Folder / L"lines.txt";
            kit::File out;
            EXPECT_TRUE(out.OpenWrite(path));
            out.Write(bytes.data(), bytes.size());
            out.Close();
            EXPECT_TRUE(f.OpenRead(path));
        } else {
            f.AttachBuffer(bytes);
        }
        std::vector<std::string> lines;
        std::string line;
        int64_t length;
        while ((length = f.ReadLine(line)) >= 0) {
            EXPECT_EQ(static_cast<int64_t>(line.size()), length);
            lines.push_back(line);
        }
        EXPECT_TRUE(line.empty());
        // the end stays the end
        EXPECT_EQ(-1, f.ReadLine(line));
        return lines;
    }

    TempFolder Folder;
};

typedef std::vector<std::string> Strings;

} // namespace

TEST_P(TextFileTest, ReadLine_terminators)
{
    EXPECT_EQ((Strings{"abc", "de"}), Lines("abc\r\nde"));
    EXPECT_EQ((Strings{"a", "b"}), Lines("a\rb"));
    EXPECT_EQ((Strings{"a", "", "b"}), Lines("a\r\rb"));
    EXPECT_EQ((Strings{"a", "", "b"}), Lines("a\n\nb\n"));
    EXPECT_EQ((Strings{"a", "", "b"}), Lines("a\n\rb"));
    EXPECT_EQ((Strings{"a"}), Lines("a\r"));
    EXPECT_EQ((Strings{"abc"}), Lines("abc"));
    EXPECT_EQ((Strings{""}), Lines("\n"));
    EXPECT_EQ(Strings(), Lines(""));
}

TEST_P(TextFileTest, ReadLine_ctrlZEndsLineNotFile)
{
    EXPECT_EQ((Strings{"a", "b"}), Lines("a\x1a" "b"));
    EXPECT_EQ((Strings{"a", "", "b"}), Lines("a\x1a\n" "b"));
}

TEST_P(TextFileTest, ReadLine_bytesAreNotDecoded)
{
    // Shift_JIS "表" holds a 0x5C trail byte; nothing is converted or dropped
    EXPECT_EQ((Strings{"\x95\x5c", "\xef\xbb\xbfx"}), Lines("\x95\x5c\r\n\xef\xbb\xbfx"));
    EXPECT_EQ((Strings{std::string("a\0b", 3)}), Lines(std::string("a\0b", 3)));
}

TEST_P(TextFileTest, ReadLine_longLinesAndTerminatorsAtReadEdges)
{
    // the reader takes 4096 bytes at a time: put CR, LF and CR LF on both sides of that edge
    for (size_t n : {4094u, 4095u, 4096u, 4097u}) {
        std::string a(n, 'a');
        EXPECT_EQ((Strings{a, "x"}), Lines(a + "\r\nx")) << n;
        EXPECT_EQ((Strings{a, "x"}), Lines(a + "\rx")) << n;
        EXPECT_EQ((Strings{a, "x"}), Lines(a + "\nx")) << n;
    }
    std::string longLine(100000, 'z');
    EXPECT_EQ((Strings{longLine, longLine}), Lines(longLine + "\r\n" + longLine + "\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Backends, TextFileTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "disk" : "memory";
                         });
