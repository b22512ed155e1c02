// Drive and directory tests against real folders, files and drives of the Wine prefix.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "setup/Paths.h"
#include "setup/RunState.h"

namespace {

std::string TempFolder(const char* Name) {
    char Base[MAX_PATH];
    GetTempPathA(MAX_PATH, Base);
    std::string Path = PathJoin(Base, Name);
    CreateDirectoryA(Path.c_str(), nullptr);
    return Path;
}

std::string CurrentDir() {
    char Buffer[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, Buffer);
    return Buffer;
}

void MakeFile(const std::string& Path) {
    HANDLE File = CreateFileA(Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(File, INVALID_HANDLE_VALUE);
    CloseHandle(File);
}

} // namespace

TEST(DriveExists, AnswersByDriveTypeAboveZero) {
    struct {
        char Letter;
        bool Expected;
    } Cases[] = {
        {'C', true},
        {'c', true},
        {'Z', true},
        // A letter without a volume is DRIVE_NO_ROOT_DIR (1): still "present".
        {'Q', true},
        {'q', true},
        {'1', false},
        {':', false},
        {'\\', false},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(DriveExists(Case.Letter), Case.Expected) << "drive " << Case.Letter;
}

TEST(DirExists, TableOfPaths) {
    const std::string Folder = TempFolder("pv-direxists");
    const std::string File = PathJoin(Folder, "plain.txt");
    MakeFile(File);
    struct {
        std::string Path;
        bool Expected;
    } Cases[] = {
        {Folder, true},
        {Folder + "\\", true},
        {Folder + "\\*.*", true}, // wildcards: the directory part is tested
        {Folder + "\\nothing\\*.txt", false},
        {File, false}, // a plain file is not a directory
        {File + "\\", false},
        {Folder + "\\missing", false},
        {"", false},
        {"*.txt", false}, // wildcards and no directory part
        {"C:", true},
        {"C:\\", true},
        {"c:\\", true},
        {"Q:", true}, // judged by the drive letter alone
        {"Qx", true},
        {"1ab", false}, // a digit first
        {"C:\\windows", true},
        {"C:\\WINDOWS\\", true},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(DirExists(Case.Path), Case.Expected) << Case.Path;
}

TEST(MakeDestDir, ExistingNewAndMissingParent) {
    const std::string Base = TempFolder("pv-makedest");
    const std::string Start = CurrentDir();

    // An existing directory: true at once; neither DestDir nor the current directory moves.
    DestDir = "unchanged";
    EXPECT_TRUE(MakeDestDir(Base));
    EXPECT_EQ(DestDir, "unchanged");
    EXPECT_EQ(CurrentDir(), Start);

    // A new directory: created, entered, kept in DestDir exactly as given.
    const std::string Fresh = PathJoin(Base, "fresh");
    RemoveDirectoryA(Fresh.c_str());
    EXPECT_TRUE(MakeDestDir(Fresh));
    EXPECT_EQ(DestDir, Fresh);
    EXPECT_TRUE(DirExists(Fresh));
    EXPECT_STRCASEEQ(CurrentDir().c_str(), Fresh.c_str());

    // Two missing levels: only the last is ever created, so this fails and changes nothing.
    SetCurrentDirectoryA(Start.c_str());
    DestDir = "unchanged";
    const std::string Deep = PathJoin(Base, "absent\\deeper");
    EXPECT_FALSE(MakeDestDir(Deep));
    EXPECT_EQ(DestDir, "unchanged");
    EXPECT_FALSE(DirExists(PathJoin(Base, "absent")));
    EXPECT_EQ(CurrentDir(), Start);
}

TEST(FileExists, FilesOnly) {
    const std::string Folder = TempFolder("pv-fileexists");
    const std::string File = PathJoin(Folder, "x.bin");
    MakeFile(File);
    EXPECT_TRUE(FileExists(File));
    EXPECT_FALSE(FileExists(Folder));
    EXPECT_FALSE(FileExists(PathJoin(Folder, "missing.bin")));
}
