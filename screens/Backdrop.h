// The full-screen backdrop behind every dialog.
#pragma once

#include <windows.h>

LRESULT CALLBACK BackdropWndProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam);
void PaintBackdrop();
