#include "app/check/Registration.h"

#include "app/check/CheckHashManager.h"
#include "app/lists/FileListView.h"
#include "app/lists/ImportHashList.h"
#include "app/lists/KeyCase.h"
#include "app/lists/PendingRecord.h"
#include "app/shell/Juxta.h"
#include "kit/core/LongPath.h"
#include "kit/core/Path.h"
#include "kit/ui/MessageDialog.h"

#include <windows.h>

const wchar_t* const Registration::BusyText = L"ファイル登録中…";

void Registration::RegisterBatch(FileListView& list, const std::vector<std::wstring>& paths, bool drop)
{
    Juxta* main = list.Main;
    kit::MessageDialog busy(BusyText);
    // without the window the registration still runs; it only goes unannounced
    busy.Show(&list);
    if (drop && !paths.empty())
        main->LastName = DropName(paths.front());
    Registration registration(list, main->Settings.GetBool(L"SubDirectory", true));
    for (const std::wstring& path : paths)
        registration.AddPath(path, paths.size() == 1);
    list.MergePending();
    if (main->Checker)
        main->Checker->StartChecking();
}

Registration::Registration(FileListView& list, bool subDirectories) : List(list), SubDirectories(subDirectories) {}

void Registration::AddPath(const std::wstring& path, bool single)
{
    // unreadable attributes are all ones, a folder, whose search then finds nothing
    if (GetFileAttributesW(kit::SystemPath(path).c_str()) & FILE_ATTRIBUTE_DIRECTORY)
        AddFolder(path, kit::AddBackslash(path));
    else
        AddFile(path, kit::AddBackslash(kit::RemoveFileName(path)), single);
}

void Registration::AddFile(const std::wstring& path, const std::wstring& baseFolder, bool single)
{
    List.RevealList();
    List.Main->CurrentSide = List.Side;
    if (single && ImportHashList(path, List))
        return;
    List.Pending.push_back(PendingRecord::ForFile(path, baseFolder, &KeyCase::Lower));
    ++List.FileCount;
}

void Registration::AddFolder(const std::wstring& folder, const std::wstring& baseFolder)
{
    const std::wstring dir = kit::AddBackslash(folder);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(kit::SystemPath(dir + L"*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        const std::wstring full = dir + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            // ".", ".." and every dot-folder (.git, .svn): tool data, not the user's files
            if (name[0] != L'.' && SubDirectories)
                AddFolder(full, baseFolder);
        } else {
            AddFile(full, baseFolder, false);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

std::wstring Registration::DropName(const std::wstring& path)
{
    return kit::RemoveExtension(kit::FindFileName(path));
}

void RegisterDroppedPaths(FileListView& list, const std::vector<std::wstring>& paths)
{
    Registration::RegisterBatch(list, paths, true);
}
