// The content pages as data: every page is one table (its fields in payload order, their keys,
// labels, kinds and geometry, its record type, header rule, clear and load orders and focus
// field), and one generic Page (page.h) walks it. Geometry is in dialog units within the page.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace tirrel {

// Pages are named by their dialog template numbers.
enum PageTemplate : int {
    kCardPage = 130,
    kMailPage = 132,
    kSmsPage = 133,
    kTextPage = 134,
    kWapServicePage = 135,
    kSmsServicePage = 136,
    kIvrServicePage = 137,
    kCustomPage = 143,
    kV1SmsServicePage = 147,
    kBookmarkPage = 149,
    kPhonePage = 151,
    kV1IvrServicePage = 152,
    kV1WapServicePage = 154,
};

struct DialogRect {
    int x, y, width, height;
};

enum class FieldKind { kSingleLine, kMultiLine };

enum class Escaping {
    kFull,     // "%" -> "%%", ";" -> "%;", ":" -> "%:"
    kNoColon,  // the company field: ":" stays bare
};

struct FieldDef {
    int id;                  // control id
    std::string_view key;    // payload and information-file key ("N", "TIL", ...)
    std::string_view label;  // UTF-8; empty for the custom page's one field
    FieldKind kind;
    DialogRect edit;
    Escaping escaping = Escaping::kFull;
};

enum class HeaderRule {
    kDialect,   // the header of the dialect the host reports
    kMobileV1,  // always the 中国移动v1.0 header, without asking the host (phone, v1.0 services)
    kRawText,   // no record at all: the payload is the one field's text (custom page)
};

struct PageDef {
    PageTemplate id;
    std::string_view recordType;  // "CARD", ...; empty for the raw-text page
    HeaderRule header;
    std::span<const FieldDef> fields;  // in payload order
    std::span<const int> clearOrder;   // control ids
    std::span<const int> loadOrder;    // control ids, in the order an information file fills them
    int focusField;                    // control id of the first field
    int labelWidth;                    // dialog units; labels sit at x 7, level with their fields
    bool urlFollowsDialect = false;    // its URL field is enabled only where the dialect says so
};

// The definition of one page; every PageTemplate has one.
[[nodiscard]] const PageDef& PageDefinition(PageTemplate id);

// All pages, in the main window's order of construction.
[[nodiscard]] std::span<const PageDef> AllPages();
inline constexpr size_t kPageCount = 13;

// The field with control id `id` on `page`, or nullptr.
[[nodiscard]] const FieldDef* FindField(const PageDef& page, int id);
[[nodiscard]] const FieldDef* FindFieldByKey(const PageDef& page, std::string_view key);

}  // namespace tirrel
