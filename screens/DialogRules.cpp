#include "screens/DialogRules.h"

TOrigin CentredOrigin(int32_t Width, int32_t Height, int32_t ScreenWidth, int32_t ScreenHeight) {
    return {ScreenWidth / 2 - Width / 2, ScreenHeight / 2 - Height / 2};
}

bool DestinationAccepted(const std::string& Text) {
    return Text.size() >= 2 && Text[0] >= 'A' && Text[0] <= 'Z' && Text[1] == ':';
}
