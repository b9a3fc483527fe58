// A minimal HTTP/1.1 client on POSIX sockets for the one request of the update check: build
// a GET request with the ad-service headers, connect, send, read the response header block,
// read one block of the body and look up header values. No redirects, chunking, proxy or TLS.
// One object per request, used by one thread. Socket failures are shown through ErrorUi.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tirrel {

// Where the client's failure messages go: a modal message with the caption "错误" and an OK
// button, without owner window. Texts are UTF-8. Called on the client's own thread; an
// implementation that needs its UI thread marshals the call and blocks only the caller.
class ErrorUi {
public:
    virtual ~ErrorUi() = default;
    virtual void ShowError(const std::string& text) = 0;
};

inline constexpr std::string_view kErrorCaption = "错误";
inline constexpr std::string_view kSocketFailed = "socket()函数执行失败!";
inline constexpr std::string_view kSendFailed = "send()函数执行失败!";
inline constexpr std::string_view kSetSockOptFailed = "setsockopt()函数执行失败!";
inline constexpr std::string_view kCloseFailed = "closesocket()函数执行失败!";

// The step of a request that failed, and why: the socket steps' results tell them apart, so a
// caller can retry a refused connection and give up on a step that will fail again.
enum class SocketStep {
    kNone,          // every step so far succeeded
    kCreateSocket,  // socket()
    kResolve,       // no host, or the name has no IPv4 address (the resolver sets no errno)
    kConnect,       // connect(), or no socket to connect
    kSendRequest,   // send(), or not connected
    kSetTimeout,    // setsockopt()
    kClose,         // close()
};

struct SocketResult {
    SocketStep failed = SocketStep::kNone;
    int error = 0;  // errno of the failing call; 0 when none was made or it sets none
    explicit operator bool() const { return failed == SocketStep::kNone; }
};

// The protocol number the system's database gives `name`; empty when it has no entry (a
// minimal system may have no /etc/protocols at all).
[[nodiscard]] std::optional<int> LookUpProtocol(const char* name);
using ProtocolLookup = std::optional<int> (*)(const char* name);

class HttpSocketClient {
public:
    static constexpr std::size_t kBufferSize = 1024;
    static constexpr int kHeaderTimeLimitMs = 30000;

    // `errors` may be null (failures are then silent); it must outlive the client.
    explicit HttpSocketClient(ErrorUi* errors = nullptr);
    ~HttpSocketClient();
    HttpSocketClient(const HttpSocketClient&) = delete;
    HttpSocketClient& operator=(const HttpSocketClient&) = delete;

    // Builds the request text into the request buffer and returns it, its length (bytes
    // before the zero) in `length`. A request that would not fit into the buffer with its
    // zero is refused: nullptr, `length` -1, the buffer left empty.
    [[nodiscard]] const char* BuildRequest(std::string_view host, std::string_view path,
                                           int& length, std::string_view version,
                                           std::string_view uid,
                                           std::optional<std::string_view> cookie,
                                           std::optional<std::string_view> referer,
                                           long range_first, long range_last);

    // A TCP socket. Without a database entry for "tcp" its fixed number is used.
    [[nodiscard]] SocketResult CreateSocket();
    // Connects to the first IPv4 address of `host`. `port` is ignored: the connection goes to
    // port(), 80 unless tests point it elsewhere.
    [[nodiscard]] SocketResult Connect(std::string_view host, int port);
    // Sends `text` (default: the request buffer) completely, then reads the header block.
    [[nodiscard]] SocketResult SendRequest(std::optional<std::string_view> text = std::nullopt);
    // The header block: up to and including the first CR LF CR LF, at most 1024 bytes, within
    // the header time limit. Only the first call reads. Bytes after the blank line are kept
    // for ReadBody.
    [[nodiscard]] const char* ReadHeader(int& length);
    // The receive (send == false) or send time-out of the socket.
    [[nodiscard]] SocketResult SetTimeout(int milliseconds, bool send);
    // One block of the body: bytes left over from the header read first, else one receive.
    // Returns the byte count, 0 or less when none (the connection is then closed).
    [[nodiscard]] int ReadBody(char* buffer, std::size_t capacity);
    // Looks `name` up in the header block (see FindHeaderValue); -1 before ReadHeader.
    [[nodiscard]] int GetHeaderValue(std::string_view name, char* out, std::size_t capacity) const;
    [[nodiscard]] SocketResult Close();

    [[nodiscard]] int port() const { return port_; }
    void SetPort(int port) { port_ = port; }
    void SetHeaderTimeLimitMs(int ms) { header_time_limit_ms_ = ms; }
    void SetProtocolLookup(ProtocolLookup lookup) { protocol_lookup_ = lookup; }
    [[nodiscard]] bool connected() const { return connected_; }

private:
    // Shows `text` and returns the failure of `step` with the errno it left.
    SocketResult Failed(SocketStep step, std::string_view text, int error);

    ErrorUi* errors_;
    std::array<char, kBufferSize> request_{};
    std::array<char, kBufferSize> header_{};
    std::string pending_body_;
    bool connected_ = false;
    int socket_ = -1;
    bool header_read_ = false;
    int header_length_ = -1;
    int port_ = 80;
    int header_time_limit_ms_ = kHeaderTimeLimitMs;
    ProtocolLookup protocol_lookup_ = LookUpProtocol;
};

}  // namespace tirrel
