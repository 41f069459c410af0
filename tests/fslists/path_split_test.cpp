// Splitting path texts against a file system in memory: which part is the folder, the mask or the
// file, and where the process's current directory is afterwards.
#include <gtest/gtest.h>

#include "../fuzz/model_file_system.h"
#include "fslists/path_split.h"
#include "runtime/exceptions.h"

namespace {

class PathSplit : public ::testing::Test {
protected:
    PathSplit()
    {
        fs.AddFolder("E:\\Windows\\System32");
        fs.AddFolder("E:\\X\\sub");
        fs.AddFile("E:\\Data\\a.txt");
        fs.AddFolder("\\\\server\\share\\docs\\old");
        fs.AddFile("\\\\server\\share\\docs\\d.txt");
        fs.SetCurrent("E:\\X");
    }
    // "D|P|F", D being "-" for none.
    std::string Split(const std::string& text)
    {
        const TSplitPath s = SplitPathText(text, fs);
        return std::string(1, s.drive ? s.drive : '-') + "|" + s.directory + "|" + s.file;
    }
    TModelFileSystem fs;
};

TEST_F(PathSplit, FoldersMasksFilesAndBracketedEntries)
{
    EXPECT_EQ(Split("E:\\Windows"), "E|\\Windows|");
    EXPECT_EQ(Split("E:\\"), "E|\\|");
    EXPECT_EQ(Split("E:\\Data\\*.txt"), "E|\\Data|*.txt");
    EXPECT_EQ(Split("E:\\Data\\a.txt"), "E|\\Data|a.txt");
    EXPECT_EQ(Split("E:\\Windows\\"), "E|\\Windows|");
    EXPECT_EQ(Split("\\\\server\\share\\docs"), "-|\\\\server\\share\\docs|");
    EXPECT_EQ(Split("\\\\server\\share\\docs\\d.txt"), "-|\\\\server\\share\\docs|d.txt");
    EXPECT_EQ(Split("[sub]"), "E|\\X\\sub|");
    EXPECT_EQ(Split("E:"), "E|\\X|");  // the drive's current folder
    EXPECT_EQ(fs.CurrentFolder(), "E:\\X");
}

TEST_F(PathSplit, RelativeTextInANetworkFolderIsTakenFromThatFolder)
{
    // Not from the share's root, and never run into the share's name.
    fs.SetCurrent("\\\\server\\share\\docs");
    EXPECT_EQ(Split("*.txt"), "-|\\\\server\\share\\docs|*.txt");
    EXPECT_EQ(Split("old\\*.txt"), "-|\\\\server\\share\\docs\\old|*.txt");
    EXPECT_EQ(Split("..\\docs"), "-|\\\\server\\share\\docs\\..\\docs|");
    EXPECT_EQ(Split("\\docs\\old"), "-|\\\\server\\share\\docs\\old|");
    EXPECT_EQ(fs.CurrentFolder(), "\\\\server\\share\\docs");
    fs.SetCurrent("\\\\server\\share\\");
    EXPECT_EQ(Split("docs\\old"), "-|\\\\server\\share\\docs\\old|");
}

TEST_F(PathSplit, AFolderThatCannotBeEnteredFailsAndLeavesTheCurrentDirectory)
{
    try {
        SplitPathText("E:\\Nowhere\\deeper", fs);
        FAIL() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), TModelFileSystem::kFileNotFound);
    }
    EXPECT_THROW(SplitPathText("E:\\Nowhere", fs), EInOutError);
    EXPECT_THROW(SplitPathText("E:\\Data\\a.txt\\x", fs), EInOutError);  // a file is no folder
    EXPECT_EQ(fs.CurrentFolder(), "E:\\X");
}

}  // namespace
