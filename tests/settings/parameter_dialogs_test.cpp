#include "settings/parameter_dialogs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tirrel {
namespace {

// Records every call the dialogs make, in order.
class RecordingHost : public SymbolSettings {
public:
    void SetCodeVersion(int v) override { Log("SetCodeVersion", v), version = v; }
    void SetECCLevel(int v) override { Log("SetECCLevel", v), level = v; }
    void SetCellPitch(int v) override { Log("SetCellPitch", v), pitch = v; }
    void SetQuietZone(int v) override { Log("SetQuietZone", v), zone = v; }
    int GetCodeVersion() const override { return version; }
    int GetECCLevel() const override { return level; }
    int GetCellPitch() const override { return pitch; }
    int GetQuietZone() const override { return zone; }

    void Log(const std::string& what, int v) { Log(what + " " + std::to_string(v)); }
    void Log(const std::string& what) { calls.push_back(what); }

    int version = 0, level = 0, pitch = 4, zone = 4;
    std::vector<std::string> calls;
};

class Dialogs : public ::testing::Test {
protected:
    std::function<void()> Regenerate() {
        return [this] { host_.Log("Generate"); };
    }
    std::string_view Shown(const ParameterDialogModel& m, size_t list) {
        int i = m.Selected(list);
        return i < 0 ? "<none>" : m.spec().lists[list].items[static_cast<size_t>(i)];
    }

    RecordingHost host_;
    ParameterDialogModel version_{VersionDialogSpec()};
    ParameterDialogModel print_{PrintDialogSpec()};
};

TEST_F(Dialogs, TextsAndItems) {
    const ParameterDialogSpec& v = VersionDialogSpec();
    EXPECT_EQ(v.title, "设置图片版本信息");
    EXPECT_EQ(v.lists[0].label, "条码版本：");
    ASSERT_EQ(v.lists[0].items.size(), 11u);
    EXPECT_EQ(v.lists[0].items[0], "自动");
    EXPECT_EQ(v.lists[0].items[10], "10");
    EXPECT_EQ(v.lists[1].label, "条码纠错级别：");
    ASSERT_EQ(v.lists[1].items.size(), 5u);
    EXPECT_EQ(v.lists[1].items[0], "L    (7%)");
    EXPECT_EQ(v.lists[1].items[4], "");

    const ParameterDialogSpec& p = PrintDialogSpec();
    EXPECT_EQ(p.title, "设置打印参数");
    EXPECT_EQ(p.lists[0].label, "空白区模块数：");
    EXPECT_EQ(p.lists[1].label, "条码模块像素数：");
    // Every item of the print dialog stores the number it shows.
    for (const ParameterList& list : p.lists) {
        for (size_t i = 0; i < list.items.size(); ++i) {
            EXPECT_EQ(std::string(list.items[i]), std::to_string(list.values[i]));
        }
    }
    EXPECT_EQ(p.lists[0].items.size(), 14u);
    EXPECT_EQ(p.lists[1].items.size(), 17u);
    EXPECT_EQ(kDialogOkText, "确定");
    EXPECT_EQ(kDialogCancelText, "取消");
}

TEST_F(Dialogs, OpenWithDefaults) {
    version_.Open(host_);
    print_.Open(host_);
    EXPECT_EQ(Shown(version_, 0), "自动");
    EXPECT_EQ(Shown(version_, 1), "L    (7%)");
    EXPECT_EQ(Shown(print_, 0), "4");
    EXPECT_EQ(Shown(print_, 1), "4");
    EXPECT_TRUE(host_.calls.empty());
}

TEST_F(Dialogs, ValuesNoItemShowsLeaveNoSelection) {
    host_.version = 11;
    host_.level = -1;
    host_.zone = 11;  // between "10" and "12"
    host_.pitch = 3;  // below "4"
    version_.Open(host_);
    print_.Open(host_);
    EXPECT_EQ(version_.Selected(0), -1);
    EXPECT_EQ(version_.Selected(1), -1);
    EXPECT_EQ(print_.Selected(0), -1);
    EXPECT_EQ(print_.Selected(1), -1);

    // OK without a choice keeps both values and still regenerates.
    print_.Accept(host_, Regenerate());
    EXPECT_EQ(host_.calls, std::vector<std::string>{"Generate"});
    EXPECT_EQ(host_.zone, 11);
    EXPECT_EQ(host_.pitch, 3);
}

TEST_F(Dialogs, VersionOkCallsSettersInOrderThenRegenerates) {
    version_.Open(host_);
    version_.Select(0, 7);
    version_.Select(1, 2);
    version_.Accept(host_, Regenerate());
    EXPECT_EQ(host_.calls,
              (std::vector<std::string>{"SetCodeVersion 7", "SetECCLevel 2", "Generate"}));
}

TEST_F(Dialogs, EmptyFifthLevelStoresFourAndReopensOnIt) {
    version_.Open(host_);
    version_.Select(1, 4);
    version_.Accept(host_, Regenerate());
    EXPECT_EQ(host_.level, 4);
    ParameterDialogModel again(VersionDialogSpec());
    again.Open(host_);
    EXPECT_EQ(again.Selected(1), 4);
    EXPECT_EQ(Shown(again, 1), "");
}

TEST_F(Dialogs, PrintOkStoresTheShownNumbersUpperListFirst) {
    print_.Open(host_);
    print_.Select(0, 13);  // "30"
    print_.Select(1, 16);  // "20"
    print_.Accept(host_, Regenerate());
    EXPECT_EQ(host_.calls,
              (std::vector<std::string>{"SetQuietZone 30", "SetCellPitch 20", "Generate"}));
    EXPECT_EQ(host_.zone, 30);
    EXPECT_EQ(host_.pitch, 20);

    host_.calls.clear();
    ParameterDialogModel again(PrintDialogSpec());
    again.Open(host_);
    EXPECT_EQ(Shown(again, 0), "30");
    EXPECT_EQ(Shown(again, 1), "20");
    again.Select(0, 9);   // "12" stores 12
    again.Select(1, 99);  // out of the list: no selection, value kept
    again.Accept(host_, Regenerate());
    EXPECT_EQ(host_.calls, (std::vector<std::string>{"SetQuietZone 12", "Generate"}));
    EXPECT_EQ(host_.pitch, 20);
}

TEST_F(Dialogs, CancelChangesNothing) {
    print_.Open(host_);
    print_.Select(0, 0);
    print_.Select(1, 0);
    version_.Open(host_);
    version_.Select(0, 3);
    // Cancel: the dialogs are dropped without Accept.
    EXPECT_TRUE(host_.calls.empty());
    EXPECT_EQ(host_.zone, 4);
    EXPECT_EQ(host_.pitch, 4);
    EXPECT_EQ(host_.version, 0);
}

}  // namespace
}  // namespace tirrel
