// What the evaluation of a pair does when one of its two checks finishes, as a pure function of the pair's mark and
// the two rows' cell texts. The caller applies the decision to the lists under the main lock.
#pragma once

#include "app/lists/HashText.h"

#include <array>
#include <string>

// the texts of one side's row that the evaluation reads
struct PairCells {
    std::array<std::wstring, HashKind::Count> HashTexts; // the hash columns' texts ("" for a hidden column)
    std::wstring SizeText;                               // the size column's text ("-" when the size is unknown)
    bool Unreadable = false;                             // the file could not be read in full: never equal
};

struct PairDecision {
    enum Action {
        KeepRow,        // nothing changes but the row's finished flag ("○" or "×" already decided, or no mark)
        ColourOwnRow,   // colour the finished row only; the mark stays
        ColourBothRows, // colour both rows and set Mark on the pair
    };
    Action What = KeepRow;
    int ColourIndex = 0; // a StateColour
    int Mark = -1;       // a PairMark, for ColourBothRows
};

// Judges two finished rows: a file that could not be read differs from anything; otherwise the enabled kinds are
// compared where both rows have a value, the sizes where both are known. Gives ColourBothRows with "○", "×", or "？"
// when nothing could be compared.
PairDecision ComparePairCells(const HashKindFlags& enabled, const PairCells& own, const PairCells& other);

// The evaluation for the row whose check has just finished. mark is the pair's mark; otherFinished tells whether the
// other side's row holds a file whose check has finished.
PairDecision DecidePair(int mark, bool otherFinished, const HashKindFlags& enabled, const PairCells& own,
    const PairCells& other);
