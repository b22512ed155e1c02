#pragma once
#include <cstdint>
// 1 while copying or unpacking may go on; the progress dialogs and their phases write it.
extern int32_t ProceedFlag;
