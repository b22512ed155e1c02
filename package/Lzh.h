#pragma once
#include <cstdint>
#include <stdexcept>
using TBlockProc = void (*)(void* Buffer, uint16_t Count, uint16_t& Actual);
class ElzhException : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};
void LzhDecode(int32_t Count, TBlockProc ReadProc, TBlockProc WriteProc);
