#include "package/Unpack.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "package/FileTable.h"
#include "package/Lzh.h"
#include "package/PackageRules.h"
#include "screens/Progress.h"
#include "setup/Config.h"
#include "setup/FileIo.h"
#include "setup/Paths.h"
#include "setup/RunState.h"

namespace UnpackTestSeam {
void (*OutputWritten)(uint32_t Count) = nullptr;
}

namespace {

constexpr uint16_t BufferBlock = 2048;

// DestDir\ArchiveName and DestDir\MainExeName while decoding; their owners are the decoding
// stage's, which close them on every way out.
TFile* ArchiveFile = nullptr;
TFile* OutputFile = nullptr;
uint16_t InPos = 1;
int32_t InCount = 0;
uint16_t OutPos = 1;
int32_t BytesWritten = 0;
int ReadsPastEnd = 0;

void WriteOutput(uint32_t Count) {
    OutputFile->Write(OutBuffer + 1, Count); // a short write raises: no silent loss
    if (UnpackTestSeam::OutputWritten) UnpackTestSeam::OutputWritten(Count);
}

[[noreturn]] void RaiseArchiveEnded() {
    throw EInOutError("The archive " + ArchiveFile->Path() + " ended before all " +
                      std::to_string(UnpackedSize) +
                      " bytes of the product were unpacked.\r\nA disk of the set is damaged or "
                      "incomplete.");
}

// Creates the unpacked file, or overwrites an existing one that cannot be replaced.
void OpenOutput(TFile& Output, const std::string& Path) {
    if (!Output.TryOpen(Path, GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS)) {
        const DWORD CreateError = GetLastError();
        if (!Output.TryOpen(Path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING))
            RaiseIoError("create", Path, CreateError); // ProceedFlag drops on the way out
    }
    MainExeCreated = true;
}

void DecodeArchive() {
    const std::string ArchivePath = PathJoin(DestDir, ArchiveName);
    TFile Output;
    OpenOutput(Output, PathJoin(DestDir, MainExeName));
    InPos = 1;
    InCount = 0;
    OutPos = 1;
    ReadsPastEnd = 0;
    // An archive that cannot be opened leaves nothing to split: reported, and the run stops.
    TFile Archive;
    Archive.Open(ArchivePath, GENERIC_READ, 0, OPEN_EXISTING);
    ArchiveFile = &Archive;
    OutputFile = &Output;
    try {
        LzhDecode(UnpackedSize, ReadBlockProc, WriteBlockProc);
        if (ProceedFlag != 0) {
            uint16_t Unused = 0;
            WriteOutputBlock(nullptr, 0, Unused);
        }
    } catch (...) {
        ArchiveFile = OutputFile = nullptr;
        throw;
    }
    ArchiveFile = OutputFile = nullptr;
    Archive.Close();
    DeleteFileA(ArchivePath.c_str()); // also after a cancel; not tested, the abort path tries again
    Output.Close();
}

void CopyEntry(TFile& Unpacked, TFile& Target, const TFileEntry& Entry) {
    uint8_t Block[CopyBlockSize];
    int64_t Copied = 0;
    for (;;) {
        const uint32_t Count = NextSplitBlock(Copied, Entry.Size);
        Unpacked.ReadExact(Block, Count); // an entry past the end of the file is an error
        Target.Write(Block, Count);
        Copied += Count;
        if (Copied >= Entry.Size) break;
    }
    Target.Close();
}

void SplitEntry(TFile& Unpacked, HWND Dialog, const TFileEntry& Entry) {
    Unpacked.Seek(Entry.Offset);
    const std::string InDestDir = PathJoin(DestDir, Entry.Name);
    if (IsProtectedExtension(Entry.Name) && FileExists(InDestDir)) return; // stays untouched
    const std::string Preferred = SplitTargetOf(Entry.Name) == TSplitTarget::Help
                                      ? PathJoin(PathJoin(WindowsDir, "Help"), Entry.Name)
                                      : InDestDir;
    std::string Written;
    try {
        TFile Target;
        if (!Target.TryOpen(Preferred, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                            CREATE_ALWAYS) &&
            !Target.TryOpen(InDestDir, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                            CREATE_ALWAYS)) {
            // Told, not skipped in silence; the rest of the product is still installed.
            const DWORD Error = GetLastError();
            const std::string Text =
                "The file " + InDestDir + " could not be installed:\r\n" + SystemErrorText(Error);
            MessageBoxA(Dialog, Text.c_str(), ProductName.c_str(), MB_OK);
            return;
        }
        Written = Target.Path();
        CopyEntry(Unpacked, Target, Entry);
    } catch (...) {
        // The target's owner has closed it; a half-written product file is not left behind.
        if (!Written.empty()) DeleteFileA(Written.c_str());
        throw;
    }
}

void SplitFiles(HWND Dialog) {
    TFile Unpacked;
    Unpacked.Open(PathJoin(DestDir, MainExeName), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                  OPEN_EXISTING);
    for (const TFileEntry* Entry = FileListHead; Entry; Entry = Entry->Next)
        SplitEntry(Unpacked, Dialog, *Entry);
    // The main program fills the stream up to the first further file; with no further files
    // the whole stream is the main program.
    Unpacked.Seek(FileListHead ? FileListHead->Offset : UnpackedSize);
    Unpacked.Truncate();
    Unpacked.Close();
    FreeFileList();
}

} // namespace

void ReadArchiveBlock(void* Buffer, uint16_t Count, uint16_t& Actual) {
    Actual = 0;
    if (ProceedFlag == 0) return;
    if (!ArchiveFile) return;
    if (InPos > InCount) {
        InCount = static_cast<int32_t>(ArchiveFile->Read(InBuffer + 1, BufferBlock));
        if (InCount == 0) {
            if (++ReadsPastEnd > ArchiveLookAhead) RaiseArchiveEnded();
            return;
        }
        InPos = 1;
        PumpMessages(); // once per block: a pump per byte would take minutes under Wine
    }
    const int32_t Left = InCount - InPos + 1;
    const uint16_t Take = static_cast<uint16_t>(Count < Left ? Count : Left);
    std::memcpy(Buffer, InBuffer + InPos, Take);
    InPos = static_cast<uint16_t>(InPos + Take);
    Actual = Take;
}

void WriteOutputBlock(void* Buffer, uint16_t Count, uint16_t& Actual) {
    if (ProceedFlag == 0) {
        Actual = 0;
        return;
    }
    if (Count == 0) { // the final flush
        WriteOutput(OutPos - 1u);
        return;
    }
    if (Count > BufferBlock) Count = BufferBlock;
    if (OutPos > BufferBlock || OutPos + Count > BufferBlock + 1) {
        WriteOutput(OutPos - 1u);
        BytesWritten += OutPos - 1;
        OutPos = 1;
        DrawMeter(BytesWritten, UnpackedSize);
    }
    std::memcpy(OutBuffer + OutPos, Buffer, Count);
    OutPos = static_cast<uint16_t>(OutPos + Count);
    Actual = Count;
}

void UnpackPackage(HWND Dialog) {
    DecodeArchive();
    if (ProceedFlag == 0) return; // the partly written main program goes on the abort path
    // Once begun, the split runs to its end, and a cancel confirmed meanwhile (inside a
    // message box of the split) cannot undo the installed files.
    SplitFiles(Dialog);
    ProceedFlag = 1;
}
