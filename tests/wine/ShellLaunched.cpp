// Stands in for the installed main program: it notes its own path and its current
// directory in "Launched.txt" in that directory, so that a test can see that it started
// and where.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char Self[MAX_PATH] = {}, Current[MAX_PATH] = {};
    if (!GetModuleFileNameA(nullptr, Self, MAX_PATH)) return 1;
    if (!GetCurrentDirectoryA(MAX_PATH, Current)) return 1;
    const std::string Text = std::string(Self) + "\n" + Current + "\n";
    // Written under another name and renamed, so that the test never reads half a file.
    const HANDLE File = CreateFileA("Launched.tmp", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (File == INVALID_HANDLE_VALUE) return 1;
    DWORD Written = 0;
    const BOOL Wrote =
        WriteFile(File, Text.data(), static_cast<DWORD>(Text.size()), &Written, nullptr);
    if (!CloseHandle(File) || !Wrote || Written != Text.size()) return 1;
    return MoveFileExA("Launched.tmp", "Launched.txt", MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
