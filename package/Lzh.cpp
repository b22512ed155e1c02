#include "package/Lzh.h"

#include "setup/ProceedFlag.h"

#include <cstddef>
#include <new>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

// NodeFreq entries beyond the sentinel, so that eight entries from any node can be loaded.
constexpr int FreqPadding = 7;

template <typename T> T* AllocOne(size_t Count) {
    if (LzhTestSeam::FailAllocation > 0 && --LzhTestSeam::FailAllocation == 0) return nullptr;
    return new (std::nothrow) T[Count];
}

} // namespace

bool AllocTables(TLzhTables& Tables) {
    Tables.NodeFreq = AllocOne<uint16_t>(NodeCount + 1 + FreqPadding);
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
    // The sentinel, and the padding after it for the decoder's eight-wide scan.
    for (int p = NodeCount; p <= NodeCount + FreqPadding; p++)
        Freq[p] = 0xFFFF;
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
#define LZH_NOINLINE __attribute__((noinline))
#define LZH_LIKELY(x) __builtin_expect(!!(x), 1)
#define LZH_UNLIKELY(x) __builtin_expect(!!(x), 0)
#define LZH_UNROLL _Pragma("GCC unroll 16")
#else
#define LZH_INLINE inline
#define LZH_NOINLINE
#define LZH_LIKELY(x) (x)
#define LZH_UNLIKELY(x) (x)
#define LZH_UNROLL
#endif

// The highest index from n + 1 on whose frequency is below k, less one: where node n goes when
// its frequency becomes k. The sentinel above the root ends the scan.
LZH_INLINE intptr_t LastBelow(const uint16_t* Freq, intptr_t n, uint16_t k) {
    intptr_t l = n + 1;
#ifdef __SSE2__
    const __m128i K = _mm_set1_epi16(static_cast<short>(k));
    for (;;) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Freq + l));
        // Lanes at k or above, where k - v saturates to 0.
        unsigned Stop = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_cmpeq_epi16(_mm_subs_epu16(K, v), _mm_setzero_si128())));
        if (LZH_LIKELY(Stop != 0)) return l + __builtin_ctz(Stop) / 2 - 1;
        l += 8;
    }
#else
    while (Freq[l] < k)
        l++;
    return l - 1;
#endif
}

// The tree down to depth CodeBits, kept beside the tree so that neither the walk down nor the
// climb up needs a chain of dependent loads there:
// - Entry[x]: the node that the walk reaches by the bits x, where it ends at a leaf or at
//   depth CodeBits, with that depth;
// - Heap[p]: node p's code with a one bit above it, (1 << depth) | code, so that its
//   ancestors are at Heap[p] >> 1, >> 2 ... 1 (the root), and NodeAt[h] is the node at h.
// A swap exchanges the subtrees under two nodes; the two nodes keep their places, depths and
// codes, only what hangs below them moves. So what changes is under the two nodes, and only
// when one of them lies above depth CodeBits. Depth[p] says where that is: exact wherever
// either it or the true depth is at most CodeBits, and Heap[p] is valid wherever it is.
constexpr int CodeBits = 9;

struct TCodeTable {
    uint16_t Entry[1 << CodeBits]; // node | depth << 10
    uint16_t NodeAt[2 << CodeBits];
    uint16_t Heap[NodeCount];
    uint8_t Depth[NodeCount];

    // Node p now sits at heap index h, depth d; its subtree is seen down to relative depth
    // Below: past that, both its old and its new depths are beyond CodeBits.
    void Place(const int16_t* Child, int p, int d, unsigned h, int Below) {
        Depth[p] = static_cast<uint8_t>(d < 255 ? d : 255);
        int c = Child[p];
        bool Leaf = c >= NodeCount;
        if (d <= CodeBits) {
            Heap[p] = static_cast<uint16_t>(h);
            NodeAt[h] = static_cast<uint16_t>(p);
            if (Leaf || d == CodeBits) {
                int Shift = CodeBits - d;
                uint16_t e = static_cast<uint16_t>(p | d << 10);
                uint16_t* First = Entry + ((h - (1u << d)) << Shift);
                for (int i = 0; i < 1 << Shift; i++)
                    First[i] = e;
            }
        }
        if (Leaf || Below == 0) return;
        Place(Child, c, d + 1, h * 2, Below - 1);
        Place(Child, c + 1, d + 1, h * 2 + 1, Below - 1);
    }

    void Build(const int16_t* Child) {
        NodeAt[0] = RootNode; // above the root, for the climb's fixed count of steps
        Place(Child, RootNode, 0, 1, NodeCount);
    }

    // After nodes a and b exchanged their subtrees.
    LZH_NOINLINE void Swapped(const int16_t* Child, int a, int b) {
        int Top = Depth[a] < Depth[b] ? Depth[a] : Depth[b];
        if (Top >= CodeBits) return;
        Place(Child, a, Depth[a], Heap[a], CodeBits - Top);
        Place(Child, b, Depth[b], Heap[b], CodeBits - Top);
    }
};

// Node n, whose frequency is now k, takes the place of node l, the last one still below k:
// the frequencies trade places and the two subtrees trade parents.
LZH_INLINE void SwapNodes(uint16_t* Freq, int16_t* Child, int16_t* Parent, intptr_t n, intptr_t l,
                          uint16_t k) {
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
}

// The update as the decoder runs it: the same steps as UpdateTree, which stays the plain
// version of them for the encoder (and so checks this one in every round trip).
struct TTree {
    uint16_t* Freq;
    int16_t* Child;
    int16_t* Parent;
    TCodeTable* Codes;

    // Swaps node n, whose frequency is now k, with node l, the last one still below k.
    LZH_INLINE void Move(intptr_t n, intptr_t l, uint16_t k) const {
        SwapNodes(Freq, Child, Parent, n, l, k);
        Codes->Swapped(Child, static_cast<int>(n), static_cast<int>(l));
    }

    // Counts from node l's parent up to the root, as far as no move is needed: false if one is,
    // at node n, whose frequency is now k. The ancestors come from l's heap index, nine of
    // them whatever l's depth: past the root the index is 0, at which NodeAt has the root,
    // counted by 0 there, and the root never moves.
    LZH_INLINE bool ClimbByHeap(intptr_t l, intptr_t& n, uint16_t& k) const {
        unsigned h = Codes->Heap[l];
        LZH_UNROLL
        for (int Step = 0; Step < CodeBits; Step++) {
            h >>= 1;
            n = Codes->NodeAt[h];
            k = static_cast<uint16_t>(Freq[n] + (h != 0));
            Freq[n] = k;
            if (LZH_UNLIKELY(Freq[n + 1] < k)) return false;
        }
        return true;
    }

    // Counts the symbol whose leaf is at node n. At the leaf's node a move is about as likely
    // as not, which a branch would guess wrong half the time, so that node always takes the
    // move: with nothing below k after it, l is n and the swap leaves everything as it was.
    LZH_INLINE void CountFromLeaf(intptr_t n) const {
        uint16_t k = static_cast<uint16_t>(Freq[n] + 1);
        intptr_t l = LastBelow(Freq, n, k);
        Freq[n] = Freq[l];
        Freq[l] = k;
        int i = Child[n]; // a leaf, with no second child
        Parent[i] = static_cast<int16_t>(l);
        int j = Child[l];
        Child[l] = static_cast<int16_t>(i);
        Parent[j] = static_cast<int16_t>(n);
        int16_t NoSecondChild;
        *(j < NodeCount ? &Parent[j + 1] : &NoSecondChild) = static_cast<int16_t>(n);
        Child[n] = static_cast<int16_t>(j);
        // Two leaves at the same depth (or n with itself) leave the table as it was.
        int Dn = Codes->Depth[n], Dl = Codes->Depth[l];
        if ((Dn < CodeBits || Dl < CodeBits) & (j < NodeCount || Dn != Dl))
            Codes->Swapped(Child, static_cast<int>(n), static_cast<int>(l));
        // Above the leaf, moves are rare. Within the table's depth the ancestors come from
        // the heap index; below it, and so for long codes, from Parent.
        for (;;) {
            if (Codes->Depth[l] <= CodeBits) {
                if (ClimbByHeap(l, n, k)) return;
            } else {
                n = Parent[l];
                k = static_cast<uint16_t>(Freq[n] + 1);
                Freq[n] = k;
                if (LZH_LIKELY(Freq[n + 1] >= k)) {
                    if (n == RootNode) return;
                    l = n;
                    continue;
                }
            }
            l = LastBelow(Freq, n, k);
            Move(n, l, k);
        }
    }
};

} // namespace

void UpdateTree(TLzhTables& Tables, int Symbol) {
    uint16_t* Freq = Tables.NodeFreq;
    int16_t* Child = Tables.NodeChild;
    int16_t* Parent = Tables.NodeParent;
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
            SwapNodes(Freq, Child, Parent, n, l, k);
            n = l;
        }
        n = Parent[n];
    } while (n != 0);
}

namespace {

// Releases the tables however the decoding run ends.
struct TTablesGuard {
    TLzhTables& Tables;
    ~TTablesGuard() { FreeTables(Tables); }
};

// The bit reader's state, passed by value so that it stays in registers in the decoding loop:
// Count bits from bit 31 down, the bits below them zero.
struct TBits {
    uint32_t Buffer;
    uint32_t Count;
};

// One byte per call, out of line, so that the call costs no more than the request itself.
LZH_NOINLINE uint32_t ReadByte(TBlockProc ReadProc) {
    uint8_t b = 0;
    uint16_t Actual = 0;
    ReadProc(&b, 1, Actual);
    return Actual == 1 ? b : 0;
}

// Only the first refill, with the reader empty, takes two bytes.
LZH_INLINE TBits Refill(TBlockProc ReadProc, TBits Bits) {
    do {
        Bits.Buffer |= ReadByte(ReadProc) << (24 - Bits.Count);
        Bits.Count += 8;
    } while (LZH_UNLIKELY(Bits.Count <= 8));
    return Bits;
}

// The refill runs before every bit or byte taken, so the input is asked for up to two bytes
// ahead.
LZH_INLINE unsigned TakeBit(TBlockProc ReadProc, TBits& Bits) {
    if (Bits.Count <= 8) Bits = Refill(ReadProc, Bits);
    unsigned Bit = Bits.Buffer >> 31;
    Bits.Buffer <<= 1;
    Bits.Count--;
    return Bit;
}

LZH_INLINE unsigned TakeByte(TBlockProc ReadProc, TBits& Bits) {
    if (Bits.Count <= 8) Bits = Refill(ReadProc, Bits);
    unsigned Byte = Bits.Buffer >> 24;
    Bits.Buffer <<= 8;
    Bits.Count -= 8;
    return Byte;
}

LZH_INLINE unsigned DecodeMatchPosition(TBlockProc ReadProc, TBits& Bits) {
    unsigned i = TakeByte(ReadProc, Bits);
    unsigned High = PositionCode[i];
    int Extra = PositionLength[i] - 2;
    for (int e = 0; e < Extra; e++)
        i = i * 2 + TakeBit(ReadProc, Bits);
    return High * 64 + (i & 63);
}

} // namespace

void LzhDecode(int32_t Count, TBlockProc ReadProc, TBlockProc WriteProc) {
    TLzhTables Tables;
    if (!AllocTables(Tables)) throw ElzhException(LzhNoMemoryMessage);
    TTablesGuard Guard{Tables};

    StartTree(Tables);
    uint8_t* const Ring = Tables.RingBuffer;
    const int16_t* const Child = Tables.NodeChild;
    TCodeTable Codes;
    Codes.Build(Child);
    const TTree Tree{Tables.NodeFreq, Tables.NodeChild, Tables.NodeParent, &Codes};
    for (int i = 0; i < RingStart; i++)
        Ring[i] = ' ';
    // Never set by the format; zero so that a stray match reads something fixed.
    for (int i = RingStart; i < RingSize; i++)
        Ring[i] = 0;
    TBits Bits{0, 0};
    unsigned r = RingStart;
    int64_t Done = 0; // wider than Count: a final match may pass INT32_MAX
    uint16_t Actual = 0;

    while (Done < Count && ProceedFlag != 0) {
        // The first bits through the table, taken as the walk takes them: the reader, full
        // enough for all of them at the start, refills before the last one if it ran low.
        if (Bits.Count <= 8) Bits = Refill(ReadProc, Bits);
        unsigned e = Codes.Entry[Bits.Buffer >> (32 - CodeBits)];
        unsigned Taken = (e >> 10) - 1;
        Bits.Buffer <<= Taken;
        Bits.Count -= Taken;
        if (Bits.Count <= 8) Bits = Refill(ReadProc, Bits);
        Bits.Buffer <<= 1;
        Bits.Count--;
        intptr_t Leaf = e & 1023; // the node holding the leaf, once the walk ends
        intptr_t n = Child[Leaf];
        // Codes longer than the table's, bit by bit.
        while (n < NodeCount) {
            Leaf = n + TakeBit(ReadProc, Bits);
            n = Child[Leaf];
        }
        int c = static_cast<int>(n) - NodeCount;
        if (LZH_UNLIKELY(Tree.Freq[RootNode] == FreqLimit)) {
            RebuildTree(Tables);
            Codes.Build(Child);
            Leaf = Tree.Parent[n];
        }
        Tree.CountFromLeaf(Leaf);

        if (c < 256) {
            uint8_t b = static_cast<uint8_t>(c);
            WriteProc(&b, 1, Actual);
            Ring[r] = b;
            r = (r + 1) & (RingSize - 1);
            Done++;
        } else {
            int Length = c - 256 + MatchThreshold + 1;
            unsigned Start = (r - DecodeMatchPosition(ReadProc, Bits) - 1) & (RingSize - 1);
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
