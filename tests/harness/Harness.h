// The GUI test harness: real windows under Wine, driven by the messages a user's actions produce.
//
//   harness::HostWindow host;                       // a visible top-level window to put things on
//   harness::TempFolder folder;                     // %TEMP%\juxta-test-<pid>-<n>, removed at the end
//   harness::DialogWatcher watcher;                 // answers the next modal dialog or message box
//   watcher.Answer(IDOK);
//   harness::SendCommand(host.Handle, ID_SOMETHING); // a menu command
//   harness::DropFiles(list, {folder.WriteFile(L"a.txt", "x")});
//   ASSERT_TRUE(harness::PumpUntil([&] { return harness::ListRowCount(list) == 1; }));
//   EXPECT_EQ(L"...", watcher.Seen().at(0).Text);
//
// Every test runs in a process of its own (one ctest entry per test), so windows and hooks never leak between
// tests; GUI tests hold the ctest resource lock "gui" and never run side by side.
#pragma once

#include "tests/harness/DialogWatcher.h"
#include "tests/harness/HostWindow.h"
#include "tests/harness/Pump.h"
#include "tests/harness/Readback.h"
#include "tests/harness/TempFolder.h"
#include "tests/harness/UserInput.h"
