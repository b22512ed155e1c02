// The uninstall entry and the start of the installed product.
#pragma once

void WriteUninstallEntry();
void LaunchProduct();
