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
        Slow,      // 200 after the slow delay, or at once when the listener stops
        Close,     // closes the connection without an answer
        NoContent,  // 204 without a body
        Download,   // 200 with a file to save rather than a page to show
    };

    HttpListener()
    {
        WSADATA data;
        started_ = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
        socket_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        if (socket_ == INVALID_SOCKET || ::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(socket_, 16) != 0)
            return;
        int length = sizeof address;
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        acceptor_ = std::thread([this] { AcceptLoop(); });
    }

    ~HttpListener()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        if (acceptor_.joinable())
            acceptor_.join();
        for (auto& connection : connections_)
            connection.join();
        if (socket_ != INVALID_SOCKET)
            ::closesocket(socket_);
        if (started_)
            ::WSACleanup();
    }

    HttpListener(const HttpListener&) = delete;
    HttpListener& operator=(const HttpListener&) = delete;

    // 0 when the listener could not start.
    std::uint16_t Port() const { return port_; }
    void SetMode(Mode mode) { mode_ = mode; }
    // 12 s unless set: longer than any time-out a test waits for.
    void SetSlowDelay(std::chrono::milliseconds delay) { slowDelayMs_ = delay.count(); }

    std::vector<std::string> Requests() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return requests_;
    }
    std::size_t RequestCount() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return requests_.size();
    }
    // Connections that were taken, answered or not.
    std::size_t ConnectionCount() const { return accepted_; }
    std::size_t AnsweredCount() const { return answered_; }

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
    static std::string Answer(Mode mode)
    {
        std::string status = "200 OK";
        std::string headers = "Content-Type: text/html\r\n";
        std::string body = "<html><body>counted</body></html>";
        if (mode == Mode::NotFound) {
            status = "404 Not Found";
            body = "<html><body>not here</body></html>";
        } else if (mode == Mode::NoContent) {
            status = "204 No Content";
            headers.clear();
            body.clear();
        } else if (mode == Mode::Download) {
            headers = "Content-Type: application/octet-stream\r\n"
                      "Content-Disposition: attachment; filename=\"counted.bin\"\r\n";
            body = std::string(64, '\x2a');
        }
        // A 204 has no Content-Length: it never has a body.
        const std::string length =
            mode == Mode::NoContent ? std::string() : "Content-Length: " + std::to_string(body.size()) + "\r\n";
        return "HTTP/1.1 " + status + "\r\n" + headers + "Cache-Control: no-store\r\nConnection: close\r\n" + length +
               "\r\n" + body;
    }

    void AcceptLoop()
    {
        for (;;) {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (stopping_)
                    return;
            }
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(socket_, &readable);
            timeval wait{0, 50'000};
            if (::select(0, &readable, nullptr, nullptr, &wait) <= 0)
                continue;
            const SOCKET client = ::accept(socket_, nullptr, nullptr);
            if (client == INVALID_SOCKET)
                continue;
            ++accepted_;
            connections_.emplace_back([this, client] { Serve(client); });
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
            std::lock_guard<std::mutex> lock(mutex_);
            requests_.push_back(head.substr(0, lineEnd));
        }
        const Mode mode = mode_;
        if (mode == Mode::Slow) {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait_for(lock, std::chrono::milliseconds(slowDelayMs_.load()), [this] { return stopping_; });
        }
        if (mode != Mode::Close && lineEnd != std::string::npos) {
            const std::string answer = Answer(mode);
            ::send(client, answer.data(), static_cast<int>(answer.size()), 0);
            ++answered_;
        }
        ::shutdown(client, SD_BOTH);
        ::closesocket(client);
    }

    bool started_ = false;
    SOCKET socket_ = INVALID_SOCKET;
    std::uint16_t port_ = 0;
    std::atomic<Mode> mode_{Mode::Ok};
    std::atomic<std::chrono::milliseconds::rep> slowDelayMs_{12000};
    std::atomic<std::size_t> accepted_{0};
    std::atomic<std::size_t> answered_{0};
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::vector<std::string> requests_;
    std::thread acceptor_;
    std::vector<std::thread> connections_;
};

}  // namespace testsupport
