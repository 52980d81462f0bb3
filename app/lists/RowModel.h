// The rows of the left list, the right list and the mark column, and the only place where their state lives: row i
// of each side and the mark of row i form one pair. The list windows show it; the registration, the import, the
// scheduler, its workers and the commands change it through the operations below.
//
// Thread-safe: every operation takes the model's one lock for a short step and never calls out while holding it,
// so workers may write their cells from their own threads while the interface thread reads the rows it paints.
// Each change bumps a counter and widens the span of changed rows that the interface takes (TakeChanges) to
// repaint. Rows only move by RemoveRows, Clear and Stop, which the program runs when no check is running.
#pragma once

#include "app/lists/HashText.h"
#include "app/lists/PairMarks.h"
#include "app/lists/PendingIndex.h"
#include "app/lists/PendingRecord.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class RowModel {
public:
    // the state of a blank side: no state colour, the list's own background
    static constexpr int NoState = -1;
    static constexpr int UnknownIcon = -2;

    // the cells a check writes: the hash cells and the size cell as shown ("" not checked, a percentage, the value,
    // the size); kept apart so that a side not yet checked costs one pointer
    struct CheckTexts {
        std::array<std::wstring, HashKind::Count> Values;
        std::wstring SizeText;
    };

    // one side of a row: a registered file, or blank (empty Path)
    struct Cell : RegisteredFile {
        std::unique_ptr<CheckTexts> Texts; // null until a check writes
        int State = NoState; // a StateColour
        // the shell's small-icon index, looked up when the row is first painted; UnknownIcon until then
        int Icon = UnknownIcon;
        bool Finished = false;
        // its last check could not read the file in full (its value cells show HashText::Unreadable)
        bool Unreadable = false;
        // the check flag of the copy dialog's list
        bool Checked = false;

        Cell() = default;
        Cell(const Cell& other);
        Cell(Cell&&) = default;
        Cell& operator=(const Cell& other);
        Cell& operator=(Cell&&) = default;

        bool IsBlank() const { return Path.empty(); }
        const std::wstring& Value(int kind) const;
        const std::wstring& SizeText() const;
        // characters of the path in front of its relative part (where the underline starts)
        size_t PrefixLength() const { return Path.size() >= RelativeLength ? Path.size() - RelativeLength : 0; }
    };

    struct Row {
        std::array<Cell, 2> Sides;
        int Mark = PairMark::None;
    };

    struct MergeResult {
        int Side = 0;
        // blank rows of the side that records were placed into, ascending; each now has "？"
        std::vector<int> Filled;
        // rows appended, each with a blank row on the other side and "←" or "→"
        std::vector<int> Appended;
    };

    // what a worker needs to check one side of a row
    struct CheckJob {
        std::wstring Path;
        HashKindFlags Compute = {{false, false, false}};
        // the row's size was shown before (and counted in the side's bytes)
        bool SizeShown = false;
        std::shared_ptr<const ImportedValues> Imported; // null for a file on disk
    };

    // the rows that changed since the last TakeChanges, a span for each view (the left side, the right side, the
    // marks), so that a percentage written on one side repaints only that list; and whether rows came or went
    static constexpr int MarkView = 2;
    struct Span {
        int First = -1; // -1: no row changed
        int Last = -1;
        bool Any() const { return First >= 0; }
        void Add(int row)
        {
            if (First < 0 || row < First)
                First = row;
            if (row > Last)
                Last = row;
        }
    };
    struct Changes {
        std::array<Span, 3> Views; // 0 left, 1 right, MarkView
        bool RowCountChanged = false;
        bool Any() const { return RowCountChanged || Views[0].Any() || Views[1].Any() || Views[MarkView].Any(); }
    };

    explicit RowModel(size_t largeBucket = PendingIndex::DefaultLargeBucket);

    // ---- rows ----
    // Places a side's pending records (side 0 left, 1 right): a record goes into the side's blank row where the
    // other side has a file with the same relative key (or file name, when either has no relative key), the one
    // sharing the longest trailing path when several could; every other record is appended. Counts the files.
    MergeResult MergePending(int side, std::vector<PendingRecord> pending);
    // deletes whole pairs, forgetting their files and bytes; the rows may come in any order, out of range ignored
    void RemoveRows(std::vector<int> rows);
    void Clear();
    // After a stop: a side that had not finished its check is blanked (file and bytes forgotten); a pair where
    // neither side had finished goes; a finished file that lost its partner stands alone ("←" or "→").
    void Stop();

    // ---- reading (copies, under the lock) ----
    int RowCount() const;
    Row GetRow(int row) const;
    Cell GetCell(int side, int row) const;
    int GetMark(int row) const;
    int MarkCount(int mark) const;
    int FileCount(int side) const;
    // bytes of the side's files whose check has started
    uint64_t TotalSize(int side) const;
    // bumped by every change; the interface polls it
    uint64_t ChangeCount() const { return Version.load(); }
    Changes TakeChanges();
    // Runs read(cell) under the lock for one side of a row, or read(row) for a whole row; false when the row is
    // out of range. read must be short and call nothing that takes locks.
    template <class Read> bool ReadCell(int side, int row, Read read) const
    {
        std::lock_guard<std::mutex> lock(Guard);
        if (!Valid(side, row))
            return false;
        read(Rows[row].Sides[side]);
        return true;
    }
    template <class Read> bool ReadRow(int row, Read read) const
    {
        std::lock_guard<std::mutex> lock(Guard);
        if (!Valid(0, row))
            return false;
        read(Rows[row]);
        return true;
    }

    // ---- checking ----
    // Starts the check of one side of a row when it is due: a file (not blank), not finished, with an enabled kind
    // not yet computed or its size not shown. The side gets the "Check" state.
    bool BeginCheck(int side, int row, const HashKindFlags& kinds, CheckJob& job);
    // the bytes of a file whose check started and whose size was not counted before
    void AddBytes(int side, uint64_t bytes);
    // a worker's cells: a percentage, a value, the size
    void SetValue(int side, int row, int kind, const std::wstring& text);
    void SetSizeText(int side, int row, const std::wstring& text);
    void SetState(int side, int row, int state);
    void SetIcon(int side, int row, int icon);
    // the end of a worker's check: whether the file could be read in full (before EvaluatePair)
    void SetUnreadable(int side, int row, bool unreadable);
    // a mark put by hand (the tests' and the commands' way to undecide a pair)
    void SetMark(int row, int mark);
    // The check of one side has finished: marks it finished, colours it, and judges the pair when both are done.
    void EvaluatePair(int side, int row, const HashKindFlags& enabled);
    // "○" and "×" back to "？" and every side unfinished (the enabled kinds changed)
    void ResetMarks();
    // the side's values and sizes go, its bytes too, its files unfinished, decided pairs back to "？"
    void Recheck(int side);
    // a kind switched off or on: its cells are empty on both sides
    void ClearKind(int kind);
    // the decided pairs whose both files are finished, decided again by the kinds enabled now (a kind went)
    void ReevaluatePairs(const HashKindFlags& enabled);
    // every file takes the state colour of its pair's mark (the colours were changed); blank sides stay blank
    void Recolour();

    // Tests: called with every value, percentage and size a check writes (field: a kind, or HashKind::Count for the
    // size), in the order they are written, under the model's lock. Set while no check runs.
    typedef std::function<void(int side, int row, int field, const std::wstring& text)> WriteObserver;
    void SetWriteObserver(const WriteObserver& observer);

    // ---- selection and the copy dialog's flags ----
    // The selection of a side after "select by kind": a mark (0 to 3), SelectKind::All or ::Inverse of selected.
    std::vector<bool> SelectByMark(int kind, const std::vector<bool>& selected) const;
    void SetChecked(int side, int row, bool checked);
    bool IsChecked(int side, int row) const;
    // every file of the side checked or not
    void SetAllChecked(int side, bool checked);

private:
    void Evaluate(int side, int row, const HashKindFlags& enabled);
    void MatchGaps(int side, const std::vector<PendingRecord>& pending, std::vector<std::pair<int, int>>& matches,
        std::vector<int>& remaining) const;
    static void Fill(Cell& cell, PendingRecord&& record);
    static CheckTexts& TextsOf(Cell& cell);
    void PutMark(Row& row, int mark);
    void Forget(int side, const Cell& cell);
    // view: a side, or MarkView
    void Touch(int view, int row) { Pending.Views[view].Add(row); }
    void TouchAll();
    bool Valid(int side, int row) const { return side >= 0 && side < 2 && row >= 0 && row < static_cast<int>(Rows.size()); }

    // the rows, the counters and the changed spans; never held while calling out
    mutable std::mutex Guard;
    size_t LargeBucket;
    std::vector<Row> Rows;
    std::array<int, PairMark::Count> MarkCounts;
    std::array<int, 2> FileCounts;
    std::array<uint64_t, 2> TotalSizes;
    Changes Pending;
    std::atomic<uint64_t> Version{0};
    WriteObserver Observer;
};
