// The grammars of the hash lists that can be registered in place of the files they list: SFV, the column-aligned
// text form that the list output writes, and comma- or tab-separated fields. The caller reads the file's lines
// (bytes in the ANSI code page, line ends removed) and turns the entries into pending records.
#pragma once

#include "app/lists/HashText.h"
#include "app/lists/TextCodec.h"

#include <string>
#include <vector>

enum class HashListGrammar { None, Sfv, Text, Csv, Tsv };

struct HashListEntry {
    // the name as written in the list (a path or a file name)
    std::wstring Name;
    // upper-case values; empty for a kind the entry does not carry
    std::array<std::wstring, HashKind::Count> HashTexts;
    // "-" when the list gives no size; otherwise the size, with commas between groups of three digits as the list
    // wrote them (text form) or as inserted here (csv, tsv)
    std::wstring SizeText;
};

struct HashListImport {
    HashListGrammar Grammar = HashListGrammar::None;
    // true when the whole list was read and gave at least one entry; otherwise Entries is empty and the file is to
    // be registered as an ordinary file
    bool Accepted = false;
    std::vector<HashListEntry> Entries;
    // the kinds that a csv or tsv list carries while they are switched off: the caller switches them on before the
    // entries become rows
    HashKindFlags SwitchOn = {};
};

class HashListParser {
public:
    // ".sfv", ".crc", ".csv" or ".txt", in any case
    static bool IsListExtension(const std::wstring& extension);
    // the grammar for a file with that extension whose first line is probe; None when it is no hash list
    static HashListGrammar ChooseGrammar(const std::wstring& extension, const std::string& probe);
    // Reads a whole list. extension is the file's (with its dot); enabled tells which kinds are switched on (an SFV
    // value counts only for a kind that is on). Never throws.
    static HashListImport Parse(const std::wstring& extension, const std::vector<std::string>& lines,
        const HashKindFlags& enabled, const TextCodec::ToWideFunction& toWide);
};
