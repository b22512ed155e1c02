// The setup sequence: start-up, the five dialog steps, the finishing steps or the abort
// path, and tear-down.
#pragma once

#include <windows.h>

struct TDialogStep {
    const char* Template;
    DLGPROC Procedure;
};

// The chain that RunSetup runs. The program's own steps are filled in; tests replace them
// with procedures of their own to drive the sequence.
struct TSetupSteps {
    TDialogStep Dialogs[5];
    void (*CreateShortcut)();
    void (*WriteUninstall)();
    void (*Launch)();
};

extern TSetupSteps SetupSteps;

// Runs the whole installation; returns the process's exit code, 0 on every path.
int RunSetup();
