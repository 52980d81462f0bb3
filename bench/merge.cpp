// Pairing of two large registrations: builds the pending records of N generated files per side (no file system, no
// hashing) and merges them, first the left side, then the right. Also an imported list against a folder whose file
// names repeat in every subfolder (pairing by name, tie-broken by trailing path), and the plain walk of the pending
// list on a smaller input as reference. On Windows the same registrations then go into the three lists of a real
// main window (left appended with blank partner rows, right filled into them), with the parts of that time
// measured on their own: the pairing, the shell's icon lookups, the text widths, the rows of a bare list view.
// Usage: merge [files per side]
#include "app/lists/RowModel.h"
#include "tests/portable/ReferenceMerge.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>

#ifdef _WIN32
#include "app/lists/CompListView.h"
#include "app/lists/FileListView.h"
#include "app/shell/Juxta.h"
#include "kit/ui/Window.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#endif
#include <cstdlib>
#include <list>
#include <string>

namespace {

typedef std::chrono::steady_clock Clock;

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// processor time of the process, next to the wall time on a machine that others share (clock() of the Windows
// runtime counts wall time)
double CpuNow()
{
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    auto seconds = [](const FILETIME& time) {
        return ((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
#else
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
#endif
}

double CpuSeconds(double since)
{
    return CpuNow() - since;
}

std::wstring Lower(const std::wstring& text)
{
    std::wstring lower(text);
    for (wchar_t& c : lower) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return lower;
}

// the number with leading zeros up to width digits
std::wstring Digits(int value, size_t width)
{
    std::wstring text = std::to_wstring(value);
    return std::wstring(text.size() < width ? width - text.size() : 0, L'0') + text;
}

// a tree of 100 files per folder, 20 folders per parent; one file in 50 exists only on its side
std::vector<PendingRecord> FolderFiles(const std::wstring& base, int count, bool right)
{
    std::vector<PendingRecord> records;
    records.reserve(count);
    for (int i = 0; i < count; ++i) {
        bool alone = i % 50 == 7;
        std::wstring relative = L"Project" + Digits(i / 2000, 2) + L"\\Module" + Digits((i / 100) % 20, 3) + L"\\"
            + (alone ? (right ? L"RightOnly" : L"LeftOnly") : L"Source") + Digits(i, 6) + L".cpp";
        records.push_back(PendingRecord::ForFile(base + relative, base, Lower));
    }
    // the right side's files come back in another order
    if (right) {
        for (size_t i = 0; i + 1 < records.size(); i += 2)
            std::swap(records[i], records[i + 1]);
    }
    return records;
}

// files named like those of a source tree: a few names repeated in every folder
std::vector<PendingRecord> RepeatedNames(const std::wstring& base, int count, bool imported)
{
    static const wchar_t* const names[] = {L"index.js", L"package.json", L"README.md", L"LICENSE", L"util.js"};
    std::vector<PendingRecord> records;
    records.reserve(count);
    for (int i = 0; i < count; ++i) {
        std::wstring relative = L"node_modules\\pkg" + Digits(i / 5, 5) + L"\\" + names[i % 5];
        if (imported) {
            HashListEntry entry;
            entry.Name = relative;
            entry.SizeText = L"-";
            records.push_back(PendingRecord::ForListEntry(entry, Lower));
        } else {
            records.push_back(PendingRecord::ForFile(base + relative, base, Lower));
        }
    }
    return records;
}

void MergeBothSides(const char* what, std::vector<PendingRecord> left, std::vector<PendingRecord> right)
{
    RowModel model;
    Clock::time_point start = Clock::now();
    double cpu = CpuNow();
    model.MergePending(0, std::move(left));
    double leftSeconds = Seconds(start);
    double leftCpu = CpuSeconds(cpu);
    start = Clock::now();
    cpu = CpuNow();
    RowModel::MergeResult result = model.MergePending(1, std::move(right));
    std::printf("%-32s left %.3f s (cpu %.3f), right %.3f s (cpu %.3f): %d rows, %d paired, %d appended\n", what,
        leftSeconds, leftCpu, Seconds(start), CpuSeconds(cpu), model.RowCount(), static_cast<int>(result.Filled.size()),
        static_cast<int>(result.Appended.size()));
}

void CompareWithReference(int count)
{
    std::vector<PendingRecord> left = FolderFiles(L"C:\\Left\\", count, false);
    std::vector<PendingRecord> right = FolderFiles(L"D:\\Right\\", count, true);
    Clock::time_point start = Clock::now();
    double cpu = CpuNow();
    reference::Lists lists;
    lists.MergePending(0, std::list<PendingRecord>(left.begin(), left.end()));
    lists.MergePending(1, std::list<PendingRecord>(right.begin(), right.end()));
    double referenceSeconds = Seconds(start);
    double referenceCpu = CpuSeconds(cpu);
    start = Clock::now();
    cpu = CpuNow();
    RowModel model;
    model.MergePending(0, left);
    model.MergePending(1, right);
    std::printf("reference walk, %d per side:     %.3f s (cpu %.3f); indexed merge %.3f s (cpu %.3f); %d rows\n",
        count, referenceSeconds, referenceCpu, Seconds(start), CpuSeconds(cpu), static_cast<int>(lists.Rows.size()));
}

#ifdef _WIN32
// rows appended to a list view control that no object wraps, redraw off: what the control itself costs
double BareRows(const std::vector<PendingRecord>& records)
{
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_POPUP | LVS_REPORT, 0, 0, 600, 400, nullptr, nullptr,
        nullptr, nullptr);
    LVCOLUMNW column = {};
    column.mask = LVCF_WIDTH;
    column.cx = 160;
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_SETITEMCOUNT, records.size(), LVSICF_NOINVALIDATEALL);
    const Clock::time_point start = Clock::now();
    int row = 0;
    for (const PendingRecord& record : records) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = row++;
        item.pszText = const_cast<wchar_t*>(record.Path.c_str());
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    const double seconds = Seconds(start);
    DestroyWindow(list);
    return seconds;
}

double TextWidths(HWND window, const std::vector<PendingRecord>& records)
{
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
    const Clock::time_point start = Clock::now();
    long long total = 0;
    for (const PendingRecord& record : records) {
        SIZE size = {};
        GetTextExtentPoint32W(dc, record.Path.c_str(), static_cast<int>(record.Path.size()), &size);
        total += size.cx;
    }
    const double seconds = Seconds(start);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return total >= 0 ? seconds : 0;
}

double IconLookups(const std::vector<PendingRecord>& records)
{
    const Clock::time_point start = Clock::now();
    int found = 0;
    for (const PendingRecord& record : records)
        found += FileListView::ShellIconIndex(record.Path) >= 0 ? 1 : 0;
    const double seconds = Seconds(start);
    std::printf("  icon lookups: %d of %d found an icon\n", found, static_cast<int>(records.size()));
    return seconds;
}

// the records' files, empty, made on the first run (the program registers files that exist, and their icons are
// looked up once per file type; a path that does not exist costs a failing lookup of the shell per row)
void MakeFiles(const std::vector<PendingRecord>& records, const std::wstring& base)
{
    std::wstring folder;
    for (const PendingRecord& record : records) {
        const std::wstring parent = record.Path.substr(0, record.Path.find_last_of(L'\\'));
        if (parent != folder) {
            folder = parent;
            for (size_t at = base.size(); at != std::wstring::npos; at = folder.find(L'\\', at + 1))
                CreateDirectoryW(folder.substr(0, at).c_str(), nullptr);
            CreateDirectoryW(folder.c_str(), nullptr);
        }
        if (GetFileAttributesW(record.Path.c_str()) != INVALID_FILE_ATTRIBUTES)
            continue;
        HANDLE file = CreateFileW(record.Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
}

// the row operations of the merge one kind at a time, on the left list of a main window of their own
void RowOperations(const std::vector<PendingRecord>& records, const std::wstring& settings)
{
    Juxta main;
    main.SettingsPath = settings;
    if (!main.CreateMainWindow())
        return;
    kit::PumpMessages();
    FileListView& list = *main.GetList(0);
    list.RevealList();
    const int count = static_cast<int>(records.size());
    double seconds[5] = {};
    {
        kit::ListView::UpdateBlock block(list);
        list.Reserve(count);
        Clock::time_point start = Clock::now();
        for (const PendingRecord& record : records)
            list.AddItem(record.Path);
        seconds[0] = Seconds(start);
        start = Clock::now();
        FileListView::ItemInfo info;
        for (int row = 0; row < count; ++row) {
            info.RelativeKey = records[static_cast<size_t>(row)].RelativeKey;
            list.SetItemInfo(row, info);
        }
        seconds[1] = Seconds(start);
        start = Clock::now();
        for (int row = 0; row < count; ++row)
            list.SetRowColour(row, 0xC0C0C0);
        seconds[2] = Seconds(start);
        start = Clock::now();
        for (int row = 0; row < count; ++row)
            list.SetRowImage(row, 3);
        seconds[3] = Seconds(start);
        start = Clock::now();
        for (int row = 0; row < count; ++row)
            list.GetCellText(row, 0);
        seconds[4] = Seconds(start);
    }
    std::printf("row operations alone, %d rows: append %.3f s, item info %.3f s, colour %.3f s, icon %.3f s, "
        "read path %.3f s\n", count, seconds[0], seconds[1], seconds[2], seconds[3], seconds[4]);
    DestroyWindow(main.Handle);
    kit::PumpMessages();
}

// registration (the records, as a drop builds them), merge and rows in a main window, one side after the other
void MergeIntoLists(int count)
{
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring root = std::wstring(folder) + L"juxta_merge\\";
    const std::wstring leftBase = root + L"Left\\", rightBase = root + L"Right\\";
    CreateDirectoryW(root.c_str(), nullptr);
    CreateDirectoryW(leftBase.c_str(), nullptr);
    CreateDirectoryW(rightBase.c_str(), nullptr);
    {
        const Clock::time_point made = Clock::now();
        MakeFiles(FolderFiles(leftBase, count, false), leftBase);
        MakeFiles(FolderFiles(rightBase, count, true), rightBase);
        std::printf("%-32s %.3f s (made on the first run)\n", "files on disk", Seconds(made));
    }
    {
        // the cost of a path that does not exist, for comparison
        std::vector<PendingRecord> missing = FolderFiles(L"C:\\NoSuchFolder\\", 2000, false);
        const Clock::time_point start = Clock::now();
        for (const PendingRecord& record : missing)
            FileListView::ShellIconIndex(record.Path);
        std::printf("%-32s %.1f us per path\n", "icon lookup of a missing file", Seconds(start) * 1e6 / 2000);
    }
    Juxta main;
    main.SettingsPath = std::wstring(folder) + L"juxta_merge_bench.dat";
    if (!main.CreateMainWindow()) {
        std::printf("no main window\n");
        return;
    }
    kit::PumpMessages();

    Clock::time_point start = Clock::now();
    double cpu = CpuNow();
    std::vector<PendingRecord> left = FolderFiles(leftBase, count, false);
    std::vector<PendingRecord> right = FolderFiles(rightBase, count, true);
    const double registerSeconds = Seconds(start), registerCpu = CpuSeconds(cpu);
    const double bareSeconds = BareRows(left);
    const double widthSeconds = TextWidths(main.GetList(0)->Handle, left);
    const double iconSeconds = IconLookups(left);
    RowOperations(left, main.SettingsPath);

    double sideSeconds[2] = {}, sideCpu[2] = {};
    for (int side = 0; side < 2; ++side) {
        FileListView& list = *main.GetList(side);
        list.RevealList();
        std::vector<PendingRecord>& records = side == 0 ? left : right;
        list.FileCount += static_cast<int32_t>(records.size());
        list.Pending = std::move(records);
        start = Clock::now();
        cpu = CpuNow();
        list.MergePending();
        sideSeconds[side] = Seconds(start);
        sideCpu[side] = CpuSeconds(cpu);
    }
    start = Clock::now();
    RedrawWindow(main.Handle, 0, 0, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    kit::PumpMessages();
    const double paintSeconds = Seconds(start);

    const double total = registerSeconds + sideSeconds[0] + sideSeconds[1] + paintSeconds;
    std::printf("%-32s %.3f s (cpu %.3f)\n", "records (both sides)", registerSeconds, registerCpu);
    std::printf("%-32s %.3f s (cpu %.3f): %d rows appended on the left, blank rows on the right\n",
        "left into the lists", sideSeconds[0], sideCpu[0], main.GetList(0)->GetRowCount());
    std::printf("%-32s %.3f s (cpu %.3f): rows %d / %d / %d; marks ? %d, <- %d, -> %d\n", "right into the lists",
        sideSeconds[1], sideCpu[1], main.GetList(0)->GetRowCount(), main.GetList(1)->GetRowCount(),
        main.MarkList->GetItemCount(), main.MarkCounts[4].load(), main.MarkCounts[2].load(), main.MarkCounts[3].load());
    std::printf("%-32s %.3f s\n", "one paint of the window", paintSeconds);
    std::printf("%-32s %.3f s (%.0f files/s)\n", "registration to painted rows", total, 2.0 * count / total);
    std::printf("parts measured alone, one side: bare list view rows %.3f s, text widths %.3f s, icon lookups %.3f s\n",
        bareSeconds, widthSeconds, iconSeconds);
    DestroyWindow(main.Handle);
    kit::PumpMessages();
    DeleteFileW(main.SettingsPath.c_str());
}
#endif

} // namespace

int main(int argc, char** argv)
{
    int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    if (count <= 0)
        count = 100000;
    std::printf("%d files per side\n", count);

    Clock::time_point start = Clock::now();
    double cpu = CpuNow();
    std::vector<PendingRecord> left = FolderFiles(L"C:\\Left\\", count, false);
    std::vector<PendingRecord> right = FolderFiles(L"D:\\Right\\", count, true);
    std::printf("%-32s %.3f s (cpu %.3f)\n", "records (both sides)", Seconds(start), CpuSeconds(cpu));

    MergeBothSides("folders by relative path", std::move(left), std::move(right));
    std::printf("%-32s %.3f s (cpu %.3f)\n", "records and merge", Seconds(start), CpuSeconds(cpu));

    MergeBothSides("imported list by name and path", RepeatedNames(L"", count, true),
        RepeatedNames(L"E:\\Tree\\", count, false));

    CompareWithReference(std::min(count, 4000));

#ifdef _WIN32
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::printf("into the lists of a main window, %d files per side:\n", count);
    MergeIntoLists(count);
#endif
    return 0;
}
