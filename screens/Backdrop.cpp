#include "screens/Backdrop.h"

#include "screens/BackdropMath.h"
#include "setup/Config.h"
#include "setup/RunState.h"

namespace {

void FillWith(HDC Dc, const RECT& Area, COLORREF Colour) {
    const HBRUSH Brush = CreateSolidBrush(Colour);
    FillRect(Dc, &Area, Brush);
    DeleteObject(Brush);
}

// One brush per pixel row, made and deleted there: nothing is kept between paints.
void DrawGradient(HDC Dc, const RECT& Area, COLORREF Top, COLORREF Bottom) {
    if (GradientSteps(Top, Bottom) == 0) {
        FillWith(Dc, Area, Top);
        return;
    }
    TGradient Gradient = StartGradient(Top, Bottom, Area.bottom);
    for (LONG Y = 0; Y < Area.bottom; ++Y) {
        FillWith(Dc, {Area.left, Y, Area.right, Y + 1}, Gradient.Colour);
        NextGradientRow(Gradient);
    }
}

HFONT MakeFont(int Height, BOOL Italic, const char* Face) {
    return CreateFontA(Height, 0, 0, 0, 900, Italic, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0, Face);
}

void WriteText(HDC Dc, int X, int Y, const std::string& Text) {
    TextOutA(Dc, X, Y, Text.c_str(), static_cast<int>(Text.size()));
}

void DrawTitle(HDC Dc) {
    const HFONT Font = MakeFont(44, TRUE, "Times New Roman");
    const HGDIOBJ Kept = SelectObject(Dc, Font);
    SetTextColor(Dc, ShadowColour(TitleColour));
    WriteText(Dc, 24, 28, SetupTitle);
    SetTextColor(Dc, TitleColour);
    WriteText(Dc, 22, 25, SetupTitle);
    SelectObject(Dc, Kept);
    DeleteObject(Font);
}

void DrawLogo(HDC Dc) {
    const HDC Memory = CreateCompatibleDC(Dc);
    if (!Memory) return;
    const HGDIOBJ Kept = SelectObject(Memory, LogoBitmap);
    BitBlt(Dc, ScreenWidth / 2 - 102, ScreenHeight - 72, 204, 66, Memory, 0, 0, SRCCOPY);
    SelectObject(Memory, Kept);
    DeleteDC(Memory);
}

// No standard font is called "Small": font matching picks one by height and weight.
void DrawNotice(HDC Dc) {
    const HFONT Font = MakeFont(12, FALSE, "Small");
    const HGDIOBJ Kept = SelectObject(Dc, Font);
    WriteText(Dc, ScreenWidth - 250, ScreenHeight - 20, NoticeLine); // still in TitleColour
    SelectObject(Dc, Kept);
    DeleteObject(Font);
}

} // namespace

LRESULT CALLBACK BackdropWndProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
    switch (Message) {
    case WM_DESTROY:
    case WM_CLOSE: PostMessageA(Window, WM_QUIT, 0, 0); break;
    case WM_PAINT: PaintBackdrop(); break; // the default handling then validates the window
    }
    return DefWindowProcA(Window, Message, WParam, LParam);
}

// Draws the whole window through GetDC, whatever region asked for the paint.
void PaintBackdrop() {
    const HDC Dc = GetDC(BackdropWindow);
    if (!Dc) return;
    DrawGradient(Dc, {0, 0, ScreenWidth, ScreenHeight}, BackdropTopColour, BackdropBottomColour);
    SetBkMode(Dc, TRANSPARENT);
    DrawTitle(Dc);
    DrawLogo(Dc);
    DrawNotice(Dc);
    ReleaseDC(BackdropWindow, Dc);
}
