// A small HTTP server inside the test process, on 127.0.0.1 and a free port:
// it records the request line of every request and answers as the test asks.
// Nothing it does reaches beyond the loopback address.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

class HttpListener {
public:
    enum class Mode {
        Ok,        // 200 with a small page
        NotFound,  // 404
        Slow,      // 200 after SlowDelay, or at once when the listener stops
        Close,     // closes the connection without an answer
    };
    static constexpr std::chrono::seconds SlowDelay{12};

    HttpListener()
    {
        WSADATA data;
        FStarted = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
        FSocket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        if (FSocket == INVALID_SOCKET || ::bind(FSocket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(FSocket, 16) != 0)
            return;
        int length = sizeof address;
        ::getsockname(FSocket, reinterpret_cast<sockaddr*>(&address), &length);
        FPort = ntohs(address.sin_port);
        FAcceptor = std::thread([this] { AcceptLoop(); });
    }

    ~HttpListener()
    {
        {
            std::lock_guard<std::mutex> lock(FMutex);
            FStopping = true;
        }
        FWake.notify_all();
        if (FAcceptor.joinable())
            FAcceptor.join();
        for (auto& connection : FConnections)
            connection.join();
        if (FSocket != INVALID_SOCKET)
            ::closesocket(FSocket);
        if (FStarted)
            ::WSACleanup();
    }

    HttpListener(const HttpListener&) = delete;
    HttpListener& operator=(const HttpListener&) = delete;

    // 0 when the listener could not start.
    std::uint16_t Port() const { return FPort; }
    void SetMode(Mode mode) { FMode = mode; }

    std::vector<std::string> Requests() const
    {
        std::lock_guard<std::mutex> lock(FMutex);
        return FRequests;
    }
    std::size_t RequestCount() const
    {
        std::lock_guard<std::mutex> lock(FMutex);
        return FRequests.size();
    }
    // Connections that were taken, answered or not.
    std::size_t ConnectionCount() const { return FAccepted; }
    std::size_t AnsweredCount() const { return FAnswered; }

    // A port on 127.0.0.1 with nobody listening on it.
    static std::uint16_t DeadPort()
    {
        const SOCKET probe = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
        int length = sizeof address;
        ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
        ::closesocket(probe);
        return ntohs(address.sin_port);
    }

private:
    void AcceptLoop()
    {
        for (;;) {
            {
                std::lock_guard<std::mutex> lock(FMutex);
                if (FStopping)
                    return;
            }
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(FSocket, &readable);
            timeval wait{0, 50'000};
            if (::select(0, &readable, nullptr, nullptr, &wait) <= 0)
                continue;
            const SOCKET client = ::accept(FSocket, nullptr, nullptr);
            if (client == INVALID_SOCKET)
                continue;
            ++FAccepted;
            FConnections.emplace_back([this, client] { Serve(client); });
        }
    }

    void Serve(SOCKET client)
    {
        const DWORD receiveTimeout = 5000;
        ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&receiveTimeout),
                     sizeof receiveTimeout);
        std::string head;
        char buffer[2048];
        while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
            const int got = ::recv(client, buffer, sizeof buffer, 0);
            if (got <= 0)
                break;
            head.append(buffer, static_cast<std::size_t>(got));
        }
        const auto lineEnd = head.find("\r\n");
        if (lineEnd != std::string::npos) {
            std::lock_guard<std::mutex> lock(FMutex);
            FRequests.push_back(head.substr(0, lineEnd));
        }
        const Mode mode = FMode;
        if (mode == Mode::Slow) {
            std::unique_lock<std::mutex> lock(FMutex);
            FWake.wait_for(lock, SlowDelay, [this] { return FStopping; });
        }
        if (mode != Mode::Close && lineEnd != std::string::npos) {
            const std::string body = mode == Mode::NotFound ? "<html><body>not here</body></html>"
                                                            : "<html><body>counted</body></html>";
            const std::string answer = std::string(mode == Mode::NotFound ? "HTTP/1.1 404 Not Found\r\n"
                                                                          : "HTTP/1.1 200 OK\r\n") +
                                       "Content-Type: text/html\r\nCache-Control: no-store\r\nConnection: close\r\n"
                                       "Content-Length: " +
                                       std::to_string(body.size()) + "\r\n\r\n" + body;
            ::send(client, answer.data(), static_cast<int>(answer.size()), 0);
            ++FAnswered;
        }
        ::shutdown(client, SD_BOTH);
        ::closesocket(client);
    }

    bool FStarted = false;
    SOCKET FSocket = INVALID_SOCKET;
    std::uint16_t FPort = 0;
    std::atomic<Mode> FMode{Mode::Ok};
    std::atomic<std::size_t> FAccepted{0};
    std::atomic<std::size_t> FAnswered{0};
    mutable std::mutex FMutex;
    std::condition_variable FWake;
    bool FStopping = false;
    std::vector<std::string> FRequests;
    std::thread FAcceptor;
    std::vector<std::thread> FConnections;
};

}  // namespace testsupport
