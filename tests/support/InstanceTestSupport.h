// Stand-ins for a running copy of the program inside one test process, and a
// catcher for the log's lines.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "core/SingleInstance.h"
#include "toolkit/Handles.h"
#include "toolkit/Log.h"

namespace testsupport {

// Another thread holds this program's instance mutex (the one of
// IsAnotherInstance(true, true, L"")), as a copy in another process would:
// ownership belongs to threads. It holds it from construction until Release
// or its own end, and has no window.
class InstanceHolder {
public:
    InstanceHolder()
    {
        const std::wstring name = corvello::ProgramInstanceNames(true, true, L"").Instance;
        thread_ = std::thread([this, name] {
            const tk::KernelHandle mutex(::CreateMutexW(nullptr, FALSE, name.c_str()));
            const DWORD wait = mutex ? ::WaitForSingleObject(mutex.Get(), 10000) : WAIT_FAILED;
            held_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
            ::SetEvent(ready_.Get());
            ::WaitForSingleObject(release_.Get(), INFINITE);
            if (held_)
                ::ReleaseMutex(mutex.Get());
        });
        ::WaitForSingleObject(ready_.Get(), 15000);
    }
    ~InstanceHolder()
    {
        Release();
        thread_.join();
    }
    InstanceHolder(const InstanceHolder&) = delete;
    InstanceHolder& operator=(const InstanceHolder&) = delete;

    bool Held() const { return held_; }
    // Lets the mutex go, from the holding thread, soon after.
    void Release() { ::SetEvent(release_.Get()); }

private:
    tk::KernelHandle ready_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    tk::KernelHandle release_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<bool> held_{false};
    std::thread thread_;
};

// Keeps the log's lines while it lives, in place of the debugger output.
class CapturedLog {
public:
    CapturedLog()
    {
        Lines().clear();
        tk::SetLogSink([](const std::wstring& line) { Lines().push_back(line); });
    }
    ~CapturedLog() { tk::SetLogSink(nullptr); }
    CapturedLog(const CapturedLog&) = delete;
    CapturedLog& operator=(const CapturedLog&) = delete;

    static std::vector<std::wstring>& Lines()
    {
        static std::vector<std::wstring> lines;
        return lines;
    }
    // The number of lines that contain the text.
    static std::size_t Count(const std::wstring& text)
    {
        std::size_t count = 0;
        for (const auto& line : Lines())
            count += line.find(text) != std::wstring::npos;
        return count;
    }
};

}  // namespace testsupport
