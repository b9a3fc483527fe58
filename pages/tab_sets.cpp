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

const std::array kDialects{
    DialectDef{kRadioMobileV1, "中国移动v1.0", 100, kMobileV1Tabs, kMobileV1Creation,
               kMobileV1Reset, true},
    DialectDef{kRadioMobileV2, "中国移动v2.0", 101, kMobileV2Tabs, kMobileV2Creation,
               kMobileV2Reset, false},
    DialectDef{kRadioUnicom, "中国联通", 102, kUnicomTabs, kUnicomCreation, kUnicomReset, true},
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

}  // namespace tirrel
