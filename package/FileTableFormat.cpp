#include "package/FileTableFormat.h"

#include <algorithm>

namespace {

int32_t GetInt32(const uint8_t* p) {
    uint32_t v = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                 static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
    return static_cast<int32_t>(v);
}

void PutInt32(std::vector<uint8_t>& Out, int32_t Value) {
    uint32_t v = static_cast<uint32_t>(Value);
    for (int i = 0; i < 4; i++)
        Out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

bool Fail(std::string& Why, std::string Text) {
    Why = std::move(Text);
    return false;
}

} // namespace

size_t FileTableTailSize(uint64_t FileSize) {
    uint64_t Largest = TableTrailerSize + TableEntrySize * TableMaxEntries;
    return static_cast<size_t>(std::min<uint64_t>(FileSize, Largest));
}

bool IsPlainFileName(const std::string& Name) {
    if (Name.empty() || Name == "." || Name == "..") return false;
    return Name.find_first_of("\\/:") == std::string::npos;
}

bool ParseFileTable(const uint8_t* Tail, size_t TailSize, uint64_t FileSize, TFileTable& Table,
                    std::string& Why) {
    Table = TFileTable();
    if (FileSize < TableTrailerSize || TailSize < TableTrailerSize || TailSize > FileSize)
        return Fail(Why, "The file is too short to hold a file table.");
    const uint8_t* End = Tail + TailSize;
    size_t Count = End[-5];
    int32_t Total = GetInt32(End - 4);
    size_t TableSize = TableTrailerSize + TableEntrySize * Count;
    if (TableSize > FileSize || TableSize > TailSize)
        return Fail(Why, "The file table's entries do not fit in the file.");
    if (Total < 0) return Fail(Why, "The file table's total length is negative.");
    Table.UnpackedSize = Total;
    const uint8_t* p = End - TableSize;
    for (size_t i = 0; i < Count; i++, p += TableEntrySize) {
        size_t Length = p[0];
        std::string Entry = "Entry " + std::to_string(i + 1) + " of the file table ";
        if (Length > TableNameMax)
            return Fail(Why, Entry + "has a name longer than 19 characters.");
        TTableEntry E{std::string(reinterpret_cast<const char*>(p + 1), Length), GetInt32(p + 20),
                      GetInt32(p + 24)};
        if (!IsPlainFileName(E.Name)) return Fail(Why, Entry + "does not name a plain file.");
        if (E.Offset < 0 || E.Size < 0) return Fail(Why, Entry + "has a negative offset or size.");
        if (static_cast<int64_t>(E.Offset) + E.Size > Total)
            return Fail(Why, Entry + "reaches past the end of the unpacked stream.");
        Table.Entries.push_back(std::move(E));
    }
    return true;
}

std::vector<uint8_t> BuildFileTable(const TFileTable& Table) {
    std::vector<uint8_t> Out;
    size_t Count = std::min(Table.Entries.size(), TableMaxEntries);
    Out.reserve(TableTrailerSize + TableEntrySize * Count);
    for (size_t i = 0; i < Count; i++) {
        const TTableEntry& E = Table.Entries[i];
        size_t Length = std::min(E.Name.size(), TableNameMax);
        Out.push_back(static_cast<uint8_t>(Length));
        for (size_t k = 0; k < TableNameMax; k++)
            Out.push_back(k < Length ? static_cast<uint8_t>(E.Name[k]) : 0);
        PutInt32(Out, E.Offset);
        PutInt32(Out, E.Size);
    }
    Out.push_back(static_cast<uint8_t>(Count));
    PutInt32(Out, Table.UnpackedSize);
    return Out;
}
