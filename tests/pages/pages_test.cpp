// Payloads of every page: the worked examples byte for byte, escaping, the header rules and the
// order in which Clear hands shrinking payloads to the host.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "pages/page.h"
#include "pages/payload.h"
#include "pages/tab_sets.h"
#include "platform/gbk.h"

namespace tirrel {
namespace {

std::string G(const std::string& utf8) {
    return *Utf8ToGbk(utf8);
}

class RecordingHost : public PageHost {
public:
    void SetPayload(std::string text) override { payloads.push_back(std::move(text)); }
    int GetDialect() const override {
        ++dialectQueries;
        return dialect;
    }
    int dialect = kDialectUnicom;
    mutable int dialectQueries = 0;
    std::vector<std::string> payloads;
};

struct Example {
    PageTemplate page;
    int dialect;
    std::vector<std::pair<int, std::string>> fields;  // control id, UTF-8 text
    std::string header;
    std::string afterHeader;  // UTF-8
};

std::string Fill(const Example& ex, RecordingHost& host) {
    Page page(PageDefinition(ex.page));
    page.CreateWindow();
    page.SetListener(&host);
    host.dialect = ex.dialect;
    for (const auto& [id, text] : ex.fields)
        EXPECT_TRUE(page.EditField(id, G(text)));
    EXPECT_EQ(host.payloads.back(), page.payload());
    return page.payload();
}

TEST(PagePayload, WorkedExamplesComeOutByteForByte) {
    const std::string v1("\x01\x10", 2), v2("\x01\x20", 2), uni("\x11\x10", 2);
    const std::vector<Example> examples = {
        {kCardPage,
         101,
         {{1012, "张三"}, {1015, "北京:一"}, {1020, "123"}, {1016, "a:b"}},
         v2,
         "CARD:N:张三;COR:北京:一;M:123;EM:a%:b;;"},
        {kCardPage, 102, {{1012, "李四"}}, uni, "CARD:N:李四;;"},
        {kCardPage,
         100,
         {{1012, "张三"},
          {1013, "经理"},
          {1014, "一部"},
          {1015, "甲;乙"},
          {1017, "北京"},
          {1019, "100000"},
          {1018, "1"},
          {1020, "2"},
          {1021, "3"},
          {1016, "x%y"},
          {1022, "u"}},
         v1,
         "CARD:N:张三;TIL:经理;DIV:一部;COR:甲%;乙;ADR:北京;ZIP:100000;TEL:1;M:2;FAX:3;EM:x%%y;"
         "URL:u;;"},
        {kMailPage,
         100,
         {{1014, "x"}, {1015, "你好"}, {1016, "a;b"}},
         v1,
         "MAIL:TO:x;SUB:你好;TXT:a%;b;;"},
        {kMailPage,
         101,
         {{1014, "123"}, {1015, "标题"}, {1016, "50%"}},
         v2,
         "MAIL:TO:123;SUB:标题;TXT:50%%;;"},
        {kMailPage, 102, {{1016, "问候"}}, uni, "MAIL:TXT:问候;;"},
        {kTextPage, 100, {{1015, "你好"}, {1016, "张三"}}, v1, "DTXT:SUB:你好;TXT:张三;;"},
        {kTextPage, 101, {{1016, "a;b:c%"}}, v2, "DTXT:TXT:a%;b%:c%%;;"},
        {kBookmarkPage, 102, {{1015, "北京"}, {1022, "a:b/c"}}, uni, "BM:SUB:北京;URL:a%:b/c;;"},
        // The phone page writes the v1.0 header whatever the host reports.
        {kPhonePage,
         102,
         {{1018, "123"}, {1015, "张三"}, {1020, "456"}},
         v1,
         "PHONE:TEL:123;SUB:张三;M:456;;"},
        {kPhonePage, 101, {{1015, "李四"}}, v1, "PHONE:SUB:李四;;"},
        {kCustomPage, 102, {{1028, "abc;d"}}, "", "abc;d"},
        {kSmsPage,
         102,
         {{1015, "555"}, {1016, "Hi: 50%; ok"}},
         uni,
         "SMS:SM:555;TXT:Hi%: 50%%%; ok;;"},
        {kSmsPage, 101, {{1015, "555"}}, v2, "SMS:SM:555;;"},
        {kSmsPage, 100, {{1016, "hello"}}, v1, "SMS:TXT:hello;;"},
        {kWapServicePage,
         102,
         {{1019, "Weather"},
          {1016, "Daily: sun"},
          {1017, "W1"},
          {1018, "555"},
          {1022, "/w?a=1;b=2"}},
         uni,
         "WAD:ST:555;INTR:Daily%: sun;COD:W1;BN:Weather;URL:/w?a=1%;b=2;;"},
        {kSmsServicePage,
         101,
         {{1019, "News"}, {1020, "DY"}, {1021, "555"}},
         v2,
         "SAD:SID:555;DG:DY;BN:News;;"},
        {kIvrServicePage, 102, {{1019, "Music"}, {1021, "555"}}, uni, "IAD:IVR:555;BN:Music;;"},
        {kV1WapServicePage,
         102,
         {{1015, "Shop"}, {1022, "/s;x"}, {1020, "555"}},
         v1,
         "AD:SUB:Shop;URL:/s%;x;M:555;;"},
        {kV1SmsServicePage,
         101,
         {{1015, "Quiz"}, {1020, "A"}, {1021, "555"}, {1031, "556"}},
         v1,
         "AD:SUB:Quiz;SID:555;DG:A;M:556;;"},
        {kV1IvrServicePage,
         102,
         {{1015, "Line: 24h"}, {1030, "555"}, {1020, "556"}},
         v1,
         "AD:SUB:Line%: 24h;CT:555;M:556;;"},
    };
    for (const Example& ex : examples) {
        RecordingHost host;
        EXPECT_EQ(Fill(ex, host), ex.header + G(ex.afterHeader))
            << "page " << ex.page << ": " << ex.afterHeader;
    }
}

TEST(PagePayload, EscapingIsPerCharacterAndInStepOrder) {
    EXPECT_EQ(EscapeField("50%", Escaping::kFull), "50%%");
    EXPECT_EQ(EscapeField("a;b", Escaping::kFull), "a%;b");
    EXPECT_EQ(EscapeField("k:v", Escaping::kFull), "k%:v");
    EXPECT_EQ(EscapeField("%;", Escaping::kFull), "%%%;");
    EXPECT_EQ(EscapeField("%:", Escaping::kFull), "%%%:");
    EXPECT_EQ(EscapeField("%:;", Escaping::kNoColon), "%%:%;");
    // A double-byte character is copied whole, whatever its second byte is.
    EXPECT_EQ(EscapeField(G("北京:"), Escaping::kFull), G("北京") + "%:");
    EXPECT_EQ(EscapeField("\x81\x40 \r\n", Escaping::kFull), "\x81\x40 \r\n");
}

TEST(PagePayload, EmptyPageAsksNoDialectButStillReports) {
    RecordingHost host;
    Page page(PageDefinition(kCardPage));
    page.CreateWindow();
    page.SetListener(&host);
    EXPECT_TRUE(page.EditField(1012, "x"));
    EXPECT_TRUE(page.EditField(1012, ""));
    EXPECT_EQ(host.dialectQueries, 1);
    ASSERT_EQ(host.payloads.size(), 2u);
    EXPECT_EQ(host.payloads[1], "");
    page.Rebuild();  // also the same payload is handed over again
    EXPECT_EQ(host.payloads.size(), 3u);
}

TEST(PagePayload, SpacesAndLineBreaksAreKeptUnescaped) {
    RecordingHost host;
    host.dialect = kDialectMobileV1;
    Page page(PageDefinition(kSmsPage));
    page.CreateWindow();
    page.SetListener(&host);
    EXPECT_TRUE(page.EditField(1016, "  a\r\nb "));
    EXPECT_EQ(page.payload(), std::string("\x01\x10", 2) + "SMS:TXT:  a\r\nb ;;");
}

TEST(PageEdit, TypedLineBreaksBecomeCrLfButAStoredValueKeepsItsBytes) {
    const std::pair<std::string, std::string> cases[] = {
        {"a\nb", "a\r\nb"},       {"a\r\nb", "a\r\nb"},         {"a\rb", "a\r\nb"},
        {"a\n\nb", "a\r\n\r\nb"}, {"\r\r\n\n", "\r\n\r\n\r\n"}, {G("甲\n乙"), G("甲\r\n乙")},
    };
    Page page(PageDefinition(kSmsPage));
    page.CreateWindow();
    for (const auto& [typed, field] : cases) {
        ASSERT_TRUE(page.EditField(1016, typed));
        EXPECT_EQ(page.FieldText(1016), field);
        EXPECT_EQ(page.payload(), std::string("\x11\x10", 2) + "SMS:TXT:" + field + ";;");
    }
    page.SetFieldText(1016, "a\nb\r");
    EXPECT_EQ(page.FieldText(1016), "a\nb\r");
}

TEST(PageClear, EmptiesInTheClearOrderReportingEachShrink) {
    RecordingHost host;
    host.dialect = kDialectUnicom;
    Page page(PageDefinition(kSmsPage));
    page.CreateWindow();
    page.SetListener(&host);
    EXPECT_TRUE(page.EditField(1015, "555"));
    EXPECT_TRUE(page.EditField(1016, "hi"));
    host.payloads.clear();
    page.Clear();
    // Recipient first: the message entry alone, then nothing.
    ASSERT_EQ(host.payloads.size(), 2u);
    EXPECT_EQ(host.payloads[0], std::string("\x11\x10", 2) + "SMS:TXT:hi;;");
    EXPECT_EQ(host.payloads[1], "");
    EXPECT_EQ(page.payload(), "");
    // An empty page raises nothing.
    page.Clear();
    EXPECT_EQ(host.payloads.size(), 2u);
}

TEST(PageClear, CardClearOrderAndDisabledFieldsAreClearedToo) {
    RecordingHost host;
    Page page(PageDefinition(kCardPage));
    page.CreateWindow();
    page.SetListener(&host);
    EXPECT_TRUE(page.EditField(1012, "N"));  // name
    EXPECT_TRUE(page.EditField(1015, "C"));  // company
    EXPECT_TRUE(page.EditField(1022, "U"));  // web address
    page.SetFieldEnabled(1022, false);
    EXPECT_FALSE(page.EditField(1022, "typed"));  // a disabled field takes no input
    host.payloads.clear();
    page.Clear();
    // Company goes first, then name, web address last.
    ASSERT_EQ(host.payloads.size(), 3u);
    EXPECT_EQ(host.payloads[0], std::string("\x11\x10", 2) + "CARD:N:N;URL:U;;");
    EXPECT_EQ(host.payloads[1], std::string("\x11\x10", 2) + "CARD:URL:U;;");
    EXPECT_EQ(host.payloads[2], "");
}

TEST(PageTables, EveryPageIsConsistent) {
    std::set<int> pages;
    for (const PageDef& def : AllPages()) {
        const PageTemplate id = def.id;
        EXPECT_EQ(&PageDefinition(id), &def);
        pages.insert(id);
        std::set<int> ids, cleared(def.clearOrder.begin(), def.clearOrder.end()),
            loaded(def.loadOrder.begin(), def.loadOrder.end());
        for (const FieldDef& f : def.fields)
            ids.insert(f.id);
        EXPECT_EQ(ids.size(), def.fields.size()) << id;
        EXPECT_EQ(cleared, ids) << "every field is cleared once on page " << id;
        EXPECT_EQ(def.clearOrder.size(), ids.size()) << id;
        EXPECT_EQ(loaded, ids) << "every field is loaded once on page " << id;
        EXPECT_EQ(def.loadOrder.size(), ids.size()) << id;
        EXPECT_NE(FindField(def, def.focusField), nullptr) << id;
    }
    EXPECT_EQ(pages.size(), kPageCount);
}

TEST(TabSets, DialectsOfferTheirTabs) {
    ASSERT_EQ(AllDialects().size(), 3u);
    EXPECT_EQ(DialectByRadio(kRadioMobileV1)->tabs.size(), 9u);
    EXPECT_EQ(DialectByRadio(kRadioMobileV2)->tabs.size(), 7u);
    EXPECT_EQ(DialectByRadio(kRadioUnicom)->tabs.size(), 9u);
    EXPECT_EQ(DialectByRadio(kRadioUnicom)->tabs[8].page, kCustomPage);
    EXPECT_EQ(DialectByRadio(kRadioMobileV1)->tabs[6].page, kV1WapServicePage);
    EXPECT_EQ(DialectByRadio(kRadioMobileV2)->tabs[4].page, kWapServicePage);
    std::set<int> codes, radios;
    std::set<std::string_view> headers, versions;
    for (const DialectDef& d : AllDialects()) {
        codes.insert(d.dialect);
        radios.insert(d.radioId);
        headers.insert(d.header);
        versions.insert(d.version);
        EXPECT_EQ(d.header.size(), 2u);
        EXPECT_EQ(DialectByCode(d.dialect), &d);
        EXPECT_EQ(DialectByRadio(d.radioId), &d);
        // The page set is the tab set; the business card page is created last.
        std::set<int> tabs, created(d.creationOrder.begin(), d.creationOrder.end());
        for (const Tab& t : d.tabs)
            tabs.insert(t.page);
        EXPECT_EQ(tabs, created);
        EXPECT_EQ(d.creationOrder.back(), kCardPage);
        EXPECT_EQ(std::set<int>(d.resetOrder.begin(), d.resetOrder.end()), tabs);
    }
    EXPECT_EQ(codes.size(), 3u);
    EXPECT_EQ(radios.size(), 3u);
    EXPECT_EQ(headers.size(), 3u);
    EXPECT_EQ(versions.size(), 3u);
}

}  // namespace
}  // namespace tirrel
