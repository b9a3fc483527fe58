#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "infofile/infofile.h"
#include "pages/tab_sets.h"

namespace tirrel {
namespace {

struct Expected {
    int dialect;
    std::string type;
    int tab;
    int page;
    int focus;
    std::vector<std::string> keys;
};

std::optional<DispatchRow> Find(int dialect, const std::string& type,
                                const std::string& extra = "") {
    InformationDocument doc =
        InformationDocument::FromBytes("[APP]\r\nTYPE=" + type + "\r\n" + extra);
    return FindDispatchRow(dialect, type, doc);
}

std::vector<std::string> Keys(const DispatchRow& row) {
    std::vector<std::string> keys;
    for (const InfoFieldKey& k : row.keys)
        keys.emplace_back(k.key);
    return keys;
}

TEST(Dispatch, EveryRowOfEveryDialect) {
    const std::vector<std::string> card = {"N",   "TIL", "DIV", "COR", "ADR", "ZIP",
                                           "TEL", "M",   "FAX", "EM",  "URL"};
    const std::vector<std::string> card_no_url(card.begin(), card.end() - 1);
    const Expected rows[] = {
        {100, "CARD", 0, 130, 1012, card},
        {100, "MAIL", 1, 132, 1014, {"TO", "SUB", "TXT"}},
        {100, "SMS", 2, 133, 1015, {"SM", "TXT"}},
        {100, "DTXT", 3, 134, 1015, {"SUB", "TXT"}},
        {100, "PHONE", 4, 151, 1015, {"SUB", "TEL", "M"}},
        {100, "BM", 5, 149, 1015, {"SUB", "URL"}},
        {100, "AD", 7, 147, 1015, {"SUB", "INTR", "DG", "SID", "M"}},
        {101, "CARD", 0, 130, 1012, card_no_url},
        {101, "MAIL", 1, 132, 1014, {"TO", "SUB", "TXT"}},
        {101, "SMS", 2, 133, 1015, {"SM", "TXT"}},
        {101, "DTXT", 3, 134, 1015, {"SUB", "TXT"}},
        {101, "WAD", 4, 135, 1019, {"BN", "INTR", "COD", "ST"}},
        {101, "SAD", 5, 136, 1019, {"BN", "INTR", "DG", "SID", "ST"}},
        {101, "IAD", 6, 137, 1019, {"BN", "INTR", "IVR", "ST"}},
        {102, "CARD", 0, 130, 1012, card},
        {102, "MAIL", 1, 132, 1014, {"TO", "SUB", "TXT"}},
        {102, "SMS", 2, 133, 1015, {"SM", "TXT"}},
        {102, "DTXT", 3, 134, 1015, {"SUB", "TXT"}},
        {102, "BM", 4, 149, 1015, {"SUB", "URL"}},
        {102, "WAD", 5, 135, 1019, {"BN", "INTR", "COD", "ST", "URL"}},
        {102, "SAD", 6, 136, 1019, {"BN", "INTR", "DG", "SID", "ST"}},
        {102, "IAD", 7, 137, 1019, {"BN", "INTR", "IVR", "ST"}},
        {102, "CUSTOM", 8, 143, 1028, {"TEXT"}},
    };
    for (const Expected& e : rows) {
        const std::optional<DispatchRow> row = Find(e.dialect, e.type);
        ASSERT_TRUE(row) << e.dialect << " " << e.type;
        EXPECT_EQ(std::tie(row->tab, row->page, row->focus), std::tie(e.tab, e.page, e.focus))
            << e.dialect << " " << e.type;
        EXPECT_EQ(Keys(*row), e.keys) << e.dialect << " " << e.type;
    }
    EXPECT_EQ(DispatchTable().size(), std::size(rows) + 2);  // plus the two conditional AD rows
}

TEST(Dispatch, EveryTabHasARowThatFillsFieldsOfItsPage) {
    const std::vector<DispatchRow> table = DispatchTable();
    size_t tabs = 0;
    for (const DialectDef& d : AllDialects()) {
        tabs += d.tabs.size();
        for (int i = 0; i < static_cast<int>(d.tabs.size()); ++i) {
            auto row = std::find_if(table.begin(), table.end(), [&](const DispatchRow& r) {
                return r.dialect == d.dialect && r.tab == i;
            });
            ASSERT_NE(row, table.end()) << d.dialect << " tab " << i;
            EXPECT_EQ(row->page, d.tabs[i].page);
            const PageDef& page = PageDefinition(d.tabs[i].page);
            std::set<int> controls;
            for (const InfoFieldKey& k : row->keys) {
                const FieldDef* field = FindFieldByKey(page, k.key);
                EXPECT_TRUE(field && field->id == k.control) << row->type << " " << k.key;
                controls.insert(k.control);
            }
            EXPECT_EQ(controls.size(), row->keys.size()) << row->type;
        }
    }
    EXPECT_EQ(table.size(), tabs);
}

TEST(Dispatch, TheAdRecordChoosesItsPageByItsKeys) {
    const std::optional<DispatchRow> wap = Find(100, "AD", "URL=u\r\nCT=c\r\n");
    ASSERT_TRUE(wap);
    EXPECT_EQ(wap->tab, 6);
    EXPECT_EQ(wap->page, 154);
    EXPECT_EQ(Keys(*wap), (std::vector<std::string>{"SUB", "INTR", "URL", "M"}));
    const std::optional<DispatchRow> ivr = Find(100, "AD", "URL=\r\nCT=c\r\n");
    ASSERT_TRUE(ivr);
    EXPECT_EQ(ivr->tab, 8);
    EXPECT_EQ(ivr->page, 152);
    EXPECT_EQ(Keys(*ivr), (std::vector<std::string>{"SUB", "INTR", "CT", "M"}));
    const std::optional<DispatchRow> sms = Find(100, "AD", "DG=d\r\n");
    ASSERT_TRUE(sms);
    EXPECT_EQ(sms->tab, 7);
    EXPECT_EQ(sms->page, 147);
}

TEST(Dispatch, TypesADialectLacksFindNothing) {
    EXPECT_FALSE(Find(102, "PHONE"));
    EXPECT_FALSE(Find(101, "PHONE"));
    EXPECT_FALSE(Find(101, "BM"));
    EXPECT_FALSE(Find(101, "CUSTOM"));
    EXPECT_FALSE(Find(100, "WAD"));
    EXPECT_FALSE(Find(100, "CUSTOM"));
    EXPECT_FALSE(Find(102, "AD", "URL=x\r\n"));
    EXPECT_FALSE(Find(102, "card"));
    EXPECT_FALSE(Find(102, "Error"));
    EXPECT_FALSE(Find(99, "CARD"));
}

TEST(PlanLoad, SwitchesOnlyForAKnownVersion) {
    auto plan = [](const std::string& bytes, int current) {
        return PlanLoad(InformationDocument::FromBytes(bytes), current);
    };
    LoadPlan card = plan("[APP]\nVERSION=1110\nTYPE=CARD\n", 100);
    EXPECT_TRUE(card.switches_dialect);
    EXPECT_EQ(card.dialect, 102);
    ASSERT_TRUE(card.row);
    EXPECT_EQ(card.row->tab, 0);

    LoadPlan same = plan("[APP]\nVERSION=0120\nTYPE=MAIL\n", 101);
    EXPECT_TRUE(same.switches_dialect);  // the pages are recreated even for the same dialect
    EXPECT_EQ(same.dialect, 101);

    LoadPlan keep = plan("[APP]\nTYPE=MAIL\n", 101);
    EXPECT_FALSE(keep.switches_dialect);
    EXPECT_EQ(keep.dialect, 101);
    ASSERT_TRUE(keep.row);
    EXPECT_EQ(keep.row->page, 132);

    LoadPlan unknown = plan("[APP]\nVERSION=0130\nTYPE=PHONE\n", 100);
    EXPECT_FALSE(unknown.switches_dialect);
    ASSERT_TRUE(unknown.row);
    EXPECT_EQ(unknown.row->page, 151);

    // The caller refuses this one before changing anything: 中国联通 has no phone page.
    LoadPlan refused = plan("[APP]\nVERSION=1110\nTYPE=PHONE\n", 100);
    EXPECT_EQ(refused.dialect, 102);
    EXPECT_FALSE(refused.row);
}

}  // namespace
}  // namespace tirrel
