// Decoder speed with the unpacking step's block procedures (2,048-byte buffers, one call per
// byte), beside gzip -d of the same stream, and the encoder's sizes and speed per parse.
#include "package/Lzh.h"
#include "setup/ProceedFlag.h"
#include "tools/LzhEncode.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using TBytes = std::vector<uint8_t>;

namespace {

constexpr int BlockSize = 2048;

struct TBlocks {
    const TBytes* Archive;
    size_t ArchiveAt;
    uint8_t InBuffer[BlockSize + 16];
    int InPos, InCount;
    uint8_t OutBuffer[BlockSize + 16];
    int OutPos;
    uint8_t* Sink;
    size_t SinkAt;
} Io;

void ReadArchiveBlock(void* Buffer, uint16_t Count, uint16_t& Actual) {
    if (!ProceedFlag) {
        Actual = 0;
        return;
    }
    if (Io.InPos > Io.InCount) {
        size_t n = std::min<size_t>(BlockSize, Io.Archive->size() - Io.ArchiveAt);
        std::memcpy(Io.InBuffer + 1, Io.Archive->data() + Io.ArchiveAt, n);
        Io.ArchiveAt += n;
        Io.InCount = static_cast<int>(n);
        if (n == 0) {
            Actual = 0;
            return;
        }
        Io.InPos = 1;
    }
    for (int i = 0; i < Count; i++)
        static_cast<uint8_t*>(Buffer)[i] = Io.InBuffer[Io.InPos + i];
    Io.InPos += Count;
    Actual = Count;
}

void Flush() {
    std::memcpy(Io.Sink + Io.SinkAt, Io.OutBuffer + 1, Io.OutPos - 1);
    Io.SinkAt += Io.OutPos - 1;
    Io.OutPos = 1;
}

void WriteOutputBlock(void* Buffer, uint16_t Count, uint16_t& Actual) {
    if (!ProceedFlag) {
        Actual = 0;
        return;
    }
    if (Count == 0) {
        Flush();
        return;
    }
    if (Io.OutPos > BlockSize || Io.OutPos + Count > BlockSize + 1) Flush();
    for (int i = 0; i < Count; i++)
        Io.OutBuffer[Io.OutPos + i] = static_cast<const uint8_t*>(Buffer)[i];
    Io.OutPos += Count;
    Actual = Count;
}

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

TBytes ReadFile(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return TBytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: lzh_bench DEMO_DIR (holding product.txt)\n";
        return 2;
    }
    fs::path Dir = argv[1];
    std::ifstream Description(Dir / "product.txt");
    TBytes Stream;
    std::string Line;
    while (std::getline(Description, Line))
        if (!Line.empty() && Line[0] != '#') {
            TBytes b = ReadFile(Dir / Line);
            Stream.insert(Stream.end(), b.begin(), b.end());
        }
    if (Stream.empty()) {
        std::cerr << "lzh_bench: no product in " << Dir << "\n";
        return 1;
    }
    double Mb = Stream.size() / 1e6;
    std::printf("unpacked stream: %zu bytes\n", Stream.size());

    TBytes Archive;
    for (TLzhParse Parse : {TLzhParse::Greedy, TLzhParse::Lazy, TLzhParse::Optimal}) {
        TLzhEncodeOptions Options;
        Options.Parse = Parse;
        double t = Now();
        TBytes a = LzhEncode(Stream.data(), Stream.size(), Options);
        t = Now() - t;
        const char* Name = Parse == TLzhParse::Greedy ? "greedy"
                           : Parse == TLzhParse::Lazy ? "lazy"
                                                      : "optimal";
        std::printf("encode %-8s %9zu bytes, ratio %.4f, %.2f s, %.1f MB/s\n", Name, a.size(),
                    double(a.size()) / Stream.size(), t, Mb / t);
        if (Parse == TLzhParse::Optimal) Archive = a;
    }

    TBytes Out(Stream.size() + MaxMatch);
    double Best = 1e9;
    for (int Run = 0; Run < 5; Run++) {
        Io = TBlocks();
        Io.Archive = &Archive;
        Io.InPos = 1;
        Io.OutPos = 1;
        Io.Sink = Out.data();
        ProceedFlag = 1;
        double t = Now();
        LzhDecode(static_cast<int32_t>(Stream.size()), ReadArchiveBlock, WriteOutputBlock);
        uint16_t Unused = 0;
        WriteOutputBlock(nullptr, 0, Unused);
        t = Now() - t;
        Best = std::min(Best, t);
        if (Io.SinkAt < Stream.size() ||
            std::memcmp(Out.data(), Stream.data(), Stream.size()) != 0) {
            std::fprintf(stderr, "lzh_bench: decoded stream differs\n");
            return 1;
        }
    }
    std::printf("LzhDecode, per-byte block procedures: %.3f s, %.1f MB/s (best of 5)\n", Best,
                Mb / Best);

    fs::path Raw = fs::temp_directory_path() / "lzh_bench_stream.bin";
    {
        std::ofstream f(Raw, std::ios::binary);
        f.write(reinterpret_cast<const char*>(Stream.data()),
                static_cast<std::streamsize>(Stream.size()));
    }
    std::string Gz = Raw.string() + ".gz";
    if (std::system(("gzip -c '" + Raw.string() + "' > '" + Gz + "'").c_str()) != 0) {
        std::fprintf(stderr, "lzh_bench: gzip failed\n");
        return 1;
    }
    double GzBest = 1e9;
    for (int Run = 0; Run < 5; Run++) {
        double t = Now();
        if (std::system(("gzip -d -c '" + Gz + "' > /dev/null").c_str()) != 0) return 1;
        GzBest = std::min(GzBest, Now() - t);
    }
    std::printf("gzip -d (reference, %ju bytes gzipped): %.3f s, %.1f MB/s (best of 5, incl. "
                "process start)\n",
                static_cast<uintmax_t>(fs::file_size(Gz)), GzBest, Mb / GzBest);
    fs::remove(Raw);
    fs::remove(Gz);
    return 0;
}
