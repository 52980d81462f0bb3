#include "app/lists/PendingRecord.h"

#include "kit/core/Path.h"

#include <algorithm>

namespace {

const std::wstring NoText;

} // namespace

const std::wstring& RegisteredFile::ImportedHash(int kind) const
{
    return Imported && kind >= 0 && kind < HashKind::Count ? Imported->HashTexts[kind] : NoText;
}

const std::wstring& RegisteredFile::ImportedSize() const
{
    return Imported ? Imported->SizeText : NoText;
}

void RegisteredFile::SetKeys(const std::function<std::wstring(const std::wstring&)>& lower)
{
    PathKey = lower(Path);
    NameLength = static_cast<uint32_t>(kit::FindFileName(PathKey).size());
}

PendingRecord PendingRecord::ForFile(const std::wstring& path, const std::wstring& baseFolder,
    const LowerFunction& lower)
{
    PendingRecord record;
    record.Path = path;
    record.SetKeys(lower);
    record.RelativeLength =
        static_cast<uint32_t>(record.PathKey.size() - std::min(baseFolder.size(), record.PathKey.size()));
    return record;
}

PendingRecord PendingRecord::ForListEntry(const HashListEntry& entry, const LowerFunction& lower)
{
    PendingRecord record;
    record.Path = entry.Name;
    record.SetKeys(lower);
    auto imported = std::make_shared<ImportedValues>();
    imported->HashTexts = entry.HashTexts;
    imported->SizeText = entry.SizeText;
    record.Imported = std::move(imported);
    return record;
}
