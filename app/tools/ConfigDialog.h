// The settings dialog (resource 105, "設定"): the general options, the state colours, the compare-tool table and
// the number of files checked at the same time. OK stores everything into the settings root (and its "Color" and
// "Tool" nodes); Cancel stores nothing. Changed tells the caller that the rows need recolouring.
//
// Interface thread only; modal on the main window.
#pragma once

#include "kit/ui/ModalDialog.h"

#include <array>
#include <string>

class ToolHost;

namespace kit {
class Brush;
class Button;
class CheckBox;
class EditBox;
class Menu;
class StaticText;
class TrackBar;
} // namespace kit

class ConfigDialog : public kit::ModalDialog {
public:
    // a check box or radio button and the 1-byte key it edits
    struct Option {
        int Id;
        const wchar_t* Key;
        bool Radio;
    };
    // a colour row: the key under "Color", its swatch, its "変更" button and the colour offered as default
    struct ColourRow {
        const wchar_t* Key;
        int Swatch;
        int Button;
        COLORREF Default;
    };
    // a compare-tool row: the child of "Tool", its two boxes and its two buttons
    struct ToolRow {
        const wchar_t* Key;
        int Extension;
        int Command;
        int Tag;
        int Browse;
    };
    static const std::array<Option, 10> Options;
    static const std::array<ColourRow, 7> ColourRows;
    static const std::array<ToolRow, 3> ToolRows;
    static const int MinimumChecks = 1;
    static const int MaximumChecks = 16;

    explicit ConfigDialog(ToolHost& main);
    ~ConfigDialog() override;

    // runs the dialog on the main window; 0 when it was closed, -1 when it could not be created
    INT_PTR Run();

    // a colour was chosen or the underline box clicked (also when the dialog then ends with Cancel)
    bool IsChanged() const { return Changed; }
    COLORREF GetColour(int index) const { return Colours[index]; }
    // the command box that the tag menu writes into, or null before a ">" was pressed
    kit::EditBox* GetTagTarget() const { return TagTarget; }

    // the steps of OK: every control's value into the settings (then published to the other threads)
    void Store();

    LRESULT OnInitDialog(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCtlColorStatic(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnHScroll(WPARAM wParam, LPARAM lParam) override;

private:
    void AttachControls();
    void Load();
    void Bind();
    void ChooseColour(int index);
    void ShowTagMenu(int row);
    void InsertTag(const std::wstring& tag);
    void Browse(int row);
    void Release();

    ToolHost& Main; // not owned
    std::array<boost::shared_ptr<kit::CheckBox>, 10> Boxes;
    std::array<boost::shared_ptr<kit::StaticText>, 7> Swatches;
    std::array<COLORREF, 7> Colours;
    std::array<boost::shared_ptr<kit::EditBox>, 3> Extensions;
    std::array<boost::shared_ptr<kit::EditBox>, 3> Commands;
    std::array<boost::shared_ptr<kit::Button>, 3> TagButtons;
    boost::shared_ptr<kit::Button> UnderLineButton;
    boost::shared_ptr<kit::TrackBar> CheckCount;
    boost::shared_ptr<kit::EditBox> CheckCountText;
    boost::shared_ptr<kit::Menu> TagMenus;
    kit::EditBox* TagTarget = nullptr; // not owned; one of Commands
    // the brush of the swatch painted last, kept until the next request
    boost::shared_ptr<kit::Brush> SwatchBrush;
    bool Changed = false;
};

// Runs the dialog on the main window and applies its outcome: rows recoloured when a colour or the underline
// changed, columns rebuilt, marks reset and the check restarted when a hash kind was switched.
void ShowConfigDialog(ToolHost& main);
