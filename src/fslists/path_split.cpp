#include "fslists/path_split.h"

#include "fslists/path_text.h"
#include "runtime/exceptions.h"

namespace {

void Enter(TPathPlatform& platform, const std::string& path)
{
    if (const int code = platform.EnterFolder(path))
        throw EInOutError(code);
}

// Puts the process back in the folder it was in, when that folder still exists.
class TRestoreDirectory {
public:
    TRestoreDirectory(TPathPlatform& platform, std::string saved) : platform_(platform), saved_(std::move(saved)) {}
    ~TRestoreDirectory()
    {
        if (platform_.FolderExists(saved_))
            platform_.EnterFolder(saved_);
    }
    TRestoreDirectory(const TRestoreDirectory&) = delete;
    TRestoreDirectory& operator=(const TRestoreDirectory&) = delete;

private:
    TPathPlatform& platform_;
    std::string saved_;
};

}  // namespace

TSplitPath SplitPathText(const std::string& text, TPathPlatform& platform)
{
    const std::string saved = platform.CurrentFolder();
    TSplitPath result;
    result.drive = saved.empty() ? '\0' : saved[0];
    std::string dir = text;
    std::string root;
    bool ownRoot = false;
    if (text.size() >= 2 && text.front() == '[' && text.back() == ']') {
        dir = text.substr(1, text.size() - 2);
    } else {
        root = DrivePart(text);
        ownRoot = !root.empty();
        if (root.empty())
            root = DrivePart(saved);
        else
            dir.erase(0, root.size());
        result.drive = root.size() >= 2 && root[1] == ':' ? root[0] : '\0';
    }
    TRestoreDirectory restore(platform, saved);
    // A text without a drive or share of its own is taken from the current directory, which is on its
    // root already: entering that root could only move away (a share's root is its top, not the folder
    // the process is in).
    if (ownRoot && platform.FolderExists(root))
        Enter(platform, root);
    else if (ownRoot && root.size() == 2 && root[1] == ':' && platform.FolderExists(root + "\\"))
        Enter(platform, root + "\\");  // the folder remembered for the drive is gone: its root
    std::string file = FileNamePart(dir);
    if (dir.size() == file.size() + 1 && dir[0] == '\\') {
        dir.assign(1, '\\');
    } else if (dir.size() > file.size()) {
        dir.resize(dir.size() - file.size() - 1);
    } else {
        // A bare drive (E:) stands for the folder the platform remembers for it.
        dir = platform.CurrentFolder();
        dir.erase(0, DrivePart(dir).size());
        if (dir.empty())
            dir.assign(1, '\\');
    }
    if (!dir.empty())
        Enter(platform, dir);
    if (!file.empty() && !HasWildcards(file) && !platform.NamesExistingFile(file)) {
        Enter(platform, file);
        dir = dir == "\\" ? "\\" + file : dir + "\\" + file;
        file.clear();
    }
    if (result.drive == '\0') {
        // A network path has no drive-relative form: a relative folder part goes under the folder it was
        // entered from, rather than run into the share's name.
        if (!dir.empty() && dir[0] != '\\')
            dir = JoinPath(saved.substr(root.size()), dir);
        dir = root + dir;
    }
    result.directory = std::move(dir);
    result.file = std::move(file);
    return result;
}
