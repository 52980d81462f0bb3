#include "app/tools/ProgressDialog.h"

#include "app/tools/CopyThread.h"
#include "kit/ui/Button.h"
#include "kit/ui/ListView.h"
#include "kit/ui/ProgressBar.h"
#include "kit/ui/StaticText.h"
#include "resources/resource.h"

#include <commctrl.h>

namespace {

const wchar_t* const NotStartedText = L"ファイルの操作を開始できませんでした";

} // namespace

ProgressDialog::ProgressDialog(Request request) : Work(std::move(request)) {}

ProgressDialog::~ProgressDialog()
{
    // only a dialog that was never run modally can go while its worker runs; the worker may be waiting in
    // SendMessageW for this thread, so the thread keeps serving messages until the run has ended
    if (Worker) {
        if (!Done)
            Worker->Cancel();
        JoinWorker();
    }
    Worker.reset();
}

INT_PTR ProgressDialog::Run(kit::Window* parent)
{
    return DoModal(IDD_PROGRESS, parent);
}

LRESULT ProgressDialog::OnInitDialog(WPARAM, LPARAM)
{
    CenterOver(nullptr);
    AttachControls();
    StartWorker();
    return TRUE;
}

void ProgressDialog::AttachControls()
{
    Status = kit::StaticText::Attach(this, IDC_PROGRESS_STATUS);
    Bar = kit::ProgressBar::Attach(this, IDC_PROGRESS_BAR);
    ErrorLog = kit::ListView::Attach(this, IDC_PROGRESS_ERRORS, false);
    CancelButton = kit::Button::Attach(this, IDC_CLOSE);
    if (ErrorLog) {
        const RECT header = ErrorLog->GetHeaderRect();
        int width = header.right - header.left;
        if (width <= 0) {
            RECT client = {};
            GetClientRect(ErrorLog->Handle, &client);
            width = client.right - client.left;
        }
        width -= 2 * GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXVSCROLL);
        ErrorLog->AddColumn(L"エラーログ", width, LVCFMT_LEFT);
    }
    if (Bar)
        Bar->SetRange(CopyThread::ProgressMax);
}

void ProgressDialog::StartWorker()
{
    Worker = CopyThread::Create(this, Work.Operation, Work.ClashPolicy, Work.Tasks, Work.Verify);
    if (!Worker) {
        SetStatus(NotStartedText);
        Finished(L"閉じる");
    }
}

LRESULT ProgressDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    if (id == IDCANCEL || id == IDC_CLOSE) {
        CancelOrClose();
        return TRUE;
    }
    return Window::OnCommand(wParam, lParam);
}

void ProgressDialog::CancelOrClose()
{
    if (!Done) {
        if (Worker)
            Worker->Cancel();
        return;
    }
    if (Worker)
        JoinWorker();
    EndDialog(Handle, 0);
}

// the wait is short, but the worker may still be inside a send to this thread, which must be served
void ProgressDialog::JoinWorker()
{
    kit::ServeSentMessagesUntil([this] { return Worker->IsFinished(); });
    Worker->Join();
}

void ProgressDialog::SetStatus(const std::wstring& text)
{
    if (Status)
        Status->SetText(text);
}

void ProgressDialog::AddLog(const std::wstring& line)
{
    if (!ErrorLog)
        return;
    if (kit::ListViewItem* row = ErrorLog->AddItem(line))
        ErrorLog->SendToControl(LVM_ENSUREVISIBLE, static_cast<WPARAM>(row->GetIndex()), FALSE);
}

void ProgressDialog::SetProgress(int position)
{
    if (Bar)
        Bar->SetPos(position);
}

void ProgressDialog::SetPaused()
{
    if (Bar)
        Bar->SetState(PBST_PAUSED);
}

void ProgressDialog::Finished(const std::wstring& closeText)
{
    // set before the button reads "閉じる": a press on that text must close. A press that comes before the texts
    // below arrive joins the worker while serving its sends, and then closes.
    Done = true;
    if (ErrorLog)
        FitLogColumn();
    if (CancelButton)
        CancelButton->SetText(closeText);
}

// the column fills the list, and is wider when a line is: a long path can then be read by scrolling sideways
void ProgressDialog::FitLogColumn()
{
    ErrorLog->SendToControl(LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE);
    const LRESULT lines = ErrorLog->SendToControl(LVM_GETCOLUMNWIDTH, 0, 0);
    ErrorLog->SendToControl(LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE_USEHEADER);
    if (lines > ErrorLog->SendToControl(LVM_GETCOLUMNWIDTH, 0, 0))
        ErrorLog->SendToControl(LVM_SETCOLUMNWIDTH, 0, lines);
    // a horizontal scroll bar that came with the wider column may cover the last line
    const int count = ErrorLog->GetItemCount();
    if (count > 0)
        ErrorLog->SendToControl(LVM_ENSUREVISIBLE, static_cast<WPARAM>(count - 1), FALSE);
}
