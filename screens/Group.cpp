#include "screens/Group.h"

#include "screens/Destination.h"
#include "setup/Config.h"
#include "setup/Failure.h"

namespace {

constexpr int NameBox = 102;

void OnInitDialog(HWND Dialog) {
    SetWindowTextA(Dialog, "Program Group");
    CenterOnScreen(Dialog);
    SendDlgItemMessageA(Dialog, NameBox, WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(GroupName.c_str()));
    SetFocus(GetDlgItem(Dialog, IDOK)); // Enter keeps the proposed name
}

// Whatever the box holds is the name, the empty text too; case stays as typed.
void OnOk(HWND Dialog) {
    char Name[256] = {};
    SendDlgItemMessageA(Dialog, NameBox, WM_GETTEXT, 255, reinterpret_cast<LPARAM>(Name));
    GroupName = Name;
    EndDialog(Dialog, 1);
}

} // namespace

// Cancel only means no shortcut, so it asks nothing.
INT_PTR CALLBACK GroupDlgProc(HWND Dialog, UINT Message, WPARAM WParam, LPARAM) {
    return GuardDialog(Dialog, [&]() -> INT_PTR {
        switch (Message) {
        case WM_INITDIALOG: OnInitDialog(Dialog); break;
        case WM_COMMAND:
            if (LOWORD(WParam) == IDOK) OnOk(Dialog);
            if (LOWORD(WParam) == IDCANCEL) EndDialog(Dialog, 0);
            break;
        case WM_DESTROY: EndDialog(Dialog, 0); break;
        }
        return FALSE;
    });
}
