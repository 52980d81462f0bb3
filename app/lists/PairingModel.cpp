#include "app/lists/PairingModel.h"

#include <algorithm>

PairingModel::PairingModel(size_t largeBucket) : LargeBucket(largeBucket)
{
    MarkCounts.fill(0);
}

void PairingModel::Fill(Cell& cell, const PendingRecord& record)
{
    cell.Path = record.Path;
    cell.RelativeKey = record.RelativeKey;
    cell.NameKey = record.NameKey;
    cell.PathKey = record.PathKey;
}

void PairingModel::MatchGaps(int side, const std::vector<PendingRecord>& pending,
    std::vector<std::pair<int, int>>& matches, std::vector<int>& remaining) const
{
    int other = 1 - side;
    std::vector<int> gaps;
    for (size_t row = 0; row < Rows.size(); ++row) {
        if (!Rows[row].Sides[other].IsBlank() && Rows[row].Sides[side].IsBlank())
            gaps.push_back(static_cast<int>(row));
    }
    if (gaps.empty() || pending.empty()) {
        // every record is appended in its order; no index needed
        for (size_t record = 0; record < pending.size(); ++record)
            remaining.push_back(static_cast<int>(record));
        return;
    }
    PendingIndex index(pending, LargeBucket);
    for (int row : gaps) {
        const Cell& partner = Rows[row].Sides[other];
        int record = index.TakeMatch(partner.RelativeKey, partner.NameKey, partner.PathKey);
        if (record >= 0)
            matches.push_back(std::make_pair(row, record));
    }
    remaining = index.Remaining();
}

PairingModel::MergeResult PairingModel::MergePending(int side, std::vector<PendingRecord> pending)
{
    std::vector<std::pair<int, int>> matches; // row, record
    std::vector<int> remaining;
    MatchGaps(side, pending, matches, remaining);

    MergeResult result;
    result.Side = side;
    for (const auto& match : matches) {
        Fill(Rows[match.first].Sides[side], pending[match.second]);
        SetMark(match.first, PairMark::Unknown);
        result.Filled.push_back(Placement{match.first, std::move(pending[match.second])});
    }
    int alone = side == 0 ? PairMark::Left : PairMark::Right;
    for (int record : remaining) {
        int row = RowCount();
        Rows.emplace_back();
        Fill(Rows.back().Sides[side], pending[record]);
        SetMark(row, alone);
        result.Appended.push_back(Placement{row, std::move(pending[record])});
    }
    return result;
}

void PairingModel::SetMark(int row, int mark)
{
    Row& target = Rows[row];
    if (target.Mark != PairMark::None)
        --MarkCounts[target.Mark];
    target.Mark = mark;
    if (mark != PairMark::None)
        ++MarkCounts[mark];
}

std::vector<int> PairingModel::ResetMarks()
{
    std::vector<int> changed;
    for (int row = 0; row < RowCount(); ++row) {
        int mark = Rows[row].Mark;
        if (mark == PairMark::Ok || mark == PairMark::Ng) {
            SetMark(row, PairMark::Unknown);
            changed.push_back(row);
        }
    }
    return changed;
}

void PairingModel::BlankCell(int side, int row)
{
    Rows[row].Sides[side] = Cell();
}

void PairingModel::RemoveRows(std::vector<int> rows)
{
    rows.erase(std::remove_if(rows.begin(), rows.end(), [this](int row) { return row < 0 || row >= RowCount(); }),
        rows.end());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    size_t next = 0;
    size_t kept = 0;
    for (size_t row = 0; row < Rows.size(); ++row) {
        if (next < rows.size() && rows[next] == static_cast<int>(row)) {
            ++next;
            SetMark(static_cast<int>(row), PairMark::None);
            continue;
        }
        if (kept != row)
            Rows[kept] = std::move(Rows[row]);
        ++kept;
    }
    Rows.resize(kept);
}

void PairingModel::Clear()
{
    Rows.clear();
    MarkCounts.fill(0);
}
