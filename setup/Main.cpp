#include <windows.h>

#include <cxxabi.h>

#include "setup/Setup.h"

// The runtime's default terminate handler prints demangled type names, and its demangler
// alone would be a fifth of SETUP.EXE. Every error is caught before it could terminate the
// program, so the handler keeps the raw names.
char* abi::__cxa_demangle(const char*, char*, size_t*, int* Status) {
    if (Status) *Status = -2;
    return nullptr;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ExitProcess(static_cast<UINT>(RunSetup()));
}
