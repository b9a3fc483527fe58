#include "update/http_socket_client.h"

#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "update/value_lookup.h"

namespace tirrel {
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kBlankLine = "\r\n\r\n";

// Appends lines to a fixed buffer; remembers when one did not fit.
class RequestWriter {
public:
    RequestWriter(char* buffer, std::size_t capacity) : buffer_(buffer), capacity_(capacity) {}

    RequestWriter& operator<<(std::string_view text) {
        // One byte stays free for the terminating zero.
        if (!fits_ || text.size() >= capacity_ - size_) {
            fits_ = false;
            return *this;
        }
        std::memcpy(buffer_ + size_, text.data(), text.size());
        size_ += text.size();
        return *this;
    }

    bool fits() const { return fits_; }
    std::size_t size() const { return size_; }

private:
    char* buffer_;
    std::size_t capacity_;
    std::size_t size_ = 0;
    bool fits_ = true;
};

std::optional<in_addr> ResolveFirstIpv4(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
        return std::nullopt;
    }
    std::optional<in_addr> address;
    for (const addrinfo* a = found; a != nullptr; a = a->ai_next) {
        if (a->ai_family == AF_INET && a->ai_addr != nullptr) {
            address = reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr;
            break;
        }
    }
    freeaddrinfo(found);
    return address;
}

}  // namespace

std::optional<int> LookUpProtocol(const char* name) {
    protoent entry{};
    protoent* found = nullptr;
    char scratch[1024];
    if (getprotobyname_r(name, &entry, scratch, sizeof scratch, &found) != 0 || found == nullptr) {
        return std::nullopt;
    }
    return found->p_proto;
}

HttpSocketClient::HttpSocketClient(ErrorUi* errors) : errors_(errors) {}

HttpSocketClient::~HttpSocketClient() {
    (void)Close();  // a failure has been shown; the descriptor is released either way
}

SocketResult HttpSocketClient::Failed(SocketStep step, std::string_view text, int error) {
    if (!text.empty() && errors_ != nullptr) errors_->ShowError(std::string(text));
    return {step, error};
}

const char* HttpSocketClient::BuildRequest(std::string_view host, std::string_view path,
                                           int& length, std::string_view version,
                                           std::string_view uid,
                                           std::optional<std::string_view> cookie,
                                           std::optional<std::string_view> referer,
                                           long range_first, long range_last) {
    request_.fill('\0');
    RequestWriter w(request_.data(), request_.size());
    w << "GET " << path << " HTTP/1.1" << kCrLf;
    w << "Host:" << host << kCrLf;
    if (referer) w << "Referer:" << *referer << kCrLf;
    w << "ADS_APP_NAME:Kestrion" << kCrLf;
    w << "ADS_APP_VER:" << version << kCrLf;
    w << "ADS_APP_UID:" << uid << kCrLf;
    w << "Command_Type:AdsData" << kCrLf;
    w << "Operate_Type:update" << kCrLf;
    w << "Accept:*/*" << kCrLf;
    w << "User-Agent:Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)" << kCrLf;
    w << "Connection:Keep-Alive" << kCrLf;
    if (cookie) w << "Set Cookie:0" << *cookie << kCrLf;
    if (range_first > 0) {
        w << "Range: bytes=" << std::to_string(range_first) << "-";
        if (range_last > range_first) w << std::to_string(range_last);
        w << kCrLf;
    }
    w << kCrLf;
    if (!w.fits()) {
        // A cut request would send a different question; send none.
        request_.fill('\0');
        length = -1;
        return nullptr;
    }
    length = static_cast<int>(w.size());
    return request_.data();
}

SocketResult HttpSocketClient::CreateSocket() {
    if (connected_) return {SocketStep::kCreateSocket, EISCONN};
    // The number of TCP is fixed; the database only names it.
    const int protocol = protocol_lookup_("tcp").value_or(IPPROTO_TCP);
    if (socket_ >= 0) ::close(socket_);  // a second call must not leak the first socket
    socket_ = ::socket(AF_INET, SOCK_STREAM, protocol);
    if (socket_ < 0) return Failed(SocketStep::kCreateSocket, kSocketFailed, errno);
    return {};
}

SocketResult HttpSocketClient::Connect(std::string_view host, int /*port*/) {
    if (host.empty()) return {SocketStep::kResolve, 0};
    if (connected_) {
        // A connected socket cannot connect again; start over on a fresh one.
        if (SocketResult closed = Close(); !closed) return closed;
        if (SocketResult created = CreateSocket(); !created) return created;
    }
    // No socket to connect: CreateSocket failed or never ran.
    if (socket_ < 0) return {SocketStep::kConnect, EBADF};
    const std::optional<in_addr> address = ResolveFirstIpv4(std::string(host));
    if (!address) return {SocketStep::kResolve, 0};
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<uint16_t>(port_));
    peer.sin_addr = *address;
    int rc;
    do {
        rc = ::connect(socket_, reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) return {SocketStep::kConnect, errno};
    connected_ = true;
    return {};
}

SocketResult HttpSocketClient::SendRequest(std::optional<std::string_view> text) {
    if (!connected_) return {SocketStep::kSendRequest, ENOTCONN};
    const std::string_view data = text ? *text : std::string_view(request_.data());
    std::size_t sent = 0;
    while (sent < data.size()) {
        const ssize_t n = ::send(socket_, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return Failed(SocketStep::kSendRequest, kSendFailed, n < 0 ? errno : 0);
        sent += static_cast<std::size_t>(n);
    }
    // The header block is kept for GetHeaderValue; what it holds is the caller's to look at.
    int length = 0;
    (void)ReadHeader(length);
    return {};
}

const char* HttpSocketClient::ReadHeader(int& length) {
    if (header_read_) {
        length = header_length_;
        return header_.data();
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline =
        Clock::now() + std::chrono::milliseconds(header_time_limit_ms_);
    std::size_t stored = 0;
    std::size_t end = 0;  // header length once the blank line is found
    while (socket_ >= 0 && stored < header_.size() && end == 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) break;
        pollfd p{socket_, POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) break;
        const ssize_t n = ::recv(socket_, header_.data() + stored, header_.size() - stored, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;  // closed or failed: keep what really arrived
        const std::size_t from = stored >= 3 ? stored - 3 : 0;
        stored += static_cast<std::size_t>(n);
        const std::string_view got(header_.data(), stored);
        const std::size_t blank = got.find(kBlankLine, from);
        if (blank != std::string_view::npos) end = blank + kBlankLine.size();
    }
    if (end == 0) end = stored;
    // Body bytes that came with the last block belong to ReadBody.
    pending_body_.assign(header_.data() + end, stored - end);
    std::memset(header_.data() + end, 0, header_.size() - end);
    header_length_ = static_cast<int>(end);
    header_read_ = true;
    length = header_length_;
    return header_.data();
}

SocketResult HttpSocketClient::SetTimeout(int milliseconds, bool send) {
    timeval tv{};
    tv.tv_sec = milliseconds / 1000;
    tv.tv_usec = static_cast<suseconds_t>((milliseconds % 1000) * 1000);
    if (::setsockopt(socket_, SOL_SOCKET, send ? SO_SNDTIMEO : SO_RCVTIMEO, &tv, sizeof tv) != 0)
        return Failed(SocketStep::kSetTimeout, kSetSockOptFailed, errno);
    return {};
}

int HttpSocketClient::ReadBody(char* buffer, std::size_t capacity) {
    if (!connected_ || buffer == nullptr || capacity == 0) return 0;
    if (!pending_body_.empty()) {
        std::size_t n = std::min(capacity, pending_body_.size());
        std::memcpy(buffer, pending_body_.data(), n);
        pending_body_.erase(0, n);
        // Whatever else has already arrived belongs to the same block.
        if (n < capacity) {
            const ssize_t more = ::recv(socket_, buffer + n, capacity - n, MSG_DONTWAIT);
            if (more > 0) n += static_cast<std::size_t>(more);
        }
        return static_cast<int>(n);
    }
    ssize_t n;
    do {
        n = ::recv(socket_, buffer, capacity, 0);
    } while (n < 0 && errno == EINTR);
    // The end of the body, or its failure, is the result; a failing close has been shown.
    if (n <= 0) (void)Close();
    return static_cast<int>(n);
}

int HttpSocketClient::GetHeaderValue(std::string_view name, char* out, std::size_t capacity) const {
    if (!header_read_) return -1;
    return FindHeaderValue(
        std::string_view(header_.data(), static_cast<std::size_t>(header_length_)), name, out,
        capacity);
}

SocketResult HttpSocketClient::Close() {
    if (socket_ >= 0) {
        const int rc = ::close(socket_);
        const int error = errno;
        // The descriptor is released even when close reports an error; closing it again
        // later could close someone else's file, so it is forgotten either way.
        socket_ = -1;
        connected_ = false;
        if (rc != 0) return Failed(SocketStep::kClose, kCloseFailed, error);
    }
    socket_ = -1;
    connected_ = false;
    return {};
}

}  // namespace tirrel
