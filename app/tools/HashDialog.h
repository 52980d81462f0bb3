// The hash comparison dialog (resource 112, "ハッシュ値の比較"): one checked file's values against typed ones.
// Each line shows "未入力", "一致" or "不一致" as the user types, "一致" and "不一致" on the state colours "Ok"
// and "Ng".
//
// Interface thread only; modal on the main window. The row's texts are read once, when the dialog opens.
#pragma once

#include "kit/ui/ModalDialog.h"

#include <array>
#include <string>

class FileListView;
class ToolHost;

namespace kit {
class Brush;
class EditBox;
class StaticText;
} // namespace kit

class HashDialog : public kit::ModalDialog {
public:
    // one compared line: the file's value box, the input box and the result
    struct Line {
        int Value;
        int Input;
        int Result;
    };
    // CRC32, MD5, SHA-1, then the size
    static const std::array<Line, 4> Lines;
    static const int SizeLine = 3;
    static const wchar_t* const NotEntered;
    static const wchar_t* const Match;
    static const wchar_t* const Mismatch;

    HashDialog(ToolHost& main, int side, int row);
    ~HashDialog() override;

    // runs the dialog on the main window; 0 when it was closed, -1 when it could not be created
    INT_PTR Run();

    // the result of an input against a file value: blanks around the input (tabs and full-width blanks too) and
    // commas do not count, the rest must be the same code units
    static std::wstring Compare(const std::wstring& input, const std::wstring& value);

    LRESULT OnInitDialog(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCtlColorStatic(WPARAM wParam, LPARAM lParam) override;

private:
    void ShowValue(kit::EditBox* box, const std::wstring& text);
    void SetCue(kit::EditBox* box, const std::wstring& cue);
    void UpdateLine(size_t line);
    BOOL FocusFirstInput();
    void Release();

    ToolHost& Main; // not owned
    int Side;
    int Row;
    boost::shared_ptr<kit::EditBox> FileName;
    std::array<boost::shared_ptr<kit::EditBox>, 4> Values;
    std::array<boost::shared_ptr<kit::EditBox>, 4> Inputs;
    std::array<boost::shared_ptr<kit::StaticText>, 4> Results;
    // the file's texts as read at opening
    std::array<std::wstring, 4> FileValues;
    // the brush of the result painted last, kept until the next request
    boost::shared_ptr<kit::Brush> ResultBrush;
};

// runs the dialog for a row of a side list whose check has finished; false when it could not be shown
bool ShowHashDialog(ToolHost& main, int side, int row);
// the row holds a file whose check has finished: only then are there values to compare
bool HasFinishedCheck(const FileListView& list, int row);
