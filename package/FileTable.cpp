#include "package/FileTable.h"

#include <windows.h>

#include <vector>

#include "package/FileTableFormat.h"
#include "setup/FileIo.h"

TFileEntry* FileListHead = nullptr;
TFileEntry* FileListTail = nullptr;
int32_t UnpackedSize = 0;

namespace {

std::string OwnModulePath() {
    char Path[MAX_PATH + 1] = {};
    const DWORD Length = GetModuleFileNameA(nullptr, Path, sizeof Path);
    if (Length == 0 || Length >= sizeof Path)
        RaiseIoError("find the file of", "the setup program",
                     Length ? ERROR_INSUFFICIENT_BUFFER : GetLastError());
    return std::string(Path, Length);
}

void Append(const TTableEntry& Entry) {
    TFileEntry* Record = new TFileEntry{Entry.Name, Entry.Offset, Entry.Size, nullptr};
    if (!FileListHead) {
        FileListHead = Record;
    } else {
        FileListTail->Next = Record;
    }
    FileListTail = Record;
}

} // namespace

void ReadFileTable() {
    FreeFileList();
    const std::string Path = OwnModulePath();
    TFile Own;
    Own.Open(Path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    const int64_t Size = Own.Size();
    // The table and its trailer are the last bytes of the file; one read takes every byte
    // that the largest table could need.
    std::vector<uint8_t> Tail(FileTableTailSize(static_cast<uint64_t>(Size)));
    Own.Seek(Size - static_cast<int64_t>(Tail.size()));
    Own.ReadExact(Tail.data(), static_cast<uint32_t>(Tail.size()));
    Own.Close();

    TFileTable Table;
    std::string Why;
    if (!ParseFileTable(Tail.data(), Tail.size(), static_cast<uint64_t>(Size), Table, Why))
        throw EInOutError("Cannot read the file table of " + Path + ":\r\n" + Why);
    UnpackedSize = Table.UnpackedSize;
    for (const TTableEntry& Entry : Table.Entries)
        Append(Entry);
}

void FreeFileList() {
    while (FileListHead) {
        TFileEntry* Next = FileListHead->Next;
        delete FileListHead;
        FileListHead = Next;
    }
}
