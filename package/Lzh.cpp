#include "package/Lzh.h"

#include "setup/ProceedFlag.h"

#include <new>

const char* const LzhNoMemoryMessage = "LZH : Cannot get memory for dictionary tables";
const char* const LzhFreeFailedMessage = "LZH : Error freeing memory for dictionary tables";

namespace LzhTestSeam {
int FailAllocation = 0;
int LiveTables = 0;
} // namespace LzhTestSeam

// Generated once from the prefix lengths 3,4x3,5x8,6x12,7x24,8x16, codes in ascending order.
const uint8_t PositionCode[256] = {
    0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
    0,  0,  0,  0,  0,  0,  0,  0,  1,  1,  1,  1,  1,  1,  1,  1,  1,  1,  1,  1,  1,  1,  1,  1,
    2,  2,  2,  2,  2,  2,  2,  2,  2,  2,  2,  2,  2,  2,  2,  2,  3,  3,  3,  3,  3,  3,  3,  3,
    3,  3,  3,  3,  3,  3,  3,  3,  4,  4,  4,  4,  4,  4,  4,  4,  5,  5,  5,  5,  5,  5,  5,  5,
    6,  6,  6,  6,  6,  6,  6,  6,  7,  7,  7,  7,  7,  7,  7,  7,  8,  8,  8,  8,  8,  8,  8,  8,
    9,  9,  9,  9,  9,  9,  9,  9,  10, 10, 10, 10, 10, 10, 10, 10, 11, 11, 11, 11, 11, 11, 11, 11,
    12, 12, 12, 12, 13, 13, 13, 13, 14, 14, 14, 14, 15, 15, 15, 15, 16, 16, 16, 16, 17, 17, 17, 17,
    18, 18, 18, 18, 19, 19, 19, 19, 20, 20, 20, 20, 21, 21, 21, 21, 22, 22, 22, 22, 23, 23, 23, 23,
    24, 24, 25, 25, 26, 26, 27, 27, 28, 28, 29, 29, 30, 30, 31, 31, 32, 32, 33, 33, 34, 34, 35, 35,
    36, 36, 37, 37, 38, 38, 39, 39, 40, 40, 41, 41, 42, 42, 43, 43, 44, 44, 45, 45, 46, 46, 47, 47,
    48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63,
};

const uint8_t PositionLength[256] = {
    3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3,
    4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4,
    4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5,
    5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5,
    5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6,
    6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6,
    7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7,
    7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8,
};

namespace {

template <typename T> T* AllocOne(size_t Count) {
    if (LzhTestSeam::FailAllocation > 0 && --LzhTestSeam::FailAllocation == 0) return nullptr;
    return new (std::nothrow) T[Count];
}

} // namespace

bool AllocTables(TLzhTables& Tables) {
    Tables.NodeFreq = AllocOne<uint16_t>(NodeCount + 1);
    Tables.NodeChild = Tables.NodeFreq ? AllocOne<int16_t>(NodeCount) : nullptr;
    Tables.NodeParent = Tables.NodeChild ? AllocOne<int16_t>(NodeCount + SymbolCount) : nullptr;
    Tables.RingBuffer = Tables.NodeParent ? AllocOne<uint8_t>(RingSize) : nullptr;
    if (!Tables.RingBuffer) {
        delete[] Tables.NodeParent;
        delete[] Tables.NodeChild;
        delete[] Tables.NodeFreq;
        Tables = TLzhTables();
        return false;
    }
    ++LzhTestSeam::LiveTables;
    return true;
}

void FreeTables(TLzhTables& Tables) {
    if (!Tables.NodeFreq) return;
    delete[] Tables.RingBuffer;
    delete[] Tables.NodeParent;
    delete[] Tables.NodeChild;
    delete[] Tables.NodeFreq;
    Tables = TLzhTables();
    --LzhTestSeam::LiveTables;
}

void StartTree(TLzhTables& Tables) {
    uint16_t* Freq = Tables.NodeFreq;
    int16_t* Child = Tables.NodeChild;
    int16_t* Parent = Tables.NodeParent;
    for (int i = 0; i < SymbolCount; i++) {
        Freq[i] = 1;
        Child[i] = static_cast<int16_t>(i + NodeCount);
        Parent[i + NodeCount] = static_cast<int16_t>(i);
    }
    int i = 0;
    for (int j = SymbolCount; j < NodeCount; j++) {
        Freq[j] = static_cast<uint16_t>(Freq[i] + Freq[i + 1]);
        Child[j] = static_cast<int16_t>(i);
        Parent[i] = Parent[i + 1] = static_cast<int16_t>(j);
        i += 2;
    }
    Freq[NodeCount] = 0xFFFF;
    Parent[RootNode] = 0;
}

void RebuildTree(TLzhTables& Tables) {
    uint16_t* Freq = Tables.NodeFreq;
    int16_t* Child = Tables.NodeChild;
    int16_t* Parent = Tables.NodeParent;
    int j = 0;
    for (int i = 0; i < NodeCount; i++) {
        if (Child[i] >= NodeCount) {
            Freq[j] = static_cast<uint16_t>((Freq[i] + 1) / 2);
            Child[j] = Child[i];
            j++;
        }
    }
    int i = 0;
    for (j = SymbolCount; j < NodeCount; j++) {
        uint16_t f = static_cast<uint16_t>(Freq[i] + Freq[i + 1]);
        Freq[j] = f;
        int k = j - 1;
        while (f < Freq[k])
            k--;
        k++;
        for (int m = j; m > k; m--) {
            Freq[m] = Freq[m - 1];
            Child[m] = Child[m - 1];
        }
        Freq[k] = f;
        Child[k] = static_cast<int16_t>(i);
        i += 2;
    }
    for (i = 0; i < NodeCount; i++) {
        int k = Child[i];
        Parent[k] = static_cast<int16_t>(i);
        if (k < NodeCount) Parent[k + 1] = static_cast<int16_t>(i);
    }
}

namespace {

#if defined(__GNUC__)
#define LZH_INLINE inline __attribute__((always_inline))
#else
#define LZH_INLINE inline
#endif

// Shared by UpdateTree and the decoding loop, where it is inlined.
LZH_INLINE void CountSymbol(uint16_t* Freq, int16_t* Child, int16_t* Parent, TLzhTables& Tables,
                            int Symbol) {
    if (Freq[RootNode] == FreqLimit) RebuildTree(Tables);
    int n = Parent[Symbol + NodeCount];
    do {
        uint16_t k = ++Freq[n];
        if (Freq[n + 1] < k) {
            // l: the highest index whose frequency is still below k; the sentinel above the
            // root ends the scan.
            int l = n + 1;
            while (Freq[l] < k)
                l++;
            l--;
            Freq[n] = Freq[l];
            Freq[l] = k;
            int i = Child[n];
            Parent[i] = static_cast<int16_t>(l);
            if (i < NodeCount) Parent[i + 1] = static_cast<int16_t>(l);
            int j = Child[l];
            Child[l] = static_cast<int16_t>(i);
            Parent[j] = static_cast<int16_t>(n);
            if (j < NodeCount) Parent[j + 1] = static_cast<int16_t>(n);
            Child[n] = static_cast<int16_t>(j);
            n = l;
        }
        n = Parent[n];
    } while (n != 0);
}

} // namespace

void UpdateTree(TLzhTables& Tables, int Symbol) {
    CountSymbol(Tables.NodeFreq, Tables.NodeChild, Tables.NodeParent, Tables, Symbol);
}

namespace {

// Releases the tables however the decoding run ends.
struct TTablesGuard {
    TLzhTables& Tables;
    ~TTablesGuard() { FreeTables(Tables); }
};

struct TBitReader {
    TBlockProc ReadProc;
    uint16_t BitBuffer = 0;
    uint8_t BitCount = 0;

    // Runs before every bit or byte taken, so the input is asked for up to two bytes ahead.
    void FillBits() {
        while (BitCount <= 8) {
            uint8_t b = 0;
            uint16_t Actual = 0;
            ReadProc(&b, 1, Actual);
            if (Actual != 1) b = 0;
            BitBuffer = static_cast<uint16_t>(BitBuffer | (b << (8 - BitCount)));
            BitCount = static_cast<uint8_t>(BitCount + 8);
        }
    }
    unsigned ReadBit() {
        FillBits();
        unsigned Bit = BitBuffer >> 15;
        BitBuffer = static_cast<uint16_t>(BitBuffer << 1);
        BitCount--;
        return Bit;
    }
    unsigned ReadCodeByte() {
        FillBits();
        unsigned Byte = BitBuffer >> 8;
        BitBuffer = static_cast<uint16_t>(BitBuffer << 8);
        BitCount = static_cast<uint8_t>(BitCount - 8);
        return Byte;
    }
};

// The table pointers come as values the callbacks cannot reach, so they stay in registers.
LZH_INLINE int DecodeSymbol(uint16_t* Freq, int16_t* Child, int16_t* Parent, TLzhTables& Tables,
                            TBitReader& Bits) {
    int n = Child[RootNode];
    while (n < NodeCount)
        n = Child[n + Bits.ReadBit()];
    int c = n - NodeCount;
    CountSymbol(Freq, Child, Parent, Tables, c);
    return c;
}

LZH_INLINE int DecodeMatchPosition(TBitReader& Bits) {
    unsigned i = Bits.ReadCodeByte();
    unsigned High = PositionCode[i];
    int Extra = PositionLength[i] - 2;
    for (int e = 0; e < Extra; e++)
        i = static_cast<uint16_t>(i * 2 + Bits.ReadBit());
    return static_cast<int>(High * 64 + (i & 63));
}

} // namespace

void LzhDecode(int32_t Count, TBlockProc ReadProc, TBlockProc WriteProc) {
    TBitReader Bits{ReadProc};
    TLzhTables Tables;
    if (!AllocTables(Tables)) throw ElzhException(LzhNoMemoryMessage);
    TTablesGuard Guard{Tables};

    StartTree(Tables);
    uint8_t* const Ring = Tables.RingBuffer;
    uint16_t* const Freq = Tables.NodeFreq;
    int16_t* const Child = Tables.NodeChild;
    int16_t* const Parent = Tables.NodeParent;
    for (int i = 0; i < RingStart; i++)
        Ring[i] = ' ';
    // Never set by the format; zero so that a stray match reads something fixed.
    for (int i = RingStart; i < RingSize; i++)
        Ring[i] = 0;
    unsigned r = RingStart;
    int64_t Done = 0; // wider than Count: a final match may pass INT32_MAX
    uint16_t Actual = 0;

    while (Done < Count && ProceedFlag != 0) {
        int c = DecodeSymbol(Freq, Child, Parent, Tables, Bits);
        if (c < 256) {
            uint8_t b = static_cast<uint8_t>(c);
            WriteProc(&b, 1, Actual);
            Ring[r] = b;
            r = (r + 1) & (RingSize - 1);
            Done++;
        } else {
            int Length = c - 256 + MatchThreshold + 1;
            unsigned Start = (r - DecodeMatchPosition(Bits) - 1) & (RingSize - 1);
            for (int k = 0; k < Length; k++) {
                uint8_t b = Ring[(Start + k) & (RingSize - 1)];
                WriteProc(&b, 1, Actual);
                Ring[r] = b;
                r = (r + 1) & (RingSize - 1);
            }
            Done += Length;
        }
    }
    // Releasing heap tables cannot fail, so LzhFreeFailedMessage has no path to be raised on.
}
