// The payload grammar every record page shares:
//   header(2 bytes) TYPE ":" { KEY ":" escaped-text ";" } ";"
// with the field escaping "%" -> "%%", then ";" -> "%;", then ":" -> "%:".
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "pages/page_def.h"
#include "pages/page_host.h"

namespace tirrel {

// The two header bytes of a dialect code; any other code gets the 中国联通 header, which is what
// the main window reports unless told otherwise.
[[nodiscard]] std::string_view DialectHeader(int dialect);

// Applies the escaping steps to GBK text, character by character (a double-byte character is
// copied whole and never escaped).
[[nodiscard]] std::string EscapeField(std::string_view text, Escaping escaping);

// Builds a page's payload from its field texts (parallel to page.fields). The host is asked for
// the dialect only when a record is built under HeaderRule::kDialect.
[[nodiscard]] std::string BuildPayload(const PageDef& page, std::span<const std::string> texts,
                                       const PageHost* host);

// Length in bytes of the GBK character starting at text[i] (1 or 2; 1 for a lone lead byte
// at the end).
[[nodiscard]] inline size_t GbkCharLength(std::string_view text, size_t i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    return (c >= 0x81 && c <= 0xFE && i + 1 < text.size()) ? 2 : 1;
}

}  // namespace tirrel
