// The three carrier dialects as data: their radio buttons, tab sets, page sets (in order of
// creation) and which URL fields they enable.
#pragma once

#include <span>
#include <string_view>

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
    int radioId;
    std::string_view label;  // UTF-8, the radio button's text
    int dialect;             // 100, 101, 102
    std::span<const Tab> tabs;
    std::span<const PageTemplate> creationOrder;  // the business card page last
    std::span<const PageTemplate> resetOrder;     // pages a reset clears, in order
    bool urlFieldsEnabled;                        // business card and WAP service URL (1022)
};

// The three dialects in radio-button order; nullptr for an unknown id.
std::span<const DialectDef> AllDialects();
const DialectDef* DialectByRadio(int radioId);
const DialectDef* DialectByCode(int dialect);

// The control id of the URL field that some dialects disable.
constexpr int kUrlFieldId = 1022;

}  // namespace tirrel
