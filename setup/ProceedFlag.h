#pragma once

#include <cstdint>

// 1 while a progress phase may go on; the screens drop it to 0 to stop the package engine.
extern int32_t ProceedFlag;
