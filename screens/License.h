// The licence agreement dialog.
#pragma once

#include <windows.h>

#include "screens/AgreementText.h"

INT_PTR CALLBACK LicenseDlgProc(HWND Dialog, UINT Message, WPARAM WParam, LPARAM LParam);
