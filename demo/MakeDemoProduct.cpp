// Writes the demo product: a main program and 15 further files shaped like a real product's
// executables, libraries and resources, plus the product description for pictdisk. The output
// depends on nothing but the options, so every build makes the same bytes.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "demo/ProductFiles.h"

namespace {

using TBytes = std::vector<uint8_t>;

class TRandom {
  public:
    explicit TRandom(uint64_t Seed) : State(Seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint32_t Next() {
        uint64_t z = (State += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return static_cast<uint32_t>(z ^ (z >> 31));
    }
    uint32_t Below(uint32_t n) { return n ? Next() % n : 0; }
    bool Chance(int Percent) { return Below(100) < static_cast<uint32_t>(Percent); }

  private:
    uint64_t State;
};

void Put8(TBytes& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
}
void Put16(TBytes& b, uint32_t v) {
    Put8(b, v);
    Put8(b, v >> 8);
}
void Put32(TBytes& b, uint32_t v) {
    Put16(b, v);
    Put16(b, v >> 16);
}
void PutText(TBytes& b, const std::string& s) {
    b.insert(b.end(), s.begin(), s.end());
}
void PutWide(TBytes& b, const std::string& s) {
    for (char c : s)
        Put16(b, static_cast<uint8_t>(c));
}
void Align(TBytes& b, size_t To, uint8_t Fill = 0) {
    while (b.size() % To)
        b.push_back(Fill);
}

const char* const Words[] = {
    "picture", "image",   "colour",  "palette", "brush",  "layer",  "select", "region",  "file",
    "open",    "save",    "print",   "page",    "scale",  "rotate", "filter", "sharpen", "blur",
    "the",     "a",       "of",      "to",      "and",    "is",     "cannot", "be",      "not",
    "error",   "memory",  "disk",    "format",  "window", "view",   "zoom",   "tool",    "options",
    "default", "preview", "scanner", "device",  "driver", "font",   "text",   "frame",   "mask",
    "clip",    "gallery", "import",  "export",  "width",  "height", "pixels", "inch",    "mode",
};
const char* const ApiNames[] = {
    "CreateWindowExA", "DefWindowProcA", "GetMessageA",    "DispatchMessageA",  "BeginPaint",
    "EndPaint",        "SelectObject",   "DeleteObject",   "CreateFileA",       "ReadFile",
    "WriteFile",       "CloseHandle",    "GlobalAlloc",    "GlobalFree",        "GlobalLock",
    "GlobalUnlock",    "BitBlt",         "StretchDIBits",  "CreateDIBSection",  "GetDC",
    "ReleaseDC",       "LoadCursorA",    "LoadIconA",      "SetCursor",         "MessageBoxA",
    "GetProcAddress",  "LoadLibraryA",   "FreeLibrary",    "lstrcpyA",          "lstrlenA",
    "SendMessageA",    "PostMessageA",   "SetWindowTextA", "GetDlgItem",        "EndDialog",
    "DialogBoxParamA", "CreatePalette",  "RealizePalette", "SetStretchBltMode", "TextOutA",
};

std::string Sentence(TRandom& R, int MaxWords) {
    std::string s;
    int n = 2 + static_cast<int>(R.Below(MaxWords));
    for (int i = 0; i < n; i++) {
        if (i) s += ' ';
        s += Words[R.Below(std::size(Words))];
    }
    s[0] = static_cast<char>(s[0] - 'a' + 'A');
    return s + ".";
}

// Machine code: functions of common instruction shapes with varying operands.
void PutCode(TBytes& b, size_t Size, TRandom& R, int Noise) {
    size_t End = b.size() + Size;
    std::vector<uint32_t> Functions;
    for (int i = 0; i < 300; i++)
        Functions.push_back(0x1000 + R.Below(static_cast<uint32_t>(Size)));
    uint32_t Constants[24];
    for (uint32_t& c : Constants)
        c = R.Chance(50) ? R.Below(256) : R.Next();
    auto Disp = [&] { return 0x100 - 4 * (1 + R.Below(R.Chance(70) ? 6 : 24)); };
    auto Reg = [&] { return R.Below(8); };
    while (b.size() < End) {
        // Prologue
        PutText(b, "\x55\x8B\xEC");
        if (R.Chance(60)) Put8(b, 0x83), Put8(b, 0xEC), Put8(b, 4 * (1 + R.Below(16)));
        PutText(b, "\x53\x56\x57");
        int Body = 6 + static_cast<int>(R.Below(40));
        for (int i = 0; i < Body && b.size() < End; i++) {
            switch (R.Below(14)) {
            case 0: Put8(b, 0x8B), Put8(b, 0x45 + 8 * R.Below(4)), Put8(b, Disp()); break;
            case 1: Put8(b, 0x89), Put8(b, 0x45 + 8 * R.Below(4)), Put8(b, Disp()); break;
            case 2:
                Put8(b, 0xE8);
                Put32(b, Functions[R.Below(300)] - static_cast<uint32_t>(b.size()));
                break;
            case 3: Put8(b, 0x68), Put32(b, Constants[R.Below(24)]); break;
            case 4: Put8(b, 0x6A), Put8(b, R.Below(R.Chance(50) ? 4 : 64)); break;
            case 5: Put8(b, 0x85), Put8(b, 0xC0 + 9 * Reg()); break;
            case 6: Put8(b, 0x74 + R.Below(2)), Put8(b, R.Below(Noise > 50 ? 128 : 40)); break;
            case 7: Put8(b, 0x83), Put8(b, 0xC4), Put8(b, 4 * (1 + R.Below(6))); break;
            case 8: Put8(b, 0x33), Put8(b, 0xC0 + 9 * Reg()); break;
            case 9: Put8(b, 0xFF), Put8(b, 0x15), Put32(b, 0x00402000 + 4 * R.Below(40)); break;
            case 10: Put8(b, 0x50 + Reg()); break;
            case 11:
                Put8(b, 0xC7), Put8(b, 0x45), Put8(b, Disp());
                Put32(b, R.Chance(Noise) ? R.Next() : Constants[R.Below(24)]);
                break;
            case 12: Put8(b, 0x8D), Put8(b, 0x4D + 8 * R.Below(2)), Put8(b, Disp()); break;
            default:
                Put8(b, 0x0F), Put8(b, 0x84 + R.Below(2)), Put32(b, R.Below(Noise * 40 + 64));
                break;
            }
            // Hand-tuned inner loops and tables look close to random.
            if (R.Chance(Noise / 2))
                for (uint32_t k = 0, n = 4 + R.Below(12); k < n; k++)
                    Put8(b, R.Next());
        }
        PutText(b, "\x5F\x5E\x5B\x8B\xE5\x5D");
        if (R.Chance(50))
            Put8(b, 0xC3);
        else
            Put8(b, 0xC2), Put16(b, 4 * (1 + R.Below(4)));
        Align(b, 16, 0xCC);
    }
    b.resize(End);
}

void PutStrings(TBytes& b, size_t Size, TRandom& R) {
    size_t End = b.size() + Size;
    while (b.size() < End) {
        if (R.Chance(30)) {
            PutText(b, ApiNames[R.Below(std::size(ApiNames))]);
            Put8(b, 0);
        } else {
            PutText(b, Sentence(R, 9));
            Put8(b, 0);
        }
        Align(b, 4);
    }
    b.resize(End);
}

void PutTables(TBytes& b, size_t Size, TRandom& R, int Noise) {
    size_t End = b.size() + Size;
    uint32_t Address = 0x00401000;
    while (b.size() < End) {
        switch (R.Below(4)) {
        case 0: // pointer tables
            for (int i = 0, n = 4 + R.Below(30); i < n; i++)
                Put32(b, Address += 4 * R.Below(64));
            break;
        case 1: // zero-initialised data
            b.insert(b.end(), 16 * (1 + R.Below(40)), 0);
            break;
        case 2: // lookup tables: smooth curves
            for (int i = 0, n = 64 + R.Below(192), Step = 1 + R.Below(3); i < n; i++)
                Put8(b, i * Step + R.Below(1 + Noise / 10));
            break;
        default: // packed constants
            for (int i = 0, n = 8 + R.Below(Noise); i < n; i++)
                Put8(b, R.Next());
            break;
        }
    }
    b.resize(End);
}

// A 32x32 16-colour picture with its mask, as icon and cursor resources store them.
void PutIconImage(TBytes& b, TRandom& R, bool Colour) {
    Put32(b, 40), Put32(b, 32), Put32(b, 64), Put16(b, 1), Put16(b, Colour ? 4 : 1);
    Put32(b, 0), Put32(b, Colour ? 512 : 128), Put32(b, 0), Put32(b, 0), Put32(b, 0), Put32(b, 0);
    static const uint32_t Vga[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                     0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                     0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    for (int i = 0; i < (Colour ? 16 : 2); i++)
        Put32(b, Colour ? Vga[i] : (i ? 0xFFFFFF : 0));
    int cx = 8 + R.Below(16), cy = 8 + R.Below(16), rr = 4 + R.Below(10);
    int Fill = R.Below(16), Edge = R.Below(16), Shade = R.Below(16);
    uint8_t Mask[32][4] = {};
    for (int y = 0; y < 32; y++) {
        uint8_t Row[16] = {};
        for (int x = 0; x < 32; x++) {
            int d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
            int c = 0;
            bool Inside = d <= rr * rr;
            if (Inside) c = d >= (rr - 1) * (rr - 1) ? Edge : ((x + y) % 5 == 0 ? Shade : Fill);
            if (Inside && R.Chance(12)) c = R.Below(16);
            if (!Inside) Mask[y][x / 8] |= 0x80 >> (x % 8);
            if (Colour)
                Row[x / 2] |= static_cast<uint8_t>(c << (x % 2 ? 0 : 4));
            else if (c)
                Row[x / 8] |= 0x80 >> (x % 8);
        }
        b.insert(b.end(), Row, Row + (Colour ? 16 : 4));
    }
    for (auto& m : Mask)
        b.insert(b.end(), m, m + 4);
}

// The product's programs and libraries: DOS stub, headers, code, data, resources, relocations.
TBytes MakeProgram(size_t Size, uint64_t Seed, int Noise, bool Library) {
    TRandom R(Seed);
    TBytes b;
    Put16(b, 0x5A4D), Put16(b, 0x90), Put16(b, 3), Put16(b, 0), Put16(b, 4), Put16(b, 0);
    Put16(b, 0xFFFF), Put16(b, 0), Put16(b, 0xB8);
    b.resize(0x3C, 0);
    Put32(b, 0x80);
    PutText(b, "\x0E\x1F\xBA\x0E\x00\xB4\x09\xCD\x21\xB8\x01\x4C\xCD\x21");
    PutText(b, "This program cannot be run in DOS mode.\r\r\n$");
    b.resize(0x80, 0);
    PutText(b, std::string("PE\0\0", 4));
    Put16(b, 0x14C), Put16(b, 5), Put32(b, 0x2F000000 + R.Below(0x1000000)), Put32(b, 0);
    Put32(b, 0), Put16(b, 0xE0), Put16(b, Library ? 0x210E : 0x010F);
    const char* Sections[] = {".text", ".rdata", ".data", ".rsrc", ".reloc"};
    const double Share[] = {0.55, 0.14, 0.10, 0.14, 0.07};
    Put16(b, 0x10B);
    b.resize(0x178, 0);
    size_t Body = Size - 0x400;
    size_t Sizes[5];
    size_t Used = 0;
    for (int i = 0; i < 5; i++) {
        Sizes[i] = i < 4 ? (static_cast<size_t>(Body * Share[i]) & ~size_t(511)) : Body - Used;
        Used += Sizes[i];
        std::string Name = Sections[i];
        Name.resize(8, '\0');
        PutText(b, Name);
        Put32(b, static_cast<uint32_t>(Sizes[i])), Put32(b, static_cast<uint32_t>(0x1000 + Used));
        Put32(b, static_cast<uint32_t>(Sizes[i])), Put32(b, static_cast<uint32_t>(0x400 + Used));
        Put32(b, 0), Put32(b, 0), Put32(b, 0);
        Put32(b, i == 0 ? 0x60000020 : 0x40000040);
    }
    b.resize(0x400, 0);
    PutCode(b, Sizes[0], R, Noise);
    size_t Strings = Sizes[1] / 2;
    PutStrings(b, Strings, R);
    PutTables(b, Sizes[1] - Strings, R, Noise);
    PutTables(b, Sizes[2], R, Noise / 2);
    // Resources: dialog texts, icons, a version block.
    size_t End = b.size() + Sizes[3];
    while (b.size() < End) {
        if (R.Chance(40))
            PutIconImage(b, R, true);
        else {
            PutWide(b, Sentence(R, 6));
            Put16(b, 0);
            Put32(b, 0x50010000 + R.Below(16)), Put16(b, R.Below(300)), Put16(b, R.Below(200));
        }
    }
    b.resize(End);
    // Relocations: page blocks of ascending offsets.
    End = b.size() + Sizes[4];
    for (uint32_t Page = 0x1000; b.size() < End; Page += 0x1000) {
        uint32_t n = 40 + R.Below(80);
        Put32(b, Page), Put32(b, 8 + 2 * n);
        uint32_t Offset = 0;
        for (uint32_t i = 0; i < n; i++)
            Put16(b, 0x3000 | (Offset = std::min<uint32_t>(0xFFF, Offset + 1 + R.Below(60))));
    }
    b.resize(End);
    return b;
}

// Help file: a directory of keyword pages, then topic text that the help compiler has packed.
TBytes MakeHelp(size_t Size, uint64_t Seed) {
    TRandom R(Seed);
    TBytes b;
    Put32(b, 0x00035F3F), Put32(b, 16), Put32(b, 0xFFFFFFFF), Put32(b, static_cast<uint32_t>(Size));
    size_t Index = Size / 5;
    while (b.size() < Index) {
        PutText(b, Words[R.Below(std::size(Words))]);
        Put8(b, 0);
        Put32(b, R.Below(static_cast<uint32_t>(Size)));
    }
    while (b.size() < Size) {
        // Packed topic blocks: a flag byte per eight items, literals or short back-references.
        Put32(b, 0x1000), Put32(b, R.Below(0x10000)), Put32(b, R.Below(0x10000));
        for (int i = 0; i < 512 && b.size() < Size; i++) {
            Put8(b, R.Next());
            for (int k = 0; k < 8; k++) {
                if (R.Chance(25))
                    Put16(b, R.Next() & 0xF3FF);
                else
                    Put8(b, R.Chance(25) ? "etaoinshrdlucm .,"[R.Below(17)] : R.Next());
            }
        }
    }
    b.resize(Size);
    return b;
}

TBytes MakeIconLibrary(size_t Size, uint64_t Seed, bool Colour) {
    TRandom R(Seed);
    TBytes b;
    PutText(b, "MZ");
    b.resize(64, 0);
    PutText(b, "NE");
    b.resize(512, 0);
    while (b.size() < Size) {
        Put16(b, 0), Put16(b, Colour ? 1 : 2), Put16(b, 1);
        Put8(b, 32), Put8(b, 32), Put8(b, Colour ? 16 : 2), Put8(b, 0);
        Put16(b, Colour ? 1 : R.Below(32)), Put16(b, Colour ? 4 : R.Below(32));
        Put32(b, Colour ? 744 : 304), Put32(b, 22);
        PutIconImage(b, R, Colour);
    }
    b.resize(Size);
    return b;
}

TBytes MakeAnimatedCursor(size_t Size, uint64_t Seed) {
    TRandom R(Seed);
    TBytes Frames;
    int Count = 0;
    while (Frames.size() + 800 < Size) {
        PutText(Frames, "icon"), Put32(Frames, 766);
        Put16(Frames, 0), Put16(Frames, 2), Put16(Frames, 1);
        Put8(Frames, 32), Put8(Frames, 32), Put8(Frames, 16), Put8(Frames, 0);
        Put16(Frames, 15), Put16(Frames, 15), Put32(Frames, 744), Put32(Frames, 22);
        PutIconImage(Frames, R, true);
        Count++;
    }
    TBytes b;
    PutText(b, "RIFF"), Put32(b, static_cast<uint32_t>(Size - 8)), PutText(b, "ACON");
    PutText(b, "anih"), Put32(b, 36), Put32(b, 36), Put32(b, Count), Put32(b, Count);
    for (int i = 0; i < 4; i++)
        Put32(b, 0);
    Put32(b, 6), Put32(b, 1);
    PutText(b, "LIST"), Put32(b, static_cast<uint32_t>(Frames.size() + 4)), PutText(b, "fram");
    b.insert(b.end(), Frames.begin(), Frames.end());
    b.resize(Size, 0);
    return b;
}

// Clip-art library and desktop template: named records of outline coordinates.
TBytes MakeShapes(size_t Size, uint64_t Seed, const char* Magic) {
    TRandom R(Seed);
    TBytes b;
    PutText(b, Magic);
    while (b.size() < Size) {
        std::string Name = Sentence(R, 3);
        Put8(b, static_cast<uint32_t>(Name.size()));
        PutText(b, Name);
        uint32_t n = 8 + R.Below(60);
        Put16(b, n), Put32(b, R.Below(16) * 0x111111);
        int x = R.Below(1000), y = R.Below(1000);
        for (uint32_t i = 0; i < n; i++) {
            x += static_cast<int>(R.Below(161)) - 80, y += static_cast<int>(R.Below(161)) - 80;
            Put16(b, static_cast<uint32_t>(x)), Put16(b, static_cast<uint32_t>(y));
        }
    }
    b.resize(Size);
    return b;
}

constexpr size_t StandinSetupSize = 250368;

TBytes Program(size_t Size, uint64_t Seed) {
    return MakeProgram(Size, Seed, 90, false);
}
TBytes Library(size_t Size, uint64_t Seed) {
    return MakeProgram(Size, Seed, 90, true);
}
TBytes Help(size_t Size, uint64_t Seed) {
    return MakeHelp(Size, Seed);
}
TBytes Icons(size_t Size, uint64_t Seed) {
    return MakeIconLibrary(Size, Seed, true);
}
TBytes Cursors(size_t Size, uint64_t Seed) {
    return MakeIconLibrary(Size, Seed, false);
}
TBytes Animated(size_t Size, uint64_t Seed) {
    return MakeAnimatedCursor(Size, Seed);
}
TBytes Clipart(size_t Size, uint64_t Seed) {
    return MakeShapes(Size, Seed, "PVLIB1\x1A");
}
TBytes Template(size_t Size, uint64_t Seed) {
    return MakeShapes(Size, Seed, "PVDTP1\x1A");
}

// How each further file is made, by its position in the table.
TBytes (*const MakeFurther[])(size_t Size, uint64_t Seed) = {
    Program, Program, Program,  Library,  Library,  Library,  Library, Help,
    Icons,   Cursors, Animated, Animated, Animated, Template, Clipart,
};
static_assert(std::size(MakeFurther) == std::size(DemoFurtherFiles));

// A real program takes the place of a generated one; a shorter one is padded to the slot's
// size with the generated program's own tail (an overlay after the image, which Windows
// ignores), so the product keeps its shape and compresses as the generated one would.
void PadTo(TBytes& Bytes, const TBytes& Generated) {
    if (Bytes.size() < Generated.size())
        Bytes.insert(Bytes.end(), Generated.begin() + static_cast<std::ptrdiff_t>(Bytes.size()),
                     Generated.end());
}

bool WriteFile(const std::string& Path, const TBytes& Bytes) {
    std::ofstream f(Path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(Bytes.data()),
            static_cast<std::streamsize>(Bytes.size()));
    return static_cast<bool>(f);
}

bool ReadFile(const std::string& Path, TBytes& Bytes) {
    std::ifstream f(Path, std::ios::binary);
    if (!f) return false;
    Bytes.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    return !f.bad();
}

int Usage() {
    std::cerr << "usage: pictavorn_demo --out DIR [--main PROGRAM] [--uninstaller PROGRAM]\n"
                 "Writes the demo product into DIR/product, its description DIR/product.txt and a\n"
                 "stand-in setup program DIR/setup-standin.exe.\n"
                 "--main and --uninstaller put real programs in place of the generated ones; a\n"
                 "shorter program is padded to its slot, so the product keeps its shape.\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string Out, MainPath, UninstallerPath;
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        if (i + 1 < argc && a == "--out")
            Out = argv[++i];
        else if (i + 1 < argc && a == "--main")
            MainPath = argv[++i];
        else if (i + 1 < argc && a == "--uninstaller")
            UninstallerPath = argv[++i];
        else
            return Usage();
    }
    if (Out.empty()) return Usage();
    std::string Folder = Out + "/product";
    std::error_code Error;
    std::filesystem::create_directories(Folder, Error);
    if (Error) {
        std::cerr << "pictavorn_demo: cannot create " << Folder << "\n";
        return 1;
    }

    TBytes Main;
    if (!MainPath.empty() && !ReadFile(MainPath, Main)) {
        std::cerr << "pictavorn_demo: cannot read " << MainPath << "\n";
        return 1;
    }
    PadTo(Main, MakeProgram(DemoMainSize, 1, 90, false));
    std::string Description =
        "# Pictavorn demo product: the main program, then the table's files\n";
    Description += "product/Pictavorn.Exe\n";
    if (!WriteFile(Folder + "/Pictavorn.Exe", Main))
        return std::cerr << "pictavorn_demo: cannot write into " << Folder << "\n", 1;

    size_t Left = DemoProductSize - Main.size();
    uint64_t Seed = 100;
    for (size_t Index = 0; Index < std::size(DemoFurtherFiles); Index++) {
        const TProductFile& f = DemoFurtherFiles[Index];
        size_t Size = f.Size ? f.Size : Left;
        TBytes Bytes;
        if (!UninstallerPath.empty() && std::strcmp(f.Name, "Uninstal.exe") == 0) {
            if (!ReadFile(UninstallerPath, Bytes)) {
                std::cerr << "pictavorn_demo: cannot read " << UninstallerPath << "\n";
                return 1;
            }
            PadTo(Bytes, MakeFurther[Index](Size, Seed));
        } else {
            Bytes = MakeFurther[Index](Size, Seed);
        }
        Left -= std::min(Left, Bytes.size());
        Seed++;
        if (!WriteFile(Folder + "/" + f.Name, Bytes))
            return std::cerr << "pictavorn_demo: cannot write into " << Folder << "\n", 1;
        Description += "product/" + std::string(f.Name) + "\n";
    }
    // Until the cross build's setup program is at hand, disks are laid out with a stand-in of
    // about its size.
    if (!WriteFile(Out + "/setup-standin.exe", MakeProgram(StandinSetupSize, 7, 90, false)))
        return std::cerr << "pictavorn_demo: cannot write the setup stand-in\n", 1;
    TBytes Text(Description.begin(), Description.end());
    // Written last: its presence marks a complete product.
    if (!WriteFile(Out + "/product.txt", Text))
        return std::cerr << "pictavorn_demo: cannot write the description\n", 1;
    return 0;
}
