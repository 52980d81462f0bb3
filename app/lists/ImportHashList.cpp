#include "app/lists/ImportHashList.h"

#include "app/lists/FileListView.h"
#include "app/lists/HashListParser.h"
#include "app/lists/KeyCase.h"
#include "app/lists/PendingRecord.h"
#include "app/lists/ListHost.h"
#include "app/lists/RowModel.h"
#include "kit/core/SettingsNode.h"
#include "kit/ui/Window.h"
#include "kit/core/Path.h"
#include "kit/core/File.h"
#include "resources/resource.h"

#include <algorithm>

namespace {

const wchar_t* const KindKeys[HashKind::Count] = {L"Crc32", L"Md5", L"Sha1"};
// the header menu's toggles, which switch a kind on together with its column
const int KindCommands[HashKind::Count] = {ID_HEADER_CRC32, ID_HEADER_MD5, ID_HEADER_SHA1};

// a list's first meaningful line lies well within this; a large file that is no list is not read whole
const size_t ProbeBytes = 64 * 1024;

// the whole file; false when it cannot be read, or its first bytes already rule a list out
bool ReadList(const std::wstring& path, const std::wstring& extension, std::string& bytes)
{
    kit::File file;
    if (!file.OpenRead(path) || file.GetSize() > MaxHashListBytes)
        return false;
    const size_t size = static_cast<size_t>(file.GetSize());
    bytes.resize(std::min(size, ProbeBytes));
    if (file.Read(&bytes[0], bytes.size()) != bytes.size())
        return false;
    if (HashListParser::Probe(extension, bytes, bytes.size() == size) == HashListGrammar::None)
        return false;
    const size_t head = bytes.size();
    bytes.resize(size);
    // a list cut short by a failed read is not taken
    return file.Read(&bytes[0] + head, size - head) == size - head;
}

// as the header menu's toggle does; should no handler take the command, the setting and column are set here so
// the list's values are not dropped into a hidden column
void SwitchKindOn(ListHost& main, int kind)
{
    SendMessageW(main.GetOwnerWindow().Handle, WM_COMMAND, MAKEWPARAM(KindCommands[kind], 0), 0);
    if (main.GetSettings().GetBool(KindKeys[kind], false))
        return;
    main.GetSettings().SetBool(KindKeys[kind], true);
    main.BuildColumns();
    main.PublishSettings();
}

} // namespace

bool ImportHashList(const std::wstring& path, FileListView& list)
{
    const std::wstring extension = kit::FindExtension(path);
    if (!HashListParser::IsListExtension(extension))
        return false;
    std::string bytes;
    if (!ReadList(path, extension, bytes))
        return false;
    ListHost* main = list.Main;
    HashKindFlags enabled;
    for (int kind = 0; kind < HashKind::Count; ++kind)
        enabled[kind] = main->GetSettings().GetBool(KindKeys[kind], false);
    const HashListImport import = HashListParser::ParseFile(extension, bytes, enabled, &kit::ToWide);
    if (!import.Accepted)
        return false;
    for (int kind = 0; kind < HashKind::Count; ++kind)
        if (import.SwitchOn[kind] && !main->GetSettings().GetBool(KindKeys[kind], false))
            SwitchKindOn(*main, kind);
    for (const HashListEntry& entry : import.Entries)
        list.Pending.push_back(PendingRecord::ForListEntry(entry, &KeyCase::Lower));
    return true;
}
