// Unpacking the joined archive into the main program file and splitting it into files.
#pragma once

#include <cstdint>

void UnpackPackage();
void ReadArchiveBlock(void* Buffer, uint16_t Count, uint16_t& Actual);
void WriteOutputBlock(void* Buffer, uint16_t Count, uint16_t& Actual);
