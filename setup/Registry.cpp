#include "setup/Registry.h"

#include <vector>

LONG TRegKey::Create(HKEY Parent, const char* Path) {
    Close();
    return RegCreateKeyExA(Parent, Path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                           nullptr, &Key, nullptr);
}

LONG TRegKey::Open(HKEY Parent, const char* Path) {
    Close();
    const LONG Result = RegOpenKeyExA(Parent, Path, 0, KEY_ALL_ACCESS, &Key);
    if (Result != ERROR_SUCCESS) Key = nullptr;
    return Result;
}

void TRegKey::Close() {
    if (Key) RegCloseKey(Key);
    Key = nullptr;
}

bool ReadRegText(HKEY Key, const char* Name, std::string& Text) {
    DWORD Type = 0, Size = 0;
    if (RegQueryValueExA(Key, Name, nullptr, &Type, nullptr, &Size) != ERROR_SUCCESS) return false;
    if (Type != REG_SZ && Type != REG_EXPAND_SZ) return false;
    std::vector<char> Data(Size + 1, 0);
    if (Size && RegQueryValueExA(Key, Name, nullptr, &Type, reinterpret_cast<BYTE*>(Data.data()),
                                 &Size) != ERROR_SUCCESS)
        return false;
    Text.assign(Data.data()); // cut at the first NUL; the extra byte guarantees one
    return true;
}

LONG WriteRegText(HKEY Key, const char* Name, const std::string& Text) {
    return RegSetValueExA(Key, Name, 0, REG_SZ, reinterpret_cast<const BYTE*>(Text.c_str()),
                          static_cast<DWORD>(Text.size() + 1));
}
