#pragma once
// What the shell tree tests share: a window to hold a tree, and folders of their own under drive C:.
#include <windows.h>

#include <string>
#include <vector>

#include "gui/form.h"
#include "gui/tree_view.h"
#include "temp_dir.h"

class TreeHostForm : public TForm {
public:
    TreeHostForm() : TForm(nullptr) { SetClientSize(300, 500); }
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
