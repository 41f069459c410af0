// One search of a folder serving both lists while a sharing scope lives: the entries are the platform's,
// in its order; a search cut short is not kept; outside the scope every search reaches the folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "fslists/folder_search.h"
#include "runtime/ansi.h"
#include "temp_dir.h"

namespace {

std::vector<std::wstring> Names(const std::string& folder, bool share, size_t stopAfter = 0)
{
    std::vector<std::wstring> names;
    SearchEntries(AnsiToWide(folder + "\\*.*"), share ? folder : std::string(), [&](const TFolderEntry& entry) {
        names.push_back(entry.name);
        return stopAfter == 0 || names.size() < stopAfter;
    });
    return names;
}

}  // namespace

TEST(FolderSearch, ASharedSearchGivesThePlatformsEntriesOnceForTheScope)
{
    TempDir dir;
    for (const char* name : {"b.txt", "a.txt", "\xB3\xF3\x64\x9F.doc"})
        dir.WriteFile(name, "");
    dir.MakeDir("sub");
    const std::vector<std::wstring> platform = Names(dir.Path(), false);
    ASSERT_EQ(platform.size(), 6u);  // with . and ..
    {
        TSharedFolderSearches scope;
        EXPECT_EQ(Names(dir.Path(), true), platform);
        dir.WriteFile("c.txt", "");
        // Inside the scope the folder is not searched again: both lists show the same moment of it.
        EXPECT_EQ(Names(dir.Path(), true), platform);
        {
            TSharedFolderSearches inner;
            EXPECT_EQ(Names(dir.Path(), true), platform);
        }
        EXPECT_EQ(Names(dir.Path(), true), platform);
        EXPECT_EQ(Names(dir.Path(), false).size(), 7u);  // a search not to be shared reaches the folder
    }
    // The scope is over: the next search is a new one.
    EXPECT_EQ(Names(dir.Path(), true).size(), 7u);
}

TEST(FolderSearch, ASearchCutShortIsNotKept)
{
    TempDir dir;
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        dir.WriteFile(name, "");
    TSharedFolderSearches scope;
    EXPECT_EQ(Names(dir.Path(), true, 2).size(), 2u);
    EXPECT_EQ(Names(dir.Path(), true).size(), 5u);
    // Another folder's search replaces the one kept.
    TempDir other;
    EXPECT_EQ(Names(other.Path(), true).size(), 2u);
    EXPECT_EQ(Names(dir.Path(), true).size(), 5u);
}

TEST(FolderSearch, AFolderReadAheadServesTheFirstSharedSearchOfItUnderAnyOfItsNames)
{
    TempDir dir;
    TempDir other;
    for (const char* name : {"b.txt", "\xB3\xF3\x64\x9F.doc"})
        dir.WriteFile(name, "");
    const std::vector<std::wstring> platform = Names(dir.Path(), false);
    char shortName[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameA(dir.Path().c_str(), shortName, MAX_PATH), 0u);
    if (dir.Path() == shortName)
        GTEST_SKIP() << "the volume makes no short names: no second name for the folder";
    TFolderReadAhead ahead(dir.Path());
    ahead.Wait();
    dir.WriteFile("late.txt", "");  // after the read: a search that reached the folder would list it
    {
        TSharedFolderSearches scope;
        EXPECT_EQ(Names(other.Path(), true).size(), 2u);  // another folder is searched as it is
        EXPECT_EQ(Names(shortName, true), platform);
        EXPECT_EQ(Names(shortName, true), platform);  // kept for the scope as any shared search
    }
    TSharedFolderSearches later;  // taken once: a new scope reads the folder
    EXPECT_EQ(Names(dir.Path(), true).size(), platform.size() + 1);
}
