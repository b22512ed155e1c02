#pragma once

#include <cstdint>
#include <stdexcept>

// LZHUF decoder: LZSS over a 4,096-byte ring, literals and match lengths in one adaptive
// Huffman code, match positions in a fixed prefix code for their upper six bits.

constexpr int RingSize = 4096;
constexpr int MaxMatch = 60;
constexpr int MatchThreshold = 2;
constexpr int SymbolCount = 256 - MatchThreshold + MaxMatch; // 314
constexpr int NodeCount = 2 * SymbolCount - 1;               // 627
constexpr int RootNode = NodeCount - 1;                      // 626
constexpr unsigned FreqLimit = 0x8000;
// Ring positions before this one start as spaces; the write position starts here.
constexpr int RingStart = RingSize - MaxMatch; // 4036

using TBlockProc = void (*)(void* Buffer, uint16_t Count, uint16_t& Actual);

class ElzhException : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

extern const char* const LzhNoMemoryMessage;
extern const char* const LzhFreeFailedMessage;

// Decodes until Count bytes went to WriteProc (a match that passes Count is still delivered
// whole) or ProceedFlag is 0 before a symbol. Input that runs short reads as zero bytes.
void LzhDecode(int32_t Count, TBlockProc ReadProc, TBlockProc WriteProc);

// The decoder's tables; the encoder drives the same tree through the same procedures so that
// both sides agree on every code.
struct TLzhTables {
    uint16_t* NodeFreq = nullptr;  // NodeCount + 8 entries, 0xFFFF from NodeCount on (sentinel)
    int16_t* NodeChild = nullptr;  // NodeCount entries; >= NodeCount marks a leaf
    int16_t* NodeParent = nullptr; // NodeCount + SymbolCount entries
    uint8_t* RingBuffer = nullptr; // RingSize bytes
};

bool AllocTables(TLzhTables& Tables); // false when any allocation fails; nothing is kept then
void FreeTables(TLzhTables& Tables);
void StartTree(TLzhTables& Tables);
void UpdateTree(TLzhTables& Tables, int Symbol);
void RebuildTree(TLzhTables& Tables);

// Indexed by the next eight input bits: upper six bits of a position and the prefix length.
extern const uint8_t PositionCode[256];
extern const uint8_t PositionLength[256];

// For tests only: make the n-th table allocation from now on fail (0: none), and count the
// table sets currently allocated.
namespace LzhTestSeam {
extern int FailAllocation;
extern int LiveTables;
} // namespace LzhTestSeam
