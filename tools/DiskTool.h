#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// pictdisk: builds, checks and takes apart the distribution disks. Returns the exit status;
// messages go to Out and Err.
int RunDiskTool(const std::vector<std::string>& Args, std::ostream& Out, std::ostream& Err);
