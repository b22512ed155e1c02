#include "package/Lzh.h"
#include "setup/ProceedFlag.h"
#include "tools/LzhEncode.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using TBytes = std::vector<uint8_t>;

TBytes Decode(const TBytes& Stream, int32_t Count) {
    return LzhDecodeBytes(Stream, Count);
}

TBytes Random(size_t Size, uint32_t Seed) {
    TBytes b(Size);
    for (uint8_t& c : b) {
        Seed = Seed * 1664525u + 1013904223u;
        c = static_cast<uint8_t>(Seed >> 24);
    }
    return b;
}

TBytes Text(size_t Size) {
    static const char* const Words[] = {"the ",    "quick ", "picture ", "palette ", "of ",
                                        "colour ", "\r\n",   "brush ",   "layer ",   "Pictavorn "};
    TBytes b;
    uint32_t s = 1;
    while (b.size() < Size) {
        s = s * 1664525u + 1013904223u;
        const char* w = Words[(s >> 20) % 10];
        b.insert(b.end(), w, w + std::char_traits<char>::length(w));
    }
    b.resize(Size);
    return b;
}

TBytes ReadFile(const std::filesystem::path& Path) {
    std::ifstream f(Path, std::ios::binary);
    return TBytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

// The demo product's unpacked stream: its files in description order.
TBytes DemoStream() {
    std::filesystem::path Dir = PICTAVORN_DEMO_DIR;
    std::ifstream Description(Dir / "product.txt");
    TBytes Stream;
    std::string Line;
    while (std::getline(Description, Line)) {
        if (Line.empty() || Line[0] == '#') continue;
        TBytes b = ReadFile(Dir / Line);
        EXPECT_FALSE(b.empty()) << Line;
        Stream.insert(Stream.end(), b.begin(), b.end());
    }
    return Stream;
}

void ExpectRoundTrip(const TBytes& Data, TLzhParse Parse) {
    TLzhEncodeOptions Options;
    Options.Parse = Parse;
    TBytes Stream = LzhEncode(Data.data(), Data.size(), Options);
    TBytes Out = Decode(Stream, static_cast<int32_t>(Data.size()));
    ASSERT_EQ(Out.size(), Data.size()) << "the last match passed the end";
    for (size_t i = 0; i < Data.size(); i++)
        ASSERT_EQ(Out[i], Data[i]) << "first difference at byte " << i;
}

TEST(LzhRoundTrip, Corpus) {
    TBytes Spaces(5000, ' ');
    TBytes Equal(100000, 0xAB);
    TBytes Mixed = Text(50000);
    TBytes Noise = Random(30000, 9);
    Mixed.insert(Mixed.end(), Noise.begin(), Noise.end());
    Mixed.insert(Mixed.end(), Equal.begin(), Equal.begin() + 3000);
    TBytes Demo = DemoStream();
    ASSERT_GT(Demo.size(), 1000000u);
    const struct {
        const char* Name;
        TBytes Data;
    } Cases[] = {
        {"empty", {}},
        {"one byte", {0x42}},
        {"two bytes", {0x00, 0xFF}},
        {"all equal", Equal},
        {"spaces, matching the ring's initial spaces", Spaces},
        {"text", Text(70000)},
        {"random", Random(70000, 1)},
        {"text, noise and a run", Mixed},
        {"200 KB of the demo product", TBytes(Demo.begin() + 700000, Demo.begin() + 900000)},
    };
    for (const auto& c : Cases)
        for (TLzhParse Parse : {TLzhParse::Greedy, TLzhParse::Lazy, TLzhParse::Optimal}) {
            SCOPED_TRACE(std::string(c.Name) + ", parse " + std::to_string(int(Parse)));
            ExpectRoundTrip(c.Data, Parse);
        }
}

TEST(LzhRoundTrip, WholeDemoProduct) {
    TBytes Demo = DemoStream();
    ExpectRoundTrip(Demo, TLzhParse::Optimal);
    ExpectRoundTrip(Demo, TLzhParse::Greedy);
}

TEST(LzhRoundTrip, BetterParseIsSmallerThanGreedy) {
    TBytes Data = Text(200000);
    TLzhEncodeOptions Greedy, Optimal;
    Greedy.Parse = TLzhParse::Greedy;
    EXPECT_LT(LzhEncode(Data.data(), Data.size(), Optimal).size(),
              LzhEncode(Data.data(), Data.size(), Greedy).size());
}

TEST(LzhRoundTrip, DamagedStreamsDecodeToTheirCountAndEnd) {
    TBytes Data = Text(20000);
    TBytes Good = LzhEncode(Data.data(), Data.size());
    std::vector<TBytes> Damaged;
    for (size_t Cut : {size_t(0), size_t(1), Good.size() / 3, Good.size() - 1})
        Damaged.emplace_back(Good.begin(), Good.begin() + static_cast<std::ptrdiff_t>(Cut));
    for (size_t Bit = 0; Bit < Good.size() * 8; Bit += Good.size() * 8 / 40) {
        TBytes b = Good;
        b[Bit / 8] ^= static_cast<uint8_t>(1 << (Bit % 8));
        Damaged.push_back(b);
    }
    for (uint32_t Seed = 1; Seed <= 30; Seed++)
        Damaged.push_back(Random(1 + Seed * 97, Seed));
    Damaged.push_back(TBytes(4000, 0xFF));
    for (const TBytes& b : Damaged) {
        TBytes Out = Decode(b, 20000);
        EXPECT_GE(Out.size(), 20000u);
        EXPECT_LT(Out.size(), 20000u + MaxMatch);
    }
    EXPECT_EQ(LzhTestSeam::LiveTables, 0);
}

} // namespace
