// Text and paths between UTF-16 and the ANSI code page (1250 here): no look-alikes, and a path the code
// page cannot hold reached by the short names of the folders it cannot hold.
#include <gtest/gtest.h>

#include <windows.h>

#include "runtime/ansi.h"
#include "runtime/ansi_path.h"
#include "temp_dir.h"

namespace {

std::wstring Wide(const std::string& text)
{
    return AnsiToWide(text);
}

// The name of the one file in the current directory, read through the wide calls.
std::wstring OnlyFileHere()
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(L"*.mark", &data);
    if (find == INVALID_HANDLE_VALUE)
        return L"";
    FindClose(find);
    return data.cFileName;
}

}  // namespace

TEST(AnsiText, NoLookAlikesOnlyWhatTheCodePageHolds)
{
    // The platform's default conversion gives Ano, a wildcard, a path separator.
    EXPECT_EQ(WideToAnsi(L"A\u00f1o"), "A?o");
    EXPECT_EQ(WideToAnsi(L"\uff0a.txt"), "?.txt");
    EXPECT_EQ(WideToAnsi(L"a\u2215b"), "a?b");
    EXPECT_EQ(WideToAnsi(L"na\u00efve"), "na?ve");
    EXPECT_FALSE(ExactAnsi(L"A\u00f1o"));
    EXPECT_FALSE(ExactAnsi(L"\uff0a"));
    EXPECT_FALSE(ExactAnsi(L"\u041f\u0430\u043f\u043a\u0430"));
    // Polish letters and a plain "?" are held as they are.
    ASSERT_TRUE(ExactAnsi(L"\u0142\u00f3d\u017a?"));
    EXPECT_EQ(*ExactAnsi(L"\u0142\u00f3d\u017a?"), "\xB3\xF3" "d\x9F?");
    EXPECT_EQ(ExactAnsi(L""), std::string());
}

TEST(AnsiPath, AFolderTheCodePageCannotHoldIsNamedByItsShortForm)
{
    TempDir dir;
    const std::wstring base = Wide(dir.Path());
    // Two folders that the look-alike conversion would take for one, each with its own mark.
    for (const wchar_t* name : {L"na\u00efve", L"naive", L"\u041f\u0430\u043f\u043a\u0430"}) {
        const std::wstring folder = base + L"\\" + name;
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        const HANDLE mark = CreateFileW((folder + L"\\" + name + L".mark").c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_NEW, 0, nullptr);
        ASSERT_NE(mark, INVALID_HANDLE_VALUE);
        CloseHandle(mark);
    }
    char saved[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, saved);
    for (const wchar_t* name : {L"na\u00efve", L"naive", L"\u041f\u0430\u043f\u043a\u0430"}) {
        const std::optional<std::string> path = AnsiPathOf(base + L"\\" + name + L"\\");
        ASSERT_TRUE(path);
        EXPECT_EQ(path->rfind(dir.Path(), 0), 0u) << *path;  // the names the code page holds stay long
        EXPECT_EQ(path->find('?'), std::string::npos) << *path;
        ASSERT_TRUE(SetCurrentDirectoryA(path->c_str())) << *path;
        EXPECT_EQ(OnlyFileHere(), std::wstring(name) + L".mark");
        // Shown by its long name again, "?" for what the code page cannot show.
        EXPECT_EQ(ShownPathOf(*path), dir.Path() + "\\" + WideToAnsi(name) + "\\");
    }
    SetCurrentDirectoryA(saved);
    EXPECT_EQ(*AnsiPathOf(base + L"\\naive"), dir.Path() + "\\naive");
    EXPECT_EQ(ShownPathOf(dir.Path()), dir.Path());
    EXPECT_FALSE(AnsiPathOf(base + L"\\brak\u00f1"));  // gone: it has no short form
}
