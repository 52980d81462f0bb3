#include "app/check/Registration.h"

#include "app/check/CheckHashManager.h"
#include "app/lists/FileListView.h"
#include "app/lists/ImportHashList.h"
#include "app/lists/KeyCase.h"
#include "app/lists/PendingRecord.h"
#include "app/check/CheckHost.h"
#include "kit/core/SettingsNode.h"
#include "kit/core/LongPath.h"
#include "kit/core/Path.h"
#include "kit/ui/MessageDialog.h"
#include "kit/ui/Window.h"

#include <windows.h>

#include <algorithm>
#include <iterator>
#include <system_error>
#include <thread>

const wchar_t* const Registration::BusyText = L"ファイル登録中…";

namespace {

// Answers the messages other threads have sent to this one and wait on (the scheduler's view flushes, a second
// instance's paths); posted messages and input stay queued. Called between the steps of a registration, so that no
// thread waits on the interface for longer than one step.
void ServeSentMessages()
{
    kit::WaitServingSentMessages(nullptr, 0);
}

} // namespace

void Registration::RegisterBatch(FileListView& list, const std::vector<std::wstring>& paths, bool drop)
{
    CheckHost& host = list.GetCheckHost();
    std::vector<std::wstring> loops;
    {
        kit::MessageDialog busy(BusyText);
        // without the window the registration still runs; it only goes unannounced
        busy.Show(&list);
        ServeSentMessages();
        if (drop && !paths.empty())
            host.SetLastName(DropName(paths.front()));
        Registration registration(list, host.GetSettings().GetBool(L"SubDirectory", true));
        for (const std::wstring& path : paths)
            registration.AddPath(path, paths.size() == 1);
        ServeSentMessages();
        list.MergePending();
        ServeSentMessages();
        if (CheckHashManager* checker = host.GetChecker())
            checker->StartChecking();
        loops = registration.Loops;
    }
    if (!loops.empty())
        kit::ShowMessageBox(L"", LoopMessage(loops), &host.GetOwnerWindow(), MB_ICONINFORMATION);
}

Registration::Registration(FileListView& list, bool subDirectories) : List(list), SubDirectories(subDirectories) {}

void Registration::AddPath(const std::wstring& path, bool single)
{
    // unreadable attributes are all ones, a folder, whose search then finds nothing
    const DWORD attributes = GetFileAttributesW(kit::SystemPath(path).c_str());
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        ScanFolder(path, (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0);
    else
        AddFile(path, kit::AddBackslash(kit::RemoveFileName(path)), single);
}

void Registration::ScanFolder(const std::wstring& folder, bool link)
{
    // The scan is a thread of its own: this thread only answers what other threads send it meanwhile (its CPU time
    // stays free, and a worker waiting on the interface is not held up for the whole scan).
    Scanned.clear();
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread scan;
    if (done) {
        try {
            scan = std::thread([this, &folder, link, done] {
                AddFolder(folder, kit::AddBackslash(folder), link);
                SetEvent(done);
            });
        } catch (const std::system_error&) {
        }
    }
    if (scan.joinable()) {
        kit::WaitServingSentMessages(done, INFINITE);
        scan.join();
    } else {
        AddFolder(folder, kit::AddBackslash(folder), link); // no thread to be had: the scan runs here
    }
    if (done)
        CloseHandle(done);
    if (Scanned.empty())
        return;
    List.RevealList();
    List.GetCheckHost().SetCurrentSide(List.Side);
    List.Pending.reserve(List.Pending.size() + Scanned.size());
    std::move(Scanned.begin(), Scanned.end(), std::back_inserter(List.Pending));
    std::vector<PendingRecord>().swap(Scanned);
}

void Registration::AddFile(const std::wstring& path, const std::wstring& baseFolder, bool single)
{
    List.RevealList();
    List.GetCheckHost().SetCurrentSide(List.Side);
    if (single && ImportHashList(path, List))
        return;
    List.Pending.push_back(PendingRecord::ForFile(path, baseFolder, &KeyCase::Lower));
}

bool Registration::ReadIdentity(const std::wstring& folder, FolderIdentity& identity)
{
    // no access rights asked: only the attributes are read; a link is followed to the folder it names
    HANDLE handle = CreateFileW(kit::SystemPath(folder).c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION information;
    const bool read = GetFileInformationByHandle(handle, &information) != FALSE;
    CloseHandle(handle);
    if (read)
        identity = FolderIdentity(information.dwVolumeSerialNumber,
                                  (uint64_t(information.nFileIndexHigh) << 32) | information.nFileIndexLow);
    return read;
}

std::wstring Registration::LoopMessage(const std::vector<std::wstring>& loops)
{
    const size_t shown = 5;
    std::wstring text = L"次のフォルダーは上のフォルダーへのリンクのため、読み込みませんでした。\n";
    for (size_t i = 0; i < loops.size() && i < shown; ++i)
        text += L"\n" + loops[i];
    if (loops.size() > shown)
        text += L"\nほか " + std::to_wstring(loops.size() - shown) + L" 個";
    return text;
}

bool Registration::IsAncestor(const std::wstring& folder)
{
    FolderIdentity identity;
    // a folder whose identity cannot be read is scanned: it cannot be judged, and most such folders are plain ones
    if (!ReadIdentity(folder, identity))
        return false;
    for (Ancestor& ancestor : Ancestors) {
        if (!ancestor.Read) {
            ancestor.Known = ReadIdentity(ancestor.Folder, ancestor.Identity);
            ancestor.Read = true;
        }
        if (ancestor.Known && ancestor.Identity == identity)
            return true;
    }
    return false;
}

void Registration::AddFolder(const std::wstring& folder, const std::wstring& baseFolder, bool belowLink)
{
    // Only a link can lead back to a folder on the path, and after one any folder below may be that folder again:
    // a plain tree is scanned without reading identities.
    if (belowLink && IsAncestor(folder)) {
        Loops.push_back(folder);
        return;
    }
    const std::wstring dir = kit::AddBackslash(folder);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(kit::SystemPath(dir + L"*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    Ancestors.emplace_back();
    Ancestors.back().Folder = folder;
    do {
        const std::wstring name = found.cFileName;
        const std::wstring full = dir + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            // ".", ".." and every dot-folder (.git, .svn): tool data, not the user's files
            if (name[0] != L'.' && SubDirectories)
                AddFolder(full, baseFolder, belowLink || (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT));
        } else {
            Scanned.push_back(PendingRecord::ForFile(full, baseFolder, &KeyCase::Lower));
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    Ancestors.pop_back();
}

std::wstring Registration::DropName(const std::wstring& path)
{
    return kit::RemoveExtension(kit::FindFileName(path));
}

void RegisterDroppedPaths(FileListView& list, const std::vector<std::wstring>& paths)
{
    Registration::RegisterBatch(list, paths, true);
}
