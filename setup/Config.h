// The product's configuration: one block of initialised globals. Four of them change during
// the run (GroupName, DefaultDestDir, FirstVolumeName, MainExeName).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// The system headers declare these three names as constants of their own; the block's
// copies live in a namespace so that both can be seen in the shortcut code.
namespace Product {
extern GUID CLSID_ShellLink;
extern GUID IID_IShellLinkA;
extern GUID IID_IPersistFile;
} // namespace Product

extern COLORREF BackdropTopColour;
extern COLORREF BackdropBottomColour;
extern COLORREF TitleColour;
extern int32_t DiskCount;
extern std::string GroupName;
extern std::string MainExeName;
extern std::string ProductName;
extern std::string FirstVolumeName;
extern std::string ArchiveName;
extern std::string DefaultDestDir;
extern std::string NoticeLine;
extern std::string SetupTitle;
extern std::string MsgConfirmExit;
extern std::string MsgTerminated;
extern std::string MsgWrongDisk;
extern std::string MsgInstalled;

// Kept outside the block: the copied bytes that the copying meter shows as 100 percent.
constexpr int32_t ExpectedArchiveSize = 2650000;
