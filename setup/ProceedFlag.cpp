#include "setup/ProceedFlag.h"

int32_t ProceedFlag = 0;
