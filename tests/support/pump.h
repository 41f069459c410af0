#pragma once
// Runs the GUI thread's messages while a test waits, as the program's own loop would.
#include <windows.h>

#include <chrono>
#include <functional>

#include "gui/application.h"

// Until done() holds or the time is up; false when it is up.
inline bool PumpUntil(int milliseconds, const std::function<bool()>& done)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Application().ProcessMessages();
    }
    return true;
}

// For a while, whatever comes in meanwhile: for what has to happen, wait with PumpUntil.
inline void Pump(int milliseconds)
{
    PumpUntil(milliseconds, [] { return false; });
}
