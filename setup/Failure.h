// Errors raised inside a dialog step. A C++ exception must not unwind through user32's
// frames (MinGW cannot do it on i686: the program would terminate), so every dialog
// procedure catches what its handlers raise, notes it and ends its dialog with StepFailed.
// The sequence then reports the note and takes the abort path.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

constexpr INT_PTR StepFailed = -2;

// The first error noted in this run; empty while all is well.
extern std::string StepFailure;

void NoteStepFailure(const char* What);

template <class THandler> INT_PTR GuardDialog(HWND Dialog, THandler&& Handler) noexcept {
    try {
        return Handler();
    } catch (const std::exception& Error) {
        NoteStepFailure(Error.what());
    } catch (...) {
        NoteStepFailure("An unexpected error occurred.");
    }
    EndDialog(Dialog, StepFailed);
    return FALSE;
}
