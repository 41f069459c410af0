#pragma once
// What the benchmark programs share: a clock in milliseconds and the line each measurement is printed on,
// which scripts/bench.sh collects (`value <key> <milliseconds>`).
#include <windows.h>

#include <cstdio>

inline double NowMs()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

inline void PrintValue(const char* key, double ms)
{
    std::printf("value %s %.2f\n", key, ms);
    std::fflush(stdout);
}

// Runs the messages waiting now (paints included), without the application's keyboard handling.
inline void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
