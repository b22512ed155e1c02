// Placeholders until the shell integration lands: they do nothing.
#include "shell/Shortcut.h"
#include "shell/Uninstall.h"

void CreateStartMenuShortcut() {}
void WriteUninstallEntry() {}
void LaunchProduct() {}
