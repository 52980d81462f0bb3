// Pairing of two large registrations: builds the pending records of N generated files per side (no file system, no
// hashing) and merges them, first the left side, then the right. Also an imported list against a folder whose file
// names repeat in every subfolder (pairing by name, tie-broken by trailing path), and the plain walk of the pending
// list on a smaller input as reference. (bench/merge_rows puts registrations into the lists of a real main window.)
// Usage: merge [files per side]
#include "app/lists/RowModel.h"
#include "tests/portable/ReferenceMerge.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>

#ifdef _WIN32
#include <windows.h>
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

    return 0;
}
