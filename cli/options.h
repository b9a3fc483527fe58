// Option parsing shared by the commands: strict parsers for the values they take (false or
// nothing on anything malformed), and the glue that puts them behind CLI11 options.
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tirrel::cli {

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

// An option whose one value `parse` (string -> optional) turns into `into`; a value it refuses
// fails the parse with "NAME: takes TAKES, not 'VALUE'".
template <class T, class Parse>
CLI::Option* AddParsed(CLI::App& app, const std::string& name, T& into, Parse parse,
                       const std::string& takes, const std::string& description) {
    auto set = [&into, parse, name, takes](const std::string& value) {
        auto parsed = parse(value);
        if (!parsed) throw CLI::ValidationError(name, "takes " + takes + ", not '" + value + "'");
        into = std::move(*parsed);
    };
    return app.add_option_function<std::string>(name, set, description)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

// ParseInt as an optional, for AddParsed.
std::optional<int> WholeNumber(const std::string& text);

}  // namespace tirrel::cli
