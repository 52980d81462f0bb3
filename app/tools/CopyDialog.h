// The file operation dialog (resource 114, "ファイルの操作"): copies, moves or deletes the checked files of one list.
// The user picks the list, the marks whose files are listed, the operation, the output folder, what happens to an
// existing destination and whether relative paths are kept; the run itself happens in the progress dialog. The
// control states live in the settings node "Copy".
//
// Interface thread only; modal on the main window.
#pragma once

#include "app/tools/CopyRow.h"
#include "app/tools/ProgressDialog.h"
#include "kit/ui/ModalDialog.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CopyListView;
class ToolHost;

namespace kit {
class Button;
class CheckBox;
class ComboBox;
class EditBox;
class RadioButton;
class SettingsNode;
} // namespace kit

class CopyDialog : public kit::ModalDialog {
public:
    // one check box or radio button: its control id, its key under "Copy" and its default state
    struct Control {
        int Id;
        const wchar_t* Key;
        int32_t Default;
    };
    static const std::array<Control, 7> CheckBoxTable;
    static const std::array<Control, 5> RadioButtonTable;
    // the clash combo box's entries, by CopyThread's clash policy index
    static const std::array<const wchar_t*, 3> ClashTexts;

    explicit CopyDialog(ToolHost& owner);
    ~CopyDialog() override;

    // runs the dialog on the main window; 0 when it was closed, -1 when it could not be created
    INT_PTR Run();

    // Lists the files of the chosen side whose mark is ticked; a file listed before keeps its check state, a new
    // one is checked. Rows imported from a hash list are never listed.
    void FillList();
    // the side whose files are listed ("左リスト" checked: left, else right)
    int GetSourceSide() const;
    // CopyThread's operation and clash policy indexes
    int32_t GetOperation() const;
    int32_t GetClashPolicy() const;
    std::wstring GetFolderText() const;
    bool KeepsRelativePaths() const;
    // every row of the list, checked or not, in list order
    std::vector<CopyRow> CollectRows() const;
    // the run the controls stand for now, for the output folder given
    ProgressDialog::Request BuildRequest(const std::wstring& folder) const;

    // "実行": the checks and confirmations, then the run in the progress dialog
    void Execute();
    // "Check" of every box and radio button, "Index" of "OverWrite", "Text" of "OutputDirectory"
    void SaveStates();

    kit::CheckBox* GetControl(int id) const;
    CopyListView* GetFileList() const { return FileList.get(); }

    LRESULT OnInitDialog(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    kit::SettingsNode& Section() const;
    bool IsChecked(int id) const;
    void AttachControls();
    void CreateFileList();
    void BindDeleteButton();
    void LoadStates();
    void Browse();
    // the confirmation text of step 3 of "実行"
    std::wstring ConfirmationText(int count, const std::wstring& folder) const;
    bool ChangeChecks(int command);
    void Close();

    ToolHost& Owner; // not owned
    std::array<boost::shared_ptr<kit::CheckBox>, 7> CheckBoxes;
    std::array<boost::shared_ptr<kit::RadioButton>, 5> RadioButtons;
    boost::shared_ptr<kit::ComboBox> ClashCombo;
    boost::shared_ptr<kit::EditBox> FolderEdit;
    boost::shared_ptr<kit::Button> BrowseButton;
    boost::shared_ptr<CopyListView> FileList;
};

// The main window's file operation command: runs the dialog modally. False when it could not be shown.
bool ShowCopyDialog(ToolHost& main);
