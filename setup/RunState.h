// The run's global state. Every value lives for the whole run on the one thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "package/Lzh.h"
#include "setup/ProceedFlag.h"

constexpr int32_t DecoderBufferSize = 2064;

extern std::string SourceDir;
extern std::string DestDir;
extern HWND BackdropWindow;
extern int32_t ScreenWidth;
extern int32_t ScreenHeight;
extern HBITMAP LogoBitmap;
extern char WindowsDir[256];
extern uint8_t* InBuffer;
extern uint8_t* OutBuffer;
extern TBlockProc ReadBlockProc;
extern TBlockProc WriteBlockProc;
extern int32_t StepResult;
extern bool SetupAborted;

// Which of the two files that the abort path removes this run wrote itself: files of those
// names that an earlier installation left in DestDir are not ours to delete.
extern bool ArchiveCreated;
extern bool MainExeCreated;
