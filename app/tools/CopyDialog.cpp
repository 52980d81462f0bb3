#include "app/tools/CopyDialog.h"

#include "app/lists/FileListView.h"
#include "app/lists/RowModel.h"
#include "app/tools/CopyListView.h"
#include "app/tools/CopyThread.h"
#include "app/tools/ToolHost.h"
#include "kit/core/LongPath.h"
#include "kit/core/SettingsNode.h"
#include "kit/ui/Button.h"
#include "kit/ui/CheckBox.h"
#include "kit/ui/ChooseFolder.h"
#include "kit/ui/ComboBox.h"
#include "kit/ui/EditBox.h"
#include "kit/ui/RadioButton.h"
#include "resources/resource.h"

#include <shlwapi.h>

#include <limits>

const std::array<CopyDialog::Control, 7> CopyDialog::CheckBoxTable = {{
    {IDC_COPY_RELATIVE_PATH, L"RelativePath", 1},
    {IDC_COPY_VERIFY, L"Verify", 1},
    {IDC_COPY_OK, L"Ok", 1},
    {IDC_COPY_NG, L"Ng", 1},
    {IDC_COPY_LEFT, L"Left", 1},
    {IDC_COPY_RIGHT, L"Right", 1},
    {IDC_COPY_UNKNOWN, L"Unknown", 1},
}};

const std::array<CopyDialog::Control, 5> CopyDialog::RadioButtonTable = {{
    {IDC_COPY_LEFT_LIST, L"LeftList", 0},
    {IDC_COPY_RIGHT_LIST, L"RightList", 0},
    {IDC_COPY_COPY, L"Copy", 1},
    {IDC_COPY_MOVE, L"Move", 0},
    {IDC_COPY_DELETE, L"Delete", 0},
}};

const std::array<const wchar_t*, 3> CopyDialog::ClashTexts = {
    {L"強制的に上書きする", L"処理せずにスキップする", L"名前を変更して保存する"}};

namespace {

// the boxes of the marks, by PairMark index
const int MarkBoxes[PairMark::Count] = {IDC_COPY_OK, IDC_COPY_NG, IDC_COPY_LEFT, IDC_COPY_RIGHT, IDC_COPY_UNKNOWN};
const int OperationRadios[] = {IDC_COPY_COPY, IDC_COPY_MOVE, IDC_COPY_DELETE};
const int StateColumnWidth = 50;

// the controls whose clicks change which files are listed
bool ChangesList(int id)
{
    if (id == IDC_COPY_LEFT_LIST || id == IDC_COPY_RIGHT_LIST)
        return true;
    for (int box : MarkBoxes)
        if (id == box)
            return true;
    return false;
}

// a folder typed relative to nothing in particular is taken from the current folder, so that the confirmation
// names the folder that will be written to
std::wstring FullPathOf(const std::wstring& folder)
{
    DWORD length = GetFullPathNameW(folder.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return folder;
    std::wstring full(length, L'\0');
    length = GetFullPathNameW(folder.c_str(), length, &full[0], nullptr);
    if (length == 0 || length >= full.size())
        return folder;
    full.resize(length);
    return full;
}

} // namespace

CopyDialog::CopyDialog(ToolHost& owner) : Owner(owner) {}

CopyDialog::~CopyDialog() = default;

INT_PTR CopyDialog::Run()
{
    return DoModal(IDD_COPY, &Owner.GetOwnerWindow());
}

kit::SettingsNode& CopyDialog::Section() const
{
    return Owner.GetSettings().Child(L"Copy");
}

kit::CheckBox* CopyDialog::GetControl(int id) const
{
    for (size_t i = 0; i < CheckBoxTable.size(); ++i)
        if (CheckBoxTable[i].Id == id)
            return CheckBoxes[i].get();
    for (size_t i = 0; i < RadioButtonTable.size(); ++i)
        if (RadioButtonTable[i].Id == id)
            return RadioButtons[i].get();
    return nullptr;
}

bool CopyDialog::IsChecked(int id) const
{
    kit::CheckBox* box = GetControl(id);
    return box && box->IsChecked();
}

// ---------------------------------------------------------------------------------------------------------------
// initialisation

LRESULT CopyDialog::OnInitDialog(WPARAM, LPARAM)
{
    HICON icon = LoadIconW(kit::GetModuleInstance(), MAKEINTRESOURCEW(IDI_MAIN));
    if (icon)
        SendMessageW(Handle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    AttachControls();
    CreateFileList();
    BindDeleteButton();
    LoadStates();
    const bool left = Owner.GetCurrentSide() == 0;
    GetControl(IDC_COPY_LEFT_LIST)->SetChecked(left);
    GetControl(IDC_COPY_RIGHT_LIST)->SetChecked(!left);
    FillList();
    return TRUE;
}

void CopyDialog::AttachControls()
{
    for (size_t i = 0; i < CheckBoxTable.size(); ++i)
        CheckBoxes[i] = kit::CheckBox::Attach(this, CheckBoxTable[i].Id);
    for (size_t i = 0; i < RadioButtonTable.size(); ++i)
        RadioButtons[i] = kit::RadioButton::Attach(this, RadioButtonTable[i].Id);
    FolderEdit = kit::EditBox::Attach(this, IDC_COPY_FOLDER);
    ClashCombo = kit::ComboBox::Attach(this, IDC_COPY_CLASH);
    for (const wchar_t* text : ClashTexts)
        ClashCombo->AddString(text);
    BrowseButton = kit::Button::Attach(this, IDC_COPY_BROWSE);
}

void CopyDialog::CreateFileList()
{
    FileList = CopyListView::Attach(&Owner, this, IDC_COPY_FILES);
    if (!FileList)
        return;
    FileList->SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES);
    FileList->SetBehaviour(kit::ListView::ColorDrawing | kit::ListView::SelectAllKey);
    // every file takes part until the user says otherwise
    Owner.GetRows().SetAllChecked(0, true);
    Owner.GetRows().SetAllChecked(1, true);
    const RECT header = FileList->GetHeaderRect();
    int width = header.right - header.left;
    if (width <= 0) {
        RECT client = {};
        GetClientRect(FileList->Handle, &client);
        width = client.right - client.left;
    }
    width -= 2 * GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXVSCROLL) + StateColumnWidth;
    FileList->AddColumn(L"ファイル名", width, LVCFMT_LEFT);
    FileList->AddColumn(L"状態", StateColumnWidth, LVCFMT_LEFT);
}

// the output settings mean nothing to a delete: they are usable only while "削除" is not checked
void CopyDialog::BindDeleteButton()
{
    kit::CheckBox* remove = GetControl(IDC_COPY_DELETE);
    kit::Window* targets[] = {FolderEdit.get(), BrowseButton.get(), GetControl(IDC_COPY_RELATIVE_PATH),
                              ClashCombo.get(), GetControl(IDC_COPY_VERIFY)};
    for (kit::Window* target : targets)
        remove->AddBinding(target, kit::BindEnable, BST_UNCHECKED);
}

void CopyDialog::LoadStates()
{
    kit::SettingsNode& section = Section();
    for (size_t i = 0; i < CheckBoxTable.size(); ++i)
        CheckBoxes[i]->LoadCheck(section.Child(CheckBoxTable[i].Key), CheckBoxTable[i].Default);
    for (size_t i = 0; i < RadioButtonTable.size(); ++i)
        RadioButtons[i]->LoadCheck(section.Child(RadioButtonTable[i].Key), RadioButtonTable[i].Default);
    // settings that check no operation must not turn into a delete (the operation when neither "コピー" nor "移動"
    // is checked): "コピー" is checked then. Of several checked ones, the radio group keeps the last loaded.
    int chosen = IDC_COPY_COPY;
    for (int id : OperationRadios) {
        if (IsChecked(id)) {
            chosen = id;
            break;
        }
    }
    for (int id : OperationRadios)
        GetControl(id)->SetChecked(id == chosen);
    ClashCombo->Load(section.Child(L"OverWrite"), CopyThread::ClashSkip);
    if (ClashCombo->GetSelection() < 0)
        ClashCombo->SetSelection(CopyThread::ClashSkip);
    FolderEdit->LoadText(section.Child(L"OutputDirectory"), std::wstring());
}

void CopyDialog::SaveStates()
{
    kit::SettingsNode& section = Section();
    for (size_t i = 0; i < CheckBoxTable.size(); ++i)
        CheckBoxes[i]->SaveCheck(section.Child(CheckBoxTable[i].Key));
    for (size_t i = 0; i < RadioButtonTable.size(); ++i)
        RadioButtons[i]->SaveCheck(section.Child(RadioButtonTable[i].Key));
    ClashCombo->Save(section.Child(L"OverWrite"));
    FolderEdit->SaveText(section.Child(L"OutputDirectory"));
}

// ---------------------------------------------------------------------------------------------------------------
// the list

int CopyDialog::GetSourceSide() const
{
    return IsChecked(IDC_COPY_LEFT_LIST) ? 0 : 1;
}

void CopyDialog::FillList()
{
    if (!FileList)
        return;
    std::array<bool, PairMark::Count> listed;
    for (int mark = 0; mark < PairMark::Count; ++mark)
        listed[mark] = IsChecked(MarkBoxes[mark]);
    FileList->Show(GetSourceSide(), listed);
}

std::vector<CopyRow> CopyDialog::CollectRows() const
{
    return FileList ? FileList->CollectRows() : std::vector<CopyRow>();
}

bool CopyDialog::ChangeChecks(int command)
{
    if (!FileList)
        return false;
    switch (command) {
    case ID_CHECK_SELECTED: FileList->ChangeChecks(CopyListView::CheckOn, true); return true;
    case ID_UNCHECK_SELECTED: FileList->ChangeChecks(CopyListView::CheckOff, true); return true;
    case ID_INVERT_SELECTED: FileList->ChangeChecks(CopyListView::CheckInvert, true); return true;
    case ID_CHECK_ALL: FileList->ChangeChecks(CopyListView::CheckOn, false); return true;
    case ID_UNCHECK_ALL: FileList->ChangeChecks(CopyListView::CheckOff, false); return true;
    case ID_INVERT_ALL: FileList->ChangeChecks(CopyListView::CheckInvert, false); return true;
    default: return false;
    }
}

// ---------------------------------------------------------------------------------------------------------------
// the run

int32_t CopyDialog::GetOperation() const
{
    // a delete only when it is plainly chosen
    if (IsChecked(IDC_COPY_DELETE) && !IsChecked(IDC_COPY_COPY) && !IsChecked(IDC_COPY_MOVE))
        return CopyThread::OperationDelete;
    if (IsChecked(IDC_COPY_MOVE) && !IsChecked(IDC_COPY_COPY))
        return CopyThread::OperationMove;
    return CopyThread::OperationCopy;
}

int32_t CopyDialog::GetClashPolicy() const
{
    const int index = ClashCombo ? ClashCombo->GetSelection() : -1;
    return index >= CopyThread::ClashOverwrite && index <= CopyThread::ClashRename ? index : CopyThread::ClashSkip;
}

std::wstring CopyDialog::GetFolderText() const
{
    return FolderEdit ? FolderEdit->GetText() : std::wstring();
}

bool CopyDialog::KeepsRelativePaths() const
{
    return IsChecked(IDC_COPY_RELATIVE_PATH);
}

ProgressDialog::Request CopyDialog::BuildRequest(const std::wstring& folder) const
{
    ProgressDialog::Request request;
    request.Operation = GetOperation();
    request.ClashPolicy = GetClashPolicy();
    request.Tasks = CopyThread::BuildTasks(folder, KeepsRelativePaths(), request.Operation, CollectRows());
    if (IsChecked(IDC_COPY_VERIFY))
        for (int kind = 0; kind < HashKind::Count; ++kind)
            request.Verify[kind] = Owner.IsKindShown(kind);
    return request;
}

std::wstring CopyDialog::ConfirmationText(int count, const std::wstring& folder) const
{
    std::wstring text = L"チェックされているファイル（全 " + std::to_wstring(count) + L" ファイル）を";
    const int32_t operation = GetOperation();
    if (operation == CopyThread::OperationDelete)
        return text + L"削除しますか";
    return text + L" " + folder + L" へ" + (operation == CopyThread::OperationMove ? L"移動しますか" : L"コピーしますか");
}

void CopyDialog::Execute()
{
    const int checked = FileList ? FileList->CountChecked() : 0;
    if (checked == 0) {
        kit::ShowMessageBox(L"", L"出力するファイルがありません", this, MB_ICONHAND);
        return;
    }
    const std::wstring text = GetFolderText();
    if (text.empty()) {
        kit::ShowMessageBox(L"", L"出力先を指定して下さい", this, MB_ICONHAND);
        return;
    }
    const std::wstring folder = FullPathOf(text);
    if (kit::ShowMessageBox(L"", ConfirmationText(checked, folder), this, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    const DWORD attributes = GetFileAttributesW(kit::SystemPath(folder).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        const std::wstring question = L"出力先 " + folder + L" を作成しますか";
        if (kit::ShowMessageBox(L"", question, this, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
            return;
    }
    ProgressDialog progress(BuildRequest(folder));
    progress.Run(this);
}

// ---------------------------------------------------------------------------------------------------------------
// commands

LRESULT CopyDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (id == IDCANCEL || id == IDC_CLOSE) {
        Close();
        return TRUE;
    }
    if (lParam == 0 && ChangeChecks(id))
        return TRUE;
    if (code == BN_CLICKED) {
        if (id == IDC_COPY_BROWSE)
            Browse();
        else if (id == IDC_COPY_RUN)
            Execute();
        else if (ChangesList(id))
            FillList();
    }
    return Window::OnCommand(wParam, lParam);
}

void CopyDialog::Browse()
{
    std::wstring folder;
    if (kit::ChooseFolder(this, GetFolderText(), folder))
        FolderEdit->SetText(folder);
}

void CopyDialog::Close()
{
    SaveStates();
    EndDialog(Handle, 0);
}

bool ShowCopyDialog(ToolHost& main)
{
    CopyDialog dialog(main);
    return dialog.Run() >= 0;
}
