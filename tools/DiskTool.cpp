#include "tools/DiskTool.h"

#include "package/FileTableFormat.h"
#include "package/Lzh.h"
#include "setup/ProceedFlag.h"
#include "tools/LzhEncode.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iterator>
#include <ostream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

using TBytes = std::vector<uint8_t>;

constexpr uint64_t DefaultCapacity = 1457664; // 1.44 MB floppy, data area
constexpr uint64_t DefaultCluster = 512;
constexpr int64_t MaxStream = 0x7FFFFFFF;
const char* const SetupName = "SETUP.EXE";

// A refusal with the message for the user.
struct TRefusal : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void Refuse(const std::string& Message) {
    throw TRefusal(Message);
}

TBytes ReadAll(const fs::path& Path) {
    std::ifstream f(Path, std::ios::binary);
    if (!f) Refuse("cannot open " + Path.string());
    TBytes b((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    if (f.bad()) Refuse("cannot read " + Path.string());
    return b;
}

void WriteAll(const fs::path& Path, const TBytes& a, const TBytes& b = TBytes()) {
    std::ofstream f(Path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(a.data()), static_cast<std::streamsize>(a.size()));
    f.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    f.close();
    if (!f) Refuse("cannot write " + Path.string());
}

uint64_t ParseNumber(const std::string& Text, const std::string& What) {
    if (Text.empty() || Text.size() > 12 || !std::all_of(Text.begin(), Text.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c));
        }))
        Refuse(What + " must be a number, not '" + Text + "'");
    return std::stoull(Text);
}

std::string Upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string VolumeName(const std::string& Stem, int Disk) {
    std::ostringstream s;
    s << Stem << ".00" << Disk;
    return s.str();
}

fs::path DiskFolder(const fs::path& Out, int Disk) {
    return Out / ("disk" + std::to_string(Disk));
}

// The product description: one path per line, the main program first, then the table's files
// in table order. Blank lines and lines starting with '#' are skipped; relative paths are taken
// from the description's folder.
struct TProduct {
    std::vector<fs::path> Files;
};

TProduct ReadDescription(const fs::path& Path) {
    std::ifstream f(Path);
    if (!f) Refuse("cannot open the product description " + Path.string());
    TProduct p;
    std::string Line;
    while (std::getline(f, Line)) {
        while (!Line.empty() && std::isspace(static_cast<unsigned char>(Line.back())))
            Line.pop_back();
        size_t Start = Line.find_first_not_of(" \t");
        if (Start == std::string::npos || Line[Start] == '#') continue;
        fs::path File = Line.substr(Start);
        p.Files.push_back(File.is_absolute() ? File : Path.parent_path() / File);
    }
    if (p.Files.empty()) Refuse("the product description " + Path.string() + " names no files");
    if (p.Files.size() - 1 > TableMaxEntries)
        Refuse("the product has " + std::to_string(p.Files.size() - 1) +
               " further files; the table holds at most 255");
    return p;
}

// Checks every file before anything is read in full, so that a bad product writes nothing.
TFileTable PlanTable(const TProduct& p) {
    TFileTable Table;
    int64_t Offset = 0;
    std::vector<std::string> Seen;
    for (size_t i = 0; i < p.Files.size(); i++) {
        const fs::path& File = p.Files[i];
        std::error_code Error;
        if (!fs::is_regular_file(File, Error)) Refuse("missing file: " + File.string());
        uint64_t Size = fs::file_size(File, Error);
        if (Error) Refuse("cannot read the size of " + File.string());
        if (Size > static_cast<uint64_t>(MaxStream) ||
            Offset + static_cast<int64_t>(Size) > MaxStream)
            Refuse("the product passes 2,147,483,647 bytes at " + File.string());
        if (i > 0) {
            std::string Name = File.filename().string();
            if (Name.size() > TableNameMax) Refuse("file name longer than 19 characters: " + Name);
            if (!IsPlainFileName(Name)) Refuse("not a plain file name: " + Name);
            if (std::find(Seen.begin(), Seen.end(), Upper(Name)) != Seen.end())
                Refuse("two files of the product are named " + Name);
            Seen.push_back(Upper(Name));
            Table.Entries.push_back(
                {Name, static_cast<int32_t>(Offset), static_cast<int32_t>(Size)});
        }
        Offset += static_cast<int64_t>(Size);
    }
    Table.UnpackedSize = static_cast<int32_t>(Offset);
    return Table;
}

uint64_t OnDisk(uint64_t Size, uint64_t Cluster) {
    return (Size + Cluster - 1) / Cluster * Cluster;
}

struct TBuildOptions {
    fs::path Description, Setup, Out;
    uint64_t Capacity = DefaultCapacity;
    uint64_t Cluster = DefaultCluster;
    int Disks = 2;
    std::string Stem = "Pictavor";
    TLzhParse Parse = TLzhParse::Optimal;
};

int Build(const TBuildOptions& o, std::ostream& Out) {
    if (o.Disks < 1 || o.Disks > 4) Refuse("the disk count must be 1 to 4");
    if (o.Cluster == 0 || o.Capacity < o.Cluster)
        Refuse("the disk capacity must hold at least one cluster");
    if (o.Stem.empty() || o.Stem.size() > 8 || !IsPlainFileName(o.Stem) ||
        o.Stem.find('.') != std::string::npos)
        Refuse("the volume stem must be 1 to 8 characters without a dot or folder");
    if (o.Setup.empty() || !fs::is_regular_file(o.Setup))
        Refuse("missing setup program: " + o.Setup.string());
    if (o.Out.empty()) Refuse("no output folder given (--out)");
    TProduct Product = ReadDescription(o.Description);
    TFileTable Table = PlanTable(Product);

    TBytes Setup = ReadAll(o.Setup);
    TBytes TableBytes = BuildFileTable(Table);
    uint64_t SetupOnDisk = OnDisk(Setup.size() + TableBytes.size(), o.Cluster);
    if (SetupOnDisk >= o.Capacity)
        Refuse("disk too small: " + std::string(SetupName) + " with its table takes " +
               std::to_string(Setup.size() + TableBytes.size()) + " bytes of " +
               std::to_string(o.Capacity));

    TBytes Stream;
    Stream.reserve(static_cast<size_t>(Table.UnpackedSize));
    for (const fs::path& File : Product.Files) {
        TBytes b = ReadAll(File);
        Stream.insert(Stream.end(), b.begin(), b.end());
    }
    if (Stream.size() != static_cast<size_t>(Table.UnpackedSize))
        Refuse("a product file changed while it was read");

    auto Start = std::chrono::steady_clock::now();
    TLzhEncodeOptions Options;
    Options.Parse = o.Parse;
    TBytes Archive = LzhEncode(Stream.data(), Stream.size(), Options);
    double Seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
    Out << "unpacked " << Stream.size() << " bytes, archive " << Archive.size() << " bytes, ratio "
        << std::fixed << std::setprecision(3)
        << (Stream.empty() ? 0.0 : double(Archive.size()) / double(Stream.size())) << ", "
        << std::setprecision(2) << Seconds << " s ("
        << (Seconds > 0 ? double(Stream.size()) / 1e6 / Seconds : 0.0) << " MB/s)\n";

    // Fill the disks in order; a volume takes whole clusters of what its disk has left.
    std::vector<uint64_t> Volumes;
    uint64_t Left = Archive.size();
    for (int d = 1; d <= o.Disks; d++) {
        uint64_t Room = o.Capacity - (d == 1 ? SetupOnDisk : 0);
        uint64_t Take = std::min(Left, Room / o.Cluster * o.Cluster);
        Volumes.push_back(Take);
        Left -= Take;
    }
    if (Left > 0)
        Refuse("the archive of " + std::to_string(Archive.size()) + " bytes does not fit on " +
               std::to_string(o.Disks) + " disk(s) of " + std::to_string(o.Capacity) +
               " bytes with " + SetupName + "; " + std::to_string(Left) + " bytes are left over");

    // Everything goes to a staging folder first; the disks replace the old ones only once all
    // of them are written.
    std::error_code Error;
    fs::create_directories(o.Out, Error);
    if (Error) Refuse("cannot create the output folder " + o.Out.string());
    fs::path Staging = o.Out / ".pictdisk-staging";
    fs::remove_all(Staging, Error);
    try {
        uint64_t At = 0;
        for (int d = 1; d <= o.Disks; d++) {
            fs::path Folder = DiskFolder(Staging, d);
            fs::create_directories(Folder, Error);
            if (Error) Refuse("cannot create " + Folder.string());
            if (d == 1) WriteAll(Folder / SetupName, Setup, TableBytes);
            auto Begin = Archive.begin() + static_cast<std::ptrdiff_t>(At);
            WriteAll(Folder / VolumeName(o.Stem, d),
                     TBytes(Begin, Begin + static_cast<std::ptrdiff_t>(Volumes[d - 1])));
            At += Volumes[d - 1];
        }
        for (int d = 1; d <= 4; d++) {
            fs::remove_all(DiskFolder(o.Out, d), Error);
            if (d <= o.Disks) fs::rename(DiskFolder(Staging, d), DiskFolder(o.Out, d));
        }
        fs::remove_all(Staging, Error);
    } catch (...) {
        fs::remove_all(Staging, Error);
        throw;
    }
    for (int d = 1; d <= o.Disks; d++) {
        uint64_t Used = OnDisk(Volumes[d - 1], o.Cluster) + (d == 1 ? SetupOnDisk : 0);
        Out << "disk" << d << ": " << VolumeName(o.Stem, d) << " " << Volumes[d - 1] << " bytes"
            << (d == 1 ? ", " + std::string(SetupName) + " " +
                             std::to_string(Setup.size() + TableBytes.size()) + " bytes"
                       : std::string())
            << ", " << Used << " of " << o.Capacity << " bytes used\n";
    }
    return 0;
}

TBytes Decode(const TBytes& Archive, int32_t Count) {
    try {
        return LzhDecodeBytes(Archive, Count);
    } catch (const ElzhException& e) {
        Refuse(e.what());
    }
}

TFileTable ReadTable(const fs::path& SetupPath) {
    TBytes Image = ReadAll(SetupPath);
    size_t Tail = FileTableTailSize(Image.size());
    TFileTable Table;
    std::string Why;
    if (!ParseFileTable(Image.data() + Image.size() - Tail, Tail, Image.size(), Table, Why))
        Refuse(SetupPath.string() + ": " + Why);
    return Table;
}

int Verify(const fs::path& Description, std::vector<fs::path> Disks, const std::string& Stem,
           std::ostream& Out, std::ostream& Err) {
    TProduct Product = ReadDescription(Description);
    // One output folder stands for its disk folders.
    if (Disks.size() == 1 && fs::is_directory(DiskFolder(Disks[0], 1))) {
        fs::path Top = Disks[0];
        Disks.clear();
        for (int d = 1; d <= 4 && fs::exists(DiskFolder(Top, d) / VolumeName(Stem, d)); d++)
            Disks.push_back(DiskFolder(Top, d));
    }
    if (Disks.empty() || Disks.size() > 4)
        Refuse("give the output folder or the folders of disks 1 to 4");
    TFileTable Table = ReadTable(Disks[0] / SetupName);
    TBytes Archive;
    for (size_t d = 0; d < Disks.size(); d++) {
        TBytes v = ReadAll(Disks[d] / VolumeName(Stem, static_cast<int>(d + 1)));
        Archive.insert(Archive.end(), v.begin(), v.end());
    }
    TBytes Stream = Decode(Archive, Table.UnpackedSize);
    Stream.resize(static_cast<size_t>(Table.UnpackedSize));

    if (Table.Entries.size() + 1 != Product.Files.size()) {
        Err << "verify: the table has " << Table.Entries.size() << " files, the product "
            << Product.Files.size() - 1 << " further files\n";
        return 1;
    }
    // Compares one product file with the stream's bytes from Offset on.
    auto Compare = [&](const fs::path& File, const std::string& Name, int64_t Offset,
                       int64_t Size) {
        TBytes Want = ReadAll(File);
        int64_t Common = std::min<int64_t>(Size, static_cast<int64_t>(Want.size()));
        for (int64_t i = 0; i < Common; i++)
            if (Stream[static_cast<size_t>(Offset + i)] != Want[static_cast<size_t>(i)]) {
                Err << "verify: " << Name << " differs at byte " << i << "\n";
                return false;
            }
        if (Size != static_cast<int64_t>(Want.size())) {
            Err << "verify: " << Name << " has " << Size << " bytes on the disks, " << Want.size()
                << " in the product\n";
            return false;
        }
        return true;
    };
    int64_t MainSize = Table.Entries.empty() ? Table.UnpackedSize : Table.Entries[0].Offset;
    if (!Compare(Product.Files[0], Product.Files[0].filename().string(), 0, MainSize)) return 1;
    for (size_t i = 0; i < Table.Entries.size(); i++) {
        const TTableEntry& e = Table.Entries[i];
        const fs::path& File = Product.Files[i + 1];
        if (e.Name != File.filename().string()) {
            Err << "verify: table entry " << i + 1 << " is " << e.Name << ", the product has "
                << File.filename().string() << "\n";
            return 1;
        }
        if (!Compare(File, e.Name, e.Offset, e.Size)) return 1;
    }
    Out << "verify: " << Product.Files.size() << " files, " << Table.UnpackedSize
        << " bytes, all equal\n";
    return 0;
}

int List(const fs::path& SetupPath, std::ostream& Out) {
    TFileTable Table = ReadTable(SetupPath);
    for (const TTableEntry& e : Table.Entries)
        Out << std::left << std::setw(20) << e.Name << std::right << std::setw(11) << e.Offset
            << std::setw(11) << e.Size << "\n";
    Out << Table.Entries.size() << " files, total " << Table.UnpackedSize << " bytes\n";
    return 0;
}

int DecodeFile(const fs::path& StreamPath, const std::string& CountText, const fs::path& OutPath) {
    uint64_t Count = ParseNumber(CountText, "the byte count");
    if (Count > static_cast<uint64_t>(MaxStream)) Refuse("the byte count passes 2,147,483,647");
    TBytes Bytes = Decode(ReadAll(StreamPath), static_cast<int32_t>(Count));
    // A last match may pass the count; only the bytes asked for are kept.
    Bytes.resize(static_cast<size_t>(Count));
    WriteAll(OutPath, Bytes);
    return 0;
}

const char* const Usage =
    "usage:\n"
    "  pictdisk build DESCRIPTION --setup SETUP.EXE --out FOLDER [--disks N] [--capacity BYTES]\n"
    "                 [--cluster BYTES] [--stem NAME] [--greedy | --lazy]\n"
    "      encodes the product, appends its file table to a copy of SETUP.EXE and lays out\n"
    "      FOLDER/disk1 (SETUP.EXE, NAME.001), FOLDER/disk2 (NAME.002), ...\n"
    "      defaults: 2 disks of 1457664 bytes in 512-byte clusters, stem Pictavor\n"
    "  pictdisk verify DESCRIPTION FOLDER | DISK1 [DISK2 ...] [--stem NAME]\n"
    "  pictdisk list SETUP.EXE\n"
    "  pictdisk decode STREAM COUNT OUTPUT\n"
    "DESCRIPTION: one path per line, the main program first, then the further files in table\n"
    "order; '#' starts a comment line; relative paths are taken from the description's folder.\n";

} // namespace

int RunDiskTool(const std::vector<std::string>& Args, std::ostream& Out, std::ostream& Err) {
    if (Args.empty()) {
        Err << Usage;
        return 2;
    }
    try {
        const std::string& Command = Args[0];
        std::vector<std::string> Plain;
        TBuildOptions o;
        for (size_t i = 1; i < Args.size(); i++) {
            const std::string& a = Args[i];
            bool HasValue = i + 1 < Args.size();
            if (a == "--greedy")
                o.Parse = TLzhParse::Greedy;
            else if (a == "--lazy")
                o.Parse = TLzhParse::Lazy;
            else if (a == "--setup" && HasValue)
                o.Setup = Args[++i];
            else if (a == "--out" && HasValue)
                o.Out = Args[++i];
            else if (a == "--stem" && HasValue)
                o.Stem = Args[++i];
            else if (a == "--disks" && HasValue)
                o.Disks =
                    static_cast<int>(std::min<uint64_t>(99, ParseNumber(Args[++i], "--disks")));
            else if (a == "--capacity" && HasValue)
                o.Capacity = ParseNumber(Args[++i], "--capacity");
            else if (a == "--cluster" && HasValue)
                o.Cluster = ParseNumber(Args[++i], "--cluster");
            else if (a.rfind("--", 0) == 0)
                Refuse("unknown option or missing value: " + a);
            else
                Plain.push_back(a);
        }
        if (Command == "build" && Plain.size() == 1) {
            o.Description = Plain[0];
            return Build(o, Out);
        }
        if (Command == "verify" && Plain.size() >= 2)
            return Verify(Plain[0], std::vector<fs::path>(Plain.begin() + 1, Plain.end()), o.Stem,
                          Out, Err);
        if (Command == "list" && Plain.size() == 1) return List(Plain[0], Out);
        if (Command == "decode" && Plain.size() == 3)
            return DecodeFile(Plain[0], Plain[1], Plain[2]);
        Err << Usage;
        return 2;
    } catch (const TRefusal& e) {
        Err << "pictdisk: " << e.what() << "\n";
        return 1;
    } catch (const std::exception& e) {
        Err << "pictdisk: " << e.what() << "\n";
        return 1;
    }
}
