// The two progress dialogs, their meter and the message pump of a running phase.
#pragma once

#include <windows.h>

#include <cstdint>

constexpr UINT UM_STARTWORK = 32000;

INT_PTR CALLBACK CopyingDlgProc(HWND Dialog, UINT Message, WPARAM WParam, LPARAM LParam);
INT_PTR CALLBACK UnpackingDlgProc(HWND Dialog, UINT Message, WPARAM WParam, LPARAM LParam);

void OpenMeter(HWND Dialog);
void DrawMeter(int32_t Done, int32_t Total);
void CloseMeter();
void PumpMessages();

extern int32_t MeterPercent;
extern int32_t LastDrawnPercent;
