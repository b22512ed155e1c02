#include "package/PackageRules.h"

#include "setup/PathText.h"

std::string VolumeName(const std::string& FirstVolumeName, int Volume) {
    return ReplaceExtension(FirstVolumeName, ".00" + std::to_string(Volume));
}

std::string DiskPrompt(int Volume) {
    return "Please Insert Disk number " + std::to_string(Volume);
}

int VolumesToJoin(int32_t DiskCount) {
    return DiskCount < 1 ? 1 : DiskCount > 4 ? 4 : static_cast<int>(DiskCount);
}

std::string FileExtension(const std::string& Name) {
    const size_t Cut = Name.find_last_of(".:\\");
    if (Cut == std::string::npos || Name[Cut] != '.') return std::string();
    std::string Extension = Name.substr(Cut);
    for (char& C : Extension)
        if (C >= 'a' && C <= 'z') C = static_cast<char>(C - 'a' + 'A');
    return Extension;
}

TSplitTarget SplitTargetOf(const std::string& Name) {
    return FileExtension(Name) == ".HLP" ? TSplitTarget::Help : TSplitTarget::Destination;
}

bool IsProtectedExtension(const std::string& Name) {
    const std::string Extension = FileExtension(Name);
    return Extension == ".LIB" || Extension == ".DTP";
}

uint32_t NextSplitBlock(int64_t Copied, int64_t Size) {
    if (Copied + CopyBlockSize < Size) return CopyBlockSize;
    return Size > Copied ? static_cast<uint32_t>(Size - Copied) : 0;
}
