// The demo product's further files in table order, shared by the generator, which makes
// them, and the uninstaller, which removes them again.
#pragma once

#include <cstddef>

struct TProductFile {
    const char* Name;
    size_t Size; // 0: whatever is left of the product's size
};

constexpr size_t DemoMainSize = 727552;
constexpr size_t DemoProductSize = 3937836;

constexpr TProductFile DemoFurtherFiles[] = {
    {"Uninstal.exe", 61440},  {"PictView.exe", 286720}, {"PictConv.exe", 143360},
    {"PICTCORE.DLL", 519168}, {"PICTFILT.DLL", 398336}, {"PICTIO.DLL", 246784},
    {"PICTTWN.DLL", 87552},   {"Pictavrn.HLP", 612352}, {"PictIcon.icl", 178688},
    {"PictCurs.cul", 95744},  {"Busy.ani", 10246},      {"Wait.ani", 8190},
    {"Brush.ani", 12038},     {"Default.dtp", 64512},   {"Clipart.lib", 0},
};
