#include "setup/Paths.h"

#include <windows.h>

#include "setup/RunState.h"

bool DriveExists(char Letter) {
    char Upper[2] = {Letter, 0};
    CharUpperA(Upper);
    if (Upper[0] < 'A' || Upper[0] > 'Z') return false;
    const char Root[4] = {Upper[0], ':', '\\', 0};
    // DRIVE_NO_ROOT_DIR (1) counts as present too: only DRIVE_UNKNOWN is refused.
    return GetDriveTypeA(Root) > 0;
}

bool DirExists(std::string Path) {
    if (HasWildcards(Path)) Path = DirectoryPart(Path);
    if (Path.empty()) return false;
    if (Path.size() <= 3) return DriveExists(Path[0]);
    if (Path.back() == '\\') Path.pop_back();
    WIN32_FIND_DATAA Found;
    const HANDLE Search = FindFirstFileA(Path.c_str(), &Found);
    if (Search == INVALID_HANDLE_VALUE) return false;
    FindClose(Search);
    // The search's attribute mask of 63 admits every kind of entry; only a directory counts.
    return (Found.dwFileAttributes & 63 & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool MakeDestDir(const std::string& Path) {
    if (DirExists(Path)) return true;
    CreateDirectoryA(Path.c_str(), nullptr); // a failure shows in the change of directory
    if (!SetCurrentDirectoryA(Path.c_str())) return false;
    DestDir = Path;
    return true;
}

bool FileExists(const std::string& Path) {
    const DWORD Attributes = GetFileAttributesA(Path.c_str());
    return Attributes != INVALID_FILE_ATTRIBUTES && !(Attributes & FILE_ATTRIBUTE_DIRECTORY);
}
