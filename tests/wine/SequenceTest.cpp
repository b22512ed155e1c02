// The setup sequence's decision table, finishing order, abort path and exit code. Each row
// runs RunSetup in a child process of this program, as SETUP.EXE would (fresh globals, a
// real exit code), with test dialog procedures in place of the real dialogs and a hook that
// answers and records every message box.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "setup/Config.h"
#include "setup/Failure.h"
#include "setup/FileIo.h"
#include "setup/Paths.h"
#include "setup/RunState.h"
#include "setup/Setup.h"
#include "tests/wine/ChildRun.h"
#include "tests/wine/MessageBoxes.h"

namespace {

// ---- child side ------------------------------------------------------------------------

std::string ChildDir;   // DestDir of the run, where the log goes
std::string ChildSteps; // one letter per step: m missing, 1, 0, n (-1), t (raises),
                        // c (creates its file, then 0)
char ChildAnswer = 'n'; // the success question's answer
std::vector<std::string> Log;
std::vector<HWND> StepDialogs; // the test steps' own dialogs, which are no message boxes
HHOOK Hook;

void Note(const std::string& Event) {
    Log.push_back(Event);
}

INT_PTR TestStep(HWND Dialog, int Step) {
    StepDialogs.push_back(Dialog);
    Note("step" + std::to_string(Step + 1));
    if (Step == 0) DestDir = ChildDir; // what an accepted destination leaves behind
    switch (ChildSteps[Step]) {
    case '1': EndDialog(Dialog, 1); break;
    case '0': EndDialog(Dialog, 0); break;
    case 'n': EndDialog(Dialog, -1); break;
    case 't': {
        TFile Missing;
        Missing.Open(PathJoin(DestDir, "no-such-volume.001"), GENERIC_READ, FILE_SHARE_READ,
                     OPEN_EXISTING);
        break;
    }
    case 'c': {
        const bool Archive = Step == 2;
        TFile Made;
        Made.Open(PathJoin(DestDir, Archive ? ArchiveName : MainExeName), GENERIC_WRITE, 0,
                  CREATE_ALWAYS);
        (Archive ? ArchiveCreated : MainExeCreated) = true;
        EndDialog(Dialog, 0);
        break;
    }
    }
    return FALSE;
}

template <int Step> INT_PTR CALLBACK TestDlgProc(HWND Dialog, UINT Message, WPARAM, LPARAM) {
    if (Message != WM_INITDIALOG) return FALSE;
    return GuardDialog(Dialog, [&] { return TestStep(Dialog, Step); });
}

LRESULT CALLBACK AnswerBoxes(int Code, WPARAM WParam, LPARAM LParam) {
    if (Code == HCBT_ACTIVATE) {
        HWND Box = reinterpret_cast<HWND>(WParam);
        const bool Step =
            std::find(StepDialogs.begin(), StepDialogs.end(), Box) != StepDialogs.end();
        if (IsMessageBox(Box) && !Step) {
            const HWND Owner = GetWindow(Box, GW_OWNER);
            const char* OwnerName = !Owner                    ? "none"
                                    : Owner == BackdropWindow ? "backdrop"
                                                              : "other";
            Note(std::string("box|") + OwnerName + "|" + WindowCaption(Box) + "|" + BoxText(Box) +
                 (HasIcon(Box) ? "|icon" : ""));
            const bool YesNo = GetDlgItem(Box, IDYES) != nullptr;
            const int Answer = !YesNo ? IDOK : ChildAnswer == 'y' ? IDYES : IDNO;
            PostMessageA(Box, WM_COMMAND, MAKEWPARAM(Answer, BN_CLICKED), 0);
        }
    }
    return CallNextHookEx(Hook, Code, WParam, LParam);
}

int ChildMain(const std::string& Dir, const std::string& Steps, char Answer) {
    ChildDir = Dir;
    ChildSteps = Steps;
    ChildAnswer = Answer;
    static const DLGPROC Procs[5] = {TestDlgProc<0>, TestDlgProc<1>, TestDlgProc<2>, TestDlgProc<3>,
                                     TestDlgProc<4>};
    for (int Step = 0; Step < 5; ++Step) {
        SetupSteps.Dialogs[Step].Procedure = Procs[Step];
        if (Steps[Step] == 'm') SetupSteps.Dialogs[Step].Template = "NoSuchTemplate";
    }
    SetupSteps.CreateShortcut = [] { Note("shortcut"); };
    SetupSteps.WriteUninstall = [] { Note("uninstall"); };
    SetupSteps.Launch = [] { Note("launch"); };
    Hook = SetWindowsHookExA(WH_CBT, AnswerBoxes, nullptr, GetCurrentThreadId());
    const int Code = RunSetup();
    Note(InBuffer || OutBuffer ? "buffers kept" : "buffers freed");
    WriteEvents(PathJoin(Dir, "log.txt"), Log);
    ExitProcess(static_cast<UINT>(Code));
}

// ---- parent side -----------------------------------------------------------------------

struct TRun {
    DWORD ExitCode = 99;
    std::vector<std::string> Events;
};

std::string RowDir(const std::string& Name) {
    char Base[MAX_PATH];
    GetTempPathA(MAX_PATH, Base);
    const std::string Dir = PathJoin(Base, "pv-seq-" + Name);
    CreateDirectoryA(Dir.c_str(), nullptr);
    DeleteFileA(PathJoin(Dir, "log.txt").c_str());
    return Dir;
}

TRun RunChild(const std::string& Dir, const std::string& Steps, char Answer) {
    char Self[MAX_PATH];
    GetModuleFileNameA(nullptr, Self, MAX_PATH);
    const std::string Command =
        std::string("\"") + Self + "\" --child \"" + Dir + "\" " + Steps + " " + Answer;
    TRun Run;
    Run.ExitCode = RunAndWait(Command, 60000);
    Run.Events = ReadEvents(PathJoin(Dir, "log.txt"));
    return Run;
}

std::string Joined(const std::vector<std::string>& Events) {
    std::string Result;
    for (const auto& Event : Events)
        Result += (Result.empty() ? "" : " / ") + Event;
    return Result;
}

const std::string Terminated =
    "box|backdrop|Pictavorn|The Installation process has been terminated.";
const std::string Question = "box|none|Pictavorn|Pictavorn has been successfully installed.\r\n"
                             "\r\nDo you wish to run Pictavorn?";

} // namespace

TEST(Sequence, DecisionTableAndFinishingOrder) {
    struct {
        const char* Steps;
        char Answer;
        std::vector<std::string> Expected;
    } Rows[] = {
        // destination template missing: a silent end, nothing else
        {"m1111", 'y', {"buffers freed"}},
        {"01111", 'y', {"step1", Terminated, "buffers freed"}},
        {"n1111", 'y', {"step1", Terminated, "buffers freed"}},
        // agreement template missing: straight on to copying
        {"1m111",
         'n',
         {"step1", "step3", "step4", "step5", "shortcut", "uninstall", Question, "buffers freed"}},
        {"10111", 'y', {"step1", "step2", Terminated, "buffers freed"}},
        {"1n111", 'y', {"step1", "step2", Terminated, "buffers freed"}},
        {"11m11", 'y', {"step1", "step2", Terminated, "buffers freed"}},
        {"11011", 'y', {"step1", "step2", "step3", Terminated, "buffers freed"}},
        {"111m1", 'y', {"step1", "step2", "step3", Terminated, "buffers freed"}},
        {"111n1", 'y', {"step1", "step2", "step3", "step4", Terminated, "buffers freed"}},
        {"1111m", 'y', {"step1", "step2", "step3", "step4", Terminated, "buffers freed"}},
        // the group dialog's result only decides the shortcut
        {"11111",
         'y',
         {"step1", "step2", "step3", "step4", "step5", "shortcut", "uninstall", Question, "launch",
          "buffers freed"}},
        {"11110",
         'y',
         {"step1", "step2", "step3", "step4", "step5", "uninstall", Question, "launch",
          "buffers freed"}},
        {"1111n",
         'n',
         {"step1", "step2", "step3", "step4", "step5", "uninstall", Question, "buffers freed"}},
    };
    for (const auto& Row : Rows) {
        const TRun Run = RunChild(RowDir("table"), Row.Steps, Row.Answer);
        EXPECT_EQ(Run.ExitCode, 0u) << Row.Steps;
        EXPECT_EQ(Joined(Run.Events), Joined(Row.Expected)) << Row.Steps << " " << Row.Answer;
    }
}

TEST(Sequence, AbortSparesFilesThisRunDidNotWrite) {
    const std::string Dir = RowDir("spare");
    const std::string Archive = PathJoin(Dir, "Pictavor._MQ");
    const std::string Main = PathJoin(Dir, "Pictavorn.Exe");
    for (const auto& Path : {Archive, Main}) {
        std::ofstream(Path) << "installed earlier";
    }
    // Exit in the agreement dialog over an earlier installation: both files stay.
    TRun Run = RunChild(Dir, "10111", 'y');
    EXPECT_EQ(Run.ExitCode, 0u);
    EXPECT_TRUE(FileExists(Archive));
    EXPECT_TRUE(FileExists(Main));

    // The copying step writes the archive, then stops: the archive goes, the main program
    // that it did not write stays.
    Run = RunChild(Dir, "11c11", 'y');
    EXPECT_EQ(Joined(Run.Events), Joined({"step1", "step2", "step3", Terminated, "buffers freed"}));
    EXPECT_FALSE(FileExists(Archive));
    EXPECT_TRUE(FileExists(Main));

    // The unpacking step writes the main program, then stops: it goes too.
    Run = RunChild(Dir, "111c1", 'y');
    EXPECT_EQ(Run.ExitCode, 0u);
    EXPECT_FALSE(FileExists(Main));
}

TEST(Sequence, RaisedErrorIsReportedThenAborts) {
    const std::string Dir = RowDir("raise");
    const TRun Run = RunChild(Dir, "11t11", 'y');
    EXPECT_EQ(Run.ExitCode, 0u);
    ASSERT_EQ(Run.Events.size(), 6u) << Joined(Run.Events);
    EXPECT_EQ(Run.Events[2], "step3");
    // Owned by the backdrop, no icon, captioned with the product, naming the file and why.
    const std::string& Box = Run.Events[3];
    EXPECT_EQ(Box.rfind("box|backdrop|Pictavorn|Cannot open ", 0), 0u) << Box;
    EXPECT_NE(Box.find("no-such-volume.001"), std::string::npos) << Box;
    EXPECT_NE(Box.find("\r\n"), std::string::npos) << Box; // then the system's own text
    EXPECT_EQ(Box.find("|icon"), std::string::npos) << Box;
    EXPECT_EQ(Run.Events[4], Terminated);
}

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "--child")
        return ChildMain(argv[2], argv[3], argv[4][0]);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
