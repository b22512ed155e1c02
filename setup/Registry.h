// Thin registry access: an owner for an open key and the string reads and writes we need.
#pragma once

#include <windows.h>

#include <string>

class TRegKey {
  public:
    TRegKey() = default;
    TRegKey(const TRegKey&) = delete;
    TRegKey& operator=(const TRegKey&) = delete;
    ~TRegKey() { Close(); }

    // RegCreateKeyExA with full access: opens the key, creating it when missing.
    LONG Create(HKEY Parent, const char* Path);
    // RegOpenKeyExA with full access.
    LONG Open(HKEY Parent, const char* Path);
    void Close();
    HKEY Handle() const { return Key; }
    bool IsOpen() const { return Key != nullptr; }

  private:
    HKEY Key = nullptr;
};

// Reads a REG_SZ or REG_EXPAND_SZ value as plain text, cut at its first NUL. False when the
// value is missing or not text; Text is then left alone.
bool ReadRegText(HKEY Key, const char* Name, std::string& Text);
LONG WriteRegText(HKEY Key, const char* Name, const std::string& Text);
