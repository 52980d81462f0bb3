#include "app/tools/CopyThread.h"

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
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// true only when both names open and turn out to be one file (a second name of the same drive, a case variant)
bool SameFile(const std::wstring& a, const std::wstring& b)
{
    BY_HANDLE_FILE_INFORMATION info[2];
    const std::wstring* paths[2] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
        HANDLE file = CreateFileW(paths[i]->c_str(), FILE_READ_ATTRIBUTES,
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
        if (GetFileAttributesW(candidate.c_str()) == INVALID_FILE_ATTRIBUTES &&
            GetLastError() == ERROR_FILE_NOT_FOUND)
            return candidate;
    }
    return std::wstring();
}

bool ClearReadOnly(const std::wstring& path, DWORD attributes)
{
    DWORD writable = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    return SetFileAttributesW(path.c_str(), writable ? writable : FILE_ATTRIBUTE_NORMAL) != FALSE;
}

// CopyFileW passes the source's read-only flag on to the copy, which DeleteFileW then refuses
void RemoveTemporary(const std::wstring& path)
{
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
}

// MoveFileExW, which refuses to replace a read-only file: then the flag is cleared for one more try and put back
// when that try fails too, so a failed replacement leaves the old file exactly as it was
bool MoveReplacing(const std::wstring& from, const std::wstring& to, DWORD flags)
{
    if (MoveFileExW(from.c_str(), to.c_str(), flags))
        return true;
    DWORD error = GetLastError();
    DWORD attributes = GetFileAttributesW(to.c_str());
    if (!(flags & MOVEFILE_REPLACE_EXISTING) || attributes == INVALID_FILE_ATTRIBUTES ||
        !(attributes & FILE_ATTRIBUTE_READONLY) || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetLastError(error);
        return false;
    }
    if (!ClearReadOnly(to, attributes)) {
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

} // namespace

boost::shared_ptr<CopyThread> CopyThread::Create(CopySink* sink, int32_t operation, int32_t clashPolicy,
                                                 std::vector<CopyTask> tasks)
{
    boost::shared_ptr<CopyThread> thread(new CopyThread(sink, operation, clashPolicy, std::move(tasks)));
    if (!thread->Start(THREAD_PRIORITY_NORMAL))
        return boost::shared_ptr<CopyThread>();
    thread->Resume();
    return thread;
}

CopyThread::CopyThread(CopySink* sink, int32_t operation, int32_t clashPolicy, std::vector<CopyTask> tasks)
    : Sink(sink), Operation(operation), ClashPolicy(clashPolicy), Tasks(std::move(tasks)), TotalBytes(0),
      CancelRequested(false), Ending(false)
{
    if (Operation < OperationCopy || Operation > OperationDelete)
        Operation = OperationCopy;
    // an unknown policy never overwrites
    if (ClashPolicy < ClashOverwrite || ClashPolicy > ClashRename)
        ClashPolicy = ClashSkip;
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
        cancelled = ProcessAll();
    } catch (...) {
        // out of memory: end as a cancelled run, so that the dialog can still close
    }
    try {
        ReportEnd(cancelled);
    } catch (...) {
        // the sink failed; the run must still end below
    }
    Stop();
}

bool CopyThread::ProcessAll()
{
    uint64_t processed = 0;
    for (const CopyTask& task : Tasks) {
        if (CancelRequested)
            return true;
        Sink->SetStatus(task.Source + L"を" + OperationName(Operation) + L"中...");
        // a cancel that came between the test above and the status line keeps its own text
        if (CancelRequested)
            Sink->SetStatus(CancellingText);
        if (ProcessTask(task) == NotProcessed)
            continue;
        processed = AddSaturating(processed, task.Size);
        Sink->SetProgress(PositionOf(processed, TotalBytes));
    }
    return false;
}

CopyThread::Outcome CopyThread::ProcessTask(const CopyTask& task)
{
    if (!kit::PathExists(task.Source)) {
        Log(task.Source + L" が開けませんでした");
        return NotProcessed;
    }
    if (Operation == OperationDelete) {
        if (!DeleteFileW(task.Source.c_str()))
            Log(task.Source + L" の削除に失敗しました");
        return Processed;
    }
    return TransferOne(task);
}

CopyThread::Outcome CopyThread::TransferOne(const CopyTask& task)
{
    std::wstring folder = kit::RemoveFileName(task.Destination);
    kit::CreateFolders(folder);
    if (!IsFolder(folder)) {
        Log(folder + L" が作成できませんでした");
        LogFailure(task.Source);
        return Processed;
    }

    std::wstring destination = task.Destination;
    Resolution resolution = WriteNew;
    if (kit::PathExists(destination)) {
        Log(destination + L" が既に存在します");
        resolution = ResolveClash(task.Source, destination);
        if (resolution == LeaveAlone)
            return NotProcessed;
        if (resolution == Refuse) {
            LogFailure(task.Source);
            return Processed;
        }
    }

    bool replace = resolution == Replace;
    bool done = Operation == OperationMove ? MoveOne(task.Source, destination, replace)
                                           : CopyOne(task.Source, destination, replace);
    if (!done)
        LogFailure(task.Source);
    else if (replace)
        Log(std::wstring(ArrowPrefix) + L"上書きしました。");
    return Processed;
}

CopyThread::Resolution CopyThread::ResolveClash(const std::wstring& source, std::wstring& destination)
{
    if (ClashPolicy == ClashSkip)
        return LeaveAlone;
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

// copies beside the destination and puts the whole copy in place in one step; on any failure the source and an
// existing destination stay as they were and no temporary file is left
bool CopyThread::CopyOne(const std::wstring& source, const std::wstring& destination, bool replace)
{
    std::wstring temporary = TemporaryNameFor(destination);
    if (temporary.empty())
        return false;
    if (!CopyFileW(source.c_str(), temporary.c_str(), TRUE)) {
        if (GetLastError() != ERROR_FILE_EXISTS)
            RemoveTemporary(temporary);
        return false;
    }
    DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (!MoveReplacing(temporary, destination, flags)) {
        RemoveTemporary(temporary);
        return false;
    }
    return true;
}

bool CopyThread::MoveOne(const std::wstring& source, const std::wstring& destination, bool replace)
{
    if (MoveReplacing(source, destination, replace ? MOVEFILE_REPLACE_EXISTING : 0))
        return true;
    if (GetLastError() != ERROR_NOT_SAME_DEVICE)
        return false;
    // another drive: the source goes only once its copy is in place
    if (!CopyOne(source, destination, replace))
        return false;
    DeleteMovedSource(source);
    return true;
}

void CopyThread::DeleteMovedSource(const std::wstring& source)
{
    // a rename on one drive moves read-only files too; the move across drives does the same
    DWORD attributes = GetFileAttributesW(source.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        ClearReadOnly(source, attributes);
    if (!DeleteFileW(source.c_str()))
        Log(source + L" の削除に失敗しました");
}

void CopyThread::ReportEnd(bool cancelled)
{
    const std::wstring& name = OperationName(Operation);
    Ending = true;
    if (cancelled) {
        Sink->SetPaused();
        Sink->SetStatus(name + L"がキャンセルされました");
    } else {
        Sink->SetProgress(ProgressMax);
        Sink->SetStatus(name + L"が完了しました");
    }
    Sink->Finished(CloseText);
}

void CopyThread::Log(const std::wstring& line)
{
    Sink->AddLog(line);
}

void CopyThread::LogFailure(const std::wstring& source)
{
    Log(source + (Operation == OperationMove ? L" の移動に失敗しました" : L" のコピーに失敗しました"));
}
