// The licence agreement dialog.
#pragma once

#include <windows.h>

extern const char AgreementText[];

INT_PTR CALLBACK LicenseDlgProc(HWND Dialog, UINT Message, WPARAM WParam, LPARAM LParam);
