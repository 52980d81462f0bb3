// The rows of the three lists side by side: row i of the left list, of the right list and of the mark column form
// one pair. The model keeps what pairing needs (each side's file and keys, the pair's mark); the list windows mirror
// it and apply the placements that MergePending returns. Not locked itself: callers hold the main lock.
#pragma once

#include "app/lists/PairMarks.h"
#include "app/lists/PendingIndex.h"
#include "app/lists/PendingRecord.h"

#include <array>
#include <string>
#include <vector>

class PairingModel {
public:
    // one side of a row: a registered file, or blank (empty Path)
    struct Cell {
        std::wstring Path;
        std::wstring RelativeKey;
        std::wstring NameKey;
        std::wstring PathKey;
        bool IsBlank() const { return Path.empty(); }
    };

    struct Row {
        std::array<Cell, 2> Sides;
        int Mark = PairMark::None;
    };

    struct Placement {
        int Row;
        PendingRecord Record;
    };

    struct MergeResult {
        int Side = 0;
        // records placed into blank rows of the side, in ascending row order; each of these rows now has "？"
        std::vector<Placement> Filled;
        // records appended, each in a new row at the end with a blank row on the other side and "←" or "→"
        std::vector<Placement> Appended;
    };

    explicit PairingModel(size_t largeBucket = PendingIndex::DefaultLargeBucket);

    // Places a side's pending records (side 0 left, 1 right): a record goes into the side's blank row where the
    // other side has a file with the same relative key (or file name, when either has no relative key), the one
    // sharing the longest trailing path when several could; every other record is appended.
    MergeResult MergePending(int side, std::vector<PendingRecord> pending);

    int RowCount() const { return static_cast<int>(Rows.size()); }
    const Row& GetRow(int row) const { return Rows[row]; }
    int GetMark(int row) const { return Rows[row].Mark; }
    void SetMark(int row, int mark);
    // number of rows that show the mark
    int MarkCount(int mark) const { return MarkCounts[mark]; }
    // "○" and "×" back to "？" (the enabled kinds changed); returns the rows that changed
    std::vector<int> ResetMarks();
    // the side's file leaves the row (a stopped check); the row stays
    void BlankCell(int side, int row);
    // deletes whole pairs; the rows may come in any order
    void RemoveRows(std::vector<int> rows);
    void Clear();

private:
    // the gaps' records (row, record) and the records left, in the order they are to be appended
    void MatchGaps(int side, const std::vector<PendingRecord>& pending, std::vector<std::pair<int, int>>& matches,
        std::vector<int>& remaining) const;
    void Fill(Cell& cell, const PendingRecord& record);

    size_t LargeBucket;
    std::vector<Row> Rows;
    std::array<int, PairMark::Count> MarkCounts;
};
