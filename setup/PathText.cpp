#include "setup/PathText.h"

std::string PathJoin(const std::string& Directory, const std::string& Name) {
    if (Directory.empty()) return Name;
    if (Directory.back() == '\\') return Directory + Name;
    return Directory + '\\' + Name;
}

bool HasWildcards(const std::string& Path) {
    return Path.find_first_of("*?") != std::string::npos;
}

std::string DirectoryPart(const std::string& Path) {
    const size_t Cut = Path.find_last_of("\\:");
    return Cut == std::string::npos ? std::string() : Path.substr(0, Cut + 1);
}

std::string ReplaceExtension(const std::string& Name, const std::string& Extension) {
    const size_t Dot = Name.find_last_of(".\\:");
    if (Dot == std::string::npos || Name[Dot] != '.') return Name + Extension;
    return Name.substr(0, Dot) + Extension;
}

uint8_t ByteMin(uint8_t A, uint8_t B) {
    return A < B ? A : B;
}

uint8_t ByteMax(uint8_t A, uint8_t B) {
    return B < A ? A : B;
}
