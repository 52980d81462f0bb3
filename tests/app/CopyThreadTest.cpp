#include "app/tools/CopyThread.h"
#include "kit/core/Crc32.h"
#include "kit/core/LongPath.h"
#include "kit/core/Md5.h"
#include "kit/core/Sha1.h"
#include "tests/core/SeenPaths.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace {

// records what the run shows; optionally holds the worker at the status line of one file
class RecordingSink : public CopySink {
public:
    RecordingSink() : Done(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~RecordingSink()
    {
        if (HoldReached)
            CloseHandle(HoldReached);
        if (HoldRelease)
            CloseHandle(HoldRelease);
        CloseHandle(Done);
    }

    void HoldAt(const std::wstring& status)
    {
        HoldStatus = status;
        HoldReached = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        HoldRelease = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }

    void SetStatus(const std::wstring& text) override
    {
        {
            std::lock_guard<std::mutex> lock(Mutex);
            Statuses.push_back(text);
        }
        if (HoldReached && text == HoldStatus) {
            SetEvent(HoldReached);
            WaitForSingleObject(HoldRelease, INFINITE);
        }
    }
    void AddLog(const std::wstring& line) override
    {
        std::lock_guard<std::mutex> lock(Mutex);
        Log.push_back(line);
    }
    void SetProgress(int position) override
    {
        std::lock_guard<std::mutex> lock(Mutex);
        Positions.push_back(position);
    }
    void SetPaused() override
    {
        std::lock_guard<std::mutex> lock(Mutex);
        Paused = true;
    }
    // a verified copy between its flush and its read-back: the test may damage it here
    void CopyWritten(const std::wstring& temporary) override
    {
        if (Damage)
            Damage(temporary);
    }
    void Finished(const std::wstring& closeText) override
    {
        {
            std::lock_guard<std::mutex> lock(Mutex);
            CloseText = closeText;
        }
        SetEvent(Done);
    }

    std::mutex Mutex;
    std::vector<std::wstring> Statuses;
    std::vector<std::wstring> Log;
    std::vector<int> Positions;
    bool Paused = false;
    std::wstring CloseText;
    std::function<void(const std::wstring&)> Damage;
    HANDLE Done;
    std::wstring HoldStatus;
    HANDLE HoldReached = nullptr;
    HANDLE HoldRelease = nullptr;
};

std::wstring ReadAll(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return L"<missing>";
    std::string bytes(4096, '\0');
    DWORD read = 0;
    ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    return std::wstring(bytes.begin(), bytes.begin() + read);
}

bool IsFile(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// the name as stored on disk, to see letter case
std::wstring StoredName(const std::wstring& path)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(path.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return std::wstring();
    FindClose(find);
    return data.cFileName;
}

void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

void CollectFiles(const std::wstring& folder, std::vector<std::wstring>& files)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CollectFiles(folder + L"\\" + name, files);
        else
            files.push_back(folder + L"\\" + name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

std::wstring MakeTempFolder(const std::wstring& parent)
{
    static int counter = 0;
    std::wstring path = parent + L"juxta-copy-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++counter);
    return CreateDirectoryW(path.c_str(), nullptr) ? path : std::wstring();
}

class CopyThreadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH + 1];
        ASSERT_NE(0u, GetTempPathW(MAX_PATH + 1, temp));
        Root = MakeTempFolder(temp);
        ASSERT_FALSE(Root.empty());
        Roots.push_back(Root);
    }

    // no source is lost unless the test moved or deleted it, and no temporary copy is left anywhere
    void TearDown() override
    {
        for (const auto& source : Sources) {
            if (!Removed.count(source.first)) {
                EXPECT_EQ(source.second, ReadAll(source.first)) << "source lost or changed";
            }
        }
        for (const std::wstring& root : Roots) {
            std::vector<std::wstring> files;
            CollectFiles(root, files);
            for (const std::wstring& file : files) {
                EXPECT_EQ(std::wstring::npos, file.find(L".~")) << "temporary file left";
            }
            RemoveTree(root);
        }
    }

    // a folder on a second volume (the tmpfs at Z:\\dev\\shm under Wine), removed at the end; "" when there is none
    std::wstring OtherVolume()
    {
        const std::wstring other = MakeTempFolder(L"Z:\\dev\\shm\\");
        if (!other.empty())
            Roots.push_back(other);
        return other;
    }

    // the run is cancelled where the sink holds it, then let go and waited for
    void CancelAtTheHold(CopyThread& thread)
    {
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(Sink.HoldReached, 60000));
        thread.Cancel();
        SetEvent(Sink.HoldRelease);
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(Sink.Done, 60000));
        thread.Join();
    }

    std::wstring Put(const std::wstring& relative, const std::string& content)
    {
        return PutAt(Root + L"\\" + relative, content);
    }

    std::wstring PutAt(const std::wstring& path, const std::string& content)
    {
        for (size_t slash = path.find(L'\\', 3); slash != std::wstring::npos;
             slash = path.find(L'\\', slash + 1))
            CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        EXPECT_NE(INVALID_HANDLE_VALUE, file);
        DWORD written = 0;
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
        return path;
    }

    // a source file: checked after the test unless it was meant to go
    std::wstring Source(const std::wstring& relative, const std::string& content)
    {
        std::wstring path = Put(relative, content);
        Sources[path] = std::wstring(content.begin(), content.end());
        return path;
    }

    static CopyTask Task(const std::wstring& source, const std::wstring& destination, uint64_t size = 1)
    {
        CopyTask task;
        task.Source = source;
        task.Destination = destination;
        task.Size = size;
        return task;
    }

    void Run(int32_t operation, int32_t policy, const std::vector<CopyTask>& tasks, const HashKindFlags& verify = {})
    {
        ResetEvent(Sink.Done);
        boost::shared_ptr<CopyThread> thread = CopyThread::Create(&Sink, operation, policy, tasks, verify);
        ASSERT_TRUE(thread);
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(Sink.Done, 120000));
        thread->Join();
        EXPECT_TRUE(thread->IsFinished());
        EXPECT_EQ(L"閉じる", Sink.CloseText);
    }

    std::wstring Root;
    std::vector<std::wstring> Roots;
    std::map<std::wstring, std::wstring> Sources;
    std::set<std::wstring> Removed;
    RecordingSink Sink;
};

using Lines = std::vector<std::wstring>;

TEST(CopyThreadTasks, BuildTasks_relativePathsKeepTheirLetterCase)
{
    std::vector<CopyRow> rows(4);
    rows[0] = {L"C:\\Data\\Sub\\File.TXT", L"sub\\file.txt", 10, true, {}};
    rows[1] = {L"C:\\Data\\Skipped.txt", L"skipped.txt", 20, false, {}};
    rows[2] = {L"C:\\Single\\Only.Bin", L"only.bin", 30, true, {}};
    // a key that would leave the output folder falls back to the file name
    rows[3] = {L"C:\\Data\\x\\Evil.txt", L"..\\..\\evil.txt", 40, true, {}};

    std::vector<CopyTask> kept = CopyThread::BuildTasks(L"D:\\Out", true, CopyThread::OperationCopy, rows);
    ASSERT_EQ(3u, kept.size());
    EXPECT_EQ(L"C:\\Data\\Sub\\File.TXT", kept[0].Source);
    EXPECT_EQ(L"D:\\Out\\Sub\\File.TXT", kept[0].Destination);
    EXPECT_EQ(10u, kept[0].Size);
    EXPECT_EQ(L"D:\\Out\\Only.Bin", kept[1].Destination);
    EXPECT_EQ(L"D:\\Out\\Evil.txt", kept[2].Destination);

    std::vector<CopyTask> flat = CopyThread::BuildTasks(L"D:\\Out\\", false, CopyThread::OperationMove, rows);
    ASSERT_EQ(3u, flat.size());
    EXPECT_EQ(L"D:\\Out\\File.TXT", flat[0].Destination);

    std::vector<CopyTask> deletes = CopyThread::BuildTasks(L"D:\\Out", true, CopyThread::OperationDelete, rows);
    ASSERT_EQ(3u, deletes.size());
    EXPECT_TRUE(deletes[0].Destination.empty());
    EXPECT_EQ(30u, deletes[1].Size);
}

TEST_F(CopyThreadTest, Copy_keepsRelativePathsAndCreatesEveryFolderLevel)
{
    std::wstring deep = Source(L"src\\Sub\\Deeper\\File.TXT", "deep");
    std::wstring top = Source(L"src\\Top.Bin", "top");
    std::vector<CopyRow> rows = {{deep, L"sub\\deeper\\file.txt", 4, true, {}}, {top, L"top.bin", 3, true, {}}};
    std::wstring out = Root + L"\\out\\new\\level";
    Run(CopyThread::OperationCopy, CopyThread::ClashSkip,
        CopyThread::BuildTasks(out, true, CopyThread::OperationCopy, rows));

    EXPECT_EQ(L"deep", ReadAll(out + L"\\Sub\\Deeper\\File.TXT"));
    EXPECT_EQ(L"Sub", StoredName(out + L"\\Sub"));
    EXPECT_EQ(L"Deeper", StoredName(out + L"\\Sub\\Deeper"));
    EXPECT_EQ(L"File.TXT", StoredName(out + L"\\Sub\\Deeper\\File.TXT"));
    EXPECT_EQ(L"Top.Bin", StoredName(out + L"\\Top.Bin"));
    EXPECT_TRUE(Sink.Log.empty());
    ASSERT_EQ(3u, Sink.Statuses.size());
    EXPECT_EQ(deep + L"をコピー中...", Sink.Statuses[0]);
    EXPECT_EQ(L"コピーが完了しました（コピー 2、スキップ 0、失敗 0）", Sink.Statuses[2]);
    EXPECT_EQ((std::vector<int>{5714, 10000, 10000}), Sink.Positions);
    EXPECT_FALSE(Sink.Paused);
}

TEST_F(CopyThreadTest, Skip_leavesExistingDestinationAndDoesNotAdvance)
{
    std::wstring a = Source(L"src\\a.txt", "new a");
    std::wstring b = Source(L"src\\b.txt", "new b");
    std::wstring oldA = Put(L"out\\a.txt", "old a");
    Run(CopyThread::OperationCopy, CopyThread::ClashSkip,
        {Task(a, oldA, 100), Task(b, Root + L"\\out\\b.txt", 300)});

    EXPECT_EQ(L"old a", ReadAll(oldA));
    EXPECT_EQ(L"new b", ReadAll(Root + L"\\out\\b.txt"));
    EXPECT_EQ(Lines{oldA + L" が既に存在します"}, Sink.Log);
    EXPECT_EQ((std::vector<int>{7500, 10000}), Sink.Positions);
}

TEST_F(CopyThreadTest, Rename_takesTheFirstFreeNumberedName)
{
    std::wstring a = Source(L"src\\a.txt", "new a");
    std::wstring a2 = Source(L"src\\a (2).txt", "new a2");
    std::wstring out = Root + L"\\out\\";
    Put(L"out\\a.txt", "old a");
    Put(L"out\\a (1).txt", "old a1");
    Put(L"out\\a (2).txt", "old a2");
    Run(CopyThread::OperationCopy, CopyThread::ClashRename,
        {Task(a, out + L"a.txt"), Task(a2, out + L"a (2).txt")});

    EXPECT_EQ(L"new a", ReadAll(out + L"a (3).txt"));
    // a (2).txt loses its counter before numbering again, so it lands on a (4).txt: a (1) to a (3) are taken
    EXPECT_EQ(L"new a2", ReadAll(out + L"a (4).txt"));
    EXPECT_EQ(L"old a", ReadAll(out + L"a.txt"));
    EXPECT_EQ(L"old a1", ReadAll(out + L"a (1).txt"));
    EXPECT_EQ(L"old a2", ReadAll(out + L"a (2).txt"));
    EXPECT_EQ((Lines{out + L"a.txt が既に存在します", L"\u3000→出力ファイル名を a (3).txt に変更しました",
                     out + L"a (2).txt が既に存在します", L"\u3000→出力ファイル名を a (4).txt に変更しました"}),
              Sink.Log);
}

TEST_F(CopyThreadTest, Rename_numberedNameRestartsAtOne)
{
    std::wstring a2 = Source(L"src\\a (2).txt", "new a2");
    std::wstring out = Root + L"\\out\\";
    Put(L"out\\a (2).txt", "old a2");
    Run(CopyThread::OperationCopy, CopyThread::ClashRename, {Task(a2, out + L"a (2).txt")});

    EXPECT_EQ(L"new a2", ReadAll(out + L"a (1).txt"));
    EXPECT_EQ(L"old a2", ReadAll(out + L"a (2).txt"));
    EXPECT_EQ(L"\u3000→出力ファイル名を a (1).txt に変更しました", Sink.Log.at(1));
}

TEST_F(CopyThreadTest, Overwrite_replacesPlainAndReadOnlyDestinations)
{
    std::wstring a = Source(L"src\\a.txt", "new a");
    std::wstring b = Source(L"src\\b.txt", "new b");
    std::wstring oldA = Put(L"out\\a.txt", "old a");
    std::wstring oldB = Put(L"out\\b.txt", "old b");
    ASSERT_TRUE(SetFileAttributesW(oldB.c_str(), FILE_ATTRIBUTE_READONLY));
    Run(CopyThread::OperationCopy, CopyThread::ClashOverwrite, {Task(a, oldA), Task(b, oldB)});

    EXPECT_EQ(L"new a", ReadAll(oldA));
    EXPECT_EQ(L"new b", ReadAll(oldB));
    EXPECT_EQ((Lines{oldA + L" が既に存在します", L"\u3000→上書きしました。", oldB + L" が既に存在します",
                     L"\u3000→上書きしました。"}),
              Sink.Log);
}

// a locked destination cannot be replaced, and a source that cannot be read must not cost the old destination
TEST_F(CopyThreadTest, Overwrite_failedCopyKeepsTheOldDestination)
{
    std::wstring a = Source(L"src\\a.txt", "new a");
    std::wstring b = Source(L"src\\b.txt", "new b");
    std::wstring c = Source(L"src\\c.txt", "new c");
    std::wstring oldA = Put(L"out\\a.txt", "old a");
    std::wstring oldB = Put(L"out\\b.txt", "old b");
    std::wstring oldC = Put(L"out\\c.txt", "old c");
    ASSERT_TRUE(SetFileAttributesW(oldB.c_str(), FILE_ATTRIBUTE_READONLY));
    HANDLE locks[] = {CreateFileW(oldA.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
                      CreateFileW(oldB.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
                      CreateFileW(c.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)};
    for (HANDLE lock : locks)
        ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    Run(CopyThread::OperationCopy, CopyThread::ClashOverwrite, {Task(a, oldA), Task(b, oldB), Task(c, oldC)});
    for (HANDLE lock : locks)
        CloseHandle(lock);

    EXPECT_EQ(L"old a", ReadAll(oldA));
    EXPECT_EQ(L"old b", ReadAll(oldB));
    EXPECT_EQ(L"old c", ReadAll(oldC));
    // the read-only flag is back after the failed replacement
    EXPECT_TRUE(GetFileAttributesW(oldB.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ((Lines{oldA + L" が既に存在します", a + L" のコピーに失敗しました", oldB + L" が既に存在します",
                     b + L" のコピーに失敗しました", oldC + L" が既に存在します", c + L" のコピーに失敗しました"}),
              Sink.Log);
    // nothing succeeded: no success is reported
    EXPECT_EQ(L"コピーできませんでした（コピー 0、スキップ 0、失敗 3）", Sink.Statuses.back());
}

TEST_F(CopyThreadTest, Overwrite_fileOntoItselfKeepsIt)
{
    std::wstring a = Source(L"src\\a.txt", "only copy");
    std::wstring sameByOtherCase = Root + L"\\SRC\\A.TXT";
    Run(CopyThread::OperationMove, CopyThread::ClashOverwrite, {Task(a, sameByOtherCase)});
    Run(CopyThread::OperationCopy, CopyThread::ClashOverwrite, {Task(a, a)});

    EXPECT_EQ((Lines{sameByOtherCase + L" が既に存在します", a + L" の移動に失敗しました", a + L" が既に存在します",
                     a + L" のコピーに失敗しました"}),
              Sink.Log);
}

TEST_F(CopyThreadTest, Move_replacesAndSkipsVanishedSources)
{
    std::wstring a = Source(L"src\\a.txt", "new a");
    std::wstring b = Source(L"src\\b.txt", "new b");
    std::wstring gone = Root + L"\\src\\gone.txt";
    std::wstring oldB = Put(L"out\\b.txt", "old b");
    ASSERT_TRUE(SetFileAttributesW(oldB.c_str(), FILE_ATTRIBUTE_READONLY));
    Removed = {a, b};
    Run(CopyThread::OperationMove, CopyThread::ClashOverwrite,
        {Task(a, Root + L"\\out\\sub\\a.txt", 2), Task(gone, Root + L"\\out\\gone.txt", 4), Task(b, oldB, 2)});

    EXPECT_FALSE(IsFile(a));
    EXPECT_FALSE(IsFile(b));
    EXPECT_EQ(L"new a", ReadAll(Root + L"\\out\\sub\\a.txt"));
    EXPECT_EQ(L"new b", ReadAll(oldB));
    EXPECT_EQ((Lines{gone + L" が開けませんでした", oldB + L" が既に存在します", L"\u3000→上書きしました。"}), Sink.Log);
    EXPECT_EQ(a + L"を移動中...", Sink.Statuses[0]);
    EXPECT_EQ(L"移動が終了しました（移動 2、スキップ 0、失敗 1）", Sink.Statuses.back());
    EXPECT_EQ((std::vector<int>{2500, 5000, 10000}), Sink.Positions);
}

// a second volume exists under Wine as the tmpfs at Z:\dev\shm; elsewhere the test has nothing to cross
TEST_F(CopyThreadTest, Move_acrossVolumesRemovesSourceOnlyAfterCopy)
{
    const std::wstring other = OtherVolume();
    if (other.empty())
        GTEST_SKIP() << "no second volume";
    std::wstring a = Source(L"a.txt", "new a");
    std::wstring b = Source(L"b.txt", "new b");
    std::wstring oldA = PutAt(other + L"\\a.txt", "old a");
    std::wstring oldB = PutAt(other + L"\\b.txt", "old b");
    HANDLE lockB = CreateFileW(oldB.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Removed = {a};
    Run(CopyThread::OperationMove, CopyThread::ClashOverwrite,
        {Task(a, oldA), Task(b, oldB), Task(Source(L"c.txt", "c"), other + L"\\new\\c.txt")});
    CloseHandle(lockB);
    Removed.insert(Root + L"\\c.txt");

    EXPECT_FALSE(IsFile(a));
    EXPECT_EQ(L"new a", ReadAll(oldA));
    EXPECT_EQ(L"old b", ReadAll(oldB));
    EXPECT_EQ(L"c", ReadAll(other + L"\\new\\c.txt"));
    EXPECT_FALSE(IsFile(Root + L"\\c.txt"));
    EXPECT_EQ((Lines{oldA + L" が既に存在します", L"\u3000→上書きしました。", oldB + L" が既に存在します",
                     b + L" の移動に失敗しました"}),
              Sink.Log);
}

TEST_F(CopyThreadTest, Delete_removesFilesAndLogsFailures)
{
    std::wstring a = Source(L"src\\a.txt", "a");
    std::wstring locked = Source(L"src\\locked.txt", "locked");
    std::wstring gone = Root + L"\\src\\gone.txt";
    Removed = {a};
    HANDLE lock = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Run(CopyThread::OperationDelete, CopyThread::ClashSkip,
        {Task(a, L""), Task(gone, L""), Task(locked, L"")});
    CloseHandle(lock);

    EXPECT_FALSE(IsFile(a));
    EXPECT_EQ((Lines{gone + L" が開けませんでした", locked + L" の削除に失敗しました"}), Sink.Log);
    EXPECT_EQ(L"削除が終了しました（削除 1、スキップ 0、失敗 2）", Sink.Statuses.back());
}

TEST_F(CopyThreadTest, Copy_logsFolderThatCannotBeCreatedAndGoesOn)
{
    std::wstring a = Source(L"src\\a.txt", "a");
    std::wstring b = Source(L"src\\b.txt", "b");
    std::wstring gone = Root + L"\\src\\gone.txt";
    Put(L"out\\blocker", "a file where a folder should be");
    Run(CopyThread::OperationCopy, CopyThread::ClashSkip,
        {Task(gone, Root + L"\\out\\gone.txt"), Task(a, Root + L"\\out\\blocker\\sub\\a.txt"),
         Task(b, Root + L"\\out\\b.txt")});

    EXPECT_EQ(L"b", ReadAll(Root + L"\\out\\b.txt"));
    EXPECT_EQ((Lines{gone + L" が開けませんでした", Root + L"\\out\\blocker\\sub が作成できませんでした",
                     a + L" のコピーに失敗しました"}),
              Sink.Log);
}

TEST_F(CopyThreadTest, Cancel_finishesTheLargeFileThenStops)
{
    const LONGLONG bigSize = 200LL * 1024 * 1024;
    std::wstring big = Put(L"src\\big.bin", "");
    HANDLE file = CreateFileW(big.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    LARGE_INTEGER end;
    end.QuadPart = bigSize;
    ASSERT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(file));
    CloseHandle(file);
    std::wstring small = Source(L"src\\small.txt", "small");

    Sink.HoldAt(big + L"をコピー中...");
    boost::shared_ptr<CopyThread> thread = CopyThread::Create(
        &Sink, CopyThread::OperationCopy, CopyThread::ClashSkip,
        {Task(big, Root + L"\\out\\big.bin", bigSize), Task(small, Root + L"\\out\\small.txt", 5)});
    ASSERT_TRUE(thread);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(Sink.HoldReached, 60000));
    thread->Cancel();
    EXPECT_FALSE(thread->IsFinished());
    SetEvent(Sink.HoldRelease);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(Sink.Done, 120000));
    thread->Join();

    WIN32_FILE_ATTRIBUTE_DATA copied;
    ASSERT_TRUE(GetFileAttributesExW((Root + L"\\out\\big.bin").c_str(), GetFileExInfoStandard, &copied));
    EXPECT_EQ(bigSize, (LONGLONG(copied.nFileSizeHigh) << 32) | copied.nFileSizeLow);
    EXPECT_TRUE(IsFile(big));
    EXPECT_FALSE(IsFile(Root + L"\\out\\small.txt"));
    EXPECT_TRUE(Sink.Paused);
    EXPECT_EQ(L"キャンセル中...", Sink.Statuses.at(1));
    EXPECT_EQ(L"コピーがキャンセルされました（コピー 1、スキップ 0、失敗 0）", Sink.Statuses.back());
    EXPECT_EQ(L"閉じる", Sink.CloseText);
    EXPECT_EQ(std::vector<int>{9999}, Sink.Positions);
    EXPECT_TRUE(Sink.Log.empty());
}

// a cancel that comes while the run reports its end changes nothing: the final text stays
TEST_F(CopyThreadTest, Cancel_afterTheLastFileKeepsTheCompletion)
{
    std::wstring a = Source(L"src\\a.txt", "a");
    Sink.HoldAt(L"コピーが完了しました（コピー 1、スキップ 0、失敗 0）");
    boost::shared_ptr<CopyThread> thread =
        CopyThread::Create(&Sink, CopyThread::OperationCopy, CopyThread::ClashSkip, {Task(a, Root + L"\\out\\a.txt")});
    ASSERT_TRUE(thread);
    CancelAtTheHold(*thread);

    EXPECT_EQ((Lines{a + L"をコピー中...", L"コピーが完了しました（コピー 1、スキップ 0、失敗 0）"}), Sink.Statuses);
    EXPECT_FALSE(Sink.Paused);
    EXPECT_EQ(L"a", ReadAll(Root + L"\\out\\a.txt"));
}

TEST_F(CopyThreadTest, Progress_definedForZeroAndHugeSizes)
{
    std::wstring a = Source(L"src\\a.txt", "");
    std::wstring b = Source(L"src\\b.txt", "");
    Run(CopyThread::OperationCopy, CopyThread::ClashSkip,
        {Task(a, Root + L"\\zero\\a.txt", 0), Task(b, Root + L"\\zero\\b.txt", 0)});
    EXPECT_EQ((std::vector<int>{0, 0, 10000}), Sink.Positions);
    EXPECT_EQ(L"", ReadAll(Root + L"\\zero\\b.txt"));

    // sizes near 2^63 each: bytes × 10000 would overflow, and their sum saturates
    Sink.Positions.clear();
    const uint64_t huge = (uint64_t(1) << 63) - 1;
    Run(CopyThread::OperationCopy, CopyThread::ClashSkip,
        {Task(a, Root + L"\\huge\\a.txt", huge), Task(b, Root + L"\\huge\\b.txt", huge),
         Task(a, Root + L"\\huge\\c.txt", huge)});
    EXPECT_EQ((std::vector<int>{5000, 10000, 10000, 10000}), Sink.Positions);
}

// two files of one run with the same name and no relative paths: the second never replaces the first, whose
// source a move has already removed
TEST_F(CopyThreadTest, Overwrite_neverReplacesAFileWrittenByTheSameRun)
{
    std::wstring a = Source(L"a\\x.txt", "from a");
    std::wstring b = Source(L"b\\x.txt", "from b");
    Removed = {a, b};
    std::vector<CopyRow> rows = {{a, L"a\\x.txt", 6, true, {}}, {b, L"b\\x.txt", 6, true, {}}};
    Run(CopyThread::OperationMove, CopyThread::ClashOverwrite,
        CopyThread::BuildTasks(Root + L"\\out", false, CopyThread::OperationMove, rows));

    EXPECT_EQ(L"from a", ReadAll(Root + L"\\out\\x.txt"));
    EXPECT_EQ(L"from b", ReadAll(Root + L"\\out\\x (1).txt"));
    EXPECT_EQ((Lines{Root + L"\\out\\x.txt が既に存在します",
                     L"\u3000→この操作で書き込んだファイルのため、出力ファイル名を x (1).txt に変更しました"}),
              Sink.Log);
    EXPECT_EQ(L"移動が完了しました（移動 2、スキップ 0、失敗 0）", Sink.Statuses.back());
}

std::wstring ValueOf(kit::Hash& hash, const std::string& bytes)
{
    hash.Update(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return hash.Final();
}

const HashKindFlags AllKinds = {true, true, true};

// a copy damaged between its write and its read-back is reported and never takes the place of the old file
TEST_F(CopyThreadTest, Verify_damagedCopyIsReportedAndRemoved)
{
    std::wstring a = Source(L"src\\a.txt", "new a");
    std::wstring b = Source(L"src\\b.txt", "new b");
    std::wstring oldA = Put(L"out\\a.txt", "old a");
    Sink.Damage = [&](const std::wstring& temporary) {
        if (temporary.find(L"a.txt") != std::wstring::npos)
            PutAt(temporary, "new A");
    };
    Run(CopyThread::OperationCopy, CopyThread::ClashOverwrite,
        {Task(a, oldA), Task(b, Root + L"\\out\\b.txt")}, HashKindFlags{});
    EXPECT_EQ(L"new a", ReadAll(oldA)) << "verify off: the damage goes unseen";

    Sink.Log.clear();
    PutAt(oldA, "old a");
    Run(CopyThread::OperationCopy, CopyThread::ClashOverwrite,
        {Task(a, oldA), Task(b, Root + L"\\out\\b.txt")}, HashKindFlags{false, true, false});
    EXPECT_EQ(L"old a", ReadAll(oldA));
    EXPECT_EQ(L"new b", ReadAll(Root + L"\\out\\b.txt"));
    EXPECT_EQ((Lines{oldA + L" が既に存在します", a + L" の検証に失敗しました",
                     Root + L"\\out\\b.txt が既に存在します", L"\u3000→上書きしました。"}),
              Sink.Log);
    EXPECT_EQ(L"コピーが終了しました（コピー 1、検証済み 1、スキップ 0、失敗 1）", Sink.Statuses.back());
}

// a move across volumes whose copy fails its verify keeps its source and the old destination
TEST_F(CopyThreadTest, Verify_failedMoveKeepsItsSource)
{
    const std::wstring other = OtherVolume();
    if (other.empty())
        GTEST_SKIP() << "no second volume";
    std::wstring a = Source(L"a.txt", "new a");
    std::wstring b = Source(L"b.txt", "new b");
    std::wstring oldA = PutAt(other + L"\\a.txt", "old a");
    Removed = {b};
    Sink.Damage = [&](const std::wstring& temporary) {
        if (temporary.find(L"a.txt") != std::wstring::npos)
            PutAt(temporary, "");
    };
    Run(CopyThread::OperationMove, CopyThread::ClashOverwrite, {Task(a, oldA), Task(b, other + L"\\b.txt")},
        AllKinds);

    EXPECT_EQ(L"new a", ReadAll(a));
    EXPECT_EQ(L"old a", ReadAll(oldA));
    EXPECT_FALSE(IsFile(b));
    EXPECT_EQ(L"new b", ReadAll(other + L"\\b.txt"));
    EXPECT_EQ((Lines{oldA + L" が既に存在します", a + L" の検証に失敗しました"}), Sink.Log);
    EXPECT_EQ(L"移動が終了しました（移動 1、検証済み 1、スキップ 0、失敗 1）", Sink.Statuses.back());
}

// a finished row's own values are what the copy must match, kind by kind: a value that disagrees with the file
// fails the verify exactly when its kind is switched on; CRC32 always is
TEST_F(CopyThreadTest, Verify_comparesEveryKindSwitchedOn)
{
    const std::string bytes = "content";
    std::wstring a = Source(L"src\\a.txt", bytes);
    kit::Crc32 crc;
    kit::Md5 md5;
    kit::Sha1 sha1;
    const std::array<std::wstring, HashKind::Count> right = {ValueOf(crc, bytes), ValueOf(md5, bytes),
                                                             ValueOf(sha1, bytes)};
    for (int kind = 0; kind < HashKind::Count; ++kind) {
        std::array<std::wstring, HashKind::Count> values = right;
        values[kind] = std::wstring(values[kind].size(), L'0');
        CopyTask task = Task(a, Root + L"\\out" + std::to_wstring(kind) + L"\\a.txt");
        task.Values = values;
        HashKindFlags only = {};
        only[kind] = true;
        HashKindFlags others = {true, true, true};
        others[kind] = kind == HashKind::Crc32;
        Sink.Log.clear();
        Run(CopyThread::OperationCopy, CopyThread::ClashSkip, {task}, only);
        EXPECT_EQ((Lines{a + L" の検証に失敗しました"}), Sink.Log) << "kind " << kind;
        EXPECT_FALSE(IsFile(task.Destination));
        if (kind == HashKind::Crc32)
            continue;
        Run(CopyThread::OperationCopy, CopyThread::ClashSkip, {task}, others);
        EXPECT_EQ(L"content", ReadAll(task.Destination)) << "kind " << kind;
    }
}

// a verified copy carries the source's time and its attributes, read-only too (given only after the read-back)
TEST_F(CopyThreadTest, Verify_copyKeepsTheSourcesTimeAndAttributes)
{
    std::wstring a = Source(L"src\\a.txt", "a");
    SYSTEMTIME day = {2001, 2, 0, 3, 4, 5, 6, 0};
    FILETIME old;
    ASSERT_TRUE(SystemTimeToFileTime(&day, &old));
    HANDLE file = CreateFileW(a.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &old));
    CloseHandle(file);
    ASSERT_TRUE(SetFileAttributesW(a.c_str(), FILE_ATTRIBUTE_READONLY));
    Run(CopyThread::OperationCopy, CopyThread::ClashSkip, {Task(a, Root + L"\\out\\a.txt")}, HashKindFlags{true});

    WIN32_FILE_ATTRIBUTE_DATA copy;
    ASSERT_TRUE(GetFileAttributesExW((Root + L"\\out\\a.txt").c_str(), GetFileExInfoStandard, &copy));
    EXPECT_TRUE(copy.dwFileAttributes & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(0, CompareFileTime(&old, &copy.ftLastWriteTime));
    EXPECT_TRUE(Sink.Log.empty());
}

// one file is read back while the next is copied: a failure there still ends every file in list order, and a later
// file with the same destination waits until the one before it is in place
TEST_F(CopyThreadTest, Verify_failureWhileTheNextFileIsCopiedEndsEveryFileInOrder)
{
    std::wstring a = Source(L"src\\a.txt", "new a");
    std::wstring b = Source(L"src\\b.txt", "new b");
    std::wstring c = Source(L"src\\c.txt", "new c");
    const std::wstring out = Root + L"\\out\\";
    bool overlapped = false;
    Sink.Damage = [&](const std::wstring& temporary) {
        if (temporary.find(L"a.txt") == std::wstring::npos)
            return;
        for (int wait = 0; wait < 500 && !overlapped; ++wait, Sleep(10))
            overlapped = IsFile(out + L"b.txt.~1.tmp");
        PutAt(temporary, "damaged");
    };
    Run(CopyThread::OperationCopy, CopyThread::ClashOverwrite,
        {Task(a, out + L"a.txt", 1), Task(b, out + L"b.txt", 2), Task(c, out + L"b.txt", 3)}, HashKindFlags{true});

    EXPECT_TRUE(overlapped) << "b was not copied while a was read back";
    EXPECT_FALSE(IsFile(out + L"a.txt"));
    EXPECT_EQ(L"new b", ReadAll(out + L"b.txt"));
    EXPECT_EQ(L"new c", ReadAll(out + L"b (1).txt"));
    EXPECT_EQ((Lines{a + L" の検証に失敗しました", out + L"b.txt が既に存在します",
                     L"\u3000→この操作で書き込んだファイルのため、出力ファイル名を b (1).txt に変更しました"}),
              Sink.Log);
    EXPECT_EQ(L"コピーが終了しました（コピー 2、検証済み 2、スキップ 0、失敗 1）", Sink.Statuses.back());
    EXPECT_EQ((std::vector<int>{1666, 5000, 10000, 10000}), Sink.Positions);
}

// a cancel while copies are still being read back lets them end in place; the next file never starts
TEST_F(CopyThreadTest, Verify_cancelEndsTheCopiesInFlight)
{
    std::wstring a = Source(L"src\\a.txt", "a");
    std::wstring b = Source(L"src\\b.txt", "b");
    std::wstring c = Source(L"src\\c.txt", "c");
    const std::wstring out = Root + L"\\out\\";
    Sink.HoldAt(b + L"をコピー中...");
    boost::shared_ptr<CopyThread> thread =
        CopyThread::Create(&Sink, CopyThread::OperationCopy, CopyThread::ClashSkip,
                           {Task(a, out + L"a.txt"), Task(b, out + L"b.txt"), Task(c, out + L"c.txt")}, {true});
    ASSERT_TRUE(thread);
    CancelAtTheHold(*thread);

    EXPECT_EQ(L"a", ReadAll(out + L"a.txt"));
    EXPECT_EQ(L"b", ReadAll(out + L"b.txt"));
    EXPECT_FALSE(IsFile(out + L"c.txt"));
    EXPECT_EQ(L"コピーがキャンセルされました（コピー 2、検証済み 2、スキップ 0、失敗 0）", Sink.Statuses.back());
}

// paths past 300 characters: a verified copy over an existing file, a move and a delete all work and hand every
// path to the extended-length form; the log shows plain paths
TEST_F(CopyThreadTest, LongPaths_copyMoveAndDeleteGoThroughTheExtendedForm)
{
    const std::wstring deep = SeenPaths::DeepFolders().substr(1) + L"\\";
    std::wstring a = Source(L"src\\" + deep + L"a.txt", "new a");
    std::wstring b = Source(L"src\\" + deep + L"b.txt", "new b");
    std::wstring c = Source(L"src\\" + deep + L"c.txt", "c");
    const std::wstring out = Root + L"\\out\\" + deep;
    std::wstring oldA = Put(L"out\\" + deep + L"a.txt", "old a");
    ASSERT_GT(a.size(), 300u);
    Removed = {b, c};
    SeenPaths seen;
    Run(CopyThread::OperationCopy, CopyThread::ClashOverwrite, {Task(a, oldA)}, AllKinds);
    Run(CopyThread::OperationMove, CopyThread::ClashSkip, {Task(b, out + L"new\\b.txt")});
    Run(CopyThread::OperationDelete, CopyThread::ClashSkip, {Task(c, L"")});
    seen.Stop();

    EXPECT_EQ(L"new a", ReadAll(oldA));
    EXPECT_EQ(L"new b", ReadAll(out + L"new\\b.txt"));
    EXPECT_FALSE(IsFile(b));
    EXPECT_FALSE(IsFile(c));
    EXPECT_EQ((Lines{oldA + L" が既に存在します", L"\u3000→上書きしました。"}), Sink.Log);
    for (const std::wstring& path : {a, oldA, oldA + L".~1.tmp", b, out + L"new", out + L"new\\b.txt", c})
        EXPECT_EQ(1u, seen.count(path)) << "not through SystemPath: " << path.substr(path.size() - 20);
}

} // namespace
