// The demo product's main program: a window with the product's name and logo.
#include <windows.h>

namespace {

HBITMAP Logo;

void OnPaint(HWND Window) {
    PAINTSTRUCT Paint;
    HDC Dc = BeginPaint(Window, &Paint);
    RECT Client;
    GetClientRect(Window, &Client);
    HBRUSH Back = CreateSolidBrush(RGB(0, 0, 128));
    FillRect(Dc, &Client, Back);
    DeleteObject(Back);
    if (Logo) {
        HDC Memory = CreateCompatibleDC(Dc);
        HGDIOBJ Old = SelectObject(Memory, Logo);
        BitBlt(Dc, (Client.right - 204) / 2, 24, 204, 66, Memory, 0, 0, SRCCOPY);
        SelectObject(Memory, Old);
        DeleteDC(Memory);
    }
    SetBkMode(Dc, TRANSPARENT);
    SetTextColor(Dc, RGB(255, 255, 0));
    RECT Text = {0, 110, Client.right, Client.bottom};
    DrawTextA(Dc, "Pictavorn demo product: the installation worked.", -1, &Text,
              DT_CENTER | DT_TOP | DT_SINGLELINE);
    EndPaint(Window, &Paint);
}

LRESULT CALLBACK MainWndProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
    switch (Message) {
    case WM_PAINT: OnPaint(Window); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(Window, Message, WParam, LParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE Instance, HINSTANCE, LPSTR, int Show) {
    Logo = LoadBitmapA(Instance, "logo");
    WNDCLASSA Class = {};
    Class.lpfnWndProc = MainWndProc;
    Class.hInstance = Instance;
    Class.hIcon = LoadIconA(Instance, "MAINICON");
    Class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    Class.lpszClassName = "PictavornMain";
    if (!RegisterClassA(&Class)) return 1;
    HWND Window =
        CreateWindowExA(0, "PictavornMain", "Pictavorn", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 420, 200, nullptr, nullptr, Instance, nullptr);
    if (!Window) return 1;
    ShowWindow(Window, Show);
    MSG Msg;
    while (GetMessageA(&Msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&Msg);
        DispatchMessageA(&Msg);
    }
    return 0;
}
