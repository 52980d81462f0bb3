// kit::ChooseFolder: the shell's folder dialog opened at a given folder.
#include <gtest/gtest.h>

#include <windows.h>

#include "kit/ui/ChooseFolder.h"
#include "tests/harness/Harness.h"

TEST(ChooseFolder, Ok_returnsTheInitialFolder)
{
    harness::HostWindow host;
    harness::TempFolder folder;
    const std::wstring inner = folder.MakeFolder(L"選択");
    harness::DialogWatcher watcher;
    watcher.Answer(IDOK);
    std::wstring chosen;
    ASSERT_TRUE(kit::ChooseFolder(&host, inner, chosen));
    EXPECT_EQ(0, _wcsicmp(inner.c_str(), chosen.c_str())) << chosen;
    ASSERT_EQ(1u, watcher.Seen().size());
    EXPECT_EQ(host.Handle, watcher.Seen()[0].Owner);
}

TEST(ChooseFolder, Cancel_returnsFalseAndNoFolder)
{
    harness::HostWindow host;
    harness::DialogWatcher watcher;
    watcher.Answer(IDCANCEL);
    std::wstring chosen = L"before";
    EXPECT_FALSE(kit::ChooseFolder(&host, L"C:\\", chosen));
    EXPECT_EQ(L"before", chosen);
}
