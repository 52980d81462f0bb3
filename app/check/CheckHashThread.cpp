#include "app/check/CheckHashThread.h"

#include "app/lists/SizeFormat.h"
#include "app/check/CheckHost.h"
#include "kit/core/CriticalSection.h"
#include "kit/core/Crc32.h"
#include "kit/core/Md5.h"
#include "kit/core/Sha1.h"
#include "kit/core/SettingsNode.h"

#include <algorithm>
#include <vector>

namespace {

const wchar_t* const KindKeys[HashKind::Count] = {L"Crc32", L"Md5", L"Sha1"};

boost::shared_ptr<kit::Hash> CreateHash(int kind)
{
    switch (kind) {
    case HashKind::Crc32:
        return kit::Crc32::Create();
    case HashKind::Md5:
        return kit::Md5::Create();
    default:
        return kit::Sha1::Create();
    }
}

} // namespace

CheckHashThread::Options CheckHashThread::Options::FromSettings(const kit::SettingsNode& settings)
{
    Options options;
    for (int kind = 0; kind < HashKind::Count; ++kind)
        options.Kinds[kind] = settings.GetBool(KindKeys[kind], options.Kinds[kind]);
    options.AutoScroll = settings.GetBool(L"AutoScroll", options.AutoScroll);
    return options;
}

CheckHashThread::CheckHashThread(CheckHost* main, kit::Thread* scheduler)
    : Main(main), Rows(main->GetRows()), Scheduler(scheduler)
{
}

boost::shared_ptr<CheckHashThread> CheckHashThread::Create(CheckHost* main, int side, int row,
                                                           const RowModel::CheckJob& job, kit::Thread* scheduler)
{
    boost::shared_ptr<CheckHashThread> worker(new CheckHashThread(main, scheduler));
    if (!worker->Start(THREAD_PRIORITY_IDLE))
        return boost::shared_ptr<CheckHashThread>();
    worker->Begin(side, row, job);
    return worker;
}

void CheckHashThread::Reuse(int side, int row, const RowModel::CheckJob& job)
{
    Begin(side, row, job);
}

void CheckHashThread::Begin(int side, int row, const RowModel::CheckJob& job)
{
    // the thread is paused: it touches none of these until Prepare resumes it
    Side = side;
    Row = row;
    Job = job;
    Settings = Options::FromSettings(*Main->GetPublishedSettings());
    for (int kind = 0; kind < HashKind::Count; ++kind)
        Job.Compute[kind] = Job.Compute[kind] && Settings.Kinds[kind];
    FileSize = UnknownSize;
    Cancel = false;
    Cancelled = false;
    Unreadable = false;
    Reading = false;
    Finished = false;
    Prepare();
}

CheckHashThread::~CheckHashThread()
{
    // Run reads the members below; the thread must be gone before they are
    StopAndJoin();
}

std::wstring CheckHashThread::PercentText(uint64_t done, uint64_t size)
{
    if (size == 0)
        return L"100%";
    // done never exceeds size (the stream stops at the size it had when opened), so done * 100 cannot overflow
    // for any file below 2^57 bytes
    return std::to_wstring(done * 100 / size) + L"%";
}

void CheckHashThread::Prepare()
{
    if (Job.Imported)
        PrepareImported();
    else
        PrepareFile();
}

void CheckHashThread::PrepareImported()
{
    uint64_t size = 0;
    if (Job.Imported->SizeText != L"-" && SizeFormat::Parse(Job.Imported->SizeText, size))
        FileSize = size;
    Rows.SetSizeText(Side, Row, Job.Imported->SizeText);
    for (int kind = 0; kind < HashKind::Count; ++kind)
        if (Settings.Kinds[kind])
            Rows.SetValue(Side, Row, kind, Job.Imported->HashTexts[kind]);
    Finish();
}

void CheckHashThread::PrepareFile()
{
    if (!Stream.OpenRead(Job.Path)) {
        // missing, locked without read sharing or no access: size "0", and the value cells say why they hold none
        FileSize = 0;
        Unreadable = true;
        Rows.SetSizeText(Side, Row, L"0");
        for (int kind = 0; kind < HashKind::Count; ++kind)
            if (Job.Compute[kind])
                Rows.SetValue(Side, Row, kind, HashText::Unreadable);
        Finish();
        return;
    }
    FileSize = Stream.GetSize();
    Rows.SetSizeText(Side, Row, SizeFormat::Format(FileSize));
    Reading = true;
    Resume();
}

void CheckHashThread::Run()
{
    struct Active {
        int Kind;
        boost::shared_ptr<kit::Hash> Hash;
    };
    // the thread loop may meet the resumption of Finish (a check that ended in Prepare) before its stop flag
    if (!Reading)
        return;
    std::vector<Active> hashes;
    // a kind whose cell holds a value was computed before (only a re-check empties it): the scheduler leaves it out
    for (int kind = 0; kind < HashKind::Count; ++kind)
        if (Job.Compute[kind])
            hashes.push_back(Active{kind, CreateHash(kind)});
    // the interface thread moves the lists when it gets to it; the file is read meanwhile
    if (Settings.AutoScroll)
        Main->FollowRow(Row);

    // a row that only lacked its size has nothing to read
    const uint64_t size = hashes.empty() ? 0 : FileSize.load();
    // A small file needs no more room than itself. The buffer stays with the thread for its next rows: a fresh
    // block for every file costs a map, page faults, zeroing and an unmap, which a tree of small files pays per file.
    const size_t room = static_cast<size_t>(std::min<uint64_t>(size, BlockSize));
    if (room > BufferSize) {
        Buffer.reset();
        Buffer.reset(new uint8_t[room]);
        BufferSize = room;
    }
    uint8_t* const buffer = Buffer.get();
    std::wstring shown; // the last percentage written, so that an unchanged one is not written again
    uint64_t done = 0;
    bool complete = true;
    while (done < size) {
        if (Cancel)
            break;
        const size_t got = Stream.Read(buffer, room);
        if (got == 0) {
            // the file shrank or the read failed: values of a part of the file would be wrong
            complete = false;
            break;
        }
        done += got;
        for (Active& active : hashes)
            active.Hash->Update(buffer, static_cast<uint32_t>(got));
        // the last block's percentage is never shown: the values take its place
        if (done >= size)
            break;
        const std::wstring percent = PercentText(done, size);
        if (percent != shown) {
            for (Active& active : hashes)
                Rows.SetValue(Side, Row, active.Kind, percent);
            shown = percent;
        }
    }
    // a cancelled check leaves its cells empty for the next one; a file that was not read in full says so
    Cancelled = Cancel.load();
    Unreadable = !Cancelled && !complete;
    for (Active& active : hashes) {
        const std::wstring text = Cancelled    ? std::wstring()
                                  : Unreadable ? std::wstring(HashText::Unreadable)
                                               : active.Hash->Final();
        Rows.SetValue(Side, Row, active.Kind, text);
    }
    Finish();
}

void CheckHashThread::Finish()
{
    // an idle worker keeps no file open: the user may move or delete it at once
    Stream.Close();
    Reading = false;
    kit::Thread* scheduler = Scheduler;
    // the thread sleeps once this Run returns; a Reuse may follow as soon as the flag below is seen
    Pause();
    Finished = true;
    if (scheduler)
        scheduler->Notify();
}
