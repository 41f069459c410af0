// The listing file object on real files: buffering in whole pieces, line ends, open modes and sharing,
// its own codes and the system's, and the existence test of the save command.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listing/listing_file.h"
#include "temp_dir.h"

namespace {

// The size of a file as another program sees it while the listing file has it open.
long long SizeSeenByOthers(const std::string& path)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return -1;
    LARGE_INTEGER size{};
    GetFileSizeEx(h, &size);
    CloseHandle(h);
    return size.QuadPart;
}

// Whether nothing holds the file open any more: it can be opened with no sharing at all.
bool NobodyHoldsIt(const std::string& path)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
}

}  // namespace

TEST(ListingFile, BufferGoesToTheFileIn128BytePiecesAndTheRestAtClose)
{
    TempDir dir;
    const std::string path = dir / "a.txt";
    TListingFile file;
    file.BindName(path);
    file.CreateEmpty();
    ASSERT_EQ(file.IOResult(), 0);
    ASSERT_TRUE(file.Writing());
    EXPECT_FALSE(file.WriteOutEachLine());

    const std::string line100(100, 'x');
    file.WriteLine(line100);  // 102 bytes held
    EXPECT_EQ(SizeSeenByOthers(path), 0);
    EXPECT_EQ(file.Buffered(), 102);
    file.WriteLine(line100);  // 204: one piece out, 76 held
    EXPECT_EQ(SizeSeenByOthers(path), 128);
    EXPECT_EQ(file.Buffered(), 76);
    file.WriteLine(std::string(50, 'y'));  // 256: exactly two pieces, none held
    EXPECT_EQ(SizeSeenByOthers(path), 256);
    EXPECT_EQ(file.Buffered(), 0);
    file.WriteLine("");
    file.CloseListingFile();
    EXPECT_EQ(file.IOResult(), 0);
    EXPECT_FALSE(file.Writing());
    EXPECT_EQ(ReadFileBytes(path), line100 + "\r\n" + line100 + "\r\n" + std::string(50, 'y') + "\r\n\r\n");
    EXPECT_TRUE(NobodyHoldsIt(path));
}

TEST(ListingFile, OthersMayReadButNotWriteWhileItIsOpen)
{
    TempDir dir;
    const std::string path = dir / "a.txt";
    dir.WriteFile("a.txt", "old content");
    TListingFile file;
    file.BindName(path);
    file.CreateEmpty();  // empties an existing file
    ASSERT_EQ(file.IOResult(), 0);
    EXPECT_EQ(SizeSeenByOthers(path), 0);
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    file.CloseListingFile();
    EXPECT_EQ(file.IOResult(), 0);
    EXPECT_EQ(ReadFileBytes(path), "");
}

TEST(ListingFile, AppendGoesOnAfterTheLastByteWhateverItIs)
{
    TempDir dir;
    const std::string path = dir / "a.txt";
    // No line break at the end, and an end-of-file marker: both stay, nothing is lost.
    dir.WriteFile("a.txt", std::string("abc\r\nlast\x1A", 10));
    TListingFile file;
    file.BindName(path);
    file.OpenForAppend();
    ASSERT_EQ(file.IOResult(), 0);
    file.WriteLine("new");
    file.CloseListingFile();
    EXPECT_EQ(file.IOResult(), 0);
    EXPECT_EQ(ReadFileBytes(path), std::string("abc\r\nlast\x1Anew\r\n", 15));
}

TEST(ListingFile, OwnCodesAndSystemCodesAreReadOnceThenCleared)
{
    TempDir dir;
    TListingFile file;
    file.BindName(dir / "a.txt");
    file.WriteLine("x");  // not open
    EXPECT_EQ(file.IOResult(), 105);
    EXPECT_EQ(file.IOResult(), 0);
    file.CloseListingFile();  // not open
    EXPECT_EQ(file.IOResult(), 103);
    file.OpenForAppend();  // the file must exist
    EXPECT_EQ(file.IOResult(), 2);
    EXPECT_FALSE(file.Writing());
    EXPECT_FALSE(FileExists(dir / "a.txt"));
    file.BindName(dir / "brak\\a.txt");
    file.CreateEmpty();
    EXPECT_EQ(file.IOResult(), 3);
    EXPECT_FALSE(file.Writing());
}

TEST(ListingFile, ANameLongerThan259BytesIsRefusedWhole)
{
    TempDir dir;
    // Two folders bring the path to exactly 259 bytes without a name part over 255.
    const std::string folder = dir / std::string(120, 'k');
    CreateDirectoryA(folder.c_str(), nullptr);
    const size_t rest = 259 - folder.size() - 1;
    const std::string longest = folder + "\\" + std::string(rest, 'n');
    ASSERT_EQ(longest.size(), 259u);
    TListingFile file;
    file.BindName(longest);
    file.CreateEmpty();
    EXPECT_EQ(file.IOResult(), 0);
    file.CloseListingFile();
    EXPECT_EQ(file.IOResult(), 0);
    EXPECT_TRUE(IsExistingFile(longest));

    const std::string tooLong = longest + "x";
    file.BindName(tooLong);
    EXPECT_EQ(file.Name(), tooLong);  // kept whole, never cut
    file.CreateEmpty();
    EXPECT_EQ(file.IOResult(), 3);  // "Invalid filename"
    EXPECT_FALSE(file.Writing());
    file.OpenForAppend();
    EXPECT_EQ(file.IOResult(), 3);
    EXPECT_FALSE(IsExistingFile(tooLong));
    // The shorter name still holds its empty file: nothing was cut down to it.
    EXPECT_EQ(ReadFileBytes(longest), "");
    const std::string hugeName = dir / std::string(5000, 'h');
    file.BindName(hugeName);
    file.OpenForAppend();
    EXPECT_EQ(file.IOResult(), 3);
}

TEST(ListingFile, ACharacterDeviceGetsEveryLineAtOnce)
{
    TListingFile file;
    file.BindName("NUL");
    file.CreateEmpty();
    ASSERT_EQ(file.IOResult(), 0);
    EXPECT_TRUE(file.WriteOutEachLine());
    file.WriteLine("abc");
    EXPECT_EQ(file.IOResult(), 0);
    EXPECT_EQ(file.Buffered(), 0);
    file.CloseListingFile();
    EXPECT_EQ(file.IOResult(), 0);
}

TEST(ListingFile, AFailedWriteDropsTheBufferAndLeavesTheFileForTheCallerToClose)
{
    TempDir dir;
    const std::string path = dir / "a.txt";
    TListingFile file;
    int writes = 0;
    file.SetWriteFunction([&](HANDLE h, const void* data, DWORD size, DWORD* written) -> BOOL {
        if (++writes == 2) {
            SetLastError(ERROR_DISK_FULL);
            return FALSE;
        }
        return WriteFile(h, data, size, written, nullptr);
    });
    file.BindName(path);
    file.CreateEmpty();
    file.WriteLine(std::string(200, 'a'));  // one piece out, 74 held
    EXPECT_EQ(file.IOResult(), 0);
    file.WriteLine(std::string(100, 'b'));  // the second piece fails
    EXPECT_EQ(file.IOResult(), 112);
    EXPECT_EQ(file.Buffered(), 0);
    EXPECT_TRUE(file.Writing());
    EXPECT_FALSE(NobodyHoldsIt(path));
    file.CloseAfterFailure();
    EXPECT_FALSE(file.Writing());
    EXPECT_EQ(file.IOResult(), 0);  // the code was read before; closing adds none
    EXPECT_TRUE(NobodyHoldsIt(path));
    EXPECT_EQ(ReadFileBytes(path), std::string(128, 'a'));

    // A failed write-out at close: the file stays open for the caller, who closes it after the failure.
    writes = 0;
    file.BindName(path);
    file.OpenForAppend();
    file.WriteLine("c");
    file.SetWriteFunction([&](HANDLE, const void*, DWORD, DWORD*) -> BOOL {
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    });
    file.CloseListingFile();
    EXPECT_EQ(file.IOResult(), 112);
    EXPECT_TRUE(file.Writing());
    file.CloseAfterFailure();
    EXPECT_TRUE(NobodyHoldsIt(path));
    EXPECT_EQ(ReadFileBytes(path), std::string(128, 'a'));
}

TEST(ListingFile, BindingANewNameClosesAFileStillOpen)
{
    TempDir dir;
    TListingFile file;
    file.BindName(dir / "a.txt");
    file.CreateEmpty();
    ASSERT_TRUE(file.Writing());
    file.WriteLine("never handed over");
    file.BindName(dir / "b.txt");
    EXPECT_FALSE(file.Writing());
    EXPECT_TRUE(NobodyHoldsIt(dir / "a.txt"));
    EXPECT_EQ(ReadFileBytes(dir / "a.txt"), "");
}

TEST(IsExistingFile, AFileOfThatNameAndNothingElse)
{
    TempDir dir;
    dir.WriteFile("plik.txt", "x");
    dir.MakeDir("folder.txt");
    EXPECT_TRUE(IsExistingFile(dir / "plik.txt"));
    EXPECT_FALSE(IsExistingFile(dir / "folder.txt"));
    EXPECT_FALSE(IsExistingFile(dir / "brak.txt"));
    EXPECT_FALSE(IsExistingFile(dir / "brak\\plik.txt"));
    EXPECT_FALSE(IsExistingFile(dir / "*.txt"));  // a pattern matches, but names no file
    EXPECT_FALSE(IsExistingFile(dir / "pl?k.txt"));
    EXPECT_FALSE(IsExistingFile(""));

    // Time stamps outside the years 1980 to 2107 do not matter.
    for (const WORD year : {1601, 1970, 2150}) {
        const std::string path = dir / "stary.txt";
        dir.WriteFile("stary.txt", "x");
        SYSTEMTIME st{};
        st.wYear = year;
        st.wMonth = 6;
        st.wDay = 1;
        FILETIME ft{};
        ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
        HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        ASSERT_TRUE(SetFileTime(h, &ft, &ft, &ft));
        CloseHandle(h);
        EXPECT_TRUE(IsExistingFile(path)) << year;
    }
}
