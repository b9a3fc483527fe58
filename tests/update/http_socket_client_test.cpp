#include "update/http_socket_client.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <vector>

#include "update/fake_service.h"
#include "update/value_lookup.h"

namespace tirrel {
namespace {

using testing::FakeService;
using testing::ServiceScript;

const std::string kFixedLines =
    "ADS_APP_NAME:Kestrion\r\n"
    "ADS_APP_VER:0.9\r\n"
    "ADS_APP_UID:u\r\n"
    "Command_Type:AdsData\r\n"
    "Operate_Type:update\r\n"
    "Accept:*/*\r\n"
    "User-Agent:Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\n"
    "Connection:Keep-Alive\r\n";

std::string Build(HttpSocketClient& c, long first, long last,
                  std::optional<std::string_view> cookie = std::nullopt,
                  std::optional<std::string_view> referer = std::nullopt) {
    int length = 0;
    const char* text = c.BuildRequest("h", "/p", length, "0.9", "u", cookie, referer, first, last);
    EXPECT_NE(text, nullptr);
    if (text == nullptr) return {};
    EXPECT_EQ(static_cast<std::size_t>(length), std::char_traits<char>::length(text));
    return std::string(text, static_cast<std::size_t>(length));
}

TEST(BuildRequest, PlainRequestHasTheFixedLinesInOrder) {
    HttpSocketClient c;
    EXPECT_EQ(Build(c, 0, 0), "GET /p HTTP/1.1\r\nHost:h\r\n" + kFixedLines + "\r\n");
}

TEST(BuildRequest, OptionalLinesTakeTheirPlaces) {
    HttpSocketClient c;
    EXPECT_EQ(Build(c, 100, 200, "abc", "http://r/"),
              "GET /p HTTP/1.1\r\nHost:h\r\nReferer:http://r/\r\n" + kFixedLines +
                  "Set Cookie:0abc\r\nRange: bytes=100-200\r\n\r\n");
}

TEST(BuildRequest, RangeLineDependsOnFirstAndLast) {
    HttpSocketClient c;
    EXPECT_NE(Build(c, 100, 50).find("\r\nRange: bytes=100-\r\n\r\n"), std::string::npos);
    EXPECT_NE(Build(c, 100, 100).find("\r\nRange: bytes=100-\r\n\r\n"), std::string::npos);
    EXPECT_NE(Build(c, 100, 200).find("\r\nRange: bytes=100-200\r\n\r\n"), std::string::npos);
    EXPECT_EQ(Build(c, 0, 200).find("Range"), std::string::npos);
    EXPECT_EQ(Build(c, -5, 200).find("Range"), std::string::npos);
}

TEST(BuildRequest, RequestThatDoesNotFitIsRefusedNotCut) {
    HttpSocketClient c;
    const std::string plain = Build(c, 0, 0);
    // The fixed text plus a host that fills the buffer exactly, then one byte more.
    const std::size_t room = HttpSocketClient::kBufferSize - 1 - plain.size() + 1;
    int length = 0;
    const std::string fits(room, 'x');
    ASSERT_NE(c.BuildRequest(fits, "/p", length, "0.9", "u", {}, {}, 0, 0), nullptr);
    EXPECT_EQ(length, static_cast<int>(HttpSocketClient::kBufferSize - 1));

    const std::string too_long(room + 1, 'x');
    EXPECT_EQ(c.BuildRequest(too_long, "/p", length, "0.9", "u", {}, {}, 0, 0), nullptr);
    EXPECT_EQ(length, -1);
    EXPECT_NE(c.BuildRequest("h", "/p", length, "0.9", "u", {}, {}, 0, 0), nullptr);
}

TEST(HeaderLookup, SkipsTwoBytesAndStopsAtCrLf) {
    const std::string header =
        "HTTP/1.1 200 OK\r\nCorrespond_Status: OK\r\nADS_APP_VER: 1.0\r\n\r\n";
    char out[256] = {};
    EXPECT_EQ(FindHeaderValue(header, "Correspond_Status", out, 30), 2);
    EXPECT_STREQ(out, "OK");
    EXPECT_EQ(FindHeaderValue("Correspond_Status:OK\r\n\r\n", "Correspond_Status", out, 30), 1);
    EXPECT_STREQ(out, "K");
    // A name is found anywhere, also inside a longer header name.
    EXPECT_EQ(FindHeaderValue(header, "VER", out, 256), 3);
    EXPECT_STREQ(out, "1.0");
    EXPECT_EQ(FindHeaderValue(header, "Missing", out, 256), -1);
}

TEST(HeaderLookup, CopiesStayInsideTheCapacity) {
    const std::string header = "ADS_APP_VER: 0123456789abcdef\r\n\r\n";
    char out[16];
    std::fill(std::begin(out), std::end(out), '#');
    EXPECT_EQ(FindHeaderValue(header, "ADS_APP_VER", out, 10), 16);
    EXPECT_STREQ(out, "012345678");
    EXPECT_EQ(out[10], '#');
    EXPECT_EQ(FindHeaderValue(header, "ADS_APP_VER", out, 0), 16);
    EXPECT_EQ(out[0], '0');  // capacity 0 writes nothing
    // No CR LF after the value: empty value.
    EXPECT_EQ(FindHeaderValue("ADS_APP_VER: 1.0", "ADS_APP_VER", out, 10), -1);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(FindHeaderValue("ADS_APP_VER", "ADS_APP_VER", out, 10), -1);
}

TEST(ElementLookup, ValueBetweenTheTags) {
    char out[64] = "untouched";
    EXPECT_EQ(GetElementValue("<x>", "ResUrl", out, 64), -1);
    EXPECT_STREQ(out, "untouched");
    EXPECT_EQ(GetElementValue("", "ResUrl", out, 64), -1);
    EXPECT_EQ(GetElementValue("<a><ResUrl>http://m/b.swf</ResUrl></a>", "ResUrl", out, 64), 15);
    EXPECT_STREQ(out, "http://m/b.swf");
    EXPECT_EQ(GetElementValue("<ResUrl></ResUrl>", "ResUrl", out, 64), 1);
    EXPECT_STREQ(out, "");
    // The value's own slashes do not end it; only "/" + name does.
    EXPECT_EQ(GetElementValue("<DlUrl>a/b/DlUrx</DlUrl>", "DlUrl", out, 64), 10);
    EXPECT_STREQ(out, "a/b/DlUrx");
    EXPECT_EQ(GetElementValue("<DlUrl>http://never/closed", "DlUrl", out, 64), -2);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(GetElementValue("<DlUrl>0123456789</DlUrl>", "DlUrl", out, 5), 11);
    EXPECT_STREQ(out, "0123");
}

// A connected client against a fake service, with short bounds.
struct Exchange {
    explicit Exchange(ServiceScript script, int header_limit_ms = 2000)
        : service(std::move(script)) {
        client.SetPort(service.port());
        client.SetHeaderTimeLimitMs(header_limit_ms);
        EXPECT_TRUE(client.CreateSocket());
        EXPECT_TRUE(client.Connect("127.0.0.1", 80));
        EXPECT_TRUE(client.SendRequest("GET / HTTP/1.1\r\n\r\n"));
    }
    std::string Header() {
        int length = 0;
        const char* h = client.ReadHeader(length);
        return std::string(h, static_cast<std::size_t>(length));
    }
    FakeService service;
    HttpSocketClient client;
};

TEST(HeaderRead, StopsAtTheBlankLineAndLeavesTheBodyForReadBody) {
    Exchange x({"HTTP/1.1 200 OK\r\nA: 1\r\n\r\n<ResUrl>m</ResUrl>"});
    EXPECT_EQ(x.Header(), "HTTP/1.1 200 OK\r\nA: 1\r\n\r\n");
    EXPECT_EQ(x.service.Request(), "GET / HTTP/1.1\r\n\r\n");
    char body[1024];
    const int n = x.client.ReadBody(body, sizeof body);
    ASSERT_GT(n, 0);
    EXPECT_EQ(std::string(body, static_cast<std::size_t>(n)), "<ResUrl>m</ResUrl>");
    EXPECT_LE(x.client.ReadBody(body, sizeof body), 0);  // peer closed: the client closes too
    EXPECT_FALSE(x.client.connected());
}

TEST(HeaderRead, ABlankLineSplitAcrossTwoReadsEndsTheHeaderThere) {
    ServiceScript script{"HTTP/1.1 200 OK\r\nA: 1\r\n\r"};
    script.reply_rest = "\n<ResUrl>m</ResUrl>";
    Exchange x(script);
    EXPECT_EQ(x.Header(), "HTTP/1.1 200 OK\r\nA: 1\r\n\r\n");
    char body[1024];
    const int n = x.client.ReadBody(body, sizeof body);
    ASSERT_GT(n, 0);
    EXPECT_EQ(std::string(body, static_cast<std::size_t>(n)), "<ResUrl>m</ResUrl>");
}

TEST(HeaderRead, LongHeaderIsCutAt1024Bytes) {
    std::string reply =
        "HTTP/1.1 200 OK\r\nX: " + std::string(5000, 'a') + "\r\nCorrespond_Status: OK\r\n\r\n";
    Exchange x({reply});
    EXPECT_EQ(x.Header(), reply.substr(0, 1024));
    char out[30];
    EXPECT_EQ(x.client.GetHeaderValue("Correspond_Status", out, sizeof out), -1);
}

TEST(HeaderRead, EarlyCloseKeepsOnlyTheBytesReceived) {
    Exchange x({"HTTP/1.1 200 OK\r\nCorrespond_Status: OK\r\n"});
    EXPECT_EQ(x.Header(), "HTTP/1.1 200 OK\r\nCorrespond_Status: OK\r\n");
    char out[30];
    EXPECT_EQ(x.client.GetHeaderValue("Correspond_Status", out, sizeof out), 2);
    EXPECT_STREQ(out, "OK");
}

TEST(HeaderRead, SilentPeerIsGivenUpWithinTheTimeLimit) {
    const auto start = std::chrono::steady_clock::now();
    Exchange x({"", std::chrono::milliseconds(2000)}, 300);
    EXPECT_EQ(x.Header(), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
    char out[30];
    EXPECT_EQ(x.client.GetHeaderValue("Correspond_Status", out, sizeof out), -1);
}

struct RecordingErrors : ErrorUi {
    void ShowError(const std::string& text) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

void ExpectFailed(const SocketResult& r, SocketStep step, int error, const char* what) {
    EXPECT_FALSE(r) << what;
    EXPECT_EQ(static_cast<int>(r.failed), static_cast<int>(step)) << what;
    EXPECT_EQ(r.error, error) << what;
}

TEST(Client, SocketOptionFailureIsShown) {
    RecordingErrors errors;
    HttpSocketClient c(&errors);
    ExpectFailed(c.SetTimeout(10000, false), SocketStep::kSetTimeout, EBADF, "no socket yet");
    EXPECT_EQ(errors.shown, std::vector<std::string>{"setsockopt()函数执行失败!"});
    ASSERT_TRUE(c.CreateSocket());
    EXPECT_TRUE(c.SetTimeout(10000, false));
    EXPECT_TRUE(c.SetTimeout(10000, true));
    EXPECT_EQ(errors.shown.size(), 1u);
}

TEST(Client, LookupBeforeTheHeaderIsReadFindsNothing) {
    HttpSocketClient c;
    char out[8];
    EXPECT_EQ(c.GetHeaderValue("A", out, sizeof out), -1);
    ExpectFailed(c.SendRequest(), SocketStep::kSendRequest, ENOTCONN, "not connected");
    char body[8];
    EXPECT_EQ(c.ReadBody(body, sizeof body), 0);
    EXPECT_TRUE(c.Close());  // nothing open
    ExpectFailed(c.Connect("127.0.0.1", 80), SocketStep::kConnect, EBADF, "no socket");
}

TEST(Client, ConnectIgnoresThePortArgumentAndFailsQuietlyOnBadHosts) {
    FakeService service({"HTTP/1.1 200 OK\r\n\r\n"});
    HttpSocketClient c;
    c.SetPort(service.port());
    ASSERT_TRUE(c.CreateSocket());
    ExpectFailed(c.Connect("", service.port()), SocketStep::kResolve, 0, "no host");
    ExpectFailed(c.Connect("no-such-host.invalid", service.port()), SocketStep::kResolve, 0,
                 "unknown host");
    EXPECT_TRUE(c.Connect("127.0.0.1", 8080));
    ExpectFailed(c.CreateSocket(), SocketStep::kCreateSocket, EISCONN, "connected already");
    EXPECT_TRUE(c.SendRequest("GET / HTTP/1.1\r\n\r\n"));
    EXPECT_TRUE(c.Close());
    EXPECT_FALSE(c.connected());
}

}  // namespace
}  // namespace tirrel
