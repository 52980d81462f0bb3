// Registration turns the paths a user gives (a drop, the add dialogs, the side toolbar) into pending records of one
// side: files as they are, folders scanned (with their subfolders when "SubDirectory" is on, folders whose name
// starts with a dot never). A record's relative key is its path below the folder it was registered from, so files
// registered one by one pair by name and folders by their contents' paths. A single registered file may instead be a
// hash list, whose entries are registered. Each batch ends with the merge into rows and the start of the checks.
//
// Interface thread only; a folder is scanned on a thread of its own while the interface thread waits for it.
#pragma once

#include "app/lists/PendingRecord.h"

#include <boost/noncopyable.hpp>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class FileListView;

class Registration : private boost::noncopyable {
public:
    static const wchar_t* const BusyText;

    // Registers a batch: shows "ファイル登録中…" over the list, registers each path in order, merges the records
    // into rows and starts the checks. A drop also remembers the first path's name as the drop name.
    static void RegisterBatch(FileListView& list, const std::vector<std::wstring>& paths, bool drop);

    // subDirectories: the setting "SubDirectory"
    Registration(FileListView& list, bool subDirectories);

    // One path of a batch: a folder is scanned (base folder: itself), anything else is a file (base folder: its
    // own folder). A path whose attributes cannot be read counts as a folder and yields nothing.
    void AddPath(const std::wstring& path, bool single);
    // One file; single is true when it is the whole batch, and then it is first tried as a hash list.
    void AddFile(const std::wstring& path, const std::wstring& baseFolder, bool single);
    // The files of a folder (base folder: itself) in the order the file system gives them, subfolders depth first
    // at once; link: the folder is a link (junction, symbolic link).
    void ScanFolder(const std::wstring& folder, bool link);

    // the last component without its extension ("C:\Data.Old" gives "Data")
    static std::wstring DropName(const std::wstring& path);
    // the message that names the folders a scan left out because a link led back to a folder above them
    static std::wstring LoopMessage(const std::vector<std::wstring>& loops);

    // folders not scanned because they are a folder already on the path being scanned (a junction or a link back
    // to a parent would otherwise register the tree again at every level)
    std::vector<std::wstring> Loops;

private:
    // what makes a folder the same folder whatever path leads to it: volume serial number and file index
    typedef std::pair<uint32_t, uint64_t> FolderIdentity;
    static bool ReadIdentity(const std::wstring& folder, FolderIdentity& identity);

    FileListView& List; // not owned
    bool SubDirectories;
    // A folder on the path being scanned. Its identity is read only when a link below it needs comparing: in a
    // tree without links every folder is a folder of its own, and reading an identity costs a file open (most of
    // a scan's time under load).
    struct Ancestor {
        std::wstring Folder;
        bool Read = false;
        bool Known = false;
        FolderIdentity Identity;
    };
    // the folders from the registered one down to the one being scanned
    std::vector<Ancestor> Ancestors;
    // whether the folder is one of the ancestors (their identities read as needed)
    bool IsAncestor(const std::wstring& folder);
    // the records of the scan running (ScanFolder), on the scan's thread
    std::vector<PendingRecord> Scanned;

    // Scans a folder into Scanned, on any thread. belowLink: the folder is a link or lies below one on the path.
    void AddFolder(const std::wstring& folder, const std::wstring& baseFolder, bool belowLink);
};
