#include "fslists/folder_search.h"

#include <vector>

#include "fslists/path_routines.h"
#include "runtime/ansi.h"
#include "runtime/ansi_path.h"
#include "runtime/unique_handle.h"

namespace {

struct TKeptEntry {
    std::wstring name;
    DWORD attributes;
};

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
    if (sharing && shared.kept && ComparePathIgnoringCase(shared.folder, sharedFolder) == 0) {
        for (const TKeptEntry& kept : shared.entries)
            if (!take(TFolderEntry{kept.name.c_str(), kept.attributes}))
                return false;
        return true;
    }
    if (sharing)
        shared.Forget();
    WIN32_FIND_DATAW data;
    // Without short names: the platform makes one for every entry that lacks it, for nothing but the rare
    // name the code page cannot hold.
    UniqueFindHandle find(
        FindFirstFileExW(searchText.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0));
    if (find) {
        do {
            if (sharing)
                shared.entries.push_back({data.cFileName, data.dwFileAttributes});
            if (!take(TFolderEntry{data.cFileName, data.dwFileAttributes})) {
                if (sharing)
                    shared.Forget();  // only part of the folder was read
                return false;
            }
        } while (FindNextFileW(find.get(), &data));
    }
    if (sharing) {
        shared.kept = true;
        shared.folder = sharedFolder;
    }
    return true;
}
