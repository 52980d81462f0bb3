// Random pairs of trees checked by the real main window and compared with values computed without kit: every size
// and hash cell equals the reference of its file, every row pairs files of the same relative path (ignoring case),
// and every mark is what the two files' contents imply.
#include "tests/app/CheckTesting.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

using namespace checktesting;

namespace {

struct TreeFile {
    std::wstring Relative;
    std::string Bytes;
};

const wchar_t* const Names[] = {L"写真", L"データ", L"readme", L"Ünïcode", L"テスト", L"report", L"表", L"x"};
const wchar_t* const Folders[] = {L"", L"sub\\", L"資料\\", L"sub\\深い\\", L"Mixed Case\\"};
const wchar_t* const Extensions[] = {L".bin", L".txt", L".JPG", L""};

size_t RandomSize(std::mt19937& random)
{
    // most sizes sit at the block edges, where a wrong loop shows first
    static const size_t edges[] = {0, 1, MiB - 1, MiB, MiB + 1, 2 * MiB - 1, 2 * MiB, 2 * MiB + 1};
    if (random() % 3 == 0)
        return random() % (3 * MiB);
    return edges[random() % (sizeof edges / sizeof edges[0])];
}

// the pairing rule for these names: ASCII letters lower-cased, U+0080 to U+00FF kept (no name here has a cased
// letter above U+00FF)
std::wstring Lower(const std::wstring& text)
{
    std::wstring lower(text);
    for (wchar_t& c : lower)
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    return lower;
}

class CheckDifferentialTest : public MainWindowTest, public ::testing::WithParamInterface<int> {
protected:
    // a left tree, and a right tree made from it with changed, resized, missing, renamed, re-cased and added files
    void MakeTrees(std::mt19937& random)
    {
        std::set<std::wstring> used;
        const int count = 24;
        for (int i = 0; i < count; ++i) {
            std::wstring relative;
            do {
                relative = std::wstring(Folders[random() % 5]) + Names[random() % 8] + std::to_wstring(random() % 50) +
                           Extensions[random() % 4];
            } while (!used.insert(Lower(relative)).second);
            Left.push_back(TreeFile{relative, Content(RandomSize(random), random())});
        }
        for (const TreeFile& file : Left) {
            TreeFile right = file;
            switch (random() % 8) {
            case 0: // changed, same size
                if (!right.Bytes.empty())
                    right.Bytes[random() % right.Bytes.size()] ^= 0x5A;
                break;
            case 1: // one byte more
                right.Bytes.push_back('+');
                break;
            case 2: // missing on the right
                continue;
            case 3: // renamed: appears as left-only and right-only
                right.Relative += L".renamed";
                break;
            case 4: // the same file under another case
                right.Relative = Lower(right.Relative);
                for (wchar_t& c : right.Relative)
                    if (c >= L'a' && c <= L'z' && random() % 2)
                        c = static_cast<wchar_t>(c - L'a' + L'A');
                break;
            default:
                break;
            }
            Right.push_back(right);
        }
        for (int i = 0; i < 3; ++i)
            Right.push_back(TreeFile{L"added\\新しい" + std::to_wstring(i) + L".dat", Content(RandomSize(random), i)});
        for (const TreeFile& file : Left)
            ASSERT_FALSE(Temp.WriteFile(L"L\\" + file.Relative, file.Bytes).empty());
        for (const TreeFile& file : Right)
            ASSERT_FALSE(Temp.WriteFile(L"R\\" + file.Relative, file.Bytes).empty());
    }

    std::vector<TreeFile> Left;
    std::vector<TreeFile> Right;
};

TEST_P(CheckDifferentialTest, RandomTrees_valuesAndMarksMatchReference)
{
    std::mt19937 random(static_cast<uint32_t>(GetParam()));
    // the first seed checks CRC-32 alone (the default), the others all three kinds
    const bool all = GetParam() != 1;
    Configure(true, all, all);
    MakeTrees(random);
    Drop(0, {Temp.PathOf(L"L")});
    Drop(1, {Temp.PathOf(L"R")});
    ASSERT_TRUE(WaitIdle(300000));

    const std::wstring leftBase = Temp.PathOf(L"L\\");
    const std::wstring rightBase = Temp.PathOf(L"R\\");
    std::map<std::wstring, std::string> rightByKey;
    for (const TreeFile& file : Right)
        rightByKey[Lower(file.Relative)] = file.Bytes;
    std::map<std::wstring, std::string> leftByKey;
    for (const TreeFile& file : Left)
        leftByKey[Lower(file.Relative)] = file.Bytes;

    size_t leftRows = 0, rightRows = 0;
    for (int row = 0; row < Rows(); ++row) {
        const std::wstring paths[2] = {PathCell(0, row), PathCell(1, row)};
        for (int side = 0; side < 2; ++side) {
            if (paths[side].empty())
                continue;
            (side == 0 ? leftRows : rightRows)++;
            const Reference expected = ReferenceOf(paths[side]);
            EXPECT_EQ(expected.Size, SizeCell(side, row)) << paths[side];
            EXPECT_EQ(expected.Crc32, HashCell(side, row, HashKind::Crc32)) << paths[side];
            if (all) {
                EXPECT_EQ(expected.Md5, HashCell(side, row, HashKind::Md5)) << paths[side];
                EXPECT_EQ(expected.Sha1, HashCell(side, row, HashKind::Sha1)) << paths[side];
            }
        }
        const std::wstring leftKey = paths[0].empty() ? L"" : Lower(paths[0].substr(leftBase.size()));
        const std::wstring rightKey = paths[1].empty() ? L"" : Lower(paths[1].substr(rightBase.size()));
        if (paths[0].empty()) {
            EXPECT_EQ(0u, leftByKey.count(rightKey)) << rightKey << " has a partner";
            EXPECT_EQ(L"→", MarkCell(row)) << rightKey;
        } else if (paths[1].empty()) {
            EXPECT_EQ(0u, rightByKey.count(leftKey)) << leftKey << " has a partner";
            EXPECT_EQ(L"←", MarkCell(row)) << leftKey;
        } else {
            EXPECT_EQ(leftKey, rightKey);
            const bool same = leftByKey[leftKey] == rightByKey[rightKey];
            EXPECT_EQ(same ? L"○" : L"×", MarkCell(row)) << leftKey;
            EXPECT_EQ(same ? OkColour : NgColour, RowColour(0, row)) << leftKey;
        }
    }
    EXPECT_EQ(Left.size(), leftRows);
    EXPECT_EQ(Right.size(), rightRows);
}

INSTANTIATE_TEST_SUITE_P(Seeds, CheckDifferentialTest, ::testing::Values(1, 2, 3));

} // namespace
