// A scripted update service on 127.0.0.1 for one connection: it records the request, sends
// the reply (in one or two pieces), then holds or closes the connection. Every wait is
// bounded.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

namespace tirrel::testing {

struct ServiceScript {
    std::string reply;                  // sent in one piece after the request's blank line
    std::chrono::milliseconds hold{0};  // keep the connection open this long after the reply
    bool read_request = true;           // false: accept, then only hold
    std::chrono::milliseconds listen_after{0};  // refuse connections until then
    // Sent a moment after `reply`, so the client gets it from a read of its own.
    std::string reply_rest{};
};

class FakeService {
public:
    explicit FakeService(ServiceScript script) : script_(std::move(script)) {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = 0;
        ::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        if (script_.listen_after.count() == 0) ::listen(listener_, 1);
        socklen_t len = sizeof addr;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }

    ~FakeService() {
        if (thread_.joinable()) thread_.join();
        ::close(listener_);
    }

    int port() const { return port_; }

    // The request bytes as received; waits for the connection to end.
    const std::string& Request() {
        if (thread_.joinable()) thread_.join();
        return request_;
    }

private:
    static constexpr int kWaitMs = 3000;

    void Serve() {
        if (script_.listen_after.count() > 0) {
            std::this_thread::sleep_for(script_.listen_after);
            ::listen(listener_, 1);
        }
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, kWaitMs) <= 0) return;
        const int peer = ::accept(listener_, nullptr, nullptr);
        if (peer < 0) return;
        if (script_.read_request) ReadRequest(peer);
        if (!script_.reply.empty()) {
            ::send(peer, script_.reply.data(), script_.reply.size(), MSG_NOSIGNAL);
        }
        if (!script_.reply_rest.empty()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            ::send(peer, script_.reply_rest.data(), script_.reply_rest.size(), MSG_NOSIGNAL);
        }
        Hold(peer);
        ::close(peer);
    }

    void ReadRequest(int peer) {
        char buf[512];
        while (request_.find("\r\n\r\n") == std::string::npos) {
            pollfd p{peer, POLLIN, 0};
            if (::poll(&p, 1, kWaitMs) <= 0) return;
            const ssize_t n = ::recv(peer, buf, sizeof buf, 0);
            if (n <= 0) return;
            request_.append(buf, static_cast<std::size_t>(n));
        }
    }

    // Keeps the connection until the hold ends or the client closes.
    void Hold(int peer) {
        const auto end = std::chrono::steady_clock::now() + script_.hold;
        char buf[256];
        while (std::chrono::steady_clock::now() < end) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            pollfd p{peer, POLLIN, 0};
            const int ready = ::poll(&p, 1, static_cast<int>(left.count()) + 1);
            if (ready <= 0) return;
            if (::recv(peer, buf, sizeof buf, 0) <= 0) return;
        }
    }

    ServiceScript script_;
    int listener_ = -1;
    int port_ = 0;
    std::string request_;
    std::thread thread_;
};

}  // namespace tirrel::testing
