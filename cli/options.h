// Option parsing shared by the commands: a cursor over the arguments and strict parsers
// for the values they take. Parsers return false (or nothing) on anything malformed.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tirrel::cli {

class ArgCursor {
public:
    explicit ArgCursor(std::span<const std::string_view> args) : args_(args) {}
    bool done() const { return at_ >= args_.size(); }
    std::string_view next() { return args_[at_++]; }
    // The value after an option; nothing when the arguments end.
    std::optional<std::string_view> value() {
        if (done()) return std::nullopt;
        return next();
    }

private:
    std::span<const std::string_view> args_;
    size_t at_ = 0;
};

// A whole decimal integer in int range, optionally signed.
bool ParseInt(std::string_view text, int& out);

// A plain decimal number such as "40" or "25.4": digits with at most one point.
bool ParseDecimal(std::string_view text, double& out);

// "L", "M", "Q", "H" (or lower case) as ECCLevel 0..3, or an ECCLevel number 0..4.
std::optional<int> ParseEccSetting(std::string_view text);

// Pairs of hex digits to bytes; false for an odd count or a non-hex character.
bool ParseHex(std::string_view text, std::string& out);

// Prints "tirrel-cli: <message>" on stderr and returns `code`.
int Fail(int code, const std::string& message);

}  // namespace tirrel::cli
