// Start-up cost of corvello.exe against a minimal Win32 program built with the
// same toolchain: time from CreateProcess until the program waits for input
// in its message loop, and the time a second start takes to hand over and end.
// Prints medians over a number of runs. Not a test: numbers for the README.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/FileVersion.h"
#include "core/Identity.h"
#include "core/Messages.h"
#include "toolkit/Handles.h"

namespace {

double Now()
{
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Started {
    tk::KernelHandle Process;
    DWORD Id = 0;
};

Started Start(const std::wstring& exe, const std::wstring& arguments = L"")
{
    std::wstring line = L'"' + exe + L'"' + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    Started started;
    if (::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        started.Process.Reset(info.hProcess);
        started.Id = info.dwProcessId;
        ::CloseHandle(info.hThread);
    }
    return started;
}

void End(Started& started)
{
    ::TerminateProcess(started.Process.Get(), 0);
    ::WaitForSingleObject(started.Process.Get(), 5000);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Milliseconds until the program first waits for input in its loop.
double TimeToLoop(const std::wstring& exe)
{
    const double start = Now();
    Started started = Start(exe);
    ::WaitForInputIdle(started.Process.Get(), 10000);
    const double took = Now() - start;
    End(started);
    return took;
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const std::wstring dir = corvello::SplitPath(corvello::GetModulePath()).Directory;
    const std::wstring corvelloExe = dir + L"corvello.exe";
    const std::wstring minimalExe = dir + L"corvello_minimal.exe";

    std::vector<double> minimal, corvello, handover;
    TimeToLoop(minimalExe);  // the first start of anything pays for the disk cache
    TimeToLoop(corvelloExe);
    for (int i = 0; i < runs; ++i) {
        minimal.push_back(TimeToLoop(minimalExe));
        corvello.push_back(TimeToLoop(corvelloExe));
    }

    Started instance = Start(corvelloExe);
    ::WaitForInputIdle(instance.Process.Get(), 10000);
    for (int i = 0; i < runs; ++i) {
        const double start = Now();
        Started second = Start(corvelloExe);
        ::WaitForSingleObject(second.Process.Get(), 10000);
        handover.push_back(Now() - start);
    }
    End(instance);

    std::printf("runs: %d (medians)\n", runs);
    std::printf("minimal Win32 program, start to message loop: %.1f ms\n", Median(minimal));
    std::printf("corvello.exe, start to message loop:          %.1f ms\n", Median(corvello));
    std::printf("corvello.exe, second start handing over:      %.1f ms\n", Median(handover));
    return 0;
}
