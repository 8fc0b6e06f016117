// A debug-output viewer for the tests: while it lives, the lines other
// programs write with OutputDebugString (the program's log of swallowed
// failures) are collected here, through the system-wide DBWIN buffer a
// viewer offers when no debugger is attached.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "toolkit/Handles.h"

namespace testsupport {

class DebugOutputCapture {
public:
    DebugOutputCapture()
    {
        bufferReady_.Reset(::CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_BUFFER_READY"));
        dataReady_.Reset(::CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY"));
        stop_.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        mapping_.Reset(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, BufferSize,
                                            L"DBWIN_BUFFER"));
        if (!bufferReady_ || !dataReady_ || !stop_ || !mapping_)
            return;
        view_ = static_cast<const Buffer*>(::MapViewOfFile(mapping_.Get(), FILE_MAP_READ, 0, 0, BufferSize));
        if (view_)
            reader_ = std::thread([this] { Read(); });
    }
    ~DebugOutputCapture()
    {
        if (reader_.joinable()) {
            ::SetEvent(stop_.Get());
            reader_.join();
        }
        if (view_)
            ::UnmapViewOfFile(view_);
    }
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

    bool Listening() const { return reader_.joinable(); }

    // The lines one process wrote so far.
    std::vector<std::wstring> LinesOf(DWORD processId) const
    {
        std::vector<std::wstring> found;
        const std::lock_guard<std::mutex> lock(mutex_);
        for (const auto& [id, line] : lines_)
            if (id == processId)
                found.push_back(line);
        return found;
    }

private:
    static constexpr DWORD BufferSize = 4096;
    struct Buffer {
        DWORD ProcessId;
        char Text[BufferSize - sizeof(DWORD)];
    };

    void Read()
    {
        const HANDLE waits[] = {dataReady_.Get(), stop_.Get()};
        for (;;) {
            ::SetEvent(bufferReady_.Get());
            if (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0)
                return;
            std::wstring line;
            for (std::size_t i = 0; i < sizeof view_->Text && view_->Text[i]; ++i)
                line += static_cast<wchar_t>(static_cast<unsigned char>(view_->Text[i]));
            while (!line.empty() && (line.back() == L'\n' || line.back() == L'\r'))
                line.pop_back();
            const std::lock_guard<std::mutex> lock(mutex_);
            lines_.emplace_back(view_->ProcessId, line);
        }
    }

    tk::KernelHandle bufferReady_;
    tk::KernelHandle dataReady_;
    tk::KernelHandle stop_;
    tk::KernelHandle mapping_;
    const Buffer* view_ = nullptr;
    std::thread reader_;
    mutable std::mutex mutex_;
    std::vector<std::pair<DWORD, std::wstring>> lines_;
};

}  // namespace testsupport
