#include "app/lists/PairDecision.h"

#include "app/lists/PairMarks.h"

#include <gtest/gtest.h>

namespace {

const std::wstring CrcA = L"1A2B3C4D";
const std::wstring CrcB = L"1A2B3C4E";
const std::wstring Md5A = L"D41D8CD98F00B204E9800998ECF8427E";
const std::wstring Md5B = L"D41D8CD98F00B204E9800998ECF8427F";

PairCells Cells(const std::wstring& crc, const std::wstring& md5, const std::wstring& size)
{
    PairCells cells;
    cells.HashTexts[HashKind::Crc32] = crc;
    cells.HashTexts[HashKind::Md5] = md5;
    cells.SizeText = size;
    return cells;
}

const HashKindFlags CrcOnly = {{true, false, false}};
const HashKindFlags CrcAndMd5 = {{true, true, false}};
const HashKindFlags NoKind = {{false, false, false}};

struct Case {
    const char* What;
    HashKindFlags Enabled;
    PairCells Own;
    PairCells Other;
    int Mark;
    int Colour;
};

} // namespace

TEST(PairDecision, ComparePairCells_decidesByValuesThenSizes)
{
    const Case cases[] = {
        {"equal values and sizes", CrcOnly, Cells(CrcA, L"", L"1,234"), Cells(CrcA, L"", L"1,234"), PairMark::Ok,
            StateColour::Ok},
        {"values differ", CrcOnly, Cells(CrcA, L"", L"1,234"), Cells(CrcB, L"", L"1,234"), PairMark::Ng,
            StateColour::Ng},
        {"equal values, sizes differ", CrcOnly, Cells(CrcA, L"", L"1,234"), Cells(CrcA, L"", L"1,235"), PairMark::Ng,
            StateColour::Ng},
        {"a later kind differs", CrcAndMd5, Cells(CrcA, Md5A, L"5"), Cells(CrcA, Md5B, L"5"), PairMark::Ng,
            StateColour::Ng},
        {"a disabled kind is not compared", CrcOnly, Cells(CrcA, Md5A, L"5"), Cells(CrcA, Md5B, L"5"), PairMark::Ok,
            StateColour::Ok},
        {"hash texts compare exactly", CrcOnly, Cells(L"1a2b3c4d", L"", L"5"), Cells(CrcA, L"", L"5"), PairMark::Ng,
            StateColour::Ng},
        {"imported without size: values decide", CrcOnly, Cells(CrcA, L"", L"-"), Cells(CrcA, L"", L"1,234"),
            PairMark::Ok, StateColour::Ok},
        {"imported without size and different value", CrcOnly, Cells(CrcA, L"", L"-"), Cells(CrcB, L"", L"9"),
            PairMark::Ng, StateColour::Ng},
        {"nothing comparable", CrcAndMd5, Cells(L"", Md5A, L"-"), Cells(CrcA, L"", L"10"), PairMark::Unknown,
            StateColour::Wait},
        {"imported list without the enabled kind", CrcOnly, Cells(L"", Md5A, L"-"), Cells(CrcA, L"", L"10"),
            PairMark::Unknown, StateColour::Wait},
        {"no kind enabled, sizes equal", NoKind, Cells(CrcA, L"", L"77"), Cells(CrcB, L"", L"77"), PairMark::Ok,
            StateColour::Ok},
        {"no kind enabled, sizes differ", NoKind, Cells(L"", L"", L"77"), Cells(L"", L"", L"78"), PairMark::Ng,
            StateColour::Ng},
        {"one empty value is not compared", CrcOnly, Cells(L"", L"", L"1"), Cells(CrcA, L"", L"1"), PairMark::Ok,
            StateColour::Ok},
        {"size written without commas by another tool", CrcOnly, Cells(CrcA, L"", L"1234567"),
            Cells(CrcA, L"", L"1,234,567"), PairMark::Ok, StateColour::Ok},
        {"size over 4 GiB", CrcOnly, Cells(CrcA, L"", L"4,294,967,297"), Cells(CrcA, L"", L"4,294,967,296"),
            PairMark::Ng, StateColour::Ng},
        {"a file that could not be opened", CrcOnly, Cells(L"", L"", L"0"), Cells(CrcA, L"", L"12"), PairMark::Ng,
            StateColour::Ng},
    };
    for (const Case& c : cases) {
        PairDecision decision = ComparePairCells(c.Enabled, c.Own, c.Other);
        EXPECT_EQ(PairDecision::ColourBothRows, decision.What) << c.What;
        EXPECT_EQ(c.Mark, decision.Mark) << c.What;
        EXPECT_EQ(c.Colour, decision.ColourIndex) << c.What;
        // the judgement does not depend on which side finished last
        PairDecision swapped = ComparePairCells(c.Enabled, c.Other, c.Own);
        EXPECT_EQ(c.Mark, swapped.Mark) << c.What;
    }
}

TEST(PairDecision, DecidePair_followsTheMark)
{
    PairCells own = Cells(CrcA, L"", L"1");
    PairCells other = Cells(CrcB, L"", L"1");

    PairDecision left = DecidePair(PairMark::Left, false, CrcOnly, own, PairCells());
    EXPECT_EQ(PairDecision::ColourOwnRow, left.What);
    EXPECT_EQ(StateColour::Left, left.ColourIndex);

    PairDecision right = DecidePair(PairMark::Right, true, CrcOnly, own, PairCells());
    EXPECT_EQ(PairDecision::ColourOwnRow, right.What);
    EXPECT_EQ(StateColour::Right, right.ColourIndex);

    PairDecision waiting = DecidePair(PairMark::Unknown, false, CrcOnly, own, other);
    EXPECT_EQ(PairDecision::ColourOwnRow, waiting.What);
    EXPECT_EQ(StateColour::Wait, waiting.ColourIndex);

    PairDecision judged = DecidePair(PairMark::Unknown, true, CrcOnly, own, other);
    EXPECT_EQ(PairDecision::ColourBothRows, judged.What);
    EXPECT_EQ(PairMark::Ng, judged.Mark);

    for (int mark : {PairMark::Ok, PairMark::Ng, PairMark::None})
        EXPECT_EQ(PairDecision::KeepRow, DecidePair(mark, true, CrcOnly, own, other).What) << mark;
}
