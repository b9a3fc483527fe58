#include "cli/options.h"

#include <charconv>
#include <cstdio>

namespace tirrel::cli {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool ParseInt(std::string_view text, int& out) {
    if (!text.empty() && text[0] == '+') text.remove_prefix(1);
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end;
}

bool ParseDecimal(std::string_view text, double& out) {
    // from_chars would also take "inf" and "nan".
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string_view::npos ||
        text.find('.') != text.rfind('.') || text == ".")
        return false;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, out, std::chars_format::fixed);
    return ec == std::errc() && ptr == end;
}

std::optional<int> ParseEccSetting(std::string_view text) {
    static constexpr std::string_view kLetters = "LMQH";
    if (text.size() == 1) {
        const char upper = (text[0] >= 'a' && text[0] <= 'z') ? char(text[0] - 32) : text[0];
        const size_t at = kLetters.find(upper);
        if (at != std::string_view::npos) return int(at);
    }
    int number = 0;
    if (ParseInt(text, number) && number >= 0 && number <= 4) return number;
    return std::nullopt;
}

bool ParseHex(std::string_view text, std::string& out) {
    if (text.size() % 2 != 0) return false;
    out.clear();
    out.reserve(text.size() / 2);
    for (size_t i = 0; i < text.size(); i += 2) {
        const int hi = HexValue(text[i]), lo = HexValue(text[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out += char(hi * 16 + lo);
    }
    return true;
}

std::optional<int> WholeNumber(const std::string& text) {
    int n = 0;
    if (!ParseInt(text, n)) return std::nullopt;
    return n;
}

int Fail(int code, const std::string& message) {
    std::fprintf(stderr, "tirrel-cli: %s\n", message.c_str());
    return code;
}

}  // namespace tirrel::cli
