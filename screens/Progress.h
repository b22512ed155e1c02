// The two progress dialogs, their meter and the message pump of a running phase.
#pragma once

#include <windows.h>

#include <cstdint>

#include "screens/MeterMath.h"

constexpr UINT UM_STARTWORK = 32000;

// The work that a progress dialog runs on UM_STARTWORK. The program's own phases are set;
// tests put in phases of their own.
using TPhaseProc = void (*)(HWND Dialog);
extern TPhaseProc CopyingPhase;   // GatherVolumes
extern TPhaseProc UnpackingPhase; // UnpackPackage

INT_PTR CALLBACK CopyingDlgProc(HWND Dialog, UINT Message, WPARAM WParam, LPARAM LParam);
INT_PTR CALLBACK UnpackingDlgProc(HWND Dialog, UINT Message, WPARAM WParam, LPARAM LParam);

void OpenMeter(HWND Dialog);
void DrawMeter(int32_t Done, int32_t Total, TMeterRule Rule = TMeterRule::Always);
void CloseMeter();
void PumpMessages();

extern int32_t MeterPercent;
extern int32_t LastDrawnPercent;
