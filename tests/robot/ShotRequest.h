// Screenshots for Windows programs under the Wine bench. A Windows program cannot run the
// host's `import`, so it asks for one: it writes the file name into PV_SHOTS\.shot-request,
// and tests/robot/serve-shots.sh, which runs beside it, takes the screenshot of the whole
// X screen into that folder and then deletes the request.
#pragma once

#include <windows.h>

#include <string>

// True when the screenshot was taken. Error says why not; an unset PV_SHOTS means that no
// one serves screenshots.
inline bool RequestShot(const std::string& Name, std::string& Error, DWORD TimeoutMs = 30000) {
    char Dir[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("PV_SHOTS", Dir, sizeof Dir)) {
        Error = "PV_SHOTS is not set: run under tests/robot/serve-shots.sh";
        return false;
    }
    const std::string Folder = std::string(Dir) + "\\";
    const std::string Target = Folder + Name, Request = Folder + ".shot-request";
    const std::string Draft = Request + ".tmp";
    DeleteFileA(Target.c_str());
    HANDLE File = CreateFileA(Draft.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (File == INVALID_HANDLE_VALUE) {
        Error = "cannot write " + Draft;
        return false;
    }
    DWORD Written = 0;
    WriteFile(File, Name.data(), static_cast<DWORD>(Name.size()), &Written, nullptr);
    CloseHandle(File);
    // Renamed into place whole, so that the server never reads half a name.
    if (!MoveFileExA(Draft.c_str(), Request.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        Error = "cannot place " + Request;
        return false;
    }
    for (DWORD Waited = 0; Waited < TimeoutMs; Waited += 50) {
        if (GetFileAttributesA(Request.c_str()) == INVALID_FILE_ATTRIBUTES) {
            if (GetFileAttributesA(Target.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
            Error = "the screenshot server did not make " + Target;
            return false;
        }
        Sleep(50);
    }
    DeleteFileA(Request.c_str());
    Error = "no screenshot server answered (tests/robot/serve-shots.sh)";
    return false;
}
