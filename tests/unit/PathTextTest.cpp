// Path strings and byte steps.
#include <gtest/gtest.h>

#include "setup/PathText.h"

TEST(PathText, Join) {
    struct {
        const char* Directory;
        const char* Name;
        const char* Expected;
    } Cases[] = {
        {"", "a.txt", "a.txt"},
        {"C:\\", "a.txt", "C:\\a.txt"},
        {"C:\\x", "a.txt", "C:\\x\\a.txt"},
        {"C:", "a.txt", "C:\\a.txt"},
        // nothing else is normalised
        {"C:\\x", "\\a.txt", "C:\\x\\\\a.txt"},
        {"C:/x//y", "a", "C:/x//y\\a"},
        {"C:\\x\\", "", "C:\\x\\"},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(PathJoin(Case.Directory, Case.Name), Case.Expected) << Case.Directory;
}

TEST(PathText, WildcardsAndDirectoryPart) {
    EXPECT_TRUE(HasWildcards("C:\\Windows\\*.*"));
    EXPECT_TRUE(HasWildcards("a?b"));
    EXPECT_FALSE(HasWildcards("C:\\Windows"));
    EXPECT_FALSE(HasWildcards(""));
    EXPECT_EQ(DirectoryPart("A:\\SETUP.EXE"), "A:\\");
    EXPECT_EQ(DirectoryPart("C:\\Windows\\*.*"), "C:\\Windows\\");
    EXPECT_EQ(DirectoryPart("C:SETUP.EXE"), "C:");
    EXPECT_EQ(DirectoryPart("SETUP.EXE"), "");
}

TEST(PathText, ReplaceExtension) {
    struct {
        const char* Name;
        const char* Extension;
        const char* Expected;
    } Cases[] = {
        {"Pictavor.001", ".002", "Pictavor.002"},
        {"Pictavorn.Exe", ".Exe", "Pictavorn.Exe"},
        {"Pictavorn.exe", ".Exe", "Pictavorn.Exe"},
        {"Pictavorn", ".Exe", "Pictavorn.Exe"},
        {"a.b.c", ".Exe", "a.b.Exe"},
        // a dot in a directory is no extension
        {"C:\\dir.x\\prog", ".Exe", "C:\\dir.x\\prog.Exe"},
        {"C:prog", ".Exe", "C:prog.Exe"},
        {"", ".Exe", ".Exe"},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(ReplaceExtension(Case.Name, Case.Extension), Case.Expected) << Case.Name;
}

TEST(PathText, ByteSteps) {
    EXPECT_EQ(ByteMin(255, 0), 0);
    EXPECT_EQ(ByteMin(0, 255), 0);
    EXPECT_EQ(ByteMax(0, 255), 255);
    EXPECT_EQ(ByteMax(255, 0), 255);
    EXPECT_EQ(ByteMin(7, 7), 7);
    EXPECT_EQ(ByteMax(7, 7), 7);
}
