#include "package/FileTableFormat.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// A setup program of Body bytes followed by the table.
struct TImage {
    std::vector<uint8_t> Bytes;
    explicit TImage(const std::vector<uint8_t>& Table, size_t Body = 1000) : Bytes(Body, 0xCC) {
        Bytes.insert(Bytes.end(), Table.begin(), Table.end());
    }
    bool Parse(TFileTable& Table, std::string& Why) const {
        size_t Tail = FileTableTailSize(Bytes.size());
        return ParseFileTable(Bytes.data() + Bytes.size() - Tail, Tail, Bytes.size(), Table, Why);
    }
};

TFileTable Sample() {
    TFileTable t;
    t.UnpackedSize = 3000;
    t.Entries = {
        {"Uninstal.exe", 1000, 500}, {"PICTCORE.DLL", 1500, 1200}, {"Help.HLP", 2700, 300}};
    return t;
}

void ExpectSame(const TFileTable& a, const TFileTable& b) {
    EXPECT_EQ(a.UnpackedSize, b.UnpackedSize);
    ASSERT_EQ(a.Entries.size(), b.Entries.size());
    for (size_t i = 0; i < a.Entries.size(); i++) {
        EXPECT_EQ(a.Entries[i].Name, b.Entries[i].Name) << i;
        EXPECT_EQ(a.Entries[i].Offset, b.Entries[i].Offset) << i;
        EXPECT_EQ(a.Entries[i].Size, b.Entries[i].Size) << i;
    }
}

TEST(FileTableFormat, LayoutOfOneEntry) {
    TFileTable t;
    t.UnpackedSize = 0x01020304;
    t.Entries = {{"AB", 0x10, 0x0200}};
    std::vector<uint8_t> b = BuildFileTable(t);
    ASSERT_EQ(b.size(), 33u);
    EXPECT_EQ(b[0], 2);
    EXPECT_EQ(b[1], 'A');
    EXPECT_EQ(b[2], 'B');
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 20, b.begin() + 28),
              (std::vector<uint8_t>{0x10, 0, 0, 0, 0x00, 0x02, 0, 0}));
    EXPECT_EQ(b[28], 1);
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 29, b.end()), (std::vector<uint8_t>{4, 3, 2, 1}));
}

TEST(FileTableFormat, WellFormedTablesReadBack) {
    TFileTable Empty;
    Empty.UnpackedSize = 727552;
    TFileTable Long = Sample();
    Long.Entries[1].Name = std::string(19, 'N');
    TFileTable Full;
    Full.UnpackedSize = 255 * 10;
    for (int i = 0; i < 255; i++)
        Full.Entries.push_back({"F" + std::to_string(i), i * 10, 10});
    // Gaps and overlaps are taken as they stand.
    TFileTable Gaps = Sample();
    Gaps.Entries[2].Offset = 1100;
    const struct {
        const char* Name;
        TFileTable Table;
    } Cases[] = {{"no entries", Empty},
                 {"three entries in order", Sample()},
                 {"19-character name", Long},
                 {"255 entries", Full},
                 {"not contiguous", Gaps}};
    for (const auto& c : Cases) {
        SCOPED_TRACE(c.Name);
        TFileTable Read;
        std::string Why;
        ASSERT_TRUE(TImage(BuildFileTable(c.Table)).Parse(Read, Why)) << Why;
        ExpectSame(Read, c.Table);
    }
}

TEST(FileTableFormat, NameFieldTailIsIgnoredWhateverItHolds) {
    std::vector<uint8_t> b = BuildFileTable(Sample());
    const char Junk[] = "RAM\\PICTURES\\X";
    std::memcpy(&b[1 + 12], Junk, 7); // after "Uninstal.exe"
    b[28 + 1 + 12] = ':';
    TFileTable Read;
    std::string Why;
    ASSERT_TRUE(TImage(b).Parse(Read, Why)) << Why;
    ExpectSame(Read, Sample());
}

TEST(FileTableFormat, TableOnlyAtTheVeryEnd) {
    std::vector<uint8_t> b = BuildFileTable(Sample());
    b.push_back(0);
    TFileTable Read;
    std::string Why;
    TImage(b).Parse(Read, Why);
    EXPECT_NE(Read.UnpackedSize, 3000);
}

TEST(FileTableFormat, DamagedTablesAreRefused) {
    struct TCase {
        const char* Name;
        void (*Damage)(std::vector<uint8_t>& Table);
        size_t Body;
    };
    const TCase Cases[] = {
        {"count larger than the file", [](std::vector<uint8_t>& b) { b[b.size() - 5] = 200; }, 10},
        {"count larger than the entries before it",
         [](std::vector<uint8_t>& b) { b[b.size() - 5] = 255; }, 0},
        {"name length 20", [](std::vector<uint8_t>& b) { b[28] = 20; }, 1000},
        {"name length 255", [](std::vector<uint8_t>& b) { b[0] = 255; }, 1000},
        {"negative offset", [](std::vector<uint8_t>& b) { b[28 + 23] = 0x80; }, 1000},
        {"negative size", [](std::vector<uint8_t>& b) { b[27] = 0xFF; }, 1000},
        {"negative total", [](std::vector<uint8_t>& b) { b[b.size() - 1] = 0x80; }, 1000},
        {"entry past the total", [](std::vector<uint8_t>& b) { b[56 + 24] = 0x2D; }, 1000},
        {"offset + size overflows 32 bits",
         [](std::vector<uint8_t>& b) {
             b[56 + 20] = 0xFF, b[56 + 21] = 0xFF, b[56 + 22] = 0xFF, b[56 + 23] = 0x7F;
         },
         1000},
        {"backslash in name", [](std::vector<uint8_t>& b) { b[1 + 2] = '\\'; }, 1000},
        {"slash in name", [](std::vector<uint8_t>& b) { b[1] = '/'; }, 1000},
        {"colon in name", [](std::vector<uint8_t>& b) { b[1 + 1] = ':'; }, 1000},
        {"name ..", [](std::vector<uint8_t>& b) { b[0] = 2, b[1] = '.', b[2] = '.'; }, 1000},
        {"name .", [](std::vector<uint8_t>& b) { b[0] = 1, b[1] = '.'; }, 1000},
        {"empty name", [](std::vector<uint8_t>& b) { b[56] = 0; }, 1000},
    };
    for (const TCase& c : Cases) {
        SCOPED_TRACE(c.Name);
        std::vector<uint8_t> b = BuildFileTable(Sample());
        c.Damage(b);
        TFileTable Read;
        std::string Why;
        EXPECT_FALSE(TImage(b, c.Body).Parse(Read, Why));
        EXPECT_FALSE(Why.empty());
    }
}

TEST(FileTableFormat, ShortFilesAreRefused) {
    for (size_t Size : {0, 1, 4}) {
        std::vector<uint8_t> b(Size, 0);
        TFileTable Read;
        std::string Why;
        EXPECT_FALSE(ParseFileTable(b.data(), b.size(), b.size(), Read, Why)) << Size;
    }
    // Exactly the trailer: N = 0.
    std::vector<uint8_t> b = {0, 9, 0, 0, 0};
    TFileTable Read;
    std::string Why;
    EXPECT_TRUE(ParseFileTable(b.data(), b.size(), b.size(), Read, Why)) << Why;
    EXPECT_EQ(Read.UnpackedSize, 9);
    EXPECT_TRUE(Read.Entries.empty());
}

TEST(FileTableFormat, TailSizeCoversTheLargestTable) {
    EXPECT_EQ(FileTableTailSize(3), 3u);
    EXPECT_EQ(FileTableTailSize(1u << 20), 5u + 28u * 255u);
}

} // namespace
