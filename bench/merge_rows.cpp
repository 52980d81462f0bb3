// Seconds to place registered files into the rows of a real main window: n files on the left (each appended with a
// blank partner row), then n files with the same relative paths on the right (each filling its partner's blank
// row), then one paint of the three lists. The files of the first rows exist (made in a temporary folder on the
// first run), so the shell's icon lookup of the rows painted is the real one. Reference in the same run: the merge of the row model alone. Ends with the
// process's peak working set.
//   merge_rows [n...]      (default 10000 50000 100000)
#ifdef _WIN32
#include "app/lists/CompListView.h"
#include "app/lists/FileListView.h"
#include "app/lists/KeyCase.h"
#include "app/lists/PairMarks.h"
#include "app/lists/RowModel.h"
#include "app/shell/Juxta.h"
#include "kit/ui/Window.h"

#include <commctrl.h>
#include <objbase.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// processor time of this process (user and kernel), steadier than the clock on a shared machine
double ProcessorSeconds()
{
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user))
        return 0;
    const auto seconds = [](const FILETIME& time) {
        return ((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

std::wstring TempFolder()
{
    wchar_t buffer[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, buffer);
    return std::wstring(buffer) + L"juxta_merge_rows\\";
}

// side folders "a" and "b", each with n files spread over folders of 1000; only the first ones exist on disk (the
// lists look up the icons of the rows they paint, which are the first ones). The paths are made when needed, so
// that the peak memory is the window's, not the bench's.
const int FilesOnDisk = 1000;

std::wstring PathOf(const std::wstring& root, const std::wstring& side, int i)
{
    return root + side + L"\\d" + std::to_wstring(i / 1000) + L"\\file" + std::to_wstring(i) +
           (i % 3 ? L".txt" : L".bin");
}

void MakeFiles(const std::wstring& root, const std::wstring& side)
{
    CreateDirectoryW(root.c_str(), 0);
    CreateDirectoryW((root + side).c_str(), 0);
    CreateDirectoryW((root + side + L"\\d0").c_str(), 0);
    for (int i = 0; i < FilesOnDisk; ++i) {
        const std::wstring path = PathOf(root, side, i);
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, 0, CREATE_NEW, 0, 0);
            if (file != INVALID_HANDLE_VALUE)
                CloseHandle(file);
        }
    }
}

std::vector<PendingRecord> Records(const std::wstring& root, const std::wstring& side, int n)
{
    std::vector<PendingRecord> records;
    records.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        records.push_back(PendingRecord::ForFile(PathOf(root, side, i), root + side + L"\\", KeyCase::Lower));
    return records;
}

void Queue(FileListView& list, const std::wstring& root, const std::wstring& side, int n)
{
    list.RevealList();
    list.Pending = Records(root, side, n);
}

void Run(int n)
{
    const std::wstring root = TempFolder();
    MakeFiles(root, L"a");
    MakeFiles(root, L"b");

    double modelSeconds = 0;
    {
        // the reference, gone before the window is made so that the peak memory is the window's
        std::vector<PendingRecord> leftRecords = Records(root, L"a", n);
        std::vector<PendingRecord> rightRecords = Records(root, L"b", n);
        auto start = std::chrono::steady_clock::now();
        RowModel model;
        model.MergePending(0, std::move(leftRecords));
        model.MergePending(1, std::move(rightRecords));
        modelSeconds = Seconds(start);
    }
    auto start = std::chrono::steady_clock::now();

    // the icons of one screen of rows, which the first paint looks up
    for (int i = 0; i < 50 && i < n; ++i)
        FileListView::ShellIconIndex(PathOf(root, L"a", i));
    const double iconSeconds = Seconds(start);

    Juxta main(root + L"merge_rows.dat");
    if (!main.CreateMainWindow()) {
        std::printf("no main window\n");
        return;
    }
    kit::PumpMessages();
    Queue(*main.GetList(0), root, L"a", n);
    const double processorStart = ProcessorSeconds();
    start = std::chrono::steady_clock::now();
    main.GetList(0)->MergePending();
    const double appendSeconds = Seconds(start);
    Queue(*main.GetList(1), root, L"b", n);
    start = std::chrono::steady_clock::now();
    main.GetList(1)->MergePending();
    const double fillSeconds = Seconds(start);
    start = std::chrono::steady_clock::now();
    RedrawWindow(main.Handle, 0, 0, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    kit::PumpMessages();
    const double paintSeconds = Seconds(start);
    const double processorSeconds = ProcessorSeconds() - processorStart;

    const int unknown = main.GetRows().MarkCount(PairMark::Unknown);
    std::printf("  %7d rows per side: append %7.3f s, fill %7.3f s, paint %6.3f s, total %7.3f s "
                "(%8.0f rows/s), processor %7.3f s; marks ? %d; model alone %6.3f s; icons of 50 rows alone %6.3f s\n",
                n, appendSeconds, fillSeconds, paintSeconds, appendSeconds + fillSeconds + paintSeconds,
                2.0 * n / (appendSeconds + fillSeconds + paintSeconds), processorSeconds, unknown, modelSeconds, iconSeconds);
    DestroyWindow(main.Handle);
    kit::PumpMessages();
}

} // namespace

int main(int argc, char** argv)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i)
        counts.push_back(std::atoi(argv[i]));
    if (counts.empty())
        counts = {10000, 50000, 100000};
    std::printf("merge into the lists of a main window (left appended, right filled into the partner rows)\n");
    for (int n : counts)
        Run(n);
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory))
        std::printf("peak memory %.0f MiB\n", memory.PeakWorkingSetSize / 1048576.0);
    return 0;
}
#else
#include <cstdio>

int main()
{
    std::printf("merge_rows drives the Windows lists; nothing to measure in this build\n");
    return 0;
}
#endif
