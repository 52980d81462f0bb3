// The file operation worker: copies, moves or deletes a list of files one after the other on a thread of its own,
// logs every problem and reports progress by bytes through a CopySink. A copy, when asked, is read back and
// compared before it replaces anything; a file the run has written is never replaced by a later one of the run.
// The read-back of a file runs while the next ones are copied, yet every file ends (log, counts, progress) in order.
#pragma once

#include "app/lists/HashText.h"
#include "app/tools/CopyRow.h"
#include "app/tools/CopySink.h"
#include "app/tools/CopyTask.h"
#include "kit/core/Thread.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <string>
#include <unordered_set>
#include <vector>

#include <boost/shared_ptr.hpp>

class VerifiedCopy;

class CopyThread : public kit::Thread {
public:
    enum : int32_t { OperationCopy = 0, OperationMove = 1, OperationDelete = 2 };
    // what to do when the destination exists, by the index of the clash combo box
    enum : int32_t { ClashOverwrite = 0, ClashSkip = 1, ClashRename = 2 };
    // progress positions run from 0 to ProgressMax, the range of the progress bar
    static constexpr int ProgressMax = 10000;

    // how many files a run got through, left alone and lost on the way
    struct Counts {
        int Done = 0;
        int Skipped = 0;
        int Failed = 0;
        // of Done: the copies read back and found equal (a move within one volume writes nothing to verify)
        int Verified = 0;
    };

    // starts the run at once; empty when no thread could be created. The sink must outlive the object, whose
    // destructor cancels and waits for the file in progress. verify names the kinds a copy is checked with (none:
    // copies are not read back; CRC32 is added to any other choice).
    static boost::shared_ptr<CopyThread> Create(CopySink* sink, int32_t operation, int32_t clashPolicy,
                                                std::vector<CopyTask> tasks, const HashKindFlags& verify = {});
    ~CopyThread() override;

    // the tasks for the checked rows, in row order; folder is the output folder (a backslash is added)
    static std::vector<CopyTask> BuildTasks(const std::wstring& folder, bool keepRelativePaths, int32_t operation,
                                            const std::vector<CopyRow>& rows);
    // "コピー", "移動", "削除"
    static const std::wstring& OperationName(int32_t operation);
    // the last status line: what happened, never a success when nothing succeeded
    static std::wstring FinalStatus(int32_t operation, bool cancelled, bool verified, const Counts& counts);

    // interface thread: the file being processed is finished, no further one starts
    void Cancel();
    bool IsFinished() const;

protected:
    void Run() override;

private:
    // a skipped or missing file's bytes do not count towards the progress
    // Checking: the copy is written and being read back; the file ends in FinishOldest
    enum Outcome { Succeeded, Failed, Skipped, Missing, Checking };
    enum CopyResult { Copied, CopiedVerified, CopyFailed, VerifyFailed, BeingChecked };
    // what becomes of an existing destination
    enum Resolution { WriteNew, Replace, LeaveAlone, Refuse };

    CopyThread(CopySink* sink, int32_t operation, int32_t clashPolicy, std::vector<CopyTask> tasks,
               const HashKindFlags& verify);

    // a verified copy being read back while the next files are copied
    struct PendingCopy {
        const CopyTask* Task = nullptr;
        std::wstring Destination;
        std::wstring Temporary;
        bool Replace = false;
        DWORD Attributes = 0; // the source's, which the copy takes once it has been read back
        // upper-cased, for the paths of later files that must wait for this one to end
        std::wstring UpperDestination;
        std::wstring UpperSource;
    };

    // true when cancelled
    bool ProcessAll();
    Outcome ProcessTask(const CopyTask& task);
    Outcome TransferOne(const CopyTask& task);
    Resolution ResolveClash(const std::wstring& source, std::wstring& destination);
    void RenameWrittenClash(std::wstring& destination);
    Outcome Conclude(const CopyTask& task, const std::wstring& destination, bool replace, CopyResult result);
    CopyResult CopyOne(const CopyTask& task, const std::wstring& destination, bool replace);
    CopyResult StartVerifiedCopy(const CopyTask& task, const std::wstring& destination, const std::wstring& temporary,
                                 bool replace);
    bool MeetsPending(const std::wstring& path) const;
    void FinishPending();
    void FinishOldest();
    CopyResult PlaceChecked(const PendingCopy& copy);
    void DropPending();
    void Finish(const CopyTask& task, Outcome outcome);
    CopyResult MoveOne(const CopyTask& task, const std::wstring& destination, bool replace);
    bool DeleteMovedSource(const std::wstring& source);
    void ReportEnd(bool cancelled);
    void Log(const std::wstring& line);
    void LogFailure(const std::wstring& source);
    bool IsWritten(const std::wstring& destination) const;

    CopySink* Sink; // not owned
    int32_t Operation;
    int32_t ClashPolicy;
    std::vector<CopyTask> Tasks; // written only before the thread runs
    HashKindFlags Verify;
    bool Verifying;
    uint64_t TotalBytes;
    // worker thread only from here on
    uint64_t Processed;
    Counts Tally;
    boost::shared_ptr<VerifiedCopy> Copier; // while a verifying run runs
    std::deque<PendingCopy> Pending; // oldest first
    bool FinishingOldest; // its lines go out before those of the files queued behind it
    // destinations this run has written, upper-cased: never replaced by a later file of the same run
    std::unordered_set<std::wstring> Written;
    std::atomic<bool> CancelRequested;
    // the run has begun to report its end; a cancel no longer changes the status
    std::atomic<bool> Ending;
};
