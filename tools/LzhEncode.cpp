#include "tools/LzhEncode.h"

#include "setup/ProceedFlag.h"

#include "package/Lzh.h"

#include <algorithm>
#include <limits>
#include <new>

namespace {

constexpr int MinMatch = MatchThreshold + 1;
constexpr int HashBits = 15;
constexpr int HashSize = 1 << HashBits;

struct TPositionCode {
    uint8_t Prefix[64]; // top bits of the first byte value that decodes to h
    uint8_t Length[64];
    TPositionCode() {
        for (int b = 255; b >= 0; b--) {
            Length[PositionCode[b]] = PositionLength[b];
            Prefix[PositionCode[b]] = static_cast<uint8_t>(b >> (8 - PositionLength[b]));
        }
    }
};

const TPositionCode& Positions() {
    static const TPositionCode Codes;
    return Codes;
}

} // namespace

// The adaptive code runs through the decoder's own tree procedures, so both sides agree on
// every code and every rebuild.
struct TLzhWriter::TTree {
    TLzhTables Tables;
};

TLzhWriter::TLzhWriter() : Tree(new TTree) {
    if (!AllocTables(Tree->Tables)) {
        delete Tree;
        throw std::bad_alloc();
    }
    StartTree(Tree->Tables);
}

TLzhWriter::~TLzhWriter() {
    FreeTables(Tree->Tables);
    delete Tree;
}

void TLzhWriter::PutBits(uint32_t Value, int Count) {
    for (int i = Count - 1; i >= 0; i--) {
        Acc = static_cast<uint8_t>(Acc << 1 | ((Value >> i) & 1));
        if (++Used == 8) {
            Out.push_back(Acc);
            Used = 0;
            Acc = 0;
        }
    }
}

void TLzhWriter::Symbol(int Symbol) {
    const TLzhTables& T = Tree->Tables;
    uint32_t Code = 0;
    int Length = 0;
    for (int n = T.NodeParent[Symbol + NodeCount]; n != RootNode;) {
        int Parent = T.NodeParent[n];
        Code |= static_cast<uint32_t>(n - T.NodeChild[Parent]) << Length;
        Length++;
        n = Parent;
    }
    PutBits(Code, Length);
    UpdateTree(Tree->Tables, Symbol);
}

void TLzhWriter::Literal(uint8_t Byte) {
    Symbol(Byte);
}

void TLzhWriter::Match(int Length, int Distance) {
    Symbol(256 + Length - MinMatch);
    int p = Distance - 1;
    PutBits(Positions().Prefix[p >> 6], Positions().Length[p >> 6]);
    PutBits(static_cast<uint32_t>(p & 63), 6);
}

void TLzhWriter::SymbolLengths(int* Lengths) const {
    const TLzhTables& T = Tree->Tables;
    for (int s = 0; s < SymbolCount; s++) {
        int Length = 0;
        for (int n = T.NodeParent[s + NodeCount]; n != RootNode; n = T.NodeParent[n])
            Length++;
        Lengths[s] = Length;
    }
}

int TLzhWriter::PositionBits(int Distance) {
    return Positions().Length[(Distance - 1) >> 6] + 6;
}

std::vector<uint8_t> TLzhWriter::Finish() {
    // The decoder reads missing bytes as zeros, so zero padding decodes like no padding.
    if (Used) Out.push_back(static_cast<uint8_t>(Acc << (8 - Used)));
    Used = 0;
    Acc = 0;
    return std::move(Out);
}

namespace {

// Searches the text the decoder already has before the first output byte too: its ring of
// spaces below the write position. The unset part of the ring beyond it is never referred to.
class TMatchFinder {
  public:
    TMatchFinder(const uint8_t* Data, size_t Size, int Depth)
        : Depth(std::max(1, Depth)), Head(HashSize, -1) {
        Text.assign(RingStart, ' ');
        Text.insert(Text.end(), Data, Data + Size);
        Prev.assign(Text.size(), -1);
        for (size_t i = 0; i < RingStart; i++)
            Insert(i);
    }
    size_t Begin() const { return RingStart; }
    size_t End() const { return Text.size(); }
    uint8_t At(size_t i) const { return Text[i]; }

    void Insert(size_t i) {
        if (i + MinMatch > Text.size()) return;
        uint32_t h = Hash(i);
        Prev[i] = Head[h];
        Head[h] = static_cast<int32_t>(i);
    }

    // Calls Found(Length, Distance) for every candidate longer than all nearer ones, nearest
    // first, so each length is offered at the cheapest distance that reaches it. Matches end
    // at Limit.
    template <typename F> void Search(size_t i, size_t Limit, F&& Found) const {
        int MaxLength = static_cast<int>(std::min<size_t>(MaxMatch, Limit - i));
        if (MaxLength < MinMatch) return;
        int Best = MinMatch - 1;
        const uint8_t* Here = &Text[i];
        int Steps = Depth;
        for (int32_t c = Head[Hash(i)]; c >= 0 && Steps-- > 0; c = Prev[c]) {
            size_t Distance = i - static_cast<size_t>(c);
            if (Distance > RingSize) break;
            const uint8_t* There = &Text[c];
            if (There[Best] != Here[Best]) continue;
            int Length = 0;
            while (Length < MaxLength && There[Length] == Here[Length])
                Length++;
            if (Length > Best) {
                Best = Length;
                Found(Length, static_cast<int>(Distance));
                if (Length == MaxLength) break;
            }
        }
    }

  private:
    uint32_t Hash(size_t i) const {
        uint32_t v = Text[i] << 16 | Text[i + 1] << 8 | Text[i + 2];
        return (v * 2654435761u) >> (32 - HashBits);
    }

    int Depth;
    std::vector<uint8_t> Text;
    std::vector<int32_t> Head;
    std::vector<int32_t> Prev;
};

struct TLongest {
    int Length = 0;
    int Distance = 0;
};

TLongest Longest(const TMatchFinder& Finder, size_t i) {
    TLongest M;
    Finder.Search(i, Finder.End(), [&](int Length, int Distance) {
        M.Length = Length;
        M.Distance = Distance;
    });
    return M;
}

void ParseGreedy(TMatchFinder& Finder, TLzhWriter& Writer, bool Lazy) {
    size_t i = Finder.Begin();
    TLongest Next = Longest(Finder, i);
    while (i < Finder.End()) {
        TLongest M = Next;
        Finder.Insert(i);
        bool Defer = false;
        if (M.Length && Lazy && i + 1 < Finder.End()) {
            Next = Longest(Finder, i + 1);
            Defer = Next.Length > M.Length;
        }
        if (!M.Length || Defer) {
            Writer.Literal(Finder.At(i));
            i++;
            if (Defer) continue;
        } else {
            Writer.Match(M.Length, M.Distance);
            for (int k = 1; k < M.Length; k++)
                Finder.Insert(i + k);
            i += M.Length;
        }
        if (i < Finder.End()) Next = Longest(Finder, i);
    }
}

// Shortest path in bits through each block, priced with the code lengths at the block's start;
// the adaptive code moves little within a block.
void ParseOptimal(TMatchFinder& Finder, TLzhWriter& Writer) {
    constexpr size_t BlockSize = 8192;
    const uint32_t Infinite = std::numeric_limits<uint32_t>::max();
    std::vector<uint32_t> Cost(BlockSize + 1);
    std::vector<uint16_t> StepLength(BlockSize + 1);
    std::vector<uint16_t> StepDistance(BlockSize + 1);
    std::vector<std::pair<int, int>> Path;
    int SymbolBits[SymbolCount];
    for (size_t Begin = Finder.Begin(); Begin < Finder.End(); Begin += BlockSize) {
        size_t End = std::min(Finder.End(), Begin + BlockSize);
        size_t Span = End - Begin;
        Writer.SymbolLengths(SymbolBits);
        std::fill(Cost.begin(), Cost.begin() + Span + 1, Infinite);
        Cost[0] = 0;
        for (size_t at = 0; at < Span; at++) {
            size_t i = Begin + at;
            uint32_t Here = Cost[at];
            uint32_t Lit = Here + SymbolBits[Finder.At(i)];
            if (Lit < Cost[at + 1]) {
                Cost[at + 1] = Lit;
                StepLength[at + 1] = 1;
            }
            int Shorter = MinMatch - 1;
            Finder.Search(i, End, [&](int Length, int Distance) {
                uint32_t Base = Here + TLzhWriter::PositionBits(Distance);
                for (int l = Shorter + 1; l <= Length; l++) {
                    uint32_t c = Base + SymbolBits[256 + l - MinMatch];
                    if (c < Cost[at + l]) {
                        Cost[at + l] = c;
                        StepLength[at + l] = static_cast<uint16_t>(l);
                        StepDistance[at + l] = static_cast<uint16_t>(Distance);
                    }
                }
                Shorter = Length;
            });
            Finder.Insert(i);
        }
        Path.clear();
        for (size_t at = Span; at > 0; at -= StepLength[at])
            Path.emplace_back(StepLength[at], StepDistance[at]);
        size_t i = Begin;
        for (auto s = Path.rbegin(); s != Path.rend(); ++s) {
            if (s->first == 1)
                Writer.Literal(Finder.At(i));
            else
                Writer.Match(s->first, s->second);
            i += s->first;
        }
    }
}

} // namespace

std::vector<uint8_t> LzhEncode(const uint8_t* Data, size_t Size, const TLzhEncodeOptions& Options) {
    TMatchFinder Finder(Data, Size, Options.ChainDepth);
    TLzhWriter Writer;
    switch (Options.Parse) {
    case TLzhParse::Greedy: ParseGreedy(Finder, Writer, false); break;
    case TLzhParse::Lazy: ParseGreedy(Finder, Writer, true); break;
    case TLzhParse::Optimal: ParseOptimal(Finder, Writer); break;
    }
    return Writer.Finish();
}

namespace {

// The decoder's block procedures over memory; the decoder runs one call at a time.
struct TMemoryIo {
    const std::vector<uint8_t>* Input = nullptr;
    size_t At = 0;
    int PastEnd = 0;
    std::vector<uint8_t> Output;
} MemoryIo;

void ReadMemory(void* Buffer, uint16_t, uint16_t& Actual) {
    if (MemoryIo.At >= MemoryIo.Input->size()) {
        ++MemoryIo.PastEnd;
        Actual = 0;
        return;
    }
    *static_cast<uint8_t*>(Buffer) = (*MemoryIo.Input)[MemoryIo.At++];
    Actual = 1;
}

void WriteMemory(void* Buffer, uint16_t, uint16_t& Actual) {
    MemoryIo.Output.push_back(*static_cast<uint8_t*>(Buffer));
    Actual = 1;
}

} // namespace

std::vector<uint8_t> LzhDecodeBytes(const std::vector<uint8_t>& Stream, int32_t Count,
                                    int* PastEnd) {
    MemoryIo = TMemoryIo();
    MemoryIo.Input = &Stream;
    MemoryIo.Output.reserve(Count > 0 ? static_cast<size_t>(Count) + 60 : 0);
    const int32_t SavedFlag = ProceedFlag;
    ProceedFlag = 1;
    try {
        LzhDecode(Count, ReadMemory, WriteMemory);
    } catch (...) {
        ProceedFlag = SavedFlag;
        throw;
    }
    ProceedFlag = SavedFlag;
    if (PastEnd) *PastEnd = MemoryIo.PastEnd;
    std::vector<uint8_t> Out;
    Out.swap(MemoryIo.Output);
    return Out;
}
