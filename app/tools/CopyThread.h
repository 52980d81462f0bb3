// The file operation worker: copies, moves or deletes a list of files one after the other on a thread of its own,
// logs every problem and reports progress by bytes through a CopySink.
#pragma once

#include "app/tools/CopyRow.h"
#include "app/tools/CopySink.h"
#include "app/tools/CopyTask.h"
#include "kit/core/Thread.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>

class CopyThread : public kit::Thread {
public:
    enum : int32_t { OperationCopy = 0, OperationMove = 1, OperationDelete = 2 };
    // what to do when the destination exists, by the index of the clash combo box
    enum : int32_t { ClashOverwrite = 0, ClashSkip = 1, ClashRename = 2 };
    // progress positions run from 0 to ProgressMax, the range of the progress bar
    static constexpr int ProgressMax = 10000;

    // starts the run at once; empty when no thread could be created. The sink must outlive the object, whose
    // destructor cancels and waits for the file in progress.
    static boost::shared_ptr<CopyThread> Create(CopySink* sink, int32_t operation, int32_t clashPolicy,
                                                std::vector<CopyTask> tasks);
    ~CopyThread() override;

    // the tasks for the checked rows, in row order; folder is the output folder (a backslash is added)
    static std::vector<CopyTask> BuildTasks(const std::wstring& folder, bool keepRelativePaths, int32_t operation,
                                            const std::vector<CopyRow>& rows);
    // "コピー", "移動", "削除"
    static const std::wstring& OperationName(int32_t operation);

    // interface thread: the file being processed is finished, no further one starts
    void Cancel();
    bool IsFinished() const;

protected:
    void Run() override;

private:
    // NotProcessed: the file was skipped or is gone, and its bytes do not count towards the progress
    enum Outcome { Processed, NotProcessed };
    // what becomes of an existing destination
    enum Resolution { WriteNew, Replace, LeaveAlone, Refuse };

    CopyThread(CopySink* sink, int32_t operation, int32_t clashPolicy, std::vector<CopyTask> tasks);

    // true when cancelled
    bool ProcessAll();
    Outcome ProcessTask(const CopyTask& task);
    Outcome TransferOne(const CopyTask& task);
    Resolution ResolveClash(const std::wstring& source, std::wstring& destination);
    bool CopyOne(const std::wstring& source, const std::wstring& destination, bool replace);
    bool MoveOne(const std::wstring& source, const std::wstring& destination, bool replace);
    void DeleteMovedSource(const std::wstring& source);
    void ReportEnd(bool cancelled);
    void Log(const std::wstring& line);
    void LogFailure(const std::wstring& source);

    CopySink* Sink; // not owned
    int32_t Operation;
    int32_t ClashPolicy;
    std::vector<CopyTask> Tasks; // written only before the thread runs
    uint64_t TotalBytes;
    std::atomic<bool> CancelRequested;
    // the run has begun to report its end; a cancel no longer changes the status
    std::atomic<bool> Ending;
};
