// The shell folder tree where its user waits: selecting a folder once a big folder has been expanded, and
// expanding a folder of many subfolders until the tree is painted; each against its baseline, alternating.
//
// Usage: bench_tree_rows select <folder> <rounds>
//          <folder> holds "wide" (many subfolders) and "yonder" (after it in the shell's order).
//          figure: a tree with wide expanded selects yonder (as the directory list makes it do);
//          baseline: a tree with nothing else loaded selects yonder.
//        bench_tree_rows expand <folder> <rounds>
//          figure: expanding <folder>'s node until the tree is painted (also `value paint`, the paint alone);
//          baseline: the shell's own work for each subfolder (bind, attributes, name).
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "bench_clock.h"
#include "gui/application.h"
#include "gui/form.h"
#include "shelltree/shell_access.h"
#include "shelltree/shell_tree_view.h"

namespace {

class Host : public TForm {
public:
    Host() : TForm(nullptr)
    {
        SetCaption(L"bench");
        SetClientSize(270, 470);
        tree.SetBounds(8, 12, 253, 449);
        tree.SetParent(this);
        Show();
        tree.Loaded();
        PumpMessages();
    }
    TShellTreeView tree{this};
};

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "bench_tree_rows: %s\n", what.c_str());
    std::exit(2);
}

double SelectTimed(TShellTreeView& tree, const std::string& path)
{
    PumpMessages();
    const double start = NowMs();
    tree.SetSelectedPath(path);
    UpdateWindow(tree.Handle());
    const double ms = NowMs() - start;
    if (tree.SelectedPath() != path)
        Fail("selected " + tree.SelectedPath() + " instead of " + path);
    return ms;
}

// What the shell itself does for each subfolder a node gets: enumerate, bind, attributes, name.
double ShellWork(const std::string& folder, int& count)
{
    const double start = NowMs();
    count = 0;
    TComPtr<IShellFolder> desktop = DesktopFolderInterface();
    TIdList list;
    OleCheck(ParseDisplayNameToIdList(desktop.get(), folder, list));
    TComPtr<IShellFolder> parent = BindFolderInterface(desktop.get(), list.get(), nullptr);
    TComPtr<IEnumIDList> items;
    if (!parent || parent->EnumObjects(nullptr, SHCONTF_FOLDERS, items.put()) != S_OK)
        Fail("cannot enumerate " + folder);
    ITEMIDLIST* raw = nullptr;
    while (items->Next(1, &raw, nullptr) == S_OK && raw) {
        TIdList child = ShellIdList(raw);
        TComPtr<IShellFolder> bound;
        parent->BindToObject(Pidl(child), nullptr, IID_IShellFolder, bound.put_void());
        LPCITEMIDLIST one[] = {Pidl(child)};
        ULONG attributes = SFGAO_HASSUBFOLDER;
        parent->GetAttributesOf(1, one, &attributes);
        STRRET name{};
        parent->GetDisplayNameOf(Pidl(child), SHGDN_INFOLDER, &name);
        StrRetText(name, child.get());
        ++count;
    }
    return NowMs() - start;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_tree_rows select|expand <folder> [rounds]\n");
        return 2;
    }
    Application().Initialize();
    const std::string mode = argv[1];
    const std::string folder = argv[2];
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 1;
    if (mode == "select") {
        const std::string wide = folder + "\\wide";
        const std::string yonder = folder + "\\yonder";
        Host loaded;
        loaded.tree.SetSelectedPath(wide);
        loaded.tree.Selected()->Expand();
        std::fprintf(stderr, "  %d nodes loaded\n", loaded.tree.NodeCount());
        for (int i = 0; i < rounds; ++i) {
            {
                Host bare;
                bare.tree.SetSelectedPath(folder);
                PrintValue("baseline", SelectTimed(bare.tree, yonder));
            }
            loaded.tree.SetSelectedPath(wide);
            PrintValue("figure", SelectTimed(loaded.tree, yonder));
        }
    } else if (mode == "expand") {
        for (int i = 0; i < rounds; ++i) {
            int children = 0;
            PrintValue("baseline", ShellWork(folder, children));
            Host host;
            host.tree.SetSelectedPath(folder);
            TTreeNode* node = host.tree.Selected();
            if (!node || node->GetFirstChild())
                Fail("the folder's node is missing or filled already");
            PumpMessages();
            const double start = NowMs();
            node->Expand();
            const double painting = NowMs();
            UpdateWindow(host.tree.Handle());
            const double end = NowMs();
            if (node->Count() != children)
                Fail("the node holds " + std::to_string(node->Count()) + " of " + std::to_string(children));
            PrintValue("figure", end - start);
            PrintValue("paint", end - painting);
        }
    } else {
        Fail("unknown mode " + mode);
    }
    return 0;
}
