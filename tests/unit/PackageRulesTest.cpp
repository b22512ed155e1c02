// Volume names, the split's extension rule and block plan, and the decoder's look-ahead at
// the end of an archive, on which the check for a short disk set rests.
#include <gtest/gtest.h>

#include <vector>

#include "package/Lzh.h"
#include "package/PackageRules.h"
#include "setup/ProceedFlag.h"
#include "tools/LzhEncode.h"

TEST(PackageRules, VolumeSequence) {
    EXPECT_EQ(VolumeName("Pictavor.001", 2), "Pictavor.002");
    EXPECT_EQ(VolumeName("Pictavor.002", 3), "Pictavor.003"); // the name is overwritten as it goes
    EXPECT_EQ(VolumeName("Pictavor.003", 4), "Pictavor.004");
    EXPECT_EQ(VolumeName("Pictavor", 2), "Pictavor.002");
    EXPECT_EQ(DiskPrompt(3), "Please Insert Disk number 3");
    const int Counts[][2] = {{-1, 1}, {0, 1}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 4}, {99, 4}};
    for (const auto& Count : Counts)
        EXPECT_EQ(VolumesToJoin(Count[0]), Count[1]) << Count[0];
}

TEST(PackageRules, ExtensionDecidesTheTarget) {
    struct {
        const char* Name;
        const char* Extension;
        bool Help;
        bool Protected;
    } Cases[] = {
        {"Pictavrn.HLP", ".HLP", true, false}, {"pictavrn.hlp", ".HLP", true, false},
        {"a.b.Hlp", ".HLP", true, false},      {".hlp", ".HLP", true, false},
        {"x.lib", ".LIB", false, true},        {"DATA.DTP", ".DTP", false, true},
        {"Clipart.lib", ".LIB", false, true},  {"X.DLL", ".DLL", false, false},
        {"x.libx", ".LIBX", false, false},     {"x.hlp.bak", ".BAK", false, false},
        {"README", "", false, false},          {"name.", ".", false, false},
        {"dir.hlp\\name", "", false, false}, // a dot before a folder is no extension
        {"C:name", "", false, false},          {"", "", false, false},
    };
    for (const auto& Case : Cases) {
        EXPECT_EQ(FileExtension(Case.Name), Case.Extension) << Case.Name;
        EXPECT_EQ(SplitTargetOf(Case.Name) == TSplitTarget::Help, Case.Help) << Case.Name;
        EXPECT_EQ(IsProtectedExtension(Case.Name), Case.Protected) << Case.Name;
    }
}

TEST(PackageRules, SplitBlocks) {
    struct {
        int64_t Size;
        std::vector<uint32_t> Blocks;
    } Cases[] = {
        {0, {0}}, // one empty read and an empty file
        {1, {1}},          {2047, {2047}},       {2048, {2048}},
        {2049, {2048, 1}}, {4096, {2048, 2048}}, {4097, {2048, 2048, 1}},
    };
    for (const auto& Case : Cases) {
        std::vector<uint32_t> Blocks;
        int64_t Copied = 0;
        do {
            Blocks.push_back(NextSplitBlock(Copied, Case.Size));
            Copied += Blocks.back();
        } while (Copied < Case.Size && Blocks.size() < 10);
        EXPECT_EQ(Blocks, Case.Blocks) << Case.Size;
    }
}

namespace {

// Decodes a stream cut to Available bytes; the requests that found nothing.
int PastEndRequests(const std::vector<uint8_t>& Stream, size_t Available, int32_t Count) {
    const std::vector<uint8_t> Cut(Stream.begin(),
                                   Stream.begin() + static_cast<std::ptrdiff_t>(Available));
    int PastEnd = 0;
    LzhDecodeBytes(Cut, Count, &PastEnd);
    return PastEnd;
}

} // namespace

// A whole stream never needs more than the look-ahead; a stream cut short by more than the
// look-ahead always does, so the unpacking step can tell a short disk set from a whole one.
TEST(PackageRules, LookAheadAtTheEndOfTheArchive) {
    uint32_t Seed = 12345;
    auto Random = [&Seed] { return Seed = Seed * 1103515245u + 12345u, Seed >> 16; };
    std::vector<std::vector<uint8_t>> Corpus = {{'a'}, std::vector<uint8_t>(5000, 0x74)};
    for (size_t Size : {3u, 100u, 2049u, 5000u, 40000u}) {
        std::vector<uint8_t> Text, Noise;
        for (size_t i = 0; i < Size; i++) {
            Text.push_back(static_cast<uint8_t>("setup splits the stream "[Random() % 24]));
            Noise.push_back(static_cast<uint8_t>(Random()));
        }
        Corpus.push_back(Text);
        Corpus.push_back(Noise);
    }
    for (const auto& Data : Corpus) {
        for (TLzhParse Parse : {TLzhParse::Greedy, TLzhParse::Optimal}) {
            TLzhEncodeOptions Options;
            Options.Parse = Parse;
            const std::vector<uint8_t> Stream = LzhEncode(Data.data(), Data.size(), Options);
            const int32_t Count = static_cast<int32_t>(Data.size());
            int PastEnd = 0;
            const std::vector<uint8_t> Output = LzhDecodeBytes(Stream, Count, &PastEnd);
            EXPECT_LE(PastEnd, ArchiveLookAhead) << Data.size();
            ASSERT_GE(Output.size(), Data.size());
            EXPECT_TRUE(std::equal(Data.begin(), Data.end(), Output.begin()));
            for (size_t Cut = ArchiveLookAhead + 1; Cut <= 8 && Cut <= Stream.size(); Cut++)
                EXPECT_GT(PastEndRequests(Stream, Stream.size() - Cut, Count), ArchiveLookAhead)
                    << Data.size() << " cut by " << Cut;
        }
    }
}
