// The check of one side of a row: reads the file once in 1 MiB blocks, feeds every hash kind that is switched on and
// still empty, shows the size and the percentage done in those cells and finally writes the values. A row that came
// from an imported hash list has no file: its stored size and values are copied into the cells at once.
//
// Threads: the scheduler (CheckHashManager) constructs and destroys workers and hands a finished worker its next row
// (Reuse), so that a tree of small files does not pay for a new thread per file; Run is the worker's own thread.
// Cells are written into the main window's RowModel, which the interface repaints on its own time, so a worker
// never waits for that thread. Once a check has finished the worker writes nothing more and its thread sleeps until
// the next row, so the owner may destroy it from the interface thread.
#pragma once

#include "app/lists/HashText.h"
#include "app/lists/RowModel.h"
#include "kit/core/File.h"
#include "kit/core/Thread.h"

#include <boost/shared_ptr.hpp>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

class CheckHost;

namespace kit {
class SettingsNode;
} // namespace kit

class CheckHashThread : public kit::Thread {
public:
    static const uint32_t BlockSize = 1u << 20;
    // FileSize of an imported row whose list gives no size
    static const uint64_t UnknownSize = ~0ull;

    // What a worker reads from the settings, copied once when it starts so that a change made meanwhile on the
    // interface thread never reaches a running check halfway.
    struct Options {
        HashKindFlags Kinds = {{true, false, false}}; // "Crc32", "Md5", "Sha1"
        bool AutoScroll = true;                       // "AutoScroll"

        static Options FromSettings(const kit::SettingsNode& settings);
    };

    // Starts the check of one side of a row that RowModel::BeginCheck gave job for (the row has the "Check" state):
    // writes its size cell and leaves the thread reading, or finishes at once (imported row, file that cannot be
    // opened). scheduler, when given, is woken (Notify) when the check has finished. Empty when no thread could be
    // created; the row is then untouched.
    static boost::shared_ptr<CheckHashThread> Create(CheckHost* main, int side, int row, const RowModel::CheckJob& job,
                                                     kit::Thread* scheduler);
    // Starts the check of another row on this worker's thread, as Create does. Only for a finished worker.
    void Reuse(int side, int row, const RowModel::CheckJob& job);
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
    int GetRow() const { return Row; }
    int GetSide() const { return Side; }

    // "42%" for done bytes of size (truncated, 64-bit)
    static std::wstring PercentText(uint64_t done, uint64_t size);

protected:
    void Run() override;

private:
    CheckHashThread(CheckHost* main, kit::Thread* scheduler);

    // the row, its job and the settings taken (the thread is paused), then Prepare
    void Begin(int side, int row, const RowModel::CheckJob& job);
    void Prepare();
    void PrepareImported();
    void PrepareFile();
    // the thread goes to sleep after this check, the finished flag is set and the scheduler woken: the last thing a
    // check does with its members
    void Finish();

    kit::File Stream;
    CheckHost* Main;              // not owned
    RowModel& Rows;           // the main window's
    int32_t Side = 0;
    int32_t Row = 0;
    RowModel::CheckJob Job;
    std::atomic<uint64_t> FileSize{UnknownSize};
    std::atomic<bool> Cancel{false};
    std::atomic<bool> Finished{false};
    std::atomic<bool> Cancelled{false};
    std::atomic<bool> Unreadable{false};
    kit::Thread* Scheduler;   // not owned
    Options Settings;
    // the read buffer, kept for the thread's next rows (Run only)
    std::unique_ptr<uint8_t[]> Buffer;
    size_t BufferSize = 0;
    // set before the thread is resumed to read; a thread that meets a stop before it (a check that finished in
    // Prepare) must not run the reading loop
    std::atomic<bool> Reading{false};
};
