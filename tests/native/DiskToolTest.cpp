#include "package/FileTableFormat.h"
#include "tools/DiskTool.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using TBytes = std::vector<uint8_t>;

TBytes Pattern(size_t Size, uint32_t Seed) {
    TBytes b(Size);
    for (size_t i = 0; i < Size; i++) {
        Seed = Seed * 1664525u + 1013904223u;
        b[i] = (i / 64) % 3 ? static_cast<uint8_t>(Seed >> 24) : static_cast<uint8_t>(i);
    }
    return b;
}

void Write(const fs::path& p, const TBytes& b) {
    std::ofstream f(p, std::ios::binary);
    f.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

TBytes Read(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return TBytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

// A small product: a main program and three further files, a setup program, an output folder.
class DiskTool : public ::testing::Test {
  public:
    fs::path Dir, Out, Setup, Description;
    std::string StdOut, StdErr;

    void SetUp() override {
        Dir = fs::temp_directory_path() /
              ("pictdisk-test-" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(Dir);
        fs::create_directories(Dir / "files");
        Out = Dir / "out";
        Setup = Dir / "setup.exe";
        Write(Setup, Pattern(3000, 1));
        Write(Dir / "files" / "Main.exe", Pattern(40000, 2));
        Write(Dir / "files" / "Uninstal.exe", Pattern(9000, 3));
        Write(Dir / "files" / "Empty.dat", {});
        Write(Dir / "files" / "Help.HLP", Pattern(25000, 4));
        Describe({"files/Main.exe", "files/Uninstal.exe", "files/Empty.dat", "files/Help.HLP"});
    }
    void TearDown() override { fs::remove_all(Dir); }

    void Describe(const std::vector<std::string>& Lines) {
        Description = Dir / "product.txt";
        std::ofstream f(Description);
        f << "# test product\n\n";
        for (const std::string& l : Lines)
            f << l << "\n";
    }

    int Run(std::vector<std::string> Args) {
        std::ostringstream o, e;
        int Status = RunDiskTool(Args, o, e);
        StdOut = o.str();
        StdErr = e.str();
        return Status;
    }
    std::vector<std::string> BuildArgs(std::vector<std::string> More = {}) {
        std::vector<std::string> a = {"build", Description.string(), "--setup", Setup.string(),
                                      "--out", Out.string()};
        a.insert(a.end(), More.begin(), More.end());
        return a;
    }
};

TEST_F(DiskTool, BuildLaysOutDisksThatVerifyAndList) {
    ASSERT_EQ(Run(BuildArgs({"--capacity", "40960", "--disks", "3"})), 0) << StdErr;
    EXPECT_NE(StdOut.find("ratio"), std::string::npos);
    uint64_t Archive = 0;
    for (int d = 1; d <= 3; d++) {
        fs::path Volume = Out / ("disk" + std::to_string(d)) / ("Pictavor.00" + std::to_string(d));
        ASSERT_TRUE(fs::exists(Volume)) << Volume;
        uint64_t Used = (fs::file_size(Volume) + 511) / 512 * 512;
        if (d == 1) Used += (fs::file_size(Out / "disk1" / "SETUP.EXE") + 511) / 512 * 512;
        EXPECT_LE(Used, 40960u) << "disk " << d;
        Archive += fs::file_size(Volume);
    }
    EXPECT_GT(Archive, 0u);

    // SETUP.EXE is the setup program with the table appended.
    TBytes Image = Read(Out / "disk1" / "SETUP.EXE");
    TBytes Original = Read(Setup);
    ASSERT_EQ(Image.size(), Original.size() + 5 + 28 * 3);
    EXPECT_TRUE(std::equal(Original.begin(), Original.end(), Image.begin()));
    TFileTable Table;
    std::string Why;
    ASSERT_TRUE(ParseFileTable(Image.data(), Image.size(), Image.size(), Table, Why)) << Why;
    EXPECT_EQ(Table.UnpackedSize, 74000);
    ASSERT_EQ(Table.Entries.size(), 3u);
    EXPECT_EQ(Table.Entries[0].Name, "Uninstal.exe");
    EXPECT_EQ(Table.Entries[0].Offset, 40000);
    EXPECT_EQ(Table.Entries[1].Name, "Empty.dat");
    EXPECT_EQ(Table.Entries[1].Size, 0);
    EXPECT_EQ(Table.Entries[2].Offset, 49000);

    EXPECT_EQ(Run({"verify", Description.string(), Out.string()}), 0) << StdErr;
    EXPECT_EQ(Run({"verify", Description.string(), (Out / "disk1").string(),
                   (Out / "disk2").string(), (Out / "disk3").string()}),
              0)
        << StdErr;
    ASSERT_EQ(Run({"list", (Out / "disk1" / "SETUP.EXE").string()}), 0) << StdErr;
    EXPECT_NE(StdOut.find("Help.HLP"), std::string::npos);
    EXPECT_NE(StdOut.find("total 74000"), std::string::npos);
}

TEST_F(DiskTool, VerifyNamesTheFirstDifference) {
    ASSERT_EQ(Run(BuildArgs()), 0) << StdErr;
    TBytes Help = Read(Dir / "files" / "Help.HLP");
    Help[1234] ^= 1;
    Help[5000] ^= 1;
    Write(Dir / "files" / "Help.HLP", Help);
    EXPECT_NE(Run({"verify", Description.string(), Out.string()}), 0);
    EXPECT_NE(StdErr.find("Help.HLP differs at byte 1234"), std::string::npos) << StdErr;

    Write(Dir / "files" / "Uninstal.exe", Pattern(9001, 3));
    EXPECT_NE(Run({"verify", Description.string(), Out.string()}), 0);
    EXPECT_NE(StdErr.find("Uninstal.exe"), std::string::npos) << StdErr;
}

TEST_F(DiskTool, GreedyAndOptimalBothVerify) {
    for (const char* Parse : {"--greedy", "--lazy"}) {
        ASSERT_EQ(Run(BuildArgs({Parse})), 0) << StdErr;
        EXPECT_EQ(Run({"verify", Description.string(), Out.string()}), 0) << Parse << StdErr;
    }
}

TEST_F(DiskTool, DecodeWritesExactlyTheCount) {
    ASSERT_EQ(Run(BuildArgs({"--disks", "1"})), 0) << StdErr;
    fs::path Decoded = Dir / "decoded";
    ASSERT_EQ(Run({"decode", (Out / "disk1" / "Pictavor.001").string(), "40000", Decoded.string()}),
              0)
        << StdErr;
    EXPECT_EQ(Read(Decoded), Read(Dir / "files" / "Main.exe"));
}

TEST_F(DiskTool, BadInputIsRefusedWithoutOutput) {
    struct TCase {
        const char* Name;
        void (*Prepare)(DiskTool& t);
        std::vector<std::string> Options;
        const char* Message;
    };
    const TCase Cases[] = {
        {"missing product file",
         [](DiskTool& t) {
             t.Describe({"files/Main.exe", "files/Nowhere.dll"});
         },
         {},
         "missing"},
        {"missing main program",
         [](DiskTool& t) { t.Describe({"files/None.exe"}); },
         {},
         "missing"},
        {"missing setup program",
         [](DiskTool& t) { t.Setup = t.Dir / "nosetup.exe"; },
         {},
         "setup"},
        {"name of 20 characters",
         [](DiskTool& t) {
             Write(t.Dir / "files" / "ABCDEFGHIJKLMNOP.DLL", {1, 2, 3});
             t.Describe({"files/Main.exe", "files/ABCDEFGHIJKLMNOP.DLL"});
         },
         {},
         "19 characters"},
        {"256 further files",
         [](DiskTool& t) {
             std::vector<std::string> Lines = {"files/Main.exe"};
             for (int i = 0; i < 256; i++) {
                 std::string Name = "files/F" + std::to_string(i);
                 Write(t.Dir / Name, {static_cast<uint8_t>(i)});
                 Lines.push_back(Name);
             }
             t.Describe(Lines);
         },
         {},
         "255"},
        {"product past 2^31 - 1 bytes",
         [](DiskTool& t) {
             std::ofstream(t.Dir / "files" / "Huge.dat").close();
             fs::resize_file(t.Dir / "files" / "Huge.dat", 0x7FFFFFFFull - 40000 + 1);
             t.Describe({"files/Main.exe", "files/Huge.dat"});
         },
         {},
         "2,147,483,647"},
        {"same name twice",
         [](DiskTool& t) {
             fs::create_directories(t.Dir / "other");
             Write(t.Dir / "other" / "HELP.hlp", {1});
             t.Describe({"files/Main.exe", "files/Help.HLP", "other/HELP.hlp"});
         },
         {},
         "named"},
        {"disk smaller than SETUP.EXE", nullptr, {"--capacity", "3072"}, "too small"},
        {"archive does not fit the disks", nullptr, {"--capacity", "8192", "--disks", "4"}, "fit"},
        {"no disks", nullptr, {"--disks", "0"}, "1 to 4"},
        {"five disks", nullptr, {"--disks", "5"}, "1 to 4"},
        {"bad capacity", nullptr, {"--capacity", "12k"}, "number"},
        {"stem with a dot", nullptr, {"--stem", "A.B"}, "stem"},
        {"empty description", [](DiskTool& t) { t.Describe({}); }, {}, "no files"},
    };
    for (const TCase& c : Cases) {
        SCOPED_TRACE(c.Name);
        SetUp();
        if (c.Prepare) c.Prepare(*this);
        EXPECT_EQ(Run(BuildArgs(c.Options)), 1);
        EXPECT_NE(StdErr.find(c.Message), std::string::npos) << StdErr;
        EXPECT_FALSE(fs::exists(Out)) << "output written";
    }
}

TEST_F(DiskTool, RefusedRebuildKeepsTheEarlierDisks) {
    ASSERT_EQ(Run(BuildArgs()), 0) << StdErr;
    TBytes Before = Read(Out / "disk1" / "Pictavor.001");
    EXPECT_EQ(Run(BuildArgs({"--capacity", "8192", "--disks", "4"})), 1);
    EXPECT_EQ(Read(Out / "disk1" / "Pictavor.001"), Before);
    EXPECT_EQ(Run({"verify", Description.string(), Out.string()}), 0) << StdErr;
}

TEST_F(DiskTool, FewerDisksRemoveTheStaleOnes) {
    ASSERT_EQ(Run(BuildArgs({"--capacity", "40960", "--disks", "3"})), 0) << StdErr;
    ASSERT_TRUE(fs::exists(Out / "disk3"));
    ASSERT_EQ(Run(BuildArgs({"--disks", "1"})), 0) << StdErr;
    EXPECT_FALSE(fs::exists(Out / "disk2"));
    EXPECT_FALSE(fs::exists(Out / "disk3"));
    EXPECT_EQ(Run({"verify", Description.string(), Out.string()}), 0) << StdErr;
}

TEST_F(DiskTool, ListRefusesADamagedTable) {
    TBytes Image = Pattern(100, 5);
    Image.back() = 0x80; // negative total
    Write(Dir / "bad.exe", Image);
    EXPECT_EQ(Run({"list", (Dir / "bad.exe").string()}), 1);
    EXPECT_FALSE(StdErr.empty());
    EXPECT_EQ(Run({"bogus"}), 2);
}

} // namespace
