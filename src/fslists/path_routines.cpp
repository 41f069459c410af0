#include "fslists/path_routines.h"

#include <windows.h>

#include "runtime/ansi_case.h"
#include "runtime/exceptions.h"
#include "runtime/unique_handle.h"

namespace {

// The file system and current directory the lists really work on.
class TRealPathPlatform : public TPathPlatform {
public:
    std::string CurrentFolder() override { return ::CurrentDirectory(); }
    int EnterFolder(const std::string& path) override
    {
        return SetCurrentDirectoryA(path.c_str()) ? 0 : static_cast<int>(GetLastError());
    }
    bool FolderExists(const std::string& path) override { return ::DirectoryExists(path); }
    bool NamesExistingFile(const std::string& name) override { return ::NamesExistingFile(name); }
};

int CompareInUserLocale(const std::string& a, const std::string& b, DWORD flags)
{
    return CompareStringA(LOCALE_USER_DEFAULT, flags, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) -
           CSTR_EQUAL;
}

}  // namespace

void ChangeCurrentDirectory(const std::string& path)
{
    if (!SetCurrentDirectoryA(path.c_str()))
        throw EInOutError(static_cast<int>(GetLastError()));
}

void EnterFolderFrom(const std::string& shown, const std::string& path)
{
    const std::string saved = CurrentDirectory();
    // Only where a relative path starts: a shown folder that no longer opens must not keep the list in it.
    if (DirectoryExists(shown))
        SetCurrentDirectoryA(shown.c_str());
    try {
        ChangeCurrentDirectory(path);
    } catch (...) {
        if (DirectoryExists(saved))
            SetCurrentDirectoryA(saved.c_str());
        throw;
    }
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
    TRealPathPlatform platform;
    return SplitPathText(text, platform);
}

int ComparePathIgnoringCase(const std::string& a, const std::string& b)
{
    return CompareInUserLocale(AnsiLowerCase(a), AnsiLowerCase(b), 0);
}

int ComparePathWithCase(const std::string& a, const std::string& b)
{
    return CompareInUserLocale(a, b, 0);
}

bool SameFolder(const std::string& a, const std::string& b)
{
    if (ComparePathIgnoringCase(a, b) == 0)
        return true;
    const auto identity = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
        UniqueFileHandle folder(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        return folder && GetFileInformationByHandle(folder.get(), &info);
    };
    BY_HANDLE_FILE_INFORMATION first{};
    BY_HANDLE_FILE_INFORMATION second{};
    return identity(a, first) && identity(b, second) && first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}
