#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// LZHUF encoder whose output LzhDecode reads back byte for byte.
enum class TLzhParse {
    Greedy,  // longest match at every position
    Lazy,    // take a literal when the next position has a longer match
    Optimal, // cheapest path in bits per block, priced with the adaptive code as it stands
};

struct TLzhEncodeOptions {
    TLzhParse Parse = TLzhParse::Optimal;
    int ChainDepth = 64; // hash-chain candidates looked at per position
};

// One symbol at a time: for streams laid out by hand (tests) and for the parsers below.
class TLzhWriter {
  public:
    TLzhWriter();
    ~TLzhWriter();
    TLzhWriter(const TLzhWriter&) = delete;
    TLzhWriter& operator=(const TLzhWriter&) = delete;

    void Literal(uint8_t Byte);
    // Length 3..60; Distance 1..4096 back from the write position (the stream's position p is
    // Distance - 1).
    void Match(int Length, int Distance);
    // Code lengths in bits of all 314 symbols as the adaptive code stands now.
    void SymbolLengths(int* Out) const;
    static int PositionBits(int Distance);
    // Pads the last byte with zero bits and hands over the stream.
    std::vector<uint8_t> Finish();

  private:
    void PutBits(uint32_t Value, int Count);
    void Symbol(int Symbol);

    std::vector<uint8_t> Out;
    uint8_t Acc = 0;
    int Used = 0;
    struct TTree;
    TTree* Tree;
};

std::vector<uint8_t> LzhEncode(const uint8_t* Data, size_t Size,
                               const TLzhEncodeOptions& Options = TLzhEncodeOptions());

// Decodes Count bytes of a stream held in memory with LzhDecode (ProceedFlag held at 1 for
// the call). PastEnd, when given, counts the read requests that found the stream used up.
std::vector<uint8_t> LzhDecodeBytes(const std::vector<uint8_t>& Stream, int32_t Count,
                                    int* PastEnd = nullptr);
