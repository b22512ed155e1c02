#include "setup/Config.h"

GUID Product::CLSID_ShellLink = {0x00021401, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
GUID Product::IID_IShellLinkA = {0x000214EE, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
COLORREF BackdropTopColour = 0x00FF0000;
COLORREF BackdropBottomColour = 0x00000000;
COLORREF TitleColour = 0x0000FFFF;
int32_t DiskCount = 2;
std::string GroupName = "Pictavorn";
std::string MainExeName = "Pictavorn.Exe";
std::string ProductName = "Pictavorn";
std::string FirstVolumeName = "Pictavor.001";
std::string ArchiveName = "Pictavor._MQ";
std::string DefaultDestDir = "C:\\Program Files\\Pictavorn";
std::string NoticeLine = "(C) Mirelquist. All rights reserved.";
std::string SetupTitle = "Pictavorn Installation";
std::string MsgConfirmExit = "Do you really want to terminate the Setup program?";
std::string MsgTerminated = "The Installation process has been terminated.";
std::string MsgWrongDisk =
    "This is not the appropriate disk.\r\nPlease insert the correct disk and Press Enter";
std::string MsgInstalled = "Pictavorn has been successfully installed.\r\n\r\nDo you wish to run ";
GUID Product::IID_IPersistFile = {0x0000010B, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
