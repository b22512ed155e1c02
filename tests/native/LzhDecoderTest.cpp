#include "package/Lzh.h"
#include "setup/ProceedFlag.h"
#include "tools/LzhEncode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The block procedures are plain function pointers, so the fixture's state is global.
struct TIo {
    std::vector<uint8_t> Input;
    size_t InputPos = 0;
    bool ReadsDeliver = true;
    int Reads = 0;
    std::vector<uint8_t> Output;
    std::vector<int> ReadsAtWrite; // requests made before each output byte
    // Called after every byte written, with the output so far.
    void (*OnWrite)(const std::vector<uint8_t>&) = nullptr;
} Io;

void ReadByte(void* Buffer, uint16_t Count, uint16_t& Actual) {
    EXPECT_EQ(Count, 1);
    Io.Reads++;
    if (!Io.ReadsDeliver || Io.InputPos >= Io.Input.size()) {
        Actual = 0;
        return;
    }
    *static_cast<uint8_t*>(Buffer) = Io.Input[Io.InputPos++];
    Actual = 1;
}

void WriteByte(void* Buffer, uint16_t Count, uint16_t& Actual) {
    EXPECT_EQ(Count, 1);
    Io.Output.push_back(*static_cast<uint8_t*>(Buffer));
    Io.ReadsAtWrite.push_back(Io.Reads);
    Actual = Count;
    if (Io.OnWrite) Io.OnWrite(Io.Output);
}

class LzhDecoder : public ::testing::Test {
  protected:
    void SetUp() override {
        Io = TIo();
        ProceedFlag = 1;
        LzhTestSeam::FailAllocation = 0;
    }
    void TearDown() override { EXPECT_EQ(LzhTestSeam::LiveTables, 0) << "tables not released"; }

    std::vector<uint8_t> Decode(const std::vector<uint8_t>& Stream, int32_t Count) {
        Io.Input = Stream;
        Io.InputPos = 0;
        Io.Output.clear();
        LzhDecode(Count, ReadByte, WriteByte);
        return Io.Output;
    }
};

std::vector<uint8_t> Bytes(const std::string& s) {
    return std::vector<uint8_t>(s.begin(), s.end());
}

struct TEdgeCase {
    const char* Name;
    std::vector<uint8_t> Input;
    bool ReadsDeliver;
    int32_t Count;
    std::vector<uint8_t> Expected;
    int ExpectedReads; // -1: not checked
};

TEST_F(LzhDecoder, EdgeCases) {
    const TEdgeCase Cases[] = {
        {"count 0 asks for nothing", {1, 2, 3}, true, 0, {}, 0},
        {"negative count asks for nothing", {1, 2, 3}, true, -7, {}, 0},
        {"reads deliver nothing, count 1", {}, false, 1, {0x74}, 2},
        // 0x74 from eight zero bits, then symbol 313: length 60 at position 0, delivered whole.
        {"all-zero input, count 5", std::vector<uint8_t>(64, 0), true, 5,
         std::vector<uint8_t>(61, 0x74), -1},
        {"input ends early, tail reads as zeros", {}, true, 5, std::vector<uint8_t>(61, 0x74), -1},
    };
    for (const TEdgeCase& c : Cases) {
        SCOPED_TRACE(c.Name);
        Io = TIo();
        Io.ReadsDeliver = c.ReadsDeliver;
        EXPECT_EQ(Decode(c.Input, c.Count), c.Expected);
        if (c.ExpectedReads >= 0) {
            EXPECT_EQ(Io.Reads, c.ExpectedReads);
        }
        EXPECT_EQ(LzhTestSeam::LiveTables, 0);
    }
}

// The reader asks for a byte only when the next bit or byte would leave it fewer than nine
// bits: before the take that starts at bit t (from 1) it has read (t + 15) / 8 bytes. Each
// symbol ends with a single-bit take, so every byte of a symbol ending at bit t comes after
// exactly (t + 15) / 8 requests, and none are made after the last byte.
struct TSymbolPlan {
    std::vector<uint8_t> Stream;
    std::vector<uint8_t> Output;
    std::vector<int> ReadsAtWrite;
};

TSymbolPlan PlanSymbols(int Symbols, uint32_t Seed) {
    TLzhWriter Writer;
    TSymbolPlan Plan;
    int Lengths[SymbolCount];
    int64_t Bits = 0;
    for (int s = 0; s < Symbols; s++) {
        Seed = Seed * 1103515245u + 12345u;
        uint32_t x = Seed >> 8;
        Writer.SymbolLengths(Lengths);
        if (x % 3 != 0) {
            // Literals from a skewed alphabet, so that codes of many lengths turn up.
            uint8_t c = static_cast<uint8_t>((x >> 2) % (1 + (x >> 12) % 200));
            Bits += Lengths[c];
            Writer.Literal(c);
            Plan.Output.push_back(c);
            Plan.ReadsAtWrite.push_back(static_cast<int>((Bits + 15) / 8));
        } else {
            int Length = 3 + (x >> 2) % 58;
            // Every prefix class of the position code.
            int Distance = 1 + ((x >> 8) % 4096 >> ((x >> 4) % 7));
            // Not into the ring's unset tail before the first output byte.
            Distance = std::min<int>(Distance, static_cast<int>(Plan.Output.size()) + RingStart);
            Bits += Lengths[256 + Length - 3] + TLzhWriter::PositionBits(Distance);
            Writer.Match(Length, Distance);
            size_t From = Plan.Output.size() - Distance;
            for (int k = 0; k < Length; k++) {
                // Before the first output byte the ring holds spaces.
                uint8_t b = From + k < Plan.Output.size() ? Plan.Output[From + k] : ' ';
                Plan.Output.push_back(b);
                Plan.ReadsAtWrite.push_back(static_cast<int>((Bits + 15) / 8));
            }
        }
    }
    Plan.Stream = Writer.Finish();
    return Plan;
}

TEST_F(LzhDecoder, ReadRequestsComeExactlyWhenTheReaderRunsLow) {
    const struct {
        const char* Name;
        int Symbols;
        uint32_t Seed;
    } Cases[] = {
        {"a few symbols", 40, 7},
        {"past the first rebuild", 34000, 99},
    };
    for (const auto& c : Cases) {
        SCOPED_TRACE(c.Name);
        TSymbolPlan Plan = PlanSymbols(c.Symbols, c.Seed);
        Io = TIo();
        ASSERT_EQ(Decode(Plan.Stream, static_cast<int32_t>(Plan.Output.size())), Plan.Output);
        EXPECT_EQ(Io.ReadsAtWrite, Plan.ReadsAtWrite);
        EXPECT_EQ(Io.Reads, Plan.ReadsAtWrite.back());
    }
}

TEST_F(LzhDecoder, ProceedFlagDropMakesNoFurtherRequest) {
    TSymbolPlan Plan = PlanSymbols(200, 3);
    Io.OnWrite = [](const std::vector<uint8_t>& Out) {
        if (Out.size() == 150) ProceedFlag = 0;
    };
    std::vector<uint8_t> Out = Decode(Plan.Stream, static_cast<int32_t>(Plan.Output.size()));
    ASSERT_GE(Out.size(), 150u);
    ASSERT_LT(Out.size(), Plan.Output.size());
    EXPECT_EQ(Io.ReadsAtWrite,
              std::vector<int>(Plan.ReadsAtWrite.begin(), Plan.ReadsAtWrite.begin() + Out.size()));
    EXPECT_EQ(Io.Reads, Io.ReadsAtWrite.back());
}

TEST_F(LzhDecoder, PositionTablesFollowTheRule) {
    // Prefix length by upper six bits; codes handed out in ascending order from 0x00.
    auto LengthOf = [](int h) {
        return h == 0 ? 3 : h < 4 ? 4 : h < 12 ? 5 : h < 24 ? 6 : h < 48 ? 7 : 8;
    };
    int b = 0;
    for (int h = 0; h < 64; h++) {
        for (int k = 0; k < 1 << (8 - LengthOf(h)); k++, b++) {
            EXPECT_EQ(PositionCode[b], h) << "byte " << b;
            EXPECT_EQ(PositionLength[b], LengthOf(h)) << "byte " << b;
        }
    }
    EXPECT_EQ(b, 256);
    EXPECT_EQ(PositionCode[0x1F], 0);
    EXPECT_EQ(PositionCode[0x20], 1);
    EXPECT_EQ(PositionCode[0x50], 4);
    EXPECT_EQ(PositionCode[0x90], 12);
    EXPECT_EQ(PositionCode[0xC0], 24);
    EXPECT_EQ(PositionCode[0xF0], 48);
    EXPECT_EQ(PositionCode[0xFF], 63);
}

TEST_F(LzhDecoder, StartingTreeHas198EightBitAnd116NineBitCodes) {
    TLzhWriter Writer;
    int Lengths[SymbolCount];
    Writer.SymbolLengths(Lengths);
    int Eight = 0, Nine = 0;
    for (int l : Lengths) {
        Eight += l == 8;
        Nine += l == 9;
    }
    EXPECT_EQ(Eight, 198);
    EXPECT_EQ(Nine, 116);
}

TEST_F(LzhDecoder, FirstRebuildHappensInTheUpdateOfSymbol32455) {
    TLzhTables Tables;
    ASSERT_TRUE(AllocTables(Tables));
    StartTree(Tables);
    for (int i = 1; i <= 32454; i++)
        UpdateTree(Tables, i % 7 == 0 ? 256 : 'e');
    EXPECT_EQ(Tables.NodeFreq[RootNode], 0x8000) << "rebuilt too early";
    UpdateTree(Tables, 'e');
    // Halved leaves sum to a little over half the old root, plus the symbol just counted.
    EXPECT_LT(Tables.NodeFreq[RootNode], 0x4200) << "not rebuilt in update 32455";
    for (int i = 0; i < NodeCount; i++)
        ASSERT_LE(Tables.NodeFreq[i], Tables.NodeFreq[i + 1]) << "order broken at " << i;
    FreeTables(Tables);
}

TEST_F(LzhDecoder, RebuildHalvesRoundingUpAndPlacesAfterEqualFrequencies) {
    TLzhTables Tables;
    ASSERT_TRUE(AllocTables(Tables));
    StartTree(Tables);
    // Leaves: 'a' three times (freq 4), 'b' once (freq 2), the rest 1.
    for (int s : {'a', 'b', 'a', 'a'})
        UpdateTree(Tables, s);
    RebuildTree(Tables);
    int Leaf[SymbolCount];
    for (int n = 0; n < NodeCount; n++)
        if (Tables.NodeChild[n] >= NodeCount) Leaf[Tables.NodeChild[n] - NodeCount] = n;
    EXPECT_EQ(Tables.NodeFreq[Leaf['a']], 2);
    EXPECT_EQ(Tables.NodeFreq[Leaf['b']], 1);
    EXPECT_EQ(Tables.NodeFreq[Leaf['c']], 1);
    // Root: 313 leaves of 1 and one of 2.
    EXPECT_EQ(Tables.NodeFreq[RootNode], 315);
    // The first internal node (the first two leaves, frequency 2) goes after the 'a' leaf of 2.
    int FirstInternal = -1;
    for (int n = 0; n < NodeCount && FirstInternal < 0; n++)
        if (Tables.NodeChild[n] < NodeCount) FirstInternal = n;
    EXPECT_EQ(Tables.NodeChild[FirstInternal], 0);
    EXPECT_GT(FirstInternal, Leaf['a']);
    for (int n = 0; n < NodeCount; n++) {
        int k = Tables.NodeChild[n];
        EXPECT_EQ(Tables.NodeParent[k], n);
        if (k < NodeCount) {
            EXPECT_EQ(Tables.NodeParent[k + 1], n);
        }
    }
    FreeTables(Tables);
}

TEST_F(LzhDecoder, OutputAcrossTheFirstRebuildRoundTrips) {
    // Over 32,455 symbols, most of them literals, so later codes come from the rebuilt tree.
    std::vector<uint8_t> Data;
    uint32_t x = 12345;
    while (Data.size() < 60000) {
        x = x * 1103515245u + 12345u;
        Data.push_back(static_cast<uint8_t>("etaoinshrdlu  \n"[(x >> 16) % 15]));
    }
    for (TLzhParse Parse : {TLzhParse::Greedy, TLzhParse::Optimal}) {
        TLzhEncodeOptions Options;
        Options.Parse = Parse;
        std::vector<uint8_t> Stream = LzhEncode(Data.data(), Data.size(), Options);
        EXPECT_EQ(Decode(Stream, static_cast<int32_t>(Data.size())), Data);
    }
}

TEST_F(LzhDecoder, MatchReachesBackIntoInitialSpaces) {
    TLzhWriter Writer;
    Writer.Literal('A');
    Writer.Match(5, 3);             // two bytes before the first output byte, then 'A', then itself
    Writer.Match(3, 6 + RingStart); // from ring position 0, the oldest space
    std::vector<uint8_t> Out = Decode(Writer.Finish(), 9);
    EXPECT_EQ(std::string(Out.begin(), Out.end()), "A  A     ");
    EXPECT_EQ(Out.size(), 9u);
}

TEST_F(LzhDecoder, ProceedFlagDropDeliversCurrentMatchWholeThenStops) {
    TLzhWriter Writer;
    Writer.Literal('x');
    Writer.Match(10, 1);
    Writer.Literal('y');
    Writer.Literal('z');
    Io.OnWrite = [](const std::vector<uint8_t>& Out) {
        if (Out.size() == 3) ProceedFlag = 0;
    };
    std::vector<uint8_t> Out = Decode(Writer.Finish(), 100);
    EXPECT_EQ(std::string(Out.begin(), Out.end()), std::string(11, 'x'));
}

TEST_F(LzhDecoder, ProceedFlagZeroAtStartDecodesNothing) {
    ProceedFlag = 0;
    EXPECT_TRUE(Decode({1, 2, 3}, 10).empty());
    EXPECT_EQ(Io.Reads, 0);
}

struct TDiskFull {
    int Code;
};

TEST_F(LzhDecoder, CallbackExceptionPassesThroughAfterRelease) {
    struct TWhere {
        const char* Name;
        TBlockProc Read;
        TBlockProc Write;
    };
    const TWhere Cases[] = {
        {"write", ReadByte, [](void*, uint16_t, uint16_t&) { throw TDiskFull{7}; }},
        {"read", [](void*, uint16_t, uint16_t&) { throw TDiskFull{7}; }, WriteByte},
    };
    for (const TWhere& c : Cases) {
        SCOPED_TRACE(c.Name);
        try {
            LzhDecode(10, c.Read, c.Write);
            ADD_FAILURE() << "no exception";
        } catch (const TDiskFull& e) {
            EXPECT_EQ(e.Code, 7);
        }
        EXPECT_EQ(LzhTestSeam::LiveTables, 0);
    }
}

TEST_F(LzhDecoder, AllocationFailureRaisesBeforeAnyRequest) {
    for (int Which = 1; Which <= 4; Which++) {
        SCOPED_TRACE(Which);
        LzhTestSeam::FailAllocation = Which;
        Io = TIo();
        try {
            LzhDecode(10, ReadByte, WriteByte);
            ADD_FAILURE() << "no exception";
        } catch (const ElzhException& e) {
            EXPECT_STREQ(e.what(), "LZH : Cannot get memory for dictionary tables");
        }
        EXPECT_EQ(Io.Reads, 0);
        EXPECT_TRUE(Io.Output.empty());
        EXPECT_EQ(LzhTestSeam::LiveTables, 0);
        LzhTestSeam::FailAllocation = 0;
    }
}

// The decoder step by step on the tree procedures the encoder uses, with the same refill
// rule: what the decoder's shortcuts must agree with, byte for byte and request for request.
struct TPlainResult {
    std::vector<uint8_t> Output;
    std::vector<int> ReadsAtWrite;
};

TPlainResult PlainDecode(const std::vector<uint8_t>& Input, int32_t Count) {
    TPlainResult Result;
    size_t At = 0;
    int Reads = 0;
    uint32_t Buffer = 0, Bits = 0;
    auto Refill = [&] {
        while (Bits <= 8) {
            Reads++;
            uint32_t b = At < Input.size() ? Input[At++] : 0;
            Buffer |= b << (24 - Bits);
            Bits += 8;
        }
    };
    auto Take = [&](int n) {
        unsigned v = 0;
        for (int i = 0; i < n; i++) {
            Refill();
            v = v * 2 + (Buffer >> 31);
            Buffer <<= 1;
            Bits--;
        }
        return v;
    };
    TLzhTables Tables;
    EXPECT_TRUE(AllocTables(Tables));
    StartTree(Tables);
    std::vector<uint8_t> Ring(RingSize, 0);
    std::fill(Ring.begin(), Ring.begin() + RingStart, ' ');
    unsigned r = RingStart;
    auto Put = [&](uint8_t b) {
        Result.Output.push_back(b);
        Result.ReadsAtWrite.push_back(Reads);
        Ring[r] = b;
        r = (r + 1) % RingSize;
    };
    while (static_cast<int64_t>(Result.Output.size()) < Count) {
        int n = Tables.NodeChild[RootNode];
        while (n < NodeCount)
            n = Tables.NodeChild[n + Take(1)];
        int c = n - NodeCount;
        UpdateTree(Tables, c);
        if (c < 256) {
            Put(static_cast<uint8_t>(c));
            continue;
        }
        Refill(); // the position's first byte in one piece
        unsigned i = Buffer >> 24;
        Buffer <<= 8;
        Bits -= 8;
        unsigned Position = PositionCode[i] * 64u;
        i = (i << (PositionLength[i] - 2)) | Take(PositionLength[i] - 2);
        unsigned Start = (r - (Position + (i & 63)) - 1) % RingSize;
        for (int k = 0; k < c - 256 + MatchThreshold + 1; k++)
            Put(Ring[(Start + k) % RingSize]);
    }
    FreeTables(Tables);
    return Result;
}

TEST_F(LzhDecoder, AgreesWithThePlainTreeProceduresOnArbitraryInput) {
    // Bits with different biases give trees of different shapes: flat, lopsided with long
    // codes, and one that turns over when the bias flips, with many moves far up the tree.
    const struct {
        const char* Name;
        int OnePercent;     // chance of a one bit
        int FlippedPercent; // the same for the second half of the input
    } Cases[] = {
        {"even bits", 50, 50},
        {"mostly zero bits", 10, 10},
        {"mostly one bits", 92, 92},
        {"bias flips halfway", 8, 95},
    };
    for (const auto& c : Cases) {
        SCOPED_TRACE(c.Name);
        std::vector<uint8_t> Input(120000);
        uint32_t Seed = 12345;
        for (size_t i = 0; i < Input.size(); i++) {
            int Percent = i < Input.size() / 2 ? c.OnePercent : c.FlippedPercent;
            uint8_t b = 0;
            for (int k = 0; k < 8; k++) {
                Seed = Seed * 1103515245u + 12345u;
                b = static_cast<uint8_t>(b * 2 + ((Seed >> 16) % 100 < unsigned(Percent)));
            }
            Input[i] = b;
        }
        const int32_t Count = 600000;
        TPlainResult Expected = PlainDecode(Input, Count);
        Io = TIo();
        ASSERT_EQ(Decode(Input, Count), Expected.Output);
        EXPECT_EQ(Io.ReadsAtWrite, Expected.ReadsAtWrite);
    }
}

TEST_F(LzhDecoder, CallsDoNotDependOnEachOther) {
    TLzhWriter Writer;
    for (char c : std::string("hello hello hello"))
        Writer.Literal(static_cast<uint8_t>(c));
    std::vector<uint8_t> Stream = Writer.Finish();
    std::vector<uint8_t> First = Decode(Stream, 17);
    EXPECT_EQ(Decode(Stream, 17), First);
    EXPECT_EQ(First, Bytes("hello hello hello"));
}

} // namespace
