// Path strings and byte steps: pure functions, shared by the setup program and native tests.
#pragma once

#include <cstdint>
#include <string>

std::string PathJoin(const std::string& Directory, const std::string& Name);
bool HasWildcards(const std::string& Path);
// Everything up to and including the last '\' or ':'; empty when there is neither.
std::string DirectoryPart(const std::string& Path);
// Replaces the text from the last '.' that stands after the last '\' or ':'; a name without
// one gets the extension appended.
std::string ReplaceExtension(const std::string& Name, const std::string& Extension);
uint8_t ByteMin(uint8_t A, uint8_t B);
uint8_t ByteMax(uint8_t A, uint8_t B);
