// The DEVNAMES block: its layout as the print dialog is given it, and reading one back safely.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/dev_names.h"

namespace {

TEST(DevNames, OffsetsThenTheThreeTextsEachTerminated)
{
    const std::vector<unsigned char> block = BuildDevNames({"winspool", "Laser", "LPT1:"});
    ASSERT_EQ(block.size(), 8u + 8 + 5 + 5 + 3);
    const std::vector<unsigned char> header(block.begin(), block.begin() + 8);
    EXPECT_EQ(header, (std::vector<unsigned char>{8, 0, 17, 0, 23, 0, 0, 0}));
    EXPECT_EQ(std::string(block.begin() + 8, block.end()), std::string("winspool\0Laser\0LPT1:\0", 21));
    const TDevNamesTexts back = ReadDevNames(block.data(), block.size());
    EXPECT_EQ(back.Driver, "winspool");
    EXPECT_EQ(back.Device, "Laser");
    EXPECT_EQ(back.Port, "LPT1:");

    // Empty texts are empty strings, not missing ones.
    const std::vector<unsigned char> empty = BuildDevNames({"", "PDF", ""});
    EXPECT_EQ(empty.size(), 8u + 3 + 3);
    EXPECT_EQ(std::vector<unsigned char>(empty.begin(), empty.begin() + 6), (std::vector<unsigned char>{8, 0, 9, 0, 13, 0}));
    EXPECT_EQ(ReadDevNames(empty.data(), empty.size()).Device, "PDF");
}

TEST(DevNames, LongNamesNeedOffsetsAbove255)
{
    const std::string device(700, 'D');
    const std::vector<unsigned char> block = BuildDevNames({std::string(300, 'R'), device, "P"});
    const TDevNamesTexts back = ReadDevNames(block.data(), block.size());
    EXPECT_EQ(back.Driver, std::string(300, 'R'));
    EXPECT_EQ(back.Device, device);
    EXPECT_EQ(back.Port, "P");
}

TEST(DevNames, ReadingNeverLeavesTheBlock)
{
    // Offsets past the end, and a last text without its terminator.
    std::vector<unsigned char> block = {8, 0, 200, 0, 11, 0, 0, 0, 'a', 0, 0, 'x', 'y'};
    const TDevNamesTexts back = ReadDevNames(block.data(), block.size());
    EXPECT_EQ(back.Driver, "a");
    EXPECT_EQ(back.Device, "");
    EXPECT_EQ(back.Port, "xy");
    const TDevNamesTexts tooShort = ReadDevNames(block.data(), 5);
    EXPECT_EQ(tooShort.Driver + tooShort.Device + tooShort.Port, "");
    EXPECT_EQ(ReadDevNames(nullptr, 0).Device, "");
}

}  // namespace
