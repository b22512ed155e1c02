// Decoder on arbitrary input: the first two bytes give the count, mostly small to keep runs
// fast, for a quarter of the inputs long enough that the tree is rebuilt.
#include "package/Lzh.h"
#include "setup/ProceedFlag.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

const uint8_t* Input;
size_t InputSize;
size_t InputAt;
int32_t Written;
int32_t Count;

void ReadByte(void* Buffer, uint16_t Want, uint16_t& Actual) {
    if (Want != 1) std::abort();
    if (InputAt >= InputSize) {
        Actual = 0;
        return;
    }
    *static_cast<uint8_t*>(Buffer) = Input[InputAt++];
    Actual = 1;
}

void WriteByte(void*, uint16_t Want, uint16_t& Actual) {
    if (Want != 1) std::abort();
    Actual = 1;
    // A symbol yields at most 60 bytes, so the decoder never runs far past its count.
    if (++Written > Count + MaxMatch) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    if (Size < 2) return 0;
    Count = (Data[0] | Data[1] << 8) & 0xFFF;
    if ((Data[1] & 0xC0) == 0xC0)
        Count += 36000;
    else if ((Data[1] & 0xC0) == 0x80)
        Count = -Count;
    Input = Data + 2;
    InputSize = Size - 2;
    InputAt = 0;
    Written = 0;
    ProceedFlag = 1;
    LzhDecode(Count, ReadByte, WriteByte);
    if (Written < (Count > 0 ? Count : 0) || LzhTestSeam::LiveTables != 0) std::abort();
    return 0;
}
