// Table parser on arbitrary file tails; what it accepts must stay inside file, stream and folder.
#include "package/FileTableFormat.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    // The first byte widens the file in front of the tail, as a long setup program would.
    uint64_t FileSize = Size + (Size ? Data[0] * 1000ull : 0);
    size_t Tail = FileTableTailSize(FileSize);
    if (Tail > Size) Tail = Size;
    TFileTable Table;
    std::string Why;
    if (!ParseFileTable(Data + Size - Tail, Tail, FileSize, Table, Why)) {
        if (Why.empty()) std::abort();
        return 0;
    }
    for (const TTableEntry& e : Table.Entries) {
        if (e.Name.empty() || e.Name.size() > 19 || !IsPlainFileName(e.Name)) std::abort();
        if (e.Offset < 0 || e.Size < 0 || int64_t(e.Offset) + e.Size > Table.UnpackedSize)
            std::abort();
    }
    // What parses builds back to the same table.
    std::vector<uint8_t> Again = BuildFileTable(Table);
    TFileTable Reread;
    if (!ParseFileTable(Again.data(), Again.size(), Again.size(), Reread, Why) ||
        Reread.Entries.size() != Table.Entries.size() || Reread.UnpackedSize != Table.UnpackedSize)
        std::abort();
    return 0;
}
