// The file list and the directory list reading one folder, against a bare FindFirstFileA loop over the
// same folder in the same run, the two alternating.
//
// Usage: bench_folder_reads files|dirs <folder> <rounds>
//          prints `value figure <ms>` (the list's read with its one repaint) and `value baseline <ms>`
//          (the bare loop) for each round;
//        bench_folder_reads read <folder>
//          prints `value read <ms>`: one read of the file list with the mask *.*, after a first one;
//        bench_folder_reads memory|bare-memory <folder>
//          prints `value peak <MB>`, the process's peak working set after one read of the file list, or
//          after a bare loop that keeps the names.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "gui/application.h"
#include "lists_host.h"

namespace {

// The floor: every entry of the folder, as the lists search it (relative to the current directory).
double BareLoop(const std::string& folder)
{
    SetCurrentDirectoryA(folder.c_str());
    const double start = NowMs();
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA("*.*", &data);
    if (find != INVALID_HANDLE_VALUE) {
        while (FindNextFileA(find, &data)) {
        }
        FindClose(find);
    }
    return NowMs() - start;
}

// The floor of what reading a folder must hold: every name.
std::vector<std::string> BareNames(const std::string& folder)
{
    SetCurrentDirectoryA(folder.c_str());
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA("*.*", &data);
    if (find != INVALID_HANDLE_VALUE) {
        do
            names.emplace_back(data.cFileName);
        while (FindNextFileA(find, &data));
        FindClose(find);
    }
    return names;
}

double PeakMegabytes()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters)))
        return 0;
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

template <typename F>
double Timed(TCustomListBox& list, F read)
{
    PumpMessages();
    const double start = NowMs();
    read();
    UpdateWindow(list.Handle());
    return NowMs() - start;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_folder_reads files|dirs|read|memory|bare-memory <folder> [rounds]\n");
        return 2;
    }
    const std::string mode = argv[1];
    const std::string folder = argv[2];
    if (mode == "bare-memory") {
        const std::vector<std::string> names = BareNames(folder);
        std::printf("value peak %.1f\n", PeakMegabytes());
        std::fprintf(stderr, "  %zu names\n", names.size());
        return 0;
    }
    Application().Initialize();
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 1;
    Host host;
    PumpMessages();
    if (mode == "memory") {
        host.files.SetFolderPath(folder);
        UpdateWindow(host.files.Handle());
        std::printf("value peak %.1f\n", PeakMegabytes());
        std::fprintf(stderr, "  %d items\n", host.files.Count());
    } else if (mode == "files" || mode == "read") {
        host.files.SetFolderPath(folder);
        UpdateWindow(host.files.Handle());
        if (mode == "read") {
            PrintValue("read", Timed(host.files, [&] { host.files.RefreshItems(); }));
            return 0;
        }
        for (int i = 0; i < rounds; ++i) {
            PrintValue("baseline", BareLoop(folder));
            PrintValue("figure", Timed(host.files, [&] { host.files.RefreshItems(); }));
        }
        std::fprintf(stderr, "  %d items\n", host.files.Count());
    } else if (mode == "dirs") {
        host.dirs.SetFolderPath(folder);
        UpdateWindow(host.dirs.Handle());
        for (int i = 0; i < rounds; ++i) {
            PrintValue("baseline", BareLoop(folder));
            PrintValue("figure", Timed(host.dirs, [&] { host.dirs.RefreshItems(); }));
        }
        std::fprintf(stderr, "  %d items\n", host.dirs.Count());
    } else {
        std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
        return 2;
    }
    return 0;
}
