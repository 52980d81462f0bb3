// The progress dialog of a file operation run (resource 113, "進捗"): starts the CopyThread when it opens and shows
// what the thread reports: the current file, a bar weighted by bytes and an error log. Its button cancels the run;
// once the run is over it reads "閉じる" and closes the dialog. The dialog never closes while the thread runs.
//
// The sink calls come from the worker thread and reach the controls through SendMessageW, which the interface
// thread serves in the dialog's modal loop.
#pragma once

#include "app/tools/CopySink.h"
#include "app/tools/CopyTask.h"
#include "kit/ui/ModalDialog.h"

#include <atomic>
#include <cstdint>
#include <vector>

class CopyThread;

namespace kit {
class Button;
class ListView;
class ProgressBar;
class StaticText;
} // namespace kit

class ProgressDialog : public kit::ModalDialog, public CopySink {
public:
    // what the run does, as the file operation dialog chose it
    struct Request {
        int32_t Operation = 0;
        int32_t ClashPolicy = 1;
        std::vector<CopyTask> Tasks;
        // the kinds copies are verified with; none: not verified
        HashKindFlags Verify{};
    };

    explicit ProgressDialog(Request request);
    ~ProgressDialog() override;

    // runs the dialog modally over parent (the file operation dialog); returns when the run is over and the user
    // closed the dialog; -1 when it could not be created
    INT_PTR Run(kit::Window* parent);

    // the worker has reported its end (the button reads "閉じる")
    bool IsDone() const { return Done.load(); }
    CopyThread* GetWorker() const { return Worker.get(); }
    kit::ListView* GetErrorLog() const { return ErrorLog.get(); }
    kit::ProgressBar* GetBar() const { return Bar.get(); }

    // CopySink
    void SetStatus(const std::wstring& text) override;
    void AddLog(const std::wstring& line) override;
    void SetProgress(int position) override;
    void SetPaused() override;
    void Finished(const std::wstring& closeText) override;

    LRESULT OnInitDialog(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void AttachControls();
    void StartWorker();
    // the button: cancels a running worker, closes the dialog once the worker is done
    void CancelOrClose();
    void JoinWorker();
    void FitLogColumn();

    Request Work;
    boost::shared_ptr<kit::ProgressBar> Bar;
    boost::shared_ptr<kit::StaticText> Status;
    boost::shared_ptr<kit::ListView> ErrorLog;
    boost::shared_ptr<kit::Button> CancelButton;
    // last member: destroyed (cancelled and joined) before the controls it writes to
    boost::shared_ptr<CopyThread> Worker;
    std::atomic<bool> Done{false};
};
