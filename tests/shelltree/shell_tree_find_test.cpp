// Finding a folder's node in a tree with many nodes loaded: whatever path is written, the node selected is
// the one a walk through every loaded node, comparing whole lists as the desktop does, would find.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/application.h"
#include "gui/form.h"
#include "shelltree/shell_access.h"
#include "shelltree/shell_tree_view.h"
#include "temp_dir.h"
#include "tree_test_support.h"
#include "unix_side.h"

namespace {

TShellFolder* Item(const TTreeNode* node)
{
    return TCustomShellTreeView::NodeFolder(node);
}

// The search as plain as it gets: from start, every node in the control's depth-first order while it lies
// below start, compared with the desktop's comparison of the whole lists.
TTreeNode* WalkEveryNode(const void* list, TTreeNode* start)
{
    if (!start)
        return nullptr;
    const int level = start->Level();
    for (TTreeNode* node = start; node; node = node->GetNext()) {
        if (node != start && node->Level() <= level)
            break;
        if (Item(node) && SameIdList(Item(node)->AbsoluteIdList(), list))
            return node;
    }
    return nullptr;
}

// Where a selection of list ends up by that plain search: each prefix from the top node on, then the list.
TTreeNode* PlainlySelected(TShellTreeView& tree, const void* list)
{
    TTreeNode* current = tree.GetFirstNode();
    for (const TIdList& prefix : IdListPrefixes(ShellAllocator(), list))
        if (TTreeNode* found = WalkEveryNode(prefix.get(), current))
            current = found;
    return WalkEveryNode(list, current);
}

bool FolderListed(const std::string& folder, const std::string& name)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    bool seen = false;
    if (find != INVALID_HANDLE_VALUE) {
        do
            seen |= name == data.cFileName;
        while (FindNextFileA(find, &data));
        FindClose(find);
    }
    return seen;
}

// A folder whose name differs from a sibling's only in letter case: only the Unix side can make it.
bool MakeCaseTwin(const std::string& folder, const std::string& name)
{
    const std::string unixFolder = UnixPathOf(folder);
    if (unixFolder.empty())
        return false;
    if (!RunUnix("/bin/mkdir \"" + unixFolder + "/" + name + "\""))
        return false;
    for (int i = 0; i < 100 && !FolderListed(folder, name); ++i)
        Sleep(50);
    return FolderListed(folder, name);
}

}  // namespace

TEST(ShellTreeFind, EveryLoadedFolderIsSelectedWhereAWalkThroughEveryNodeFindsIt)
{
    TempDir dir;
    const std::string root = dir / "drzewo";
    CreateDirectoryA(root.c_str(), nullptr);
    // A wide folder whose subfolders come before the next folder in the shell's order, nested folders, and
    // two folders that the shell takes for one (their names differ only in case).
    CreateDirectoryA((root + "\\wide").c_str(), nullptr);
    for (int i = 0; i < 60; ++i)
        CreateDirectoryA((root + "\\wide\\sub " + std::to_string(i)).c_str(), nullptr);
    CreateDirectoryA((root + "\\wide\\sub 7\\inner").c_str(), nullptr);
    CreateDirectoryA((root + "\\wide\\sub 59\\inner").c_str(), nullptr);
    CreateDirectoryA((root + "\\wide\\sub 59\\inner\\deep").c_str(), nullptr);
    CreateDirectoryA((root + "\\yonder").c_str(), nullptr);
    CreateDirectoryA((root + "\\yonder\\x").c_str(), nullptr);
    CreateDirectoryA((root + "\\Twin").c_str(), nullptr);
    CreateDirectoryA((root + "\\Twin\\a").c_str(), nullptr);
    const bool twins = MakeCaseTwin(root, "twin");

    TreeHostForm host;
    TShellTreeView tree(&host);
    tree.SetBounds(0, 0, 253, 449);
    tree.SetParent(&host);
    tree.Loaded();
    for (const char* path : {"\\wide\\sub 59\\inner\\deep", "\\wide\\sub 7\\inner", "\\yonder\\x", "\\Twin\\a"})
        tree.SetSelectedPath(root + path);
    if (twins) {
        tree.SetSelectedPath(root);
        ASSERT_NE(tree.Selected(), nullptr);
        int twinNodes = 0;
        for (TTreeNode* c = tree.Selected()->GetFirstChild(); c; c = c->GetNextSibling())
            twinNodes += c->Text() == "Twin" || c->Text() == "twin";
        EXPECT_EQ(twinNodes, 2);
    }

    std::vector<TTreeNode*> nodes;
    for (TTreeNode* node = tree.GetFirstNode(); node; node = node->GetNext())
        nodes.push_back(node);
    ASSERT_GT(nodes.size(), 60u);
    TComPtr<IShellFolder> desktop = DesktopFolderInterface();
    int compared = 0;
    for (TTreeNode* node : nodes) {
        const std::string path = Item(node)->ParsingPath();
        TIdList list;
        if (ParseDisplayNameToIdList(desktop.get(), path, list) != S_OK || !list)
            continue;  // a virtual folder's plain name
        tree.SetSelectedPath(path);
        // The plain walk goes over the tree as the selection has left it: every node it needs is loaded.
        EXPECT_EQ(tree.Selected(), PlainlySelected(tree, list.get())) << path;
        ++compared;
    }
    EXPECT_GT(compared, 60);
}
