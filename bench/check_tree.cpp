// Seconds and MB/s of checking two folders through the real main window: registration, the scheduler, the workers
// and the pair evaluation, exactly as after a drop of each folder on its side. Also the CPU time of the scheduler's
// thread (it should sleep while the workers read) and of the interface thread (it handles every cell write).
//   check_tree <left folder> <right folder> crc|all [CheckNum]
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
#include <string>
#include <vector>

namespace {

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

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    const std::wstring settingsPath = TempSettingsPath();
    {
        Juxta main;
        main.SettingsPath = settingsPath;
        if (!main.CreateMainWindow()) {
            std::fprintf(stderr, "the main window could not be created\n");
            return 1;
        }
        if (!main.Checker)
            main.Checker = CheckHashManager::Create(&main);
        main.Settings.SetBool(L"Crc32", true);
        main.Settings.SetBool(L"Md5", all);
        main.Settings.SetBool(L"Sha1", all);
        main.Settings.SetInt(L"CheckNum", checkNum);
        // JUXTA_AUTOSCROLL=0 measures the check without the list following the rows being read
        if (const char* scroll = std::getenv("JUXTA_AUTOSCROLL"))
            main.Settings.SetBool(L"AutoScroll", std::atoi(scroll) != 0);
        main.BuildColumns();
        main.PublishSettings();

        HANDLE scheduler = OpenThread(THREAD_QUERY_INFORMATION, FALSE, main.Checker->GetId());
        const double schedulerBefore = CpuSeconds(scheduler);
        const double interfaceBefore = CpuSeconds(GetCurrentThread());
        const auto start = std::chrono::steady_clock::now();
        RegisterDroppedPaths(*main.GetList(0), {left});
        const double registeredLeft = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        RegisterDroppedPaths(*main.GetList(1), {right});
        const double registered = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        while (main.Checker->IsChecking()) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            kit::PumpMessages();
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double schedulerCpu = CpuSeconds(scheduler) - schedulerBefore;
        const double interfaceCpu = CpuSeconds(GetCurrentThread()) - interfaceBefore;
        const uint64_t bytes = main.GetList(0)->TotalSize + main.GetList(1)->TotalSize;
        const int files = main.GetList(0)->FileCount + main.GetList(1)->FileCount;

        std::printf("juxta %-3s CheckNum %2d: %6d files %8.1f MB %8.3f s %8.1f MB/s", all ? "all" : "crc", checkNum,
                    files, bytes / 1e6, seconds, bytes / 1e6 / seconds);
        std::printf("  (registration %.3f s, the left side alone %.3f s)\n", registered, registeredLeft);
        std::printf("  scheduler thread CPU %.3f s (%.1f%% of the run), interface thread CPU %.3f s\n", schedulerCpu,
                    100.0 * schedulerCpu / seconds, interfaceCpu);
        std::printf("  marks: ○ %d  × %d  ← %d  → %d  ？ %d\n", main.MarkCounts[0].load(), main.MarkCounts[1].load(),
                    main.MarkCounts[2].load(), main.MarkCounts[3].load(), main.MarkCounts[4].load());
        std::printf("seconds=%.4f\n", seconds);
        std::printf("check_seconds=%.4f\n", seconds - registered);
        // what one repaint of the whole window costs here (a scroll repaints the three lists)
        const int repaints = 10;
        const auto paintStart = std::chrono::steady_clock::now();
        for (int i = 0; i < repaints; ++i)
            RedrawWindow(main.Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        const double paint = std::chrono::duration<double>(std::chrono::steady_clock::now() - paintStart).count();
        std::printf("  one repaint of the window %.1f ms", 1000.0 * paint / repaints);
        const HWND lists[3] = {main.GetList(0)->Handle, main.MarkList->Handle, main.GetList(1)->Handle};
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
