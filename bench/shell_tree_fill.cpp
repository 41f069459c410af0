// Filling a shell tree node for folders of many sub-folders, against the platform's floors in the same run:
// a bare FindFirstFileA loop and a bare shell enumeration of the same folder. The fill is timed from the
// expansion to the end of the first paint of the tree.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "gui/application.h"
#include "gui/form.h"
#include "shelltree/shell_access.h"
#include "shelltree/shell_tree_view.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

class HostForm : public TForm {
public:
    HostForm() : TForm(nullptr) { SetClientSize(260, 460); }
};

void RemoveAll(const std::string& path)
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((path + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = fd.cFileName;
            if (name != "." && name != "..")
                RemoveAll(path + "\\" + name);
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(path.c_str());
}

double FindLoop(const std::string& folder, int& count)
{
    const auto start = Clock::now();
    count = 0;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*.*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do
            ++count;
        while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    return Seconds(start);
}

double ShellEnumeration(const std::string& folder, int& count)
{
    const auto start = Clock::now();
    count = 0;
    TIdList list;
    TComPtr<IShellFolder> desktop = DesktopFolderInterface();
    ParseDisplayNameToIdList(desktop.get(), folder, list);
    TComPtr<IShellFolder> shellFolder = BindFolderInterface(desktop.get(), list.get(), nullptr);
    TComPtr<IEnumIDList> items;
    if (shellFolder && shellFolder->EnumObjects(nullptr, SHCONTF_FOLDERS, items.put()) == S_OK) {
        ITEMIDLIST* raw = nullptr;
        while (items->Next(1, &raw, nullptr) == S_OK && raw) {
            TIdList owned = ShellIdList(raw);
            ++count;
        }
    }
    return Seconds(start);
}

}  // namespace

int main()
{
    Application().Initialize();
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string base = std::string(temp) + "orvand_tree_bench_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(base.c_str(), nullptr);
    std::printf("%8s %12s %12s %12s %10s %10s\n", "folders", "FindFirst s", "shell enum s", "tree fill s",
                "fill/find", "fill/enum");
    for (int n : {100, 1000, 10000}) {
        const std::string folder = base + "\\n" + std::to_string(n);
        CreateDirectoryA(folder.c_str(), nullptr);
        for (int i = 0; i < n; ++i) {
            char name[32];
            std::snprintf(name, sizeof(name), "\\folder %05d", (i * 7919) % n);  // not created in name order
            CreateDirectoryA((folder + name).c_str(), nullptr);
        }
        int found = 0, enumerated = 0;
        const double find = FindLoop(folder, found);
        const double shell = ShellEnumeration(folder, enumerated);

        HostForm host;
        TShellTreeView tree(&host);
        tree.SetBounds(0, 0, 253, 449);
        tree.SetParent(&host);
        host.Show();
        tree.Loaded();
        tree.SetSelectedPath(folder);
        TTreeNode* node = tree.Selected();
        const auto start = Clock::now();
        node->Expand();
        UpdateWindow(tree.Handle());  // the visible nodes ask for their icons as they are drawn
        const double fill = Seconds(start);
        std::printf("%8d %12.4f %12.4f %12.4f %10.1f %10.1f   (%d found, %d enumerated, %d nodes)\n", n, find, shell,
                    fill, fill / find, fill / shell, found - 2, enumerated, node->Count());
    }
    RemoveAll(base);
    return 0;
}
