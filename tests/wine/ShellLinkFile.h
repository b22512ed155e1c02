// A reader of the shell-link (.lnk) file format, independent of the shell's own code: the
// header's flags and show command, the local base path of the LinkInfo, and the string
// data. Enough to check the shortcut that the setup program saves.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TShellLinkFile {
    uint32_t LinkFlags = 0;
    uint32_t ShowCommand = 0;
    bool HasLocalBasePath = false;
    std::string LocalBasePath; // with the common path suffix, if any
    bool HasWorkingDir = false;
    std::string WorkingDir; // non-ASCII characters become '?'
};

// False, with Error saying where, when the bytes are no shell link or end too early.
bool ParseShellLink(const std::vector<uint8_t>& Bytes, TShellLinkFile& Link, std::string& Error);
