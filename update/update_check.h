// The start-up update check: one request to the ad/update service on a worker thread, the
// banner movie address handed to the window through a release/acquire flag, and the offer to
// open a download page when the service knows a newer version.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "update/http_socket_client.h"

namespace tirrel {

inline constexpr std::string_view kAppVersion = "0.9";
inline constexpr std::string_view kDefaultUpdateUrl =
    "http://update.tirrel.cn/KestrionServer/AdsUpdate";
inline constexpr std::string_view kDownloadSite = "http://www.tirrel.cn/download";
inline constexpr std::string_view kUpdateCaption = "Orlinde二维码生成工具更新提示";

// What the worker needs from the toolkit. Every call comes from the worker thread: an
// implementation shows its boxes on the UI thread and blocks only the worker until answered.
class UpdateUi : public ErrorUi {
public:
    // ShowError (inherited): caption "错误", OK button.
    // A question with OK and Cancel and the question icon, no owner window; true for OK.
    virtual bool AskUpdate(const std::string& caption, const std::string& text) = 0;
    // Opens an http:// or https:// address in the browser; the result is not looked at.
    virtual void OpenUrl(const std::string& url) = 0;
};

// Shared by the window and the worker (std::shared_ptr), so a window that closes while the
// worker waits never leaves it writing to freed memory. The first three fields are written
// before the worker starts and only read afterwards.
struct UpdateRecord {
    static constexpr std::size_t kBannerMovieSize = 512;

    std::string service_url{kDefaultUpdateUrl};  // settings key UpdateUrl overrides it
    std::string version{kAppVersion};
    std::string uid;
    // Written once by the worker, then banner_reload is stored as 1 (release).
    std::array<char, kBannerMovieSize> banner_movie{};
    std::atomic<int> banner_reload{0};
};

// For painting: when the worker has handed over a movie (flag 1), clears the flag and gives
// the path (possibly empty). False when there is nothing new.
[[nodiscard]] bool TakeBannerMovie(UpdateRecord& record, std::string& path);

struct ServiceUrl {
    std::string host;
    int port = 80;  // parsed but never used to connect
    std::string path;
};

// "http://host[:port][/path]"; no path gives "/". Empty optional for anything else.
[[nodiscard]] std::optional<ServiceUrl> SplitUrl(std::string_view url);

// True for an http:// or https:// address with a non-empty host and no blanks or control
// bytes: the only kind of download address the worker hands to the browser.
[[nodiscard]] bool IsOpenableDownloadUrl(std::string_view url);

// The text of the update question.
[[nodiscard]] std::string UpdateQuestionText();

// How long the worker waits, and what it asks the system. The defaults are the program's; tests
// bound them.
struct UpdateCheckLimits {
    int max_attempts = 0;  // attempts to reach the service; 0 = until one succeeds
    std::chrono::milliseconds first_pause{2000};
    std::chrono::milliseconds max_pause{5 * 60 * 1000};
    int header_time_limit_ms = HttpSocketClient::kHeaderTimeLimitMs;
    int body_timeout_ms = 10000;
    int port = 80;
    ProtocolLookup protocol_lookup = LookUpProtocol;
};

// One update check, start to finish, on the calling thread. Returns 0.
[[nodiscard]] int RunUpdateCheck(UpdateRecord& record, UpdateUi& ui,
                                 const UpdateCheckLimits& limits = {});

// Starts RunUpdateCheck on one detached thread holding its own references; nobody waits for
// it. Returns 0, or -1 when no thread could be started.
[[nodiscard]] int StartUpdateWorker(const std::shared_ptr<UpdateRecord>& record,
                                    const std::shared_ptr<UpdateUi>& ui,
                                    UpdateCheckLimits limits = {});

}  // namespace tirrel
