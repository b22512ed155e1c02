// The demo product's uninstaller: removes what the setup program installed (the product's
// files from its own folder and the Help folder, the Start-menu link that points at the main
// program, the uninstall entry) and leaves everything else alone, then says what it removed.
// Plain Win32 and fixed buffers: it has to fit its 60 KB place in the product.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "demo/ProductFiles.h"

namespace {

const char* const Caption = "Pictavorn Uninstall";
const char* const UninstallKey = "Software\\microsoft\\windows\\currentversion\\uninstall";

char ReportText[16384];
char FailedText[4096];
int RemovedCount, FailedCount;

void Append(char* Text, int Size, const char* More) {
    if (lstrlenA(Text) + lstrlenA(More) < Size) lstrcatA(Text, More);
}

void Join(char* Out, const char* Dir, const char* Name) {
    lstrcpynA(Out, Dir, MAX_PATH);
    const int N = lstrlenA(Out);
    if (N && Out[N - 1] != '\\') Append(Out, MAX_PATH, "\\");
    Append(Out, MAX_PATH, Name);
}

bool EndsWithNoCase(const char* Text, const char* Tail) {
    const int N = lstrlenA(Text), T = lstrlenA(Tail);
    return N >= T && lstrcmpiA(Text + N - T, Tail) == 0;
}

void RemoveFile(const char* Path) {
    if (GetFileAttributesA(Path) == INVALID_FILE_ATTRIBUTES) return;
    char* Into = DeleteFileA(Path) ? ReportText : FailedText;
    const int Size = Into == ReportText ? sizeof ReportText : sizeof FailedText;
    ++(Into == ReportText ? RemovedCount : FailedCount);
    Append(Into, Size, "  ");
    Append(Into, Size, Path);
    Append(Into, Size, "\r\n");
}

bool ProgramsFolder(char* Out) {
    HKEY Key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER,
                      "Software\\microsoft\\windows\\currentversion\\explorer\\Shell Folders", 0,
                      KEY_READ, &Key) != ERROR_SUCCESS)
        return false;
    DWORD Type = 0, Size = MAX_PATH - 1;
    const bool Found = RegQueryValueExA(Key, "programs", nullptr, &Type,
                                        reinterpret_cast<BYTE*>(Out), &Size) == ERROR_SUCCESS &&
                       (Type == REG_SZ || Type == REG_EXPAND_SZ);
    RegCloseKey(Key);
    Out[Found ? Size : 0] = 0;
    return Found && Out[0];
}

// True when the shell link at LinkPath points at Target.
bool LinkPointsAt(const char* LinkPath, const char* Target) {
    bool Result = false;
    IShellLinkA* Link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&Link))))
        return false;
    IPersistFile* File = nullptr;
    if (SUCCEEDED(Link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&File)))) {
        wchar_t Wide[MAX_PATH] = {};
        char Path[MAX_PATH] = {};
        if (MultiByteToWideChar(CP_ACP, 0, LinkPath, -1, Wide, MAX_PATH) &&
            SUCCEEDED(File->Load(Wide, STGM_READ)) &&
            SUCCEEDED(Link->GetPath(Path, MAX_PATH, nullptr, 0)))
            Result = lstrcmpiA(Path, Target) == 0;
        File->Release();
    }
    Link->Release();
    return Result;
}

void RemoveLinks(const char* MainProgram) {
    char Programs[MAX_PATH], Pattern[MAX_PATH], Link[MAX_PATH];
    if (!ProgramsFolder(Programs)) return;
    Join(Pattern, Programs, "*.lnk");
    WIN32_FIND_DATAA Found;
    HANDLE Search = FindFirstFileA(Pattern, &Found);
    if (Search == INVALID_HANDLE_VALUE) return;
    do {
        Join(Link, Programs, Found.cFileName);
        if (!(Found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && LinkPointsAt(Link, MainProgram))
            RemoveFile(Link);
    } while (FindNextFileA(Search, &Found));
    FindClose(Search);
}

bool RemoveUninstallEntry() {
    HKEY Key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, UninstallKey, 0, KEY_ALL_ACCESS, &Key) != ERROR_SUCCESS)
        return false;
    const bool Removed = RegDeleteKeyA(Key, "Pictavorn") == ERROR_SUCCESS;
    RegCloseKey(Key);
    return Removed;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR CommandLine, int) {
    // "/quiet" removes without asking (for scripted removal); the report is still shown.
    const bool Ask = !CommandLine || !EndsWithNoCase(CommandLine, "/quiet");
    if (Ask && MessageBoxA(nullptr, "Do you want to remove Pictavorn from this computer?", Caption,
                           MB_YESNO) != IDYES)
        return 0;

    char Self[MAX_PATH] = {}, DestDir[MAX_PATH], Windows[MAX_PATH], Help[MAX_PATH];
    char MainProgram[MAX_PATH], Path[MAX_PATH];
    GetModuleFileNameA(nullptr, Self, MAX_PATH);
    lstrcpyA(DestDir, Self);
    for (int I = lstrlenA(DestDir) - 1; I >= 0 && DestDir[I] != '\\'; --I)
        DestDir[I] = 0;
    if (lstrlenA(DestDir) > 3) DestDir[lstrlenA(DestDir) - 1] = 0; // no trailing backslash
    GetWindowsDirectoryA(Windows, MAX_PATH);
    Join(Help, Windows, "Help");
    Join(MainProgram, DestDir, "Pictavorn.Exe");

    lstrcpyA(ReportText, "Pictavorn has been removed from this computer.\r\n\r\nRemoved:\r\n");
    CoInitialize(nullptr);
    RemoveLinks(MainProgram);
    CoUninitialize();
    RemoveFile(MainProgram);
    bool SelfLater = false;
    for (const TProductFile& File : DemoFurtherFiles) {
        Join(Path, EndsWithNoCase(File.Name, ".HLP") ? Help : DestDir, File.Name);
        if (lstrcmpiA(Path, Self) != 0) {
            RemoveFile(Path);
        } else if (!DeleteFileA(Self)) {
            // A running program cannot always delete its own file: the system does it later.
            SelfLater = MoveFileExA(Self, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
        }
    }
    if (RemoveUninstallEntry()) Append(ReportText, sizeof ReportText, "  the uninstall entry\r\n");
    RemoveDirectoryA(DestDir); // only when nothing of the user's is left in it
    if (SelfLater)
        Append(ReportText, sizeof ReportText,
               "\r\nThe uninstaller itself goes at the next restart.\r\n");
    if (FailedCount) {
        Append(ReportText, sizeof ReportText, "\r\nCould not remove:\r\n");
        Append(ReportText, sizeof ReportText, FailedText);
    }
    MessageBoxA(nullptr, ReportText, Caption, MB_OK);
    return FailedCount ? 1 : 0;
}
