// Joining the archive volumes from the disks into one archive file in DestDir.
#pragma once

#include <windows.h>

void GatherVolumes(HWND Dialog);
