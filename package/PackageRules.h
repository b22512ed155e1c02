// The rules of gathering and splitting that need no window or file: pure functions of values,
// shared by the setup program and its native tests.
#pragma once

#include <cstdint>
#include <string>

// Volume N (2 to 4) carries the first volume's name with the extension ".00N".
std::string VolumeName(const std::string& FirstVolumeName, int Volume);
std::string DiskPrompt(int Volume);
// The volumes that a disk count joins: always the first, at most four.
int VolumesToJoin(int32_t DiskCount);

// The end of a name from its last '.' on, upper-cased (ASCII letters only); empty
// when a ':' or '\' or the start comes before any '.'.
std::string FileExtension(const std::string& Name);

enum class TSplitTarget {
    Destination, // DestDir\Name
    Help,        // WindowsDir\Help\Name, falling back to DestDir\Name
};
TSplitTarget SplitTargetOf(const std::string& Name);
// An existing file with one of these extensions is never replaced.
bool IsProtectedExtension(const std::string& Name);

constexpr uint32_t CopyBlockSize = 2048;
// The next block of a split copy of Size bytes of which Copied are done: whole blocks while
// more than one block is left, then the remaining 1 to 2,048 bytes (0 for an empty file).
uint32_t NextSplitBlock(int64_t Copied, int64_t Size);

// The decoder's bit reader may ask for up to this many bytes after the last byte of a whole
// stream; an archive asked for more than that ended before its stream did.
constexpr int ArchiveLookAhead = 2;
