// The check of one row of a side list: reads the row's file once in 1 MiB blocks, feeds every hash kind that is
// switched on and still empty, shows the size and the percentage done in those cells and finally writes the values. A row that
// came from an imported hash list has no file: its stored size and values are copied into the cells at once.
//
// Threads: the scheduler (CheckHashManager) constructs and destroys workers and hands a finished worker its next row
// (Reuse), so that a tree of small files does not pay for a new thread per file; Run is the worker's own thread.
// Cells are written through the row, which keeps the texts under the list's lock and leaves them to the interface
// thread, so a worker never waits for that thread. Once a check has finished the worker writes nothing more and its
// thread sleeps until the next row, so the owner may destroy it from the interface thread.
#pragma once

#include "app/lists/HashText.h"
#include "kit/core/File.h"
#include "kit/core/Thread.h"

#include <boost/shared_ptr.hpp>

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

class Juxta;

namespace kit {
class ListViewItem;
class SettingsNode;
} // namespace kit

class CheckHashThread : public kit::Thread {
public:
    static const uint32_t BlockSize = 1u << 20;
    // FileSize of an imported row whose list gives no size
    static const uint64_t UnknownSize = ~0ull;
    // state colour "Check" when the settings hold no 4-byte value for it
    static const COLORREF DefaultCheckColour = 0x00FF00;

    // What a worker reads from the settings, copied once when it starts so that a change made meanwhile on the
    // interface thread never reaches a running check halfway.
    struct Options {
        HashKindFlags Kinds = {{true, false, false}}; // "Crc32", "Md5", "Sha1"
        bool AutoScroll = true;                       // "AutoScroll"
        COLORREF CheckColour = DefaultCheckColour;    // "Check" in the "Color" node

        static Options FromSettings(const kit::SettingsNode& settings);
    };

    // Starts the check of row on side (0 left, 1 right): colours the row "Check", writes its size cell and leaves
    // the thread reading, or finishes at once (imported row, file that cannot be opened). compute names the kinds
    // whose cells the caller found empty (a kind that is switched off is never computed). scheduler, when given, is
    // woken (Notify) when the check has finished. Empty when no thread could be created; the row is then untouched.
    static boost::shared_ptr<CheckHashThread> Create(kit::ListViewItem* row, Juxta* main, int side,
                                                     const HashKindFlags& compute, kit::Thread* scheduler);
    // Starts the check of another row on this worker's thread, as Create does. Only for a finished worker.
    void Reuse(kit::ListViewItem* row, int side, const HashKindFlags& compute);
    ~CheckHashThread() override;

    // values (or empty cells) are written, nothing more will be sent and the file is closed
    bool IsFinished() const { return Finished; }
    // the check ended at a RequestCancel: its cells are empty again and its row is not to be judged
    bool WasCancelled() const { return Cancelled; }
    // the file could not be opened or read in full: its value cells show HashText::Unreadable
    bool WasUnreadable() const { return Unreadable; }
    // the cells being computed become empty at the next block boundary and the check finishes
    void RequestCancel() { Cancel = true; }
    // the file's size once opened, 0 when it could not be opened, UnknownSize for an imported row without size
    uint64_t GetFileSize() const { return FileSize; }
    kit::ListViewItem* GetRow() const { return Row; }
    int GetSide() const { return Side; }

    // "42%" for done bytes of size (truncated, 64-bit)
    static std::wstring PercentText(uint64_t done, uint64_t size);

protected:
    void Run() override;

private:
    CheckHashThread(Juxta* main, kit::Thread* scheduler);

    // the row, its settings and columns taken (the thread is paused), then Prepare
    void Begin(kit::ListViewItem* row, int side, const HashKindFlags& compute);
    void Prepare();
    void PrepareImported(const std::wstring& sizeText, const std::array<std::wstring, HashKind::Count>& hashes);
    void PrepareFile();
    // the thread goes to sleep after this check, the finished flag is set and the scheduler woken: the last thing a
    // check does with its members
    void Finish();
    int HashColumn(int kind) const { return Settings.Kinds[kind] ? HashColumns[kind] : -1; }

    kit::File Stream;
    Juxta* Main;              // not owned
    kit::ListViewItem* Row = nullptr; // not owned; the list keeps the row while it is being checked
    int32_t Side = 0;
    std::atomic<uint64_t> FileSize{UnknownSize};
    std::atomic<bool> Cancel{false};
    std::atomic<bool> Finished{false};
    std::atomic<bool> Cancelled{false};
    std::atomic<bool> Unreadable{false};
    kit::Thread* Scheduler;   // not owned
    Options Settings;
    HashKindFlags Compute;
    // set before the thread is resumed to read; a thread that meets a stop before it (a check that finished in
    // Prepare) must not run the reading loop
    std::atomic<bool> Reading{false};
    // the column positions when the check started (they change only while no check runs)
    std::array<int, HashKind::Count> HashColumns;
    int SizeColumn = -1;
};
