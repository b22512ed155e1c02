// Unpacking the joined archive into the main program file and splitting it into files.
#pragma once

#include <windows.h>

#include <cstdint>

// The work of the unpacking dialog; messages about single files are owned by Dialog.
void UnpackPackage(HWND Dialog);
void ReadArchiveBlock(void* Buffer, uint16_t Count, uint16_t& Actual);
void WriteOutputBlock(void* Buffer, uint16_t Count, uint16_t& Actual);

// For tests only: told the byte count of every write of the unpacked file.
namespace UnpackTestSeam {
extern void (*OutputWritten)(uint32_t Count);
}
