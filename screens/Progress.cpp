#include "screens/Progress.h"

#include <string>

#include "package/Unpack.h"
#include "package/Volumes.h"
#include "screens/Destination.h"
#include "screens/MeterMath.h"
#include "setup/Failure.h"
#include "setup/ProceedFlag.h"

TPhaseProc CopyingPhase = GatherVolumes;
TPhaseProc UnpackingPhase = UnpackPackage;

int32_t MeterPercent = 0;
int32_t LastDrawnPercent = -1;

namespace {

// The meter's state, from OpenMeter to CloseMeter; one set serves whichever progress
// dialog is open (the two never exist at the same time).
HWND MeterWindow = nullptr;
HDC MeterDC = nullptr;
TMeterRect MeterRect = {};
int32_t MeterWidth = 0;
TMeterPoint MeterTextPos = {};
HPEN FillPen = nullptr, RestPen = nullptr, PreviousPen = nullptr;
HBRUSH FillBrush = nullptr, RestBrush = nullptr, PreviousBrush = nullptr;
HFONT PercentFont = nullptr, PreviousFont = nullptr;

TMeterRect ScreenRect(HWND Window) {
    RECT Rect = {};
    GetWindowRect(Window, &Rect);
    return {Rect.left, Rect.top, Rect.right, Rect.bottom};
}

void OnInitDialog(HWND Dialog) {
    SetWindowTextA(Dialog, "Please Stand By...");
    OpenMeter(Dialog);
    SetFocus(GetDlgItem(Dialog, IDCANCEL));
    PostMessageA(Dialog, UM_STARTWORK, 0, 0);
}

void OnCancel() {
    // The question leaves the dialog open: the phase sees the flag at its next check.
    if (ConfirmExit()) ProceedFlag = 0;
}

void OnStartWork(HWND Dialog, TPhaseProc Phase) {
    try {
        Phase(Dialog);
    } catch (...) {
        CloseMeter(); // the dialog ends through the guard, which reports the error
        throw;
    }
    CloseMeter();
    EndDialog(Dialog, ProceedFlag);
}

INT_PTR ProgressDlgProc(HWND Dialog, UINT Message, WPARAM WParam, TPhaseProc Phase) {
    return GuardDialog(Dialog, [&]() -> INT_PTR {
        switch (Message) {
        case WM_INITDIALOG: OnInitDialog(Dialog); return FALSE;
        case WM_COMMAND:
            if (LOWORD(WParam) == IDCANCEL) OnCancel();
            return FALSE;
        case UM_STARTWORK: OnStartWork(Dialog, Phase); return TRUE;
        case WM_DESTROY: ProceedFlag = 0; return FALSE;
        }
        return FALSE;
    });
}

} // namespace

INT_PTR CALLBACK CopyingDlgProc(HWND Dialog, UINT Message, WPARAM WParam, LPARAM) {
    return ProgressDlgProc(Dialog, Message, WParam, CopyingPhase);
}

INT_PTR CALLBACK UnpackingDlgProc(HWND Dialog, UINT Message, WPARAM WParam, LPARAM) {
    return ProgressDlgProc(Dialog, Message, WParam, UnpackingPhase);
}

void OpenMeter(HWND Dialog) {
    MeterWindow = Dialog;
    MeterDC = GetDC(Dialog);
    MeterRect = MeterArea(ScreenRect(GetDlgItem(Dialog, 101)), ScreenRect(Dialog),
                          GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYCAPTION),
                          GetSystemMetrics(SM_CYBORDER));
    MeterTextPos = MeterTextPosition(MeterRect);
    MeterWidth = MeterRect.Right - MeterRect.Left + 1;
    FillPen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    RestPen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    PreviousPen = static_cast<HPEN>(SelectObject(MeterDC, FillPen));
    FillBrush = CreateSolidBrush(RGB(255, 0, 0));
    RestBrush = CreateSolidBrush(RGB(255, 255, 255));
    PreviousBrush = static_cast<HBRUSH>(SelectObject(MeterDC, FillBrush));
    CenterOnScreen(Dialog);
    ProceedFlag = 1;
    SetBkMode(MeterDC, TRANSPARENT);
    PercentFont =
        CreateFontA(16, 0, 0, 0, 0, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial");
    PreviousFont = static_cast<HFONT>(SelectObject(MeterDC, PercentFont));
    SetTextColor(MeterDC, RGB(0, 0, 0));
}

void DrawMeter(int32_t Done, int32_t Total, TMeterRule Rule) {
    const TMeterReading Reading = ReadMeter(Done, Total, MeterRect.Left, MeterWidth);
    MeterPercent = Reading.Percent;
    if (!MeterRepaints(MeterPercent, LastDrawnPercent, Rule) || !MeterDC) return;
    SelectObject(MeterDC, FillBrush);
    SelectObject(MeterDC, FillPen);
    Rectangle(MeterDC, MeterRect.Left, MeterRect.Top, Reading.Fill, MeterRect.Bottom);
    LastDrawnPercent = MeterPercent;
    SelectObject(MeterDC, RestBrush);
    SelectObject(MeterDC, RestPen);
    Rectangle(MeterDC, Reading.Fill, MeterRect.Top, MeterRect.Right, MeterRect.Bottom);
    const std::string Text = std::to_string(MeterPercent) + "%";
    TextOutA(MeterDC, MeterTextPos.X, MeterTextPos.Y, Text.c_str(), static_cast<int>(Text.size()));
}

void CloseMeter() {
    if (!MeterDC) return;
    SelectObject(MeterDC, PreviousFont);
    DeleteObject(PercentFont);
    SelectObject(MeterDC, PreviousPen);
    SelectObject(MeterDC, PreviousBrush);
    DeleteObject(FillPen);
    DeleteObject(RestPen);
    DeleteObject(FillBrush);
    DeleteObject(RestBrush);
    ReleaseDC(MeterWindow, MeterDC);
    MeterDC = nullptr;
    MeterWindow = nullptr;
}

void PumpMessages() {
    MSG Message;
    while (PeekMessageA(&Message, nullptr, 0, 0, PM_REMOVE)) {
        if (Message.message == WM_QUIT) continue; // dropped: the installation goes on
        TranslateMessage(&Message);
        DispatchMessageA(&Message);
    }
}
