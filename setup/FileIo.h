// The checked file layer: thin owners of Win32 file handles. Every failing operation raises
// EInOutError naming the operation, the path and the system's own error text.
#pragma once

#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <string>

class EInOutError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The one place that turns a Win32 error code into text a user can read.
std::string SystemErrorText(DWORD Error);
[[noreturn]] void RaiseIoError(const char* Operation, const std::string& Path, DWORD Error);

class TFile {
  public:
    TFile() = default;
    TFile(const TFile&) = delete;
    TFile& operator=(const TFile&) = delete;
    ~TFile();

    // CreateFileA with the given access, sharing and disposition; raises on failure.
    void Open(const std::string& Path, DWORD Access, DWORD Share, DWORD Disposition);
    // The same, but answers false instead of raising (for opens whose failure is handled).
    bool TryOpen(const std::string& Path, DWORD Access, DWORD Share, DWORD Disposition);
    uint32_t Read(void* Buffer, uint32_t Count);    // may return fewer bytes at the end
    void ReadExact(void* Buffer, uint32_t Count);   // fewer bytes than asked is an error
    void Write(const void* Buffer, uint32_t Count); // a short write is an error
    void Seek(int64_t Position);
    int64_t Size();
    void Truncate(); // at the current position
    void Close();
    bool IsOpen() const { return Handle != INVALID_HANDLE_VALUE; }
    const std::string& Path() const { return FilePath; }

  private:
    HANDLE Handle = INVALID_HANDLE_VALUE;
    std::string FilePath;
};
