// corvello_witness in its record mode, as a test drives it: another program
// whose hidden top-level window and low-level keyboard hook write down what
// reaches them (tests/win/Witness.cpp tells the lines).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "e2e/CorvelloProcess.h"

namespace testsupport {

class RecordingWitness : public TestedProcess {
public:
    // desktop: the window lives on that desktop of the window station
    // (made when missing), without a keyboard hook.
    explicit RecordingWitness(const std::wstring& desktop = L"")
        : TestedProcess(L"corvello_witness.exe", Arguments(desktop))
    {
    }
    ~RecordingWitness()
    {
        if (Running()) {
            ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
            WaitExit(5000);
        }
        ::DeleteFileW(RecordPath().c_str());
    }

    // Waits until the window and the hook are in place.
    bool WaitReady(std::uint32_t timeoutMs = 10000) const
    {
        return WaitUntil([this] { return Contains(L"ready") || !Running(); }, timeoutMs) && Contains(L"ready");
    }

    // Everything recorded so far, a line each.
    std::vector<std::wstring> Lines() const
    {
        std::vector<std::wstring> lines;
        const HANDLE file = ::CreateFileW(RecordPath().c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return lines;
        std::string text;
        char buffer[4096];
        DWORD read = 0;
        while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
            text.append(buffer, read);
        ::CloseHandle(file);
        std::wstring line;
        for (const char c : text) {
            if (c == '\n') {
                lines.push_back(line);
                line.clear();
            } else {
                line += static_cast<wchar_t>(static_cast<unsigned char>(c));
            }
        }
        return lines;
    }

    bool Contains(const std::wstring& line) const
    {
        for (const std::wstring& seen : Lines())
            if (seen == line)
                return true;
        return false;
    }

    // The lines that start with a word ("key", "syscommand", ...), from the
    // given line on.
    std::vector<std::wstring> LinesOf(const std::wstring& word, std::size_t from = 0) const
    {
        std::vector<std::wstring> found;
        const std::vector<std::wstring> lines = Lines();
        for (std::size_t i = from; i < lines.size(); ++i)
            if (lines[i].rfind(word + L' ', 0) == 0)
                found.push_back(lines[i]);
        return found;
    }

    // Posts a ping behind whatever was posted to the witness so far and
    // waits until it is recorded: then everything before it is in the record.
    bool Ping(std::uint32_t timeoutMs = 10000)
    {
        const unsigned number = ++pings_;
        if (!::PostThreadMessageW(threadId_, WM_APP + 1, number, 0))
            return false;
        const std::wstring line = L"ping " + std::to_wstring(number);
        return WaitUntil([&] { return Contains(line); }, timeoutMs);
    }

    // Closes the witness's window, which ends it.
    void Close() const { ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0); }

    std::wstring Dump() const
    {
        std::wstring all;
        for (const std::wstring& line : Lines())
            all += line + L'\n';
        return all;
    }

    static std::wstring RecordPath()
    {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        return std::wstring(temp) + L"corvello-witness.txt";
    }

private:
    static std::wstring Arguments(const std::wstring& desktop)
    {
        ::DeleteFileW(RecordPath().c_str());
        std::wstring arguments = L"record \"" + RecordPath() + L'"';
        if (!desktop.empty())
            arguments += L" desktop " + desktop;
        return arguments;
    }

    unsigned pings_ = 0;
};

}  // namespace testsupport
