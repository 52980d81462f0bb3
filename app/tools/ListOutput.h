// The list output's layouts (column-aligned text, csv, tsv, SFV, md5sum, sha1sum) built from one side's rows, and
// the bytes of a file in the chosen encoding. The dialog reads the rows and its options and shows or writes the
// result; this class only builds it.
#pragma once

#include "app/lists/HashText.h"
#include "app/lists/PairMarks.h"
#include "app/lists/TextCodec.h"

#include <array>
#include <string>
#include <vector>

// md5sum and sha1sum: "VALUE *name" lines, the form "md5sum -c" and "sha1sum -c" check
enum class ListLayout { Text, Csv, Tsv, Sfv, Md5sum, Sha1sum };

// the bytes of a list file: the system ANSI code page (with "?" for what it cannot hold), or UTF-8 with or without
// its byte-order mark; the order is the one of the dialog's drop-down list
enum class ListEncoding { Ansi, Utf8Bom, Utf8 };

// how the name column writes a file's path
enum class ListNames { FullPath, RelativePath, FileName };

// one row of the side list as the output reads it
struct ListOutputRow {
    std::wstring Path;         // column 0 text; empty in a blank row, which is never written
    std::wstring RelativeKey;  // from the row's ItemInfo
    std::wstring ImportedSize; // the ItemInfo's SizeText: not empty for an entry of an imported list
    std::array<std::wstring, HashKind::Count> HashCells; // the hash columns' texts
    std::wstring SizeCell;     // the size column's text
    int Mark = PairMark::None; // the pair's mark; a row without one is never written
};

struct ListOutputOptions {
    ListLayout Layout = ListLayout::Text;
    ListNames Names = ListNames::RelativePath;
    std::array<bool, PairMark::Count> Marks = {{true, true, true, true, true}}; // rows written, by mark
    HashKindFlags HashChecked = {{true, true, true}}; // the dialog's column check boxes
    HashKindFlags KindEnabled = {{true, false, false}}; // the kinds switched on in the settings
    bool Header = true;
    bool Footer = true;
};

struct ListOutputText {
    // the output for the clipboard and the sample, with every name as the list shows it
    std::wstring Text;
    // the same output in the ANSI code page, for a file
    std::string Ansi;
    // rows written
    int Rows = 0;
    // rows whose texts the code page cannot represent exactly (Ansi holds replacements for them), and the first
    // MaxReportedNames of their names
    int Unrepresentable = 0;
    std::vector<std::wstring> UnrepresentableNames;
};

class ListOutput {
public:
    static constexpr size_t MaxReportedNames = 5;

    // The output of the rows up to limit written rows (all when limit is negative). Column widths are counted in
    // ANSI bytes, so the text form lines up in a font where a double-byte character is twice as wide.
    static ListOutputText Build(const std::vector<ListOutputRow>& rows, const ListOutputOptions& options, int limit,
        const TextCodec& codec);

    // the bytes of a file in an encoding
    static std::string Encode(const ListOutputText& output, ListEncoding encoding);

    // the save dialog's filter index (1 *.txt, 2 *.crc, 3 *.csv, 4 *.sfv, 5 *.md5, 6 *.sha1) for a layout, given
    // the stored one
    static int FilterIndexFor(ListLayout layout, int storedIndex);
    // the default extension, without dot, of a filter index
    static std::wstring DefaultExtension(int filterIndex);
};
