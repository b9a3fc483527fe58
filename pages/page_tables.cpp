// The thirteen page tables. Rows are in payload order; the order on screen (and the tab order)
// follows the fields' vertical positions. An information file fills a page in payload order
// (the business card) or in screen order (the others), hence the load orders.
#include <array>

#include "pages/page_def.h"

namespace tirrel {
namespace {

constexpr FieldKind kLine = FieldKind::kSingleLine;
constexpr FieldKind kMulti = FieldKind::kMultiLine;

constexpr DialogRect Line(int y) {
    return {53, y, 130, 14};
}

constexpr std::array kCardFields{
    FieldDef{1012, "N", "* 姓名:", kLine, Line(7)},
    FieldDef{1013, "TIL", "职务:", kLine, Line(102)},
    FieldDef{1014, "DIV", "部门:", kLine, Line(124)},
    FieldDef{1015, "COR", "公司:", kLine, Line(148), Escaping::kNoColon},
    FieldDef{1017, "ADR", "地址:", kLine, Line(171)},
    FieldDef{1019, "ZIP", "邮政编码:", kLine, Line(194)},
    FieldDef{1018, "TEL", "固定电话:", kLine, Line(55)},
    FieldDef{1020, "M", "移动电话:", kLine, Line(31)},
    FieldDef{1021, "FAX", "传真:", kLine, Line(217)},
    FieldDef{1016, "EM", "电子邮箱:", kLine, Line(78)},
    FieldDef{1022, "URL", "网址:", kLine, Line(239)},
};
constexpr std::array kCardClear{1015, 1017, 1014, 1016, 1021, 1020, 1012, 1018, 1013, 1019, 1022};
constexpr std::array kCardLoad{1012, 1013, 1014, 1015, 1017, 1019, 1018, 1020, 1021, 1016, 1022};

constexpr std::array kMailFields{
    FieldDef{1014, "TO", "* 收件人:", kLine, Line(7)},
    FieldDef{1015, "SUB", "标题:", kLine, Line(32)},
    FieldDef{1016, "TXT", "正文:", kMulti, {53, 58, 130, 195}},
};
constexpr std::array kMailClear{1015, 1014, 1016};
constexpr std::array kMailLoad{1014, 1015, 1016};

constexpr std::array kSmsFields{
    FieldDef{1015, "SM", "* 收件人:", kLine, Line(7)},
    FieldDef{1016, "TXT", "* 正文:", kMulti, {53, 34, 130, 219}},
};
constexpr std::array kSmsClear{1015, 1016};
constexpr std::array kSmsLoad{1015, 1016};

constexpr std::array kTextFields{
    FieldDef{1015, "SUB", "标题:", kLine, Line(7)},
    FieldDef{1016, "TXT", "* 正文:", kMulti, {53, 33, 130, 220}},
};
constexpr std::array kTextClear{1016, 1015};
constexpr std::array kTextLoad{1015, 1016};

constexpr std::array kBookmarkFields{
    FieldDef{1015, "SUB", "* 标题:", kLine, Line(7)},
    FieldDef{1022, "URL", "* URL:", kMulti, {53, 33, 130, 220}},
};
constexpr std::array kBookmarkClear{1015, 1022};
constexpr std::array kBookmarkLoad{1015, 1022};

constexpr std::array kPhoneFields{
    FieldDef{1018, "TEL", "固定电话:", kLine, Line(51)},
    FieldDef{1015, "SUB", "* 标题:", kLine, Line(18)},
    FieldDef{1020, "M", "移动电话:", kLine, Line(87)},
};
constexpr std::array kPhoneClear{1015, 1018, 1020};
constexpr std::array kPhoneLoad{1015, 1018, 1020};

constexpr std::array kCustomFields{
    FieldDef{1028, "TEXT", "", kMulti, {7, 7, 176, 246}},
};
constexpr std::array kCustomClear{1028};
constexpr std::array kCustomLoad{1028};

constexpr DialogRect kIntro{53, 32, 130, 146};

constexpr std::array kWapServiceFields{
    FieldDef{1018, "ST", "客服电话:", kLine, Line(215)},
    FieldDef{1016, "INTR", "介绍:", kMulti, kIntro},
    FieldDef{1017, "COD", "* 代码:", kLine, Line(189)},
    FieldDef{1019, "BN", "业务名称:", kLine, Line(7)},
    FieldDef{1022, "URL", "URL:", kLine, Line(239)},
};
constexpr std::array kWapServiceClear{1018, 1016, 1017, 1019, 1022};
constexpr std::array kWapServiceLoad{1019, 1016, 1017, 1018, 1022};

constexpr std::array kSmsServiceFields{
    FieldDef{1018, "ST", "客服电话:", kLine, Line(236)},
    FieldDef{1016, "INTR", "介绍:", kMulti, kIntro},
    FieldDef{1021, "SID", "短信代码:", kLine, Line(213)},
    FieldDef{1020, "DG", "订购指令:", kLine, Line(189)},
    FieldDef{1019, "BN", "*业务名称:", kLine, Line(7)},
};
constexpr std::array kSmsServiceClear{1018, 1016, 1021, 1020, 1019};
constexpr std::array kSmsServiceLoad{1019, 1016, 1020, 1021, 1018};

constexpr std::array kIvrServiceFields{
    FieldDef{1018, "ST", "客服电话:", kLine, {58, 215, 125, 14}},
    FieldDef{1016, "INTR", "介绍:", kMulti, {58, 32, 125, 146}},
    FieldDef{1021, "IVR", "*IVR接入号:", kLine, {58, 189, 125, 14}},
    FieldDef{1019, "BN", "业务名称:", kLine, {58, 7, 125, 14}},
};
constexpr std::array kIvrServiceClear{1018, 1016, 1021, 1019};
constexpr std::array kIvrServiceLoad{1019, 1016, 1021, 1018};

constexpr std::array kV1WapFields{
    FieldDef{1015, "SUB", "* 标题:", kLine, Line(7)},
    FieldDef{1016, "INTR", "介绍:", kMulti, kIntro},
    FieldDef{1022, "URL", "* URL:", kLine, Line(189)},
    FieldDef{1020, "M", "移动电话:", kLine, Line(215)},
};
constexpr std::array kV1WapClear{1022, 1016, 1015, 1020};
constexpr std::array kV1WapLoad{1015, 1016, 1022, 1020};

constexpr std::array kV1SmsFields{
    FieldDef{1015, "SUB", "* 标题:", kLine, Line(7)},
    FieldDef{1016, "INTR", "介绍:", kMulti, kIntro},
    FieldDef{1021, "SID", "短信代码:", kLine, Line(213)},
    FieldDef{1020, "DG", "订购指令:", kLine, Line(189)},
    FieldDef{1031, "M", "移动电话:", kLine, Line(236)},
};
constexpr std::array kV1SmsClear{1015, 1016, 1021, 1020, 1031};
constexpr std::array kV1SmsLoad{1015, 1016, 1020, 1021, 1031};

constexpr std::array kV1IvrFields{
    FieldDef{1015, "SUB", "* 标题:", kLine, {51, 9, 125, 14}},
    FieldDef{1016, "INTR", "介绍:", kMulti, {51, 34, 125, 146}},
    FieldDef{1030, "CT", "*联系电话:", kLine, {51, 191, 125, 14}},
    FieldDef{1020, "M", "移动电话:", kLine, {51, 217, 125, 14}},
};
constexpr std::array kV1IvrClear{1015, 1016, 1030, 1020};
constexpr std::array kV1IvrLoad{1015, 1016, 1030, 1020};

using H = HeaderRule;
constexpr bool kUrlFollowsDialect = true;

// In the main window's order of construction.
const std::array kPages{
    PageDef{kCardPage, "CARD", H::kDialect, kCardFields, kCardClear, kCardLoad, 1012, 40,
            kUrlFollowsDialect},
    PageDef{kMailPage, "MAIL", H::kDialect, kMailFields, kMailClear, kMailLoad, 1014, 40},
    PageDef{kSmsPage, "SMS", H::kDialect, kSmsFields, kSmsClear, kSmsLoad, 1015, 40},
    PageDef{kTextPage, "DTXT", H::kDialect, kTextFields, kTextClear, kTextLoad, 1015, 40},
    PageDef{kWapServicePage, "WAD", H::kDialect, kWapServiceFields, kWapServiceClear,
            kWapServiceLoad, 1019, 40, kUrlFollowsDialect},
    PageDef{kSmsServicePage, "SAD", H::kDialect, kSmsServiceFields, kSmsServiceClear,
            kSmsServiceLoad, 1019, 40},
    PageDef{kIvrServicePage, "IAD", H::kDialect, kIvrServiceFields, kIvrServiceClear,
            kIvrServiceLoad, 1019, 50},
    PageDef{kCustomPage, "", H::kRawText, kCustomFields, kCustomClear, kCustomLoad, 1028, 0},
    PageDef{kBookmarkPage, "BM", H::kDialect, kBookmarkFields, kBookmarkClear, kBookmarkLoad, 1015,
            40},
    PageDef{kPhonePage, "PHONE", H::kMobileV1, kPhoneFields, kPhoneClear, kPhoneLoad, 1015, 40},
    PageDef{kV1WapServicePage, "AD", H::kMobileV1, kV1WapFields, kV1WapClear, kV1WapLoad, 1015, 40},
    PageDef{kV1SmsServicePage, "AD", H::kMobileV1, kV1SmsFields, kV1SmsClear, kV1SmsLoad, 1015, 40},
    PageDef{kV1IvrServicePage, "AD", H::kMobileV1, kV1IvrFields, kV1IvrClear, kV1IvrLoad, 1015, 44},
};
static_assert(kPages.size() == kPageCount);

}  // namespace

const PageDef& PageDefinition(PageTemplate id) {
    for (const PageDef& page : kPages) {
        if (page.id == id) return page;
    }
    return kPages[0];  // unreachable for a valid PageTemplate
}

std::span<const PageDef> AllPages() {
    return kPages;
}

const FieldDef* FindField(const PageDef& page, int id) {
    for (const FieldDef& field : page.fields) {
        if (field.id == id) return &field;
    }
    return nullptr;
}

const FieldDef* FindFieldByKey(const PageDef& page, std::string_view key) {
    for (const FieldDef& field : page.fields) {
        if (field.key == key) return &field;
    }
    return nullptr;
}

}  // namespace tirrel
