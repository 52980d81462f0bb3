#include "app/lists/PendingIndex.h"

namespace {

// lists written outside Windows separate folders with "/": both separate components alike
const wchar_t* const Separators = L"\\/";
const size_t None = std::wstring_view::npos;

// start of the component that ends just before position end
size_t ComponentStart(std::wstring_view path, size_t end)
{
    if (end == 0)
        return 0;
    size_t separator = path.find_last_of(Separators, end - 1);
    return separator == None ? 0 : separator + 1;
}

size_t LastComponentLength(std::wstring_view path)
{
    size_t separator = path.find_last_of(Separators);
    return separator == None ? path.size() : path.size() - separator - 1;
}

// calls visit with each component before the last one, nearest first
template <typename Visit>
void ForEachLeadingComponent(std::wstring_view path, Visit visit)
{
    size_t separator = path.find_last_of(Separators);
    while (separator != None) {
        size_t start = ComponentStart(path, separator);
        visit(path.substr(start, separator - start));
        separator = start == 0 ? None : start - 1;
    }
}

} // namespace

size_t PendingIndex::CommonTrailingLength(std::wstring_view recordPath, std::wstring_view gapPath)
{
    size_t length = LastComponentLength(recordPath);
    size_t recordEnd = recordPath.find_last_of(Separators);
    size_t gapEnd = gapPath.find_last_of(Separators);
    while (recordEnd != None && gapEnd != None) {
        size_t recordStart = ComponentStart(recordPath, recordEnd);
        size_t gapStart = ComponentStart(gapPath, gapEnd);
        if (recordPath.substr(recordStart, recordEnd - recordStart) != gapPath.substr(gapStart, gapEnd - gapStart))
            break;
        length += recordEnd - recordStart + 1;
        recordEnd = recordStart == 0 ? None : recordStart - 1;
        gapEnd = gapStart == 0 ? None : gapStart - 1;
    }
    return length;
}

PendingIndex::PendingIndex(const std::vector<PendingRecord>& records, size_t largeBucket, bool nameGaps)
    : Records(records), LargeBucket(largeBucket), Items(records.size())
{
    ByOrder.reserve(records.size());
    size_t withRelative = 0;
    for (const PendingRecord& record : records)
        withRelative += record.RelativeLength > 0 ? 1 : 0;
    SizeTable(ByRelativeKey, withRelative, false);
    SizeTable(ByNameWithRelative, nameGaps ? withRelative : 0, true);
    SizeTable(ByNameOnly, records.size() - withRelative, true);
    Buckets.reserve(records.size() + (nameGaps ? withRelative : 0));
    for (size_t i = 0; i < records.size(); ++i) {
        int record = static_cast<int>(i);
        Items[i].Order = i;
        ByOrder.push_back(record);
        if (records[i].RelativeLength > 0) {
            Items[i].Buckets[0] = AddToBucket(ByRelativeKey, record);
            if (nameGaps)
                Items[i].Buckets[1] = AddToBucket(ByNameWithRelative, record);
        } else {
            Items[i].Buckets[0] = AddToBucket(ByNameOnly, record);
        }
    }
    for (Bucket& bucket : Buckets) {
        if (bucket.Entries.size() > LargeBucket)
            MakeLarge(bucket);
    }
}

void PendingIndex::SizeTable(KeyTable& table, size_t keys, bool byName)
{
    table.ByName = byName;
    if (keys == 0)
        return;
    size_t slots = 16;
    while (slots < 2 * keys)
        slots *= 2;
    table.Slots.assign(slots, -1);
}

std::wstring_view PendingIndex::KeyOf(const KeyTable& table, int record) const
{
    return table.ByName ? Records[record].NameKey() : Records[record].RelativeKey();
}

int PendingIndex::FindBucket(const KeyTable& table, std::wstring_view key) const
{
    if (table.Slots.empty())
        return -1;
    const size_t mask = table.Slots.size() - 1;
    for (size_t slot = std::hash<std::wstring_view>()(key) & mask;; slot = (slot + 1) & mask) {
        const int bucket = table.Slots[slot];
        if (bucket < 0 || KeyOf(table, Buckets[bucket].KeyRecord) == key)
            return bucket;
    }
}

int PendingIndex::AddToBucket(KeyTable& table, int record)
{
    const std::wstring_view key = KeyOf(table, record);
    const size_t mask = table.Slots.size() - 1;
    size_t slot = std::hash<std::wstring_view>()(key) & mask;
    while (table.Slots[slot] >= 0 && KeyOf(table, Buckets[table.Slots[slot]].KeyRecord) != key)
        slot = (slot + 1) & mask;
    if (table.Slots[slot] < 0) {
        table.Slots[slot] = static_cast<int>(Buckets.size());
        Buckets.emplace_back();
        Buckets.back().KeyRecord = record;
    }
    const int bucket = table.Slots[slot];
    Buckets[bucket].Entries.push_back(Entry(Items[record].Order, record));
    return bucket;
}

bool PendingIndex::IsCurrent(const Entry& entry) const
{
    const Item& item = Items[entry.second];
    return item.Pending && item.Order == entry.first;
}

void PendingIndex::Insert(int bucketIndex, int record)
{
    Bucket& bucket = Buckets[bucketIndex];
    if (bucket.Large()) {
        InsertIntoTree(bucket, record);
        return;
    }
    bucket.Entries.push_back(Entry(Items[record].Order, record));
    // records that move to the end leave stale entries behind
    if (bucket.Entries.size() > 2 * LargeBucket + 1) {
        Compact(bucket);
        if (bucket.Entries.size() > LargeBucket)
            MakeLarge(bucket);
    }
}

void PendingIndex::Compact(Bucket& bucket)
{
    std::vector<Entry> current;
    for (const Entry& entry : bucket.Entries) {
        if (IsCurrent(entry))
            current.push_back(entry);
    }
    bucket.Entries.swap(current);
}

void PendingIndex::MakeLarge(Bucket& bucket)
{
    bucket.Roots = static_cast<int>(RootLists.size());
    RootLists.emplace_back();
    std::vector<Entry> entries;
    entries.swap(bucket.Entries);
    for (const Entry& entry : entries) {
        if (IsCurrent(entry))
            InsertIntoTree(bucket, entry.second);
    }
}

void PendingIndex::InsertIntoTree(Bucket& bucket, int record)
{
    std::wstring_view path(Records[record].PathKey);
    size_t last = LastComponentLength(path);
    int node = -1;
    RootList& roots = RootLists[bucket.Roots];
    for (const auto& root : roots) {
        if (root.first == last)
            node = root.second;
    }
    if (node < 0) {
        node = static_cast<int>(Nodes.size());
        Nodes.emplace_back();
        roots.push_back(std::make_pair(last, node));
    }
    Entry entry(Items[record].Order, record);
    Nodes[node].push(entry);
    ForEachLeadingComponent(path, [&](std::wstring_view component) {
        auto inserted = Edges.emplace(EdgeKey{node, component}, static_cast<int>(Nodes.size()));
        if (inserted.second)
            Nodes.emplace_back();
        node = inserted.first->second;
        Nodes[node].push(entry);
    });
}

bool PendingIndex::FirstLonger(int bucketIndex, const GapPath& gap, long long shortest, Candidate& found)
{
    Bucket& bucket = Buckets[bucketIndex];
    if (bucket.Large())
        return FirstLongerInTree(bucket, gap, shortest, found);
    for (const Entry& entry : bucket.Entries) {
        if (!IsCurrent(entry))
            continue;
        size_t length = CommonTrailingLength(Records[entry.second].PathKey, gap.Path);
        if (static_cast<long long>(length) > shortest) {
            found = Candidate{entry.first, entry.second, length};
            return true;
        }
    }
    return false;
}

bool PendingIndex::FirstLongerInTree(Bucket& bucket, const GapPath& gap, long long shortest, Candidate& found)
{
    bool any = false;
    for (const auto& root : RootLists[bucket.Roots]) {
        // below the node of k shared components every record is longer than shortest, and no record elsewhere is
        size_t k = 0;
        while (k < gap.Added.size() && static_cast<long long>(root.first + gap.Added[k]) <= shortest)
            ++k;
        if (k == gap.Added.size())
            continue;
        int node = root.second;
        for (size_t i = 0; i < k && node >= 0; ++i) {
            auto edge = Edges.find(EdgeKey{node, gap.Components[i]});
            node = edge == Edges.end() ? -1 : edge->second;
        }
        if (node < 0)
            continue;
        EntryHeap& heap = Nodes[node];
        while (!heap.empty() && !IsCurrent(heap.top()))
            heap.pop();
        if (!heap.empty() && (!any || heap.top().first < found.Order)) {
            found = Candidate{heap.top().first, heap.top().second, 0};
            any = true;
        }
    }
    if (any)
        found.Length = CommonTrailingLength(Records[found.Record].PathKey, gap.Path);
    return any;
}

void PendingIndex::MoveToEnd(int record)
{
    Items[record].Order = ByOrder.size();
    ByOrder.push_back(record);
    for (int bucket : Items[record].Buckets) {
        if (bucket >= 0)
            Insert(bucket, record);
    }
}

int PendingIndex::TakeMatch(std::wstring_view relativeKey, std::wstring_view nameKey, std::wstring_view pathKey)
{
    int buckets[2];
    if (!relativeKey.empty()) {
        buckets[0] = FindBucket(ByRelativeKey, relativeKey);
        buckets[1] = FindBucket(ByNameOnly, nameKey);
    } else {
        buckets[0] = FindBucket(ByNameOnly, nameKey);
        buckets[1] = FindBucket(ByNameWithRelative, nameKey);
    }
    if (buckets[0] < 0 && buckets[1] < 0)
        return -1;

    // the gap's buffers are kept from gap to gap
    GapPath& gap = Gap;
    gap.Path = pathKey;
    gap.Components.clear();
    gap.Added.assign(1, 0);
    ForEachLeadingComponent(gap.Path, [&](std::wstring_view component) {
        gap.Components.push_back(component);
        gap.Added.push_back(gap.Added.back() + component.size() + 1);
    });

    // each step finds the first record, in pending order, that is longer than the one held so far
    long long shortest = -1;
    int taken = -1;
    std::vector<int> passed;
    for (;;) {
        Candidate best{0, -1, 0};
        for (int bucket : buckets) {
            Candidate candidate;
            if (bucket >= 0 && FirstLonger(bucket, gap, shortest, candidate)
                && (best.Record < 0 || candidate.Order < best.Order))
                best = candidate;
        }
        if (best.Record < 0)
            break;
        if (taken >= 0)
            passed.push_back(taken);
        taken = best.Record;
        shortest = static_cast<long long>(best.Length);
    }
    if (taken >= 0)
        Items[taken].Pending = false;
    for (int record : passed)
        MoveToEnd(record);
    return taken;
}

std::vector<int> PendingIndex::Remaining() const
{
    std::vector<int> remaining;
    for (size_t order = 0; order < ByOrder.size(); ++order) {
        const Item& item = Items[ByOrder[order]];
        if (item.Pending && item.Order == order)
            remaining.push_back(ByOrder[order]);
    }
    return remaining;
}
