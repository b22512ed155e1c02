#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The table at the very end of the setup program: per further file a 20-byte name field
// (length byte, 19 characters), offset and size; then the entry count and the stream's length.

constexpr size_t TableEntrySize = 28;
constexpr size_t TableTrailerSize = 5;
constexpr size_t TableMaxEntries = 255;
constexpr size_t TableNameMax = 19;

struct TTableEntry {
    std::string Name;
    int32_t Offset;
    int32_t Size;
};

struct TFileTable {
    int32_t UnpackedSize = 0;
    std::vector<TTableEntry> Entries;
};

// How many bytes from the end of a file of FileSize bytes ParseFileTable needs at most.
size_t FileTableTailSize(uint64_t FileSize);

// Tail: the last TailSize bytes of a file of FileSize bytes. Returns false and sets Why for a
// table that would lead outside the file, the stream or the destination folder.
bool ParseFileTable(const uint8_t* Tail, size_t TailSize, uint64_t FileSize, TFileTable& Table,
                    std::string& Why);

// True for a name that stays inside the folder it is joined to.
bool IsPlainFileName(const std::string& Name);

// The bytes to append to the setup program. Names longer than 19 characters are cut; callers
// check them first.
std::vector<uint8_t> BuildFileTable(const TFileTable& Table);
