// The update check against a service on 127.0.0.1 that answers with any bytes: it never
// crashes, hands over a banner path only as it appears in the reply and shorter than its
// buffer, and opens only web addresses from the reply, and only after the user agreed.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "update/update_check.h"

namespace {

using namespace std::chrono_literals;

void Check(bool ok) {
    if (!ok) std::abort();
}

// One listening socket for the whole run; each input is served on one connection.
class Service {
public:
    Service() {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        Check(::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0);
        Check(::listen(listener_, 4) == 0);
        socklen_t len = sizeof addr;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
    }
    int port() const { return port_; }

    // Accepts one connection, reads the request up to its blank line, sends `reply`, closes.
    void ServeOnce(std::string_view reply) const {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, kWaitMs) <= 0) return;
        const int peer = ::accept(listener_, nullptr, nullptr);
        if (peer < 0) return;
        std::string request;
        char buf[512];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 4096) {
            pollfd q{peer, POLLIN, 0};
            if (::poll(&q, 1, kWaitMs) <= 0) break;
            const ssize_t n = ::recv(peer, buf, sizeof buf, 0);
            if (n <= 0) break;
            request.append(buf, static_cast<size_t>(n));
        }
        ::send(peer, reply.data(), reply.size(), MSG_NOSIGNAL);
        ::close(peer);
    }

private:
    static constexpr int kWaitMs = 1000;
    int listener_ = -1;
    int port_ = 0;
};

class RecordingUi : public tirrel::UpdateUi {
public:
    explicit RecordingUi(bool answer) : answer_(answer) {}
    void ShowError(const std::string&) override {}
    bool AskUpdate(const std::string&, const std::string&) override {
        ++asked;
        return answer_;
    }
    void OpenUrl(const std::string& url) override { opened.push_back(url); }
    int asked = 0;
    std::vector<std::string> opened;

private:
    bool answer_;
};

bool IsWebAddress(std::string_view url) {
    auto starts = [&](std::string_view scheme) {
        if (url.size() < scheme.size()) return false;
        for (size_t i = 0; i < scheme.size(); ++i)
            if ((url[i] | 0x20) != scheme[i]) return false;
        return true;
    };
    return starts("http://") || starts("https://");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Service service;
    if (size < 1) return 0;
    const bool agrees = data[0] & 1;
    const std::string_view reply(reinterpret_cast<const char*>(data + 1), size - 1);

    tirrel::UpdateRecord record;
    record.service_url = "http://127.0.0.1/KestrionServer/AdsUpdate";
    record.uid = "123456789513579";
    RecordingUi ui(agrees);
    tirrel::UpdateCheckLimits limits;
    limits.max_attempts = 1;
    limits.first_pause = 1ms;
    limits.max_pause = 1ms;
    limits.header_time_limit_ms = 200;
    limits.body_timeout_ms = 200;
    limits.port = service.port();

    std::thread server([&] { service.ServeOnce(reply); });
    tirrel::RunUpdateCheck(record, ui, limits);
    server.join();

    std::string path;
    if (tirrel::TakeBannerMovie(record, path)) {
        Check(path.size() < tirrel::UpdateRecord::kBannerMovieSize);
        Check(reply.find(path) != std::string_view::npos);
    }
    Check(ui.asked <= 1 && ui.opened.size() <= static_cast<size_t>(agrees ? ui.asked : 0));
    for (const std::string& url : ui.opened)
        Check(IsWebAddress(url) && reply.find(url) != std::string_view::npos);
    return 0;
}
