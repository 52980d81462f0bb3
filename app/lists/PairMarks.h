// The marks of the middle column, one per row pair, and the state colours of the rows (indices into the "Color"
// settings node).
#pragma once

namespace PairMark {
const int None = -1;
const int Ok = 0;      // "○": both present, the compared values agree
const int Ng = 1;      // "×": both present, a compared value differs
const int Left = 2;    // "←": only on the left
const int Right = 3;   // "→": only on the right
const int Unknown = 4; // "？": both present, not (yet) decided
const int Count = 5;
} // namespace PairMark

// what "select by kind" selects besides the rows of a mark (0 to 3)
namespace SelectKind {
const int All = 6;
const int Inverse = 7;
} // namespace SelectKind

namespace StateColour {
const int Wait = 0;
const int Check = 1;
const int Ok = 2;
const int Ng = 3;
const int Left = 4;
const int Right = 5;
const int UnderLine = 6;
} // namespace StateColour
