#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it at the end.
#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder's path in the ANSI code page, without a trailing backslash.
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

    // Writes a file with exactly these bytes.
    void WriteFile(const std::string& name, const std::string& bytes) const;
    void MakeDir(const std::string& name) const;

private:
    std::string path_;
};

// The whole content of a file, or an empty string when it cannot be read.
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
// Removes a folder with everything in it, read-only files too.
void RemoveTree(const std::string& path);
void RemoveTree(const std::wstring& path);
