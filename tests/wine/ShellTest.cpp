// The shell integration against Wine's own shell link object, registry and process start:
// the shortcut read back from the .lnk file itself, the uninstall entry read back through
// the registry API, and the product started from the success question.
//
// The registry of the bench's prefix outlives each run, so every test works below a key of
// its own, HKCU\Software\PictavornShellTests, and maps HKEY_CURRENT_USER and
// HKEY_LOCAL_MACHINE onto two of its subkeys (RegOverridePredefKey, for this process only).
// Only one test touches the prefix's real Programs folder, and it removes its link again.
#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>
#include <sddl.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/wine/ChildRun.h"
#include "ShellLinkFile.h"
#include "setup/Config.h"
#include "setup/PathText.h"
#include "setup/Registry.h"
#include "setup/RunState.h"
#include "setup/Setup.h"
#include "shell/Shortcut.h"
#include "shell/Uninstall.h"

namespace {

const char TestKeyPath[] = "Software\\PictavornShellTests";
const char ExplorerPath[] = "Software\\microsoft\\windows\\currentversion\\explorer";
const char UninstallPath[] = "Software\\microsoft\\windows\\currentversion\\uninstall";

// ---- files and folders -----------------------------------------------------------------

std::string TestFolder(const std::string& Name) {
    char Base[MAX_PATH];
    GetTempPathA(MAX_PATH, Base);
    const std::string Root = PathJoin(Base, "pv-shell");
    CreateDirectoryA(Root.c_str(), nullptr);
    const std::string Path = PathJoin(Root, Name);
    CreateDirectoryA(Path.c_str(), nullptr);
    return Path;
}

std::vector<std::string> FilesIn(const std::string& Folder) {
    std::vector<std::string> Files;
    WIN32_FIND_DATAA Found;
    const HANDLE Search = FindFirstFileA(PathJoin(Folder, "*").c_str(), &Found);
    if (Search == INVALID_HANDLE_VALUE) return Files;
    do {
        if (!(Found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            Files.push_back(PathJoin(Folder, Found.cFileName));
    } while (FindNextFileA(Search, &Found));
    FindClose(Search);
    return Files;
}

void EmptyFolder(const std::string& Folder) {
    for (const auto& File : FilesIn(Folder))
        DeleteFileA(File.c_str());
}

std::string OwnFolder() {
    char Self[MAX_PATH];
    GetModuleFileNameA(nullptr, Self, MAX_PATH);
    return DirectoryPart(Self);
}

// The stand-in for the installed main program, as DestDir\Pictavorn.Exe.
void InstallStandIn(const std::string& DestFolder) {
    const std::string Source = PathJoin(OwnFolder(), "shell_launched.exe");
    ASSERT_TRUE(CopyFileA(Source.c_str(), PathJoin(DestFolder, "Pictavorn.Exe").c_str(), FALSE))
        << Source;
}

std::string ReadWhole(const std::string& Path) {
    std::ifstream In(Path, std::ios::binary);
    std::stringstream All;
    All << In.rdbuf();
    return All.str();
}

// What the stand-in wrote when it started ("" when it did not within the time).
std::string WaitForLaunch(const std::string& DestFolder, DWORD Milliseconds) {
    const std::string Marker = PathJoin(DestFolder, "Launched.txt");
    for (DWORD Waited = 0; Waited <= Milliseconds; Waited += 100) {
        if (GetFileAttributesA(Marker.c_str()) != INVALID_FILE_ATTRIBUTES) return ReadWhole(Marker);
        Sleep(100);
    }
    return "";
}

std::string Lower(std::string Text) {
    std::transform(Text.begin(), Text.end(), Text.begin(),
                   [](unsigned char C) { return static_cast<char>(std::tolower(C)); });
    return Text;
}

// Reads a .lnk file with our own reader and checks what the shortcut must hold.
void ExpectLink(const std::string& Path, const std::string& Target, const std::string& WorkDir) {
    const std::string Text = ReadWhole(Path);
    TShellLinkFile Link;
    std::string Error;
    ASSERT_TRUE(ParseShellLink(std::vector<uint8_t>(Text.begin(), Text.end()), Link, Error))
        << Path << ": " << Error;
    EXPECT_EQ(Link.ShowCommand, 1u) << Path;
    EXPECT_TRUE(Link.HasLocalBasePath) << Path;
    EXPECT_EQ(Lower(Link.LocalBasePath), Lower(Target)) << Path;
    EXPECT_TRUE(Link.HasWorkingDir) << Path;
    EXPECT_EQ(Link.WorkingDir, WorkDir) << Path;
}

// ---- registry --------------------------------------------------------------------------

bool KeyExists(HKEY Parent, const std::string& Path) {
    HKEY Key;
    if (RegOpenKeyExA(Parent, Path.c_str(), 0, KEY_READ, &Key) != ERROR_SUCCESS) return false;
    RegCloseKey(Key);
    return true;
}

// Every value of a key, name to text; empty when the key is missing.
std::map<std::string, std::string> ValuesOf(HKEY Parent, const std::string& Path) {
    std::map<std::string, std::string> Values;
    HKEY Key;
    if (RegOpenKeyExA(Parent, Path.c_str(), 0, KEY_READ, &Key) != ERROR_SUCCESS) return Values;
    for (DWORD Index = 0;; ++Index) {
        char Name[256];
        DWORD NameSize = sizeof Name;
        if (RegEnumValueA(Key, Index, Name, &NameSize, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        std::string Text = "(not text)";
        ReadRegText(Key, Name, Text);
        Values[Name] = Text;
    }
    RegCloseKey(Key);
    return Values;
}

void SetValue(HKEY Parent, const std::string& Path, const char* Name, const std::string& Text) {
    TRegKey Key;
    ASSERT_EQ(Key.Create(Parent, Path.c_str()), ERROR_SUCCESS) << Path;
    ASSERT_EQ(WriteRegText(Key.Handle(), Name, Text), ERROR_SUCCESS) << Path;
}

bool SetAccess(HKEY Parent, const std::string& Path, const char* Sddl) {
    PSECURITY_DESCRIPTOR Descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(Sddl, SDDL_REVISION_1, &Descriptor,
                                                              nullptr))
        return false;
    HKEY Key;
    LONG Result = RegOpenKeyExA(Parent, Path.c_str(), 0, WRITE_DAC, &Key);
    if (Result == ERROR_SUCCESS) {
        Result = RegSetKeySecurity(Key, DACL_SECURITY_INFORMATION, Descriptor);
        RegCloseKey(Key);
    }
    LocalFree(Descriptor);
    return Result == ERROR_SUCCESS;
}

// Read, but no new values or opening for writing: what a user without administrator rights
// gets for the system's list of removable programs. Deleting and changing the access stay
// allowed, so that the test can clean up.
const char ReadOnlyAccess[] = "D:P(A;;KRWDSD;;;WD)";
const char FullAccess[] = "D:P(A;;KA;;;WD)";

// The test's own registry area: User stands for HKEY_CURRENT_USER and Machine for
// HKEY_LOCAL_MACHINE. With Map set, this process sees them as those two keys.
struct TTestKeys {
    HKEY User = nullptr;
    HKEY Machine = nullptr;
    bool Mapped = false;

    explicit TTestKeys(bool Map) {
        Clear();
        EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(TestKeyPath) + "\\User").c_str(),
                                  0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &User, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER,
                                  (std::string(TestKeyPath) + "\\Machine").c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &Machine, nullptr),
                  ERROR_SUCCESS);
        if (Map) {
            EXPECT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, User), ERROR_SUCCESS);
            EXPECT_EQ(RegOverridePredefKey(HKEY_LOCAL_MACHINE, Machine), ERROR_SUCCESS);
            Mapped = true;
        }
    }
    TTestKeys(const TTestKeys&) = delete;
    TTestKeys& operator=(const TTestKeys&) = delete;
    ~TTestKeys() {
        if (Mapped) {
            RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
            RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        }
        RegCloseKey(User);
        RegCloseKey(Machine);
        Clear();
    }

    // Makes the uninstall list of Machine read-only.
    void LockUninstallList() {
        TRegKey List;
        ASSERT_EQ(List.Create(Machine, UninstallPath), ERROR_SUCCESS);
        List.Close();
        ASSERT_TRUE(SetAccess(Machine, UninstallPath, ReadOnlyAccess));
    }

    // Also after a run that stopped half-way: a locked list is unlocked before deleting.
    static void Clear() {
        const std::string Locked = std::string(TestKeyPath) + "\\Machine\\" + UninstallPath;
        SetAccess(HKEY_CURRENT_USER, Locked, FullAccess);
        RegDeleteTreeA(HKEY_CURRENT_USER, TestKeyPath);
    }
};

// ---- message boxes ---------------------------------------------------------------------

std::vector<std::string> Boxes; // "owner|caption|text", plus "|icon" when it has one
std::vector<HWND> OwnDialogs;   // dialogs of the test's own steps, which are no boxes
char BoxAnswer = 'n';           // for Yes/No boxes
HHOOK BoxHook;

LRESULT CALLBACK AnswerBoxes(int Code, WPARAM WParam, LPARAM LParam) {
    if (Code == HCBT_ACTIVATE) {
        const HWND Box = reinterpret_cast<HWND>(WParam);
        char Class[32] = {}, Caption[256] = {}, Text[1024] = {};
        GetClassNameA(Box, Class, sizeof Class);
        const bool Own = std::find(OwnDialogs.begin(), OwnDialogs.end(), Box) != OwnDialogs.end();
        if (std::string(Class) == "#32770" && GetDlgItem(Box, 0xFFFF) && !Own) {
            GetWindowTextA(Box, Caption, sizeof Caption);
            GetDlgItemTextA(Box, 0xFFFF, Text, sizeof Text);
            const HWND Owner = GetWindow(Box, GW_OWNER);
            const char* OwnerName = !Owner                    ? "none"
                                    : Owner == BackdropWindow ? "backdrop"
                                                              : "other";
            const bool Icon = GetDlgItem(Box, 20) != nullptr;
            Boxes.push_back(std::string(OwnerName) + "|" + Caption + "|" + Text +
                            (Icon ? "|icon" : ""));
            const bool YesNo = GetDlgItem(Box, IDYES) != nullptr;
            const int Answer = !YesNo ? IDOK : BoxAnswer == 'y' ? IDYES : IDNO;
            PostMessageA(Box, WM_COMMAND, MAKEWPARAM(Answer, BN_CLICKED), 0);
        }
    }
    return CallNextHookEx(BoxHook, Code, WParam, LParam);
}

void WatchBoxes() {
    Boxes.clear();
    if (!BoxHook) BoxHook = SetWindowsHookExA(WH_CBT, AnswerBoxes, nullptr, GetCurrentThreadId());
}

const std::string FailureStart =
    "backdrop|Pictavorn|The uninstall entry of Pictavorn could not be written to the "
    "registry:\r\n";
const std::string Question = "none|Pictavorn|Pictavorn has been successfully installed.\r\n"
                             "\r\nDo you wish to run Pictavorn?";

// ---- run state -------------------------------------------------------------------------

// Puts back what a test changed in the configuration and the run state.
struct TKeepConfig {
    std::string Dest = DestDir, Group = GroupName, MainExe = MainExeName;
    GUID Link = Product::CLSID_ShellLink, Persist = Product::IID_IPersistFile;
    HWND Backdrop = BackdropWindow;
    char Current[MAX_PATH] = {};
    TKeepConfig() { GetCurrentDirectoryA(MAX_PATH, Current); }
    TKeepConfig(const TKeepConfig&) = delete;
    TKeepConfig& operator=(const TKeepConfig&) = delete;
    ~TKeepConfig() {
        DestDir = Dest;
        GroupName = Group;
        MainExeName = MainExe;
        Product::CLSID_ShellLink = Link;
        Product::IID_IPersistFile = Persist;
        BackdropWindow = Backdrop;
        SetCurrentDirectoryA(Current);
    }
};

// ---- child side: a whole run with the real shell steps -----------------------------------

std::string ChildDir;
char ChildGroupResult = '1';

template <int Step> INT_PTR CALLBACK ChildDlgProc(HWND Dialog, UINT Message, WPARAM, LPARAM) {
    if (Message != WM_INITDIALOG) return FALSE;
    OwnDialogs.push_back(Dialog);
    if (Step == 0) DestDir = ChildDir; // what an accepted destination leaves behind
    EndDialog(Dialog, Step == 4 ? ChildGroupResult - '0' : 1);
    return FALSE;
}

int ChildMain(const std::string& Dir, char GroupResult, char Answer) {
    ChildDir = Dir;
    ChildGroupResult = GroupResult;
    BoxAnswer = Answer;
    HKEY User, Machine;
    const std::string Root = TestKeyPath;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, (Root + "\\User").c_str(), 0, KEY_ALL_ACCESS, &User) ||
        RegOpenKeyExA(HKEY_CURRENT_USER, (Root + "\\Machine").c_str(), 0, KEY_ALL_ACCESS,
                      &Machine) ||
        RegOverridePredefKey(HKEY_CURRENT_USER, User) ||
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, Machine))
        return 3;
    static const DLGPROC Procs[5] = {ChildDlgProc<0>, ChildDlgProc<1>, ChildDlgProc<2>,
                                     ChildDlgProc<3>, ChildDlgProc<4>};
    for (int Step = 0; Step < 5; ++Step)
        SetupSteps.Dialogs[Step].Procedure = Procs[Step];
    WatchBoxes();
    const int Code = RunSetup();
    WriteEvents(PathJoin(Dir, "boxes.txt"), Boxes);
    ExitProcess(static_cast<UINT>(Code));
}

// ---- parent side -----------------------------------------------------------------------

struct TRun {
    DWORD ExitCode = 99;
    std::vector<std::string> Boxes;
};

TRun RunChild(const std::string& Dir, char GroupResult, char Answer) {
    char Self[MAX_PATH];
    GetModuleFileNameA(nullptr, Self, MAX_PATH);
    const std::string Command =
        std::string("\"") + Self + "\" --child \"" + Dir + "\" " + GroupResult + " " + Answer;
    TRun Run;
    Run.ExitCode = RunAndWait(Command, 60000);
    Run.Boxes = ReadEvents(PathJoin(Dir, "boxes.txt"));
    return Run;
}

std::string Joined(const std::vector<std::string>& Items) {
    std::string Result;
    for (const auto& Item : Items)
        Result += (Result.empty() ? "" : " / ") + Item;
    return Result;
}

} // namespace

TEST(Shortcut, LinkFileAndItsContents) {
    TKeepConfig Keep;
    TTestKeys Keys(true);
    const std::string Programs = TestFolder("Programs");
    const std::string Current = TestFolder("Current");
    const std::string Dest = TestFolder("Dest");
    InstallStandIn(Dest);
    // A folder and a group name that put the link path right at its limit of 254
    // characters.
    const std::string LongFolder = TestFolder(std::string(150, 'L'));
    const std::string LongGroup254(254 - LongFolder.size() - 1 - 4, 'G');
    ASSERT_EQ(PathJoin(LongFolder, LongGroup254 + ".LNK").size(), 254u);
    ASSERT_TRUE(SetCurrentDirectoryA(Current.c_str()));

    enum TFolders { ProgramsValue, LongValue, NoValue, NoShellFolders };
    struct {
        const char* Name;
        TFolders Folders;
        std::string Group;
        std::string Dest;
        std::string Link; // the one file expected in the three folders; "" for none
        std::string Target;
    } Rows[] = {
        {"a link in the Programs folder", ProgramsValue, "Pictavorn", Dest,
         PathJoin(Programs, "Pictavorn.LNK"), PathJoin(Dest, "Pictavorn.Exe")},
        // the Shell Folders key without the value, or no such key at all: the bare file
        // name, in the current directory
        {"no programs value", NoValue, "Pictavorn", Dest, PathJoin(Current, "Pictavorn.LNK"),
         PathJoin(Dest, "Pictavorn.Exe")},
        {"no Shell Folders key", NoShellFolders, "Pictavorn", Dest,
         PathJoin(Current, "Pictavorn.LNK"), PathJoin(Dest, "Pictavorn.Exe")},
        {"an empty group name", ProgramsValue, "", Dest, PathJoin(Programs, ".LNK"),
         PathJoin(Dest, "Pictavorn.Exe")},
        // a trailing backslash stays in the working directory, not doubled in the target
        {"a destination with a trailing backslash", ProgramsValue, "Pictavorn", Dest + "\\",
         PathJoin(Programs, "Pictavorn.LNK"), PathJoin(Dest, "Pictavorn.Exe")},
        {"a link path of 254 characters", LongValue, LongGroup254, Dest,
         PathJoin(LongFolder, LongGroup254 + ".LNK"), PathJoin(Dest, "Pictavorn.Exe")},
        // one more: it converts to the empty path, the save writes nothing, and no shortened
        // name turns up anywhere
        {"a link path of 255 characters", LongValue, LongGroup254 + "G", Dest, "", ""},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        for (const auto& Folder : {Programs, Current, LongFolder})
            EmptyFolder(Folder);
        RegDeleteTreeA(Keys.User, "Software");
        if (Row.Folders == ProgramsValue || Row.Folders == LongValue)
            // stored as a fresh Wine prefix spells it; the program asks for "programs"
            SetValue(Keys.User, std::string(ExplorerPath) + "\\Shell Folders", "Programs",
                     Row.Folders == LongValue ? LongFolder : Programs);
        if (Row.Folders == NoValue)
            SetValue(Keys.User, std::string(ExplorerPath) + "\\Shell Folders", "Cache", "C:\\");
        DestDir = Row.Dest;
        GroupName = Row.Group;

        CreateStartMenuShortcut();

        std::vector<std::string> Written;
        for (const auto& Folder : {Programs, Current, LongFolder})
            for (const auto& File : FilesIn(Folder))
                Written.push_back(File);
        const std::vector<std::string> Expected =
            Row.Link.empty() ? std::vector<std::string>() : std::vector<std::string>{Row.Link};
        EXPECT_EQ(Joined(Written), Joined(Expected));
        if (!Row.Link.empty()) {
            ExpectLink(Row.Link, Row.Target, Row.Dest);
            EXPECT_EQ(GroupName, Row.Group + ".LNK");
        }
        // the explorer key is created when missing
        EXPECT_TRUE(KeyExists(Keys.User, ExplorerPath));
        // COM is uninitialised again: this thread's next CoInitialize is the first
        EXPECT_EQ(CoInitialize(nullptr), S_OK);
        CoUninitialize();
    }
}

TEST(Shortcut, SkippedWhenTheShellLinkCannotBeHad) {
    TKeepConfig Keep;
    TTestKeys Keys(true);
    const std::string Programs = TestFolder("Programs");
    const std::string Dest = TestFolder("Dest");
    EmptyFolder(Programs);
    SetValue(Keys.User, std::string(ExplorerPath) + "\\Shell Folders", "programs", Programs);
    const GUID Unknown = {
        0x7C1E5A20, 0x4B3D, 0x4F1A, {0x9E, 0x61, 0x2D, 0x85, 0x0B, 0x37, 0xC4, 0x19}};
    struct {
        const char* Name;
        GUID* Changed;
    } Rows[] = {
        {"no shell link object", &Product::CLSID_ShellLink},
        {"no IPersistFile", &Product::IID_IPersistFile},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        const GUID Kept = *Row.Changed;
        *Row.Changed = Unknown;
        DestDir = Dest;
        GroupName = "Pictavorn";
        CreateStartMenuShortcut(); // returns quietly, with nothing written
        *Row.Changed = Kept;
        EXPECT_EQ(Joined(FilesIn(Programs)), "");
        EXPECT_EQ(CoInitialize(nullptr), S_OK);
        CoUninitialize();
    }
}

// The prefix's own registry, unmapped: its Shell Folders key stores the value as
// "Programs", and the link lands in the real Programs folder.
TEST(Shortcut, RealProgramsFolderOfThePrefix) {
    TKeepConfig Keep;
    char Folder[MAX_PATH] = {};
    DWORD Size = sizeof Folder;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER,
                           (std::string(ExplorerPath) + "\\Shell Folders").c_str(), "Programs",
                           RRF_RT_REG_SZ, nullptr, Folder, &Size),
              ERROR_SUCCESS);
    const std::string Link = PathJoin(Folder, "Pictavorn Shell Test.LNK");
    const std::string Copy = PathJoin(OwnFolder(), "shell-test.lnk");
    DeleteFileA(Link.c_str());
    DeleteFileA(Copy.c_str());
    const std::string Dest = TestFolder("Dest");
    DestDir = Dest;
    GroupName = "Pictavorn Shell Test";
    CreateStartMenuShortcut();
    ExpectLink(Link, PathJoin(Dest, "Pictavorn.Exe"), Dest);
    // a copy for the cross-check with an independent reader, next to this program
    EXPECT_TRUE(CopyFileA(Link.c_str(), Copy.c_str(), FALSE));
    std::ofstream(PathJoin(OwnFolder(), "shell-test.expected"), std::ios::binary)
        << PathJoin(Dest, "Pictavorn.Exe") << "\n"
        << Dest << "\n";
    EXPECT_TRUE(DeleteFileA(Link.c_str()));
}

TEST(UninstallEntry, ValuesReadBack) {
    TKeepConfig Keep;
    TTestKeys Keys(true);
    const std::string Entry = std::string(UninstallPath) + "\\Pictavorn";
    const std::map<std::string, std::string> Earlier = {
        {"DisplayName", "Pictavorn 0.9"},
        {"UnInstallString", "C:\\Old\\UnInstal.Exe"},
        {"DisplayVersion", "0.9"},
    };
    struct {
        const char* Name;
        std::string Dest;
        bool Existing; // an entry of an earlier installation is there
        std::map<std::string, std::string> Expected;
    } Rows[] = {
        {"a fresh entry",
         "C:\\Program Files\\Pictavorn",
         false,
         {{"DisplayName", "Pictavorn"},
          {"UnInstallString", "C:\\Program Files\\Pictavorn\\UnInstal.Exe"}}},
        {"an earlier entry: its other values stay",
         "D:\\Apps\\Pictavorn",
         true,
         {{"DisplayName", "Pictavorn"},
          {"UnInstallString", "D:\\Apps\\Pictavorn\\UnInstal.Exe"},
          {"DisplayVersion", "0.9"}}},
        {"a drive root",
         "C:\\",
         false,
         {{"DisplayName", "Pictavorn"}, {"UnInstallString", "C:\\UnInstal.Exe"}}},
    };
    WatchBoxes();
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        RegDeleteTreeA(Keys.User, "Software");
        RegDeleteTreeA(Keys.Machine, "Software");
        if (Row.Existing)
            for (const auto& Value : Earlier)
                SetValue(Keys.Machine, Entry, Value.first.c_str(), Value.second);
        DestDir = Row.Dest;

        WriteUninstallEntry();

        EXPECT_EQ(ValuesOf(Keys.Machine, Entry), Row.Expected);
        // the user's key of the same path is there afterwards, and empty
        EXPECT_TRUE(KeyExists(Keys.User, UninstallPath));
        EXPECT_TRUE(ValuesOf(Keys.User, UninstallPath).empty());
        EXPECT_EQ(Joined(Boxes), "");
    }
}

TEST(UninstallEntry, ReadOnlyListIsReported) {
    TKeepConfig Keep;
    TTestKeys Keys(true);
    Keys.LockUninstallList();
    BackdropWindow = CreateWindowExA(0, "STATIC", "backdrop", WS_POPUP, 0, 0, 10, 10, nullptr,
                                     nullptr, nullptr, nullptr);
    DestDir = "C:\\Program Files\\Pictavorn";
    WatchBoxes();
    WriteUninstallEntry(); // returns after the message
    ASSERT_EQ(Boxes.size(), 1u) << Joined(Boxes);
    EXPECT_EQ(Boxes[0].rfind(FailureStart, 0), 0u) << Boxes[0];
    EXPECT_GT(Boxes[0].size(), FailureStart.size()) << "the system's reason follows";
    EXPECT_EQ(Boxes[0].find("|icon"), std::string::npos) << Boxes[0];
    EXPECT_FALSE(KeyExists(Keys.Machine, std::string(UninstallPath) + "\\Pictavorn"));
    DestroyWindow(BackdropWindow);
}

TEST(Launch, StartsTheMainProgramInDestDir) {
    TKeepConfig Keep;
    const std::string Dest = TestFolder("Launch");
    EmptyFolder(Dest);
    InstallStandIn(Dest);
    DestDir = Dest;
    MainExeName = "Pictavorn.Pgm"; // any extension becomes ".Exe"
    BackdropWindow = nullptr;
    LaunchProduct();
    EXPECT_EQ(MainExeName, "Pictavorn.Exe");
    EXPECT_EQ(Lower(WaitForLaunch(Dest, 10000)),
              Lower(PathJoin(Dest, "Pictavorn.Exe") + "\n" + Dest + "\n"));
}

// Whole runs with test dialogs and the real finishing steps: the group dialog's result and
// the answer to the success question, with a writable and a read-only uninstall list.
TEST(Finishing, RunsOfTheSequence) {
    struct {
        const char* Name;
        char GroupResult;
        char Answer;
        bool ReadOnlyList;
        bool Link;
        bool Entry;
        bool Launched;
    } Rows[] = {
        {"OK, then Yes", '1', 'y', false, true, true, true},
        {"Cancel, then No", '0', 'n', false, false, true, false},
        {"a read-only uninstall list", '1', 'n', true, true, false, false},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TTestKeys Keys(false);
        const std::string Programs = TestFolder("Programs");
        const std::string Dest = TestFolder("Run");
        EmptyFolder(Programs);
        EmptyFolder(Dest);
        InstallStandIn(Dest);
        SetValue(Keys.User, std::string(ExplorerPath) + "\\Shell Folders", "Programs", Programs);
        if (Row.ReadOnlyList) Keys.LockUninstallList();

        const TRun Run = RunChild(Dest, Row.GroupResult, Row.Answer);

        EXPECT_EQ(Run.ExitCode, 0u);
        const std::string Link = PathJoin(Programs, "Pictavorn.LNK");
        EXPECT_EQ(Joined(FilesIn(Programs)), Row.Link ? Link : "");
        if (Row.Link) ExpectLink(Link, PathJoin(Dest, "Pictavorn.Exe"), Dest);
        using TValues = std::map<std::string, std::string>;
        const TValues Entry = {{"DisplayName", "Pictavorn"},
                               {"UnInstallString", PathJoin(Dest, "UnInstal.Exe")}};
        EXPECT_EQ(ValuesOf(Keys.Machine, std::string(UninstallPath) + "\\Pictavorn"),
                  Row.Entry ? Entry : TValues());
        EXPECT_TRUE(KeyExists(Keys.User, UninstallPath));
        ASSERT_EQ(Run.Boxes.size(), Row.ReadOnlyList ? 2u : 1u) << Joined(Run.Boxes);
        if (Row.ReadOnlyList) {
            EXPECT_EQ(Run.Boxes[0].rfind(FailureStart, 0), 0u) << Run.Boxes[0];
        }
        EXPECT_EQ(Run.Boxes.back(), Question);
        // the stand-in needs a fraction of a second to start and write its note
        const std::string Launched = WaitForLaunch(Dest, Row.Launched ? 10000 : 1000);
        EXPECT_EQ(Lower(Launched),
                  Row.Launched ? Lower(PathJoin(Dest, "Pictavorn.Exe") + "\n" + Dest + "\n") : "");
    }
}

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "--child")
        return ChildMain(argv[2], argv[3][0], argv[4][0]);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
