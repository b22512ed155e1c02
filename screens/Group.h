// The dialog that asks for the name of the Start-menu shortcut.
#pragma once

#include <windows.h>

INT_PTR CALLBACK GroupDlgProc(HWND Dialog, UINT Message, WPARAM WParam, LPARAM LParam);
