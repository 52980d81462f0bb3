// InstanceMapping: the named 4-byte mapping through which a second start finds the first one's window.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/shell/InstanceMapping.h"
#include "tests/harness/Harness.h"

namespace {

// a name of this test process alone, so the program's real mapping is never touched
std::wstring UniqueName(const wchar_t* what)
{
    return L"Juxta test " + std::to_wstring(GetCurrentProcessId()) + L" " + what;
}

} // namespace

TEST(InstanceMapping, Publish_storesTheWindowUntilTheObjectGoes)
{
    harness::HostWindow host;
    const std::wstring name = UniqueName(L"publish");
    EXPECT_EQ(nullptr, InstanceMapping::ReadWindow(name));
    EXPECT_FALSE(InstanceMapping::ActivateRunning(name));
    {
        InstanceMapping mapping(name);
        ASSERT_TRUE(mapping.Publish(host.Handle));
        EXPECT_EQ(host.Handle, InstanceMapping::ReadWindow(name));
        // one mapping per object
        EXPECT_FALSE(mapping.Publish(host.Handle));
        EXPECT_TRUE(InstanceMapping::ActivateRunning(name));
    }
    EXPECT_EQ(nullptr, InstanceMapping::ReadWindow(name));
    EXPECT_FALSE(InstanceMapping::ActivateRunning(name));
}

TEST(InstanceMapping, Publish_keepsFourBytesOfHandleSignExtended)
{
    const std::wstring name = UniqueName(L"handle");
    // handles carry 32 significant bits; a value with the top bit set comes back sign-extended as the system does
    HWND high = static_cast<HWND>(LongToHandle(static_cast<LONG>(0x80012344u)));
    InstanceMapping mapping(name);
    ASSERT_TRUE(mapping.Publish(high));
    EXPECT_EQ(high, InstanceMapping::ReadWindow(name));

    HANDLE raw = OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str());
    ASSERT_NE(nullptr, raw);
    const unsigned char* view = static_cast<const unsigned char*>(MapViewOfFile(raw, FILE_MAP_READ, 0, 0, 4));
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(0x44, view[0]);
    EXPECT_EQ(0x23, view[1]);
    EXPECT_EQ(0x01, view[2]);
    EXPECT_EQ(0x80, view[3]);
    UnmapViewOfFile(view);
    CloseHandle(raw);
}

TEST(InstanceMapping, ActivateRunning_bringsTheStoredWindowToTheFront)
{
    harness::HostWindow first;
    harness::HostWindow second;
    SetForegroundWindow(second.Handle);
    harness::PumpUntil([&] { return GetForegroundWindow() == second.Handle; }, 2000);
    const std::wstring name = UniqueName(L"front");
    InstanceMapping mapping(name);
    ASSERT_TRUE(mapping.Publish(first.Handle));
    EXPECT_TRUE(InstanceMapping::ActivateRunning(name));
    EXPECT_TRUE(harness::PumpUntil([&] { return GetForegroundWindow() == first.Handle; }, 2000));
}
