#include "update/update_check.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <system_error>
#include <thread>

#include "update/value_lookup.h"

namespace tirrel {
namespace {

constexpr std::size_t kValueSize = 256;
constexpr std::size_t kBodySize = 1024;
constexpr std::size_t kStatusCapacity = 30;
constexpr std::size_t kVersionCapacity = 10;
constexpr std::size_t kResUrlCapacity = 256;
constexpr std::size_t kDlUrlCapacity = 50;

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

enum class Attempt { kReady, kFailed, kCannotAsk };

// Retries repeat the same steps, so a failure that persists (no descriptors left, say) would
// bring up the same box after every pause: each text is shown once per check.
class EachErrorOnce final : public ErrorUi {
public:
    explicit EachErrorOnce(ErrorUi& to) : to_(to) {}
    void ShowError(const std::string& text) override {
        if (shown_.insert(text).second) to_.ShowError(text);
    }

private:
    ErrorUi& to_;
    std::set<std::string> shown_;
};

// One attempt on the client's own fresh socket: request built, socket created, connected,
// request sent (which reads the header block) and the receive time-out set. The first step
// that fails ends the attempt; each has shown what it has to show, and all are retried alike.
Attempt TryOnce(HttpSocketClient& client, const ServiceUrl& url, const UpdateRecord& record,
                const UpdateCheckLimits& limits) {
    client.SetPort(limits.port);
    client.SetHeaderTimeLimitMs(limits.header_time_limit_ms);
    client.SetProtocolLookup(limits.protocol_lookup);
    int length = 0;
    if (client.BuildRequest(url.host, url.path, length, record.version, record.uid, std::nullopt,
                            std::nullopt, 0, 0) == nullptr) {
        return Attempt::kCannotAsk;  // the same values would never fit
    }
    const bool ready = client.CreateSocket() && client.Connect(url.host, 80) &&
                       client.SendRequest() && client.SetTimeout(limits.body_timeout_ms, false);
    return ready ? Attempt::kReady : Attempt::kFailed;
}

// Attempts, with pauses doubling from first_pause up to max_pause, until one gets the service's
// header or the attempts allowed are used up. Each attempt starts on a new client, so nothing
// of a failed one (its socket, a header already read) carries over.
std::unique_ptr<HttpSocketClient> ConnectWithRetry(const ServiceUrl& url,
                                                   const UpdateRecord& record, ErrorUi& errors,
                                                   const UpdateCheckLimits& limits) {
    std::chrono::milliseconds pause = limits.first_pause;
    for (int attempt = 1;; ++attempt) {
        auto client = std::make_unique<HttpSocketClient>(&errors);
        switch (TryOnce(*client, url, record, limits)) {
            case Attempt::kReady:
                return client;
            case Attempt::kCannotAsk:
                return nullptr;
            case Attempt::kFailed:
                break;
        }
        client.reset();  // closes the failed attempt's socket before the pause
        if (limits.max_attempts > 0 && attempt >= limits.max_attempts) return nullptr;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, limits.max_pause);
    }
}

// Compares the first four bytes as unsigned numbers, shorter texts padded with zeros.
bool IsNewerVersion(const char* received, std::string_view own) {
    unsigned char mine[4] = {0, 0, 0, 0};
    std::memcpy(mine, own.data(), std::min<std::size_t>(own.size(), 4));
    return std::memcmp(received, mine, 4) > 0;
}

// Takes an element's value only when it fit whole: a cut address names something else.
std::string ElementValue(std::string_view body, std::string_view name, std::size_t capacity) {
    char value[kValueSize] = {};
    const int distance = GetElementValue(body, name, value, capacity);
    if (distance < 0 || static_cast<std::size_t>(distance) > capacity) return {};
    return value;
}

void HandOverBannerMovie(UpdateRecord& record, std::string_view path) {
    record.banner_movie.fill('\0');
    const std::size_t n = std::min(path.size(), record.banner_movie.size() - 1);
    std::memcpy(record.banner_movie.data(), path.data(), n);
    record.banner_reload.store(1, std::memory_order_release);
}

void OfferUpdate(std::string_view body, UpdateUi& ui) {
    if (!ui.AskUpdate(std::string(kUpdateCaption), UpdateQuestionText())) return;
    const std::string url = ElementValue(body, "DlUrl", kDlUrlCapacity);
    // The address comes from the network: only web addresses go to the browser.
    if (IsOpenableDownloadUrl(url)) ui.OpenUrl(url);
}

}  // namespace

bool TakeBannerMovie(UpdateRecord& record, std::string& path) {
    int expected = 1;
    if (!record.banner_reload.compare_exchange_strong(expected, 0, std::memory_order_acquire,
                                                      std::memory_order_acquire)) {
        return false;
    }
    const auto& movie = record.banner_movie;
    path.assign(movie.data(), std::find(movie.begin(), movie.end(), '\0') - movie.begin());
    return true;
}

std::optional<ServiceUrl> SplitUrl(std::string_view url) {
    constexpr std::string_view kScheme = "http://";
    if (!StartsWithNoCase(url, kScheme)) return std::nullopt;
    std::string_view rest = url.substr(kScheme.size());
    const std::size_t slash = rest.find('/');
    std::string_view authority = rest.substr(0, slash);
    ServiceUrl out;
    out.path = slash == std::string_view::npos ? "/" : std::string(rest.substr(slash));
    const std::size_t colon = authority.find(':');
    if (colon != std::string_view::npos) {
        const std::string_view digits = authority.substr(colon + 1);
        if (digits.empty() || digits.size() > 5) return std::nullopt;
        int port = 0;
        for (char c : digits) {
            if (c < '0' || c > '9') return std::nullopt;
            port = port * 10 + (c - '0');
        }
        if (port < 1 || port > 65535) return std::nullopt;
        out.port = port;
        authority = authority.substr(0, colon);
    }
    if (authority.empty()) return std::nullopt;
    out.host = std::string(authority);
    return out;
}

bool IsOpenableDownloadUrl(std::string_view url) {
    for (unsigned char c : url) {
        if (c <= 0x20 || c == 0x7f) return false;
    }
    std::string_view rest;
    if (StartsWithNoCase(url, "http://")) {
        rest = url.substr(7);
    } else if (StartsWithNoCase(url, "https://")) {
        rest = url.substr(8);
    } else {
        return false;
    }
    std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
    const std::size_t at = authority.rfind('@');
    if (at != std::string_view::npos) authority = authority.substr(at + 1);
    const std::size_t colon = authority.find(':');
    return !authority.substr(0, colon).empty();
}

std::string UpdateQuestionText() {
    return "有更高版本的工具!更新地址：" + std::string(kDownloadSite) + " 是否更新?";
}

int RunUpdateCheck(UpdateRecord& record, UpdateUi& ui, const UpdateCheckLimits& limits) {
    const std::optional<ServiceUrl> url = SplitUrl(record.service_url);
    if (!url) return 0;
    EachErrorOnce errors(ui);  // outlives the client, which reports through it
    const std::unique_ptr<HttpSocketClient> connection =
        ConnectWithRetry(*url, record, errors, limits);
    if (!connection) return 0;
    HttpSocketClient& client = *connection;

    char value[kValueSize] = {};
    if (client.GetHeaderValue("Correspond_Status", value, kStatusCapacity) < 0 ||
        std::strcmp(value, "OK") != 0) {
        return 0;
    }

    char body[kBodySize] = {};
    const int received = client.ReadBody(body, sizeof body);
    // Only the bytes really received are searched.
    const std::string_view body_text(body, received > 0 ? static_cast<std::size_t>(received) : 0);

    HandOverBannerMovie(record, ElementValue(body_text, "ResUrl", kResUrlCapacity));

    std::memset(value, 0, sizeof value);
    const bool has_version = client.GetHeaderValue("ADS_APP_VER", value, kVersionCapacity) >= 0;
    if (has_version && IsNewerVersion(value, record.version)) OfferUpdate(body_text, ui);
    return 0;
}

int StartUpdateWorker(const std::shared_ptr<UpdateRecord>& record,
                      const std::shared_ptr<UpdateUi>& ui, UpdateCheckLimits limits) {
    if (!record || !ui) return -1;
    try {
        std::thread([record, ui, limits] {
            // The check is an extra: should it fail in a way nothing foresaw (out of memory),
            // the window goes on without it rather than the program ending.
            try {
                (void)RunUpdateCheck(*record, *ui, limits);  // always 0; it reports through `ui`
            } catch (...) {
            }
        }).detach();
    } catch (const std::system_error&) {
        return -1;
    }
    return 0;
}

}  // namespace tirrel
