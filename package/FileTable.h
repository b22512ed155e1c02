// The package file table in memory: read from the end of the running setup program.
#pragma once

#include <cstdint>
#include <string>

struct TFileEntry {
    std::string Name; // a plain file name of at most 19 characters
    int32_t Offset;   // first byte in the unpacked stream
    int32_t Size;
    TFileEntry* Next;
};

extern TFileEntry* FileListHead; // null while the list is empty
extern TFileEntry* FileListTail; // meaningful only while FileListHead is not null
extern int32_t UnpackedSize;

// Raises EInOutError when the program's own file cannot be read or its table is damaged.
void ReadFileTable();
// Frees the records from the head; FileListHead ends null.
void FreeFileList();
