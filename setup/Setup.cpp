#include "setup/Setup.h"

#include <cstdlib>

#include "package/Unpack.h"
#include "screens/Backdrop.h"
#include "screens/Destination.h"
#include "screens/Group.h"
#include "screens/License.h"
#include "screens/Progress.h"
#include "setup/Config.h"
#include "setup/Failure.h"
#include "setup/Paths.h"
#include "setup/RunState.h"
#include "shell/Shortcut.h"
#include "shell/Uninstall.h"

TSetupSteps SetupSteps = {
    {{"Main", DestinationDlgProc},
     {"License", LicenseDlgProc},
     {"IProgress", CopyingDlgProc},
     {"Progress", UnpackingDlgProc},
     {"Group", GroupDlgProc}},
    CreateStartMenuShortcut,
    WriteUninstallEntry,
    LaunchProduct,
};

std::string StepFailure;

void NoteStepFailure(const char* What) {
    if (StepFailure.empty()) StepFailure = What;
    ProceedFlag = 0; // a phase that is still running must stop at its next check
}

namespace {

enum class TTemplate { Missing, Ran };

// Runs one dialog step; Missing when its template is not among the resources.
TTemplate RunDialogStep(HINSTANCE Instance, const TDialogStep& Step) {
    HRSRC Found = FindResourceA(Instance, Step.Template, RT_DIALOG);
    HGLOBAL Loaded = Found ? LoadResource(Instance, Found) : nullptr;
    if (!Loaded) return TTemplate::Missing;
    StepResult = static_cast<int32_t>(
        DialogBoxParamA(Instance, Step.Template, BackdropWindow, Step.Procedure, 0));
    FreeResource(Loaded);
    return TTemplate::Ran;
}

void ShowStepFailure() {
    MessageBoxA(BackdropWindow, StepFailure.c_str(), ProductName.c_str(), MB_OK);
}

void DeleteIfExists(const std::string& Path) {
    if (FileExists(Path)) DeleteFileA(Path.c_str()); // not tested: the message follows anyway
}

void AbortPath() {
    if (!StepFailure.empty()) ShowStepFailure();
    if (ArchiveCreated) DeleteIfExists(PathJoin(DestDir, ArchiveName));
    if (MainExeCreated) DeleteIfExists(PathJoin(DestDir, MainExeName));
    MessageBoxA(BackdropWindow, MsgTerminated.c_str(), ProductName.c_str(), MB_OK);
}

void FinishingSteps() {
    if (StepResult == 1) SetupSteps.CreateShortcut();
    SetupSteps.WriteUninstall();
    const std::string Question = MsgInstalled + ProductName + "?";
    if (MessageBoxA(nullptr, Question.c_str(), ProductName.c_str(), MB_YESNO) == IDYES)
        SetupSteps.Launch();
}

// Steps 1 to 5 with the decision table; false when the run ends silently (no destination
// template), true when the finishing steps or the abort path follow.
bool RunDialogChain(HINSTANCE Instance) {
    for (int Step = 0; Step < 5; ++Step) {
        if (RunDialogStep(Instance, SetupSteps.Dialogs[Step]) == TTemplate::Missing) {
            if (Step == 0) return false;
            if (Step == 1) continue; // no agreement: straight to copying
            SetupAborted = true;
            return true;
        }
        if (!StepFailure.empty()) {
            SetupAborted = true;
            return true;
        }
        if (Step < 4 && StepResult != 1) {
            SetupAborted = true;
            return true;
        }
    }
    return true;
}

} // namespace

int RunSetup() {
    WNDCLASSA Class = {};
    Class.style = CS_PARENTDC;
    Class.lpfnWndProc = BackdropWndProc;
    Class.lpszClassName = "MQSetUp";

    char OwnPath[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, OwnPath, MAX_PATH);
    SourceDir = DirectoryPart(OwnPath);

    InBuffer = static_cast<uint8_t*>(std::malloc(DecoderBufferSize));
    OutBuffer = static_cast<uint8_t*>(std::malloc(DecoderBufferSize));
    ReadBlockProc = ReadArchiveBlock;
    WriteBlockProc = WriteOutputBlock;
    ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    ScreenHeight = GetSystemMetrics(SM_CYSCREEN);

    const HINSTANCE Instance = GetModuleHandleA(nullptr);
    Class.hInstance = Instance;
    RegisterClassA(&Class);
    BackdropWindow = CreateWindowExA(0, "MQSetUp", "Installation", 0x90000000, 0, 0, ScreenWidth,
                                     ScreenHeight, nullptr, nullptr, Instance, nullptr);
    LogoBitmap = LoadBitmapA(Instance, "logo");
    GetWindowsDirectoryA(WindowsDir, sizeof WindowsDir);
    SetupAborted = false;

    if (RunDialogChain(Instance)) {
        if (SetupAborted) {
            AbortPath();
        } else {
            FinishingSteps();
        }
    }

    std::free(InBuffer);
    InBuffer = nullptr;
    std::free(OutBuffer);
    OutBuffer = nullptr;
    return 0;
}
