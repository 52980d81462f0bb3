#include "app/lists/PairDecision.h"

#include "app/lists/PairMarks.h"
#include "app/lists/SizeFormat.h"

namespace {

PairDecision Decision(PairDecision::Action what, int colour, int mark)
{
    PairDecision decision;
    decision.What = what;
    decision.ColourIndex = colour;
    decision.Mark = mark;
    return decision;
}

} // namespace

PairDecision ComparePairCells(const HashKindFlags& enabled, const PairCells& own, const PairCells& other)
{
    if (own.Unreadable || other.Unreadable)
        return Decision(PairDecision::ColourBothRows, StateColour::Ng, PairMark::Ng);
    bool compared = false;
    bool differs = false;
    for (int kind = 0; kind < HashKind::Count && !differs; ++kind) {
        const std::wstring& a = own.HashTexts[kind];
        const std::wstring& b = other.HashTexts[kind];
        if (!enabled[kind] || a.empty() || b.empty())
            continue;
        compared = true;
        differs = a != b;
    }
    bool sizesKnown = own.SizeText != L"-" && other.SizeText != L"-";
    if (!compared && !sizesKnown)
        return Decision(PairDecision::ColourBothRows, StateColour::Wait, PairMark::Unknown);
    if (differs || (sizesKnown && !SizeFormat::SameSize(own.SizeText, other.SizeText)))
        return Decision(PairDecision::ColourBothRows, StateColour::Ng, PairMark::Ng);
    return Decision(PairDecision::ColourBothRows, StateColour::Ok, PairMark::Ok);
}

PairDecision DecidePair(int mark, bool otherFinished, const HashKindFlags& enabled, const PairCells& own,
    const PairCells& other)
{
    switch (mark) {
    case PairMark::Left:
        return Decision(PairDecision::ColourOwnRow, StateColour::Left, mark);
    case PairMark::Right:
        return Decision(PairDecision::ColourOwnRow, StateColour::Right, mark);
    case PairMark::Unknown:
        if (!otherFinished)
            return Decision(PairDecision::ColourOwnRow, StateColour::Wait, mark);
        return ComparePairCells(enabled, own, other);
    default:
        return Decision(PairDecision::KeepRow, StateColour::Wait, mark);
    }
}
