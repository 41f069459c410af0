// The texts made of what the shell gives for names, and the tree's root and object-type settings.
#include <gtest/gtest.h>

#include "shelltree/shell_names.h"
#include "shelltree/shell_tree_types.h"

TEST(ShellNames, QuestionMarksGoOnlyAfterALeadingQuestionMarkAndDigit)
{
    EXPECT_EQ(CleanDisplayName("?1?2"), "12");
    EXPECT_EQ(CleanDisplayName("?3 Disk?(A:)?"), "3 Disk(A:)");
    EXPECT_EQ(CleanDisplayName("?a?b"), "?a?b");
    EXPECT_EQ(CleanDisplayName("?"), "?");
    EXPECT_EQ(CleanDisplayName("x?1"), "x?1");
    EXPECT_EQ(CleanDisplayName(""), "");
}

TEST(ShellNames, ClassIdNames)
{
    EXPECT_TRUE(IsClassIdName("::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"));
    EXPECT_FALSE(IsClassIdName("C:\\users"));
    EXPECT_FALSE(IsClassIdName("::"));
    EXPECT_FALSE(IsClassIdName(""));
}

TEST(ShellNames, OffsetTextStaysInsideTheFirstItem)
{
    // One 10-byte item holding "abc" at offset 4, then a second item.
    const unsigned char list[] = {10, 0, 9, 9, 'a', 'b', 'c', 0, 'x', 'y', 4, 0, 'z', 'z', 0, 0};
    EXPECT_EQ(OffsetNameText(list, 4), "abc");
    EXPECT_EQ(OffsetNameText(list, 5), "bc");
    // No NUL before the item ends: the text stops at the item's end, not in the next item.
    EXPECT_EQ(OffsetNameText(list, 8), "xy");
    EXPECT_EQ(OffsetNameText(list, 10), "");
    EXPECT_EQ(OffsetNameText(list, 400), "");
    const unsigned char empty[] = {0, 0};
    EXPECT_EQ(OffsetNameText(empty, 0), "");
    EXPECT_EQ(OffsetNameText(nullptr, 0), "");
}

TEST(ShellTreeTypes, RootNamesIgnoreCaseAndDriveLettersGetTheirBackslash)
{
    TRootFolder f{};
    ASSERT_TRUE(FindRootFolder("rfDesktop", f));
    EXPECT_EQ(f, TRootFolder::rfDesktop);
    EXPECT_EQ(RootFolderCsidl(f), 0x00);
    ASSERT_TRUE(FindRootFolder("RFMYCOMPUTER", f));
    EXPECT_EQ(RootFolderCsidl(f), 0x11);
    ASSERT_TRUE(FindRootFolder("rftemplates", f));
    EXPECT_EQ(RootFolderCsidl(f), 0x15);
    ASSERT_TRUE(FindRootFolder("rfControlPanel", f));
    EXPECT_EQ(RootFolderCsidl(f), 0x03);
    EXPECT_FALSE(FindRootFolder("rfDesk", f));
    EXPECT_FALSE(FindRootFolder("rfDesktopX", f));
    EXPECT_FALSE(FindRootFolder("", f));
    EXPECT_FALSE(FindRootFolder("C:\\", f));

    EXPECT_EQ(RootPathText("D:"), "D:\\");
    EXPECT_EQ(RootPathText("D:\\"), "D:\\");
    EXPECT_EQ(RootPathText("C:\\users"), "C:\\users");
    EXPECT_EQ(RootPathText(""), "");
}

TEST(ShellTreeTypes, ObjectTypesMapToEnumerationFlags)
{
    EXPECT_EQ(ObjectTypesFlags({TShellObjectType::otFolders}), 0x20u);
    EXPECT_EQ(ObjectTypesFlags({TShellObjectType::otFolders, TShellObjectType::otNonFolders,
                                TShellObjectType::otHidden}),
              0xE0u);
    EXPECT_EQ(ObjectTypesFlags({}), 0u);
}
