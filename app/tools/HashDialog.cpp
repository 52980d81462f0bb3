#include "app/tools/HashDialog.h"

#include "app/lists/FileListView.h"
#include "app/lists/PairMarks.h"
#include "app/tools/ToolHost.h"
#include "kit/ui/Brush.h"
#include "kit/ui/EditBox.h"
#include "kit/ui/StaticText.h"
#include "resources/resource.h"

#include <commctrl.h>

#include <algorithm>

const std::array<HashDialog::Line, 4> HashDialog::Lines = {{
    {IDC_HASH_CRC32_VALUE, IDC_HASH_CRC32_INPUT, IDC_HASH_CRC32_RESULT},
    {IDC_HASH_MD5_VALUE, IDC_HASH_MD5_INPUT, IDC_HASH_MD5_RESULT},
    {IDC_HASH_SHA1_VALUE, IDC_HASH_SHA1_INPUT, IDC_HASH_SHA1_RESULT},
    {IDC_HASH_SIZE_VALUE, IDC_HASH_SIZE_INPUT, IDC_HASH_SIZE_RESULT},
}};

const wchar_t* const HashDialog::NotEntered = L"未入力";
const wchar_t* const HashDialog::Match = L"一致";
const wchar_t* const HashDialog::Mismatch = L"不一致";

namespace {

const wchar_t* const KindNames[HashKind::Count] = {L"CRC32", L"MD5", L"SHA-1"};

std::wstring WithoutCommas(std::wstring text)
{
    text.erase(std::remove(text.begin(), text.end(), L','), text.end());
    return text;
}

// a value copied from a web page or a mail often comes with blanks around it, full-width ones included
std::wstring TrimBlanks(const std::wstring& text)
{
    const wchar_t* const blanks = L" \t\r\n\u3000";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::wstring::npos)
        return std::wstring();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

} // namespace

HashDialog::HashDialog(ToolHost& main, int side, int row) : Main(main), Side(side), Row(row) {}

HashDialog::~HashDialog() = default;

INT_PTR HashDialog::Run()
{
    return DoModal(IDD_HASH, &Main.GetOwnerWindow());
}

std::wstring HashDialog::Compare(const std::wstring& typed, const std::wstring& value)
{
    const std::wstring input = TrimBlanks(typed);
    if (input.empty())
        return NotEntered;
    // a value that was never computed matches nothing, not even an input made of commas only
    if (value.empty())
        return Mismatch;
    return WithoutCommas(input) == WithoutCommas(value) ? Match : Mismatch;
}

LRESULT HashDialog::OnInitDialog(WPARAM, LPARAM)
{
    FileName = kit::EditBox::Attach(this, IDC_HASH_FILE_NAME);
    for (size_t line = 0; line < Lines.size(); ++line) {
        Values[line] = kit::EditBox::Attach(this, Lines[line].Value);
        Inputs[line] = kit::EditBox::Attach(this, Lines[line].Input);
        Results[line] = kit::StaticText::Attach(this, Lines[line].Result);
    }
    const FileListView* list = Main.GetList(Side);
    if (!list)
        return TRUE;
    ShowValue(FileName.get(), list->GetCellText(Row, 0));
    FileValues[SizeLine] = list->GetSizeText(Row);
    ShowValue(Values[SizeLine].get(), FileValues[SizeLine]);
    SetCue(Inputs[SizeLine].get(), L"ファイルサイズを入力（カンマ省略可）");
    if (Results[SizeLine])
        Results[SizeLine]->SetText(NotEntered);
    const HashKindFlags enabled = Main.GetEnabledKinds();
    for (int kind = 0; kind < HashKind::Count; ++kind) {
        const size_t line = static_cast<size_t>(kind);
        if (!enabled[kind]) {
            for (kit::Window* control : {static_cast<kit::Window*>(Values[line].get()),
                                         static_cast<kit::Window*>(Inputs[line].get()),
                                         static_cast<kit::Window*>(Results[line].get())})
                if (control)
                    EnableWindow(control->Handle, FALSE);
            continue;
        }
        FileValues[line] = list->GetHashText(Row, kind);
        ShowValue(Values[line].get(), FileValues[line]);
        SetCue(Inputs[line].get(), std::wstring(KindNames[kind]) + L"を入力");
        if (Results[line])
            Results[line]->SetText(NotEntered);
    }
    return FocusFirstInput();
}

// the user comes to type: the first enabled input takes the focus (FALSE: the dialog manager keeps it there)
BOOL HashDialog::FocusFirstInput()
{
    for (const boost::shared_ptr<kit::EditBox>& input : Inputs)
        if (input && IsWindowEnabled(input->Handle)) {
            SetFocus(input->Handle);
            return FALSE;
        }
    return TRUE;
}

void HashDialog::ShowValue(kit::EditBox* box, const std::wstring& text)
{
    if (!box)
        return;
    box->SetText(text);
    const WPARAM end = static_cast<WPARAM>(text.size());
    SendMessageW(box->Handle, EM_SETSEL, end, static_cast<LPARAM>(end));
}

void HashDialog::SetCue(kit::EditBox* box, const std::wstring& cue)
{
    // TRUE: the cue stays while the box has the focus and is empty
    if (box)
        SendMessageW(box->Handle, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(cue.c_str()));
}

void HashDialog::UpdateLine(size_t line)
{
    if (!Inputs[line] || !Results[line])
        return;
    Results[line]->SetText(Compare(Inputs[line]->GetText(), FileValues[line]));
    // the background follows the new text
    InvalidateRect(Results[line]->Handle, nullptr, TRUE);
}

LRESULT HashDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    if (id == IDC_CLOSE || id == IDCANCEL) {
        Release();
        EndDialog(Handle, 0);
        return TRUE;
    }
    if (HIWORD(wParam) == EN_CHANGE)
        for (size_t line = 0; line < Lines.size(); ++line)
            if (id == Lines[line].Input) {
                UpdateLine(line);
                return TRUE;
            }
    return Window::OnCommand(wParam, lParam);
}

LRESULT HashDialog::OnCtlColorStatic(WPARAM wParam, LPARAM lParam)
{
    const HWND control = reinterpret_cast<HWND>(lParam);
    for (size_t line = 0; line < Lines.size(); ++line) {
        if (!Results[line] || Results[line]->Handle != control)
            continue;
        const std::wstring text = Results[line]->GetText();
        int state = -1;
        if (text == Match)
            state = StateColour::Ok;
        else if (text == Mismatch)
            state = StateColour::Ng;
        if (state < 0)
            break;
        // the colour the lists use for the same state (its default when the setting is missing or damaged)
        const COLORREF colour = Main.GetStateColour(state);
        ResultBrush = kit::Brush::Create(colour);
        if (!ResultBrush)
            break;
        SetBkColor(reinterpret_cast<HDC>(wParam), colour);
        return reinterpret_cast<LRESULT>(ResultBrush->GetHandle());
    }
    return DefaultProc(WM_CTLCOLORSTATIC, wParam, lParam);
}

void HashDialog::Release()
{
    FileName.reset();
    for (size_t line = 0; line < Lines.size(); ++line) {
        Values[line].reset();
        Inputs[line].reset();
        Results[line].reset();
    }
}

bool HasFinishedCheck(const FileListView& list, int row)
{
    FileListView::ItemInfo info;
    return row >= 0 && row < list.GetRowCount() && !list.IsBlankRow(row) && list.GetItemInfo(row, info) &&
           info.Finished;
}

bool ShowHashDialog(ToolHost& main, int side, int row)
{
    const FileListView* list = main.GetList(side);
    if (!list || !HasFinishedCheck(*list, row))
        return false;
    HashDialog dialog(main, side, row);
    return dialog.Run() >= 0;
}
