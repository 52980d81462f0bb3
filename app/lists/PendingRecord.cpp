#include "app/lists/PendingRecord.h"

#include "kit/core/Path.h"

#include <algorithm>

PendingRecord PendingRecord::ForFile(const std::wstring& path, const std::wstring& baseFolder,
    const LowerFunction& lower)
{
    PendingRecord record;
    record.Path = path;
    record.PathKey = lower(path);
    record.NameKey = kit::FindFileName(record.PathKey);
    record.RelativeKey = record.PathKey.substr(std::min(baseFolder.size(), record.PathKey.size()));
    return record;
}

PendingRecord PendingRecord::ForListEntry(const HashListEntry& entry, const LowerFunction& lower)
{
    PendingRecord record;
    record.Path = entry.Name;
    record.PathKey = lower(entry.Name);
    record.NameKey = kit::FindFileName(record.PathKey);
    record.HashTexts = entry.HashTexts;
    record.SizeText = entry.SizeText;
    return record;
}
