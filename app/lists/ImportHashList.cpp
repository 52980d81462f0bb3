#include "app/lists/ImportHashList.h"

#include "app/lists/FileListView.h"
#include "app/lists/HashListParser.h"
#include "app/lists/KeyCase.h"
#include "app/lists/PendingRecord.h"
#include "app/shell/Juxta.h"
#include "kit/core/Path.h"
#include "kit/core/TextFile.h"
#include "resources/resource.h"

#include <vector>

namespace {

const wchar_t* const KindKeys[HashKind::Count] = {L"Crc32", L"Md5", L"Sha1"};
// the header menu's toggles, which switch a kind on together with its column
const int KindCommands[HashKind::Count] = {ID_HEADER_CRC32, ID_HEADER_MD5, ID_HEADER_SHA1};

// every line of the file; false when it cannot be read or its first line already rules a list out
bool ReadLines(const std::wstring& path, const std::wstring& extension, std::vector<std::string>& lines)
{
    kit::TextFile file;
    if (!file.OpenRead(path) || file.GetSize() > MaxHashListBytes)
        return false;
    std::string line;
    if (file.ReadLine(line) < 0 || HashListParser::ChooseGrammar(extension, line) == HashListGrammar::None)
        return false;
    do
        lines.push_back(line);
    while (file.ReadLine(line) >= 0);
    // a read that failed before the end looks like the end to ReadLine; a list cut short is not taken
    return file.GetRemaining() == 0;
}

// as the header menu's toggle does; should no handler take the command, the setting and column are set here so
// the list's values are not dropped into a hidden column
void SwitchKindOn(Juxta& main, int kind)
{
    SendMessageW(main.Handle, WM_COMMAND, MAKEWPARAM(KindCommands[kind], 0), 0);
    if (main.Settings.GetBool(KindKeys[kind], false))
        return;
    main.Settings.SetBool(KindKeys[kind], true);
    main.BuildColumns();
    main.PublishSettings();
}

} // namespace

bool ImportHashList(const std::wstring& path, FileListView& list)
{
    const std::wstring extension = kit::FindExtension(path);
    if (!HashListParser::IsListExtension(extension))
        return false;
    std::vector<std::string> lines;
    if (!ReadLines(path, extension, lines))
        return false;
    Juxta* main = list.Main;
    HashKindFlags enabled;
    for (int kind = 0; kind < HashKind::Count; ++kind)
        enabled[kind] = main->Settings.GetBool(KindKeys[kind], false);
    const HashListImport import = HashListParser::Parse(extension, lines, enabled, &kit::ToWide);
    if (!import.Accepted)
        return false;
    for (int kind = 0; kind < HashKind::Count; ++kind)
        if (import.SwitchOn[kind] && !main->Settings.GetBool(KindKeys[kind], false))
            SwitchKindOn(*main, kind);
    for (const HashListEntry& entry : import.Entries)
        list.Pending.push_back(PendingRecord::ForListEntry(entry, &KeyCase::Lower));
    // each entry stands for a registered file in the status bar's count
    list.FileCount += static_cast<int32_t>(import.Entries.size());
    return true;
}
