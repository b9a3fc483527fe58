#include "settings/settings.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <optional>
#include <string_view>
#include <utility>

#include "platform/atomic_file.h"
#include "platform/ini.h"

namespace tirrel {
namespace {

// The characters every UID is a permutation of.
constexpr std::string_view kUidCharacters = "123456789513579";
constexpr size_t kUidLength = kUidCharacters.size();

// Only what MakeUid could have made is sent on: anything else (a line break that would end
// the request header, a cut or padded value, a leading zero) counts as no UID.
bool IsUid(std::string_view text) {
    return text.size() == kUidLength && text.front() != '0' &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int ReadInt(const IniDocument& doc, std::string_view key, int fallback) {
    std::optional<std::string> value = doc.Get(kSettingsSection, key);
    return value ? ParseProfileInt(*value) : fallback;
}

int InRangeOr(int value, int low, int high, int fallback) {
    return (value >= low && value <= high) ? value : fallback;
}

// The generator the identifier has always been made with: seeding sets the state.
class Lcg {
public:
    explicit Lcg(uint32_t seed) : state_(seed) {}
    int Next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }

private:
    uint32_t state_;
};

}  // namespace

std::string SettingsFilePath() {
    return CurrentDirectoryFile(kSettingsFileName);
}

Settings ReadSettings(const std::string& path) {
    Settings s;
    std::optional<IniDocument> loaded = LoadIniFile(path);
    IniDocument doc = loaded ? std::move(*loaded) : IniDocument{};

    s.CodeVersion = InRangeOr(ReadInt(doc, "CodeVersion", 0), 0, 10, 0);
    s.ECCLevel = InRangeOr(ReadInt(doc, "ECCLevel", 0), 0, 4, 0);
    // Both ranges cover every value the print dialog can store; a value outside them
    // would make an empty bitmap, so it falls back to the defaults instead.
    s.CellPitch = InRangeOr(ReadInt(doc, "CellPitch", 4), 1, 20, 4);
    s.QuiteZone = InRangeOr(ReadInt(doc, "QuiteZone", 4), 0, 30, 4);
    s.Default = ReadInt(doc, "Default", 1);
    s.ChineseMode = InRangeOr(ReadInt(doc, "ChineseMode", 0), 0, 1, 0);

    std::optional<std::string> uid = doc.Get(kSettingsSection, "UID");
    s.UidPresent = uid && IsUid(*uid);
    s.UID = s.UidPresent ? *uid : "0";

    std::optional<std::string> url = doc.Get(kSettingsSection, "UpdateUrl");
    s.UpdateUrl = url ? *url : std::string();
    return s;
}

SettingsWriteResult WriteSettings(const std::string& path, const Settings& settings) {
    ReadStatus read;
    std::optional<IniDocument> doc = LoadIniFileForEdit(path, &read);
    if (!doc) return {read, 0};
    const std::pair<const char*, std::string> entries[] = {
        {"CodeVersion", std::to_string(settings.CodeVersion)},
        {"ECCLevel", std::to_string(settings.ECCLevel)},
        {"CellPitch", std::to_string(settings.CellPitch)},
        {"QuiteZone", std::to_string(settings.QuiteZone)},
        {"Default", std::to_string(settings.Default)},
        {"UID", settings.UID},
        {"ChineseMode", std::to_string(settings.ChineseMode)},
    };
    for (const auto& [key, value] : entries) {
        if (doc->Set(kSettingsSection, key, value) != 0) return {{}, EINVAL};  // not one line
    }
    if (SaveIniFile(path, *doc) != 0) return {{}, errno};
    return {};
}

int64_t SystemClockSeconds() {
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

std::string MakeUid(const std::function<int64_t()>& clock) {
    std::string uid(kUidCharacters);
    for (size_t i = 0; i < uid.size(); ++i) {
        Lcg rng(static_cast<uint32_t>(static_cast<uint64_t>(clock()) + i));
        size_t k = static_cast<size_t>(rng.Next() % 15);
        std::swap(uid[i], uid[k]);
    }
    return uid;
}

}  // namespace tirrel
