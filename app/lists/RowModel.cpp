#include "app/lists/RowModel.h"

#include "app/lists/PairDecision.h"
#include "app/lists/SizeFormat.h"

#include <algorithm>

typedef std::lock_guard<std::mutex> Lock;

RowModel::RowModel(size_t largeBucket) : LargeBucket(largeBucket)
{
    MarkCounts.fill(0);
    FileCounts.fill(0);
    TotalSizes.fill(0);
}

namespace {

const std::wstring NoText;

} // namespace

// ---------------------------------------------------------------------------------------------------------------
// cells

RowModel::Cell::Cell(const Cell& other)
    : RegisteredFile(other), Texts(other.Texts ? new CheckTexts(*other.Texts) : nullptr), State(other.State),
      Icon(other.Icon), Finished(other.Finished), Unreadable(other.Unreadable), Checked(other.Checked)
{
}

RowModel::Cell& RowModel::Cell::operator=(const Cell& other)
{
    if (this != &other)
        *this = Cell(other);
    return *this;
}

const std::wstring& RowModel::Cell::Value(int kind) const
{
    return Texts && kind >= 0 && kind < HashKind::Count ? Texts->Values[kind] : NoText;
}

const std::wstring& RowModel::Cell::SizeText() const
{
    return Texts ? Texts->SizeText : NoText;
}

RowModel::CheckTexts& RowModel::TextsOf(Cell& cell)
{
    if (!cell.Texts)
        cell.Texts.reset(new CheckTexts());
    return *cell.Texts;
}

// ---------------------------------------------------------------------------------------------------------------
// rows

void RowModel::Fill(Cell& cell, PendingRecord&& record)
{
    cell = Cell();
    static_cast<RegisteredFile&>(cell) = std::move(record);
    cell.State = StateColour::Wait;
}

void RowModel::MatchGaps(int side, const std::vector<PendingRecord>& pending,
    std::vector<std::pair<int, int>>& matches, std::vector<int>& remaining) const
{
    const int other = 1 - side;
    std::vector<int> gaps;
    bool nameGaps = false;
    for (size_t row = 0; row < Rows.size(); ++row) {
        if (!Rows[row].Sides[other].IsBlank() && Rows[row].Sides[side].IsBlank()) {
            gaps.push_back(static_cast<int>(row));
            nameGaps = nameGaps || Rows[row].Sides[other].RelativeLength == 0;
        }
    }
    if (gaps.empty() || pending.empty()) {
        // every record is appended in its order; no index needed
        for (size_t record = 0; record < pending.size(); ++record)
            remaining.push_back(static_cast<int>(record));
        return;
    }
    PendingIndex index(pending, LargeBucket, nameGaps);
    for (int row : gaps) {
        const Cell& partner = Rows[row].Sides[other];
        const int record = index.TakeMatch(partner.RelativeKey(), partner.NameKey(), partner.PathKey);
        if (record >= 0)
            matches.push_back(std::make_pair(row, record));
    }
    remaining = index.Remaining();
}

RowModel::MergeResult RowModel::MergePending(int side, std::vector<PendingRecord> pending)
{
    MergeResult result;
    result.Side = side;
    if (side < 0 || side > 1)
        return result;
    Lock lock(Guard);
    std::vector<std::pair<int, int>> matches; // row, record
    std::vector<int> remaining;
    MatchGaps(side, pending, matches, remaining);

    for (const auto& match : matches) {
        Row& row = Rows[match.first];
        Fill(row.Sides[side], std::move(pending[match.second]));
        PutMark(row, PairMark::Unknown);
        Touch(side, match.first);
        Touch(MarkView, match.first);
        result.Filled.push_back(match.first);
    }
    const int alone = side == 0 ? PairMark::Left : PairMark::Right;
    Rows.reserve(Rows.size() + remaining.size());
    for (int record : remaining) {
        result.Appended.push_back(static_cast<int>(Rows.size()));
        Rows.emplace_back();
        Fill(Rows.back().Sides[side], std::move(pending[record]));
        PutMark(Rows.back(), alone);
    }
    if (!remaining.empty())
        Pending.RowCountChanged = true;
    FileCounts[side] += static_cast<int>(matches.size() + remaining.size());
    ++Version;
    return result;
}

void RowModel::PutMark(Row& row, int mark)
{
    if (row.Mark != PairMark::None)
        --MarkCounts[row.Mark];
    row.Mark = mark;
    if (mark != PairMark::None)
        ++MarkCounts[mark];
}

void RowModel::Forget(int side, const Cell& cell)
{
    if (cell.IsBlank())
        return; // a blank side counts for nothing
    if (FileCounts[side] > 0)
        --FileCounts[side];
    uint64_t size = 0;
    if (SizeFormat::Parse(cell.SizeText(), size))
        TotalSizes[side] = TotalSizes[side] > size ? TotalSizes[side] - size : 0;
}

void RowModel::RemoveRows(std::vector<int> rows)
{
    Lock lock(Guard);
    const int count = static_cast<int>(Rows.size());
    rows.erase(std::remove_if(rows.begin(), rows.end(), [count](int row) { return row < 0 || row >= count; }),
        rows.end());
    if (rows.empty())
        return;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    size_t next = 0;
    size_t kept = 0;
    for (size_t at = 0; at < Rows.size(); ++at) {
        if (next < rows.size() && rows[next] == static_cast<int>(at)) {
            ++next;
            for (int side = 0; side < 2; ++side)
                Forget(side, Rows[at].Sides[side]);
            PutMark(Rows[at], PairMark::None);
            continue;
        }
        if (kept != at)
            Rows[kept] = std::move(Rows[at]);
        ++kept;
    }
    Rows.resize(kept);
    TouchAll();
}

void RowModel::Clear()
{
    Lock lock(Guard);
    Rows.clear();
    Rows.shrink_to_fit();
    MarkCounts.fill(0);
    FileCounts.fill(0);
    TotalSizes.fill(0);
    TouchAll();
}

void RowModel::Stop()
{
    Lock lock(Guard);
    size_t kept = 0;
    for (size_t at = 0; at < Rows.size(); ++at) {
        Row& row = Rows[at];
        bool finished[2] = {false, false};
        bool blanked = false;
        for (int side = 0; side < 2; ++side) {
            Cell& cell = row.Sides[side];
            if (cell.IsBlank())
                continue;
            finished[side] = cell.Finished;
            if (finished[side])
                continue;
            Forget(side, cell);
            cell = Cell();
            blanked = true;
        }
        if (!finished[0] && !finished[1]) {
            PutMark(row, PairMark::None);
            continue;
        }
        if (blanked) {
            // the finished file has lost its partner: it now stands alone on its side; the blank side has no state
            const int side = finished[0] ? 0 : 1;
            PutMark(row, side == 0 ? PairMark::Left : PairMark::Right);
            row.Sides[side].State = side == 0 ? StateColour::Left : StateColour::Right;
        }
        if (kept != at)
            Rows[kept] = std::move(row);
        ++kept;
    }
    Rows.resize(kept);
    TouchAll();
}

// ---------------------------------------------------------------------------------------------------------------
// reading

int RowModel::RowCount() const
{
    Lock lock(Guard);
    return static_cast<int>(Rows.size());
}

RowModel::Row RowModel::GetRow(int row) const
{
    Lock lock(Guard);
    return Valid(0, row) ? Rows[row] : Row();
}

RowModel::Cell RowModel::GetCell(int side, int row) const
{
    Lock lock(Guard);
    return Valid(side, row) ? Rows[row].Sides[side] : Cell();
}

int RowModel::GetMark(int row) const
{
    Lock lock(Guard);
    return Valid(0, row) ? Rows[row].Mark : PairMark::None;
}

int RowModel::MarkCount(int mark) const
{
    Lock lock(Guard);
    return mark >= 0 && mark < PairMark::Count ? MarkCounts[mark] : 0;
}

int RowModel::FileCount(int side) const
{
    Lock lock(Guard);
    return side >= 0 && side < 2 ? FileCounts[side] : 0;
}

uint64_t RowModel::TotalSize(int side) const
{
    Lock lock(Guard);
    return side >= 0 && side < 2 ? TotalSizes[side] : 0;
}

void RowModel::TouchAll()
{
    Pending.RowCountChanged = true;
    for (Span& span : Pending.Views) {
        span = Span();
        if (!Rows.empty()) {
            span.First = 0;
            span.Last = static_cast<int>(Rows.size()) - 1;
        }
    }
    ++Version;
}

RowModel::Changes RowModel::TakeChanges()
{
    Lock lock(Guard);
    Changes taken = Pending;
    Pending = Changes();
    return taken;
}

// ---------------------------------------------------------------------------------------------------------------
// checking

bool RowModel::BeginCheck(int side, int row, const HashKindFlags& kinds, CheckJob& job)
{
    Lock lock(Guard);
    if (!Valid(side, row))
        return false;
    Cell& cell = Rows[row].Sides[side];
    // checked and judged with the kinds shown: a re-check and a kind switched on clear the flag (and the cells)
    if (cell.IsBlank() || cell.Finished)
        return false;
    job = CheckJob();
    bool needed = false;
    for (int kind = 0; kind < HashKind::Count; ++kind) {
        // a cell that says its file could not be read holds no value: the file is read again
        job.Compute[kind] = kinds[kind] && (cell.Value(kind).empty() || cell.Value(kind) == HashText::Unreadable);
        needed = needed || job.Compute[kind];
    }
    // a side whose size is shown was counted when it was first checked (a re-check empties it and the total)
    // (the "0" of a file that could not be opened counted nothing)
    job.SizeShown = !cell.SizeText().empty() && !cell.Unreadable;
    if (!needed && job.SizeShown)
        return false;
    job.Path = cell.Path;
    job.Imported = cell.Imported;
    cell.State = StateColour::Check;
    Touch(side, row);
    ++Version;
    return true;
}

void RowModel::AddBytes(int side, uint64_t bytes)
{
    Lock lock(Guard);
    if (side >= 0 && side < 2)
        TotalSizes[side] += bytes;
}

void RowModel::SetValue(int side, int row, int kind, const std::wstring& text)
{
    Lock lock(Guard);
    if (!Valid(side, row) || kind < 0 || kind >= HashKind::Count || Rows[row].Sides[side].IsBlank())
        return;
    TextsOf(Rows[row].Sides[side]).Values[kind] = text;
    if (Observer)
        Observer(side, row, kind, text);
    Touch(side, row);
    ++Version;
}

void RowModel::SetSizeText(int side, int row, const std::wstring& text)
{
    Lock lock(Guard);
    if (!Valid(side, row) || Rows[row].Sides[side].IsBlank())
        return;
    TextsOf(Rows[row].Sides[side]).SizeText = text;
    if (Observer)
        Observer(side, row, HashKind::Count, text);
    Touch(side, row);
    ++Version;
}

void RowModel::SetState(int side, int row, int state)
{
    Lock lock(Guard);
    if (!Valid(side, row))
        return;
    Rows[row].Sides[side].State = state;
    Touch(side, row);
    ++Version;
}

void RowModel::EvaluatePair(int side, int row, const HashKindFlags& enabled)
{
    Lock lock(Guard);
    Evaluate(side, row, enabled);
    ++Version;
}

void RowModel::Evaluate(int side, int row, const HashKindFlags& enabled)
{
    if (!Valid(side, row) || Rows[row].Sides[side].IsBlank())
        return;
    Row& pair = Rows[row];
    Cell& own = pair.Sides[side];
    Cell& other = pair.Sides[1 - side];
    own.Finished = true;
    const bool otherFinished = !other.IsBlank() && other.Finished;
    PairCells ownCells, otherCells;
    // the texts are copied only when there is something to compare
    if (pair.Mark == PairMark::Unknown && otherFinished) {
        for (int kind = 0; kind < HashKind::Count; ++kind) {
            if (!enabled[kind])
                continue;
            ownCells.HashTexts[kind] = own.Value(kind);
            otherCells.HashTexts[kind] = other.Value(kind);
        }
        ownCells.SizeText = own.SizeText();
        otherCells.SizeText = other.SizeText();
        ownCells.Unreadable = own.Unreadable;
        otherCells.Unreadable = other.Unreadable;
    }
    const PairDecision decision = DecidePair(pair.Mark, otherFinished, enabled, ownCells, otherCells);
    switch (decision.What) {
    case PairDecision::ColourOwnRow:
        own.State = decision.ColourIndex;
        break;
    case PairDecision::ColourBothRows:
        own.State = decision.ColourIndex;
        other.State = decision.ColourIndex;
        PutMark(pair, decision.Mark);
        Touch(1 - side, row);
        Touch(MarkView, row);
        break;
    default:
        break;
    }
    Touch(side, row);
}

void RowModel::SetWriteObserver(const WriteObserver& observer)
{
    Lock lock(Guard);
    Observer = observer;
}

void RowModel::SetIcon(int side, int row, int icon)
{
    Lock lock(Guard);
    if (Valid(side, row))
        Rows[row].Sides[side].Icon = icon;
}

void RowModel::SetUnreadable(int side, int row, bool unreadable)
{
    Lock lock(Guard);
    if (Valid(side, row) && !Rows[row].Sides[side].IsBlank())
        Rows[row].Sides[side].Unreadable = unreadable;
}

void RowModel::SetMark(int row, int mark)
{
    Lock lock(Guard);
    if (!Valid(0, row) || mark < PairMark::None || mark >= PairMark::Count)
        return;
    PutMark(Rows[row], mark);
    Touch(MarkView, row);
    ++Version;
}

void RowModel::ReevaluatePairs(const HashKindFlags& enabled)
{
    Lock lock(Guard);
    for (size_t at = 0; at < Rows.size(); ++at) {
        Row& row = Rows[at];
        if ((row.Mark != PairMark::Ok && row.Mark != PairMark::Ng) || !row.Sides[0].Finished ||
            !row.Sides[1].Finished)
            continue;
        PutMark(row, PairMark::Unknown);
        Touch(MarkView, static_cast<int>(at));
        Evaluate(0, static_cast<int>(at), enabled);
    }
    ++Version;
}

void RowModel::Recolour()
{
    static const int colourOf[PairMark::Count] = {StateColour::Ok, StateColour::Ng, StateColour::Left,
                                                  StateColour::Right, StateColour::Wait};
    Lock lock(Guard);
    for (Row& row : Rows)
        for (Cell& cell : row.Sides)
            if (!cell.IsBlank())
                cell.State = row.Mark == PairMark::None ? StateColour::Wait : colourOf[row.Mark];
    TouchAll();
}

void RowModel::ResetMarks()
{
    Lock lock(Guard);
    for (Row& row : Rows) {
        if (row.Mark == PairMark::Ok || row.Mark == PairMark::Ng)
            PutMark(row, PairMark::Unknown);
        for (Cell& cell : row.Sides)
            cell.Finished = false;
    }
    TouchAll();
}

void RowModel::Recheck(int side)
{
    if (side < 0 || side > 1)
        return;
    Lock lock(Guard);
    for (Row& row : Rows) {
        Cell& cell = row.Sides[side];
        if (cell.IsBlank())
            continue;
        cell.Texts.reset();
        cell.Finished = false;
        cell.Unreadable = false;
        if (row.Mark == PairMark::Ok || row.Mark == PairMark::Ng)
            PutMark(row, PairMark::Unknown);
    }
    TotalSizes[side] = 0;
    TouchAll();
}

void RowModel::ClearKind(int kind)
{
    if (kind < 0 || kind >= HashKind::Count)
        return;
    Lock lock(Guard);
    for (Row& row : Rows)
        for (Cell& cell : row.Sides)
            if (cell.Texts)
                cell.Texts->Values[kind].clear();
    TouchAll();
}

// ---------------------------------------------------------------------------------------------------------------
// selection and check flags

std::vector<bool> RowModel::SelectByMark(int kind, const std::vector<bool>& selected) const
{
    Lock lock(Guard);
    std::vector<bool> result(Rows.size(), false);
    for (size_t row = 0; row < Rows.size(); ++row) {
        const bool was = row < selected.size() && selected[row];
        if (kind == SelectKind::All)
            result[row] = true;
        else if (kind == SelectKind::Inverse)
            result[row] = !was;
        else if (kind >= PairMark::Ok && kind <= PairMark::Right)
            result[row] = Rows[row].Mark == kind;
        else
            result[row] = was;
    }
    return result;
}

void RowModel::SetChecked(int side, int row, bool checked)
{
    Lock lock(Guard);
    if (!Valid(side, row) || Rows[row].Sides[side].IsBlank())
        return;
    Rows[row].Sides[side].Checked = checked;
    Touch(side, row);
    ++Version;
}

bool RowModel::IsChecked(int side, int row) const
{
    Lock lock(Guard);
    return Valid(side, row) && Rows[row].Sides[side].Checked;
}

void RowModel::SetAllChecked(int side, bool checked)
{
    if (side < 0 || side > 1)
        return;
    Lock lock(Guard);
    for (Row& row : Rows)
        if (!row.Sides[side].IsBlank())
            row.Sides[side].Checked = checked;
    TouchAll();
}
