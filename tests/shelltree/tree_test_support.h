#pragma once
// What the shell tree tests share: a window to hold a tree, and folders of their own under drive C:.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/application.h"
#include "gui/form.h"
#include "gui/tree_view.h"
#include "shelltree/shell_tree_view.h"
#include "temp_dir.h"

class TreeHostForm : public TForm {
public:
    TreeHostForm() : TForm(nullptr) { SetClientSize(300, 500); }
};

// A shown window holding a folder tree not loaded yet, and what the application would have shown meanwhile.
class TreeHostTest : public testing::Test {
protected:
    void SetUp() override
    {
        host = std::make_unique<TreeHostForm>();
        tree = std::make_unique<TShellTreeView>(host.get());
        tree->SetBounds(0, 0, 300, 500);
        tree->SetParent(host.get());
        host->Show();
        Application().OnException = [this](const std::exception& e) { shown.push_back(e.what()); };
    }
    void TearDown() override
    {
        Application().OnException = nullptr;
        tree.reset();
        host.reset();
    }

    std::unique_ptr<TreeHostForm> host;
    std::unique_ptr<TShellTreeView> tree;
    std::vector<std::string> shown;
};

// A folder tree of its own directly under the root of drive C:, removed at the end.
class DriveFolder {
public:
    explicit DriveFolder(const std::string& stem = "orvand_tree")
    {
        path_ = "C:\\" + stem + "_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter_);
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~DriveFolder()
    {
        SetCurrentDirectoryA("C:\\");
        RemoveTree(path_);
    }
    DriveFolder(const DriveFolder&) = delete;
    DriveFolder& operator=(const DriveFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& relative) const { return path_ + "\\" + relative; }
    std::string Make(const std::string& relative) const
    {
        const std::string full = path_ + "\\" + relative;
        CreateDirectoryA(full.c_str(), nullptr);
        return full;
    }

private:
    static inline int counter_ = 0;
    std::string path_;
};

inline std::vector<TTreeNode*> ChildNodes(TTreeNode* node)
{
    std::vector<TTreeNode*> children;
    for (TTreeNode* c = node->GetFirstChild(); c; c = c->GetNextSibling())
        children.push_back(c);
    return children;
}

inline std::vector<std::string> ChildTexts(TTreeNode* node)
{
    std::vector<std::string> texts;
    for (TTreeNode* c : ChildNodes(node))
        texts.push_back(c->Text());
    return texts;
}

inline TTreeNode* ChildNamed(TTreeNode* node, const std::string& text)
{
    for (TTreeNode* c : ChildNodes(node))
        if (c->Text() == text)
            return c;
    return nullptr;
}

inline bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline std::string CurrentDirectoryPath()
{
    char buffer[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(sizeof(buffer), buffer);
    return buffer;
}
