#include <windows.h>

#include "setup/Setup.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ExitProcess(static_cast<UINT>(RunSetup()));
}
