// Conversion between UTF-8 (what the toolkit and the terminal speak) and GBK (what the
// program keeps inside: payloads, field texts, files). Backed by iconv's "CP936".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tirrel {

// UTF-8 to GBK. Empty optional when the text holds a character GBK cannot represent
// or is not valid UTF-8: nothing is ever silently replaced.
[[nodiscard]] std::optional<std::string> Utf8ToGbk(std::string_view utf8);

// GBK to UTF-8. Bytes that are not valid GBK come out as U+FFFD, so a display never fails.
[[nodiscard]] std::string GbkToUtf8(std::string_view gbk);

// True when every byte belongs to a character GBK decodes (ASCII included): no lone lead
// byte, no bad trail byte, no byte GBK leaves unassigned.
[[nodiscard]] bool IsValidGbk(std::string_view gbk);

// The UTF-8 bytes of the first character GBK cannot represent, or of the first invalid
// UTF-8 sequence; empty when the whole text converts. Lets a face name what it refused.
[[nodiscard]] std::string FirstCharacterGbkCannotHold(std::string_view utf8);

}  // namespace tirrel
