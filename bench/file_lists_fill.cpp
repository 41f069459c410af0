// How long the file list and the directory list take to show big folders, against the platform's own
// floor measured in the same run: a bare FindFirstFileA loop over the same folder.
//
// Usage: bench_file_lists_fill [--keep] [folder]
// Builds folders of 1,000, 10,000 and 100,000 files and one of 10,000 subfolders under the folder given
// (the temporary folder by default), reusing them when they are there already. Without --keep they are
// removed at the end. Under Wine, making the 100,000 files takes about twenty minutes (every new name is
// checked against the whole folder, ignoring case): keep them for the next runs.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "gui/application.h"
#include "lists_host.h"

namespace {

double Now()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Names as folders hold them: words, numbers, both letter cases, Polish letters, several extensions,
// made in no particular order.
std::vector<std::string> MakeNames(size_t count, unsigned seed)
{
    static const char* const stems[] = {"dokument", "Zdj\xEA\x63ie", "raport", "Faktura", "\xBF\xF3\xB3w",
                                        "notatka", "LISTA", "\xA3\xF3\x64\x9F", "plan_", "Umowa-"};
    static const char* const extensions[] = {".txt", ".doc", ".exe", ".JPG", ".pdf", "", ".bat", ".Dat"};
    std::vector<std::string> names;
    names.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        char number[32];
        std::snprintf(number, sizeof number, "%zu", (i * 7919u) % (count * 3) + 1);
        names.push_back(std::string(stems[i % 10]) + number + extensions[(i / 10) % 8]);
    }
    std::shuffle(names.begin(), names.end(), std::mt19937(seed));
    return names;
}

size_t CountEntries(const std::string& folder)
{
    size_t n = 0;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do
        ++n;
    while (FindNextFileA(find, &data));
    FindClose(find);
    return n;
}

// Makes the folder with these files (or subfolders) unless it holds them already.
void Prepare(const std::string& folder, const std::vector<std::string>& names, bool folders)
{
    CreateDirectoryA(folder.c_str(), nullptr);
    if (CountEntries(folder) == names.size() + 2)
        return;
    std::printf("  making %s (%zu %s) ...\n", folder.c_str(), names.size(), folders ? "folders" : "files");
    std::fflush(stdout);
    for (const std::string& name : names) {
        const std::string path = folder + "\\" + name;
        if (folders) {
            CreateDirectoryA(path.c_str(), nullptr);
        } else {
            HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                   nullptr);
            if (h != INVALID_HANDLE_VALUE)
                CloseHandle(h);
        }
    }
}

void Remove(const std::string& folder)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                Remove(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

// The floor: every entry of the folder, as the lists search it (relative to the current directory).
double BareLoop(const std::string& folder, size_t& entries)
{
    SetCurrentDirectoryA(folder.c_str());
    const double start = Now();
    entries = 0;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA("*.*", &data);
    if (find != INVALID_HANDLE_VALUE) {
        do
            ++entries;
        while (FindNextFileA(find, &data));
        FindClose(find);
    }
    return Now() - start;
}

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Best of three of a fill, the one repaint included.
template <typename F>
double Best(TCustomListBox& list, F fill)
{
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        Pump();
        const double start = Now();
        fill();
        UpdateWindow(list.Handle());
        best = std::min(best, Now() - start);
    }
    return best;
}

double BestBare(const std::string& folder, size_t& entries)
{
    double best = 1e9;
    for (int round = 0; round < 3; ++round)
        best = std::min(best, BareLoop(folder, entries));
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    Application().Initialize();
    bool keep = false;
    std::string base;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--keep")
            keep = true;
        else
            base = arg;
    }
    if (base.empty()) {
        char temp[MAX_PATH + 1] = {};
        GetTempPathA(MAX_PATH, temp);
        base = std::string(temp) + "orvand_bench_lists";
    }
    CreateDirectoryA(base.c_str(), nullptr);

    std::printf("Folder fills, best of 3 (the one repaint included), against a bare FindFirstFileA loop\n");
    std::printf("over the same folder in the same run.\n\n");
    const size_t sizes[] = {1000, 10000, 100000};
    std::vector<std::string> made;
    for (size_t n : sizes) {
        const std::string folder = base + "\\files_" + std::to_string(n);
        Prepare(folder, MakeNames(n, static_cast<unsigned>(n)), false);
        made.push_back(folder);
    }
    const std::string subfolders = base + "\\dirs_10000";
    Prepare(subfolders, MakeNames(10000, 7), true);
    made.push_back(subfolders);

    Host host;
    Pump();
    std::printf("%-34s %9s %14s %16s %7s\n", "", "items", "RefreshItems", "FindFirstFileA", "ratio");
    for (size_t i = 0; i < 3; ++i) {
        const std::string& folder = made[i];
        const double first0 = Now();
        host.files.SetFolderPath(folder);
        UpdateWindow(host.files.Handle());
        const double first = Now() - first0;
        const double refresh = Best(host.files, [&] { host.files.RefreshItems(); });
        size_t entries = 0;
        const double bare = BestBare(folder, entries);
        char label[64];
        std::snprintf(label, sizeof label, "file list, %zu files", sizes[i]);
        std::printf("%-34s %9d %11.1f ms %13.1f ms %7.1f   (first read %.1f ms)\n", label, host.files.Count(),
                    refresh * 1000, bare * 1000, refresh / bare, first * 1000);
        std::fflush(stdout);
    }
    {
        host.dirs.SetFolderPath(subfolders);
        const double refresh = Best(host.dirs, [&] { host.dirs.RefreshItems(); });
        size_t entries = 0;
        const double bare = BestBare(subfolders, entries);
        std::printf("%-34s %9d %11.1f ms %13.1f ms %7.1f\n", "directory list, 10000 subfolders", host.dirs.Count(),
                    refresh * 1000, bare * 1000, refresh / bare);
    }
    char other[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, other);
    SetCurrentDirectoryA(other);
    if (!keep) {
        for (const std::string& folder : made)
            Remove(folder);
        RemoveDirectoryA(base.c_str());
    }
    return 0;
}
