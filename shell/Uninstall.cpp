#include "shell/Uninstall.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "setup/Config.h"
#include "setup/FileIo.h"
#include "setup/PathText.h"
#include "setup/Registry.h"
#include "setup/RunState.h"

namespace {

const char UninstallPath[] = "Software\\microsoft\\windows\\currentversion\\uninstall";

// ERROR_SUCCESS when both values are in place, else the code of the step that failed.
LONG WriteEntry() {
    TRegKey List;
    LONG Result = List.Create(HKEY_LOCAL_MACHINE, UninstallPath);
    if (Result != ERROR_SUCCESS) return Result;
    TRegKey Entry;
    Result = Entry.Create(List.Handle(), ProductName.c_str());
    if (Result != ERROR_SUCCESS) return Result;
    Result = WriteRegText(Entry.Handle(), "DisplayName", ProductName);
    if (Result != ERROR_SUCCESS) return Result;
    return WriteRegText(Entry.Handle(), "UnInstallString", PathJoin(DestDir, "UnInstal.Exe"));
}

} // namespace

void WriteUninstallEntry() {
    {
        // Opened and closed only: nothing is written under the user's key, so a failure
        // here loses nothing.
        TRegKey UserList;
        UserList.Create(HKEY_CURRENT_USER, UninstallPath);
    }
    const LONG Result = WriteEntry();
    if (Result == ERROR_SUCCESS) return;
    // The product is installed all the same; the user should know that it will not appear
    // among the programs that can be removed. The run goes on to the success question.
    const std::string Text = "The uninstall entry of " + ProductName +
                             " could not be written to the registry:\r\n" +
                             SystemErrorText(static_cast<DWORD>(Result));
    MessageBoxA(BackdropWindow, Text.c_str(), ProductName.c_str(), MB_OK);
}

void LaunchProduct() {
    MainExeName = ReplaceExtension(MainExeName, ".Exe");
    const std::string Path = PathJoin(DestDir, MainExeName);
    // Not tested: a product that does not start changes nothing in the end of the run.
    ShellExecuteA(BackdropWindow, nullptr, Path.c_str(), nullptr, DestDir.c_str(), SW_SHOW);
}
