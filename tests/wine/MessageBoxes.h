// What tests read off a message box: the windows of the system's own message box dialog.
#pragma once

#include <windows.h>

#include <string>

// A message box is a "#32770" dialog with its text in static 0xFFFF.
inline bool IsMessageBox(HWND Window) {
    char Class[32] = {};
    GetClassNameA(Window, Class, sizeof Class);
    return std::string(Class) == "#32770" && GetDlgItem(Window, 0xFFFF);
}

// The icon control is 20 in Windows' template and 0x0440 in Wine's, where it stays, empty,
// when the box has no icon.
inline bool HasIcon(HWND Box) {
    for (int Id : {20, 0x0440}) {
        const HWND Icon = GetDlgItem(Box, Id);
        if (Icon && SendMessageA(Icon, STM_GETICON, 0, 0)) return true;
    }
    return false;
}

inline std::string BoxText(HWND Box) {
    char Text[4096] = {};
    GetDlgItemTextA(Box, 0xFFFF, Text, sizeof Text);
    return Text;
}

inline std::string WindowCaption(HWND Window) {
    char Caption[512] = {};
    GetWindowTextA(Window, Caption, sizeof Caption);
    return Caption;
}
