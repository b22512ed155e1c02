#include "screens/Backdrop.h"

// Placeholder backdrop: no painting yet.
LRESULT CALLBACK BackdropWndProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
    switch (Message) {
    case WM_DESTROY:
    case WM_CLOSE: PostMessageA(Window, WM_QUIT, 0, 0); break;
    }
    return DefWindowProcA(Window, Message, WParam, LParam);
}

void PaintBackdrop() {}
