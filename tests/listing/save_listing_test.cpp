// The save command end to end, the platform's dialog answered at its seam: the exact bytes of new and
// appended listings, the failures with their messages, and what a cancel leaves alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "listing/listing_composition.h"
#include "listing/save_listing.h"
#include "dialogs/save_dialog.h"
#include "runtime/exceptions.h"
#include "temp_dir.h"
#include "unix_side.h"

namespace {

using Items = std::vector<std::string>;
const Items kItems{"alfa.txt", "beta.txt", "gamma.txt"};
constexpr auto kGap = THeaderSpacing::hsWithGap;
constexpr auto kNoGap = THeaderSpacing::hsWithoutGap;

ListingOptions Options(TNumbering numbering, const std::string& header = "", THeaderSpacing spacing = kGap,
                       int start = 0)
{
    ListingOptions o;
    o.Numbering = numbering;
    o.Header = header;
    o.HeaderSpacing = spacing;
    o.StartPosition = start;
    return o;
}

// A disk that fills up at the given write.
TListingFile::TWriteFunction DiskFullAt(int failing, int& writes)
{
    return [failing, &writes](HANDLE f, const void* data, DWORD size, DWORD* written) -> BOOL {
        if (++writes == failing) {
            SetLastError(ERROR_DISK_FULL);
            return FALSE;
        }
        return WriteFile(f, data, size, written, nullptr);
    };
}

class SaveListingTest : public testing::Test {
protected:
    void SetUp() override
    {
        savedDialog_ = SaveFileNameFunction;
        SaveFileNameFunction = [this](OPENFILENAMEA* r) -> BOOL {
            std::memcpy(r->lpstrFile, chosen.c_str(), std::min<size_t>(chosen.size() + 1, r->nMaxFile));
            return !cancel;
        };
        SetListingCounter(0);
    }
    void TearDown() override
    {
        SaveFileNameFunction = savedDialog_;
        ListingFile().SetWriteFunction(nullptr);
        SetListingCounter(0);
    }

    // One click of the command; the message of the failure it ends in, "" when it succeeds.
    std::string Save(const ListingOptions& options, const Items& items = kItems)
    {
        try {
            SaveListing(dialog, [&] { return options; },
                        [&](TListingSource) { return std::make_unique<TStringListingItems>(items); });
        } catch (const EInOutError& e) {
            return e.what();
        }
        return "";
    }
    std::string Bytes() const { return ReadFileBytes(chosen); }

    TempDir dir;
    TSaveDialog dialog{nullptr};
    std::string chosen;
    bool cancel = false;

private:
    TFileDialogFunction savedDialog_;
};

}  // namespace

TEST_F(SaveListingTest, NewFileThenAppendedInEachNumberingMode)
{
    chosen = dir / "lista.txt";
    EXPECT_EQ(Save(Options(TNumbering::nmSeparate, "Lista")), "");
    const std::string one = "\r\nLista\r\n1 alfa.txt\r\n2 beta.txt\r\n3 gamma.txt\r\n";
    EXPECT_EQ(Bytes(), one);
    Save(Options(TNumbering::nmSeparate, "Lista"));
    EXPECT_EQ(Bytes(), one + one);

    chosen = dir / "wspolna.txt";
    SetListingCounter(0);
    Save(Options(TNumbering::nmCommon), {"a", "b"});
    Save(Options(TNumbering::nmCommon), {"c"});
    EXPECT_EQ(Bytes(), "1 a\r\n2 b\r\n3 c\r\n");

    // "nie": one space before every item, and the counter still goes up.
    chosen = dir / "nie.txt";
    SetListingCounter(0);
    Save(Options(TNumbering::nmNone), {"a", "b"});
    Save(Options(TNumbering::nmNone), {"c"});
    EXPECT_EQ(ListingCounter(), 3);
    Save(Options(TNumbering::nmCommon), {"d"});
    EXPECT_EQ(Bytes(), " a\r\n b\r\n c\r\n4 d\r\n");
}

TEST_F(SaveListingTest, HeaderLines)
{
    const struct {
        std::string header;
        THeaderSpacing spacing;
        std::string bytes;
    } cases[] = {
        {"Lista", kNoGap, "Lista\r\n1 x\r\n"},
        {"", kGap, "1 x\r\n"},  // no header, no gap
        {"   ", kGap, "\r\n   \r\n1 x\r\n"},  // spaces make a header
        // Polish letters go in as the single bytes of the ANSI code page.
        {"Wykaz plik\xF3w: \xB1\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF \xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF", kNoGap,
         "Wykaz plik\xF3w: \xB1\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF \xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF\r\n1 x\r\n"},
    };
    int n = 0;
    for (const auto& c : cases) {
        chosen = dir / ("h" + std::to_string(n++) + ".txt");
        Save(Options(TNumbering::nmSeparate, c.header, c.spacing), {"x"});
        EXPECT_EQ(Bytes(), c.bytes) << c.header;
    }
}

TEST_F(SaveListingTest, StartPositions)
{
    chosen = dir / "a.txt";
    Save(Options(TNumbering::nmSeparate, "", kGap, 2));  // n - 1: the last alone
    EXPECT_EQ(Bytes(), "1 gamma.txt\r\n");
    // Past the end, or an empty list: the file is created or kept as it is; only a header is added.
    SetListingCounter(9);
    Save(Options(TNumbering::nmCommon, "", kGap, 3));
    Save(Options(TNumbering::nmCommon, "Nic", kGap, 1000));
    Save(Options(TNumbering::nmCommon, "Pusta", kNoGap), {});
    EXPECT_EQ(Bytes(), "1 gamma.txt\r\n\r\nNic\r\nPusta\r\n");
    EXPECT_EQ(ListingCounter(), 9);
    chosen = dir / "pusty.txt";
    EXPECT_EQ(Save(Options(TNumbering::nmCommon, "", kGap, 3)), "");
    EXPECT_TRUE(FileExists(chosen));
    EXPECT_EQ(Bytes(), "");
}

TEST_F(SaveListingTest, AppendedBytesFollowWhateverTheFileEndsWith)
{
    // No line break at the end, and an end-of-file marker: nothing is lost or inserted.
    dir.WriteFile("a.txt", "bez konca\x1A");
    chosen = dir / "a.txt";
    Save(Options(TNumbering::nmSeparate), {"x"});
    Save(Options(TNumbering::nmSeparate, "H"), {"y"});
    EXPECT_EQ(Bytes(), "bez konca\x1A" "1 x\r\n\r\nH\r\n1 y\r\n");

    // A time stamp outside the years 1980 to 2107 does not make the file look missing (and emptied).
    dir.WriteFile("stary.txt", "stara tresc\r\n");
    chosen = dir / "stary.txt";
    SYSTEMTIME st{1975, 1, 0, 1};
    FILETIME ft{};
    ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
    HANDLE h = CreateFileA(chosen.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(SetFileTime(h, &ft, &ft, &ft));
    CloseHandle(h);
    Save(Options(TNumbering::nmSeparate), {"x"});
    EXPECT_EQ(Bytes(), "stara tresc\r\n1 x\r\n");
}

TEST_F(SaveListingTest, MoreThan128BytesGoOutInWholePieces)
{
    std::vector<DWORD> pieces;
    ListingFile().SetWriteFunction([&](HANDLE f, const void* data, DWORD size, DWORD* written) {
        pieces.push_back(size);
        return WriteFile(f, data, size, written, nullptr);
    });
    Items items;
    std::string expected = "\r\nNag\xB3\xF3wek\r\n";
    for (int i = 0; i < 40; ++i) {
        items.push_back("plik_numer_" + std::to_string(i) + ".txt");
        expected += std::to_string(i + 1) + " " + items.back() + "\r\n";
    }
    chosen = dir / "duzy.txt";
    Save(Options(TNumbering::nmCommon, "Nag\xB3\xF3wek"), items);
    EXPECT_EQ(Bytes(), expected);
    std::vector<DWORD> whole(expected.size() / 128, 128);
    whole.push_back(static_cast<DWORD>(expected.size() % 128));
    EXPECT_EQ(pieces, whole);
}

TEST_F(SaveListingTest, CancelChangesNothing)
{
    dir.WriteFile("a.txt", "tresc");
    chosen = dir / "a.txt";
    cancel = true;
    SetListingCounter(5);
    Save(Options(TNumbering::nmSeparate, "Lista"));
    EXPECT_EQ(ListingCounter(), 5);  // not even the reset of "tak,oddzielna"
    EXPECT_EQ(Bytes(), "tresc");
    chosen = dir / "nowy.txt";
    Save(Options(TNumbering::nmCommon));
    EXPECT_FALSE(FileExists(chosen));
}

TEST_F(SaveListingTest, FailuresToOpenAndTheirMessages)
{
    SetListingCounter(7);
    chosen = dir / "brak\\lista.txt";
    EXPECT_EQ(Save(Options(TNumbering::nmCommon, "H")), "Invalid filename");
    EXPECT_EQ(ListingCounter(), 7);
    dir.MakeDir("folder.txt");  // a folder of that name is no file, and cannot be made one
    chosen = dir / "folder.txt";
    EXPECT_EQ(Save(Options(TNumbering::nmCommon)), "File access denied");
    // A file the user may not change: a kernel attribute, closed to writing even for root.
    chosen = "Z:\\sys\\kernel\\address_bits";
    if (IsExistingFile(chosen)) {
        EXPECT_EQ(Save(Options(TNumbering::nmCommon)), "File access denied");
    }

    // Held open for writing by another handle: a sharing violation, told by its number.
    dir.WriteFile("zajety.txt", "cudzy");
    chosen = dir / "zajety.txt";
    HANDLE other = CreateFileA(chosen.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(Save(Options(TNumbering::nmSeparate)), "I/O error 32");
    CloseHandle(other);
    EXPECT_EQ(Bytes(), "cudzy");
    EXPECT_EQ(ListingCounter(), 0);  // the restart came before the file was opened
    EXPECT_EQ(Save(Options(TNumbering::nmCommon), {"x"}), "");  // nothing was left open
    EXPECT_EQ(Bytes(), "cudzy1 x\r\n");
}

TEST_F(SaveListingTest, AReadOnlyFileIsRefused)
{
    dir.WriteFile("tylko.txt", "stare");
    chosen = dir / "tylko.txt";
    ASSERT_TRUE(SetFileAttributesA(chosen.c_str(), FILE_ATTRIBUTE_READONLY));
    HANDLE probe = CreateFileA(chosen.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        GTEST_SKIP() << "the platform lets this user write read-only files (Wine run as root)";
    }
    EXPECT_EQ(Save(Options(TNumbering::nmCommon)), "File access denied");
    EXPECT_EQ(Bytes(), "stare");
}

TEST_F(SaveListingTest, AFailedWriteLeavesTheTargetAsItWasAndKeepsEveryIncrement)
{
    int writes = 0;
    ListingFile().SetWriteFunction(DiskFullAt(2, writes));
    Items items;
    int linesToFail = 0;
    for (int i = 0, bytes = 0; i < 30; ++i) {
        items.push_back("pozycja_" + std::to_string(i));
        if (bytes < 256)
            ++linesToFail;  // up to the line that fills the second piece
        bytes += static_cast<int>(std::to_string(101 + i).size() + 1 + items.back().size() + 2);
    }
    // Appended to: cut back to its old bytes, the first piece that went out taken back too.
    chosen = dir / "stary.txt";
    dir.WriteFile("stary.txt", "9 bajtow.");
    SetListingCounter(100);
    EXPECT_EQ(Save(Options(TNumbering::nmCommon), items), "I/O error 112");
    EXPECT_EQ(Bytes(), "9 bajtow.");
    EXPECT_EQ(ListingCounter(), 100 + linesToFail);
    EXPECT_FALSE(ListingFile().Writing());
    ListingFile().SetWriteFunction(nullptr);
    EXPECT_EQ(Save(Options(TNumbering::nmSeparate), {"dalej"}), "");  // starts clean after the old bytes
    EXPECT_EQ(Bytes(), "9 bajtow.1 dalej\r\n");

    // Made by the save: removed again.
    writes = 0;
    ListingFile().SetWriteFunction(DiskFullAt(2, writes));
    chosen = dir / "nowy.txt";
    EXPECT_EQ(Save(Options(TNumbering::nmCommon), items), "I/O error 112");
    EXPECT_FALSE(FileExists(chosen));

    // 130 bytes: one piece while writing, the last two at the close, which fails. The file is closed,
    // not locked, and has its old bytes.
    writes = 0;
    chosen = dir / "b.txt";
    dir.WriteFile("b.txt", "b");
    EXPECT_EQ(Save(Options(TNumbering::nmNone), {std::string(127, 'z')}), "I/O error 112");
    EXPECT_FALSE(ListingFile().Writing());
    HANDLE exclusive = CreateFileA(chosen.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(exclusive, INVALID_HANDLE_VALUE);
    CloseHandle(exclusive);
    EXPECT_EQ(Bytes(), "b");
}

namespace {

// A folder on a file system of a few kilobytes (a tmpfs mounted over it from the Unix side), so a disk
// really fills up. Mounting needs root; without it the test is skipped.
class SmallDisk {
public:
    SmallDisk(const std::string& folder, int kilobytes) : folder_(folder)
    {
        CreateDirectoryA(folder.c_str(), nullptr);
        unix_ = UnixPathOf(folder);
        // The mount hides this file: its going away tells that the mount is in place.
        HANDLE mark = CreateFileA(Mark().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(mark);
        if (unix_.empty() || !RunUnix("/bin/mount -t tmpfs -o size=" + std::to_string(kilobytes) + "k tmpfs " + unix_))
            return;
        for (int wait = 0; wait < 100 && !mounted_; ++wait) {
            mounted_ = GetFileAttributesA(Mark().c_str()) == INVALID_FILE_ATTRIBUTES;
            if (!mounted_)
                Sleep(50);
        }
    }
    ~SmallDisk()
    {
        if (mounted_) {
            RunUnix("/bin/umount -l " + unix_);
            for (int wait = 0; wait < 100 && GetFileAttributesA(Mark().c_str()) == INVALID_FILE_ATTRIBUTES; ++wait)
                Sleep(50);
        }
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool Mounted() const { return mounted_; }

private:
    std::string Mark() const { return folder_ + "\\niezamontowany"; }

    std::string folder_;
    std::string unix_;
    bool mounted_ = false;
};

}  // namespace

TEST_F(SaveListingTest, OnAFullDiskTheTargetKeepsExactlyItsBytes)
{
    SmallDisk disk(dir / "maly", 8);
    if (!disk.Mounted())
        GTEST_SKIP() << "no small file system could be mounted here (needs root)";
    // Two pages: one taken by another file, one by the target's 9 bytes. The header fills that page and
    // fails on the next.
    const std::string filler = dir / "maly\\zajety.bin";
    {
        HANDLE f = CreateFileA(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE);
        const std::string page(4096, 'x');
        DWORD written = 0;
        WriteFile(f, page.data(), 4096, &written, nullptr);
        CloseHandle(f);
    }
    chosen = dir / "maly\\lista.txt";
    dir.WriteFile("maly\\lista.txt", "9 bajtow.");
    const std::string header(6000, 'n');
    const std::string failure = Save(Options(TNumbering::nmNone, header), {"a.txt"});
    EXPECT_TRUE(failure == "I/O error 112" || failure == "Disk full") << failure;
    EXPECT_EQ(Bytes(), "9 bajtow.");

    // A file the save made: removed, the page it took free again.
    DeleteFileA(filler.c_str());
    chosen = dir / "maly\\nowy.txt";
    const std::string second = Save(Options(TNumbering::nmNone, header), {"a.txt"});
    EXPECT_TRUE(second == "I/O error 112" || second == "Disk full") << second;
    EXPECT_FALSE(FileExists(chosen));
    chosen = dir / "maly\\lista.txt";
    EXPECT_EQ(Save(Options(TNumbering::nmNone, std::string(4000, 'm')), {"a.txt"}), "");
    EXPECT_EQ(Bytes(), "9 bajtow.\r\n" + std::string(4000, 'm') + "\r\n a.txt\r\n");
}

TEST_F(SaveListingTest, AFullCharacterDeviceFailsAtTheFirstLine)
{
    // The Unix full device: a character device, so the first line goes out at once, and fails.
    chosen = "Z:\\dev\\full";
    if (!IsExistingFile(chosen))
        GTEST_SKIP() << "no full device on this system";
    SetListingCounter(3);
    EXPECT_EQ(Save(Options(TNumbering::nmCommon), {"a", "b"}), "I/O error 112");
    EXPECT_EQ(ListingCounter(), 4);  // the line that failed was counted
    EXPECT_EQ(Save(Options(TNumbering::nmCommon, "H")), "I/O error 112");  // the gap already fails
    EXPECT_EQ(ListingCounter(), 4);
    EXPECT_FALSE(ListingFile().Writing());
}

TEST_F(SaveListingTest, OptionsAndListAreReadOnceTheDialogIsConfirmed)
{
    chosen = dir / "a.txt";
    bool dialogDone = false;
    SaveFileNameFunction = [&](OPENFILENAMEA* r) -> BOOL {
        std::memcpy(r->lpstrFile, chosen.c_str(), chosen.size() + 1);
        return dialogDone = true;
    };
    ListingOptions options = Options(TNumbering::nmCommon);
    options.Source = TListingSource::lsDirectories;
    std::vector<std::string> order;
    SaveListing(
        dialog,
        [&] {
            order.push_back(dialogDone ? "options after the dialog" : "options before");
            return options;
        },
        [&](TListingSource source) {
            order.push_back(source == TListingSource::lsDirectories ? "directories" : "files");
            return std::make_unique<TStringListingItems>(Items{"[..]", "[podkatalog]"});
        });
    EXPECT_EQ(order, (std::vector<std::string>{"options after the dialog", "directories"}));
    EXPECT_EQ(Bytes(), "1 [..]\r\n2 [podkatalog]\r\n");
}
