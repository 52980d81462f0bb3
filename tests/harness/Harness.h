// The GUI test harness: real windows under Wine, driven by the messages a user's actions produce.
#pragma once

#include "tests/harness/DialogWatcher.h"
#include "tests/harness/HostWindow.h"
#include "tests/harness/Pump.h"
#include "tests/harness/Readback.h"
#include "tests/harness/TempFolder.h"
#include "tests/harness/UserInput.h"
