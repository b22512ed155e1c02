#include "screens/Destination.h"

#include <string>

#include "screens/DialogRules.h"
#include "setup/Config.h"
#include "setup/Failure.h"
#include "setup/Paths.h"
#include "setup/Registry.h"
#include "setup/RunState.h"

namespace {

constexpr int DestinationBox = 104;

// The destination an earlier installation left for us; a missing key, sub-key or value,
// or a value that is not text, keeps the default.
std::string RememberedDestination() {
    std::string Text = DefaultDestDir;
    TRegKey Key; // created when missing, and it stays
    if (Key.Create(HKEY_CURRENT_USER, "Software\\Mirelquist\\") != ERROR_SUCCESS) return Text;
    TRegKey Product;
    if (Product.Open(Key.Handle(), "Pictavorn") == ERROR_SUCCESS)
        ReadRegText(Product.Handle(), "RegDir", Text);
    return Text;
}

std::string OwnDirectory() {
    char Path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, Path, MAX_PATH);
    return DirectoryPart(Path);
}

void OnInitDialog(HWND Dialog) {
    DestDir = OwnDirectory();
    SetWindowTextA(Dialog, "Destination Directory");
    DefaultDestDir = RememberedDestination();
    SendDlgItemMessageA(Dialog, DestinationBox, WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(DefaultDestDir.c_str()));
    CenterOnScreen(Dialog);
    SetFocus(GetDlgItem(Dialog, DestinationBox));
}

// A refused text gets no message: the dialog stays open as it is.
void OnOk(HWND Dialog) {
    char Text[256] = {};
    SendDlgItemMessageA(Dialog, DestinationBox, WM_GETTEXT, 255, reinterpret_cast<LPARAM>(Text));
    DestDir = Text;
    if (DestinationAccepted(DestDir) && MakeDestDir(DestDir)) EndDialog(Dialog, 1);
}

void OnCancel(HWND Dialog) {
    if (ConfirmExit()) EndDialog(Dialog, 0);
}

} // namespace

INT_PTR CALLBACK DestinationDlgProc(HWND Dialog, UINT Message, WPARAM WParam, LPARAM) {
    return GuardDialog(Dialog, [&]() -> INT_PTR {
        switch (Message) {
        case WM_INITDIALOG: OnInitDialog(Dialog); break;
        case WM_COMMAND:
            if (LOWORD(WParam) == IDOK) OnOk(Dialog);
            if (LOWORD(WParam) == IDCANCEL) OnCancel(Dialog);
            break;
        case WM_DESTROY: EndDialog(Dialog, 0); break;
        }
        return FALSE;
    });
}

// The whole screen as read at start-up, not the work area.
void CenterOnScreen(HWND Dialog) {
    RECT Rect = {};
    if (!GetWindowRect(Dialog, &Rect)) return;
    const TOrigin Origin =
        CentredOrigin(Rect.right - Rect.left, Rect.bottom - Rect.top, ScreenWidth, ScreenHeight);
    SetWindowPos(Dialog, HWND_TOP, Origin.X, Origin.Y, 0, 0, SWP_NOSIZE);
}

// No owner: the dialog behind the question stays enabled.
bool ConfirmExit() {
    const std::string Caption = "Exit " + ProductName;
    return MessageBoxA(nullptr, MsgConfirmExit.c_str(), Caption.c_str(), MB_YESNO) == IDYES;
}
