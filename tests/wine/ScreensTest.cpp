// The real dialog procedures on the real templates, in front of a real backdrop window:
// each case runs a dialog modally and acts inside its modal loop through steps posted to
// the dialog itself, while a hook records and answers every message box.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "../robot/ShotRequest.h"
#include "screens/Backdrop.h"
#include "screens/Destination.h"
#include "screens/Group.h"
#include "screens/License.h"
#include "screens/MeterMath.h"
#include "screens/Progress.h"
#include "setup/Config.h"
#include "setup/PathText.h"
#include "setup/RunState.h"

namespace {

// ---- running a dialog ------------------------------------------------------------------

using TStepProc = std::function<void(HWND)>;

constexpr UINT WM_NEXTSTEP = WM_APP + 7;
constexpr INT_PTR StayedOpen = 99; // the last step ends the dialog with this
constexpr UINT_PTR WatchdogTimer = 77;

struct TDialogRun {
    DLGPROC Procedure;
    std::vector<TStepProc> Steps;
    size_t Next = 0;
    int Deferred = 0;
    HWND Dialog = nullptr;
};
int OpenBoxes = 0;
TDialogRun* Running = nullptr;

// Each step runs after everything that the steps before it posted has been handled.
INT_PTR CALLBACK StepDialog(HWND Dialog, UINT Message, WPARAM WParam, LPARAM LParam) {
    if (Message == WM_NEXTSTEP) {
        // Not while a message box is open or anything else waits: what the steps before
        // set going must have run its course. (Wine keeps QS_MOUSEMOVE set for good.)
        const UINT Waiting = QS_KEY | QS_MOUSEBUTTON | QS_POSTMESSAGE | QS_SENDMESSAGE;
        const bool Busy = OpenBoxes > 0 || HIWORD(GetQueueStatus(Waiting)) != 0;
        if (Busy && ++Running->Deferred < 10000) {
            PostMessageA(Dialog, WM_NEXTSTEP, 0, 0);
            return TRUE;
        }
        Running->Deferred = 0;
        Running->Steps[Running->Next++](Dialog);
        if (Running->Next < Running->Steps.size()) PostMessageA(Dialog, WM_NEXTSTEP, 0, 0);
        return TRUE;
    }
    if (Message == WM_TIMER && WParam == WatchdogTimer) {
        ADD_FAILURE() << "the dialog was still open after 20 s";
        EndDialog(Dialog, -99);
        return TRUE;
    }
    if (Message == WM_INITDIALOG) {
        Running->Dialog = Dialog;
        SetTimer(Dialog, WatchdogTimer, 20000, nullptr);
    }
    const INT_PTR Result = Running->Procedure(Dialog, Message, WParam, LParam);
    if (Message == WM_INITDIALOG && !Running->Steps.empty())
        PostMessageA(Dialog, WM_NEXTSTEP, 0, 0);
    return Result;
}

INT_PTR RunDialog(const char* Template, DLGPROC Procedure, std::vector<TStepProc> Steps) {
    TDialogRun Run{Procedure, std::move(Steps)};
    Running = &Run;
    const INT_PTR Result =
        DialogBoxParamA(GetModuleHandleA(nullptr), Template, BackdropWindow, StepDialog, 0);
    Running = nullptr;
    return Result;
}

// ---- message boxes ---------------------------------------------------------------------

std::vector<std::string> Boxes; // owner|caption|text, and |icon when it has one
std::vector<int> Answers;       // taken in order; a box with nothing left gets No or OK
HHOOK Hook = nullptr;

std::vector<HWND> Answered;

LRESULT CALLBACK AnswerBoxes(int Code, WPARAM WParam, LPARAM LParam) {
    const HWND Box = reinterpret_cast<HWND>(WParam);
    const auto Known = std::find(Answered.begin(), Answered.end(), Box);
    if (Code == HCBT_DESTROYWND && Known != Answered.end()) {
        Answered.erase(Known);
        --OpenBoxes;
    }
    char Class[32] = {};
    if (Code == HCBT_ACTIVATE && GetClassNameA(Box, Class, sizeof Class) &&
        std::string(Class) == "#32770" && (!Running || Box != Running->Dialog)) {
        char Caption[256] = {}, Text[1024] = {};
        GetWindowTextA(Box, Caption, sizeof Caption);
        GetDlgItemTextA(Box, 0xFFFF, Text, sizeof Text);
        const HWND Owner = GetWindow(Box, GW_OWNER);
        Boxes.push_back(std::string(!Owner ? "none" : "owned") + "|" + Caption + "|" + Text +
                        (GetDlgItem(Box, 20) ? "|icon" : ""));
        int Answer = GetDlgItem(Box, IDYES) ? IDNO : IDOK;
        if (!Answers.empty()) {
            Answer = Answers.front();
            Answers.erase(Answers.begin());
        }
        PostMessageA(Box, WM_COMMAND, MAKEWPARAM(Answer, BN_CLICKED), 0);
        if (Known == Answered.end()) {
            Answered.push_back(Box);
            ++OpenBoxes;
        }
    }
    return CallNextHookEx(Hook, Code, WParam, LParam);
}

const std::string Confirmation =
    "none|Exit Pictavorn|Do you really want to terminate the Setup program?";

// ---- what a step looks at --------------------------------------------------------------

std::string Text(HWND Window) {
    char Buffer[8192] = {};
    GetWindowTextA(Window, Buffer, sizeof Buffer);
    return Buffer;
}

std::string ControlText(HWND Dialog, int Id) {
    return Text(GetDlgItem(Dialog, Id));
}

int FocusId(HWND Dialog) {
    const HWND Focus = GetFocus();
    return Focus && GetParent(Focus) == Dialog ? GetDlgCtrlID(Focus) : -2;
}

// The dialog's rectangle against the middle of the whole screen.
void ExpectCentred(HWND Dialog, const char* Name) {
    RECT Rect = {};
    GetWindowRect(Dialog, &Rect);
    const int Width = Rect.right - Rect.left, Height = Rect.bottom - Rect.top;
    EXPECT_EQ(Rect.left, ScreenWidth / 2 - Width / 2) << Name;
    EXPECT_EQ(Rect.top, ScreenHeight / 2 - Height / 2) << Name;
}

void PostKey(HWND Dialog, UINT Key) {
    const HWND Target = GetFocus() ? GetFocus() : Dialog;
    const LPARAM Scan = static_cast<LPARAM>(MapVirtualKeyA(Key, MAPVK_VK_TO_VSC)) << 16;
    PostMessageA(Target, WM_KEYDOWN, Key, 1 | Scan);
    PostMessageA(Target, WM_KEYUP, Key, 1 | Scan | 0xC0000000);
}

const TStepProc PressEnter = [](HWND Dialog) { PostKey(Dialog, VK_RETURN); };
const TStepProc PressEscape = [](HWND Dialog) { PostKey(Dialog, VK_ESCAPE); };
const TStepProc EndStayedOpen = [](HWND Dialog) { EndDialog(Dialog, StayedOpen); };

TStepProc Click(int Id) {
    return [Id](HWND Dialog) { PostMessageA(GetDlgItem(Dialog, Id), BM_CLICK, 0, 0); };
}

TStepProc Type(int Id, std::string Typed) {
    return [Id, Typed](HWND Dialog) { SetDlgItemTextA(Dialog, Id, Typed.c_str()); };
}

// Lets the window surfaces reach the X screen, then asks for a screenshot when someone
// serves them (serve-shots.sh); without one the tests run all the same.
TStepProc Shot(std::string Name) {
    return [Name](HWND Dialog) {
        char Dir[MAX_PATH];
        if (!GetEnvironmentVariableA("PV_SHOTS", Dir, sizeof Dir)) return;
        RedrawWindow(Dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        // Paints and exposures for a while, every message but the next step's.
        for (int Round = 0; Round < 8; ++Round) {
            MSG Message;
            while (PeekMessageA(&Message, nullptr, 0, WM_NEXTSTEP - 1, PM_REMOVE) ||
                   PeekMessageA(&Message, nullptr, WM_NEXTSTEP + 1, 0xFFFFFFFF, PM_REMOVE)) {
                TranslateMessage(&Message);
                DispatchMessageA(&Message);
            }
            Sleep(50);
        }
        std::string Error;
        EXPECT_TRUE(RequestShot(Name, Error)) << Error;
    };
}

std::string Upper(std::string Text) {
    CharUpperA(&Text[0]);
    return Text;
}

std::string TempFolder(const std::string& Name) {
    char Base[MAX_PATH];
    GetTempPathA(MAX_PATH, Base);
    return PathJoin(Base, Name);
}

void RemoveFolder(const std::string& Path) {
    RemoveDirectoryA(Path.c_str());
}

bool IsFolder(const std::string& Path) {
    const DWORD Attributes = GetFileAttributesA(Path.c_str());
    return Attributes != INVALID_FILE_ATTRIBUTES && (Attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// ---- the remembered destination --------------------------------------------------------

const char* const MakerKey = "Software\\Mirelquist";
const char* const ProductKey = "Software\\Mirelquist\\Pictavorn";
const std::string InitialDefault = "C:\\Program Files\\Pictavorn";

void ForgetDestination() {
    RegDeleteTreeA(HKEY_CURRENT_USER, MakerKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, MakerKey);
}

void Remember(DWORD Type, const void* Data, DWORD Size) {
    HKEY Key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, ProductKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &Key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(Key, "RegDir", 0, Type, static_cast<const BYTE*>(Data), Size),
              ERROR_SUCCESS);
    RegCloseKey(Key);
}

void Remember(const std::string& Text) {
    Remember(REG_SZ, Text.c_str(), static_cast<DWORD>(Text.size() + 1));
}

bool KeyExists(const char* Path) {
    HKEY Key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, Path, 0, KEY_READ, &Key) != ERROR_SUCCESS) return false;
    RegCloseKey(Key);
    return true;
}

// ---- the test program's own backdrop and hook ------------------------------------------

class ScreensEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        const HINSTANCE Instance = GetModuleHandleA(nullptr);
        ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
        ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
        WNDCLASSA Class = {};
        Class.style = CS_PARENTDC;
        Class.lpfnWndProc = BackdropWndProc;
        Class.hInstance = Instance;
        Class.lpszClassName = "MQSetUp";
        ASSERT_TRUE(RegisterClassA(&Class));
        BackdropWindow =
            CreateWindowExA(0, "MQSetUp", "Installation", 0x90000000, 0, 0, ScreenWidth,
                            ScreenHeight, nullptr, nullptr, Instance, nullptr);
        ASSERT_TRUE(BackdropWindow);
        LogoBitmap = LoadBitmapA(Instance, "logo");
        ASSERT_TRUE(LogoBitmap);
        Hook = SetWindowsHookExA(WH_CBT, AnswerBoxes, nullptr, GetCurrentThreadId());
        ASSERT_TRUE(Hook);
    }
    void TearDown() override {
        UnhookWindowsHookEx(Hook);
        ForgetDestination();
    }
};

class Screens : public testing::Test {
  protected:
    void SetUp() override {
        Boxes.clear();
        Answers.clear();
    }
};

} // namespace

// ---- destination -----------------------------------------------------------------------

TEST_F(Screens, DestinationOpensCentredWithItsTextsAndTheFocusInTheBox) {
    ForgetDestination();
    DefaultDestDir = InitialDefault;
    std::string Caption, Prompt, Box, Ok, Cancel;
    int Focus = 0;
    Answers = {IDYES};
    const INT_PTR Result = RunDialog("Main", DestinationDlgProc,
                                     {[&](HWND Dialog) {
                                          Caption = Text(Dialog);
                                          Prompt = ControlText(Dialog, 0xFFFF);
                                          Box = ControlText(Dialog, 104);
                                          Ok = ControlText(Dialog, IDOK);
                                          Cancel = ControlText(Dialog, IDCANCEL);
                                          Focus = FocusId(Dialog);
                                          ExpectCentred(Dialog, "destination");
                                      },
                                      Shot("destination.png"), Click(IDCANCEL), EndStayedOpen});
    EXPECT_EQ(Caption, "Destination Directory");
    EXPECT_EQ(Prompt, "Please enter the drive and directory folder where you would like Pictavorn "
                      "to be located. To accept the default drive and directory simply press "
                      "ENTER.");
    EXPECT_EQ(Box, Upper(InitialDefault)); // the box turns letters into capitals
    EXPECT_EQ(Ok, "OK");
    EXPECT_EQ(Cancel, "Cancel");
    EXPECT_EQ(Focus, 104);
    EXPECT_EQ(Result, 0) << "a confirmed Cancel";
    EXPECT_EQ(Boxes, std::vector<std::string>({Confirmation}));
    // The maker's key is made on opening, and stays even after Cancel.
    EXPECT_TRUE(KeyExists(MakerKey));
    EXPECT_FALSE(KeyExists(ProductKey));
}

TEST_F(Screens, DestinationAcceptanceTable) {
    const std::string Base = TempFolder("pv-dest");
    CreateDirectoryA(Base.c_str(), nullptr);
    const std::string Existing = PathJoin(Base, "EXISTING"), Fresh = PathJoin(Base, "FRESH");
    CreateDirectoryA(Existing.c_str(), nullptr);
    RemoveFolder(Fresh);
    const std::string NoParent = PathJoin(Base, "NO-PARENT\\CHILD");
    // 300 characters: the box holds them, OK reads the first 254.
    std::string Long = PathJoin(Base, "L");
    Long += std::string(300 - Long.size(), 'X');
    const std::string LongRead = Upper(Long.substr(0, 254));
    RemoveFolder(LongRead);

    const char* const Missing = nullptr;
    struct {
        const char* Name;
        const char* Remembered; // Missing: no "RegDir" value
        const char* Typed;      // nullptr: OK on what the box opened with
        bool Accepted;
        std::string DestDir; // after OK, also when refused
    } Rows[] = {
        {"empty", Missing, "", false, ""},
        {"one character", Missing, "C", false, "C"},
        {"drive and colon", Missing, "C:", true, "C:"},
        {"network path", Missing, "\\\\server\\x", false, "\\\\SERVER\\X"},
        {"leading blank", Missing, " C:\\x", false, " C:\\X"},
        {"digit first", Missing, "1:\\x", false, "1:\\X"},
        {"300 characters remembered", Long.c_str(), nullptr, true, LongRead},
        {"empty RegDir", "", nullptr, false, ""},
        {"missing parent", Missing, NoParent.c_str(), false, Upper(NoParent)},
        {"new folder", Missing, Fresh.c_str(), true, Upper(Fresh)},
        {"remembered folder", Existing.c_str(), nullptr, true, Upper(Existing)},
    };
    for (const auto& Row : Rows) {
        ForgetDestination();
        if (Row.Remembered) Remember(Row.Remembered);
        DefaultDestDir = InitialDefault;
        DestDir = "unset";
        std::string Before, After;
        std::vector<TStepProc> Steps = {[&](HWND Dialog) { Before = ControlText(Dialog, 104); }};
        if (Row.Typed) Steps.push_back(Type(104, Row.Typed));
        Steps.push_back(PressEnter); // the focus is in the box; Enter presses OK
        Steps.push_back([&](HWND Dialog) { After = ControlText(Dialog, 104); });
        Steps.push_back(EndStayedOpen);
        const INT_PTR Result = RunDialog("Main", DestinationDlgProc, Steps);
        EXPECT_EQ(Result, Row.Accepted ? 1 : StayedOpen) << Row.Name;
        EXPECT_EQ(DestDir, Row.DestDir) << Row.Name;
        if (Row.Remembered) {
            EXPECT_EQ(Before, Upper(Row.Remembered)) << Row.Name;
        }
        if (Row.Accepted) {
            EXPECT_TRUE(DestDir.size() <= 3 || IsFolder(DestDir)) << Row.Name;
        } else {
            EXPECT_EQ(After, Upper(Row.Typed ? Row.Typed : Row.Remembered)) << Row.Name;
        }
        EXPECT_TRUE(Boxes.empty()) << Row.Name << ": a refusal shows no message";
    }
    // A new folder becomes the current directory; the test leaves it again.
    SetCurrentDirectoryA(TempFolder("").c_str());
    RemoveFolder(LongRead);
    RemoveFolder(Fresh);
    RemoveFolder(Existing);
    RemoveFolder(Base);
}

TEST_F(Screens, DestinationRememberedValueKinds) {
    const char WithNul[] = "D:\\FIRST\0D:\\SECOND";
    const DWORD Number = 7;
    struct {
        const char* Name;
        DWORD Type;
        const void* Data;
        DWORD Size;
        std::string Shown;
    } Rows[] = {
        {"expandable text stays unexpanded", REG_EXPAND_SZ, "%TEMP%\\X", 9, "%TEMP%\\X"},
        {"cut at the first NUL", REG_SZ, WithNul, sizeof WithNul, "D:\\FIRST"},
        {"no data at all", REG_SZ, "", 0, ""},
        {"not text: the default stays", REG_DWORD, &Number, sizeof Number, Upper(InitialDefault)},
    };
    for (const auto& Row : Rows) {
        ForgetDestination();
        Remember(Row.Type, Row.Data, Row.Size);
        DefaultDestDir = InitialDefault;
        std::string Shown;
        RunDialog("Main", DestinationDlgProc,
                  {[&](HWND Dialog) { Shown = ControlText(Dialog, 104); }, EndStayedOpen});
        EXPECT_EQ(Shown, Upper(Row.Shown)) << Row.Name;
    }
    EXPECT_EQ(DefaultDestDir, InitialDefault); // the last row kept it
}

TEST_F(Screens, DestinationConfirmationNoThenYes) {
    ForgetDestination();
    DefaultDestDir = InitialDefault;
    std::string Typed = "D:\\SOMEWHERE", AfterNo;
    bool OpenAfterNo = false;
    Answers = {IDNO, IDYES};
    const INT_PTR Result = RunDialog("Main", DestinationDlgProc,
                                     {Type(104, Typed), Click(IDCANCEL),
                                      [&](HWND Dialog) {
                                          OpenAfterNo = IsWindowVisible(Dialog);
                                          AfterNo = ControlText(Dialog, 104);
                                      },
                                      PressEscape, EndStayedOpen});
    EXPECT_EQ(Result, 0);
    EXPECT_TRUE(OpenAfterNo);
    EXPECT_EQ(AfterNo, Typed);
    EXPECT_EQ(Boxes, std::vector<std::string>({Confirmation, Confirmation}));
}

// ---- agreement -------------------------------------------------------------------------

TEST_F(Screens, AgreementOpensWithItsBoxAndEnterAgrees) {
    std::string Caption, Heading, Footer, Shown, BoxClass;
    int Focus = 0;
    LONG_PTR Style = 0, ExStyle = 0;
    RECT Client = {}, Box = {};
    const INT_PTR Result =
        RunDialog("License", LicenseDlgProc,
                  {[&](HWND Dialog) {
                       Caption = Text(Dialog);
                       Heading = ControlText(Dialog, 102);
                       Footer = ControlText(Dialog, 101);
                       Focus = FocusId(Dialog);
                       ExpectCentred(Dialog, "agreement");
                       const HWND Agreement = GetDlgItem(Dialog, 0);
                       ASSERT_TRUE(Agreement);
                       char Class[32] = {};
                       GetClassNameA(Agreement, Class, sizeof Class);
                       BoxClass = Class;
                       Style = GetWindowLongPtrA(Agreement, GWL_STYLE);
                       ExStyle = GetWindowLongPtrA(Agreement, GWL_EXSTYLE);
                       Shown = Text(Agreement);
                       GetClientRect(Dialog, &Client);
                       GetWindowRect(Agreement, &Box);
                       MapWindowPoints(nullptr, Dialog, reinterpret_cast<POINT*>(&Box), 2);
                   },
                   Shot("license.png"), PressEnter, EndStayedOpen});
    EXPECT_EQ(Result, 1) << "Enter right after opening agrees";
    EXPECT_EQ(Caption, "License Agreement");
    EXPECT_EQ(Heading, "IMPORTANT: Please read the following License Agreement");
    EXPECT_EQ(Footer, "You must agree to the terms of the above License Agreement to install and "
                      "use Pictavorn. If you do not agree, click on the Exit button.");
    EXPECT_EQ(Focus, IDOK);
    EXPECT_EQ(BoxClass, "Edit");
    EXPECT_EQ(Style, 0x50200804);
    EXPECT_TRUE(ExStyle & WS_EX_CLIENTEDGE);
    EXPECT_EQ(Shown, AgreementText);
    // 10 pixels left, top and right, 80 below; the outer rectangle, sunken edge included.
    EXPECT_EQ(Box.left, 10);
    EXPECT_EQ(Box.top, 10);
    EXPECT_EQ(Box.right, Client.right - 10);
    EXPECT_EQ(Box.bottom, Client.bottom - 80);
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(Screens, AgreementExitNoThenEscapeYes) {
    std::string AfterNo;
    bool OpenAfterNo = false;
    Answers = {IDNO, IDYES};
    const INT_PTR Result = RunDialog("License", LicenseDlgProc,
                                     {Click(IDCANCEL),
                                      [&](HWND Dialog) {
                                          OpenAfterNo = IsWindowVisible(Dialog);
                                          AfterNo = Text(GetDlgItem(Dialog, 0));
                                      },
                                      PressEscape, EndStayedOpen});
    EXPECT_EQ(Result, 0);
    EXPECT_TRUE(OpenAfterNo);
    EXPECT_EQ(AfterNo, AgreementText);
    EXPECT_EQ(Boxes, std::vector<std::string>({Confirmation, Confirmation}));
}

// ---- group -----------------------------------------------------------------------------

TEST_F(Screens, GroupOpensWithTheProposedNameAndEnterKeepsIt) {
    GroupName = "Pictavorn";
    std::string Caption, Prompt, Box;
    int Focus = 0;
    const INT_PTR Result = RunDialog("Group", GroupDlgProc,
                                     {[&](HWND Dialog) {
                                          Caption = Text(Dialog);
                                          Prompt = ControlText(Dialog, 101);
                                          Box = ControlText(Dialog, 102);
                                          Focus = FocusId(Dialog);
                                          ExpectCentred(Dialog, "group");
                                      },
                                      Shot("group.png"), PressEnter, EndStayedOpen});
    EXPECT_EQ(Result, 1);
    EXPECT_EQ(Caption, "Program Group");
    EXPECT_EQ(Prompt, "Please enter the name of the program group that you would like Pictavorn "
                      "to use. To accept the default, simply press ENTER.");
    EXPECT_EQ(Box, "Pictavorn");
    EXPECT_EQ(Focus, IDOK);
    EXPECT_EQ(GroupName, "Pictavorn");
}

TEST_F(Screens, GroupTakesWhatTheBoxHolds) {
    struct {
        const char* Name;
        std::vector<TStepProc> Steps;
        INT_PTR Result;
        std::string GroupName;
    } Rows[] = {
        {"mixed case stays",
         {Type(102, "My Pictavorn Tools"), Click(IDOK)},
         1,
         "My Pictavorn Tools"},
        {"the empty text too", {Type(102, ""), Click(IDOK)}, 1, ""},
        {"at most 254 characters",
         {Type(102, std::string(300, 'g')), Click(IDOK)},
         1,
         std::string(254, 'g')},
        {"Cancel asks nothing", {Type(102, "Other"), Click(IDCANCEL)}, 0, "Pictavorn"},
        {"the close box",
         {[](HWND Dialog) { PostMessageA(Dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
         0,
         "Pictavorn"},
    };
    for (auto& Row : Rows) {
        GroupName = "Pictavorn";
        Boxes.clear();
        Row.Steps.push_back(EndStayedOpen);
        EXPECT_EQ(RunDialog("Group", GroupDlgProc, Row.Steps), Row.Result) << Row.Name;
        EXPECT_EQ(GroupName, Row.GroupName) << Row.Name;
        EXPECT_TRUE(Boxes.empty()) << Row.Name;
    }
}

// ---- progress --------------------------------------------------------------------------

namespace {

// A phase of Blocks blocks that pumps after each, as the real ones do, and records what it
// saw; the first block draws 12.5 percent and reads the bar back.
struct TPhaseRecord {
    int Blocks = 0;
    int32_t FlagAtStart = -1;
    COLORREF BeforeEdge = 0, AtEdge = 0;
    bool TextDrawn = false;
    bool PostQuit = false;
};
TPhaseRecord Phase;
constexpr int PhaseBlocks = 40;

void ReadBar(HWND Dialog) {
    RECT Frame = {}, Window = {};
    GetWindowRect(GetDlgItem(Dialog, 101), &Frame);
    GetWindowRect(Dialog, &Window);
    const TMeterRect Area = MeterArea({Frame.left, Frame.top, Frame.right, Frame.bottom},
                                      {Window.left, Window.top, Window.right, Window.bottom},
                                      GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYCAPTION),
                                      GetSystemMetrics(SM_CYBORDER));
    const int32_t Width = Area.Right - Area.Left + 1;
    const int32_t Fill = RoundHalfEven(0.125 * Width) + Area.Left;
    const int32_t Middle = (Area.Top + Area.Bottom) / 2;
    const HDC Dc = GetDC(Dialog);
    Phase.BeforeEdge = GetPixel(Dc, Fill - 1, Middle);
    Phase.AtEdge = GetPixel(Dc, Fill, Middle);
    const TMeterPoint TextAt = MeterTextPosition(Area);
    for (int X = TextAt.X; X < TextAt.X + 30 && !Phase.TextDrawn; ++X)
        for (int Y = TextAt.Y; Y < TextAt.Y + 16; ++Y)
            if (GetPixel(Dc, X, Y) == RGB(0, 0, 0)) Phase.TextDrawn = true;
    ReleaseDC(Dialog, Dc);
}

void TestPhase(HWND Dialog) {
    Phase.FlagAtStart = ProceedFlag;
    LastDrawnPercent = -1;
    DrawMeter(1, 8);
    ReadBar(Dialog);
    if (Phase.PostQuit) PostQuitMessage(0);
    for (Phase.Blocks = 0; Phase.Blocks < PhaseBlocks && ProceedFlag; ++Phase.Blocks) {
        DrawMeter(Phase.Blocks + 1, PhaseBlocks);
        PumpMessages();
    }
}

struct TProgress {
    const char* Template;
    DLGPROC Procedure;
    const char* Line;
    const char* Shot;
} const Progresses[] = {
    {"IProgress", CopyingDlgProc, "Installing the Pictavorn files.", "copying.png"},
    {"Progress", UnpackingDlgProc, "Uncompressing the Pictavorn files:", "unpacking.png"},
};

} // namespace

TEST_F(Screens, ProgressDialogsOpenRunTheirPhaseAndDrawTheMeter) {
    CopyingPhase = UnpackingPhase = TestPhase;
    for (const auto& Progress : Progresses) {
        Phase = {};
        ProceedFlag = 7;
        std::string Caption, Line, Cancel;
        int Focus = 0;
        const INT_PTR Result = RunDialog(Progress.Template, Progress.Procedure,
                                         {[&](HWND Dialog) {
                                              Caption = Text(Dialog);
                                              Line = ControlText(Dialog, 0xFFFF);
                                              Cancel = ControlText(Dialog, IDCANCEL);
                                              Focus = FocusId(Dialog);
                                              ExpectCentred(Dialog, Progress.Template);
                                          },
                                          [](HWND) { DrawMeter(45, 100); }, Shot(Progress.Shot)});
        EXPECT_EQ(Result, 1) << Progress.Template;
        EXPECT_EQ(Caption, "Please Stand By...") << Progress.Template;
        EXPECT_EQ(Line, Progress.Line);
        EXPECT_EQ(Cancel, "Cancel");
        EXPECT_EQ(Focus, IDCANCEL) << Progress.Template;
        EXPECT_EQ(Phase.FlagAtStart, 1) << Progress.Template;
        EXPECT_EQ(Phase.Blocks, PhaseBlocks);
        EXPECT_EQ(Phase.BeforeEdge, RGB(255, 0, 0)) << Progress.Template << ": red up to the edge";
        EXPECT_EQ(Phase.AtEdge, RGB(255, 255, 255)) << Progress.Template << ": white from it";
        EXPECT_TRUE(Phase.TextDrawn) << Progress.Template << ": the percentage in black";
        EXPECT_EQ(LastDrawnPercent, 100);
        EXPECT_EQ(ProceedFlag, 0) << Progress.Template << ": destroyed";
    }
}

TEST_F(Screens, ProgressCancelWithNoGoesOnWithYesStops) {
    CopyingPhase = UnpackingPhase = TestPhase;
    for (const auto& Progress : Progresses) {
        for (const int Answer : {IDNO, IDYES}) {
            Phase = {};
            Boxes.clear();
            Answers = {Answer};
            int32_t FlagAfterAnswer = -1;
            const INT_PTR Result =
                RunDialog(Progress.Template, Progress.Procedure,
                          {Click(IDCANCEL), [&](HWND) { FlagAfterAnswer = ProceedFlag; }});
            const bool Yes = Answer == IDYES;
            EXPECT_EQ(Result, Yes ? 0 : 1) << Progress.Template << " " << Answer;
            // The answer does not end the dialog: the phase sees the flag at its next check.
            EXPECT_EQ(FlagAfterAnswer, Yes ? 0 : 1) << Progress.Template;
            EXPECT_EQ(Phase.Blocks < PhaseBlocks, Yes) << Progress.Template << " " << Phase.Blocks;
            EXPECT_EQ(Boxes, std::vector<std::string>({Confirmation})) << Progress.Template;
            EXPECT_EQ(ProceedFlag, 0) << Progress.Template << ": destroyed";
        }
    }
}

TEST_F(Screens, ProgressPhaseLosesAQuitMessage) {
    CopyingPhase = TestPhase;
    Phase = {};
    Phase.PostQuit = true;
    EXPECT_EQ(RunDialog("IProgress", CopyingDlgProc, {}), 1);
    EXPECT_EQ(Phase.Blocks, PhaseBlocks);
    MSG Message;
    EXPECT_FALSE(PeekMessageA(&Message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(Screens, MeterWithoutTotalDrawsComplete) {
    CopyingPhase = [](HWND) {
        LastDrawnPercent = -1;
        DrawMeter(5, 0);
    };
    EXPECT_EQ(RunDialog("IProgress", CopyingDlgProc, {}), 1);
    EXPECT_EQ(MeterPercent, 100);
    EXPECT_EQ(LastDrawnPercent, 100);
}

// ---- backdrop --------------------------------------------------------------------------

TEST_F(Screens, NoticeFitsLeftOfTheScreensRightEdge) {
    const HDC Dc = GetDC(BackdropWindow);
    const HFONT Font = CreateFontA(12, 0, 0, 0, 900, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, "Small");
    const HGDIOBJ Kept = SelectObject(Dc, Font);
    SIZE Extent = {};
    GetTextExtentPoint32A(Dc, NoticeLine.c_str(), static_cast<int>(NoticeLine.size()), &Extent);
    SelectObject(Dc, Kept);
    DeleteObject(Font);
    ReleaseDC(BackdropWindow, Dc);
    EXPECT_GT(Extent.cx, 0);
    EXPECT_LE(Extent.cx, 250) << NoticeLine;
    EXPECT_NE(NoticeLine.find("Mirelquist"), std::string::npos);
}

// Wine keeps one quit state per thread, so the two posts of a close read as one here.
TEST_F(Screens, ClosingTheBackdropPostsQuit) {
    const HWND Window = CreateWindowExA(0, "MQSetUp", "Installation", 0x90000000, 0, 0, 10, 10,
                                        nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(Window);
    MSG Message;
    SendMessageA(Window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(Window));
    EXPECT_TRUE(PeekMessageA(&Message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new ScreensEnvironment);
    return RUN_ALL_TESTS();
}
