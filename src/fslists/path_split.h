#pragma once
// Taking a path text apart with the help of the file system: which part is the folder, and whether a
// trailing name is a file, a mask or a further folder. The file system and the process's current
// directory are reached through TPathPlatform, so the splitting itself needs no Windows.
#include <string>

// A path text taken apart: drive letter ('\0' for a network path), folder part and file part.
struct TSplitPath {
    char drive = '\0';
    std::string directory;
    std::string file;
};

// What splitting asks of the platform.
class TPathPlatform {
public:
    virtual ~TPathPlatform() = default;
    // The process's current directory as the platform reports it.
    virtual std::string CurrentFolder() = 0;
    // Makes path current: 0, or the platform's error code.
    virtual int EnterFolder(const std::string& path) = 0;
    virtual bool FolderExists(const std::string& path) = 0;
    // Whether the search for the name finds an entry that is not a folder.
    virtual bool NamesExistingFile(const std::string& name) = 0;
};

// Splits a path text, which may name a folder, a folder and a mask, or a folder and a file, or be a
// bracketed folder entry "[name]" of the current directory. A trailing name that is not an existing file
// and has no wildcards is taken for a folder. Fails with EInOutError when a folder cannot be entered;
// the process's current directory is as before afterwards (when it still exists).
TSplitPath SplitPathText(const std::string& text, TPathPlatform& platform);
