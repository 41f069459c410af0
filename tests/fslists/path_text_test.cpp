// What the lists decide from texts alone: path parts, masks, the shortened label text, which entries
// become which items, the directory list's chain of ancestors, the paths they stand for and where they
// are drawn.
#include <gtest/gtest.h>

#include "fslists/directory_items.h"
#include "fslists/file_type.h"
#include "fslists/path_text.h"

namespace {

std::vector<std::string> Texts(const std::vector<TDirectoryItem>& items)
{
    std::vector<std::string> texts;
    for (const auto& i : items)
        texts.push_back(i.text);
    return texts;
}

using Strings = std::vector<std::string>;

}  // namespace

TEST(PathText, PartsOfDrivePathsNetworkPathsAndBareNames)
{
    EXPECT_EQ(JoinPath("E:\\", "a.txt"), "E:\\a.txt");
    EXPECT_EQ(JoinPath("E:\\Data", "a.txt"), "E:\\Data\\a.txt");
    EXPECT_EQ(JoinPath("", "a.txt"), "\\a.txt");

    EXPECT_EQ(DrivePart("E:\\Data\\a.txt"), "E:");
    EXPECT_EQ(DrivePart("e:"), "e:");
    EXPECT_EQ(DrivePart("\\\\server\\share\\docs\\x"), "\\\\server\\share");
    EXPECT_EQ(DrivePart("\\\\server\\share"), "\\\\server\\share");
    EXPECT_EQ(DrivePart("\\Data"), "");
    EXPECT_EQ(DrivePart("a.txt"), "");

    EXPECT_EQ(FileNamePart("E:\\Data\\a.txt"), "a.txt");
    EXPECT_EQ(FileNamePart("E:a.txt"), "a.txt");
    EXPECT_EQ(FileNamePart("E:\\Data\\"), "");
    EXPECT_EQ(FolderPart("E:\\Data\\a.txt"), "E:\\Data\\");

    EXPECT_EQ(ExtensionPart("E:\\Data\\a.b.TXT"), ".TXT");
    EXPECT_EQ(ExtensionPart("E:\\v1.0\\readme"), "");  // a dot in a folder name is no extension
    EXPECT_EQ(ExtensionPart("noext"), "");

    EXPECT_EQ(PathDepth("E:\\"), 1);
    EXPECT_EQ(PathDepth("E:\\Windows\\System32"), 2);
    EXPECT_EQ(PathDepth("\\\\server\\share\\docs"), 4);
}

TEST(PathText, MaskSplitsAtEverySemicolonKeepingEmptyPatterns)
{
    EXPECT_EQ(SplitMask("*.*"), Strings({"*.*"}));
    EXPECT_EQ(SplitMask("*.txt;*.exe"), Strings({"*.txt", "*.exe"}));
    EXPECT_EQ(SplitMask(";"), Strings({"", ""}));
    EXPECT_EQ(SplitMask(""), Strings({""}));
    EXPECT_EQ(SplitMask("a;;b;"), Strings({"a", "", "b", ""}));
    EXPECT_TRUE(HasWildcards("a?.txt"));
    EXPECT_FALSE(HasWildcards("a.txt"));
}

TEST(PathText, DropFirstFolderShortensStepByStep)
{
    EXPECT_EQ(DropFirstFolder("\\A\\B\\K\\"), "\\...\\B\\K\\");
    EXPECT_EQ(DropFirstFolder("\\...\\B\\K\\"), "\\...\\K\\");
    EXPECT_EQ(DropFirstFolder("\\...\\K\\"), "\\...\\");
    EXPECT_EQ(DropFirstFolder("...\\"), "");
    EXPECT_EQ(DropFirstFolder("\\"), "");
    EXPECT_EQ(DropFirstFolder("A\\B\\"), "...\\B\\");
}

TEST(PathText, ShortenPathToWidthDropsFoldersThenTheDrive)
{
    // One pixel a character makes every step visible.
    const auto width = [](const std::string& s) { return static_cast<int>(s.size()); };
    const std::string path = "E:\\Alpha\\Beta\\Kappa\\name";  // 24 characters
    EXPECT_EQ(ShortenPathToWidth(path, width, 100), path);
    EXPECT_EQ(ShortenPathToWidth(path, width, 24), path);
    EXPECT_EQ(ShortenPathToWidth(path, width, 23), "E:\\...\\Beta\\Kappa\\name");
    EXPECT_EQ(ShortenPathToWidth(path, width, 22), "E:\\...\\Beta\\Kappa\\name");
    EXPECT_EQ(ShortenPathToWidth(path, width, 21), "E:\\...\\Kappa\\name");
    EXPECT_EQ(ShortenPathToWidth(path, width, 16), "E:\\...\\name");
    EXPECT_EQ(ShortenPathToWidth(path, width, 10), "...\\name");
    EXPECT_EQ(ShortenPathToWidth(path, width, 7), "name");
    EXPECT_EQ(ShortenPathToWidth(path, width, 0), "name");  // the name itself is never cut
    EXPECT_EQ(ShortenPathToWidth("\\\\srv\\shr\\docs\\x", width, 12), "\\...\\docs\\x");
    EXPECT_EQ(ShortenPathToWidth("\\\\srv\\shr\\docs\\x", width, 5), "...\\x");
    EXPECT_EQ(ShortenPathToWidth("\\\\srv\\shr\\docs\\x", width, 1), "x");
}

TEST(FileListEntries, SearchDropsUnaskedKindsAndTheListTakesNormalOrSharedBits)
{
    const TFileType normal{TFileAttr::ftNormal};
    EXPECT_TRUE(FileListItem("a.txt", 0x21, normal, true));  // read-only and archive never drop a file
    EXPECT_FALSE(FileListItem(".h", 0x02, normal, true));
    EXPECT_FALSE(FileListItem("sub", 0x30, normal, true));
    // Hidden asked for, but a hidden folder is still dropped unless folders are asked for too.
    const TFileType hidden{TFileAttr::ftHidden, TFileAttr::ftNormal};
    EXPECT_TRUE(FileListItem(".h", 0x02, hidden, false));
    EXPECT_FALSE(FileListItem(".d", 0x12, hidden, false));
    EXPECT_EQ(SearchAttributes(TFileType{TFileAttr::ftReadOnly, TFileAttr::ftHidden, TFileAttr::ftSystem,
                                         TFileAttr::ftVolumeID, TFileAttr::ftDirectory, TFileAttr::ftArchive,
                                         TFileAttr::ftNormal}),
              0x3Fu);
}

TEST(FileListEntries, FolderEntriesInBracketsAndGlyphsByExtension)
{
    const TFileType dirs{TFileAttr::ftDirectory, TFileAttr::ftNormal};
    auto sub = FileListItem("sub", 0x10, dirs, true);
    ASSERT_TRUE(sub);
    EXPECT_EQ(sub->text, "[sub]");
    EXPECT_EQ(sub->glyph, TFileGlyph::fgFolder);
    EXPECT_EQ(FileListItem("..", 0x10, dirs, true)->text, "[..]");
    // The folder glyph only when glyphs are shown at the time of reading; file glyphs always.
    EXPECT_EQ(FileListItem("sub", 0x10, dirs, false)->glyph, TFileGlyph::fgNone);
    EXPECT_EQ(FileListItem("X.EXE", 0x20, dirs, false)->glyph, TFileGlyph::fgProgram);
    for (const char* name : {"a.exe", "b.Com", "c.BAT", "d.pif"})
        EXPECT_EQ(FileListItem(name, 0x20, dirs, true)->glyph, TFileGlyph::fgProgram) << name;
    for (const char* name : {"a.exe.txt", "exe", "a.ex", "a.exe_"})
        EXPECT_EQ(FileListItem(name, 0x20, dirs, true)->glyph, TFileGlyph::fgOtherFile) << name;
    // The text is the name as given, letter case and all.
    EXPECT_EQ(FileListItem("A.TXT", 0x20, dirs, true)->text, "A.TXT");
}

TEST(DirectoryItems, ChainOfADeepFolderADriveRootAndNetworkFolders)
{
    auto deep = DirectoryChainItems("E:\\Windows\\System32");
    EXPECT_EQ(Texts(deep), Strings({"E:\\", "Windows", "System32"}));
    EXPECT_EQ(deep[0].glyph, TDirGlyph::dgOpenFolder);
    EXPECT_EQ(deep[1].glyph, TDirGlyph::dgOpenFolder);
    EXPECT_EQ(deep[2].glyph, TDirGlyph::dgCurrentFolder);

    auto root = DirectoryChainItems("E:\\");
    EXPECT_EQ(Texts(root), Strings({"E:\\"}));
    EXPECT_EQ(root[0].glyph, TDirGlyph::dgCurrentFolder);

    auto share = DirectoryChainItems("\\\\server\\share\\docs\\old");
    EXPECT_EQ(Texts(share), Strings({"\\\\server\\share\\", "docs", "old"}));
    EXPECT_EQ(share[0].glyph, TDirGlyph::dgOpenFolder);
    EXPECT_EQ(share[2].glyph, TDirGlyph::dgCurrentFolder);

    auto shareRoot = DirectoryChainItems("\\\\server\\share\\");
    EXPECT_EQ(Texts(shareRoot), Strings({"\\\\server\\share\\"}));
    EXPECT_EQ(shareRoot[0].glyph, TDirGlyph::dgOpenFolder);  // no current-folder item at a share's root

    // The letter case of the path text is kept.
    EXPECT_EQ(Texts(DirectoryChainItems("e:\\WINDOWS\\sys")), Strings({"e:\\", "WINDOWS", "sys"}));
}

TEST(DirectoryItems, AncestorPathsEndBeforeTheNextBackslash)
{
    EXPECT_EQ(AncestorPath("E:\\A\\B\\K", 1), "E:\\A");
    EXPECT_EQ(AncestorPath("E:\\A\\B\\K", 2), "E:\\A\\B");
    EXPECT_EQ(AncestorPath("\\\\server\\share\\A\\B", 1), "\\\\server\\share\\A");
}

TEST(DirectoryItems, AncestorsIndentByFourAndSubfoldersShareOneIndent)
{
    // E:\Windows: the root at 2, Windows at 6, its subfolders at 10; text 4 pixels after a 16-pixel glyph.
    const int depth = PathDepth("E:\\Windows");
    EXPECT_EQ(DirectoryItemPlaces(0, TDirGlyph::dgOpenFolder, depth, 16).glyphLeft, 2);
    EXPECT_EQ(DirectoryItemPlaces(1, TDirGlyph::dgCurrentFolder, depth, 16).glyphLeft, 6);
    EXPECT_EQ(DirectoryItemPlaces(2, TDirGlyph::dgClosedFolder, depth, 16).glyphLeft, 10);
    EXPECT_EQ(DirectoryItemPlaces(7, TDirGlyph::dgClosedFolder, depth, 16).glyphLeft, 10);
    EXPECT_EQ(DirectoryItemPlaces(2, TDirGlyph::dgClosedFolder, depth, 16).textLeft, 30);
    // E:\: the root at 2 and the subfolders at 10.
    EXPECT_EQ(DirectoryItemPlaces(0, TDirGlyph::dgCurrentFolder, PathDepth("E:\\"), 16).glyphLeft, 2);
    EXPECT_EQ(DirectoryItemPlaces(1, TDirGlyph::dgClosedFolder, PathDepth("E:\\"), 16).glyphLeft, 10);
    // An item without a glyph keeps its ancestor indent and a glyph's room.
    EXPECT_EQ(DirectoryItemPlaces(3, TDirGlyph::dgNone, depth, 99).textLeft, 14 + 16 + 4);
}
