// The grammars of the hash lists that can be registered in place of the files they list: SFV, the column-aligned
// text form that the list output writes, comma- or tab-separated fields, the md5sum/sha1sum form, the BSD tag form
// and hashdeep's. ParseFile takes a file's whole contents, decides its encoding and grammar, and returns the entries;
// the caller turns them into pending records.
#pragma once

#include "app/lists/HashText.h"
#include "app/lists/TextCodec.h"

#include <string>
#include <vector>

enum class HashListGrammar { None, Sfv, Text, Csv, Tsv, Sum, Tag, Hashdeep };

// how a list file's bytes were read: ANSI (the system code page), UTF-8 (with or without byte-order mark), UTF-16
enum class HashListEncoding { Ansi, Utf8, Utf16 };

struct HashListEntry {
    // the name as written in the list (a path or a file name)
    std::wstring Name;
    // upper-case values; empty for a kind the entry does not carry
    std::array<std::wstring, HashKind::Count> HashTexts;
    // "-" when the list gives no size; otherwise the size, with commas between groups of three digits as the list
    // wrote them (text form) or as inserted here (csv, tsv, hashdeep)
    std::wstring SizeText;
};

struct HashListImport {
    HashListGrammar Grammar = HashListGrammar::None;
    HashListEncoding Encoding = HashListEncoding::Ansi;
    // true when the whole list was read and gave at least one entry; otherwise Entries is empty and the file is to
    // be registered as an ordinary file
    bool Accepted = false;
    std::vector<HashListEntry> Entries;
    // the kinds that a list other than SFV carries while they are switched off: the caller switches them on before
    // the entries become rows
    HashKindFlags SwitchOn = {};
};

class HashListParser {
public:
    // ".sfv", ".crc", ".csv", ".tsv", ".txt", ".md5" or ".sha1", in any case
    static bool IsListExtension(const std::wstring& extension);
    // the grammar for a file with that extension whose first meaningful (not blank) line is probe; None when it is
    // no hash list
    static HashListGrammar ChooseGrammar(const std::wstring& extension, const std::string& probe);
    // The grammar from the first bytes of a file, so that a large file that is no list is not read whole. complete
    // tells that head is the whole file; otherwise its last, perhaps partial, line is not looked at.
    static HashListGrammar Probe(const std::wstring& extension, const std::string& head, bool complete);
    // Reads a whole list file. bytes are its contents; the encoding is a byte-order mark's (UTF-8, UTF-16 LE or
    // BE), else UTF-8 when the bytes are valid UTF-8 with non-ASCII in them, else the ANSI code page, which
    // ansiToWide converts. enabled tells which kinds are switched on (an SFV value counts only for a kind that is
    // on). Never throws.
    static HashListImport ParseFile(const std::wstring& extension, const std::string& bytes,
        const HashKindFlags& enabled, const TextCodec::ToWideFunction& ansiToWide);
    // Reads the lines of a list whose bytes toWide converts (line ends removed). Never throws.
    static HashListImport Parse(const std::wstring& extension, const std::vector<std::string>& lines,
        const HashKindFlags& enabled, const TextCodec::ToWideFunction& toWide);
    // the lines of a file's bytes: LF, CR LF, CR and Ctrl-Z end a line; a last line without end still counts
    static std::vector<std::string> SplitLines(const std::string& bytes);
};
