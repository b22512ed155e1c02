// The rules of the dialogs that need no window: pure functions, tested natively.
#pragma once

#include <cstdint>
#include <string>

struct TOrigin {
    int32_t X, Y;
};

// Where a dialog of that outer size goes to stand in the middle of the screen; not clamped,
// so a dialog larger than the screen gets negative coordinates.
TOrigin CentredOrigin(int32_t Width, int32_t Height, int32_t ScreenWidth, int32_t ScreenHeight);

// The destination must begin with a drive letter, a capital, and a colon; whether the
// directory can be made is for MakeDestDir to say.
bool DestinationAccepted(const std::string& Text);
