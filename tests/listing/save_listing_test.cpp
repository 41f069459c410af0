// The save command end to end, with the platform's dialog answered at its seam: the exact bytes of new
// and appended listings, the failures with their messages, and what a cancel leaves alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "listing/listing_composition.h"
#include "listing/save_listing.h"
#include "printing/save_dialog.h"
#include "runtime/exceptions.h"
#include "temp_dir.h"

using namespace std::string_literals;

namespace {

const std::vector<std::string> kItems{"alfa.txt", "beta.txt", "gamma.txt"};

ListingOptions Options(TNumbering numbering, const std::string& header = "",
                       THeaderSpacing spacing = THeaderSpacing::hsWithGap, int start = 0)
{
    ListingOptions o;
    o.Numbering = numbering;
    o.Header = header;
    o.HeaderSpacing = spacing;
    o.StartPosition = start;
    return o;
}

class SaveListingTest : public testing::Test {
protected:
    void SetUp() override
    {
        savedDialog_ = SaveFileNameFunction;
        SaveFileNameFunction = [this](OPENFILENAMEA* r) -> BOOL {
            if (cancel)
                return FALSE;
            std::memset(r->lpstrFile, 0, r->nMaxFile);
            std::memcpy(r->lpstrFile, chosen.data(), std::min<size_t>(chosen.size(), r->nMaxFile - 1));
            return TRUE;
        };
        SetListingCounter(0);
    }
    void TearDown() override
    {
        SaveFileNameFunction = savedDialog_;
        ListingFile().SetWriteFunction(nullptr);
        SetListingCounter(0);
    }

    // One click of the command: the dialog answers with `chosen`, the list holds `items`.
    bool Save(const ListingOptions& options, const std::vector<std::string>& items = kItems)
    {
        return SaveListing(dialog, [&] { return options; },
                           [&](TListingSource source) {
                               sourcesAsked.push_back(source);
                               return std::make_unique<TStringListingItems>(items);
                           });
    }
    // The message of the failure a click ends in, or "" when it succeeds.
    std::string SaveFailure(const ListingOptions& options, const std::vector<std::string>& items = kItems)
    {
        try {
            Save(options, items);
        } catch (const EInOutError& e) {
            return e.what();
        }
        return "";
    }

    TempDir dir;
    TSaveDialog dialog{nullptr};
    std::string chosen;
    bool cancel = false;
    std::vector<TListingSource> sourcesAsked;

private:
    TFileDialogFunction savedDialog_;
};

}  // namespace

TEST_F(SaveListingTest, NewFileThenASecondListingAppended)
{
    chosen = dir / "lista.txt";
    ASSERT_TRUE(Save(Options(TNumbering::nmSeparate, "Lista")));
    const std::string one = "\r\nLista\r\n1 alfa.txt\r\n2 beta.txt\r\n3 gamma.txt\r\n";
    EXPECT_EQ(ReadFileBytes(chosen), one);
    ASSERT_TRUE(Save(Options(TNumbering::nmSeparate, "Lista")));
    EXPECT_EQ(ReadFileBytes(chosen), one + one);
    EXPECT_FALSE(ListingFile().Writing());
}

TEST_F(SaveListingTest, NumberingModesAcrossConsecutiveSaves)
{
    chosen = dir / "wspolna.txt";
    Save(Options(TNumbering::nmCommon), {"a", "b"});
    Save(Options(TNumbering::nmCommon), {"c", "d"});
    EXPECT_EQ(ReadFileBytes(chosen), "1 a\r\n2 b\r\n3 c\r\n4 d\r\n");

    chosen = dir / "oddzielna.txt";
    Save(Options(TNumbering::nmSeparate), {"a", "b"});
    Save(Options(TNumbering::nmSeparate), {"c", "d"});
    EXPECT_EQ(ReadFileBytes(chosen), "1 a\r\n2 b\r\n1 c\r\n2 d\r\n");

    // "nie": a single space before every item, and the counter still goes up.
    SetListingCounter(0);
    chosen = dir / "nie.txt";
    Save(Options(TNumbering::nmNone), {"a", "b"});
    EXPECT_EQ(ListingCounter(), 2);
    Save(Options(TNumbering::nmNone), {"c", "d"});
    EXPECT_EQ(ListingCounter(), 4);
    Save(Options(TNumbering::nmCommon), {"e"});
    EXPECT_EQ(ReadFileBytes(chosen), " a\r\n b\r\n c\r\n d\r\n5 e\r\n");
}

TEST_F(SaveListingTest, HeaderWithAndWithoutGap)
{
    chosen = dir / "a.txt";
    Save(Options(TNumbering::nmSeparate, "Lista", THeaderSpacing::hsWithoutGap), {"x"});
    EXPECT_EQ(ReadFileBytes(chosen), "Lista\r\n1 x\r\n");
    // An empty header: no header line and no gap, whatever the spacing.
    chosen = dir / "b.txt";
    Save(Options(TNumbering::nmSeparate, "", THeaderSpacing::hsWithGap), {"x"});
    EXPECT_EQ(ReadFileBytes(chosen), "1 x\r\n");
    // Spaces make a header.
    chosen = dir / "c.txt";
    Save(Options(TNumbering::nmSeparate, "   ", THeaderSpacing::hsWithGap), {"x"});
    EXPECT_EQ(ReadFileBytes(chosen), "\r\n   \r\n1 x\r\n");
    // Polish letters go into the file as the single bytes of the ANSI code page.
    chosen = dir / "d.txt";
    const std::string polish = "Wykaz plik\xF3w: \xB1\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF \xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF";
    Save(Options(TNumbering::nmNone, polish, THeaderSpacing::hsWithoutGap), {"\xBF\xF3\xB3w.txt"});
    EXPECT_EQ(ReadFileBytes(chosen), polish + "\r\n \xBF\xF3\xB3w.txt\r\n");
    EXPECT_EQ(sourcesAsked.size(), 4u);
}

TEST_F(SaveListingTest, StartPositions)
{
    chosen = dir / "a.txt";
    Save(Options(TNumbering::nmSeparate, "", THeaderSpacing::hsWithGap, 0));
    EXPECT_EQ(ReadFileBytes(chosen), "1 alfa.txt\r\n2 beta.txt\r\n3 gamma.txt\r\n");
    chosen = dir / "b.txt";
    Save(Options(TNumbering::nmSeparate, "", THeaderSpacing::hsWithGap, 2));  // n - 1: the last alone
    EXPECT_EQ(ReadFileBytes(chosen), "1 gamma.txt\r\n");

    // Past the end with no header: a new file is created empty, an existing one keeps its bytes.
    SetListingCounter(9);
    chosen = dir / "pusty.txt";
    ASSERT_TRUE(Save(Options(TNumbering::nmCommon, "", THeaderSpacing::hsWithGap, 3)));
    EXPECT_TRUE(FileExists(chosen));
    EXPECT_EQ(ReadFileBytes(chosen), "");
    chosen = dir / "a.txt";
    Save(Options(TNumbering::nmCommon, "", THeaderSpacing::hsWithGap, 1000));
    EXPECT_EQ(ReadFileBytes(chosen), "1 alfa.txt\r\n2 beta.txt\r\n3 gamma.txt\r\n");
    EXPECT_EQ(ListingCounter(), 9);
    // Past the end with a header: the gap and the header only; an empty list is the same.
    Save(Options(TNumbering::nmCommon, "Nic", THeaderSpacing::hsWithGap, 3));
    Save(Options(TNumbering::nmCommon, "Pusta", THeaderSpacing::hsWithoutGap, 0), {});
    EXPECT_EQ(ReadFileBytes(chosen), "1 alfa.txt\r\n2 beta.txt\r\n3 gamma.txt\r\n\r\nNic\r\nPusta\r\n");
    EXPECT_EQ(ListingCounter(), 9);
}

TEST_F(SaveListingTest, AppendedTextFollowsTheLastByte)
{
    dir.WriteFile("a.txt", "bez konca");
    chosen = dir / "a.txt";
    Save(Options(TNumbering::nmSeparate), {"x"});
    EXPECT_EQ(ReadFileBytes(chosen), "bez konca1 x\r\n");
    dir.WriteFile("b.txt", "bez konca");
    chosen = dir / "b.txt";
    Save(Options(TNumbering::nmSeparate, "H"), {"x"});
    EXPECT_EQ(ReadFileBytes(chosen), "bez konca\r\nH\r\n1 x\r\n");
}

TEST_F(SaveListingTest, AFileWithAnOddTimeStampIsAppendedToNeverEmptied)
{
    dir.WriteFile("stary.txt", "stara tresc\r\n");
    chosen = dir / "stary.txt";
    SYSTEMTIME st{};
    st.wYear = 1975;
    st.wMonth = 1;
    st.wDay = 1;
    FILETIME ft{};
    ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
    HANDLE h = CreateFileA(chosen.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    SetFileTime(h, &ft, &ft, &ft);
    CloseHandle(h);
    Save(Options(TNumbering::nmSeparate), {"x"});
    EXPECT_EQ(ReadFileBytes(chosen), "stara tresc\r\n1 x\r\n");
}

TEST_F(SaveListingTest, MoreThan128BytesGoOutInWholePieces)
{
    std::vector<DWORD> pieces;
    ListingFile().SetWriteFunction([&](HANDLE f, const void* data, DWORD size, DWORD* written) {
        pieces.push_back(size);
        return WriteFile(f, data, size, written, nullptr);
    });
    std::vector<std::string> items;
    std::string expected = "\r\nNag\xB3\xF3wek\r\n";
    for (int i = 0; i < 40; ++i) {
        items.push_back("plik_numer_" + std::to_string(i) + ".txt");
        expected += std::to_string(i + 1) + " " + items.back() + "\r\n";
    }
    chosen = dir / "duzy.txt";
    Save(Options(TNumbering::nmCommon, "Nag\xB3\xF3wek"), items);
    EXPECT_EQ(ReadFileBytes(chosen), expected);
    ASSERT_EQ(pieces.size(), expected.size() / 128 + 1);
    for (size_t i = 0; i + 1 < pieces.size(); ++i)
        EXPECT_EQ(pieces[i], 128u);
    EXPECT_EQ(pieces.back(), expected.size() % 128);
}

TEST_F(SaveListingTest, CancelChangesNothing)
{
    dir.WriteFile("a.txt", "tresc");
    chosen = dir / "a.txt";
    cancel = true;
    SetListingCounter(5);
    EXPECT_FALSE(Save(Options(TNumbering::nmSeparate, "Lista")));
    EXPECT_EQ(ListingCounter(), 5);  // not even the reset of "tak,oddzielna"
    EXPECT_EQ(ReadFileBytes(chosen), "tresc");
    chosen = dir / "nowy.txt";
    EXPECT_FALSE(Save(Options(TNumbering::nmCommon)));
    EXPECT_FALSE(FileExists(chosen));
    EXPECT_TRUE(sourcesAsked.empty());
    EXPECT_EQ(ListingCounter(), 5);
}

TEST_F(SaveListingTest, FailuresToOpenAndTheirMessages)
{
    SetListingCounter(7);
    chosen = dir / "brak\\lista.txt";
    EXPECT_EQ(SaveFailure(Options(TNumbering::nmCommon, "H")), "Invalid filename");
    EXPECT_EQ(ListingCounter(), 7);

    dir.MakeDir("folder.txt");  // a folder of that name is no file: creating it is refused
    chosen = dir / "folder.txt";
    EXPECT_EQ(SaveFailure(Options(TNumbering::nmCommon)), "File access denied");

    // Held open for writing by another handle: a sharing violation, told by its number.
    dir.WriteFile("zajety.txt", "cudzy");
    chosen = dir / "zajety.txt";
    HANDLE other = CreateFileA(chosen.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(SaveFailure(Options(TNumbering::nmSeparate)), "I/O error 32");
    CloseHandle(other);
    EXPECT_EQ(ReadFileBytes(chosen), "cudzy");
    // "tak,oddzielna" had restarted the counter before the file was opened.
    EXPECT_EQ(ListingCounter(), 0);

    // Nothing was left open: the next save works.
    chosen = dir / "dobry.txt";
    EXPECT_EQ(SaveFailure(Options(TNumbering::nmCommon), {"x"}), "");
    EXPECT_EQ(ReadFileBytes(chosen), "1 x\r\n");
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
    EXPECT_EQ(SaveFailure(Options(TNumbering::nmCommon)), "File access denied");
    EXPECT_EQ(ReadFileBytes(chosen), "stare");
}

TEST_F(SaveListingTest, AFileTheUserMayNotChangeIsRefused)
{
    // A kernel attribute file: it exists and no user, not even root, may open it for writing.
    chosen = "Z:\\sys\\kernel\\address_bits";
    if (!IsExistingFile(chosen))
        GTEST_SKIP() << "no such file on this system";
    EXPECT_EQ(SaveFailure(Options(TNumbering::nmCommon)), "File access denied");
}

TEST_F(SaveListingTest, AFailedWriteClosesTheFileAndKeepsWhatWasWritten)
{
    int writes = 0;
    ListingFile().SetWriteFunction([&](HANDLE f, const void* data, DWORD size, DWORD* written) -> BOOL {
        if (++writes == 2) {  // the disk fills up at the second piece
            SetLastError(ERROR_DISK_FULL);
            return FALSE;
        }
        return WriteFile(f, data, size, written, nullptr);
    });
    std::vector<std::string> items;
    for (int i = 0; i < 30; ++i)
        items.push_back("pozycja_" + std::to_string(i));  // 10 to 14 bytes a line with its number
    chosen = dir / "pelny.txt";
    SetListingCounter(100);
    EXPECT_EQ(SaveFailure(Options(TNumbering::nmCommon), items), "I/O error 112");
    // Lines went out up to the one that filled the second piece; every increment was kept.
    const std::string written = ReadFileBytes(chosen);
    ASSERT_EQ(written.size(), 128u);
    EXPECT_EQ(written.substr(0, 16), "101 pozycja_0\r\n1");
    int lines = 0;
    std::string all;
    for (int i = 0; all.size() < 256; ++i, ++lines)
        all += std::to_string(101 + i) + " " + items[static_cast<size_t>(i)] + "\r\n";
    EXPECT_EQ(ListingCounter(), 100 + lines);
    EXPECT_EQ(written, all.substr(0, 128));
    EXPECT_FALSE(ListingFile().Writing());
    HANDLE exclusive = CreateFileA(chosen.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(exclusive, INVALID_HANDLE_VALUE);  // not left open
    CloseHandle(exclusive);

    // The next save starts clean and adds after the bytes that reached the disk.
    ListingFile().SetWriteFunction(nullptr);
    EXPECT_EQ(SaveFailure(Options(TNumbering::nmSeparate), {"dalej"}), "");
    EXPECT_EQ(ReadFileBytes(chosen), all.substr(0, 128) + "1 dalej\r\n");
}

TEST_F(SaveListingTest, AFailedCloseClosesTheFileAnyway)
{
    int writes = 0;
    ListingFile().SetWriteFunction([&](HANDLE f, const void* data, DWORD size, DWORD* written) -> BOOL {
        if (++writes == 2) {
            SetLastError(ERROR_DISK_FULL);
            return FALSE;
        }
        return WriteFile(f, data, size, written, nullptr);
    });
    chosen = dir / "a.txt";
    // 130 bytes: one piece while writing, the last two at the close, which fails.
    EXPECT_EQ(SaveFailure(Options(TNumbering::nmNone), {std::string(127, 'z')}), "I/O error 112");
    EXPECT_EQ(ReadFileBytes(chosen), " " + std::string(127, 'z'));
    EXPECT_FALSE(ListingFile().Writing());
    EXPECT_EQ(ListingCounter(), 1);
}

TEST_F(SaveListingTest, ACharacterDeviceThatIsFullFailsAtTheFirstLine)
{
    // The Unix full device: every write fails with "disk full", and it is a character device, so the
    // first line is written at once and fails at once.
    chosen = "Z:\\dev\\full";
    if (!IsExistingFile(chosen))
        GTEST_SKIP() << "no full device on this system";
    SetListingCounter(3);
    EXPECT_EQ(SaveFailure(Options(TNumbering::nmCommon), {"a", "b", "c"}), "I/O error 112");
    EXPECT_EQ(ListingCounter(), 4);  // the line that failed was counted
    EXPECT_FALSE(ListingFile().Writing());
    EXPECT_EQ(SaveFailure(Options(TNumbering::nmCommon, "H"), {"a"}), "I/O error 112");  // the gap already fails
    EXPECT_EQ(ListingCounter(), 4);
}

TEST_F(SaveListingTest, TheChosenListIsAskedForOnceTheDialogIsConfirmed)
{
    chosen = dir / "a.txt";
    ListingOptions options = Options(TNumbering::nmCommon);
    options.Source = TListingSource::lsDirectories;
    int optionReads = 0;
    bool dialogDone = false;
    SaveFileNameFunction = [&](OPENFILENAMEA* r) -> BOOL {
        EXPECT_EQ(optionReads, 0);  // not read before the dialog
        std::memcpy(r->lpstrFile, chosen.c_str(), chosen.size() + 1);
        dialogDone = true;
        return TRUE;
    };
    ASSERT_TRUE(SaveListing(
        dialog,
        [&] {
            EXPECT_TRUE(dialogDone);
            ++optionReads;
            return options;
        },
        [&](TListingSource source) {
            EXPECT_EQ(source, TListingSource::lsDirectories);
            return std::make_unique<TStringListingItems>(std::vector<std::string>{"[..]", "[podkatalog]"});
        }));
    EXPECT_EQ(optionReads, 1);
    EXPECT_EQ(ReadFileBytes(chosen), "1 [..]\r\n2 [podkatalog]\r\n");
}
