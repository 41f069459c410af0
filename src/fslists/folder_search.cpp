#include "fslists/folder_search.h"

#include <atomic>
#include <thread>
#include <vector>

#include "fslists/path_routines.h"
#include "fslists/path_text.h"
#include "runtime/ansi.h"
#include "runtime/ansi_path.h"
#include "runtime/unique_handle.h"

namespace {

struct TKeptEntry {
    std::wstring name;
    DWORD attributes;
};

// Hands every entry the platform's search finds for searchText to each, until each returns false (then false).
// Without short names: the platform makes one for every entry that lacks it, for nothing but the rare name the
// code page cannot hold.
bool ForEachFound(const std::wstring& searchText, const std::function<bool(const WIN32_FIND_DATAW&)>& each)
{
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(
        FindFirstFileExW(searchText.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0));
    if (find) {
        do
            if (!each(data))
                return false;
        while (FindNextFileW(find.get(), &data));
    }
    return true;
}

bool TakeKept(const std::vector<TKeptEntry>& entries, const TTakeEntry& take)
{
    for (const TKeptEntry& kept : entries)
        if (!take(TFolderEntry{kept.name.c_str(), kept.attributes}))
            return false;
    return true;
}

}  // namespace

struct TFolderReadAhead::TState {
    std::string folder;
    std::vector<TKeptEntry> entries;
    std::thread thread;
    bool taken = false;
    std::atomic<bool> dropped{false};  // nobody will take it: the thread stops reading

    void Wait()
    {
        if (thread.joinable())
            thread.join();
    }
};

namespace {

// The read ahead that lives, if one does.
TFolderReadAhead::TState* g_readAhead = nullptr;

// The entries of the one folder read last inside the present scope.
struct TSharedState {
    int scopes = 0;
    bool kept = false;
    std::string folder;
    std::vector<TKeptEntry> entries;

    void Forget()
    {
        kept = false;
        folder.clear();
        entries.clear();
        entries.shrink_to_fit();
    }
};

TSharedState& Shared()
{
    static TSharedState state;
    return state;
}

}  // namespace

TSharedFolderSearches::TSharedFolderSearches()
{
    ++Shared().scopes;
}

TSharedFolderSearches::~TSharedFolderSearches()
{
    if (--Shared().scopes == 0)
        Shared().Forget();
}

std::wstring ShortNameOf(const std::string& folder, const std::wstring& name)
{
    std::wstring path = AnsiToWide(folder);
    if (!path.empty() && path.back() != L'\\')
        path += L'\\';
    path += name;
    // Not a search for the name: a name may hold what a search takes for wildcards.
    const std::wstring shortPath = ShortPathOf(path);
    return shortPath.substr(shortPath.find_last_of(L'\\') + 1);
}

bool SearchEntries(const std::wstring& searchText, const std::string& sharedFolder, const TTakeEntry& take)
{
    TSharedState& shared = Shared();
    const bool sharing = !sharedFolder.empty() && shared.scopes > 0;
    if (sharing && shared.kept && ComparePathIgnoringCase(shared.folder, sharedFolder) == 0)
        return TakeKept(shared.entries, take);
    if (sharing)
        shared.Forget();
    if (sharing && g_readAhead && !g_readAhead->taken && SameFolder(g_readAhead->folder, sharedFolder)) {
        g_readAhead->Wait();
        g_readAhead->taken = true;
        shared.entries = std::move(g_readAhead->entries);
        shared.kept = true;
        shared.folder = sharedFolder;
        return TakeKept(shared.entries, take);
    }
    const bool whole = ForEachFound(searchText, [&](const WIN32_FIND_DATAW& data) {
        if (sharing)
            shared.entries.push_back({data.cFileName, data.dwFileAttributes});
        return take(TFolderEntry{data.cFileName, data.dwFileAttributes});
    });
    if (sharing && whole) {
        shared.kept = true;
        shared.folder = sharedFolder;
    } else if (sharing) {
        shared.Forget();  // only part of the folder was read
    }
    return whole;
}

TFolderReadAhead::TFolderReadAhead(const std::string& folder) : state_(std::make_unique<TState>())
{
    state_->folder = folder;
    const std::wstring searchText = AnsiToWide(JoinPath(folder, "*.*"));
    TState* state = state_.get();
    state_->thread = std::thread([state, searchText] {
        ForEachFound(searchText, [state](const WIN32_FIND_DATAW& data) {
            state->entries.push_back({data.cFileName, data.dwFileAttributes});
            return !state->dropped.load(std::memory_order_relaxed);
        });
    });
    g_readAhead = state;
}

TFolderReadAhead::~TFolderReadAhead()
{
    if (g_readAhead == state_.get())
        g_readAhead = nullptr;
    // A start in another folder than the lists show (the tree found no node for it) leaves the read untaken:
    // a big folder is not read to its end for nothing.
    state_->dropped = true;
    state_->Wait();
}

void TFolderReadAhead::Wait()
{
    state_->Wait();
}
