// Installing the product's files end to end: each case lays out disk folders, puts a copy of
// this program with a file table appended on disk 1 as SETUP.EXE, and runs it as a child.
// The child runs RunSetup with the real copying and unpacking dialogs, test procedures for
// the other steps, and a hook that answers the message boxes (and swaps the disks when asked
// to insert the next one). A second thread of the child clicks Cancel when told to.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/wine/ChildRun.h"
#include "tests/wine/MessageBoxes.h"
#include "package/FileTableFormat.h"
#include "package/Unpack.h"
#include "screens/Progress.h"
#include "setup/Config.h"
#include "setup/Paths.h"
#include "setup/RunState.h"
#include "setup/Setup.h"
#include "tools/LzhEncode.h"

namespace {

using TBytes = std::vector<uint8_t>;

TBytes ReadBytes(const std::string& Path) {
    std::ifstream In(Path, std::ios::binary);
    return TBytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& Path, const TBytes& Bytes) {
    std::ofstream Out(Path, std::ios::binary | std::ios::trunc);
    Out.write(reinterpret_cast<const char*>(Bytes.data()),
              static_cast<std::streamsize>(Bytes.size()));
}

int64_t SizeOf(const std::string& Path) {
    WIN32_FILE_ATTRIBUTE_DATA Data;
    if (!GetFileAttributesExA(Path.c_str(), GetFileExInfoStandard, &Data)) return -1;
    return static_cast<int64_t>(Data.nFileSizeHigh) << 32 | Data.nFileSizeLow;
}

std::map<std::string, std::string> ReadSettings(const std::string& Path) {
    std::map<std::string, std::string> Settings;
    std::ifstream In(Path);
    std::string Line;
    while (std::getline(In, Line)) {
        const size_t Cut = Line.find('=');
        if (Cut != std::string::npos) Settings[Line.substr(0, Cut)] = Line.substr(Cut + 1);
    }
    return Settings;
}

std::string HelpDir() {
    char Windows[MAX_PATH] = {};
    GetWindowsDirectoryA(Windows, MAX_PATH);
    return PathJoin(Windows, "Help");
}

// ---- child side ------------------------------------------------------------------------

std::map<std::string, std::string> Settings; // the case's child.txt
std::string CaseDir;
std::vector<std::string> Log;
std::vector<HWND> StepDialogs;
std::atomic<HWND> ProgressDialogs[2];
int ProgressCount = 0;
size_t PromptAt = 0;
HHOOK Hook;
LARGE_INTEGER CopyingOpened = {}, GroupOpened = {};
std::string Writes;
int WriteCount = 0;
std::string WatcherNote;

void Note(const std::string& Event) {
    Log.push_back(Event);
}

const std::string& Setting(const char* Name) {
    return Settings[Name];
}

INT_PTR CALLBACK DestinationStep(HWND Dialog, UINT Message, WPARAM, LPARAM) {
    if (Message != WM_INITDIALOG) return FALSE;
    StepDialogs.push_back(Dialog);
    DestDir = Setting("dest");
    EndDialog(Dialog, 1);
    return FALSE;
}

INT_PTR CALLBACK LicenseStep(HWND Dialog, UINT Message, WPARAM, LPARAM) {
    if (Message != WM_INITDIALOG) return FALSE;
    StepDialogs.push_back(Dialog);
    EndDialog(Dialog, 1);
    return FALSE;
}

INT_PTR CALLBACK GroupStep(HWND Dialog, UINT Message, WPARAM, LPARAM) {
    if (Message != WM_INITDIALOG) return FALSE;
    QueryPerformanceCounter(&GroupOpened);
    StepDialogs.push_back(Dialog);
    Note("group");
    EndDialog(Dialog, 0);
    return FALSE;
}

void RecordWrite(uint32_t Count) {
    if (++WriteCount <= 12)
        Writes += (Writes.empty() ? "" : ",") + std::to_string(Count) + "@" +
                  std::to_string(MeterPercent);
}

std::string OwnerName(HWND Owner) {
    if (!Owner) return "none";
    if (Owner == BackdropWindow) return "backdrop";
    if (Owner == ProgressDialogs[0]) return "copying";
    if (Owner == ProgressDialogs[1]) return "unpacking";
    return "other";
}

// The user at a disk prompt: i inserts the disk and presses OK, o presses OK without it,
// k inserts the disk and then presses Cancel, c presses Cancel.
int AnswerPrompt(const std::string& Text) {
    const std::string& Plan = Setting("prompts");
    const char Action = PromptAt < Plan.size() ? Plan[PromptAt++] : 'c';
    if (Action == 'i' || Action == 'k') {
        const std::string Volume = Text.substr(Text.size() - 1);
        const std::string Name = "Pictavor.00" + Volume;
        CopyFileA(PathJoin(PathJoin(CaseDir, "disk" + Volume), Name).c_str(),
                  PathJoin(SourceDir, Name).c_str(), FALSE);
    }
    return Action == 'i' || Action == 'o' ? IDOK : IDCANCEL;
}

void OnActivate(HWND Window) {
    char Class[32] = {}, Caption[256] = {}, Text[1024] = {};
    GetClassNameA(Window, Class, sizeof Class);
    if (std::string(Class) != "#32770") return;
    if (std::find(StepDialogs.begin(), StepDialogs.end(), Window) != StepDialogs.end()) return;
    if (GetDlgItem(Window, 101)) { // a progress dialog: its meter frame
        if (ProgressCount < 2 && Window != ProgressDialogs[0]) {
            if (ProgressCount == 0) QueryPerformanceCounter(&CopyingOpened);
            ProgressDialogs[ProgressCount++] = Window;
            Note(ProgressCount == 1 ? "copying" : "unpacking");
            if (ProgressCount == 2 && Setting("archive") == "gone")
                DeleteFileA(PathJoin(DestDir, ArchiveName).c_str());
        }
        return;
    }
    if (!GetDlgItem(Window, 0xFFFF)) return;
    GetWindowTextA(Window, Caption, sizeof Caption);
    GetDlgItemTextA(Window, 0xFFFF, Text, sizeof Text);
    Note(std::string("box|") + OwnerName(GetWindow(Window, GW_OWNER)) + "|" + Caption + "|" + Text +
         (HasIcon(Window) ? "|icon" : ""));
    int Answer = IDOK;
    if (std::string(Text).rfind("Please Insert Disk number ", 0) == 0) {
        Answer = AnswerPrompt(Text);
    } else if (GetDlgItem(Window, IDYES)) {
        const bool Exit = std::string(Caption).rfind("Exit ", 0) == 0;
        Answer = Exit && Setting("answer") == "y" ? IDYES : IDNO;
    }
    PostMessageA(Window, WM_COMMAND, MAKEWPARAM(Answer, BN_CLICKED), 0);
}

LRESULT CALLBACK WatchWindows(int Code, WPARAM WParam, LPARAM LParam) {
    if (Code == HCBT_ACTIVATE) OnActivate(reinterpret_cast<HWND>(WParam));
    return CallNextHookEx(Hook, Code, WParam, LParam);
}

void ClickCancel(HWND Dialog) {
    PostMessageA(Dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(Dialog, IDCANCEL)));
}

// Clicks Cancel once: during copying or decoding when the archive or the unpacked file has
// grown to the given size, or during the split as soon as the archive is gone.
DWORD WINAPI Watcher(void*) {
    const std::string Stage = Setting("cancel");
    const int64_t At = std::atoll(Setting("cancel-at").c_str());
    const std::string Archive = PathJoin(Setting("dest"), ArchiveName);
    const std::string Main = PathJoin(Setting("dest"), MainExeName);
    const int64_t Total = std::atoll(Setting("total").c_str());
    bool SawArchive = false;
    for (int Round = 0; Round < 60000; ++Round) {
        Sleep(1);
        if (Stage == "copy" && ProgressDialogs[0] && SizeOf(Archive) >= At) {
            ClickCancel(ProgressDialogs[0]);
            WatcherNote = "cancel|copy";
            return 0;
        }
        if (Stage == "decode" && ProgressDialogs[1] && SizeOf(Main) >= At) {
            ClickCancel(ProgressDialogs[1]);
            WatcherNote = "cancel|decode";
            return 0;
        }
        if (Stage == "split" && ProgressDialogs[1]) {
            const bool ArchiveThere = SizeOf(Archive) >= 0;
            SawArchive = SawArchive || ArchiveThere;
            if (SawArchive && !ArchiveThere) {
                ClickCancel(ProgressDialogs[1]);
                // Still the whole stream after the click: the split had not ended.
                WatcherNote = SizeOf(Main) >= Total ? "cancel|split" : "cancel|too late";
                return 0;
            }
        }
    }
    WatcherNote = "cancel|never";
    return 0;
}

int ChildMain(const std::string& Dir) {
    CaseDir = Dir;
    Settings = ReadSettings(PathJoin(Dir, "child.txt"));
    DiskCount = std::atoi(Setting("disks").c_str());
    SetupSteps.Dialogs[0].Procedure = DestinationStep;
    SetupSteps.Dialogs[1].Procedure = LicenseStep;
    SetupSteps.Dialogs[4].Procedure = GroupStep;
    SetupSteps.CreateShortcut = [] {};
    SetupSteps.WriteUninstall = [] {};
    SetupSteps.Launch = [] {};
    UnpackTestSeam::OutputWritten = RecordWrite;
    Hook = SetWindowsHookExA(WH_CBT, WatchWindows, nullptr, GetCurrentThreadId());
    HANDLE Thread = nullptr;
    if (!Setting("cancel").empty()) Thread = CreateThread(nullptr, 0, Watcher, nullptr, 0, nullptr);
    const int Code = RunSetup();
    if (Thread) {
        WaitForSingleObject(Thread, 5000);
        Note(WatcherNote);
    }
    Note("writes|" + Writes);
    Note("meter|" + std::to_string(LastDrawnPercent));
    if (CopyingOpened.QuadPart && GroupOpened.QuadPart) {
        LARGE_INTEGER Frequency;
        QueryPerformanceFrequency(&Frequency);
        const double Ms = 1000.0 *
                          static_cast<double>(GroupOpened.QuadPart - CopyingOpened.QuadPart) /
                          static_cast<double>(Frequency.QuadPart);
        Note("elapsed|" + std::to_string(static_cast<long>(Ms)));
    }
    WriteEvents(PathJoin(Dir, "log.txt"), Log);
    ExitProcess(static_cast<UINT>(Code));
}

// ---- parent side -----------------------------------------------------------------------

struct TFileSpec {
    std::string Name;
    TBytes Bytes;
};

struct TProduct {
    TBytes Main;
    std::vector<TFileSpec> Files;
    TFileTable Table() const {
        TFileTable Table;
        int32_t Offset = static_cast<int32_t>(Main.size());
        for (const auto& File : Files) {
            const int32_t Size = static_cast<int32_t>(File.Bytes.size());
            Table.Entries.push_back({File.Name, Offset, Size});
            Offset += Size;
        }
        Table.UnpackedSize = Offset;
        return Table;
    }
    TBytes Stream() const {
        TBytes Stream = Main;
        for (const auto& File : Files)
            Stream.insert(Stream.end(), File.Bytes.begin(), File.Bytes.end());
        return Stream;
    }
};

// Bytes that compress about as well as a program's: words with some noise.
TBytes MakeBytes(size_t Size, uint32_t Seed) {
    static const char* const Words[] = {"picture ", "layer ", "brush ", "Pictavorn ",  "file ",
                                        "\r\n",     "zoom ",  "mask ",  "\x01\x02\x03"};
    TBytes Bytes;
    while (Bytes.size() < Size) {
        Seed = Seed * 1103515245u + 12345u;
        if (Seed >> 28 == 0) {
            Bytes.push_back(static_cast<uint8_t>(Seed >> 16));
            continue;
        }
        for (const char* p = Words[(Seed >> 16) % 9]; *p && Bytes.size() < Size; ++p)
            Bytes.push_back(static_cast<uint8_t>(*p));
    }
    return Bytes;
}

std::string TempRoot() {
    char Base[MAX_PATH];
    GetTempPathA(MAX_PATH, Base);
    const std::string Root = PathJoin(Base, "pv-package");
    CreateDirectoryA(Root.c_str(), nullptr);
    return Root;
}

void RemoveTree(const std::string& Dir) {
    WIN32_FIND_DATAA Found;
    HANDLE Search = FindFirstFileA(PathJoin(Dir, "*").c_str(), &Found);
    if (Search != INVALID_HANDLE_VALUE) {
        do {
            const std::string Name = Found.cFileName;
            if (Name == "." || Name == "..") continue;
            const std::string Path = PathJoin(Dir, Name);
            if (Found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(Path);
            } else {
                SetFileAttributesA(Path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(Path.c_str());
            }
        } while (FindNextFileA(Search, &Found));
        FindClose(Search);
    }
    RemoveDirectoryA(Dir.c_str());
}

std::string OwnPath() {
    char Self[MAX_PATH];
    GetModuleFileNameA(nullptr, Self, MAX_PATH);
    return Self;
}

// One case: CaseDir\disk1 (SETUP.EXE, the first volume), CaseDir\disk2 ..., CaseDir\dest.
struct TCase {
    std::string Dir, Dest;
    size_t ArchiveSize = 0;
    std::map<std::string, std::string> Settings;

    explicit TCase(const std::string& Name) : Dir(PathJoin(TempRoot(), Name)) {
        RemoveTree(Dir);
        CreateDirectoryA(Dir.c_str(), nullptr);
        Dest = PathJoin(Dir, "dest");
        CreateDirectoryA(Dest.c_str(), nullptr);
        Settings["dest"] = Dest;
        Settings["disks"] = "2";
    }
    // A case that failed stays for a look.
    ~TCase() {
        if (!testing::Test::HasFailure()) RemoveTree(Dir);
    }
    TCase(const TCase&) = delete;
    TCase& operator=(const TCase&) = delete;
    std::string Disk(int Number) const {
        const std::string Folder = PathJoin(Dir, "disk" + std::to_string(Number));
        CreateDirectoryA(Folder.c_str(), nullptr);
        return Folder;
    }
    std::string Volume(int Number) const {
        return PathJoin(Disk(Number), "Pictavor.00" + std::to_string(Number));
    }
    // SETUP.EXE: this program with the table bytes appended.
    void PutSetup(const TBytes& TableBytes) const {
        const std::string Setup = PathJoin(Disk(1), "SETUP.EXE");
        TBytes Image = ReadBytes(OwnPath());
        Image.insert(Image.end(), TableBytes.begin(), TableBytes.end());
        WriteBytes(Setup, Image);
    }
    // Encodes the product and cuts the archive into Volumes pieces of about equal size; with
    // OneFolder all of them lie on disk 1.
    void PutProduct(const TProduct& Product, int Volumes, bool OneFolder = false) {
        PutSetup(BuildFileTable(Product.Table()));
        TLzhEncodeOptions Options;
        Options.Parse = TLzhParse::Greedy;
        const TBytes Stream = Product.Stream();
        const TBytes Archive = LzhEncode(Stream.data(), Stream.size(), Options);
        size_t At = 0;
        for (int Number = 1; Number <= Volumes; ++Number) {
            const size_t Take = Number == Volumes ? Archive.size() - At : Archive.size() / Volumes;
            const TBytes Piece(Archive.begin() + At, Archive.begin() + At + Take);
            WriteBytes(OneFolder ? PathJoin(Disk(1), "Pictavor.00" + std::to_string(Number))
                                 : Volume(Number),
                       Piece);
            At += Take;
        }
        Settings["total"] = std::to_string(Stream.size());
        ArchiveSize = Archive.size();
    }
};

struct TRun {
    DWORD ExitCode = 99;
    std::vector<std::string> Events;
    std::vector<std::string> Boxes() const {
        std::vector<std::string> Result;
        for (const auto& Event : Events)
            if (Event.rfind("box|", 0) == 0) Result.push_back(Event);
        return Result;
    }
    std::string Value(const std::string& Key) const {
        for (const auto& Event : Events)
            if (Event.rfind(Key + "|", 0) == 0) return Event.substr(Key.size() + 1);
        return "(none)";
    }
    bool Has(const std::string& Event) const {
        return std::find(Events.begin(), Events.end(), Event) != Events.end();
    }
};

std::string Joined(const std::vector<std::string>& Events) {
    std::string Result;
    for (const auto& Event : Events)
        Result += (Result.empty() ? "" : " / ") + Event;
    return Result;
}

TRun RunCase(const TCase& Case) {
    {
        std::ofstream Out(PathJoin(Case.Dir, "child.txt"));
        for (const auto& Setting : Case.Settings)
            Out << Setting.first << "=" << Setting.second << "\n";
    }
    const std::string Command =
        "\"" + PathJoin(Case.Disk(1), "SETUP.EXE") + "\" --child \"" + Case.Dir + "\"";
    TRun Run;
    Run.ExitCode = RunAndWait(Command, 120000);
    Run.Events = ReadEvents(PathJoin(Case.Dir, "log.txt"));
    return Run;
}

const std::string Terminated =
    "box|backdrop|Pictavorn|The Installation process has been terminated.";
const std::string Question = "box|none|Pictavorn|Pictavorn has been successfully installed.\r\n"
                             "\r\nDo you wish to run Pictavorn?";
const std::string Confirm =
    "box|none|Exit Pictavorn|Do you really want to terminate the Setup program?";
const std::string WrongDisk = "box|copying||This is not the appropriate disk.\r\n"
                              "Please insert the correct disk and Press Enter";
std::string Prompt(int Disk) {
    return "box|copying|Pictavorn|Please Insert Disk number " + std::to_string(Disk);
}

bool IsHelp(const std::string& Name) {
    std::string Upper = Name;
    for (char& C : Upper)
        C = static_cast<char>(toupper(static_cast<unsigned char>(C)));
    return Upper.size() > 4 && Upper.substr(Upper.size() - 4) == ".HLP";
}

// Where a product file ends up after a complete run.
std::string Installed(const TCase& Case, const std::string& Name) {
    return PathJoin(IsHelp(Name) ? HelpDir() : Case.Dest, Name);
}

void ExpectInstalled(const TCase& Case, const TProduct& Product) {
    const TBytes Main = ReadBytes(PathJoin(Case.Dest, MainExeName));
    EXPECT_EQ(Main.size(), Product.Main.size()); // truncated at the first entry's offset
    EXPECT_TRUE(Main == Product.Main) << "the main program differs";
    for (const auto& File : Product.Files)
        EXPECT_TRUE(ReadBytes(Installed(Case, File.Name)) == File.Bytes)
            << File.Name << " differs or is missing";
    EXPECT_EQ(SizeOf(PathJoin(Case.Dest, ArchiveName)), -1) << "the archive is still there";
}

void ExpectNothingInstalled(const TCase& Case, const TProduct& Product) {
    EXPECT_EQ(SizeOf(PathJoin(Case.Dest, ArchiveName)), -1) << "the archive is still there";
    EXPECT_EQ(SizeOf(PathJoin(Case.Dest, MainExeName)), -1) << "the main program is still there";
    for (const auto& File : Product.Files)
        EXPECT_EQ(SizeOf(Installed(Case, File.Name)), -1) << File.Name;
}

void RemoveHelpFiles(const TProduct& Product) {
    for (const auto& File : Product.Files)
        if (IsHelp(File.Name)) DeleteFileA(PathJoin(HelpDir(), File.Name).c_str());
}

// A small product of the real one's shape: the main program, a help file, libraries.
TProduct SmallProduct(const std::string& Help) {
    TProduct Product;
    Product.Main = MakeBytes(30000, 1);
    Product.Files = {{"Uninstal.exe", MakeBytes(9000, 2)},
                     {"PICTCORE.DLL", MakeBytes(12000, 3)},
                     {Help, MakeBytes(7000, 4)},
                     {"Busy.ani", MakeBytes(500, 5)}};
    return Product;
}

// ---- the demo product, laid out by the disk tool at build time -------------------------

std::string WindowsPath(std::string UnixPath) {
    std::replace(UnixPath.begin(), UnixPath.end(), '/', '\\');
    return "Z:" + UnixPath;
}

std::string DemoDir() {
    return WindowsPath(PV_DEMO_DIR);
}

std::string DemoDisks() {
    return WindowsPath(PV_DEMO_DISKS);
}

// The demo product from its description: the main program, then the table's files in order.
TProduct DemoProduct() {
    static TProduct Product;
    if (!Product.Main.empty()) return Product;
    std::ifstream In(PathJoin(DemoDir(), "product.txt"));
    std::string Line;
    bool First = true;
    while (std::getline(In, Line)) {
        while (!Line.empty() && isspace(static_cast<unsigned char>(Line.back())))
            Line.pop_back();
        if (Line.empty() || Line[0] == '#') continue;
        std::replace(Line.begin(), Line.end(), '/', '\\');
        const TBytes Bytes = ReadBytes(PathJoin(DemoDir(), Line));
        if (First) {
            Product.Main = Bytes;
            First = false;
        } else {
            Product.Files.push_back({Line.substr(Line.find_last_of('\\') + 1), Bytes});
        }
    }
    return Product;
}

// The demo disks for a case: the tool's volumes, and this program with the tool's table.
void PutDemo(TCase& Case, bool OneFolder = false) {
    const TBytes Tool = ReadBytes(PathJoin(PathJoin(DemoDisks(), "disk1"), "SETUP.EXE"));
    const size_t Tail = FileTableTailSize(Tool.size());
    TFileTable Table;
    std::string Why;
    ASSERT_TRUE(ParseFileTable(Tool.data() + Tool.size() - Tail, Tail, Tool.size(), Table, Why))
        << Why;
    Case.PutSetup(BuildFileTable(Table));
    for (int Number = 1; Number <= 2; ++Number) {
        const std::string Name = "Pictavor.00" + std::to_string(Number);
        const std::string From =
            PathJoin(PathJoin(DemoDisks(), "disk" + std::to_string(Number)), Name);
        ASSERT_TRUE(CopyFileA(
            From.c_str(), (OneFolder ? PathJoin(Case.Disk(1), Name) : Case.Volume(Number)).c_str(),
            FALSE))
            << From;
    }
    Case.Settings["total"] = std::to_string(Table.UnpackedSize);
}

} // namespace

TEST(Package, DemoFromTwoDisksInTime) {
    const TProduct Product = DemoProduct();
    ASSERT_FALSE(Product.Main.empty()) << "no demo product at " << DemoDir();
    ASSERT_EQ(Product.Files.size(), 15u);
    TCase Case("demo");
    PutDemo(Case);
    Case.Settings["prompts"] = "i";
    const TRun Run = RunCase(Case);
    EXPECT_EQ(Run.ExitCode, 0u);
    EXPECT_EQ(Joined(Run.Boxes()), Joined({Prompt(2), Question}));
    EXPECT_TRUE(Run.Has("group"));
    ExpectInstalled(Case, Product);
    EXPECT_EQ(SizeOf(PathJoin(Case.Dest, MainExeName)), 727552);
    EXPECT_EQ(SizeOf(PathJoin(HelpDir(), "Pictavrn.HLP")), 612352);
    EXPECT_EQ(SizeOf(PathJoin(Case.Dest, "Pictavrn.HLP")), -1);
    const long Ms = std::atol(Run.Value("elapsed").c_str());
    std::printf("copying dialog to group dialog, demo product from two disks: %.2f s\n",
                Ms / 1000.0);
    EXPECT_GT(Ms, 0);
    EXPECT_LE(Ms, 3000);
    RemoveHelpFiles(Product);
}

TEST(Package, DemoVolumesInOneFolder) {
    const TProduct Product = DemoProduct();
    TCase Case("demo-one-folder");
    PutDemo(Case, true);
    const TRun Run = RunCase(Case);
    EXPECT_EQ(Joined(Run.Boxes()), Joined({Question}));
    ExpectInstalled(Case, Product);
    RemoveHelpFiles(Product);
}

TEST(Package, DemoCancel) {
    const TProduct Product = DemoProduct();
    struct {
        const char* Stage;
        const char* At;
        const char* Answer;
        bool Completes;
        std::vector<std::string> Boxes;
    } Rows[] = {
        {"copy", "400000", "y", false, {Confirm, Terminated}},
        {"copy", "400000", "n", true, {Confirm, Prompt(2), Question}},
        {"decode", "600000", "y", false, {Prompt(2), Confirm, Terminated}},
        {"decode", "600000", "n", true, {Prompt(2), Confirm, Question}},
        // the split runs to its end: the click waits in the queue and is never answered
        {"split", "0", "y", true, {Prompt(2), Question}},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(std::string(Row.Stage) + " " + Row.Answer);
        TCase Case(std::string("demo-cancel-") + Row.Stage + Row.Answer);
        PutDemo(Case);
        // A file of an earlier installation that no step of this run wrote.
        const std::string Earlier = PathJoin(Case.Dest, "Notes.txt");
        WriteBytes(Earlier, {'k', 'e', 'e', 'p'});
        Case.Settings["prompts"] = "i";
        Case.Settings["cancel"] = Row.Stage;
        Case.Settings["cancel-at"] = Row.At;
        Case.Settings["answer"] = Row.Answer;
        const TRun Run = RunCase(Case);
        EXPECT_EQ(Run.ExitCode, 0u);
        EXPECT_EQ(Joined(Run.Boxes()), Joined(Row.Boxes));
        EXPECT_EQ(Run.Value("cancel"), Row.Stage);
        if (Row.Completes) {
            ExpectInstalled(Case, Product);
        } else {
            ExpectNothingInstalled(Case, Product);
            EXPECT_FALSE(Run.Has("group"));
        }
        EXPECT_EQ(ReadBytes(Earlier).size(), 4u);
        RemoveHelpFiles(Product);
    }
}

TEST(Package, DiskPrompts) {
    const TProduct Product = SmallProduct("Prompts.hlp");
    struct {
        const char* Name;
        int Disks;
        bool OneFolder;
        const char* Prompts;
        bool Completes;
        std::vector<std::string> Boxes;
    } Rows[] = {
        {"one-disk", 1, false, "", true, {Question}},
        {"four-disks", 4, false, "iii", true, {Prompt(2), Prompt(3), Prompt(4), Question}},
        {"four-in-one-folder", 4, true, "", true, {Question}},
        // OK without the disk: told so, then asked again
        {"ok-without-disk", 2, false, "oi", true, {Prompt(2), WrongDisk, Prompt(2), Question}},
        // the right disk is in the drive when Cancel is pressed: it is copied all the same
        {"inserted-then-cancel", 2, false, "k", true, {Prompt(2), Question}},
        {"cancel", 2, false, "c", false, {Prompt(2), Terminated}},
        {"cancel-at-disk-3",
         4,
         false,
         "ioc",
         false,
         {Prompt(2), Prompt(3), WrongDisk, Prompt(3), Terminated}},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TCase Case(std::string("prompts-") + Row.Name);
        Case.PutProduct(Product, Row.Disks, Row.OneFolder);
        Case.Settings["disks"] = std::to_string(Row.Disks);
        Case.Settings["prompts"] = Row.Prompts;
        const TRun Run = RunCase(Case);
        EXPECT_EQ(Run.ExitCode, 0u);
        EXPECT_EQ(Joined(Run.Boxes()), Joined(Row.Boxes));
        if (Row.Completes) {
            ExpectInstalled(Case, Product);
        } else {
            ExpectNothingInstalled(Case, Product);
        }
        RemoveHelpFiles(Product);
    }
}

// The output blocks and the meter: 2,048 + 2,048 + 904 bytes for 5,000, the meter at 41 and
// then 82 percent, where it stays, since the last block goes out through the flush.
TEST(Package, OutputBlocksAndMeter) {
    struct {
        const char* Name;
        size_t Main;
        std::vector<size_t> Files;
        const char* Writes;
        const char* Meter;
    } Rows[] = {
        {"5000", 1000, {2000, 2000}, "2048@0,2048@41,904@82", "82"},
        {"8192", 2000, {2048, 2049, 2048, 47}, "2048@0,2048@25,2048@50,2048@75", "75"},
        {"no-entries", 3000, {}, "2048@0,952@68", "68"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TProduct Product;
        Product.Main = MakeBytes(Row.Main, 7);
        for (size_t i = 0; i < Row.Files.size(); ++i)
            Product.Files.push_back(
                {"F" + std::to_string(i) + ".bin", MakeBytes(Row.Files[i], 8 + i)});
        TCase Case(std::string("blocks-") + Row.Name);
        Case.PutProduct(Product, 1);
        Case.Settings["disks"] = "1";
        const TRun Run = RunCase(Case);
        EXPECT_EQ(Joined(Run.Boxes()), Joined({Question}));
        EXPECT_EQ(Run.Value("writes"), Row.Writes);
        EXPECT_EQ(Run.Value("meter"), Row.Meter);
        ExpectInstalled(Case, Product);
    }
}

// Entry sizes around the copy block, the help file in lower case, the protected extensions
// and a name without a dot.
TEST(Package, SplitEdgeCases) {
    TProduct Product;
    Product.Main = MakeBytes(3795, 11);
    Product.Files = {{"DATA.DTP", MakeBytes(2048, 12)}, {"x.lib", MakeBytes(2049, 13)},
                     {"X.DLL", MakeBytes(4096, 14)},    {"Edge.hlp", MakeBytes(300, 15)},
                     {"README", MakeBytes(2047, 16)},   {"Empty.dat", {}},
                     {"New.lib", MakeBytes(100, 17)}};
    TCase Case("split-edges");
    Case.PutProduct(Product, 2);
    Case.Settings["prompts"] = "i";
    const TBytes Old = {'o', 'l', 'd'};
    for (const char* Name : {"DATA.DTP", "x.lib", "X.DLL"})
        WriteBytes(PathJoin(Case.Dest, Name), Old);
    const TRun Run = RunCase(Case);
    EXPECT_EQ(Joined(Run.Boxes()), Joined({Prompt(2), Question}));
    EXPECT_EQ(ReadBytes(PathJoin(Case.Dest, "DATA.DTP")), Old);
    EXPECT_EQ(ReadBytes(PathJoin(Case.Dest, "x.lib")), Old);
    TProduct Replaced = Product;
    Replaced.Files.erase(Replaced.Files.begin(), Replaced.Files.begin() + 2);
    ExpectInstalled(Case, Replaced); // X.DLL replaced, the rest as they should be
    EXPECT_EQ(SizeOf(PathJoin(HelpDir(), "Edge.hlp")), 300);
    EXPECT_EQ(SizeOf(PathJoin(Case.Dest, "Edge.hlp")), -1);
    RemoveHelpFiles(Product);
}

// Faults end in the error message and the abort path, with nothing of the user's lost.
TEST(Package, Faults) {
    const TProduct Product = SmallProduct("Faults.hlp");
    struct {
        const char* Name;
        const char* Error; // the start of the reported error
        const char* Names; // and a part of it that names the file
    } Rows[] = {
        {"truncated-volume-2", "The archive ", "Pictavor._MQ ended before all 58500 bytes"},
        {"missing-volume-1", "Cannot open ", "Pictavor.001:\r\n"},
        {"damaged-table", "Cannot read the file table of ",
         "SETUP.EXE:\r\nEntry 2 of the file table"},
        {"archive-gone", "Cannot open ", "Pictavor._MQ:\r\n"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TCase Case(std::string("fault-") + Row.Name);
        Case.PutProduct(Product, 2);
        Case.Settings["prompts"] = "i";
        const std::string Name = Row.Name;
        if (Name == "truncated-volume-2") {
            TBytes Volume = ReadBytes(Case.Volume(2));
            Volume.resize(Volume.size() - 1000);
            WriteBytes(Case.Volume(2), Volume);
        } else if (Name == "missing-volume-1") {
            DeleteFileA(Case.Volume(1).c_str());
        } else if (Name == "damaged-table") {
            TFileTable Table = Product.Table();
            Table.Entries[1].Name = "..";
            Case.PutSetup(BuildFileTable(Table));
        } else {
            Case.Settings["archive"] = "gone"; // deleted as the unpacking dialog opens
        }
        const TRun Run = RunCase(Case);
        EXPECT_EQ(Run.ExitCode, 0u);
        const std::vector<std::string> Boxes = Run.Boxes();
        ASSERT_GE(Boxes.size(), 2u) << Joined(Boxes);
        const std::string& Error = Boxes[Boxes.size() - 2];
        EXPECT_EQ(Error.rfind(std::string("box|backdrop|Pictavorn|") + Row.Error, 0), 0u) << Error;
        EXPECT_NE(Error.find(Row.Names), std::string::npos) << Error;
        EXPECT_EQ(Boxes.back(), Terminated);
        EXPECT_FALSE(Run.Has("group"));
        ExpectNothingInstalled(Case, Product);
        RemoveHelpFiles(Product);
    }
}

// A target that cannot be written is named, and the rest is installed; a help file whose
// place in the Help folder is taken goes to the destination instead.
TEST(Package, TargetThatCannotBeCreated) {
    const TProduct Product = SmallProduct("Taken.hlp");
    TCase Case("target-in-use");
    Case.PutProduct(Product, 2);
    Case.Settings["prompts"] = "i";
    const std::string Locked = PathJoin(Case.Dest, "PICTCORE.DLL");
    WriteBytes(Locked, {'o', 'l', 'd'});
    // Read-only, and held open without sharing as a running program holds its libraries:
    // Wine lets root replace a read-only file.
    ASSERT_TRUE(SetFileAttributesA(Locked.c_str(), FILE_ATTRIBUTE_READONLY));
    const HANDLE InUse =
        CreateFileA(Locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(InUse, INVALID_HANDLE_VALUE);
    const std::string TakenHelp = PathJoin(HelpDir(), "Taken.hlp");
    CreateDirectoryA(TakenHelp.c_str(), nullptr); // a folder where the help file would go
    const TRun Run = RunCase(Case);
    RemoveDirectoryA(TakenHelp.c_str());
    CloseHandle(InUse);
    SetFileAttributesA(Locked.c_str(), FILE_ATTRIBUTE_NORMAL);
    const std::vector<std::string> Boxes = Run.Boxes();
    ASSERT_EQ(Boxes.size(), 3u) << Joined(Boxes);
    EXPECT_EQ(Boxes[0], Prompt(2));
    EXPECT_EQ(Boxes[1].rfind(
                  "box|unpacking|Pictavorn|The file " + Locked + " could not be installed:\r\n", 0),
              0u)
        << Boxes[1];
    EXPECT_EQ(Boxes[1].find("|icon"), std::string::npos);
    EXPECT_EQ(Boxes[2], Question);
    EXPECT_TRUE(Run.Has("group"));
    EXPECT_EQ(ReadBytes(Locked), TBytes({'o', 'l', 'd'}));
    EXPECT_TRUE(ReadBytes(PathJoin(Case.Dest, "Taken.hlp")) == Product.Files[2].Bytes);
    TProduct Rest = Product;
    Rest.Files.erase(Rest.Files.begin() + 1, Rest.Files.begin() + 3);
    ExpectInstalled(Case, Rest);
}

// A destination that fills up, on a small disk of its own (drive P:, set up by the bench).
TEST(Package, DestinationFillsUp) {
    const std::string Disk = "P:\\";
    if (SizeOf(PathJoin(Disk, "small-disk.txt")) < 0)
        GTEST_SKIP() << "no small disk at P: (it needs a tmpfs mount, see smalldisk.sh)";
    TProduct Product;
    Product.Main = MakeBytes(20000, 21);
    for (int i = 0; i < 4; ++i)
        Product.Files.push_back({"Part" + std::to_string(i) + ".dll", MakeBytes(60000, 22 + i)});
    const int64_t Stream = static_cast<int64_t>(Product.Stream().size());
    struct {
        const char* Name;
        bool WhileDecoding;
        const char* Failing;
        size_t SplitFilesKept;
    } Rows[] = {
        // the archive fits, half of the unpacked file does
        {"while-decoding", true, MainExeName.c_str(), 0},
        // the unpacked file fits beside the archive, the files split out of it two and a half
        {"while-splitting", false, "Part2.dll", 2},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TCase Case(std::string("full-") + Row.Name);
        const std::string Dest = PathJoin(Disk, Row.Name);
        RemoveTree(Dest);
        CreateDirectoryA(Dest.c_str(), nullptr);
        Case.Settings["dest"] = Dest;
        Case.PutProduct(Product, 2);
        Case.Settings["prompts"] = "i";
        ASSERT_LT(Case.ArchiveSize, 140000u); // so that the unpacked file fits beside it
        const int64_t Room = Row.WhileDecoding ? static_cast<int64_t>(Case.ArchiveSize) + Stream / 2
                                               : Stream + 150000;
        // The user's own file takes the rest of the disk.
        const std::string Filler = PathJoin(Disk, "filler.bin");
        DeleteFileA(Filler.c_str());
        ULARGE_INTEGER Free;
        ASSERT_TRUE(GetDiskFreeSpaceExA(Disk.c_str(), &Free, nullptr, nullptr));
        const int64_t FillerSize = static_cast<int64_t>(Free.QuadPart) - Room;
        ASSERT_GT(FillerSize, 0);
        WriteBytes(Filler, TBytes(static_cast<size_t>(FillerSize), 0x5A));
        const TRun Run = RunCase(Case);
        const std::vector<std::string> Boxes = Run.Boxes();
        ASSERT_EQ(Boxes.size(), 3u) << Joined(Boxes);
        EXPECT_EQ(
            Boxes[1].rfind("box|backdrop|Pictavorn|Cannot write " + PathJoin(Dest, Row.Failing), 0),
            0u)
            << Boxes[1];
        EXPECT_EQ(Boxes[2], Terminated);
        EXPECT_EQ(SizeOf(PathJoin(Dest, ArchiveName)), -1);
        EXPECT_EQ(SizeOf(PathJoin(Dest, MainExeName)), -1);
        // Files already split out stay whole; the one that did not fit is not left half-written.
        size_t Kept = 0;
        for (const auto& File : Product.Files) {
            const std::string Path = PathJoin(Dest, File.Name);
            if (SizeOf(Path) < 0) continue;
            EXPECT_TRUE(ReadBytes(Path) == File.Bytes) << File.Name;
            ++Kept;
        }
        EXPECT_EQ(Kept, Row.SplitFilesKept);
        EXPECT_EQ(SizeOf(Filler), FillerSize);
        DeleteFileA(Filler.c_str());
        RemoveTree(Dest);
    }
}

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--child") return ChildMain(argv[2]);
    testing::InitGoogleTest(&argc, argv);
    CreateDirectoryA(HelpDir().c_str(), nullptr); // as on every Windows installation
    return RUN_ALL_TESTS();
}
