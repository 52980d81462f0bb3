#include "app/check/CheckHashThread.h"

#include "app/lists/FileListView.h"
#include "app/lists/SizeFormat.h"
#include "app/shell/Juxta.h"
#include "kit/core/Crc32.h"
#include "kit/core/Md5.h"
#include "kit/core/Sha1.h"
#include "kit/core/SettingsNode.h"
#include "kit/ui/ListView.h"
#include "kit/ui/ListViewItem.h"

#include <commctrl.h>

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
    if (const kit::SettingsNode* colours = settings.FindChild(L"Color")) {
        COLORREF colour = 0;
        if (colours->GetBinary(L"Check", colour))
            options.CheckColour = colour;
    }
    return options;
}

CheckHashThread::CheckHashThread(Juxta* main, kit::Thread* scheduler) : Main(main), Scheduler(scheduler) {}

boost::shared_ptr<CheckHashThread> CheckHashThread::Create(kit::ListViewItem* row, Juxta* main, int side,
                                                           const HashKindFlags& compute, kit::Thread* scheduler)
{
    boost::shared_ptr<CheckHashThread> worker(new CheckHashThread(main, scheduler));
    if (!worker->Start(THREAD_PRIORITY_IDLE))
        return boost::shared_ptr<CheckHashThread>();
    worker->Begin(row, side, compute);
    return worker;
}

void CheckHashThread::Reuse(kit::ListViewItem* row, int side, const HashKindFlags& compute)
{
    Begin(row, side, compute);
}

void CheckHashThread::Begin(kit::ListViewItem* row, int side, const HashKindFlags& compute)
{
    // the thread is paused: it touches none of these until Prepare resumes it
    Row = row;
    Side = side;
    SizeColumn = Main->SizeColumn;
    Settings = Options::FromSettings(*Main->SettingsView.Get());
    for (int kind = 0; kind < HashKind::Count; ++kind) {
        HashColumns[kind] = Main->HashColumns[kind];
        Compute[kind] = compute[kind] && HashColumn(kind) >= 0;
    }
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
    Row->SetBackColor(Settings.CheckColour);
    FileListView::ItemInfo info;
    Row->GetDataAs(info);
    if (!info.SizeText.empty())
        PrepareImported(info.SizeText, info.HashTexts);
    else
        PrepareFile();
}

void CheckHashThread::PrepareImported(const std::wstring& sizeText,
                                      const std::array<std::wstring, HashKind::Count>& hashes)
{
    uint64_t size = 0;
    if (sizeText != L"-" && SizeFormat::Parse(sizeText, size))
        FileSize = size;
    std::vector<kit::ListViewItem::Cell> cells;
    if (SizeColumn >= 0)
        cells.emplace_back(SizeColumn, sizeText);
    for (int kind = 0; kind < HashKind::Count; ++kind)
        if (HashColumn(kind) >= 0)
            cells.emplace_back(HashColumn(kind), hashes[kind]);
    Row->SetTexts(cells);
    Finish();
}

void CheckHashThread::PrepareFile()
{
    const std::wstring path = Row->GetText(0);
    if (!Stream.OpenRead(path)) {
        // missing, locked without read sharing or no access: size "0", and the value cells say why they hold none
        FileSize = 0;
        Unreadable = true;
        std::vector<kit::ListViewItem::Cell> cells;
        if (SizeColumn >= 0)
            cells.emplace_back(SizeColumn, L"0");
        for (int kind = 0; kind < HashKind::Count; ++kind)
            if (Compute[kind])
                cells.emplace_back(HashColumn(kind), HashText::Unreadable);
        Row->SetTexts(cells);
        Finish();
        return;
    }
    FileSize = Stream.GetSize();
    if (SizeColumn >= 0)
        Row->SetText(SizeColumn, SizeFormat::Format(FileSize));
    Reading = true;
    Resume();
}

void CheckHashThread::Run()
{
    struct Active {
        int Column;
        boost::shared_ptr<kit::Hash> Hash;
        std::wstring Shown; // the last percentage written, so that an unchanged one is not sent again
    };
    // the thread loop may meet the resumption of Finish (a check that ended in Prepare) before its stop flag
    if (!Reading)
        return;
    std::vector<Active> hashes;
    // a kind whose cell holds text was computed before (only a re-check empties it): the scheduler leaves it out
    for (int kind = 0; kind < HashKind::Count; ++kind)
        if (Compute[kind])
            hashes.push_back(Active{HashColumn(kind), CreateHash(kind), std::wstring()});
    // the interface thread moves the lists when it gets to it; the file is read meanwhile
    if (Settings.AutoScroll)
        Main->FollowRow(Row->GetIndex());

    // a row that only lacked its size has nothing to read
    const uint64_t size = hashes.empty() ? 0 : FileSize.load();
    // a small file needs no more room than itself; the reads are the same
    std::vector<uint8_t> buffer(static_cast<size_t>(std::min<uint64_t>(size, BlockSize)));
    // the cells of one write: each block's percentages; the last block's go with the values
    std::vector<kit::ListViewItem::Cell> cells;
    uint64_t done = 0;
    bool complete = true;
    while (done < size) {
        if (Cancel)
            break;
        const size_t got = Stream.Read(buffer.data(), buffer.size());
        if (got == 0) {
            // the file shrank or the read failed: values of a part of the file would be wrong
            complete = false;
            break;
        }
        done += got;
        for (Active& active : hashes)
            active.Hash->Update(buffer.data(), static_cast<uint32_t>(got));
        const std::wstring percent = PercentText(done, size);
        for (Active& active : hashes) {
            if (active.Shown != percent) {
                cells.emplace_back(active.Column, percent);
                active.Shown = percent;
            }
        }
        if (done < size && !cells.empty()) {
            Row->SetTexts(cells);
            cells.clear();
        }
    }
    // a cancelled check leaves its cells empty for the next one; a file that was not read in full says so
    Cancelled = Cancel.load();
    Unreadable = !Cancelled && !complete;
    for (Active& active : hashes) {
        const std::wstring text = Cancelled    ? std::wstring()
                                  : Unreadable ? std::wstring(HashText::Unreadable)
                                               : active.Hash->Final();
        cells.emplace_back(active.Column, text);
    }
    if (!cells.empty())
        Row->SetTexts(cells);
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
