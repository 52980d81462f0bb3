// The pending records of one merge, indexed by relative key and by name key, so that each gap of the other side
// finds its record without walking the whole pending list.
//
// The result is the one of the plain walk: for each gap, walk the pending list from its head; a record matches when
// both relative keys are non-empty and equal, or, when either is empty, when the name keys are equal; the first
// match is taken out of the list, and a later match whose common trailing path is longer takes its place while the
// one it displaces goes back to the tail of the list. In pending order the taken record is the first one with the
// longest common trailing path; the ones displaced on the way are the successive longest-so-far matches before it.
#pragma once

#include "app/lists/PendingRecord.h"

#include <cstdint>
#include <functional>
#include <queue>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class PendingIndex {
public:
    // a bucket of records sharing a key is searched one by one up to this size, through a path tree above it
    static constexpr size_t DefaultLargeBucket = 48;

    // The records are indexed in their order; they must outlive the index and stay in place. A record with a relative
    // key is indexed by its name too only when nameGaps says that some gap has no relative key (only such a gap
    // looks it up by name), which saves a bucket per record in the common merge of two folders.
    PendingIndex(const std::vector<PendingRecord>& records, size_t largeBucket = DefaultLargeBucket,
        bool nameGaps = true);

    // The record that the gap (the other side's keys of that row) takes, or -1. The record leaves the pending order;
    // records passed over on the way move to its end.
    // nameGaps must have been set if relativeKey is empty.
    int TakeMatch(std::wstring_view relativeKey, std::wstring_view nameKey, std::wstring_view pathKey);

    // the records still pending, in pending order
    std::vector<int> Remaining() const;

    // Length of the common trailing path of two lower-cased paths: the record's last component, then the components
    // equal in both, walking back from the next-to-last ones (components split at "\" or "/", joined with either).
    static size_t CommonTrailingLength(std::wstring_view recordPath, std::wstring_view gapPath);

private:
    typedef std::pair<uint64_t, int> Entry; // order, record
    typedef std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> EntryHeap;

    struct Item {
        uint64_t Order = 0;
        bool Pending = true;
        int Buckets[2] = {-1, -1};
    };

    // A large bucket is a tree over the records' path components, last but one first, under one root per length
    // of the last component: all records below a node share that many trailing components.
    struct Bucket {
        std::vector<Entry> Entries; // small bucket, in pending order, stale ones included
        int KeyRecord = -1;         // a record whose key is the bucket's
        int Roots = -1;             // a large bucket's roots in RootLists; -1 for a small bucket
        bool Large() const { return Roots >= 0; }
    };
    typedef std::vector<std::pair<size_t, int>> RootList; // last component length, node

    // the buckets by key: open addressing over the bucket numbers, the keys read from the records (a record per
    // bucket costs a few bytes, not a map node)
    struct KeyTable {
        std::vector<int> Slots; // bucket or -1; a power of two, at most half full
        bool ByName = false;
    };

    struct EdgeKey {
        int Parent;
        std::wstring_view Component;
        bool operator==(const EdgeKey& other) const
        {
            return Parent == other.Parent && Component == other.Component;
        }
    };
    struct EdgeHash {
        size_t operator()(const EdgeKey& key) const
        {
            return std::hash<std::wstring_view>()(key.Component) * 31 + static_cast<size_t>(key.Parent);
        }
    };

    struct Candidate {
        uint64_t Order;
        int Record;
        size_t Length;
    };

    // the gap's components before its last one, nearest first, and the path length that matching k of them adds
    struct GapPath {
        std::wstring_view Path;
        std::vector<std::wstring_view> Components;
        std::vector<size_t> Added;
    };

    void SizeTable(KeyTable& table, size_t keys, bool byName);
    std::wstring_view KeyOf(const KeyTable& table, int record) const;
    int FindBucket(const KeyTable& table, std::wstring_view key) const;
    int AddToBucket(KeyTable& table, int record);
    void Insert(int bucket, int record);
    void InsertIntoTree(Bucket& bucket, int record);
    void MakeLarge(Bucket& bucket);
    void Compact(Bucket& bucket);
    bool IsCurrent(const Entry& entry) const;
    bool FirstLonger(int bucket, const GapPath& gap, long long shortest, Candidate& found);
    bool FirstLongerInTree(Bucket& bucket, const GapPath& gap, long long shortest, Candidate& found);
    void MoveToEnd(int record);

    const std::vector<PendingRecord>& Records; // not owned
    size_t LargeBucket;
    std::vector<Item> Items;
    std::vector<int> ByOrder; // record at each order number ever given
    std::vector<Bucket> Buckets;
    std::vector<RootList> RootLists;
    KeyTable ByRelativeKey;      // records with a relative key
    KeyTable ByNameWithRelative; // the same records by name key
    KeyTable ByNameOnly;         // records without a relative key, by name key
    std::vector<EntryHeap> Nodes;
    GapPath Gap;
    std::unordered_map<EdgeKey, int, EdgeHash> Edges;
};
