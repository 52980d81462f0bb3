// Seconds and MB/s of checking two folders through the real main window: registration, the scheduler, the workers
// and the pair evaluation, exactly as after a drop of each folder on its side. Also the CPU time of the scheduler's
// thread (it should sleep while the workers read) and of the interface thread (it handles every cell write).
//   check_tree <left folder> <right folder> crc|all [CheckNum] [extra folder]
//   check_tree <left folder> <right folder> read
// "read" is the floor: a plain program that only opens and reads every file of both folders, one after the other.
// An extra folder is dropped on the left once the check runs with every worker busy: the time from that drop to its
// registration window is printed.
// The registration (drop to rows) is also timed apart. JUXTA_AUTOSCROLL=0 switches "AutoScroll" off. Last comes
// what one repaint of the window and of each list costs here (the lists follow the check by scrolling).
// bench/check_tree.sh makes the trees, runs this under Wine and rhash natively over the same files.
#ifdef _WIN32
#include "app/check/CheckHashManager.h"
#include "app/check/Registration.h"
#include "app/lists/CompListView.h"
#include "app/lists/FileListView.h"
#include "app/shell/Juxta.h"
#include "kit/ui/Window.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <atomic>
#include <functional>
#include <thread>
#include <string>
#include <vector>

namespace {

// every file under folder opened and read in 1 MiB blocks; the bytes read
uint64_t ReadTree(const std::wstring& folder, std::vector<char>& buffer)
{
    uint64_t total = 0;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::wstring path = folder + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            total += ReadTree(path, buffer);
            continue;
        }
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            continue;
        DWORD got = 0;
        while (ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got > 0)
            total += got;
        CloseHandle(file);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return total;
}

// milliseconds from the start of action to the moment a dialog of this process shows (the registration window),
// seen by a thread that looks every millisecond without sending anything to the interface thread; -1 for none
double MillisecondsToRegistrationWindow(const std::function<void()>& action)
{
    struct Watch {
        std::atomic<bool> Done{false};
        std::atomic<bool> Seen{false};
        std::chrono::steady_clock::time_point At;
        static BOOL CALLBACK Each(HWND window, LPARAM data)
        {
            Watch& watch = *reinterpret_cast<Watch*>(data);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            wchar_t name[16] = {};
            if (process == GetCurrentProcessId() && IsWindowVisible(window) && GetClassNameW(window, name, 16) &&
                std::wstring(name) == L"#32770") {
                watch.At = std::chrono::steady_clock::now();
                watch.Seen = true;
                return FALSE;
            }
            return TRUE;
        }
    } watch;
    std::thread watcher([&watch] {
        while (!watch.Done && !watch.Seen) {
            EnumWindows(&Watch::Each, reinterpret_cast<LPARAM>(&watch));
            Sleep(1);
        }
    });
    const auto start = std::chrono::steady_clock::now();
    action();
    watch.Done = true;
    watcher.join();
    return watch.Seen ? std::chrono::duration<double, std::milli>(watch.At - start).count() : -1;
}

double CpuSeconds(HANDLE thread)
{
    FILETIME created, exited, kernel, user;
    if (!thread || !GetThreadTimes(thread, &created, &exited, &kernel, &user))
        return -1;
    const auto seconds = [](const FILETIME& time) {
        return (static_cast<uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

std::wstring TempSettingsPath()
{
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + L"check_tree_" + std::to_wstring(GetCurrentProcessId()) + L".dat";
}

} // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 4) {
        std::fprintf(stderr, "usage: check_tree <left folder> <right folder> crc|all [CheckNum]\n");
        return 2;
    }
    const std::wstring left = argv[1];
    const std::wstring right = argv[2];
    const bool all = std::wstring(argv[3]) == L"all";
    const int checkNum = argc > 4 ? _wtoi(argv[4]) : 8;
    const std::wstring extra = argc > 5 ? argv[5] : L"";
    if (std::wstring(argv[3]) == L"read") {
        std::vector<char> buffer(1 << 20);
        const auto start = std::chrono::steady_clock::now();
        const uint64_t bytes = ReadTree(left, buffer) + ReadTree(right, buffer);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("read floor: %8.1f MB %8.3f s %8.1f MB/s\n", bytes / 1e6, seconds, bytes / 1e6 / seconds);
        std::printf("seconds=%.4f\n", seconds);
        LocalFree(argv);
        return 0;
    }

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    const std::wstring settingsPath = TempSettingsPath();
    {
        Juxta main(settingsPath);
        if (!main.CreateMainWindow()) {
            std::fprintf(stderr, "the main window could not be created\n");
            return 1;
        }
        main.GetSettings().SetBool(L"Crc32", true);
        main.GetSettings().SetBool(L"Md5", all);
        main.GetSettings().SetBool(L"Sha1", all);
        main.GetSettings().SetInt(L"CheckNum", checkNum);
        // JUXTA_AUTOSCROLL=0 measures the check without the list following the rows being read
        if (const char* scroll = std::getenv("JUXTA_AUTOSCROLL"))
            main.GetSettings().SetBool(L"AutoScroll", std::atoi(scroll) != 0);
        main.BuildColumns();
        main.PublishSettings();

        HANDLE scheduler = OpenThread(THREAD_QUERY_INFORMATION, FALSE, main.GetChecker()->GetId());
        const double schedulerBefore = CpuSeconds(scheduler);
        const double interfaceBefore = CpuSeconds(GetCurrentThread());
        const auto start = std::chrono::steady_clock::now();
        RegisterDroppedPaths(*main.GetList(0), {left});
        const double registeredLeft = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        RegisterDroppedPaths(*main.GetList(1), {right});
        const double registrationCpu = CpuSeconds(GetCurrentThread()) - interfaceBefore;
        const double registered = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        double dropToWindow = -1;
        if (!extra.empty()) {
            // once every worker is reading
            while (main.GetChecker()->IsChecking() &&
                   main.GetChecker()->GetWorkerCount() < static_cast<size_t>(checkNum)) {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
                kit::PumpMessages();
            }
            dropToWindow = MillisecondsToRegistrationWindow(
                [&] { RegisterDroppedPaths(*main.GetList(0), {extra}); });
        }
        while (main.GetChecker()->IsChecking()) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            kit::PumpMessages();
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double schedulerCpu = CpuSeconds(scheduler) - schedulerBefore;
        const double interfaceCpu = CpuSeconds(GetCurrentThread()) - interfaceBefore;
        const uint64_t bytes = main.GetRows().TotalSize(0) + main.GetRows().TotalSize(1);
        const int files = main.GetRows().FileCount(0) + main.GetRows().FileCount(1);

        std::printf("juxta %-3s CheckNum %2d: %6d files %8.1f MB %8.3f s %8.1f MB/s", all ? "all" : "crc", checkNum,
                    files, bytes / 1e6, seconds, bytes / 1e6 / seconds);
        std::printf("  (registration %.3f s, the left side alone %.3f s)\n", registered, registeredLeft);
        std::printf("  scheduler thread CPU %.3f s (%.1f%% of the run), interface thread CPU %.3f s\n", schedulerCpu,
                    100.0 * schedulerCpu / seconds, interfaceCpu);
        std::printf("  interface thread CPU per file %.3f ms (target <= 0.1);", 1000.0 * interfaceCpu / files);
        std::printf(" of its %.3f s the registrations took %.3f s\n", interfaceCpu, registrationCpu);
        if (!extra.empty())
            std::printf("  drop with %d workers reading to its registration window %.1f ms (target < 100)\n", checkNum,
                        dropToWindow);
        std::printf("  marks: ○ %d  × %d  ← %d  → %d  ？ %d\n", main.GetRows().MarkCount(0), main.GetRows().MarkCount(1),
                    main.GetRows().MarkCount(2), main.GetRows().MarkCount(3), main.GetRows().MarkCount(4));
        std::printf("seconds=%.4f\n", seconds);
        std::printf("check_seconds=%.4f\n", seconds - registered);
        // what one repaint of the whole window costs here (a scroll repaints the three lists)
        const int repaints = getenv("X_NOREPAINT") ? 0 : 10;
        const auto paintStart = std::chrono::steady_clock::now();
        for (int i = 0; i < repaints; ++i)
            RedrawWindow(main.Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        const double paint = std::chrono::duration<double>(std::chrono::steady_clock::now() - paintStart).count();
        std::printf("  one repaint of the window %.1f ms", 1000.0 * paint / repaints);
        const HWND lists[3] = {main.GetList(0)->Handle, main.GetMarkList()->Handle, main.GetList(1)->Handle};
        for (HWND list : lists) {
            const auto listStart = std::chrono::steady_clock::now();
            for (int i = 0; i < repaints; ++i)
                RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            std::printf(", list %.1f ms",
                        1000.0 * std::chrono::duration<double>(std::chrono::steady_clock::now() - listStart).count() /
                            repaints);
        }
        std::printf("\n");
        if (scheduler)
            CloseHandle(scheduler);
        DestroyWindow(main.Handle);
        kit::PumpMessages();
    }
    DeleteFileW(settingsPath.c_str());
    LocalFree(argv);
    return 0;
}
#else
#include <cstdio>

int main()
{
    std::puts("check_tree drives the Windows main window; nothing to measure in this build");
    return 0;
}
#endif
