#include "setup/FileIo.h"

std::string SystemErrorText(DWORD Error) {
    char* Text = nullptr;
    const DWORD Length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, Error, 0, reinterpret_cast<char*>(&Text), 0, nullptr);
    std::string Result;
    if (Length && Text) Result.assign(Text, Length);
    if (Text) LocalFree(Text);
    while (!Result.empty() &&
           (Result.back() == '\r' || Result.back() == '\n' || Result.back() == ' '))
        Result.pop_back();
    if (Result.empty()) Result = "System error " + std::to_string(Error) + ".";
    return Result;
}

void RaiseIoError(const char* Operation, const std::string& Path, DWORD Error) {
    throw EInOutError(std::string("Cannot ") + Operation + " " + Path + ":\r\n" +
                      SystemErrorText(Error));
}

TFile::~TFile() {
    if (IsOpen()) CloseHandle(Handle); // an error path: the error in flight is what matters
}

bool TFile::TryOpen(const std::string& Path, DWORD Access, DWORD Share, DWORD Disposition) {
    if (IsOpen()) Close();
    FilePath = Path;
    Handle = CreateFileA(Path.c_str(), Access, Share, nullptr, Disposition, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
    return IsOpen();
}

void TFile::Open(const std::string& Path, DWORD Access, DWORD Share, DWORD Disposition) {
    if (!TryOpen(Path, Access, Share, Disposition))
        RaiseIoError(Disposition == OPEN_EXISTING ? "open" : "create", Path, GetLastError());
}

uint32_t TFile::Read(void* Buffer, uint32_t Count) {
    DWORD Done = 0;
    if (!ReadFile(Handle, Buffer, Count, &Done, nullptr))
        RaiseIoError("read", FilePath, GetLastError());
    return Done;
}

void TFile::ReadExact(void* Buffer, uint32_t Count) {
    if (Read(Buffer, Count) != Count) RaiseIoError("read", FilePath, ERROR_HANDLE_EOF);
}

void TFile::Write(const void* Buffer, uint32_t Count) {
    DWORD Done = 0;
    if (!WriteFile(Handle, Buffer, Count, &Done, nullptr))
        RaiseIoError("write", FilePath, GetLastError());
    if (Done != Count) RaiseIoError("write", FilePath, ERROR_DISK_FULL);
}

void TFile::Seek(int64_t Position) {
    LARGE_INTEGER To;
    To.QuadPart = Position;
    if (Position < 0 || !SetFilePointerEx(Handle, To, nullptr, FILE_BEGIN))
        RaiseIoError("seek in", FilePath, Position < 0 ? ERROR_NEGATIVE_SEEK : GetLastError());
}

int64_t TFile::Size() {
    LARGE_INTEGER Result;
    if (!GetFileSizeEx(Handle, &Result)) RaiseIoError("get the size of", FilePath, GetLastError());
    return Result.QuadPart;
}

void TFile::Truncate() {
    if (!SetEndOfFile(Handle)) RaiseIoError("truncate", FilePath, GetLastError());
}

void TFile::Close() {
    const HANDLE Closing = Handle;
    Handle = INVALID_HANDLE_VALUE;
    if (!CloseHandle(Closing)) RaiseIoError("close", FilePath, GetLastError());
}
