// The UI robot: runs a scenario (a text file, one step per line; see README.md) against the
// setup program's windows, from another process in the same Wine prefix and X screen. It
// finds dialogs and message boxes by caption, reads and types control texts with WM_GETTEXT
// and WM_SETTEXT, and presses buttons by posting, since a sent click would block for as long
// as the modal box that it opens. It exits 0 when every step held, 1 otherwise, naming the
// step that failed.
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "ShotRequest.h"

namespace {

struct TStep {
    std::string File;
    int Line;
    std::string Source;
    std::vector<std::string> Args;
};

struct EStepFailed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void Fail(const std::string& Why) {
    throw EStepFailed(Why);
}

// ---- the scenario's text ---------------------------------------------------------------

std::string Expand(const std::string& Token) {
    std::string Out;
    for (size_t At = 0; At < Token.size();) {
        if (Token.compare(At, 2, "${") != 0) {
            Out += Token[At++];
            continue;
        }
        const size_t End = Token.find('}', At);
        if (End == std::string::npos) Fail("unclosed ${ in " + Token);
        const std::string Name = Token.substr(At + 2, End - At - 2);
        char Value[4096];
        const DWORD Length = GetEnvironmentVariableA(Name.c_str(), Value, sizeof Value);
        if (!Length || Length >= sizeof Value) Fail("the environment has no " + Name);
        Out += Value;
        At = End + 1;
    }
    return Out;
}

// Blank-separated tokens; "quoted" ones may hold blanks and the escapes \r \n \t \" \\ \xHH
// (any other backslash stands for itself);
// a # that begins a token begins a comment.
std::vector<std::string> Tokens(const std::string& Line) {
    std::vector<std::string> Out;
    size_t At = 0;
    while (true) {
        while (At < Line.size() && (Line[At] == ' ' || Line[At] == '\t' || Line[At] == '\r'))
            ++At;
        if (At >= Line.size() || Line[At] == '#') break;
        std::string Token;
        if (Line[At] != '"') {
            while (At < Line.size() && Line[At] != ' ' && Line[At] != '\t' && Line[At] != '\r')
                Token += Line[At++];
        } else {
            for (++At;; ++At) {
                if (At >= Line.size()) Fail("unclosed quote");
                char C = Line[At];
                if (C == '"') break;
                if (C == '\\' && At + 1 < Line.size()) {
                    const char Next = Line[At + 1];
                    const std::string Hex = Line.substr(At + 2, 2);
                    if (Next == 'r' || Next == 'n' || Next == 't' || Next == '"' || Next == '\\') {
                        C = Next == 'r' ? '\r' : Next == 'n' ? '\n' : Next == 't' ? '\t' : Next;
                        ++At;
                    } else if (Next == 'x' && Hex.size() == 2 && isxdigit(Hex[0]) &&
                               isxdigit(Hex[1])) {
                        C = static_cast<char>(std::strtol(Hex.c_str(), nullptr, 16));
                        At += 3;
                    } // any other backslash stays, as in a Windows path
                }
                Token += C;
            }
            ++At;
        }
        Out.push_back(Expand(Token));
    }
    return Out;
}

std::string ScenarioPath(const std::string& Argument);

// `include FILE` takes the steps of FILE in its place; a relative name is taken from the
// folder of the scenario that includes it.
std::vector<TStep> ReadScenario(const std::string& Path, int Depth = 0) {
    if (Depth > 8) throw std::runtime_error("includes nested too deep at " + Path);
    FILE* File = std::fopen(Path.c_str(), "rb");
    if (!File) throw std::runtime_error("cannot read the scenario " + Path);
    std::string Text;
    for (int C; (C = std::fgetc(File)) != EOF;)
        Text += static_cast<char>(C);
    std::fclose(File);
    std::vector<TStep> Steps;
    int Number = 0;
    for (size_t At = 0; At <= Text.size();) {
        size_t End = Text.find('\n', At);
        if (End == std::string::npos) End = Text.size();
        const std::string Line = Text.substr(At, End - At);
        At = End + 1;
        ++Number;
        try {
            TStep Step{Path, Number, Line, Tokens(Line)};
            if (Step.Args.size() == 2 && Step.Args[0] == "include") {
                std::string Included = ScenarioPath(Step.Args[1]);
                const size_t Slash = Path.find_last_of("\\/");
                if (Included.find(':') == std::string::npos && Slash != std::string::npos)
                    Included = Path.substr(0, Slash + 1) + Included;
                const std::vector<TStep> More = ReadScenario(Included, Depth + 1);
                Steps.insert(Steps.end(), More.begin(), More.end());
            } else if (!Step.Args.empty()) {
                Steps.push_back(Step);
            }
        } catch (const EStepFailed& Error) {
            throw std::runtime_error(Path + ":" + std::to_string(Number) + ": " + Error.what());
        }
    }
    return Steps;
}

std::string Shown(const std::string& Text) {
    std::string Out = "\"";
    for (char C : Text) {
        if (C == '\r')
            Out += "\\r";
        else if (C == '\n')
            Out += "\\n";
        else if (C == '"')
            Out += "\\\"";
        else
            Out += C;
    }
    return Out + "\"";
}

// ---- the robot's state and its view of the windows -------------------------------------

HANDLE Process = nullptr;
DWORD ProcessId = 0;
std::string ProgramName;
HWND Current = nullptr;
std::string CurrentCaption;
DWORD TimeoutMs = 10000;
DWORD StartTicks = GetTickCount();

int Number(const std::string& Text) {
    char* End = nullptr;
    const long Value = std::strtol(Text.c_str(), &End, 0);
    if (Text.empty() || *End) Fail("not a number: " + Text);
    return static_cast<int>(Value);
}

// Template ids are 16 bits: -1 is the static 0xFFFF.
int ControlId(const std::string& Text) {
    return Number(Text) & 0xFFFF;
}

std::string Caption(HWND Window) {
    char Text[512] = {};
    GetWindowTextA(Window, Text, sizeof Text);
    return Text;
}

std::string ClassOf(HWND Window) {
    char Name[256] = {};
    GetClassNameA(Window, Name, sizeof Name);
    return Name;
}

struct TSearch {
    std::string Caption, Class, Text; // an empty Text matches any
    HWND Found;
};

std::string StaticText(HWND Window) {
    const HWND Text = GetDlgItem(Window, 0xFFFF);
    char Buffer[1024] = {};
    DWORD_PTR Result = 0;
    if (Text)
        SendMessageTimeoutA(Text, WM_GETTEXT, sizeof Buffer, reinterpret_cast<LPARAM>(Buffer),
                            SMTO_ABORTIFHUNG, 500, &Result);
    return Buffer;
}

BOOL CALLBACK Match(HWND Window, LPARAM Param) {
    auto& Search = *reinterpret_cast<TSearch*>(Param);
    DWORD Owner = 0;
    GetWindowThreadProcessId(Window, &Owner);
    if (!IsWindowVisible(Window) || (ProcessId && Owner != ProcessId)) return TRUE;
    if (ClassOf(Window) != Search.Class || Caption(Window) != Search.Caption) return TRUE;
    if (!Search.Text.empty() && StaticText(Window) != Search.Text) return TRUE;
    Search.Found = Window;
    return FALSE; // the topmost of that caption
}

HWND FindWindowByCaption(const std::string& Caption, const std::string& Class,
                         const std::string& Text) {
    TSearch Search{Caption, Class, Text, nullptr};
    EnumWindows(Match, reinterpret_cast<LPARAM>(&Search));
    return Search.Found;
}

// Polls Condition until it holds or the timeout runs out.
template <class TCondition> bool Eventually(TCondition Condition) {
    for (DWORD Waited = 0;; Waited += 50) {
        if (Condition()) return true;
        if (Waited >= TimeoutMs) return false;
        Sleep(50);
    }
}

HWND Window() {
    if (!Current) Fail("no current window: a `window` step must come first");
    if (!IsWindow(Current)) Fail("the window " + Shown(CurrentCaption) + " is gone");
    return Current;
}

HWND Control(int Id) {
    const HWND Found = GetDlgItem(Window(), Id);
    if (!Found) Fail("the window has no control " + std::to_string(Id));
    return Found;
}

std::string ControlText(HWND Control) {
    static char Text[65536];
    Text[0] = 0;
    DWORD_PTR Result = 0;
    if (!SendMessageTimeoutA(Control, WM_GETTEXT, sizeof Text, reinterpret_cast<LPARAM>(Text),
                             SMTO_ABORTIFHUNG, 2000, &Result))
        Fail("the control does not answer WM_GETTEXT");
    return Text;
}

HWND FocusOf(HWND Window) {
    GUITHREADINFO Info = {};
    Info.cbSize = sizeof Info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(Window, nullptr), &Info)) return nullptr;
    return Info.hwndFocus;
}

BOOL CALLBACK Describe(HWND Window, LPARAM) {
    DWORD Owner = 0;
    GetWindowThreadProcessId(Window, &Owner);
    if (!IsWindowVisible(Window) || (ProcessId && Owner != ProcessId)) return TRUE;
    std::fprintf(stderr, "  window %s class %s", Shown(Caption(Window)).c_str(),
                 ClassOf(Window).c_str());
    if (GetDlgItem(Window, 0xFFFF))
        std::fprintf(stderr, " text %s", Shown(StaticText(Window)).c_str());
    std::fprintf(stderr, "\n");
    return TRUE;
}

// Lets the target handle what it was sent, and the screen settle, before a screenshot.
void Settle() {
    if (Current && IsWindow(Current)) {
        DWORD_PTR Result = 0;
        SendMessageTimeoutA(Current, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &Result);
    }
    Sleep(300);
}

// ---- files and the registry ------------------------------------------------------------

void RemoveTree(const std::string& Path) {
    WIN32_FIND_DATAA Found;
    const HANDLE Search = FindFirstFileA((Path + "\\*").c_str(), &Found);
    if (Search != INVALID_HANDLE_VALUE) {
        do {
            const std::string Name = Found.cFileName;
            if (Name == "." || Name == "..") continue;
            const std::string Child = Path + "\\" + Name;
            if (Found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(Child);
            else if (!DeleteFileA(Child.c_str()))
                Fail("cannot delete " + Child);
        } while (FindNextFileA(Search, &Found));
        FindClose(Search);
    }
    if (!RemoveDirectoryA(Path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND &&
        GetLastError() != ERROR_PATH_NOT_FOUND)
        Fail("cannot remove " + Path);
}

bool Exists(const std::string& Path) {
    return GetFileAttributesA(Path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

HKEY RootKey(const std::string& Path, std::string& Rest) {
    const size_t Slash = Path.find('\\');
    const std::string Root = Path.substr(0, Slash);
    Rest = Slash == std::string::npos ? "" : Path.substr(Slash + 1);
    if (Root == "HKCU" || Root == "HKEY_CURRENT_USER") return HKEY_CURRENT_USER;
    if (Root == "HKLM" || Root == "HKEY_LOCAL_MACHINE") return HKEY_LOCAL_MACHINE;
    Fail("unknown registry root " + Root);
}

// ---- the steps -------------------------------------------------------------------------

void Need(const TStep& Step, size_t Least, size_t Most, const char* Usage) {
    const size_t Given = Step.Args.size() - 1;
    if (Given < Least || Given > Most) Fail(std::string("usage: ") + Usage);
}

void Run(std::string Command, const std::string& Name) {
    if (Process) Fail("a program is already running: end it with an `exit` step first");
    STARTUPINFOA Start = {};
    Start.cb = sizeof Start;
    PROCESS_INFORMATION Started = {};
    if (!CreateProcessA(nullptr, &Command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &Start,
                        &Started))
        Fail("cannot start " + Command + " (error " + std::to_string(GetLastError()) + ")");
    CloseHandle(Started.hThread);
    Process = Started.hProcess;
    ProcessId = Started.dwProcessId;
    ProgramName = Name;
    Current = nullptr;
}

void Run(const TStep& Step) {
    std::string Command;
    for (size_t At = 1; At < Step.Args.size(); ++At)
        Command += (At > 1 ? " \"" : "\"") + Step.Args[At] + "\"";
    Run(Command, Step.Args[1]);
}

void ExitStep(int Expected) {
    if (!Process) Fail("no program was started");
    if (WaitForSingleObject(Process, TimeoutMs) != WAIT_OBJECT_0)
        Fail(ProgramName + " is still running after " + std::to_string(TimeoutMs / 1000) + " s");
    DWORD Code = 0;
    GetExitCodeProcess(Process, &Code);
    CloseHandle(Process);
    Process = nullptr;
    ProcessId = 0;
    Current = nullptr;
    if (static_cast<int>(Code) != Expected)
        Fail(ProgramName + " ended with " + std::to_string(Code) + ", not " +
             std::to_string(Expected));
}

void FindStep(const std::string& Caption, const std::string& Class, const std::string& Text) {
    HWND Found = nullptr;
    if (!Eventually([&] { return (Found = FindWindowByCaption(Caption, Class, Text)) != nullptr; }))
        Fail("no visible " + Class + " window captioned " + Shown(Caption) +
             (Text.empty() ? "" : " with the text " + Shown(Text)));
    Current = Found;
    CurrentCaption = Caption;
}

void TextStep(int Id, const std::string& Expected) {
    const HWND Found = Control(Id);
    std::string Actual;
    if (!Eventually([&] { return (Actual = ControlText(Found)) == Expected; }))
        Fail("control " + std::to_string(Id) + " reads " + Shown(Actual));
}

void CentredStep() {
    RECT Rect = {};
    GetWindowRect(Window(), &Rect);
    const int Width = Rect.right - Rect.left, Height = Rect.bottom - Rect.top;
    const int X = GetSystemMetrics(SM_CXSCREEN) / 2 - Width / 2;
    const int Y = GetSystemMetrics(SM_CYSCREEN) / 2 - Height / 2;
    if (Rect.left != X || Rect.top != Y)
        Fail("the window of " + std::to_string(Width) + " x " + std::to_string(Height) +
             " stands at (" + std::to_string(Rect.left) + ", " + std::to_string(Rect.top) +
             "), centred would be (" + std::to_string(X) + ", " + std::to_string(Y) + ")");
}

void FocusStep(int Id) {
    const HWND Dialog = Window();
    HWND Focus = nullptr;
    if (!Eventually([&] {
            Focus = FocusOf(Dialog);
            return Focus && GetParent(Focus) == Dialog && (GetDlgCtrlID(Focus) & 0xFFFF) == Id;
        }))
        Fail("the focus is on " +
             (Focus ? "control " + std::to_string(GetDlgCtrlID(Focus)) + " (" + ClassOf(Focus) + ")"
                    : std::string("no window")));
}

void TypeStep(int Id, const std::string& Text) {
    DWORD_PTR Result = 0;
    if (!SendMessageTimeoutA(Control(Id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Text.c_str()),
                             SMTO_ABORTIFHUNG, 2000, &Result))
        Fail("the control does not answer WM_SETTEXT");
}

void PressStep(int Id) {
    const HWND Button = Control(Id);
    if (!IsWindowEnabled(Button)) Fail("control " + std::to_string(Id) + " is disabled");
    PostMessageA(Button, BM_CLICK, 0, 0);
}

void CommandStep(int Id) {
    const HWND Dialog = Window();
    PostMessageA(Dialog, WM_COMMAND, MAKEWPARAM(Id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(Dialog, Id)));
}

void KeyStep(const std::string& Name) {
    const UINT Key = Name == "return"   ? VK_RETURN
                     : Name == "escape" ? VK_ESCAPE
                     : Name == "space"  ? VK_SPACE
                     : Name == "tab"    ? VK_TAB
                                        : 0;
    if (!Key) Fail("unknown key " + Name + " (return, escape, space, tab)");
    HWND Target = FocusOf(Window());
    if (!Target) Target = Current;
    const LPARAM Scan = static_cast<LPARAM>(MapVirtualKeyA(Key, MAPVK_VK_TO_VSC)) << 16;
    PostMessageA(Target, WM_KEYDOWN, Key, 1 | Scan);
    PostMessageA(Target, WM_KEYUP, Key, 1 | Scan | 0xC0000000);
}

void RegSetStep(const std::string& Path, const std::string& Name, const std::string& Text) {
    std::string Rest;
    const HKEY Root = RootKey(Path, Rest);
    HKEY Key = nullptr;
    if (RegCreateKeyExA(Root, Rest.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &Key,
                        nullptr) != ERROR_SUCCESS)
        Fail("cannot create the key " + Path);
    const LONG Set =
        RegSetValueExA(Key, Name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(Text.c_str()),
                       static_cast<DWORD>(Text.size() + 1));
    RegCloseKey(Key);
    if (Set != ERROR_SUCCESS) Fail("cannot set " + Name);
}

// The text of a REG_SZ value; false when the key or the value is missing.
bool RegText(const std::string& Path, const std::string& Name, std::string& Text) {
    std::string Rest;
    const HKEY Root = RootKey(Path, Rest);
    HKEY Key = nullptr;
    if (RegOpenKeyExA(Root, Rest.c_str(), 0, KEY_READ, &Key) != ERROR_SUCCESS) return false;
    char Buffer[4096] = {};
    DWORD Size = sizeof Buffer - 1, Type = 0;
    const LONG Read = RegQueryValueExA(Key, Name.empty() ? nullptr : Name.c_str(), nullptr, &Type,
                                       reinterpret_cast<BYTE*>(Buffer), &Size);
    RegCloseKey(Key);
    Text = Buffer;
    return Read == ERROR_SUCCESS || (Name.empty() && Read == ERROR_FILE_NOT_FOUND);
}

void RegDelStep(const TStep& Step) {
    std::string Rest;
    const HKEY Root = RootKey(Step.Args[1], Rest);
    if (Step.Args.size() == 3) {
        HKEY Key = nullptr;
        if (RegOpenKeyExA(Root, Rest.c_str(), 0, KEY_ALL_ACCESS, &Key) != ERROR_SUCCESS) return;
        RegDeleteValueA(Key, Step.Args[2].c_str());
        RegCloseKey(Key);
        return;
    }
    const LONG Deleted = RegDeleteTreeA(Root, Rest.c_str());
    if (Deleted == ERROR_SUCCESS)
        RegDeleteKeyA(Root, Rest.c_str());
    else if (Deleted != ERROR_FILE_NOT_FOUND)
        Fail("cannot delete the key " + Step.Args[1]);
}

void Execute(const TStep& Step) {
    const std::string& Verb = Step.Args[0];
    const auto& A = Step.Args;
    if (Verb == "timeout") {
        Need(Step, 1, 1, "timeout SECONDS");
        TimeoutMs = static_cast<DWORD>(Number(A[1])) * 1000;
    } else if (Verb == "run") {
        Need(Step, 1, 99, "run PROGRAM [ARGUMENT...]");
        Run(Step);
    } else if (Verb == "exit") {
        Need(Step, 1, 1, "exit CODE");
        ExitStep(Number(A[1]));
    } else if (Verb == "window") {
        Need(Step, 1, 3, "window CAPTION [CLASS [TEXT]]");
        FindStep(A[1], A.size() > 2 ? A[2] : "#32770", A.size() > 3 ? A[3] : "");
    } else if (Verb == "text") {
        Need(Step, 2, 2, "text ID TEXT");
        TextStep(ControlId(A[1]), A[2]);
    } else if (Verb == "centred") {
        Need(Step, 0, 0, "centred");
        CentredStep();
    } else if (Verb == "focus") {
        Need(Step, 1, 1, "focus ID");
        FocusStep(ControlId(A[1]));
    } else if (Verb == "type") {
        Need(Step, 2, 2, "type ID TEXT");
        TypeStep(ControlId(A[1]), A[2]);
    } else if (Verb == "press") {
        Need(Step, 1, 1, "press ID");
        PressStep(ControlId(A[1]));
    } else if (Verb == "command") {
        Need(Step, 1, 1, "command ID");
        CommandStep(ControlId(A[1]));
    } else if (Verb == "key") {
        Need(Step, 1, 1, "key return|escape|space|tab");
        KeyStep(A[1]);
    } else if (Verb == "gone") {
        Need(Step, 0, 0, "gone");
        const HWND Dialog = Window();
        if (!Eventually([&] { return !IsWindow(Dialog) || !IsWindowVisible(Dialog); }))
            Fail("the window " + Shown(CurrentCaption) + " is still open");
        Current = nullptr;
    } else if (Verb == "stays") {
        Need(Step, 1, 1, "stays MILLISECONDS");
        Window();
        Sleep(static_cast<DWORD>(Number(A[1])));
        if (!IsWindow(Current) || !IsWindowVisible(Current))
            Fail("the window " + Shown(CurrentCaption) + " closed");
    } else if (Verb == "sleep") {
        Need(Step, 1, 1, "sleep MILLISECONDS");
        Sleep(static_cast<DWORD>(Number(A[1])));
    } else if (Verb == "shot") {
        Need(Step, 1, 1, "shot NAME.png|NAME.ppm");
        Settle();
        std::string Error;
        if (!RequestShot(A[1], Error)) Fail(Error);
    } else if (Verb == "copy") {
        Need(Step, 2, 2, "copy FROM TO");
        if (!CopyFileA(A[1].c_str(), A[2].c_str(), FALSE))
            Fail("cannot copy (error " + std::to_string(GetLastError()) + ")");
    } else if (Verb == "delete") {
        Need(Step, 1, 1, "delete FILE");
        if (!DeleteFileA(A[1].c_str()) && Exists(A[1])) Fail("cannot delete " + A[1]);
    } else if (Verb == "mkdir") {
        Need(Step, 1, 1, "mkdir FOLDER");
        if (!CreateDirectoryA(A[1].c_str(), nullptr) && !Exists(A[1])) Fail("cannot make " + A[1]);
    } else if (Verb == "rmdir") {
        Need(Step, 1, 1, "rmdir FOLDER");
        if (Exists(A[1])) RemoveTree(A[1]);
    } else if (Verb == "exists") {
        Need(Step, 1, 1, "exists PATH");
        if (!Eventually([&] { return Exists(A[1]); })) Fail(A[1] + " does not exist");
    } else if (Verb == "missing") {
        Need(Step, 1, 1, "missing PATH");
        if (Exists(A[1])) Fail(A[1] + " exists");
    } else if (Verb == "regset") {
        Need(Step, 3, 3, "regset KEY NAME TEXT");
        RegSetStep(A[1], A[2], A[3]);
    } else if (Verb == "regdel") {
        Need(Step, 1, 2, "regdel KEY [NAME]");
        RegDelStep(Step);
    } else if (Verb == "reg") {
        Need(Step, 3, 3, "reg KEY NAME TEXT");
        std::string Text;
        if (!RegText(A[1], A[2], Text)) Fail(A[1] + " has no value " + Shown(A[2]));
        if (Text != A[3]) Fail(A[1] + " " + A[2] + " reads " + Shown(Text));
    } else if (Verb == "noreg") {
        Need(Step, 1, 2, "noreg KEY [NAME]");
        std::string Text;
        if (RegText(A[1], A.size() > 2 ? A[2] : "", Text))
            Fail(A[1] + " " + (A.size() > 2 ? A[2] : "") + " exists");
    } else if (Verb == "runreg") {
        Need(Step, 2, 2, "runreg KEY NAME");
        std::string Command;
        if (!RegText(A[1], A[2], Command) || Command.empty()) Fail(A[1] + " has no " + A[2]);
        Run(Command, Command);
    } else if (Verb == "close") {
        Need(Step, 0, 0, "close");
        PostMessageA(Window(), WM_CLOSE, 0, 0);
    } else if (Verb == "clock") {
        Need(Step, 1, 1, "clock LABEL");
        std::printf("robot: clock %s %lu ms\n", A[1].c_str(), GetTickCount() - StartTicks);
        std::fflush(stdout);
    } else {
        Fail("unknown step " + Verb);
    }
}

std::string ScenarioPath(const std::string& Argument) {
    std::string Path = Argument;
    if (!Path.empty() && Path[0] == '/') { // a host path: drive Z: is the host's root
        for (char& C : Path)
            if (C == '/') C = '\\';
        Path = "Z:" + Path;
    }
    return Path;
}

std::string BaseName(const std::string& Path) {
    const size_t Slash = Path.find_last_of("\\/:");
    std::string Name = Slash == std::string::npos ? Path : Path.substr(Slash + 1);
    return Name.substr(0, Name.rfind('.'));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: robot SCENARIO\n");
        return 2;
    }
    const std::string Path = ScenarioPath(argv[1]);
    std::vector<TStep> Steps;
    try {
        Steps = ReadScenario(Path);
    } catch (const std::exception& Error) {
        std::fprintf(stderr, "robot: %s\n", Error.what());
        return 2;
    }
    for (const TStep& Step : Steps) {
        try {
            Execute(Step);
        } catch (const std::exception& Error) {
            std::fprintf(stderr, "robot: %s:%d: `%s`: %s\n", Step.File.c_str(), Step.Line,
                         Step.Source.c_str(), Error.what());
            std::fprintf(stderr, "robot: the windows on the screen:\n");
            EnumWindows(Describe, 0);
            std::string Ignored;
            RequestShot("failed-" + BaseName(Path) + ".png", Ignored, 5000);
            if (Process) TerminateProcess(Process, 99);
            return 1;
        }
    }
    if (Process) {
        std::fprintf(stderr, "robot: %s: the scenario ended while %s still runs\n", Path.c_str(),
                     ProgramName.c_str());
        TerminateProcess(Process, 99);
        return 1;
    }
    std::printf("robot: %s: %zu steps passed\n", Path.c_str(), Steps.size());
    return 0;
}
