#include "package/Volumes.h"

#include <string>

#include "package/FileTable.h"
#include "package/PackageRules.h"
#include "screens/Progress.h"
#include "setup/Config.h"
#include "setup/FileIo.h"
#include "setup/Paths.h"
#include "setup/RunState.h"

namespace {

// Counts on across all volumes.
int32_t CopiedBytes = 0;

enum class TVolumeMeter { First, Later };

// Asks until the volume is there or the user gives up (ProceedFlag 0).
void AskForDisk(HWND Dialog, const std::string& Path, const std::string& Prompt) {
    while (!FileExists(Path) && ProceedFlag != 0) {
        if (MessageBoxA(Dialog, Prompt.c_str(), ProductName.c_str(), MB_OKCANCEL) == IDOK) {
            if (!FileExists(Path)) MessageBoxA(Dialog, MsgWrongDisk.c_str(), "", MB_OK);
        } else if (!FileExists(Path)) {
            ProceedFlag = 0;
        }
    }
}

void CopyVolume(TFile& Source, TFile& Archive, TVolumeMeter Meter) {
    uint8_t Block[CopyBlockSize];
    for (;;) {
        if (ProceedFlag == 0) return;
        const uint32_t Read = Source.Read(Block, sizeof Block);
        if (Read == 0) return; // the end of the volume
        Archive.Write(Block, Read);
        CopiedBytes += static_cast<int32_t>(Read);
        if (Meter == TVolumeMeter::First) {
            LastDrawnPercent = -1; // volume 1 repaints after every block
            DrawMeter(CopiedBytes, ExpectedArchiveSize);
        } else {
            DrawMeter(CopiedBytes, ExpectedArchiveSize, TMeterRule::UpTo100);
        }
        PumpMessages();
    }
}

void CopyVolumeFile(const std::string& Path, TFile& Archive, TVolumeMeter Meter) {
    TFile Volume;
    Volume.Open(Path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    CopyVolume(Volume, Archive, Meter);
    Volume.Close();
}

} // namespace

void GatherVolumes(HWND Dialog) {
    // The table first, while disk 1, which holds the setup program, is still in the drive.
    ReadFileTable();

    // Volume 1 is opened before the archive is created: a missing disk leaves nothing behind.
    TFile First;
    First.Open(PathJoin(SourceDir, FirstVolumeName), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    TFile Archive; // closed by its owner on every error; the abort path deletes it
    Archive.Open(PathJoin(DestDir, ArchiveName), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                 CREATE_ALWAYS);
    ArchiveCreated = true;

    CopiedBytes = 0;
    CopyVolume(First, Archive, TVolumeMeter::First);
    First.Close();

    const int Volumes = VolumesToJoin(DiskCount);
    for (int Volume = 2; Volume <= Volumes && ProceedFlag != 0; ++Volume) {
        FirstVolumeName = VolumeName(FirstVolumeName, Volume);
        const std::string Path = PathJoin(SourceDir, FirstVolumeName);
        AskForDisk(Dialog, Path, DiskPrompt(Volume));
        if (ProceedFlag != 0) CopyVolumeFile(Path, Archive, TVolumeMeter::Later);
    }
    Archive.Close();
}
