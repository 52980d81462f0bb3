#include "app/tools/ListOutput.h"

#include "app/lists/SizeFormat.h"
#include "app/lists/UnicodeText.h"
#include "kit/core/Path.h"

#include <algorithm>
#include <limits>

namespace {

const int NameColumn = -1;
const int SizeColumn = HashKind::Count;
const char* const HashTitles[HashKind::Count] = {"CRC32", "MD5", "SHA-1"};

struct Column {
    std::string Title;
    size_t Width;
    bool RightAligned;
    int Source; // NameColumn, a hash kind or SizeColumn
};

// a text in both forms: as shown, and as the ANSI bytes it becomes
struct Cell {
    std::wstring Wide;
    std::string Bytes;
};

struct OutputRow {
    Cell Name;
    std::array<Cell, HashKind::Count> Hashes;
    Cell Size;
    bool Lossy = false;
    // an md5sum line whose name is escaped starts with "\\"
    bool Escaped = false;
};

// appends to the wide text and the ANSI bytes together
class Writer {
public:
    void Put(const Cell& cell)
    {
        Result.Text += cell.Wide;
        Result.Ansi += cell.Bytes;
    }
    void PutAscii(const std::string& text)
    {
        Result.Text.append(text.begin(), text.end());
        Result.Ansi += text;
    }
    void Repeat(char c, size_t count) { PutAscii(std::string(count, c)); }
    // the cell and spaces up to a field of width characters; a longer cell is written whole
    void PutPadded(const Cell& cell, size_t width)
    {
        Put(cell);
        if (cell.Bytes.size() < width)
            Repeat(' ', width - cell.Bytes.size());
    }
    void PutAsciiField(const std::string& text, size_t width)
    {
        std::string field = text.substr(0, width);
        field.resize(width, ' ');
        PutAscii(field);
    }
    void EndLine() { PutAscii("\r\n"); }

    ListOutputText Result;
};

std::wstring RowName(const ListOutputRow& row, ListNames names)
{
    if (names == ListNames::FullPath || !row.ImportedSize.empty())
        return row.Path;
    if (names == ListNames::RelativePath) {
        size_t length = row.RelativeKey.size();
        // a row without relative key keeps its whole path rather than becoming nameless
        if (length == 0 || length > row.Path.size())
            return row.Path;
        return row.Path.substr(row.Path.size() - length);
    }
    return kit::FindFileName(row.Path);
}

Cell MakeCell(const std::wstring& text, const TextCodec& codec, bool& lossy)
{
    // hash values and sizes are ASCII, which every ANSI code page holds as it is
    bool ascii = true;
    for (wchar_t c : text)
        ascii = ascii && c > 0 && c < 0x80;
    if (ascii)
        return Cell{text, std::string(text.begin(), text.end())};
    bool replaced = false;
    Cell cell{text, codec.ToNarrow(text, replaced)};
    lossy = lossy || replaced;
    return cell;
}

// the kind an md5sum or sha1sum layout writes; -1 for the other layouts
int SumKindOf(ListLayout layout)
{
    if (layout == ListLayout::Md5sum)
        return HashKind::Md5;
    if (layout == ListLayout::Sha1sum)
        return HashKind::Sha1;
    return -1;
}

// md5sum's escape of a name that holds a line end: "\\", "\n" and "\r". On ANSI bytes it escapes a trail byte 0x5C
// of a double-byte character too, as md5sum itself does on such a name.
template <typename Text>
Text EscapeSumName(const Text& name)
{
    Text escaped;
    for (auto c : name) {
        typedef decltype(c) Char;
        if (c == Char('\\') || c == Char('\n') || c == Char('\r'))
            escaped += Char('\\');
        escaped += c == Char('\n') ? Char('n') : c == Char('\r') ? Char('r') : c;
    }
    return escaped;
}

// A row of an md5sum or sha1sum layout: its value, then the name with "/" between folders (what the tools outside
// Windows expect; their Windows ports take both). A row without a value of the kind (not checked yet, or
// unreadable) has no line in such a list.
bool MakeSumRow(const ListOutputRow& row, const ListOutputOptions& options, const TextCodec& codec, OutputRow& out)
{
    const int kind = SumKindOf(options.Layout);
    if (!options.KindEnabled[kind] || !HashText::Matches(kind, row.HashCells[kind]))
        return false;
    std::wstring name = RowName(row, options.Names);
    std::replace(name.begin(), name.end(), L'\\', L'/');
    out.Name = MakeCell(name, codec, out.Lossy);
    out.Escaped = name.find_first_of(L"\r\n") != std::wstring::npos;
    if (out.Escaped) {
        out.Name.Wide = EscapeSumName(out.Name.Wide);
        out.Name.Bytes = EscapeSumName(out.Name.Bytes);
    }
    out.Hashes[kind] = MakeCell(row.HashCells[kind], codec, out.Lossy);
    return true;
}

std::vector<OutputRow> SelectRows(const std::vector<ListOutputRow>& rows, const ListOutputOptions& options, int limit,
    const TextCodec& codec)
{
    std::vector<OutputRow> selected;
    for (const ListOutputRow& row : rows) {
        if (limit >= 0 && selected.size() >= static_cast<size_t>(limit))
            break;
        if (row.Path.empty() || row.Mark < 0 || row.Mark >= PairMark::Count || !options.Marks[row.Mark])
            continue;
        OutputRow out;
        if (SumKindOf(options.Layout) >= 0) {
            if (MakeSumRow(row, options, codec, out))
                selected.push_back(std::move(out));
            continue;
        }
        out.Name = MakeCell(RowName(row, options.Names), codec, out.Lossy);
        for (int kind = 0; kind < HashKind::Count; ++kind)
            out.Hashes[kind] = MakeCell(row.HashCells[kind], codec, out.Lossy);
        out.Size = MakeCell(row.SizeCell, codec, out.Lossy);
        selected.push_back(std::move(out));
    }
    return selected;
}

std::vector<Column> MakeColumns(const std::vector<OutputRow>& rows, const ListOutputOptions& options)
{
    size_t nameWidth = 0;
    size_t sizeWidth = 0;
    if (options.Layout == ListLayout::Text || options.Layout == ListLayout::Sfv) {
        for (const OutputRow& row : rows) {
            nameWidth = std::max(nameWidth, row.Name.Bytes.size());
            sizeWidth = std::max(sizeWidth, row.Size.Bytes.size());
        }
    }
    std::vector<Column> columns;
    columns.push_back(Column{"Name", nameWidth, false, NameColumn});
    for (int kind = 0; kind < HashKind::Count; ++kind) {
        if (options.HashChecked[kind] && options.KindEnabled[kind])
            columns.push_back(Column{HashTitles[kind], HashText::DigitCount(kind), false, kind});
    }
    columns.push_back(Column{"Bytes", sizeWidth, true, SizeColumn});
    return columns;
}

char SeparatorOf(ListLayout layout)
{
    return layout == ListLayout::Tsv ? '\t' : ',';
}

void WriteTitle(Writer& out, const std::vector<Column>& columns, ListLayout layout)
{
    for (const Column& column : columns) {
        if (column.RightAligned)
            out.PutAscii(column.Title);
        else if (layout == ListLayout::Text)
            out.PutAsciiField(column.Title, column.Width + 2);
        else
            out.PutAscii(column.Title + SeparatorOf(layout));
    }
    out.EndLine();
    if (layout != ListLayout::Text)
        return;
    for (size_t i = 0; i < columns.size(); ++i) {
        if (i > 0)
            out.Repeat(' ', 2);
        out.Repeat('-', columns[i].Width);
    }
    out.EndLine();
}

const Cell& CellOf(const OutputRow& row, const Column& column)
{
    if (column.Source == NameColumn)
        return row.Name;
    if (column.Source == SizeColumn)
        return row.Size;
    return row.Hashes[column.Source];
}

// SFV writes the name and the first hash column only, never the size
std::vector<Column> UsedColumns(const std::vector<Column>& columns, ListLayout layout)
{
    if (layout != ListLayout::Sfv)
        return columns;
    std::vector<Column> used(columns.begin(), columns.begin() + 1);
    if (columns.size() > 2)
        used.push_back(columns[1]);
    return used;
}

struct Totals {
    int Files = 0;
    uint64_t Bytes = 0;

    void Add(const std::wstring& size)
    {
        ++Files;
        uint64_t value = 0;
        // "-" and any text that is no size count as 0 bytes
        if (!SizeFormat::Parse(size, value))
            return;
        Bytes = value > std::numeric_limits<uint64_t>::max() - Bytes ? std::numeric_limits<uint64_t>::max()
                                                                     : Bytes + value;
    }
};

void WriteAlignedRow(Writer& out, const OutputRow& row, const std::vector<Column>& used, size_t gap, Totals& totals)
{
    for (size_t i = 0; i < used.size(); ++i) {
        const Cell& cell = CellOf(row, used[i]);
        if (used[i].RightAligned) {
            if (cell.Bytes.size() < used[i].Width)
                out.Repeat(' ', used[i].Width - cell.Bytes.size());
            out.Put(cell);
            totals.Add(cell.Wide);
        } else if (i + 1 < used.size()) {
            out.PutPadded(cell, used[i].Width + gap);
        } else {
            out.Put(cell);
        }
    }
}

void WriteSeparatedRow(Writer& out, const OutputRow& row, const std::vector<Column>& used, char separator)
{
    for (const Column& column : used) {
        const Cell& cell = CellOf(row, column);
        if (column.RightAligned) {
            out.Put(Cell{SizeFormat::RemoveCommas(cell.Wide), SizeFormat::RemoveCommas(cell.Bytes)});
            continue;
        }
        // inner quotes are not doubled: a Windows file name cannot hold one
        bool quote = cell.Bytes.find(separator) != std::string::npos;
        if (quote)
            out.PutAscii("\"");
        out.Put(cell);
        out.PutAscii(quote ? std::string("\"") + separator : std::string(1, separator));
    }
}

void WriteFooter(Writer& out, const std::vector<Column>& columns, const Totals& totals)
{
    size_t width = 0;
    for (const Column& column : columns)
        width += column.Width;
    out.Repeat('-', width + 2 * (columns.size() - 1));
    out.EndLine();
    out.PutAscii("Total  " + std::to_string(totals.Files) + " Files  "
        + SizeFormat::GroupDigits(std::to_string(totals.Bytes)) + " Bytes");
    out.EndLine();
}

} // namespace

ListOutputText ListOutput::Build(const std::vector<ListOutputRow>& rows, const ListOutputOptions& options, int limit,
    const TextCodec& codec)
{
    std::vector<OutputRow> selected = SelectRows(rows, options, limit, codec);
    Writer out;
    if (selected.empty())
        return out.Result;
    std::vector<Column> columns = MakeColumns(selected, options);
    std::vector<Column> used = UsedColumns(columns, options.Layout);
    const bool titled = options.Layout == ListLayout::Text || options.Layout == ListLayout::Csv
        || options.Layout == ListLayout::Tsv;
    if (options.Header && titled)
        WriteTitle(out, columns, options.Layout);

    Totals totals;
    for (const OutputRow& row : selected) {
        switch (options.Layout) {
        case ListLayout::Text:
            WriteAlignedRow(out, row, used, 2, totals);
            break;
        case ListLayout::Sfv:
            WriteAlignedRow(out, row, used, 1, totals);
            break;
        case ListLayout::Csv:
        case ListLayout::Tsv:
            WriteSeparatedRow(out, row, used, SeparatorOf(options.Layout));
            break;
        case ListLayout::Md5sum:
        case ListLayout::Sha1sum:
            // "*": the binary mode, in which the tools read the file as the program did, byte for byte
            if (row.Escaped)
                out.PutAscii("\\");
            out.Put(row.Hashes[SumKindOf(options.Layout)]);
            out.PutAscii(" *");
            out.Put(row.Name);
            break;
        }
        out.EndLine();
        if (row.Lossy) {
            if (out.Result.UnrepresentableNames.size() < MaxReportedNames)
                out.Result.UnrepresentableNames.push_back(row.Name.Wide);
            ++out.Result.Unrepresentable;
        }
    }
    if (options.Footer && options.Layout == ListLayout::Text)
        WriteFooter(out, columns, totals);
    out.Result.Rows = static_cast<int>(selected.size());
    return out.Result;
}

int ListOutput::FilterIndexFor(ListLayout layout, int storedIndex)
{
    switch (layout) {
    case ListLayout::Text:
        return storedIndex == 1 || storedIndex == 2 ? storedIndex : 1;
    case ListLayout::Csv:
    case ListLayout::Tsv:
        return 3;
    case ListLayout::Sfv:
        return 4;
    case ListLayout::Md5sum:
        return 5;
    case ListLayout::Sha1sum:
        return 6;
    }
    return 1;
}

std::string ListOutput::Encode(const ListOutputText& output, ListEncoding encoding)
{
    switch (encoding) {
    case ListEncoding::Utf8Bom:
        return UnicodeText::Utf8Bom + UnicodeText::WideToUtf8(output.Text);
    case ListEncoding::Utf8:
        return UnicodeText::WideToUtf8(output.Text);
    case ListEncoding::Ansi:
        break;
    }
    return output.Ansi;
}

std::wstring ListOutput::DefaultExtension(int filterIndex)
{
    switch (filterIndex) {
    case 2:
        return L"crc";
    case 3:
        return L"csv";
    case 4:
        return L"sfv";
    case 5:
        return L"md5";
    case 6:
        return L"sha1";
    default:
        return L"txt";
    }
}
