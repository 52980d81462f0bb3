#include "kit/core/SettingsNode.h"

#include "kit/core/File.h"
#include "kit/core/SettingsSnapshot.h"
#include "tests/core/TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

using kit::SettingsNode;
typedef std::vector<uint8_t> Bytes;

namespace {

// defaults as the program puts them in before loading
SettingsNode Defaults()
{
    SettingsNode root;
    root.SetBool(L"Crc32", true);
    root.SetBool(L"Md5", false);
    root.SetInt(L"CheckNum", 8);
    root.Child(L"Color").SetInt(L"Wait", 0xC0C0C0);
    root.Child(L"Color").SetInt(L"Ng", 0xFF00FF);
    return root;
}

// a tree such as a run of the program saves
SettingsNode Saved()
{
    SettingsNode root;
    root.SetBool(L"Md5", true);
    root.SetString(L"Text", L"\u51fa\u529b\u30d5\u30a1\u30a4\u30eb");
    root.SetBinary(L"Empty", nullptr, 0);
    root.Child(L"Color").SetInt(L"Wait", 0x123456);
    root.Child(L"Output").Child(L"Format").SetInt(L"Index", 2);
    root.Child(L"Nothing");
    return root;
}

Bytes Bytes32(uint32_t value)
{
    return Bytes{static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
                 static_cast<uint8_t>(value >> 24)};
}

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes FileImage(SettingsNode tree)
{
    Bytes image;
    kit::File out;
    out.AttachBuffer(image);
    EXPECT_TRUE(tree.Save(out));
    return image;
}

bool LoadImage(SettingsNode& tree, Bytes image)
{
    kit::File in;
    in.AttachBuffer(image);
    return tree.Load(in);
}

Bytes ReadAll(const std::wstring& path)
{
    kit::File in;
    Bytes bytes;
    if (in.OpenRead(path)) {
        bytes.resize(static_cast<size_t>(in.GetSize()));
        bytes.resize(in.Read(bytes.data(), bytes.size()));
    }
    return bytes;
}

void WriteAll(const std::wstring& path, const Bytes& bytes)
{
    kit::File out;
    ASSERT_TRUE(out.OpenWrite(path));
    ASSERT_EQ(bytes.size(), out.Write(bytes.data(), bytes.size()));
}

} // namespace

TEST(SettingsNode, Get_readsByLengthWithDefaults)
{
    SettingsNode node;
    node.Values[L"one"] = {0x02};
    node.Values[L"four"] = {0x78, 0x56, 0x34, 0x12};
    node.Values[L"odd"] = {'a', 0, 'b'};
    node.Values[L"empty"] = {};

    EXPECT_TRUE(node.GetBool(L"one"));
    EXPECT_FALSE(node.GetBool(L"four"));
    EXPECT_TRUE(node.GetBool(L"four", true));
    EXPECT_FALSE(node.GetBool(L"missing"));
    EXPECT_TRUE(node.GetBool(L"missing", true));

    EXPECT_EQ(0x12345678, node.GetInt(L"four", 0));
    EXPECT_EQ(-1, node.GetInt(L"one", -1));
    EXPECT_EQ(-1, node.GetInt(L"empty", -1));
    EXPECT_EQ(7, node.GetInt(L"missing", 7));

    EXPECT_EQ(L"a", node.GetString(L"odd"));
    EXPECT_EQ(L"", node.GetString(L"empty"));
    EXPECT_EQ(L"", node.GetString(L"missing"));

    uint32_t record = 99;
    EXPECT_TRUE(node.GetBinary(L"four", record));
    EXPECT_EQ(0x12345678u, record);
    uint64_t wide = 99;
    EXPECT_FALSE(node.GetBinary(L"four", wide));
    EXPECT_EQ(99u, wide);
    EXPECT_FALSE(node.GetBinary(L"missing", record));

    // names are case-sensitive
    EXPECT_EQ(5, node.GetInt(L"Four", 5));
}

TEST(SettingsNode, Set_encodesAndReplaces)
{
    SettingsNode node;
    node.SetInt(L"n", -2);
    EXPECT_EQ((Bytes{0xFE, 0xFF, 0xFF, 0xFF}), node.Values[L"n"]);
    node.SetBool(L"n", true);
    EXPECT_EQ((Bytes{1}), node.Values[L"n"]);
    node.SetString(L"s", L"\u65e5A");
    EXPECT_EQ((Bytes{0xE5, 0x65, 'A', 0}), node.Values[L"s"]);
    node.SetString(L"s", L"");
    EXPECT_TRUE(node.Values[L"s"].empty());

    EXPECT_EQ(nullptr, node.FindChild(L"c"));
    node.Child(L"c").SetInt(L"x", 1);
    ASSERT_NE(nullptr, node.FindChild(L"c"));
    EXPECT_EQ(1, node.FindChild(L"c")->GetInt(L"x", 0));
}

TEST(SettingsNode, Serialise_emptyRootIs12Bytes)
{
    SettingsNode root;
    root.Number = 1;
    EXPECT_EQ(Bytes32(1) + Bytes32(0) + Bytes32(0), root.Serialise());

    Bytes image = FileImage(SettingsNode());
    ASSERT_GE(image.size(), 12u);
    EXPECT_EQ(Bytes32(1) + Bytes32(12), Bytes(image.begin(), image.begin() + 8));
    EXPECT_EQ(12u + (image[8] | image[9] << 8), image.size());
}

TEST(SettingsNode, Serialise_layoutOfValuesAndChildren)
{
    SettingsNode root;
    root.SetBool(L"A", true);
    root.Child(L"C");
    Bytes expected = Bytes32(0) + Bytes32(1) + Bytes{'A', 0, 0, 0} + Bytes32(1) + Bytes{1} + Bytes32(1) +
                     Bytes{'C', 0, 0, 0} + Bytes32(0) + Bytes32(0) + Bytes32(0);
    EXPECT_EQ(expected, root.Serialise());
}

TEST(SettingsNode, Load_roundTripsEveryKindOfValue)
{
    SettingsNode loaded;
    ASSERT_TRUE(LoadImage(loaded, FileImage(Saved())));
    SettingsNode expected = Saved();
    expected.Number = 1;
    EXPECT_EQ(expected, loaded);

    // a zero-length value is an empty string, a false boolean and the default integer
    EXPECT_EQ(L"", loaded.GetString(L"Empty"));
    EXPECT_FALSE(loaded.GetBool(L"Empty"));
    EXPECT_EQ(-7, loaded.GetInt(L"Empty", -7));
    EXPECT_EQ(L"\u51fa\u529b\u30d5\u30a1\u30a4\u30eb", loaded.GetString(L"Text"));
    ASSERT_NE(nullptr, loaded.FindChild(L"Nothing"));
    EXPECT_EQ(SettingsNode(), *loaded.FindChild(L"Nothing"));
    EXPECT_EQ(2, loaded.Child(L"Output").Child(L"Format").GetInt(L"Index", 0));
}

TEST(SettingsNode, Load_mergesRootValuesAndReplacesChildren)
{
    SettingsNode root = Defaults();
    ASSERT_TRUE(LoadImage(root, FileImage(Saved())));
    // root values merge one by one: the file's win, the defaults the file lacks survive
    EXPECT_TRUE(root.GetBool(L"Md5"));
    EXPECT_TRUE(root.GetBool(L"Crc32"));
    EXPECT_EQ(8, root.GetInt(L"CheckNum", 0));
    // a child is replaced whole: "Ng" is missing from the file's Color, so the reader's default applies
    EXPECT_EQ(0x123456, root.Child(L"Color").GetInt(L"Wait", 0));
    EXPECT_EQ(-1, root.Child(L"Color").GetInt(L"Ng", -1));
}

TEST(SettingsNode, Load_otherVersionIsIgnored)
{
    Bytes image = FileImage(Saved());
    image[0] = 2;
    SettingsNode root = Defaults();
    EXPECT_FALSE(LoadImage(root, image));
    EXPECT_EQ(Defaults(), root);

    TempFolder folder;
    std::wstring path = folder / L"juxta.dat";
    WriteAll(path, image);
    EXPECT_EQ(2, SettingsNode::ReadVersion(path));
    EXPECT_FALSE(root.Load(path));
    EXPECT_EQ(Defaults(), root);
    // and the next save replaces it
    EXPECT_TRUE(root.Save(path));
    EXPECT_EQ(1, SettingsNode::ReadVersion(path));

    WriteAll(path, Bytes{1, 0, 0});
    EXPECT_EQ(0, SettingsNode::ReadVersion(path));
    EXPECT_EQ(0, SettingsNode::ReadVersion(folder / L"missing.dat"));
}

TEST(SettingsNode, Load_truncatedAtEveryOffsetKeepsDefaults)
{
    Bytes image = FileImage(Saved());
    for (size_t n = 0; n < image.size(); ++n) {
        SettingsNode root = Defaults();
        EXPECT_FALSE(LoadImage(root, Bytes(image.begin(), image.begin() + n))) << n;
        EXPECT_EQ(Defaults(), root) << n;
    }
    // trailing bytes are no settings file either
    SettingsNode root = Defaults();
    EXPECT_FALSE(LoadImage(root, image + Bytes{0}));
    EXPECT_EQ(Defaults(), root);
}

TEST(SettingsNode, Load_flippedBytesNeverLoadAWrongTree)
{
    Bytes image = FileImage(Saved());
    SettingsNode merged = Defaults();
    ASSERT_TRUE(LoadImage(merged, image));
    for (size_t i = 0; i < image.size(); ++i) {
        for (uint8_t mask : {0x01, 0x80, 0xFF}) {
            Bytes bad = image;
            bad[i] ^= mask;
            SettingsNode root = Defaults();
            // zlib's checks catch every change to the tree; a change elsewhere that still loads loads the same
            if (LoadImage(root, bad)) {
                EXPECT_EQ(merged, root) << i;
            } else {
                EXPECT_EQ(Defaults(), root) << i;
            }
        }
    }
}

TEST(SettingsNode, Parse_truncatedTreeAtEveryOffsetChangesNothing)
{
    Bytes tree = Saved().Serialise();
    for (size_t n = 0; n < tree.size(); ++n) {
        SettingsNode root = Defaults();
        EXPECT_FALSE(root.Parse(Bytes(tree.begin(), tree.begin() + n))) << n;
        EXPECT_EQ(Defaults(), root) << n;
    }
}

TEST(SettingsNode, Parse_hostileCountsAndLengthsAreRejected)
{
    const Bytes empty = Bytes32(0) + Bytes32(0);
    std::vector<Bytes> hostile = {
        Bytes32(1) + Bytes32(0xFFFFFFFF) + Bytes32(0),                            // value count
        Bytes32(1) + Bytes32(0) + Bytes32(0xFFFFFFFF),                            // child count
        Bytes32(1) + Bytes32(1) + Bytes{'a', 0, 0, 0} + Bytes32(0xFFFFFFFF) + Bytes32(0), // value length
        Bytes32(1) + Bytes32(1) + Bytes{'a', 0, 'b', 0} + Bytes32(0) + Bytes32(0),  // name without its zero
        Bytes32(1) + Bytes32(0) + Bytes32(1) + Bytes{'c', 0, 0, 0} + Bytes32(0) + Bytes32(0), // child cut short
        Bytes32(1) + empty + Bytes{0},                                           // trailing byte
    };
    for (size_t i = 0; i < hostile.size(); ++i) {
        SettingsNode root = Defaults();
        EXPECT_FALSE(root.Parse(hostile[i])) << i;
        EXPECT_EQ(Defaults(), root) << i;
    }
}

TEST(SettingsNode, Parse_nestingDepthIsBounded)
{
    // a chain of nodes each holding one child named "n", the innermost empty
    auto chain = [](int depth) {
        const Bytes link = Bytes32(0) + Bytes32(0) + Bytes32(1) + Bytes{'n', 0, 0, 0};
        Bytes tree;
        for (int i = 0; i < depth; ++i) {
            tree.insert(tree.end(), link.begin(), link.end());
        }
        return tree + Bytes32(0) + Bytes32(0) + Bytes32(0);
    };
    SettingsNode root;
    EXPECT_TRUE(root.Parse(chain(SettingsNode::MaxDepth)));
    EXPECT_FALSE(root.Parse(chain(SettingsNode::MaxDepth + 1)));
    // deep enough to overflow the stack of a parser without a bound
    SettingsNode fresh;
    EXPECT_FALSE(fresh.Parse(chain(200000)));
    EXPECT_EQ(SettingsNode(), fresh);
}

TEST(SettingsNode, Save_replacesFileAndLeavesNoTemporary)
{
    TempFolder folder;
    std::wstring path = folder / L"juxta.dat";
    SettingsNode first = Saved();
    ASSERT_TRUE(first.Save(path));
    SettingsNode second;
    second.SetInt(L"CheckNum", 3);
    ASSERT_TRUE(second.Save(path));
    EXPECT_FALSE(kit::PathExists(path + L".tmp"));

    SettingsNode loaded;
    ASSERT_TRUE(loaded.Load(path));
    EXPECT_EQ(3, loaded.GetInt(L"CheckNum", 0));
    EXPECT_EQ(nullptr, loaded.FindChild(L"Color"));
}

TEST(SettingsNode, Save_failureKeepsOldFile)
{
    TempFolder folder;
    std::wstring path = folder / L"juxta.dat";
    SettingsNode old = Defaults();
    ASSERT_TRUE(old.Save(path));
    const Bytes before = ReadAll(path);

    // the temporary file cannot be created: a folder has its name
    kit::CreateFolders(path + L".tmp");
    SettingsNode changed = Saved();
    EXPECT_FALSE(changed.Save(path));
    EXPECT_EQ(before, ReadAll(path));

    // a target folder that does not exist
    EXPECT_FALSE(changed.Save(folder / L"missing" + TempFolder::Separator + L"juxta.dat"));

    SettingsNode loaded;
    ASSERT_TRUE(loaded.Load(path));
    EXPECT_EQ(old, loaded);
}

TEST(SettingsNode, Save_lockedTargetKeepsOldFile)
{
    TempFolder folder;
    std::wstring path = folder / L"juxta.dat";
    SettingsNode old = Defaults();
    ASSERT_TRUE(old.Save(path));
    const Bytes before = ReadAll(path);
#ifdef _WIN32
    // another program holds the file open without sharing delete: it cannot be replaced
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    SettingsNode changed = Saved();
    EXPECT_FALSE(changed.Save(path));
    CloseHandle(h);
#else
    if (geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind root";
    }
    // a read-only folder: neither the temporary file nor the replacement can be made
    chmod(kit::ToNarrow(folder.Path).c_str(), 0555);
    SettingsNode changed = Saved();
    EXPECT_FALSE(changed.Save(path));
    chmod(kit::ToNarrow(folder.Path).c_str(), 0755);
#endif
    EXPECT_EQ(before, ReadAll(path));
    EXPECT_FALSE(kit::PathExists(path + L".tmp"));
}

TEST(SettingsSnapshot, Get_returnsCopyAsPublished)
{
    kit::SettingsSnapshot snapshot;
    EXPECT_EQ(SettingsNode(), *snapshot.Get());

    SettingsNode tree = Defaults();
    snapshot.Publish(tree);
    boost::shared_ptr<const SettingsNode> taken = snapshot.Get();
    tree.SetBool(L"Crc32", false);
    EXPECT_TRUE(taken->GetBool(L"Crc32"));

    snapshot.Publish(tree);
    EXPECT_FALSE(snapshot.Get()->GetBool(L"Crc32"));
    EXPECT_TRUE(taken->GetBool(L"Crc32"));
}

TEST(SettingsSnapshot, Get_whilePublishingFromAnotherThread)
{
    kit::SettingsSnapshot snapshot;
    std::atomic<bool> done(false);
    std::thread reader([&] {
        while (!done) {
            boost::shared_ptr<const SettingsNode> tree = snapshot.Get();
            // every tree seen is whole: its two values were set together
            EXPECT_EQ(tree->GetInt(L"A", 0), tree->GetInt(L"B", 0));
        }
    });
    SettingsNode tree;
    for (int i = 0; i < 2000; ++i) {
        tree.SetInt(L"A", i);
        tree.SetInt(L"B", i);
        snapshot.Publish(tree);
    }
    done = true;
    reader.join();
}
