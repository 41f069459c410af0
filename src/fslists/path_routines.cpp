#include "fslists/path_routines.h"

#include <windows.h>

#include "fslists/path_text.h"
#include "gui/handles.h"
#include "runtime/ansi_case.h"
#include "runtime/exceptions.h"

namespace {

// Puts the process back in the folder it was in, when that folder still exists.
class TRestoreDirectory {
public:
    explicit TRestoreDirectory(std::string saved) : saved_(std::move(saved)) {}
    ~TRestoreDirectory()
    {
        if (DirectoryExists(saved_))
            SetCurrentDirectoryA(saved_.c_str());
    }
    TRestoreDirectory(const TRestoreDirectory&) = delete;
    TRestoreDirectory& operator=(const TRestoreDirectory&) = delete;

private:
    std::string saved_;
};

int CompareInUserLocale(const std::string& a, const std::string& b, DWORD flags)
{
    return CompareStringA(LOCALE_USER_DEFAULT, flags, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) -
           CSTR_EQUAL;
}

}  // namespace

std::string CurrentDirectory()
{
    std::string dir(MAX_PATH + 1, '\0');
    DWORD n = GetCurrentDirectoryA(static_cast<DWORD>(dir.size()), dir.data());
    if (n >= dir.size()) {
        dir.resize(n + 1);
        n = GetCurrentDirectoryA(static_cast<DWORD>(dir.size()), dir.data());
    }
    dir.resize(n < dir.size() ? n : 0);
    return dir;
}

void ChangeCurrentDirectory(const std::string& path)
{
    if (!SetCurrentDirectoryA(path.c_str()))
        throw EInOutError(static_cast<int>(GetLastError()));
}

bool DirectoryExists(const std::string& path)
{
    if (path.empty())
        return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool NamesExistingFile(const std::string& name)
{
    // Only the entry's kind counts: a file dated outside the packed-date years is still a file.
    WIN32_FIND_DATAA data;
    UniqueFindHandle find(FindFirstFileA(name.c_str(), &data));
    return find && !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

TSplitPath SplitPathText(const std::string& text)
{
    const std::string saved = CurrentDirectory();
    TSplitPath result;
    result.drive = saved.empty() ? '\0' : saved[0];
    std::string dir = text;
    std::string root;
    if (text.size() >= 2 && text.front() == '[' && text.back() == ']') {
        dir = text.substr(1, text.size() - 2);
    } else {
        root = DrivePart(text);
        if (root.empty())
            root = DrivePart(saved);
        else
            dir.erase(0, root.size());
        result.drive = root.size() >= 2 && root[1] == ':' ? root[0] : '\0';
    }
    TRestoreDirectory restore(saved);
    if (DirectoryExists(root))
        ChangeCurrentDirectory(root);
    std::string file = FileNamePart(dir);
    if (dir.size() == file.size() + 1 && dir[0] == '\\') {
        dir.assign(1, '\\');
    } else if (dir.size() > file.size()) {
        dir.resize(dir.size() - file.size() - 1);
    } else {
        // A bare drive (E:) stands for the folder the platform remembers for it.
        dir = CurrentDirectory();
        dir.erase(0, DrivePart(dir).size());
        if (dir.empty())
            dir.assign(1, '\\');
    }
    if (!dir.empty())
        ChangeCurrentDirectory(dir);
    if (!file.empty() && !HasWildcards(file) && !NamesExistingFile(file)) {
        ChangeCurrentDirectory(file);
        dir = dir == "\\" ? "\\" + file : dir + "\\" + file;
        file.clear();
    }
    if (result.drive == '\0')
        dir = root + dir;
    result.directory = std::move(dir);
    result.file = std::move(file);
    return result;
}

int ComparePathIgnoringCase(const std::string& a, const std::string& b)
{
    return CompareInUserLocale(AnsiLowerCase(a), AnsiLowerCase(b), 0);
}

int ComparePathWithCase(const std::string& a, const std::string& b)
{
    return CompareInUserLocale(a, b, 0);
}

int FontLineHeight(const TFont& font)
{
    ScreenDc dc;
    SelectObjectGuard select(dc.get(), font.Handle());
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.get(), &metrics);
    return metrics.tmHeight;
}
