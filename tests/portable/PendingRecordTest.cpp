#include "app/lists/PendingRecord.h"

#include "app/lists/TextCodec.h"
#include "kit/core/Path.h"
#include "tests/portable/PortableTesting.h"

#include <gtest/gtest.h>

using testing_support::LowerAscii;

TEST(PendingRecord, ForFile_keysBelowTheBaseFolder)
{
    // a file dropped alone: its own folder is the base, so it pairs by name
    PendingRecord single = PendingRecord::ForFile(L"C:\\Data\\Photo.JPG", L"C:\\Data\\", LowerAscii);
    EXPECT_EQ(L"C:\\Data\\Photo.JPG", single.Path);
    EXPECT_EQ(L"c:\\data\\photo.jpg", single.PathKey);
    EXPECT_EQ(L"photo.jpg", single.RelativeKey());
    EXPECT_EQ(L"photo.jpg", single.NameKey());
    EXPECT_FALSE(single.IsImported());

    // a file of a dropped folder pairs by its path below that folder, whatever the folder is called
    PendingRecord nested = PendingRecord::ForFile(L"C:\\Data\\Sub\\A.txt", L"C:\\Data\\", LowerAscii);
    EXPECT_EQ(L"sub\\a.txt", nested.RelativeKey());
    EXPECT_EQ(L"a.txt", nested.NameKey());

    EXPECT_TRUE(PendingRecord::ForFile(L"C:\\x", L"C:\\longer\\base\\", LowerAscii).RelativeKey().empty());
}

TEST(PendingRecord, ForListEntry_keepsValuesAndHasNoRelativeKey)
{
    HashListEntry entry;
    entry.Name = L"Music\\Live\\Song.MP3";
    entry.HashTexts[HashKind::Md5] = L"D41D8CD98F00B204E9800998ECF8427E";
    entry.SizeText = L"-";
    PendingRecord record = PendingRecord::ForListEntry(entry, LowerAscii);
    EXPECT_EQ(entry.Name, record.Path);
    EXPECT_EQ(L"music\\live\\song.mp3", record.PathKey);
    EXPECT_EQ(L"song.mp3", record.NameKey());
    EXPECT_TRUE(record.RelativeKey().empty());
    EXPECT_EQ(entry.HashTexts, record.Imported->HashTexts);
    EXPECT_EQ(L"-", record.ImportedSize());
}

TEST(TextCodec, WithRoundTripCheck_reportsWhatDoesNotComeBack)
{
    TextCodec codec = TextCodec::WithRoundTripCheck(kit::ToWide, kit::ToNarrow);
    bool lossy = true;
    EXPECT_EQ("abc", codec.ToNarrow(L"abc", lossy));
    EXPECT_FALSE(lossy);
    // a lone surrogate has no equivalent in any code page
    codec.ToNarrow(std::wstring(1, static_cast<wchar_t>(0xD800)), lossy);
    EXPECT_TRUE(lossy);
}
