// Drive and directory tests and the creation of the destination directory.
#pragma once

#include <string>

#include "setup/PathText.h"

bool DriveExists(char Letter);
bool DirExists(std::string Path);
// Creates (one level) and enters the directory; on success DestDir becomes Path.
bool MakeDestDir(const std::string& Path);
// True when Path names an existing file, not a directory.
bool FileExists(const std::string& Path);
