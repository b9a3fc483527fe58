#include "update/update_check.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "update/fake_service.h"

namespace tirrel {
namespace {

using namespace std::chrono_literals;
using testing::FakeService;
using testing::ServiceScript;

class ScriptedUi : public UpdateUi {
public:
    explicit ScriptedUi(bool answer = false) : answer_(answer) {}
    void ShowError(const std::string& text) override {
        std::lock_guard lock(mutex_);
        errors.push_back(text);
    }
    bool AskUpdate(const std::string& caption, const std::string& text) override {
        std::lock_guard lock(mutex_);
        questions.push_back(caption + "|" + text);
        return answer_;
    }
    void OpenUrl(const std::string& url) override {
        std::lock_guard lock(mutex_);
        opened.push_back(url);
    }
    std::vector<std::string> errors, questions, opened;

private:
    std::mutex mutex_;
    bool answer_;
};

std::string Reply(std::string_view status, std::string_view version, std::string_view body) {
    std::string r = "HTTP/1.1 200 OK\r\n";
    if (!status.empty()) r += std::string(status) + "\r\n";
    if (!version.empty()) r += "ADS_APP_VER: " + std::string(version) + "\r\n";
    return r + "Content-Type: text/xml\r\n\r\n" + std::string(body);
}

const std::string kBody =
    "<Ads><ResUrl>http://ads.example/736-60.swf</ResUrl>"
    "<DlUrl>http://dl.example/tirrel.zip</DlUrl></Ads>";

const std::string kQuestion =
    "Orlinde二维码生成工具更新提示|有更高版本的工具!更新地址：http://www.tirrel.cn/download "
    "是否更新?";

UpdateCheckLimits Bounded(int port) {
    UpdateCheckLimits limits;
    limits.max_attempts = 2;
    limits.first_pause = 10ms;
    limits.max_pause = 20ms;
    limits.header_time_limit_ms = 500;
    limits.body_timeout_ms = 500;
    limits.port = port;
    return limits;
}

// Runs one check against a service that sends `reply`; the record keeps the outcome.
struct Check {
    explicit Check(ServiceScript script, bool answer = false,
                   ProtocolLookup lookup = LookUpProtocol)
        : ui(answer) {
        FakeService service(std::move(script));
        record.service_url = "http://127.0.0.1:8080/KestrionServer/AdsUpdate";
        record.uid = "123456789513579";
        UpdateCheckLimits limits = Bounded(service.port());
        limits.protocol_lookup = lookup;
        EXPECT_EQ(RunUpdateCheck(record, ui, limits), 0);
        request = service.Request();
    }
    std::optional<std::string> Movie() {
        std::string path;
        if (!TakeBannerMovie(record, path)) return std::nullopt;
        return path;
    }
    UpdateRecord record;
    ScriptedUi ui;
    std::string request;
};

TEST(UpdateCheck, SendsTheRequestWithVersionAndUid) {
    Check c({Reply("Correspond_Status: OK", "0.9", kBody)});
    EXPECT_EQ(c.request,
              "GET /KestrionServer/AdsUpdate HTTP/1.1\r\n"
              "Host:127.0.0.1\r\n"
              "ADS_APP_NAME:Kestrion\r\n"
              "ADS_APP_VER:0.9\r\n"
              "ADS_APP_UID:123456789513579\r\n"
              "Command_Type:AdsData\r\n"
              "Operate_Type:update\r\n"
              "Accept:*/*\r\n"
              "User-Agent:Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\n"
              "Connection:Keep-Alive\r\n"
              "\r\n");
}

TEST(UpdateCheck, OkReplyHandsOverTheBannerMovieOnceAndAsksNothingForSameVersion) {
    Check c({Reply("Correspond_Status: OK", "0.9", kBody)});
    EXPECT_EQ(c.Movie(), "http://ads.example/736-60.swf");
    EXPECT_EQ(c.Movie(), std::nullopt);  // taken once
    EXPECT_TRUE(c.ui.questions.empty());
    EXPECT_TRUE(c.ui.errors.empty());
}

TEST(UpdateCheck, NewerVersionAsksAndOpensTheDownloadOnlyOnOk) {
    Check cancel({Reply("Correspond_Status: OK", "1.0", kBody)}, false);
    EXPECT_EQ(cancel.ui.questions, std::vector<std::string>{kQuestion});
    EXPECT_TRUE(cancel.ui.opened.empty());
    EXPECT_EQ(cancel.Movie(), "http://ads.example/736-60.swf");

    Check ok({Reply("Correspond_Status: OK", "1.0", kBody)}, true);
    EXPECT_EQ(ok.ui.opened, std::vector<std::string>{"http://dl.example/tirrel.zip"});
}

TEST(UpdateCheck, StatusMustBeExactlyOk) {
    for (const char* status : {"Correspond_Status: ok", "Correspond_Status: OKAY",
                               "Correspond_Status:OK", "Other: OK"}) {
        Check c({Reply(status, "1.0", kBody)}, true);
        EXPECT_EQ(c.Movie(), std::nullopt) << status;
        EXPECT_TRUE(c.ui.questions.empty()) << status;
    }
}

TEST(UpdateCheck, MissingResUrlStillReloadsWithAnEmptyPath) {
    Check c({Reply("Correspond_Status: OK", "0.9", "<Ads></Ads>")});
    EXPECT_EQ(c.Movie(), "");
}

TEST(UpdateCheck, VersionComparesTheFirstFourBytes) {
    const std::pair<const char*, bool> cases[] = {
        {"0.9", false},  {"0.10", false}, {"", false},    {"0.8", false},
        {"0.9.1", true}, {"0.99", true},  {"0.9a", true}, {"1.0", true},
    };
    for (const auto& [version, asks] : cases) {
        Check c({Reply("Correspond_Status: OK", version, kBody)});
        EXPECT_EQ(c.ui.questions.size(), asks ? 1u : 0u) << version;
    }
}

TEST(UpdateCheck, OnlyWebAddressesAreOpened) {
    for (const char* dl : {"file:///bin/sh", "/usr/bin/xterm", "javascript:alert(1)", "http://",
                           "ftp://dl.example/x", "http:// evil"}) {
        const std::string body = "<DlUrl>" + std::string(dl) + "</DlUrl>";
        Check c({Reply("Correspond_Status: OK", "1.0", body)}, true);
        EXPECT_EQ(c.ui.questions.size(), 1u) << dl;
        EXPECT_TRUE(c.ui.opened.empty()) << dl;
    }
    EXPECT_TRUE(IsOpenableDownloadUrl("HTTPS://dl.example:8443/a?b"));
    EXPECT_FALSE(IsOpenableDownloadUrl("https://user@:80/"));
}

TEST(UpdateCheck, OverlongValuesStayInsideTheirBuffers) {
    const std::string long_url = "http://ads.example/" + std::string(600, 'm') + ".swf";
    const std::string body = "<ResUrl>" + long_url + "</ResUrl><DlUrl>http://dl.example/" +
                             std::string(100, 'd') + "</DlUrl>";
    Check c({Reply("Correspond_Status: OK" + std::string(300, ' '), "1.0", body)}, true);
    // The status has trailing blanks: not OK, nothing happens.
    EXPECT_EQ(c.Movie(), std::nullopt);

    Check d({Reply("Correspond_Status: OK", "1.0" + std::string(300, '0'), body)}, true);
    // A cut address would name something else: too long counts as absent.
    EXPECT_EQ(d.Movie(), "");
    EXPECT_EQ(d.ui.questions.size(), 1u);
    EXPECT_TRUE(d.ui.opened.empty());
}

TEST(UpdateCheck, HostileServicesAreGivenUpWithinBounds) {
    const auto start = std::chrono::steady_clock::now();
    {  // accepts and says nothing
        Check c({"", 2000ms, false});
        EXPECT_EQ(c.Movie(), std::nullopt);
    }
    {  // a header block longer than the buffer
        Check c({"HTTP/1.1 200 OK\r\nX: " + std::string(5000, 'x') +
                 "\r\nCorrespond_Status: OK\r\n\r\n" + kBody});
        EXPECT_EQ(c.Movie(), std::nullopt);
    }
    {  // header, then silence: the body read times out
        Check c({Reply("Correspond_Status: OK", "1.0", ""), 2000ms}, true);
        EXPECT_EQ(c.Movie(), "");
        EXPECT_TRUE(c.ui.opened.empty());
    }
    {  // closes in the middle of the header
        Check c({"HTTP/1.1 200 OK\r\nCorrespond_Sta"});
        EXPECT_EQ(c.Movie(), std::nullopt);
    }
    {  // body without closing tags
        Check c({Reply("Correspond_Status: OK", "1.0", "<ResUrl>http://x/<DlUrl>http://y/")}, true);
        EXPECT_EQ(c.Movie(), "");
        EXPECT_TRUE(c.ui.opened.empty());
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, 4s);
}

TEST(UpdateCheck, UnreachableServiceGivesUpAfterTheAttemptsAllowed) {
    int closed_port;
    {
        FakeService gone({"", 0ms, false});
        closed_port = gone.port();
        // Wake the service so it ends at once.
        HttpSocketClient poke;
        poke.SetPort(closed_port);
        ASSERT_TRUE(poke.CreateSocket());
        ASSERT_TRUE(poke.Connect("127.0.0.1", 80));
    }
    UpdateRecord record;
    record.service_url = "http://127.0.0.1/KestrionServer/AdsUpdate";
    ScriptedUi ui;
    UpdateCheckLimits limits = Bounded(closed_port);
    limits.max_attempts = 3;
    EXPECT_EQ(RunUpdateCheck(record, ui, limits), 0);
    EXPECT_EQ(record.banner_reload.load(), 0);
    EXPECT_TRUE(ui.errors.empty());  // connection failures are silent
}

TEST(UpdateCheck, RetriesUntilTheServiceListens) {
    ServiceScript script{Reply("Correspond_Status: OK", "0.9", kBody)};
    script.listen_after = 150ms;
    FakeService service(script);
    UpdateRecord record;
    record.service_url = "http://127.0.0.1/KestrionServer/AdsUpdate";
    ScriptedUi ui;
    UpdateCheckLimits limits = Bounded(service.port());
    limits.max_attempts = 20;
    limits.first_pause = 20ms;
    limits.max_pause = 40ms;
    EXPECT_EQ(RunUpdateCheck(record, ui, limits), 0);
    std::string path;
    EXPECT_TRUE(TakeBannerMovie(record, path));
    EXPECT_EQ(path, "http://ads.example/736-60.swf");
}

// Stand-ins for the protocol database: a system without one, and one that first names a
// protocol no socket can be made for.
std::optional<int> NoEntry(const char*) {
    return std::nullopt;
}
std::atomic<int> lookups{0};
std::optional<int> BogusOnce(const char*) {
    return lookups++ == 0 ? std::optional<int>(9999) : std::nullopt;
}
std::optional<int> Bogus(const char*) {
    return 9999;
}

TEST(UpdateCheck, ReachesTheServiceWithoutAProtocolDatabaseAndRetriesOnAFreshSocket) {
    Check bare({Reply("Correspond_Status: OK", "0.9", kBody)}, false, NoEntry);
    EXPECT_EQ(bare.Movie(), "http://ads.example/736-60.swf");
    EXPECT_TRUE(bare.ui.errors.empty());

    Check retried({Reply("Correspond_Status: OK", "0.9", kBody)}, false, BogusOnce);
    EXPECT_EQ(retried.ui.errors, std::vector<std::string>{"socket()函数执行失败!"});
    EXPECT_EQ(retried.Movie(), "http://ads.example/736-60.swf");

    // A failure on every attempt is told once, not after every pause.
    Check failing({Reply("Correspond_Status: OK", "0.9", kBody)}, false, Bogus);
    EXPECT_EQ(failing.ui.errors, std::vector<std::string>{"socket()函数执行失败!"});
    EXPECT_EQ(failing.Movie(), std::nullopt);
}

TEST(UpdateCheck, ADownloadAddressAtItsLimitIsOpenedOneByteLongerIsNot) {
    // The value buffer holds 49 bytes and the zero.
    const std::string at_limit = "http://dl.example/" + std::string(49 - 18, 'd');
    for (const auto& [url, opened] : {std::pair{at_limit, true}, {at_limit + "d", false}}) {
        Check c({Reply("Correspond_Status: OK", "1.0", "<DlUrl>" + url + "</DlUrl>")}, true);
        EXPECT_EQ(c.ui.opened, opened ? std::vector<std::string>{url} : std::vector<std::string>{})
            << url.size();
    }
}

TEST(UpdateCheck, BadServiceUrlDoesNothing) {
    UpdateRecord record;
    record.service_url = "ftp://example/x";
    ScriptedUi ui;
    EXPECT_EQ(RunUpdateCheck(record, ui, Bounded(1)), 0);
    EXPECT_EQ(record.banner_reload.load(), 0);
}

TEST(SplitUrl, HostPortAndPath) {
    auto u = SplitUrl("http://update.example:8080/KestrionServer/AdsUpdate");
    ASSERT_TRUE(u);
    EXPECT_EQ(u->host, "update.example");
    EXPECT_EQ(u->port, 8080);
    EXPECT_EQ(u->path, "/KestrionServer/AdsUpdate");
    u = SplitUrl("HTTP://h");
    ASSERT_TRUE(u);
    EXPECT_EQ(u->host, "h");
    EXPECT_EQ(u->port, 80);
    EXPECT_EQ(u->path, "/");
    u = SplitUrl(kDefaultUpdateUrl);
    ASSERT_TRUE(u);
    EXPECT_EQ(u->path, "/KestrionServer/AdsUpdate");
    for (const char* bad :
         {"https://h/", "http:///p", "http://h:/p", "http://h:99999/", "http://h:8a/", "h/p", ""}) {
        EXPECT_FALSE(SplitUrl(bad)) << bad;
    }
}

TEST(UpdateWorker, HandsOverThroughTheFlagAfterItsOwnerLetsGo) {
    FakeService service({Reply("Correspond_Status: OK", "0.9", kBody)});
    auto record = std::make_shared<UpdateRecord>();
    record->service_url = "http://127.0.0.1/KestrionServer/AdsUpdate";
    auto ui = std::make_shared<ScriptedUi>();
    std::weak_ptr<UpdateRecord> watch = record;
    ASSERT_EQ(StartUpdateWorker(record, ui, Bounded(service.port())), 0);

    std::string path;
    bool taken = false;
    for (int i = 0; i < 300 && !taken; ++i) {
        taken = TakeBannerMovie(*record, path);
        if (!taken) std::this_thread::sleep_for(10ms);
    }
    ASSERT_TRUE(taken);
    EXPECT_EQ(path, "http://ads.example/736-60.swf");
    // The window goes away; the worker's own reference keeps the record alive until it ends.
    record.reset();
    ui.reset();
    for (int i = 0; i < 300 && !watch.expired(); ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_TRUE(watch.expired());
}

}  // namespace
}  // namespace tirrel
