// The three carrier dialects as data, one row each: code, radio button, payload header,
// information-file version, tab set, page sets (in order of creation and of reset) and whether
// the URL fields that follow the dialect are enabled.
#pragma once

#include <span>
#include <string_view>

#include "pages/dialect.h"
#include "pages/page_def.h"

namespace tirrel {

enum RadioButton : int {
    kRadioMobileV1 = 1009,
    kRadioMobileV2 = 1010,
    kRadioUnicom = 1011,
};

struct Tab {
    std::string_view label;  // UTF-8
    PageTemplate page;
};

struct DialectDef {
    Dialect dialect;
    int radioId;
    std::string_view label;    // UTF-8, the radio button's text
    DialogRect radioRect;      // in the main window
    std::string_view header;   // the two bytes every record payload starts with
    std::string_view version;  // the information file's "VERSION"
    std::span<const Tab> tabs;
    std::span<const PageTemplate> creationOrder;  // the business card page last
    std::span<const PageTemplate> resetOrder;     // pages a reset clears, in order
    bool urlFieldsEnabled;  // of the pages whose URL field follows the dialect
};

// The three dialects in radio-button order; nullptr for an unknown id.
[[nodiscard]] std::span<const DialectDef> AllDialects();
[[nodiscard]] const DialectDef* DialectByRadio(int radioId);
[[nodiscard]] const DialectDef* DialectByCode(int dialect);

// The index of `page` in the dialect's tab set, or -1.
[[nodiscard]] int TabIndexOf(const DialectDef& d, PageTemplate page);

// The control id of the URL field that some dialects disable.
constexpr int kUrlFieldId = 1022;

// Whether a field of `page` is enabled once the dialect has created its pages.
[[nodiscard]] bool FieldEnabledUnder(const DialectDef& d, const PageDef& page, int fieldId);

}  // namespace tirrel
