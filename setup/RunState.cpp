#include "setup/RunState.h"

std::string SourceDir;
std::string DestDir;
HWND BackdropWindow = nullptr;
int32_t ScreenWidth = 0;
int32_t ScreenHeight = 0;
HBITMAP LogoBitmap = nullptr;
char WindowsDir[256] = {};
uint8_t* InBuffer = nullptr;
uint8_t* OutBuffer = nullptr;
TBlockProc ReadBlockProc = nullptr;
TBlockProc WriteBlockProc = nullptr;
int32_t StepResult = 0;
bool SetupAborted = false;
bool ArchiveCreated = false;
bool MainExeCreated = false;
