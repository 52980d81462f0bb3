// The merge in its plain form, step by step: collect the gaps, walk the whole pending list for each gap,
// fill, append. Quadratic, and kept plain on purpose: the tests and the merge benchmark hold RowModel against it.
#pragma once

#include "app/lists/PendingRecord.h"

#include <list>
#include <string>
#include <utility>
#include <vector>

namespace reference {

struct Cell {
    std::wstring Text;        // column 0
    std::wstring RelativeKey; // from the row's ItemInfo
    bool Finished = false;
};

struct Row {
    Cell Sides[2];
    int Mark = -1;
};

struct MergeResult {
    std::vector<std::pair<int, PendingRecord>> Filled;
    std::vector<std::pair<int, PendingRecord>> Appended;
};

inline std::wstring Lower(const std::wstring& text)
{
    std::wstring lower(text);
    for (wchar_t& c : lower) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return lower;
}

// PathFindFileNameW: a "\", "/" or ":" starts a new name unless the text ends there or another slash follows
inline std::wstring FileNamePart(const std::wstring& path)
{
    size_t start = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        wchar_t c = path[i];
        if ((c == L'\\' || c == L'/' || c == L':') && i + 1 < path.size() && path[i + 1] != L'\\'
            && path[i + 1] != L'/')
            start = i + 1;
    }
    return path.substr(start);
}

// "\" and "/" both separate folders
inline std::vector<std::wstring> SplitAtSeparators(const std::wstring& path)
{
    std::vector<std::wstring> parts(1);
    for (wchar_t c : path) {
        if (c == L'\\' || c == L'/')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

inline std::wstring CommonTrailingPath(const std::wstring& recordPath, const std::wstring& gapPath)
{
    std::vector<std::wstring> record = SplitAtSeparators(recordPath);
    std::vector<std::wstring> gap = SplitAtSeparators(gapPath);
    std::wstring suffix = record.back();
    long long i = static_cast<long long>(record.size()) - 2;
    long long j = static_cast<long long>(gap.size()) - 2;
    while (i >= 0 && j >= 0 && record[i] == gap[j]) {
        suffix = record[i] + L"\\" + suffix;
        --i;
        --j;
    }
    return suffix;
}

class Lists {
public:
    std::vector<Row> Rows;
    int MarkCounts[5] = {0, 0, 0, 0, 0};

    void SetMark(int row, int mark)
    {
        if (Rows[row].Mark >= 0)
            --MarkCounts[Rows[row].Mark];
        Rows[row].Mark = mark;
        ++MarkCounts[mark];
    }

    MergeResult MergePending(int side, std::list<PendingRecord> pending)
    {
        int other = 1 - side;
        struct Gap {
            int Row;
            std::wstring RelativeKey, NameKey, PathKey, Best;
            bool HasMatch = false;
            PendingRecord Match;
        };
        // 2. collect the gaps
        std::vector<Gap> gaps;
        for (size_t r = 0; r < Rows.size(); ++r) {
            const Cell& partner = Rows[r].Sides[other];
            if (!partner.Text.empty() && Rows[r].Sides[side].Text.empty()) {
                Gap gap;
                gap.Row = static_cast<int>(r);
                gap.RelativeKey = partner.RelativeKey;
                gap.NameKey = Lower(FileNamePart(partner.Text));
                gap.PathKey = Lower(partner.Text);
                gaps.push_back(gap);
            }
        }
        // 3. walk the pending list for each gap
        for (Gap& gap : gaps) {
            for (auto it = pending.begin(); it != pending.end();) {
                bool matches = !it->RelativeKey().empty() && !gap.RelativeKey.empty()
                    ? it->RelativeKey() == gap.RelativeKey
                    : it->NameKey() == gap.NameKey;
                if (!matches) {
                    ++it;
                    continue;
                }
                std::wstring suffix = CommonTrailingPath(it->PathKey, gap.PathKey);
                if (!gap.HasMatch || suffix.size() > gap.Best.size()) {
                    PendingRecord taken = *it;
                    it = pending.erase(it);
                    if (gap.HasMatch)
                        pending.push_back(gap.Match);
                    gap.Match = taken;
                    gap.HasMatch = true;
                    gap.Best = suffix;
                } else {
                    ++it;
                }
            }
        }
        MergeResult result;
        // 4. fill the gaps that found a record
        for (const Gap& gap : gaps) {
            if (!gap.HasMatch)
                continue;
            Rows[gap.Row].Sides[side] = Cell{gap.Match.Path, std::wstring(gap.Match.RelativeKey())};
            SetMark(gap.Row, 4);
            result.Filled.push_back(std::make_pair(gap.Row, gap.Match));
        }
        // 5. append the rest
        for (const PendingRecord& record : pending) {
            Rows.emplace_back();
            Rows.back().Sides[side] = Cell{record.Path, std::wstring(record.RelativeKey())};
            int row = static_cast<int>(Rows.size()) - 1;
            SetMark(row, side == 0 ? 2 : 3);
            result.Appended.push_back(std::make_pair(row, record));
        }
        return result;
    }

    // a finished check with nothing to compare: an undecided pair whose other side is done turns "○"
    void Finish(int side, int row)
    {
        Row& pair = Rows[row];
        if (pair.Sides[side].Text.empty())
            return;
        pair.Sides[side].Finished = true;
        if (pair.Mark == 4 && pair.Sides[1 - side].Finished)
            SetMark(row, 0);
    }

    // unfinished sides blanked, pairs where neither finished removed, a file that lost its partner alone
    void Stop()
    {
        for (int row = static_cast<int>(Rows.size()) - 1; row >= 0; --row) {
            bool finished[2] = {false, false};
            bool blanked = false;
            for (int side = 0; side < 2; ++side) {
                Cell& cell = Rows[row].Sides[side];
                if (cell.Text.empty())
                    continue;
                finished[side] = cell.Finished;
                if (!cell.Finished) {
                    cell = Cell();
                    blanked = true;
                }
            }
            if (!finished[0] && !finished[1])
                RemoveRow(row);
            else if (blanked)
                SetMark(row, finished[0] ? 2 : 3);
        }
    }

    void RemoveRow(int row)
    {
        if (Rows[row].Mark >= 0)
            --MarkCounts[Rows[row].Mark];
        Rows.erase(Rows.begin() + row);
    }
};

} // namespace reference
