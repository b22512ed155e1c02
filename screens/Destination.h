// The destination dialog, and the conventions every dialog shares.
#pragma once

#include <windows.h>

INT_PTR CALLBACK DestinationDlgProc(HWND Dialog, UINT Message, WPARAM WParam, LPARAM LParam);
void CenterOnScreen(HWND Dialog);
bool ConfirmExit();
