#include "app/tools/ConfigDialog.h"

#include "app/check/CheckHashManager.h"
#include "app/tools/ToolHost.h"
#include "kit/core/SettingsNode.h"
#include "kit/ui/Brush.h"
#include "kit/ui/Button.h"
#include "kit/ui/CheckBox.h"
#include "kit/ui/ColorDialog.h"
#include "kit/ui/EditBox.h"
#include "kit/ui/FileDialog.h"
#include "kit/ui/Menu.h"
#include "kit/ui/RadioButton.h"
#include "kit/ui/StaticText.h"
#include "kit/ui/TrackBar.h"
#include "resources/resource.h"

#include <commctrl.h>

const std::array<ConfigDialog::Option, 10> ConfigDialog::Options = {{
    {IDC_CONFIG_CRC32, L"Crc32", false},
    {IDC_CONFIG_MD5, L"Md5", false},
    {IDC_CONFIG_SHA1, L"Sha1", false},
    {IDC_CONFIG_SUBDIRECTORY, L"SubDirectory", false},
    {IDC_CONFIG_AUTOSCROLL, L"AutoScroll", false},
    {IDC_CONFIG_AUTOSIZE, L"AutoSize", false},
    {IDC_CONFIG_UNDERLINE, L"UnderLine", false},
    {IDC_CONFIG_COMPARE_HASH, L"CompareHash", true},
    {IDC_CONFIG_OPEN, L"Open", true},
    {IDC_CONFIG_COMPARE, L"Compare", true},
}};

const std::array<ConfigDialog::ColourRow, 7> ConfigDialog::ColourRows = {{
    {L"Wait", IDC_CONFIG_WAIT_SWATCH, IDC_CONFIG_WAIT_CHANGE, 0xC0C0C0},
    {L"Check", IDC_CONFIG_CHECK_SWATCH, IDC_CONFIG_CHECK_CHANGE, 0x00FF00},
    {L"Ok", IDC_CONFIG_OK_SWATCH, IDC_CONFIG_OK_CHANGE, 0xFFFF00},
    {L"Ng", IDC_CONFIG_NG_SWATCH, IDC_CONFIG_NG_CHANGE, 0xFF00FF},
    {L"Left", IDC_CONFIG_LEFT_SWATCH, IDC_CONFIG_LEFT_CHANGE, 0x00FFFF},
    {L"Right", IDC_CONFIG_RIGHT_SWATCH, IDC_CONFIG_RIGHT_CHANGE, 0x00FFFF},
    {L"UnderLine", IDC_CONFIG_UNDERLINE_SWATCH, IDC_CONFIG_UNDERLINE_CHANGE, 0x000000},
}};

const std::array<ConfigDialog::ToolRow, 3> ConfigDialog::ToolRows = {{
    {L"0", IDC_CONFIG_TOOL0_EXTENSION, IDC_CONFIG_TOOL0_COMMAND, IDC_CONFIG_TOOL0_TAG, IDC_CONFIG_TOOL0_BROWSE},
    {L"1", IDC_CONFIG_TOOL1_EXTENSION, IDC_CONFIG_TOOL1_COMMAND, IDC_CONFIG_TOOL1_TAG, IDC_CONFIG_TOOL1_BROWSE},
    {L"2", IDC_CONFIG_TOOL2_EXTENSION, IDC_CONFIG_TOOL2_COMMAND, IDC_CONFIG_TOOL2_TAG, IDC_CONFIG_TOOL2_BROWSE},
}};

namespace {

const wchar_t* const HashKeys[3] = {L"Crc32", L"Md5", L"Sha1"};

// display text and pattern pairs, each ending in a NUL (the dialog adds the closing one)
std::wstring ProgramFilter()
{
    const wchar_t* const parts[4] = {L"実行ファイル(*.exe)", L"*.exe", L"すべてのファイル(*.*)", L"*.*"};
    std::wstring filter;
    for (const wchar_t* part : parts) {
        filter += part;
        filter += L'\0';
    }
    return filter;
}

} // namespace

ConfigDialog::ConfigDialog(ToolHost& main) : Main(main)
{
    for (size_t index = 0; index < Colours.size(); ++index)
        Colours[index] = ColourRows[index].Default;
}

ConfigDialog::~ConfigDialog() = default;

INT_PTR ConfigDialog::Run()
{
    return DoModal(IDD_CONFIG, &Main.GetOwnerWindow());
}

LRESULT ConfigDialog::OnInitDialog(WPARAM, LPARAM)
{
    AttachControls();
    Load();
    Bind();
    return TRUE;
}

void ConfigDialog::AttachControls()
{
    for (size_t index = 0; index < Options.size(); ++index)
        Boxes[index] = Options[index].Radio ? kit::RadioButton::Attach(this, Options[index].Id)
                                            : kit::CheckBox::Attach(this, Options[index].Id);
    for (size_t index = 0; index < ColourRows.size(); ++index)
        Swatches[index] = kit::StaticText::Attach(this, ColourRows[index].Swatch);
    for (size_t row = 0; row < ToolRows.size(); ++row) {
        Extensions[row] = kit::EditBox::Attach(this, ToolRows[row].Extension);
        Commands[row] = kit::EditBox::Attach(this, ToolRows[row].Command);
        TagButtons[row] = kit::Button::Attach(this, ToolRows[row].Tag);
    }
    UnderLineButton = kit::Button::Attach(this, IDC_CONFIG_UNDERLINE_CHANGE);
    CheckCount = kit::TrackBar::Attach(this, IDC_CONFIG_CHECKNUM);
    CheckCountText = kit::EditBox::Attach(this, IDC_CONFIG_CHECKNUM_TEXT);
    if (CheckCount)
        CheckCount->SetRange(MinimumChecks, MaximumChecks);
    TagMenus = kit::Menu::Load(IDR_POPUP);
}

void ConfigDialog::Load()
{
    const kit::SettingsNode& settings = Main.GetSettings();
    for (size_t index = 0; index < Options.size(); ++index)
        if (Boxes[index])
            Boxes[index]->SetChecked(settings.GetBool(Options[index].Key, false));
    // the colours the lists paint with: a missing or damaged value shows (and is kept as) its default
    for (size_t index = 0; index < Colours.size(); ++index)
        Colours[index] = Main.GetStateColour(static_cast<int>(index));
    const kit::SettingsNode* tools = settings.FindChild(L"Tool");
    for (size_t row = 0; row < ToolRows.size(); ++row) {
        const kit::SettingsNode* entry = tools ? tools->FindChild(ToolRows[row].Key) : nullptr;
        if (Extensions[row])
            Extensions[row]->SetText(entry ? entry->GetString(L"Extension") : std::wstring());
        if (Commands[row])
            Commands[row]->SetText(entry ? entry->GetString(L"Command") : std::wstring());
    }
    if (CheckCount)
        CheckCount->SetPosition(CheckHashManager::CheckNumOf(settings));
}

void ConfigDialog::Bind()
{
    if (kit::CheckBox* underline = Boxes[6].get())
        if (UnderLineButton)
            underline->AddBinding(UnderLineButton.get(), kit::BindEnable, 1);
    if (CheckCount && CheckCountText)
        CheckCount->AddBinding(CheckCountText.get(), kit::BindPositionText);
}

void ConfigDialog::Store()
{
    kit::SettingsNode& settings = Main.GetSettings();
    for (size_t index = 0; index < Options.size(); ++index)
        if (Boxes[index])
            settings.SetBool(Options[index].Key, Boxes[index]->IsChecked());
    kit::SettingsNode& colours = settings.Child(L"Color");
    for (size_t index = 0; index < Colours.size(); ++index)
        colours.SetInt(ColourRows[index].Key, static_cast<int32_t>(Colours[index]));
    kit::SettingsNode& tools = settings.Child(L"Tool");
    for (size_t row = 0; row < ToolRows.size(); ++row) {
        kit::SettingsNode& entry = tools.Child(ToolRows[row].Key);
        entry.SetString(L"Extension", Extensions[row] ? Extensions[row]->GetText() : std::wstring());
        entry.SetString(L"Command", Commands[row] ? Commands[row]->GetText() : std::wstring());
    }
    if (CheckCount)
        settings.SetInt(L"CheckNum", CheckCount->GetPosition());
    // running checks read the published copy
    Main.PublishSettings();
}

LRESULT ConfigDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    switch (id) {
    case IDOK:
        Store();
        Release();
        EndDialog(Handle, 0);
        return TRUE;
    case IDCANCEL:
        Release();
        EndDialog(Handle, 0);
        return TRUE;
    case ID_TAG_LEFT:
        InsertTag(L"%1");
        return TRUE;
    case ID_TAG_RIGHT:
        InsertTag(L"%2");
        return TRUE;
    default:
        break;
    }
    if (code == BN_CLICKED) {
        for (size_t index = 0; index < ColourRows.size(); ++index)
            if (id == ColourRows[index].Button) {
                ChooseColour(static_cast<int>(index));
                return TRUE;
            }
        for (size_t row = 0; row < ToolRows.size(); ++row) {
            if (id == ToolRows[row].Tag) {
                ShowTagMenu(static_cast<int>(row));
                return TRUE;
            }
            if (id == ToolRows[row].Browse) {
                Browse(static_cast<int>(row));
                return TRUE;
            }
        }
        if (id == IDC_CONFIG_UNDERLINE)
            Changed = true;
    }
    return Window::OnCommand(wParam, lParam);
}

void ConfigDialog::ChooseColour(int index)
{
    kit::ColorDialog chooser;
    COLORREF colour = Colours[static_cast<size_t>(index)];
    if (!chooser.Show(this, ColourRows[static_cast<size_t>(index)].Default, colour))
        return;
    Colours[static_cast<size_t>(index)] = colour;
    if (Swatches[static_cast<size_t>(index)])
        InvalidateRect(Swatches[static_cast<size_t>(index)]->Handle, nullptr, TRUE);
    Changed = true;
}

void ConfigDialog::ShowTagMenu(int row)
{
    TagTarget = Commands[static_cast<size_t>(row)].get();
    kit::Menu* tags = TagMenus ? TagMenus->GetSubMenu(POPUP_TAG) : nullptr;
    kit::Button* button = TagButtons[static_cast<size_t>(row)].get();
    if (!tags || !button)
        return;
    RECT rect = {};
    GetWindowRect(button->Handle, &rect);
    // the chosen item arrives as WM_COMMAND 40121 or 40122
    TrackPopupMenu(tags->GetHandle(), TPM_LEFTALIGN | TPM_LEFTBUTTON, rect.left, rect.top, 0, Handle, nullptr);
}

void ConfigDialog::InsertTag(const std::wstring& tag)
{
    if (TagTarget)
        TagTarget->InsertText(tag);
}

void ConfigDialog::Browse(int row)
{
    kit::FileDialog chooser;
    std::wstring path;
    if (!chooser.Show(this, path, true, Main.GetSettings().GetString(L"DefaultDirectory"), L"exe", ProgramFilter(), 0))
        return;
    if (Commands[static_cast<size_t>(row)])
        // quoted: a blank in the path must not end the program's name (C:\Program Files\...)
        Commands[static_cast<size_t>(row)]->SetText(L"\"" + path + L"\"");
}

LRESULT ConfigDialog::OnCtlColorStatic(WPARAM wParam, LPARAM lParam)
{
    const HWND control = reinterpret_cast<HWND>(lParam);
    for (size_t index = 0; index < Swatches.size(); ++index) {
        if (!Swatches[index] || Swatches[index]->Handle != control)
            continue;
        SwatchBrush = kit::Brush::Create(Colours[index]);
        if (!SwatchBrush)
            return 0;
        SetBkColor(reinterpret_cast<HDC>(wParam), Colours[index]);
        return reinterpret_cast<LRESULT>(SwatchBrush->GetHandle());
    }
    return DefaultProc(WM_CTLCOLORSTATIC, wParam, lParam);
}

LRESULT ConfigDialog::OnHScroll(WPARAM wParam, LPARAM lParam)
{
    // the number follows the bar while it is dragged, not only when it repaints
    if (CheckCount && reinterpret_cast<HWND>(lParam) == CheckCount->Handle)
        CheckCount->UpdateBindings();
    return DefaultProc(WM_HSCROLL, wParam, lParam);
}

// the controls go before the dialog's handle does, so none outlives its window
void ConfigDialog::Release()
{
    TagTarget = nullptr;
    for (auto& box : Boxes)
        box.reset();
    for (auto& swatch : Swatches)
        swatch.reset();
    for (size_t row = 0; row < ToolRows.size(); ++row) {
        Extensions[row].reset();
        Commands[row].reset();
        TagButtons[row].reset();
    }
    UnderLineButton.reset();
    CheckCount.reset();
    CheckCountText.reset();
}

void ShowConfigDialog(ToolHost& main)
{
    const kit::SettingsNode before = main.GetSettings();
    ConfigDialog dialog(main);
    if (dialog.Run() < 0)
        return;
    if (dialog.IsChanged())
        main.RecolourRows();
    bool kindsChanged = false;
    for (const wchar_t* key : HashKeys)
        kindsChanged = kindsChanged || before.GetBool(key, false) != main.GetSettings().GetBool(key, false);
    // the columns follow the kinds (cells of the other columns stay); a kind switched on resets the marks and
    // checks again, one switched off decides the finished pairs again by what is left
    if (kindsChanged)
        main.ApplyHashKinds();
}
