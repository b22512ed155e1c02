// Running the setup sequence in a child process of a test: a real process with fresh
// globals and a real exit code. The child writes down what happened as a list of events.
#pragma once

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// Starts the command line and waits for it: its exit code, 98 when it had to be ended after
// the timeout, 99 when it could not be started.
inline DWORD RunAndWait(std::string CommandLine, DWORD TimeoutMs) {
    STARTUPINFOA Start = {};
    Start.cb = sizeof Start;
    PROCESS_INFORMATION Process = {};
    if (!CreateProcessA(nullptr, &CommandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &Start, &Process))
        return 99;
    if (WaitForSingleObject(Process.hProcess, TimeoutMs) != WAIT_OBJECT_0)
        TerminateProcess(Process.hProcess, 98);
    DWORD Code = 99;
    GetExitCodeProcess(Process.hProcess, &Code);
    CloseHandle(Process.hThread);
    CloseHandle(Process.hProcess);
    return Code;
}

// Each event ends with "\n--\n": events may hold line breaks of their own.
inline void WriteEvents(const std::string& Path, const std::vector<std::string>& Events) {
    std::ofstream Out(Path, std::ios::binary);
    for (const auto& Event : Events)
        Out << Event << "\n--\n";
}

inline std::vector<std::string> ReadEvents(const std::string& Path) {
    std::ifstream In(Path, std::ios::binary);
    std::stringstream All;
    All << In.rdbuf();
    const std::string Text = All.str();
    std::vector<std::string> Events;
    for (size_t At = 0; At < Text.size();) {
        const size_t End = Text.find("\n--\n", At);
        if (End == std::string::npos) break;
        Events.push_back(Text.substr(At, End - At));
        At = End + 4;
    }
    return Events;
}
