#include "screens/License.h"

#include <stdexcept>

#include "screens/Destination.h"
#include "setup/Failure.h"

namespace {

// The agreement box is made here rather than in the template: its size follows the client
// rectangle, in pixels, whatever the dialog font.
void MakeAgreementBox(HWND Dialog) {
    RECT Client = {};
    GetClientRect(Dialog, &Client);
    const auto Instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(Dialog, GWLP_HINSTANCE));
    const HWND Box =
        CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", AgreementText, 0x50200804, 10, 10,
                        Client.right - 20, Client.bottom - 90, Dialog, nullptr, Instance, nullptr);
    // Nobody may agree to a text that was never shown.
    if (!Box) throw std::runtime_error("Cannot show the License Agreement.");
}

void OnInitDialog(HWND Dialog) {
    MakeAgreementBox(Dialog);
    CenterOnScreen(Dialog);
    SetFocus(GetDlgItem(Dialog, IDOK));
}

void OnExit(HWND Dialog) {
    if (ConfirmExit()) EndDialog(Dialog, 0);
}

} // namespace

INT_PTR CALLBACK LicenseDlgProc(HWND Dialog, UINT Message, WPARAM WParam, LPARAM) {
    return GuardDialog(Dialog, [&]() -> INT_PTR {
        switch (Message) {
        case WM_INITDIALOG: OnInitDialog(Dialog); break;
        case WM_COMMAND:
            if (LOWORD(WParam) == IDOK) EndDialog(Dialog, 1);
            if (LOWORD(WParam) == IDCANCEL) OnExit(Dialog);
            break;
        case WM_DESTROY: EndDialog(Dialog, 0); break;
        }
        return FALSE;
    });
}
