// The Start-menu shortcut to the installed main program.
#pragma once

void CreateStartMenuShortcut();
