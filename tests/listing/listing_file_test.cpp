// The listing file object on real files: pieces of 128 bytes seen from outside while it writes, the
// sharing, its own codes and the system's, the name limit, and the existence test.
#include <gtest/gtest.h>

#include <string>

#include "listing/listing_file.h"
#include "temp_dir.h"

namespace {

// Size of the file as another program sees it; -1 when it cannot even read it.
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

bool NobodyHoldsIt(const std::string& path)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
}

}  // namespace

TEST(ListingFile, WholePiecesWhileWritingOthersReadNobodyWrites)
{
    TempDir dir;
    const std::string path = dir / "a.txt";
    dir.WriteFile("a.txt", "old content");
    TListingFile file;
    file.BindName(path);
    file.CreateEmpty();  // empties the existing file
    ASSERT_EQ(file.IOResult(), 0);
    EXPECT_FALSE(file.WriteOutEachLine());
    EXPECT_EQ(SizeSeenByOthers(path), 0);
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));

    const std::string line(100, 'x');
    file.WriteLine(line);  // 102 bytes held
    EXPECT_EQ(SizeSeenByOthers(path), 0);
    file.WriteLine(line);  // 204: one piece out
    EXPECT_EQ(SizeSeenByOthers(path), 128);
    file.WriteLine(std::string(50, 'y'));  // 256: exactly two pieces, nothing held
    EXPECT_EQ(SizeSeenByOthers(path), 256);
    EXPECT_EQ(file.Buffered(), 0);
    file.WriteLine("");
    file.CloseListingFile();
    EXPECT_EQ(file.IOResult(), 0);
    EXPECT_EQ(ReadFileBytes(path), line + "\r\n" + line + "\r\n" + std::string(50, 'y') + "\r\n\r\n");
    EXPECT_TRUE(NobodyHoldsIt(path));
}

TEST(ListingFile, CodesAreReadOnceThenCleared)
{
    TempDir dir;
    TListingFile file;
    file.BindName(dir / "a.txt");
    file.WriteLine("x");  // not open
    EXPECT_EQ(file.IOResult(), 105);
    EXPECT_EQ(file.IOResult(), 0);
    file.CloseListingFile();
    EXPECT_EQ(file.IOResult(), 103);
    file.OpenForAppend();  // the file must exist
    EXPECT_EQ(file.IOResult(), 2);
    EXPECT_FALSE(FileExists(dir / "a.txt"));
    file.BindName(dir / "brak\\a.txt");
    file.CreateEmpty();
    EXPECT_EQ(file.IOResult(), 3);
    EXPECT_FALSE(file.Writing());
    // A character device takes every line at once.
    file.BindName("NUL");
    file.CreateEmpty();
    EXPECT_TRUE(file.WriteOutEachLine());
    file.WriteLine("abc");
    EXPECT_EQ(file.Buffered(), 0);
    file.CloseListingFile();
    EXPECT_EQ(file.IOResult(), 0);
}

TEST(ListingFile, ANameOver259BytesIsRefusedWholeNeverCut)
{
    TempDir dir;
    const std::string folder = dir / std::string(120, 'k');  // no name part over 255
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string longest = folder + "\\" + std::string(259 - folder.size() - 1, 'n');
    TListingFile file;
    file.BindName(longest);
    file.CreateEmpty();
    file.CloseListingFile();
    EXPECT_EQ(file.IOResult(), 0);
    for (const std::string& tooLong : {longest + "x", dir / std::string(5000, 'h')}) {
        file.BindName(tooLong);
        EXPECT_EQ(file.Name(), tooLong);
        file.CreateEmpty();
        EXPECT_EQ(file.IOResult(), 3);  // "Invalid filename"
        file.OpenForAppend();
        EXPECT_EQ(file.IOResult(), 3);
        EXPECT_FALSE(file.Writing());
    }
    EXPECT_EQ(ReadFileBytes(longest), "");  // nothing cut down to the shorter name was written
}

TEST(ListingFile, BindingANewNameClosesAFileStillOpen)
{
    TempDir dir;
    TListingFile file;
    file.BindName(dir / "a.txt");
    file.CreateEmpty();
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
    EXPECT_FALSE(IsExistingFile(""));
}
