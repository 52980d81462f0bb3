#include "app/tools/OutputDialog.h"

#include "app/lists/FileListView.h"
#include "app/lists/RowModel.h"
#include "app/tools/Clipboard.h"
#include "app/tools/ToolHost.h"
#include "kit/core/File.h"
#include "kit/core/Path.h"
#include "kit/core/SettingsNode.h"
#include "kit/ui/CheckBox.h"
#include "kit/ui/ComboBox.h"
#include "kit/ui/EditBox.h"
#include "kit/ui/FileDialog.h"
#include "kit/ui/Font.h"
#include "kit/ui/RadioButton.h"
#include "resources/resource.h"

#include <algorithm>
#include <iterator>

const std::array<OutputDialog::Control, 24> OutputDialog::Controls = {{
    {IDC_OUTPUT_LEFT_LIST, L"LeftList", 0},
    {IDC_OUTPUT_RIGHT_LIST, L"RightList", 0},
    {IDC_OUTPUT_TO_FILE, L"File", 1},
    {IDC_OUTPUT_TO_CLIPBOARD, L"ClipBoard", 0},
    {IDC_OUTPUT_WINCRC, L"WinCrc", 1},
    {IDC_OUTPUT_CSV, L"Csv", 0},
    {IDC_OUTPUT_TSV, L"Tsv", 0},
    {IDC_OUTPUT_SFV, L"Sfv", 0},
    {IDC_OUTPUT_MD5SUM, L"Md5sum", 0},
    {IDC_OUTPUT_SHA1SUM, L"Sha1sum", 0},
    {IDC_OUTPUT_FULL_PATH, L"FullPath", 0},
    {IDC_OUTPUT_RELATIVE_PATH, L"RelativePath", 1},
    {IDC_OUTPUT_FILE_NAME, L"OnlyFileName", 0},
    {IDC_OUTPUT_OK, L"Ok", 1},
    {IDC_OUTPUT_NG, L"Ng", 1},
    {IDC_OUTPUT_LEFT, L"Left", 1},
    {IDC_OUTPUT_RIGHT, L"Right", 1},
    {IDC_OUTPUT_UNKNOWN, L"Unknown", 1},
    {IDC_OUTPUT_CRC32, L"Crc32", 1},
    {IDC_OUTPUT_MD5, L"Md5", 1},
    {IDC_OUTPUT_SHA1, L"Sha1", 1},
    {IDC_OUTPUT_HEADER, L"Header", 1},
    {IDC_OUTPUT_FOOTER, L"Footer", 1},
    {IDC_OUTPUT_NO_MESSAGE, L"Message", 0},
}};

const std::array<int, 5> OutputDialog::SampleLimits = {{0, 5, 10, 20, -1}};

const wchar_t* const OutputDialog::FileFilter =
    L"テキストファイル　(*.txt)\0*.txt\0"
    L"CRCファイル　(*.crc)\0*.crc\0"
    L"CSVファイル　(*.csv)\0*.csv\0"
    L"SFVファイル　(*.sfv)\0*.sfv\0"
    L"MD5ファイル　(*.md5)\0*.md5\0"
    L"SHA1ファイル　(*.sha1)\0*.sha1\0"
    L"すべててのファイル(*.*)\0*.*\0";

const std::array<const wchar_t*, 3> OutputDialog::EncodingTexts = {{L"ANSI", L"UTF-8 (BOM付き)", L"UTF-8"}};

namespace {

const wchar_t* const SampleLineTexts[] = {L"表示しない", L"5ファイル", L"10ファイル", L"20ファイル", L"全て表示する"};
const int MarkBoxes[PairMark::Count] = {IDC_OUTPUT_OK, IDC_OUTPUT_NG, IDC_OUTPUT_LEFT, IDC_OUTPUT_RIGHT,
    IDC_OUTPUT_UNKNOWN};
const int KindBoxes[HashKind::Count] = {IDC_OUTPUT_CRC32, IDC_OUTPUT_MD5, IDC_OUTPUT_SHA1};
// names listed in the completion message when some could not be written exactly
const size_t ListedNames = 5;

// the layout radios in the dialog's order, and the layouts they stand for
const int LayoutRadios[] = {IDC_OUTPUT_WINCRC, IDC_OUTPUT_CSV, IDC_OUTPUT_TSV, IDC_OUTPUT_SFV, IDC_OUTPUT_MD5SUM,
    IDC_OUTPUT_SHA1SUM};
const ListLayout RadioLayouts[] = {ListLayout::Text, ListLayout::Csv, ListLayout::Tsv, ListLayout::Sfv,
    ListLayout::Md5sum, ListLayout::Sha1sum};

bool IsRadio(int id)
{
    return id == IDC_OUTPUT_LEFT_LIST || id == IDC_OUTPUT_RIGHT_LIST || id == IDC_OUTPUT_TO_FILE
        || id == IDC_OUTPUT_TO_CLIPBOARD || std::find(std::begin(LayoutRadios), std::end(LayoutRadios), id)
        != std::end(LayoutRadios) || id == IDC_OUTPUT_FULL_PATH || id == IDC_OUTPUT_RELATIVE_PATH
        || id == IDC_OUTPUT_FILE_NAME;
}

// the clicks that change the sample
bool ChangesSample(int id)
{
    return (id >= IDC_OUTPUT_CRC32 && id <= IDC_OUTPUT_FOOTER) || (id >= IDC_OUTPUT_CSV && id <= IDC_OUTPUT_FILE_NAME)
        || (id >= IDC_OUTPUT_LEFT_LIST && id <= IDC_OUTPUT_OK) || (id >= IDC_OUTPUT_HEADER && id <= IDC_OUTPUT_SFV)
        || id == IDC_OUTPUT_MD5SUM || id == IDC_OUTPUT_SHA1SUM;
}

// The UTF-8 that the offer writes: with the byte-order mark, by which Windows programs know UTF-8, except where
// md5sum and sha1sum would take the mark for part of the first line.
ListEncoding Utf8For(ListLayout layout)
{
    return layout == ListLayout::Md5sum || layout == ListLayout::Sha1sum ? ListEncoding::Utf8 : ListEncoding::Utf8Bom;
}

// the first names of the files that ANSI cannot hold, one a line, and "…" when there are more
std::wstring ListUnrepresentable(const ListOutputText& output, size_t most)
{
    std::wstring names;
    const size_t listed = std::min(output.UnrepresentableNames.size(), most);
    for (size_t i = 0; i < listed; ++i)
        names += L"\n" + output.UnrepresentableNames[i];
    if (static_cast<size_t>(output.Unrepresentable) > listed)
        names += L"\n…";
    return names;
}

TextCodec WindowsCodec()
{
    TextCodec codec;
    codec.ToWide = [](const std::string& text) { return kit::ToWide(text); };
    codec.ToNarrow = [](const std::wstring& text, bool& lossy) {
        bool usedDefault = false;
        std::string bytes = kit::ToNarrow(text, &usedDefault);
        // best-fit mappings do not use the default character but still change the name
        lossy = usedDefault || kit::ToWide(bytes) != text;
        return bytes;
    };
    return codec;
}

} // namespace

OutputDialog::OutputDialog(ToolHost& main) : Main(main) {}

OutputDialog::~OutputDialog() = default;

INT_PTR OutputDialog::Run()
{
    return DoModal(IDD_OUTPUT, &Main.GetOwnerWindow());
}

kit::SettingsNode& OutputDialog::Section() const
{
    return Main.GetSettings().Child(L"Output");
}

kit::CheckBox* OutputDialog::GetControl(int id) const
{
    for (size_t i = 0; i < Controls.size(); ++i)
        if (Controls[i].Id == id)
            return Boxes[i].get();
    return nullptr;
}

bool OutputDialog::IsChecked(int id) const
{
    kit::CheckBox* box = GetControl(id);
    return box && box->IsChecked();
}

LRESULT OutputDialog::OnInitDialog(WPARAM, LPARAM)
{
    AttachControls();
    LoadStates();
    const bool left = Main.GetCurrentSide() == 0;
    GetControl(IDC_OUTPUT_LEFT_LIST)->SetChecked(left);
    GetControl(IDC_OUTPUT_RIGHT_LIST)->SetChecked(!left);
    const HashKindFlags enabled = Main.GetEnabledKinds();
    for (int kind = 0; kind < HashKind::Count; ++kind)
        EnableWindow(GetControl(KindBoxes[kind])->Handle, enabled[kind]);
    // a stored md5sum or sha1sum layout whose kind is off now falls back to the text layout
    const ListLayout layout = GetOptions().Layout;
    if ((layout == ListLayout::Md5sum && !enabled[HashKind::Md5])
        || (layout == ListLayout::Sha1sum && !enabled[HashKind::Sha1])) {
        for (int radio : LayoutRadios)
            GetControl(radio)->SetChecked(radio == IDC_OUTPUT_WINCRC);
    }
    UpdateEnabled();
    SetUpSampleFont();
    UpdateSample();
    return TRUE;
}

void OutputDialog::AttachControls()
{
    for (size_t i = 0; i < Controls.size(); ++i) {
        if (IsRadio(Controls[i].Id))
            Boxes[i] = kit::RadioButton::Attach(this, Controls[i].Id);
        else
            Boxes[i] = kit::CheckBox::Attach(this, Controls[i].Id);
    }
    SampleLines = kit::ComboBox::Attach(this, IDC_OUTPUT_SAMPLE_LINES);
    Sample = kit::EditBox::Attach(this, IDC_OUTPUT_SAMPLE);
    for (const wchar_t* text : SampleLineTexts)
        SampleLines->AddString(text);
    Encoding = kit::ComboBox::Attach(this, IDC_OUTPUT_ENCODING);
    for (const wchar_t* text : EncodingTexts)
        Encoding->AddString(text);
}

void OutputDialog::UpdateEnabled()
{
    const HashKindFlags enabled = Main.GetEnabledKinds();
    EnableWindow(GetControl(IDC_OUTPUT_MD5SUM)->Handle, enabled[HashKind::Md5]);
    EnableWindow(GetControl(IDC_OUTPUT_SHA1SUM)->Handle, enabled[HashKind::Sha1]);
    // the clipboard always receives Unicode text
    EnableWindow(Encoding->Handle, IsChecked(IDC_OUTPUT_TO_FILE));
}

void OutputDialog::LoadStates()
{
    kit::SettingsNode& section = Section();
    for (size_t i = 0; i < Controls.size(); ++i)
        Boxes[i]->LoadCheck(section.Child(Controls[i].Key), Controls[i].Default);
    SampleLines->Load(section.Child(L"SampleLine"), 1);
    if (SampleLines->GetSelection() < 0)
        SampleLines->SetSelection(1);
    Encoding->Load(section.Child(L"Encoding"), 0);
    if (Encoding->GetSelection() < 0)
        Encoding->SetSelection(0);
}

void OutputDialog::SaveStates()
{
    kit::SettingsNode& section = Section();
    for (size_t i = 0; i < Controls.size(); ++i)
        Boxes[i]->SaveCheck(section.Child(Controls[i].Key));
    SampleLines->Save(section.Child(L"SampleLine"));
    Encoding->Save(section.Child(L"Encoding"));
}

void OutputDialog::SetUpSampleFont()
{
    LOGFONTW description = {};
    description.lfHeight = 12;
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = SHIFTJIS_CHARSET;
    wcscpy_s(description.lfFaceName, L"ＭＳ ゴシック");
    SampleFont = kit::Font::Create(description);
    if (SampleFont)
        SendMessageW(Sample->Handle, WM_SETFONT, reinterpret_cast<WPARAM>(SampleFont->GetHandle()), TRUE);
}

ListEncoding OutputDialog::GetEncoding() const
{
    switch (Encoding->GetSelection()) {
    case 1:
        return ListEncoding::Utf8Bom;
    case 2:
        return ListEncoding::Utf8;
    default:
        return ListEncoding::Ansi;
    }
}

int OutputDialog::GetSourceSide() const
{
    return IsChecked(IDC_OUTPUT_LEFT_LIST) ? 0 : 1;
}

ListOutputOptions OutputDialog::GetOptions() const
{
    ListOutputOptions options;
    options.Layout = ListLayout::Text;
    for (size_t i = 0; i < std::size(LayoutRadios); ++i) {
        if (IsChecked(LayoutRadios[i]))
            options.Layout = RadioLayouts[i];
    }
    if (IsChecked(IDC_OUTPUT_FULL_PATH))
        options.Names = ListNames::FullPath;
    else if (IsChecked(IDC_OUTPUT_RELATIVE_PATH))
        options.Names = ListNames::RelativePath;
    else
        options.Names = ListNames::FileName;
    for (int mark = 0; mark < PairMark::Count; ++mark)
        options.Marks[mark] = IsChecked(MarkBoxes[mark]);
    for (int kind = 0; kind < HashKind::Count; ++kind)
        options.HashChecked[kind] = IsChecked(KindBoxes[kind]);
    options.KindEnabled = Main.GetEnabledKinds();
    options.Header = IsChecked(IDC_OUTPUT_HEADER);
    options.Footer = IsChecked(IDC_OUTPUT_FOOTER);
    return options;
}

std::vector<ListOutputRow> OutputDialog::CollectRows(int limit) const
{
    std::vector<ListOutputRow> rows;
    FileListView* list = Main.GetList(GetSourceSide());
    if (!list)
        return rows;
    const ListOutputOptions options = GetOptions();
    const int count = list->GetRowCount();
    // only the rows that will be written are read, so a short sample of a long list stays quick
    for (int row = 0; row < count; ++row) {
        if (limit >= 0 && rows.size() >= static_cast<size_t>(limit))
            break;
        const int mark = Main.GetRows().GetMark(row);
        if (mark < 0 || mark >= PairMark::Count || !options.Marks[mark])
            continue;
        ListOutputRow out;
        out.Path = list->GetCellText(row, 0);
        if (out.Path.empty())
            continue;
        FileListView::ItemInfo info;
        if (list->GetItemInfo(row, info)) {
            out.RelativeKey = info.RelativeKey;
            out.ImportedSize = info.SizeText;
        }
        for (int kind = 0; kind < HashKind::Count; ++kind) {
            const std::wstring value = list->GetHashText(row, kind);
            // a file that could not be read has no value to write (a hash list would carry the words as one)
            out.HashCells[kind] = value == HashText::Unreadable ? std::wstring() : value;
        }
        out.SizeCell = list->GetSizeText(row);
        out.Mark = mark;
        rows.push_back(out);
    }
    return rows;
}

ListOutputText OutputDialog::BuildOutput(int limit) const
{
    return ListOutput::Build(CollectRows(limit), GetOptions(), limit, WindowsCodec());
}

void OutputDialog::UpdateSample()
{
    const int index = SampleLines->GetSelection();
    const int limit = index >= 0 && index < static_cast<int>(SampleLimits.size()) ? SampleLimits[index] : 0;
    Sample->SetText(limit == 0 ? std::wstring() : BuildOutput(limit).Text);
}

LRESULT OutputDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (id == IDC_CLOSE || id == IDCANCEL) {
        Close();
        return TRUE;
    }
    if (id == IDC_OUTPUT_RUN && code == BN_CLICKED) {
        Output();
        return TRUE;
    }
    if (id == IDC_OUTPUT_SAMPLE_LINES && code == CBN_SELCHANGE) {
        Window::OnCommand(wParam, lParam);
        UpdateSample();
        return TRUE;
    }
    if (code == BN_CLICKED && (id == IDC_OUTPUT_TO_FILE || id == IDC_OUTPUT_TO_CLIPBOARD)) {
        UpdateEnabled();
        return TRUE;
    }
    if (code == BN_CLICKED && ChangesSample(id)) {
        UpdateSample();
        return TRUE;
    }
    return Window::OnCommand(wParam, lParam);
}

void OutputDialog::Close()
{
    SaveStates();
    EndDialog(Handle, 0);
}

void OutputDialog::Output()
{
    if (IsChecked(IDC_OUTPUT_TO_CLIPBOARD)) {
        CopyToClipboard();
        return;
    }
    std::wstring path;
    if (ShowSaveDialog(path))
        WriteFile(path);
}

bool OutputDialog::ShowSaveDialog(std::wstring& path)
{
    kit::SettingsNode& settings = Main.GetSettings();
    const int filterIndex = ListOutput::FilterIndexFor(GetOptions().Layout, settings.GetInt(L"FinterIndex", 1));
    settings.SetInt(L"FinterIndex", filterIndex);
    const std::wstring extension = ListOutput::DefaultExtension(filterIndex);
    path = Main.GetLastName() + L"." + extension;
    kit::FileDialog dialog;
    // the filter holds NUL separators, so its length is counted pair by pair
    std::wstring filters;
    for (const wchar_t* part = FileFilter; *part; part += wcslen(part) + 1)
        filters.append(part, wcslen(part) + 1);
    if (!dialog.Show(this, path, false, settings.GetString(L"DefaultDirectory"), extension, filters, filterIndex))
        return false;
    settings.SetString(L"DefaultDirectory", kit::RemoveFileName(path));
    settings.SetInt(L"FinterIndex", dialog.FilterIndex);
    Main.SetLastName(kit::RemoveExtension(kit::FindFileName(path)));
    return true;
}

bool OutputDialog::WriteFile(const std::wstring& path)
{
    const ListOutputText output = BuildOutput(-1);
    ListEncoding encoding = GetEncoding();
    bool lost = encoding == ListEncoding::Ansi && output.Unrepresentable > 0;
    if (lost && kit::ShowMessageBox(L"", Utf8Offer(output), this, MB_ICONINFORMATION | MB_YESNO) == IDYES) {
        encoding = Utf8For(GetOptions().Layout);
        lost = false;
    }
    const std::string bytes = ListOutput::Encode(output, encoding);
    // the list is written beside the target and replaces it only when complete, so a failed write keeps the old file
    // a name made here: GetTempFileNameW refuses folders near MAX_PATH
    std::wstring temporary;
    for (int i = 1; i < 10000 && temporary.empty(); ++i)
        if (!kit::PathExists(path + L".~" + std::to_wstring(i) + L".tmp"))
            temporary = path + L".~" + std::to_wstring(i) + L".tmp";
    bool written = false;
    if (!temporary.empty()) {
        kit::File file;
        if (file.OpenWrite(temporary)) {
            written = file.Write(bytes.data(), bytes.size()) == bytes.size();
            written = file.Close() && written;
        }
        written = written && kit::File::Replace(temporary, path);
        if (!written)
            kit::File::Remove(temporary);
    }
    if (!written) {
        kit::ShowMessageBox(L"", L"出力ファイルが開けませんでした", this, MB_ICONERROR);
        return false;
    }
    // the names written with replacements are told even when messages are off: the file differs from the list
    if (!IsChecked(IDC_OUTPUT_NO_MESSAGE) || lost)
        kit::ShowMessageBox(L"", CompletionMessage(path, lost ? output : ListOutputText()), this, MB_ICONINFORMATION);
    return true;
}

std::wstring OutputDialog::Utf8Offer(const ListOutputText& output)
{
    return L"システムの文字コードで表せない文字を含むファイル名が " + std::to_wstring(output.Unrepresentable)
        + L" 件あります:" + ListUnrepresentable(output, ListedNames)
        + L"\n\nUTF-8 で出力しますか？\n（「いいえ」を選ぶと、表せない文字を置き換えてシステムの文字コードで出力します）";
}

std::wstring OutputDialog::CompletionMessage(const std::wstring& path, const ListOutputText& output)
{
    std::wstring message = path + L" へ出力しました";
    if (output.Unrepresentable <= 0)
        return message;
    return message + L"\n\nシステムの文字コードで表せない文字を含むファイル名が "
        + std::to_wstring(output.Unrepresentable) + L" 件あり、正確には出力できませんでした:"
        + ListUnrepresentable(output, ListedNames);
}

bool OutputDialog::CopyToClipboard()
{
    if (!CopyTextToClipboard(BuildOutput(-1).Text, Handle)) {
        kit::ShowMessageBox(L"", L"クリップボードへコピーできませんでした", this, MB_ICONERROR);
        return false;
    }
    if (!IsChecked(IDC_OUTPUT_NO_MESSAGE))
        kit::ShowMessageBox(L"", L"クリップボードへコピーしました", this, MB_ICONINFORMATION);
    return true;
}

bool ShowOutputDialog(ToolHost& main)
{
    OutputDialog dialog(main);
    return dialog.Run() >= 0;
}
