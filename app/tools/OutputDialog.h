// The list output dialog (resource 111, "リスト出力"): writes one side's rows as text, csv, tsv, SFV, md5sum or sha1sum
// to a file (in ANSI or UTF-8) or the clipboard, with a live sample. Its control states live in the settings node
// "Output".
//
// Interface thread only; modal on the main window.
#pragma once

#include "app/tools/ListOutput.h"
#include "kit/ui/ModalDialog.h"

#include <array>
#include <string>
#include <vector>

class ToolHost;

namespace kit {
class CheckBox;
class ComboBox;
class EditBox;
class Font;
class SettingsNode;
} // namespace kit

class OutputDialog : public kit::ModalDialog {
public:
    // one check box or radio button: its control id, its key under "Output" and its default state
    struct Control {
        int Id;
        const wchar_t* Key;
        int32_t Default;
    };
    static const std::array<Control, 24> Controls;
    // the sample's row limits by combo box index ("表示しない" .. "全て表示する"; -1 is all)
    static const std::array<int, 5> SampleLimits;
    static const wchar_t* const FileFilter;
    // the file encodings by drop-down index ("ANSI", "UTF-8 (BOM付き)", "UTF-8")
    static const std::array<const wchar_t*, 3> EncodingTexts;

    explicit OutputDialog(ToolHost& main);
    ~OutputDialog() override;

    // runs the dialog on the main window; 0 when it was closed, -1 when it could not be created
    INT_PTR Run();

    // the options the controls stand for now
    ListOutputOptions GetOptions() const;
    // the encoding of an output file, from the drop-down list
    ListEncoding GetEncoding() const;
    // the side whose rows are written ("左リスト" checked: left, else right)
    int GetSourceSide() const;
    // The chosen side's rows that qualify for output, in list order, at most limit of them (all when negative).
    std::vector<ListOutputRow> CollectRows(int limit) const;
    // The whole output (all rows when limit is negative).
    ListOutputText BuildOutput(int limit) const;
    // the sample box's text for the combo box's selection
    void UpdateSample();

    // "出力": to a file through the save dialog, or to the clipboard
    void Output();
    // Steps after the save dialog: writes the output to path (a temporary file beside it replaces it when
    // complete) and reports the outcome. When ANSI cannot hold some names, offers to write UTF-8 instead. False,
    // with a message, when it could not be written.
    bool WriteFile(const std::wstring& path);
    // the offer to write UTF-8, naming the files that ANSI cannot hold
    static std::wstring Utf8Offer(const ListOutputText& output);
    bool CopyToClipboard();
    // the completion message of a file output: the path, and the names the code page could not hold
    static std::wstring CompletionMessage(const std::wstring& path, const ListOutputText& output);
    // "Check" of every control, then "Index" of SampleLine and of Encoding
    void SaveStates();

    kit::CheckBox* GetControl(int id) const;
    kit::EditBox* GetSample() const { return Sample.get(); }
    kit::ComboBox* GetSampleLines() const { return SampleLines.get(); }
    kit::ComboBox* GetEncodingList() const { return Encoding.get(); }

    LRESULT OnInitDialog(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    kit::SettingsNode& Section() const;
    bool IsChecked(int id) const;
    void AttachControls();
    void LoadStates();
    void SetUpSampleFont();
    // the layouts of switched-off kinds and, for the clipboard, the encoding are unavailable
    void UpdateEnabled();
    bool ShowSaveDialog(std::wstring& path);
    void Close();

    ToolHost& Main; // not owned
    std::array<boost::shared_ptr<kit::CheckBox>, 24> Boxes;
    boost::shared_ptr<kit::ComboBox> SampleLines;
    boost::shared_ptr<kit::ComboBox> Encoding;
    boost::shared_ptr<kit::EditBox> Sample;
    boost::shared_ptr<kit::Font> SampleFont;
};

// The main window's list-output command: runs the dialog modally. False when it could not be shown.
bool ShowOutputDialog(ToolHost& main);
