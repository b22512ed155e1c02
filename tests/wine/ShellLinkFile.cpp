#include "ShellLinkFile.h"

namespace {

// Header layout and flag bits of the shell-link format.
constexpr size_t HeaderSize = 0x4C;
constexpr size_t LinkFlagsAt = 0x14;
constexpr size_t ShowCommandAt = 0x3C;
constexpr uint32_t HasLinkTargetIdList = 0x01;
constexpr uint32_t HasLinkInfo = 0x02;
constexpr uint32_t HasName = 0x04;
constexpr uint32_t HasRelativePath = 0x08;
constexpr uint32_t HasWorkingDirFlag = 0x10;
constexpr uint32_t IsUnicode = 0x80;
constexpr uint32_t VolumeIdAndLocalBasePath = 0x01;
constexpr uint8_t LinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                   0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

struct TReader {
    const std::vector<uint8_t>& Bytes;
    std::string& Error;

    bool Has(size_t At, size_t Count, const char* What) {
        if (At <= Bytes.size() && Count <= Bytes.size() - At) return true;
        Error = std::string(What) + " runs past the end of the file";
        return false;
    }
    uint32_t U16(size_t At) const { return Bytes[At] | Bytes[At + 1] << 8; }
    uint32_t U32(size_t At) const { return U16(At) | U16(At + 2) << 16; }

    // A NUL-terminated ANSI string inside [At, End).
    bool CString(size_t At, size_t End, std::string& Text, const char* What) {
        Text.clear();
        for (size_t I = At; I < End; ++I) {
            if (!Bytes[I]) return true;
            Text += static_cast<char>(Bytes[I]);
        }
        Error = std::string(What) + " has no terminating zero";
        return false;
    }

    // One counted string of the string data; At moves past it.
    bool Counted(size_t& At, bool Unicode, std::string& Text, const char* What) {
        if (!Has(At, 2, What)) return false;
        const size_t Count = U16(At);
        At += 2;
        const size_t Width = Unicode ? 2 : 1;
        if (!Has(At, Count * Width, What)) return false;
        Text.clear();
        // Some writers (Wine's) count a terminating zero too: the text ends there.
        for (size_t I = 0; I < Count; ++I) {
            const uint32_t Unit = Unicode ? U16(At + 2 * I) : Bytes[At + I];
            if (!Unit) break;
            Text += Unit < 0x80 ? static_cast<char>(Unit) : '?';
        }
        At += Count * Width;
        return true;
    }
};

} // namespace

bool ParseShellLink(const std::vector<uint8_t>& Bytes, TShellLinkFile& Link, std::string& Error) {
    TReader In{Bytes, Error};
    Link = TShellLinkFile();
    if (!In.Has(0, HeaderSize, "the header")) return false;
    if (In.U32(0) != HeaderSize) {
        Error = "the header size is not 0x4C";
        return false;
    }
    for (size_t I = 0; I < 16; ++I)
        if (Bytes[4 + I] != LinkClsid[I]) {
            Error = "the header's class identifier is not the shell link's";
            return false;
        }
    Link.LinkFlags = In.U32(LinkFlagsAt);
    Link.ShowCommand = In.U32(ShowCommandAt);
    size_t At = HeaderSize;

    if (Link.LinkFlags & HasLinkTargetIdList) {
        if (!In.Has(At, 2, "the ID list size")) return false;
        At += 2 + In.U16(At);
    }

    if (Link.LinkFlags & HasLinkInfo) {
        if (!In.Has(At, 0x1C, "the LinkInfo header")) return false;
        const size_t Size = In.U32(At);
        if (Size < 0x1C || !In.Has(At, Size, "the LinkInfo")) {
            if (Size < 0x1C) Error = "the LinkInfo is smaller than its header";
            return false;
        }
        const size_t End = At + Size;
        const uint32_t Flags = In.U32(At + 8);
        if (Flags & VolumeIdAndLocalBasePath) {
            const size_t BaseAt = In.U32(At + 0x10), SuffixAt = In.U32(At + 0x18);
            std::string Suffix;
            if (BaseAt >= Size || SuffixAt >= Size) {
                Error = "a LinkInfo offset points outside the LinkInfo";
                return false;
            }
            if (!In.CString(At + BaseAt, End, Link.LocalBasePath, "the local base path") ||
                !In.CString(At + SuffixAt, End, Suffix, "the common path suffix"))
                return false;
            Link.LocalBasePath += Suffix;
            Link.HasLocalBasePath = true;
        }
        At = End;
    }

    const bool Unicode = (Link.LinkFlags & IsUnicode) != 0;
    std::string Skipped;
    if ((Link.LinkFlags & HasName) && !In.Counted(At, Unicode, Skipped, "the name")) return false;
    if ((Link.LinkFlags & HasRelativePath) &&
        !In.Counted(At, Unicode, Skipped, "the relative path"))
        return false;
    if (Link.LinkFlags & HasWorkingDirFlag) {
        if (!In.Counted(At, Unicode, Link.WorkingDir, "the working directory")) return false;
        Link.HasWorkingDir = true;
    }
    return true;
}
