#include "package/Unpack.h"

// Placeholder until unpacking lands.
void UnpackPackage() {}
void ReadArchiveBlock(void*, uint16_t, uint16_t& Actual) {
    Actual = 0;
}
void WriteOutputBlock(void*, uint16_t Count, uint16_t& Actual) {
    Actual = Count;
}
