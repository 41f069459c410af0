// Texts the runtime derives for the user: I/O messages, the title, the full-stop rule, formatting.
#include <gtest/gtest.h>

#include "runtime/ansi_case.h"
#include "runtime/app_texts.h"
#include "runtime/exceptions.h"
#include "runtime/format.h"
#include "runtime/io_result.h"

TEST(InOutErrorMessage, FixedTextsAndTheNumberedRest)
{
    EXPECT_EQ(InOutErrorMessage(2), "File not found");
    EXPECT_EQ(InOutErrorMessage(3), "Invalid filename");
    EXPECT_EQ(InOutErrorMessage(4), "Too many open files");
    EXPECT_EQ(InOutErrorMessage(5), "File access denied");
    EXPECT_EQ(InOutErrorMessage(100), "Read beyond end of file");
    EXPECT_EQ(InOutErrorMessage(101), "Disk full");
    EXPECT_EQ(InOutErrorMessage(106), "Invalid numeric input");
    // Raw system codes are not translated: a sharing violation and a full disk as the system reports them.
    EXPECT_EQ(InOutErrorMessage(32), "I/O error 32");
    EXPECT_EQ(InOutErrorMessage(112), "I/O error 112");
    EXPECT_EQ(InOutErrorMessage(103), "I/O error 103");
    EXPECT_EQ(InOutErrorMessage(-1), "I/O error -1");
}

TEST(InOutErrorMessage, CheckRaisesWithCodeAndClearsNothingOnZero)
{
    EXPECT_NO_THROW(CheckInOutResult(0));
    try {
        CheckInOutResult(32);
        FAIL() << "no exception";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), 32);
        EXPECT_STREQ(e.what(), "I/O error 32");
    }
}

TEST(TitleFromExeName, NameWithoutFolderAndExtensionFirstLetterKept)
{
    EXPECT_EQ(TitleFromExeName("C:\\Program Files\\Orvand\\Orvand.exe"), "Orvand");
    EXPECT_EQ(TitleFromExeName("C:\\PROG\\ORVAND.EXE"), "Orvand");
    // Everything from the first full stop on goes, not only the extension.
    EXPECT_EQ(TitleFromExeName("Z:\\a.b\\MY.PROG.EXE"), "My");
    EXPECT_EQ(TitleFromExeName("x.exe"), "x");
    EXPECT_EQ(TitleFromExeName("C:\\\xA3\xA5KA.EXE"), "\xA3\xB9ka");  // Polish letters in code page 1250
}

TEST(MessageWithFullStop, AddedOnlyAfterCharactersAboveTheFullStop)
{
    EXPECT_EQ(MessageWithFullStop("File not found"), "File not found.");
    EXPECT_EQ(MessageWithFullStop("I/O error 32"), "I/O error 32.");
    EXPECT_EQ(MessageWithFullStop("Done."), "Done.");
    EXPECT_EQ(MessageWithFullStop("Really?"), "Really?.");  // '?' is above '.'
    EXPECT_EQ(MessageWithFullStop("Path \"C:\\\""), "Path \"C:\\\"");  // '"' is below '.'
    EXPECT_EQ(MessageWithFullStop("Koniec -"), "Koniec -");
    EXPECT_EQ(MessageWithFullStop("b\xB3\xB9"), "b\xB3\xB9.");  // bytes above 0x7F count as above
    EXPECT_EQ(MessageWithFullStop(""), "");
}

TEST(Format, FormatsLongTextsWhole)
{
    EXPECT_EQ(Format("I/O error %d", 5), "I/O error 5");
    const std::string longText(1000, 'x');
    EXPECT_EQ(Format("Error setting path: \"%s\"", longText.c_str()), "Error setting path: \"" + longText + "\"");
}

TEST(AnsiLowerCase, LowersAsciiAndCentralEuropeanLetters)
{
    EXPECT_EQ(AnsiLowerCase("ABC xyz 123"), "abc xyz 123");
#ifndef _WIN32
    EXPECT_EQ(AnsiLowerCase("\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF"), "\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF");
#endif
}
