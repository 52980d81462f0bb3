#include "app/tools/OutputDialog.h"

#include "app/lists/CompListView.h"
#include "app/lists/FileListView.h"
#include "app/shell/Juxta.h"
#include "app/tools/Clipboard.h"
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

const std::array<OutputDialog::Control, 22> OutputDialog::Controls = {{
    {IDC_OUTPUT_LEFT_LIST, L"LeftList", 0},
    {IDC_OUTPUT_RIGHT_LIST, L"RightList", 0},
    {IDC_OUTPUT_TO_FILE, L"File", 1},
    {IDC_OUTPUT_TO_CLIPBOARD, L"ClipBoard", 0},
    {IDC_OUTPUT_WINCRC, L"WinCrc", 1},
    {IDC_OUTPUT_CSV, L"Csv", 0},
    {IDC_OUTPUT_TSV, L"Tsv", 0},
    {IDC_OUTPUT_SFV, L"Sfv", 0},
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
    L"すべててのファイル(*.*)\0*.*\0";

namespace {

const wchar_t* const SampleLineTexts[] = {L"表示しない", L"5ファイル", L"10ファイル", L"20ファイル", L"全て表示する"};
const int MarkBoxes[PairMark::Count] = {IDC_OUTPUT_OK, IDC_OUTPUT_NG, IDC_OUTPUT_LEFT, IDC_OUTPUT_RIGHT,
    IDC_OUTPUT_UNKNOWN};
const int KindBoxes[HashKind::Count] = {IDC_OUTPUT_CRC32, IDC_OUTPUT_MD5, IDC_OUTPUT_SHA1};
// names listed in the completion message when some could not be written exactly
const size_t ListedNames = 5;

bool IsRadio(int id)
{
    return id == IDC_OUTPUT_LEFT_LIST || id == IDC_OUTPUT_RIGHT_LIST || id == IDC_OUTPUT_TO_FILE
        || id == IDC_OUTPUT_TO_CLIPBOARD || id == IDC_OUTPUT_WINCRC || id == IDC_OUTPUT_CSV || id == IDC_OUTPUT_TSV
        || id == IDC_OUTPUT_SFV || id == IDC_OUTPUT_FULL_PATH || id == IDC_OUTPUT_RELATIVE_PATH
        || id == IDC_OUTPUT_FILE_NAME;
}

// the clicks that change the sample
bool ChangesSample(int id)
{
    return (id >= IDC_OUTPUT_CRC32 && id <= IDC_OUTPUT_FOOTER) || (id >= IDC_OUTPUT_CSV && id <= IDC_OUTPUT_FILE_NAME)
        || (id >= IDC_OUTPUT_LEFT_LIST && id <= IDC_OUTPUT_OK) || (id >= IDC_OUTPUT_HEADER && id <= IDC_OUTPUT_SFV);
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

OutputDialog::OutputDialog(Juxta& main) : Main(main) {}

OutputDialog::~OutputDialog() = default;

INT_PTR OutputDialog::Run()
{
    return DoModal(IDD_OUTPUT, &Main);
}

kit::SettingsNode& OutputDialog::Section() const
{
    return Main.Settings.Child(L"Output");
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
    const bool left = Main.CurrentSide.load() == 0;
    GetControl(IDC_OUTPUT_LEFT_LIST)->SetChecked(left);
    GetControl(IDC_OUTPUT_RIGHT_LIST)->SetChecked(!left);
    const HashKindFlags enabled = Main.GetEnabledKinds();
    for (int kind = 0; kind < HashKind::Count; ++kind)
        EnableWindow(GetControl(KindBoxes[kind])->Handle, enabled[kind]);
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
}

void OutputDialog::LoadStates()
{
    kit::SettingsNode& section = Section();
    for (size_t i = 0; i < Controls.size(); ++i)
        Boxes[i]->LoadCheck(section.Child(Controls[i].Key), Controls[i].Default);
    SampleLines->Load(section.Child(L"SampleLine"), 1);
    if (SampleLines->GetSelection() < 0)
        SampleLines->SetSelection(1);
}

void OutputDialog::SaveStates()
{
    kit::SettingsNode& section = Section();
    for (size_t i = 0; i < Controls.size(); ++i)
        Boxes[i]->SaveCheck(section.Child(Controls[i].Key));
    SampleLines->Save(section.Child(L"SampleLine"));
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

int OutputDialog::GetSourceSide() const
{
    return IsChecked(IDC_OUTPUT_LEFT_LIST) ? 0 : 1;
}

ListOutputOptions OutputDialog::GetOptions() const
{
    ListOutputOptions options;
    if (IsChecked(IDC_OUTPUT_CSV))
        options.Layout = ListLayout::Csv;
    else if (IsChecked(IDC_OUTPUT_TSV))
        options.Layout = ListLayout::Tsv;
    else if (IsChecked(IDC_OUTPUT_SFV))
        options.Layout = ListLayout::Sfv;
    else
        options.Layout = ListLayout::Text;
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
    if (!list || !Main.MarkList)
        return rows;
    const ListOutputOptions options = GetOptions();
    const int count = list->GetRowCount();
    // only the rows that will be written are read, so a short sample of a long list stays quick
    for (int row = 0; row < count; ++row) {
        if (limit >= 0 && rows.size() >= static_cast<size_t>(limit))
            break;
        const int mark = Main.MarkList->GetMark(row);
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
    kit::SettingsNode& settings = Main.Settings;
    const int filterIndex = ListOutput::FilterIndexFor(GetOptions().Layout, settings.GetInt(L"FinterIndex", 1));
    settings.SetInt(L"FinterIndex", filterIndex);
    const std::wstring extension = ListOutput::DefaultExtension(filterIndex);
    path = Main.LastName + L"." + extension;
    kit::FileDialog dialog;
    // the filter holds NUL separators, so its length is counted pair by pair
    std::wstring filters;
    for (const wchar_t* part = FileFilter; *part; part += wcslen(part) + 1)
        filters.append(part, wcslen(part) + 1);
    if (!dialog.Show(this, path, false, settings.GetString(L"DefaultDirectory"), extension, filters, filterIndex))
        return false;
    settings.SetString(L"DefaultDirectory", kit::RemoveFileName(path));
    settings.SetInt(L"FinterIndex", dialog.FilterIndex);
    Main.LastName = kit::RemoveExtension(kit::FindFileName(path));
    return true;
}

bool OutputDialog::WriteFile(const std::wstring& path)
{
    const ListOutputText output = BuildOutput(-1);
    // the list is written beside the target and replaces it only when complete, so a failed write keeps the old file
    wchar_t temporary[MAX_PATH] = {};
    const std::wstring folder = kit::RemoveFileName(path);
    bool written = false;
    if (GetTempFileNameW(folder.empty() ? L"." : folder.c_str(), L"jxt", 0, temporary)) {
        kit::File file;
        if (file.OpenWrite(temporary)) {
            written = file.Write(output.Ansi.data(), output.Ansi.size()) == output.Ansi.size();
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
    if (!IsChecked(IDC_OUTPUT_NO_MESSAGE) || output.Unrepresentable > 0)
        kit::ShowMessageBox(L"", CompletionMessage(path, output), this, MB_ICONINFORMATION);
    return true;
}

std::wstring OutputDialog::CompletionMessage(const std::wstring& path, const ListOutputText& output)
{
    std::wstring message = path + L" へ出力しました";
    if (output.Unrepresentable <= 0)
        return message;
    message += L"\n\nシステムの文字コードで表せない文字を含むファイル名が " + std::to_wstring(output.Unrepresentable)
        + L" 件あり、正確には出力できませんでした:";
    const size_t listed = std::min(output.UnrepresentableNames.size(), ListedNames);
    for (size_t i = 0; i < listed; ++i)
        message += L"\n" + output.UnrepresentableNames[i];
    if (static_cast<size_t>(output.Unrepresentable) > listed)
        message += L"\n…";
    return message;
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

bool ShowOutputDialog(Juxta& main)
{
    OutputDialog dialog(main);
    return dialog.Run() >= 0;
}
