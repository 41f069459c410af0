#include "temp_dir.h"

#include <windows.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

// Wide names: a name the code page cannot hold would come back from the ANSI search as a look-alike
// (another file's name, or a wildcard) and be left behind or be the wrong one.
void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring full = path + L"\\" + name;
            SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                DeleteFileW(full.c_str());
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryW(path.c_str());
}

void RemoveTree(const std::string& path)
{
    const int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), n);
    wide.resize(wcslen(wide.c_str()));
    RemoveTree(wide);
}

TempDir::TempDir()
{
    char base[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        std::ostringstream name;
        name << base << "orvand_test_" << GetCurrentProcessId() << "_" << ++counter;
        if (CreateDirectoryA(name.str().c_str(), nullptr)) {
            path_ = name.str();
            break;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create a temporary folder");
    }
}

TempDir::~TempDir()
{
    char cwd[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    if (_strnicmp(cwd, path_.c_str(), path_.size()) == 0) {
        char base[MAX_PATH + 1] = {};
        GetTempPathA(MAX_PATH, base);
        SetCurrentDirectoryA(base);  // a folder in use cannot be removed
    }
    RemoveTree(path_);
}

void TempDir::WriteFile(const std::string& name, const std::string& bytes) const
{
    std::ofstream out(*this / name, std::ios::binary);
    out << bytes;
}

void TempDir::MakeDir(const std::string& name) const
{
    CreateDirectoryA((*this / name).c_str(), nullptr);
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool FileExists(const std::string& path)
{
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}
