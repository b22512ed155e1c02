#include "tools/DiskTool.h"

#include <iostream>

int main(int argc, char** argv) {
    return RunDiskTool(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
