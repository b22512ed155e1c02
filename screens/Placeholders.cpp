// Minimal dialog steps that end with 1 at once, standing in for the real dialogs until
// they are built. Each still centres itself, as every dialog of the setup does.
#include "screens/Destination.h"
#include "screens/Group.h"
#include "screens/License.h"

#include <string>

#include "setup/Config.h"

namespace {

INT_PTR PlaceholderDialog(HWND Dialog, UINT Message) {
    if (Message == WM_INITDIALOG) {
        CenterOnScreen(Dialog);
        EndDialog(Dialog, 1);
    }
    return FALSE;
}

} // namespace

const char AgreementText[] = "";

INT_PTR CALLBACK DestinationDlgProc(HWND Dialog, UINT Message, WPARAM, LPARAM) {
    return PlaceholderDialog(Dialog, Message);
}
INT_PTR CALLBACK LicenseDlgProc(HWND Dialog, UINT Message, WPARAM, LPARAM) {
    return PlaceholderDialog(Dialog, Message);
}
INT_PTR CALLBACK GroupDlgProc(HWND Dialog, UINT Message, WPARAM, LPARAM) {
    return PlaceholderDialog(Dialog, Message);
}
void CenterOnScreen(HWND) {}
bool ConfirmExit() {
    const std::string Caption = "Exit " + ProductName;
    return MessageBoxA(nullptr, MsgConfirmExit.c_str(), Caption.c_str(), MB_YESNO) == IDYES;
}
