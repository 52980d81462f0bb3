#include "app/lists/SizeFormat.h"

#include <gtest/gtest.h>

TEST(SizeFormat, Format_groupsOfThree)
{
    EXPECT_EQ(L"0", SizeFormat::Format(0));
    EXPECT_EQ(L"999", SizeFormat::Format(999));
    EXPECT_EQ(L"1,000", SizeFormat::Format(1000));
    EXPECT_EQ(L"4,294,967,296", SizeFormat::Format(4294967296ull));
    EXPECT_EQ(L"18,446,744,073,709,551,615", SizeFormat::Format(18446744073709551615ull));
    EXPECT_EQ("1,234,567", SizeFormat::GroupDigits(std::string("1234567")));
    EXPECT_EQ("0,001", SizeFormat::GroupDigits(std::string("0001")));
}

TEST(SizeFormat, Parse_digitsWithCommasWithin64Bits)
{
    uint64_t value = 1;
    EXPECT_TRUE(SizeFormat::Parse(L"18,446,744,073,709,551,615", value));
    EXPECT_EQ(18446744073709551615ull, value);
    EXPECT_FALSE(SizeFormat::Parse(L"18,446,744,073,709,551,616", value));
    EXPECT_EQ(0u, value);
    EXPECT_TRUE(SizeFormat::Parse(L"1234", value));
    EXPECT_EQ(1234u, value);
    for (const wchar_t* text : {L"", L"-", L",", L"12a", L" 1", L"1.5"})
        EXPECT_FALSE(SizeFormat::Parse(text, value)) << text;
}

TEST(SizeFormat, SameSize_numbersOrTexts)
{
    EXPECT_TRUE(SizeFormat::SameSize(L"1234", L"1,234"));
    EXPECT_TRUE(SizeFormat::SameSize(L"0,001", L"1"));
    EXPECT_TRUE(SizeFormat::SameSize(L"0", L"000"));
    EXPECT_FALSE(SizeFormat::SameSize(L"1,234", L"1,235"));
    // beyond 64 bits the digits still compare
    EXPECT_TRUE(SizeFormat::SameSize(L"99999999999999999999999", L"99,999,999,999,999,999,999,999"));
    EXPECT_FALSE(SizeFormat::SameSize(L"", L"0"));
    EXPECT_TRUE(SizeFormat::SameSize(L"x", L"x"));
}
