#include "pages/tab_sets.h"

#include <array>

namespace tirrel {
namespace {

constexpr std::array kMobileV1Tabs{
    Tab{"名片", kCardPage},
    Tab{"邮件", kMailPage},
    Tab{"短信", kSmsPage},
    Tab{"文本", kTextPage},
    Tab{"电话", kPhonePage},
    Tab{"书签", kBookmarkPage},
    Tab{"WAP业务", kV1WapServicePage},
    Tab{"SMS业务", kV1SmsServicePage},
    Tab{"IVR业务", kV1IvrServicePage},
};
constexpr std::array kMobileV2Tabs{
    Tab{"名片", kCardPage},          Tab{"邮件", kMailPage},
    Tab{"短信", kSmsPage},           Tab{"文本", kTextPage},
    Tab{"WAP业务", kWapServicePage}, Tab{"SMS业务", kSmsServicePage},
    Tab{"IVR业务", kIvrServicePage},
};
constexpr std::array kUnicomTabs{
    Tab{"名片", kCardPage},          Tab{"邮件", kMailPage},
    Tab{"短信", kSmsPage},           Tab{"文本", kTextPage},
    Tab{"书签", kBookmarkPage},      Tab{"WAP业务", kWapServicePage},
    Tab{"SMS业务", kSmsServicePage}, Tab{"IVR业务", kIvrServicePage},
    Tab{"自定义", kCustomPage},
};

constexpr std::array kMobileV1Creation{kMailPage,         kSmsPage,          kTextPage,
                                       kBookmarkPage,     kPhonePage,        kV1WapServicePage,
                                       kV1SmsServicePage, kV1IvrServicePage, kCardPage};
constexpr std::array kMobileV2Creation{kMailPage,       kSmsPage,        kTextPage, kWapServicePage,
                                       kSmsServicePage, kIvrServicePage, kCardPage};
constexpr std::array kUnicomCreation{kMailPage,       kSmsPage,        kTextPage,
                                     kWapServicePage, kSmsServicePage, kIvrServicePage,
                                     kCustomPage,     kBookmarkPage,   kCardPage};

constexpr std::array kMobileV1Reset{kCardPage,         kMailPage,         kSmsPage,
                                    kTextPage,         kBookmarkPage,     kPhonePage,
                                    kV1WapServicePage, kV1SmsServicePage, kV1IvrServicePage};
constexpr std::array kMobileV2Reset{kCardPage,       kMailPage,       kSmsPage,       kTextPage,
                                    kWapServicePage, kSmsServicePage, kIvrServicePage};
constexpr std::array kUnicomReset{kCardPage,       kMailPage,       kSmsPage,
                                  kTextPage,       kWapServicePage, kSmsServicePage,
                                  kIvrServicePage, kBookmarkPage,   kCustomPage};

using namespace std::string_view_literals;

const std::array kDialects{
    DialectDef{.dialect = kDialectMobileV1,
               .radioId = kRadioMobileV1,
               .label = "中国移动v1.0",
               .radioRect = {7, 60, 65, 10},
               .header = "\x01\x10"sv,
               .version = "0110",
               .tabs = kMobileV1Tabs,
               .creationOrder = kMobileV1Creation,
               .resetOrder = kMobileV1Reset,
               .urlFieldsEnabled = true},
    DialectDef{.dialect = kDialectMobileV2,
               .radioId = kRadioMobileV2,
               .label = "中国移动v2.0",
               .radioRect = {80, 60, 65, 10},
               .header = "\x01\x20"sv,
               .version = "0120",
               .tabs = kMobileV2Tabs,
               .creationOrder = kMobileV2Creation,
               .resetOrder = kMobileV2Reset,
               .urlFieldsEnabled = false},
    DialectDef{.dialect = kDialectUnicom,
               .radioId = kRadioUnicom,
               .label = "中国联通",
               .radioRect = {155, 60, 48, 10},
               .header = "\x11\x10"sv,
               .version = "1110",
               .tabs = kUnicomTabs,
               .creationOrder = kUnicomCreation,
               .resetOrder = kUnicomReset,
               .urlFieldsEnabled = true},
};

}  // namespace

std::span<const DialectDef> AllDialects() {
    return kDialects;
}

const DialectDef* DialectByRadio(int radioId) {
    for (const DialectDef& d : kDialects) {
        if (d.radioId == radioId) return &d;
    }
    return nullptr;
}

const DialectDef* DialectByCode(int dialect) {
    for (const DialectDef& d : kDialects) {
        if (d.dialect == dialect) return &d;
    }
    return nullptr;
}

int TabIndexOf(const DialectDef& d, PageTemplate page) {
    for (size_t i = 0; i < d.tabs.size(); ++i) {
        if (d.tabs[i].page == page) return static_cast<int>(i);
    }
    return -1;
}

bool FieldEnabledUnder(const DialectDef& d, const PageDef& page, int fieldId) {
    return fieldId != kUrlFieldId || !page.urlFollowsDialect || d.urlFieldsEnabled;
}

}  // namespace tirrel
