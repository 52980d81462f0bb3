#include "app/tools/CopyThread.h"

#include "app/tools/VerifiedCopy.h"
#include "kit/core/LongPath.h"
#include "kit/core/Path.h"

#include <windows.h>

#include <algorithm>
#include <limits>

namespace {

const wchar_t* const CloseText = L"閉じる";
const wchar_t* const CancellingText = L"キャンセル中...";
const wchar_t* const ArrowPrefix = L"\u3000→";

bool IsFolder(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(kit::SystemPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// true only when both names open and turn out to be one file (a second name of the same drive, a case variant)
bool SameFile(const std::wstring& a, const std::wstring& b)
{
    BY_HANDLE_FILE_INFORMATION info[2];
    const std::wstring* paths[2] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
        HANDLE file = CreateFileW(kit::SystemPath(*paths[i]).c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        BOOL ok = GetFileInformationByHandle(file, &info[i]);
        CloseHandle(file);
        if (!ok)
            return false;
    }
    return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
           info[0].nFileIndexHigh == info[1].nFileIndexHigh && info[0].nFileIndexLow == info[1].nFileIndexLow;
}

// a name beside the destination for the copy in progress, so that the destination itself only ever holds a whole file
std::wstring TemporaryNameFor(const std::wstring& destination)
{
    for (int i = 1; i < 10000; ++i) {
        std::wstring candidate = destination + L".~" + std::to_wstring(i) + L".tmp";
        if (GetFileAttributesW(kit::SystemPath(candidate).c_str()) == INVALID_FILE_ATTRIBUTES &&
            GetLastError() == ERROR_FILE_NOT_FOUND)
            return candidate;
    }
    return std::wstring();
}

bool ClearReadOnly(const std::wstring& path, DWORD attributes)
{
    DWORD writable = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    return SetFileAttributesW(kit::SystemPath(path).c_str(), writable ? writable : FILE_ATTRIBUTE_NORMAL) != FALSE;
}

// CopyFileW passes the source's read-only flag on to the copy, which DeleteFileW then refuses
void RemoveTemporary(const std::wstring& path)
{
    const std::wstring system = kit::SystemPath(path);
    SetFileAttributesW(system.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(system.c_str());
}

// MoveFileExW, which refuses to replace a read-only file: then the flag is cleared for one more try and put back
// when that try fails too, so a failed replacement leaves the old file exactly as it was
bool MoveReplacing(const std::wstring& fromPath, const std::wstring& toPath, DWORD flags)
{
    const std::wstring from = kit::SystemPath(fromPath);
    const std::wstring to = kit::SystemPath(toPath);
    if (MoveFileExW(from.c_str(), to.c_str(), flags))
        return true;
    DWORD error = GetLastError();
    DWORD attributes = GetFileAttributesW(to.c_str());
    if (!(flags & MOVEFILE_REPLACE_EXISTING) || attributes == INVALID_FILE_ATTRIBUTES ||
        !(attributes & FILE_ATTRIBUTE_READONLY) || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetLastError(error);
        return false;
    }
    if (!ClearReadOnly(toPath, attributes)) {
        SetLastError(error);
        return false;
    }
    if (MoveFileExW(from.c_str(), to.c_str(), flags))
        return true;
    error = GetLastError();
    SetFileAttributesW(to.c_str(), attributes);
    SetLastError(error);
    return false;
}

// position in 1/ProgressMax; a double, because bytes × ProgressMax overflows 64 bits for sizes beyond 1.8 EB
int PositionOf(uint64_t processed, uint64_t total)
{
    if (total == 0)
        return 0;
    double position = static_cast<double>(processed) / static_cast<double>(total) * CopyThread::ProgressMax;
    return std::min(static_cast<int>(position), CopyThread::ProgressMax);
}

uint64_t AddSaturating(uint64_t a, uint64_t b)
{
    return b > std::numeric_limits<uint64_t>::max() - a ? std::numeric_limits<uint64_t>::max() : a + b;
}

// a relative path that stays below the output folder: not rooted, no drive, no ".." step
bool StaysBelow(const std::wstring& relative)
{
    if (relative.empty() || relative[0] == L'\\' || relative[0] == L'/' || relative.find(L':') != std::wstring::npos)
        return false;
    size_t start = 0;
    while (start <= relative.size()) {
        size_t end = relative.find_first_of(L"\\/", start);
        if (end == std::wstring::npos)
            end = relative.size();
        if (relative.compare(start, end - start, L"..") == 0)
            return false;
        start = end + 1;
    }
    return true;
}

// the relative key is lower-cased for pairing; the same number of characters at the end of the full path is the
// relative path in the file's own letter case
std::wstring RelativePartOf(const CopyRow& row)
{
    const std::wstring& key = row.RelativePath;
    std::wstring relative = key;
    if (!key.empty() && key.size() <= row.FullPath.size()) {
        std::wstring tail = row.FullPath.substr(row.FullPath.size() - key.size());
        if (CompareStringOrdinal(tail.c_str(), static_cast<int>(tail.size()), key.c_str(), static_cast<int>(key.size()),
                                 TRUE) == CSTR_EQUAL)
            relative = tail;
    }
    return StaysBelow(relative) ? relative : kit::FindFileName(row.FullPath);
}

std::wstring UpperCase(std::wstring text)
{
    if (!text.empty())
        CharUpperBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

} // namespace

boost::shared_ptr<CopyThread> CopyThread::Create(CopySink* sink, int32_t operation, int32_t clashPolicy,
                                                 std::vector<CopyTask> tasks, const HashKindFlags& verify)
{
    boost::shared_ptr<CopyThread> thread(new CopyThread(sink, operation, clashPolicy, std::move(tasks), verify));
    if (!thread->Start(THREAD_PRIORITY_NORMAL))
        return boost::shared_ptr<CopyThread>();
    thread->Resume();
    return thread;
}

CopyThread::CopyThread(CopySink* sink, int32_t operation, int32_t clashPolicy, std::vector<CopyTask> tasks,
                       const HashKindFlags& verify)
    : Sink(sink), Operation(operation), ClashPolicy(clashPolicy), Tasks(std::move(tasks)), Verify(verify),
      Verifying(false), TotalBytes(0), Processed(0), FinishingOldest(false), CancelRequested(false), Ending(false)
{
    if (Operation < OperationCopy || Operation > OperationDelete)
        Operation = OperationCopy;
    // an unknown policy never overwrites
    if (ClashPolicy < ClashOverwrite || ClashPolicy > ClashRename)
        ClashPolicy = ClashSkip;
    for (bool kind : Verify)
        Verifying = Verifying || kind;
    Verifying = Verifying && Operation != OperationDelete;
    for (const CopyTask& task : Tasks)
        TotalBytes = AddSaturating(TotalBytes, task.Size);
}

CopyThread::~CopyThread()
{
    // the run must be over before the members it uses go; the base destructor would join too late
    CancelRequested = true;
    StopAndJoin();
}

std::vector<CopyTask> CopyThread::BuildTasks(const std::wstring& folder, bool keepRelativePaths, int32_t operation,
                                             const std::vector<CopyRow>& rows)
{
    std::wstring base = kit::AddBackslash(folder);
    std::vector<CopyTask> tasks;
    for (const CopyRow& row : rows) {
        if (!row.Checked)
            continue;
        CopyTask task;
        task.Source = row.FullPath;
        task.Size = row.Size;
        task.Values = row.Values;
        if (operation != OperationDelete)
            task.Destination = base + (keepRelativePaths ? RelativePartOf(row) : kit::FindFileName(row.FullPath));
        tasks.push_back(task);
    }
    return tasks;
}

const std::wstring& CopyThread::OperationName(int32_t operation)
{
    static const std::wstring names[] = {L"コピー", L"移動", L"削除"};
    return names[operation >= OperationCopy && operation <= OperationDelete ? operation : OperationCopy];
}

std::wstring CopyThread::FinalStatus(int32_t operation, bool cancelled, bool verified, const Counts& counts)
{
    const std::wstring& name = OperationName(operation);
    // short enough for the status line, which shortens long texts from their start
    std::wstring tally = L"（" + name + L" " + std::to_wstring(counts.Done);
    // a move within one volume writes no byte, so a move shows the count only when it verified something
    if (verified && (operation == OperationCopy || counts.Verified > 0))
        tally += L"、検証済み " + std::to_wstring(counts.Verified);
    tally += L"、スキップ " + std::to_wstring(counts.Skipped) + L"、失敗 " + std::to_wstring(counts.Failed) + L"）";
    if (cancelled)
        return name + L"がキャンセルされました" + tally;
    if (counts.Done == 0)
        return name + L"できませんでした" + tally;
    if (counts.Skipped == 0 && counts.Failed == 0)
        return name + L"が完了しました" + tally;
    return name + L"が終了しました" + tally;
}

void CopyThread::Cancel()
{
    // flag first: the worker tests it again after each status line it writes
    CancelRequested = true;
    // once the run reports its end, that text stays; the progress dialog's thread serves the worker's final status
    // only after this call returns, so the final text cannot be overwritten by a late cancel
    if (!Ending)
        Sink->SetStatus(CancellingText);
}

bool CopyThread::IsFinished() const
{
    return IsStopping();
}

void CopyThread::Run()
{
    bool cancelled = true;
    try {
        if (Verifying)
            Copier.reset(new VerifiedCopy(Verify));
        cancelled = ProcessAll();
    } catch (...) {
        // out of memory: end as a cancelled run, so that the dialog can still close
        DropPending();
    }
    Copier.reset();
    try {
        ReportEnd(cancelled);
    } catch (...) {
        // the sink failed; the run must still end below
    }
    Stop();
}

bool CopyThread::ProcessAll()
{
    for (const CopyTask& task : Tasks) {
        if (CancelRequested) {
            FinishPending();
            return true;
        }
        Sink->SetStatus(task.Source + L"を" + OperationName(Operation) + L"中...");
        // a cancel that came between the test above and the status line keeps its own text
        if (CancelRequested)
            Sink->SetStatus(CancellingText);
        const Outcome outcome = ProcessTask(task);
        if (outcome == Checking)
            continue;
        FinishPending();
        Finish(task, outcome);
    }
    FinishPending();
    return false;
}

// files end in the order of the list, each with its count and its step of the progress
void CopyThread::Finish(const CopyTask& task, Outcome outcome)
{
    if (outcome == Succeeded)
        ++Tally.Done;
    else if (outcome == Skipped)
        ++Tally.Skipped;
    else
        ++Tally.Failed;
    if (outcome == Skipped || outcome == Missing)
        return;
    Processed = AddSaturating(Processed, task.Size);
    Sink->SetProgress(PositionOf(Processed, TotalBytes));
}

CopyThread::Outcome CopyThread::ProcessTask(const CopyTask& task)
{
    // a later file that reads, writes or needs a folder where the copy being read back lands waits for it to end
    if (MeetsPending(task.Source) || MeetsPending(task.Destination))
        FinishPending();
    if (!kit::PathExists(task.Source)) {
        Log(task.Source + L" が開けませんでした");
        return Missing;
    }
    if (Operation == OperationDelete) {
        if (DeleteFileW(kit::SystemPath(task.Source).c_str()))
            return Succeeded;
        Log(task.Source + L" の削除に失敗しました");
        return Failed;
    }
    return TransferOne(task);
}

CopyThread::Outcome CopyThread::TransferOne(const CopyTask& task)
{
    std::wstring folder = kit::RemoveFileName(task.Destination);
    // most files of a tree land in a folder that is there already: one look instead of a creation at every level
    if (!IsFolder(folder)) {
        kit::CreateFolders(folder);
        if (!IsFolder(folder)) {
            Log(folder + L" が作成できませんでした");
            LogFailure(task.Source);
            return Failed;
        }
    }

    std::wstring destination = task.Destination;
    bool exists = kit::PathExists(destination);
    // a clash is settled against the files before this one in place: the one being read back may take a name
    if (exists && !Pending.empty()) {
        FinishPending();
        exists = kit::PathExists(destination);
    }
    Resolution resolution = WriteNew;
    if (exists) {
        Log(destination + L" が既に存在します");
        resolution = ResolveClash(task.Source, destination);
        if (resolution == LeaveAlone)
            return Skipped;
        if (resolution == Refuse) {
            LogFailure(task.Source);
            return Failed;
        }
    }

    bool replace = resolution == Replace;
    CopyResult result = Operation == OperationMove ? MoveOne(task, destination, replace)
                                                   : CopyOne(task, destination, replace);
    return result == BeingChecked ? Checking : Conclude(task, destination, replace, result);
}

CopyThread::Outcome CopyThread::Conclude(const CopyTask& task, const std::wstring& destination, bool replace,
                                         CopyResult result)
{
    if (result == VerifyFailed) {
        Log(task.Source + L" の検証に失敗しました");
        return Failed;
    }
    if (result == CopyFailed) {
        LogFailure(task.Source);
        return Failed;
    }
    Written.insert(UpperCase(destination));
    if (result == CopiedVerified)
        ++Tally.Verified;
    if (replace)
        Log(std::wstring(ArrowPrefix) + L"上書きしました。");
    return Succeeded;
}

CopyThread::Resolution CopyThread::ResolveClash(const std::wstring& source, std::wstring& destination)
{
    if (ClashPolicy == ClashSkip)
        return LeaveAlone;
    // two files of the run with one destination: replacing the first would lose it, the only copy after a move
    if (ClashPolicy == ClashOverwrite && IsWritten(destination)) {
        RenameWrittenClash(destination);
        return WriteNew;
    }
    if (ClashPolicy == ClashRename) {
        std::wstring freeName = kit::FindFreeName(destination);
        // when every numbered name is taken the name stays, and writing to it fails
        if (freeName != destination) {
            destination = freeName;
            Log(std::wstring(ArrowPrefix) + L"出力ファイル名を " + kit::FindFileName(destination) + L" に変更しました");
        }
        return WriteNew;
    }
    // replacing a file by itself would at best do nothing, and a move through two names of it would lose it
    return SameFile(source, destination) ? Refuse : Replace;
}

void CopyThread::RenameWrittenClash(std::wstring& destination)
{
    std::wstring freeName = kit::FindFreeName(destination);
    if (freeName == destination)
        return;
    destination = freeName;
    Log(std::wstring(ArrowPrefix) + L"この操作で書き込んだファイルのため、出力ファイル名を " +
        kit::FindFileName(destination) + L" に変更しました");
}

// copies beside the destination and puts the whole copy in place in one step; on any failure the source and an
// existing destination stay as they were and no temporary file is left
CopyThread::CopyResult CopyThread::CopyOne(const CopyTask& task, const std::wstring& destination, bool replace)
{
    std::wstring temporary = TemporaryNameFor(destination);
    if (temporary.empty())
        return CopyFailed;
    if (Verifying)
        return StartVerifiedCopy(task, destination, temporary, replace);
    if (!CopyFileW(kit::SystemPath(task.Source).c_str(), kit::SystemPath(temporary).c_str(), TRUE)) {
        if (GetLastError() != ERROR_FILE_EXISTS)
            RemoveTemporary(temporary);
        return CopyFailed;
    }
    if (!MoveReplacing(temporary, destination, MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0))) {
        RemoveTemporary(temporary);
        return CopyFailed;
    }
    return Copied;
}

// writes the copy to its temporary name and hands it to the read-back, once there is room for one more
CopyThread::CopyResult CopyThread::StartVerifiedCopy(const CopyTask& task, const std::wstring& destination,
                                                     const std::wstring& temporary, bool replace)
{
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    if (Copier->Write(task.Source, temporary, task.Values, attributes) != VerifiedCopy::Verified) {
        RemoveTemporary(temporary);
        return CopyFailed;
    }
    if (Pending.size() >= static_cast<size_t>(VerifiedCopy::Depth))
        FinishOldest();
    PendingCopy copy;
    copy.Task = &task;
    copy.Destination = destination;
    copy.Temporary = temporary;
    copy.Replace = replace;
    copy.Attributes = attributes;
    copy.UpperDestination = UpperCase(destination);
    copy.UpperSource = UpperCase(task.Source);
    Pending.push_back(copy);
    Copier->StartCheck([this, temporary] { Sink->CopyWritten(temporary); });
    return BeingChecked;
}

// a copy being read back has this name or a folder below it, or is moved from it
bool CopyThread::MeetsPending(const std::wstring& path) const
{
    if (Pending.empty())
        return false;
    const std::wstring upper = UpperCase(path);
    for (const PendingCopy& copy : Pending) {
        const std::wstring& destination = copy.UpperDestination;
        if (upper == copy.UpperSource || upper == destination)
            return true;
        if (upper.size() < destination.size() && destination.compare(0, upper.size(), upper) == 0 &&
            destination[upper.size()] == L'\\')
            return true;
    }
    return false;
}

// the files being read back end, oldest first
void CopyThread::FinishPending()
{
    while (!Pending.empty())
        FinishOldest();
}

// in place when it verified (a move's source goes only then), else removed
void CopyThread::FinishOldest()
{
    const PendingCopy copy = Pending.front();
    Pending.pop_front();
    // its lines come before those of the files still queued behind it
    FinishingOldest = true;
    const CopyResult result = PlaceChecked(copy);
    Finish(*copy.Task, Conclude(*copy.Task, copy.Destination, copy.Replace, result));
    FinishingOldest = false;
}

CopyThread::CopyResult CopyThread::PlaceChecked(const PendingCopy& copy)
{
    const VerifiedCopy::Result result = Copier->FinishCheck();
    if (result != VerifiedCopy::Verified) {
        RemoveTemporary(copy.Temporary);
        return result == VerifiedCopy::Mismatch || result == VerifiedCopy::ReadBackFailed ? VerifyFailed : CopyFailed;
    }
    // a fresh file is already just that (archive); anything else is given now: a read-only copy could not have
    // been read back
    if (copy.Attributes != INVALID_FILE_ATTRIBUTES && copy.Attributes != FILE_ATTRIBUTE_ARCHIVE)
        SetFileAttributesW(kit::SystemPath(copy.Temporary).c_str(), copy.Attributes);
    DWORD flags = MOVEFILE_WRITE_THROUGH | (copy.Replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (!MoveReplacing(copy.Temporary, copy.Destination, flags)) {
        RemoveTemporary(copy.Temporary);
        return CopyFailed;
    }
    // the copy is in place but the file was not moved: a failure, though nothing is lost
    if (Operation == OperationMove && !DeleteMovedSource(copy.Task->Source))
        return CopyFailed;
    return CopiedVerified;
}

// a run that failed on the way leaves no temporary file behind
void CopyThread::DropPending()
{
    for (const PendingCopy& copy : Pending) {
        Copier->FinishCheck();
        RemoveTemporary(copy.Temporary);
    }
    Pending.clear();
}

// a rename on one volume writes no byte, so there is nothing to verify; across volumes the source goes only once
// its copy is in place (and verified)
CopyThread::CopyResult CopyThread::MoveOne(const CopyTask& task, const std::wstring& destination, bool replace)
{
    if (MoveReplacing(task.Source, destination, replace ? MOVEFILE_REPLACE_EXISTING : 0))
        return Copied;
    if (GetLastError() != ERROR_NOT_SAME_DEVICE)
        return CopyFailed;
    const CopyResult result = CopyOne(task, destination, replace);
    if (result != Copied)
        return result;
    // the copy is in place but the file was not moved: a failure, though nothing is lost
    if (!DeleteMovedSource(task.Source))
        return CopyFailed;
    return result;
}

bool CopyThread::DeleteMovedSource(const std::wstring& source)
{
    // a rename on one drive moves read-only files too; the move across drives does the same
    const std::wstring system = kit::SystemPath(source);
    DWORD attributes = GetFileAttributesW(system.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        ClearReadOnly(source, attributes);
    if (DeleteFileW(system.c_str()))
        return true;
    Log(source + L" の削除に失敗しました");
    return false;
}

bool CopyThread::IsWritten(const std::wstring& destination) const
{
    return Written.count(UpperCase(destination)) != 0;
}

void CopyThread::ReportEnd(bool cancelled)
{
    Ending = true;
    if (cancelled)
        Sink->SetPaused();
    else
        Sink->SetProgress(ProgressMax);
    Sink->SetStatus(FinalStatus(Operation, cancelled, Verifying, Tally));
    Sink->Finished(CloseText);
}

void CopyThread::Log(const std::wstring& line)
{
    // the log keeps the order of the files: those being read back end first
    if (!FinishingOldest)
        FinishPending();
    Sink->AddLog(line);
}

void CopyThread::LogFailure(const std::wstring& source)
{
    Log(source + (Operation == OperationMove ? L" の移動に失敗しました" : L" のコピーに失敗しました"));
}
