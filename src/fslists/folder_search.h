#pragma once
// The platform's search of a folder, entry by entry, that a caller can stop; and the sharing of a whole
// folder's entries between the lists while a TSharedFolderSearches lives: the file list and the
// directory list then read a big folder once, and show the same moment of it.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

// An entry as the search gives it: without its short name, which the platform would make for every entry
// (ShortNameOf asks for one where it is needed).
struct TFolderEntry {
    const wchar_t* name;
    DWORD attributes;
};

using TTakeEntry = std::function<bool(const TFolderEntry& entry)>;

// The short form of the name of an entry of folder: the name itself on a volume that makes no short names,
// empty when the entry is gone.
std::wstring ShortNameOf(const std::string& folder, const std::wstring& name);

// Hands take every entry that FindFirstFileExW and FindNextFileW return for searchText, in their order, until
// take returns false; then false is returned. With sharedFolder given, the search is one for all entries of
// that folder: inside a TSharedFolderSearches, only the first such search of a folder reaches the platform.
bool SearchEntries(const std::wstring& searchText, const std::string& sharedFolder, const TTakeEntry& take);

// While one lives (one inside another counts once), searches for all entries of a folder are shared.
class TSharedFolderSearches {
public:
    TSharedFolderSearches();
    ~TSharedFolderSearches();
    TSharedFolderSearches(const TSharedFolderSearches&) = delete;
    TSharedFolderSearches& operator=(const TSharedFolderSearches&) = delete;
};

// Reads every entry of a folder on a thread of its own while the program does other things: the first search
// for all entries of that folder inside a TSharedFolderSearches takes what it read (waiting for its end if need
// be) instead of reading the folder again. At start the folder is read while the window and the tree are built.
class TFolderReadAhead {
public:
    explicit TFolderReadAhead(const std::string& folder);
    // Waits for the thread's end; what it read and nobody took is dropped.
    ~TFolderReadAhead();
    TFolderReadAhead(const TFolderReadAhead&) = delete;
    TFolderReadAhead& operator=(const TFolderReadAhead&) = delete;
    // Until the folder is read.
    void Wait();

    struct TState;

private:
    std::unique_ptr<TState> state_;
};
