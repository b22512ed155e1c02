#include "package/Lzh.h"
// Placeholder until the decoder lands.
void LzhDecode(int32_t, TBlockProc, TBlockProc) {}
