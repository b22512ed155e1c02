#include "package/Volumes.h"

// Placeholder until volume gathering lands.
void GatherVolumes(HWND) {}
