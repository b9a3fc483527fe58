// Saving what was typed and loading it back, through the main window.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/main_window.h"
#include "app/messages.h"
#include "fake_ui.h"
#include "platform/atomic_file.h"
#include "platform/gbk.h"
#include "platform/hostile_files.h"
#include "platform/temp_dir.h"

namespace tirrel {
namespace {

using testing::FakeUi;

std::string G(const std::string& utf8) {
    return *Utf8ToGbk(utf8);
}

class InformationFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.Initialise();
        window.OnShown();
    }
    std::string Path(const std::string& name) { return dir_.File(name); }
    std::string Read(const std::string& name) {
        std::string bytes;
        (void)ReadWholeFile(Path(name), bytes);  // no file reads as nothing
        return bytes;
    }
    void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }

    testing::TempDir dir_;
    FakeUi ui;
    MainWindow window{ui};
};

TEST_F(InformationFileTest, SavesTheDecodedPayloadOfTheCheckedDialect) {
    window.OnDialectChosen(kRadioMobileV1);
    window.EditField(kCardPage, 1012, G("张三"));
    window.EditField(kCardPage, 1015, G("甲;乙"));
    window.EditField(kCardPage, 1022, "a:b");
    ui.paths.push_back(Path("card.sig"));
    window.SaveInformationFile();
    EXPECT_EQ(ui.dialogs, std::vector<std::string>{"SIG file(*.sig)"});
    EXPECT_EQ(Read("card.sig"),
              G("[APP]\r\nVERSION=0110\r\nTYPE=CARD\r\nN=张三\r\nCOR=甲;乙\r\nURL=a:b\r\n"));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(InformationFileTest, NothingToSaveAfterATabClickOrADialectChoice) {
    window.SaveInformationFile();
    window.EditField(kCardPage, 1012, "x");
    window.OnDialectChosen(kRadioUnicom);  // the preview survives, the payload does not
    window.SaveInformationFile();
    EXPECT_EQ(ui.messages, std::vector<std::string>(2, std::string(kMsgNothingToSave)));
    EXPECT_TRUE(ui.dialogs.empty());
}

TEST_F(InformationFileTest, RoundTripRestoresEveryFieldAndThePayload) {
    window.ClickTab(5);  // WAP service under 中国联通
    const std::string intro = G("第一行\r\n\"第二行\" 50%;a:b\\") + "\x9c\x5c";
    window.EditField(kWapServicePage, 1016, intro);
    window.EditField(kWapServicePage, 1019, " Weather ");
    window.EditField(kWapServicePage, 1022, "/w?a=1;b=2");
    const std::string payload = window.payload();
    ASSERT_EQ(window.WriteInformationFile(Path("wad.sig")), 0);

    window.OnDialectChosen(kRadioMobileV1);  // somewhere else entirely
    ASSERT_EQ(window.ReadInformationFile(Path("wad.sig")), 0);
    EXPECT_EQ(window.checkedRadio(), kRadioUnicom);
    EXPECT_EQ(window.selectedTab(), 5);
    EXPECT_EQ(window.currentTab(), 5);
    EXPECT_EQ(window.currentPage()->id(), kWapServicePage);
    EXPECT_EQ(window.page(kWapServicePage).FieldText(1016), intro);
    EXPECT_EQ(window.page(kWapServicePage).FieldText(1019), " Weather ");
    EXPECT_EQ(window.payload(), payload);
    EXPECT_TRUE(window.PreviewPainted());
    EXPECT_EQ(ui.focus, std::make_pair(int(kWapServicePage), 1019));
}

TEST_F(InformationFileTest, CustomTextIsSavedRawAndComesBackToTheCustomTab) {
    window.ClickTab(8);
    window.EditField(kCustomPage, 1028, "a;b:c%");
    ASSERT_EQ(window.WriteInformationFile(Path("c.sig")), 0);
    EXPECT_EQ(Read("c.sig"), "[APP]\r\nVERSION=1110\r\nTYPE=CUSTOM\r\nTEXT=a;b:c%\r\n");
    window.ClickTab(0);
    ASSERT_EQ(window.ReadInformationFile(Path("c.sig")), 0);
    EXPECT_EQ(window.currentPage()->id(), kCustomPage);
    EXPECT_EQ(window.payload(), "a;b:c%");
    // A one-byte custom text is not mistaken for a record header.
    window.EditField(kCustomPage, 1028, "x");
    ASSERT_EQ(window.WriteInformationFile(Path("x.sig")), 0);
    EXPECT_EQ(Read("x.sig"), "[APP]\r\nVERSION=1110\r\nTYPE=CUSTOM\r\nTEXT=x\r\n");
}

TEST_F(InformationFileTest, AdRecordsChooseTheirPageByTheirKeys) {
    Write("ivr.sig", "[APP]\r\nVERSION=0110\r\nTYPE=AD\r\nSUB=t\r\nCT=555\r\n");
    ASSERT_EQ(window.ReadInformationFile(Path("ivr.sig")), 0);
    EXPECT_EQ(window.currentPage()->id(), kV1IvrServicePage);
    EXPECT_EQ(window.currentTab(), 8);
    Write("sms.sig", "[APP]\r\nVERSION=0110\r\nTYPE=AD\r\nSUB=t\r\nDG=A\r\n");
    ASSERT_EQ(window.ReadInformationFile(Path("sms.sig")), 0);
    EXPECT_EQ(window.currentPage()->id(), kV1SmsServicePage);
    EXPECT_EQ(window.payload(), std::string("\x01\x10", 2) + "AD:SUB:t;DG:A;;");
}

TEST_F(InformationFileTest, AFileWithoutVersionLoadsIntoTheCheckedDialectKeepingOtherPages) {
    window.EditField(kCardPage, 1012, "kept");
    Write("mail.sig", "[APP]\r\nTYPE=MAIL\r\nTO=x\r\n");
    ASSERT_EQ(window.ReadInformationFile(Path("mail.sig")), 0);
    EXPECT_EQ(window.currentPage()->id(), kMailPage);
    EXPECT_EQ(window.page(kCardPage).FieldText(1012), "kept");
    EXPECT_FALSE(window.page(kCardPage).visible());
}

TEST_F(InformationFileTest, AFileNamedAtStartLoadsWhenTheWindowFirstShows) {
    Write("ivr.sig", "[APP]\r\nVERSION=0110\r\nTYPE=AD\r\nSUB=t\r\nCT=555\r\n");
    struct Case {
        const char* file;
        PageTemplate shown;
        std::vector<std::string> messages;
    } cases[] = {
        {"ivr.sig", kV1IvrServicePage, {}},
        {"missing.sig", kCardPage, {std::string(kMsgLoadError)}},
    };
    for (const Case& c : cases) {
        FakeUi startUi;
        MainWindowOptions options;
        options.informationFile = Path(c.file);
        MainWindow started(startUi, std::move(options));
        started.Initialise();
        started.OnShown();
        EXPECT_EQ(started.currentPage()->id(), c.shown) << c.file;
        EXPECT_EQ(startUi.messages, c.messages) << c.file;
        started.OnShown();  // shown again: nothing is loaded twice
        EXPECT_EQ(startUi.messages, c.messages) << c.file;
    }
}

TEST_F(InformationFileTest, ARefusedFileChangesNothing) {
    window.EditField(kCardPage, 1012, "typed");
    const std::string payload = window.payload();
    Write("phone.sig", "[APP]\r\nVERSION=1110\r\nTYPE=PHONE\r\nSUB=x\r\n");  // no phone page
    Write("garbage.sig", std::string("\x00\xff[APP\r\n=\x01", 10) + std::string(1 << 20, 'x'));
    EXPECT_EQ(window.ReadInformationFile(Path("phone.sig")), -1);
    EXPECT_EQ(window.ReadInformationFile(Path("garbage.sig")), -1);
    EXPECT_EQ(window.ReadInformationFile(Path("missing.sig")), -1);
    EXPECT_EQ(ui.messages, std::vector<std::string>(3, std::string(kMsgLoadError)));
    EXPECT_EQ(window.page(kCardPage).FieldText(1012), "typed");
    EXPECT_EQ(window.payload(), payload);
    EXPECT_TRUE(window.PreviewPainted());
}

// What a refused load must leave as it was: the dialect, the pages and their fields, the
// payload and the preview, with the load message shown once.
class RefusedLoad : public InformationFileTest {
protected:
    void Type() {
        window.EditField(kCardPage, 1012, "typed");
        payload_ = window.payload();
    }
    void ExpectNothingChanged(const std::string& what) {
        EXPECT_EQ(ui.messages, std::vector<std::string>{std::string(kMsgLoadError)}) << what;
        EXPECT_EQ(window.checkedRadio(), kRadioUnicom) << what;
        EXPECT_EQ(window.currentPage()->id(), kCardPage) << what;
        EXPECT_EQ(window.page(kCardPage).FieldText(1012), "typed") << what;
        EXPECT_EQ(window.page(kTextPage).FieldText(1015), "") << what;
        EXPECT_EQ(window.payload(), payload_) << what;
        EXPECT_TRUE(window.PreviewPainted()) << what;
    }
    std::string payload_;
};

// Each would switch to 中国移动v1.0 and fill its text page, were its values loadable.
TEST_F(RefusedLoad, ValuesWithAZeroByteOrInvalidGbk) {
    const std::string head = "[APP]\r\nVERSION=0110\r\nTYPE=DTXT\r\nSUB=";
    const std::pair<const char*, std::string> cases[] = {
        {"zero byte", std::string("AB\0CD", 5)},
        {"quoted zero byte", std::string("\"AB\\r\0\"", 7)},
        {"bad trail byte", "\xD5\x7F"},
        {"lone lead byte", "ab\xD5"},
        {"unassigned byte", "\xFF"},
        {"unassigned pair", "\xA2\xA0"},
    };
    Type();
    for (const auto& [what, value] : cases) {
        Write("bad.sig", head + value + "\r\nTXT=ok\r\n");
        EXPECT_EQ(window.ReadInformationFile(Path("bad.sig")), -1) << what;
        ExpectNothingChanged(what);
        ui.messages.clear();
    }
}

class RefusedNode : public RefusedLoad,
                    public ::testing::WithParamInterface<testing::HostileCase> {};

TEST_P(RefusedNode, IsNeverReadNorChanged) {
    testing::HostileFile file(GetParam().kind, Path("x.sig"),
                              "[APP]\r\nVERSION=0110\r\nTYPE=DTXT\r\nSUB=s\r\n");
    if (!file.made()) GTEST_SKIP() << "not permitted here";
    Type();
    EXPECT_EQ(window.ReadInformationFile(Path("x.sig")), -1);
    ExpectNothingChanged(GetParam().name);
    EXPECT_TRUE(file.Unchanged());
}

INSTANTIATE_TEST_SUITE_P(Kinds, RefusedNode, ::testing::ValuesIn(testing::kHostileCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(InformationFileTest, ALoadThatOverflowsTheVersionShowsTheMessageOnce) {
    window.SetCodeVersion(1);
    std::string file = "[APP]\r\nVERSION=1110\r\nTYPE=CARD\r\n";
    for (const char* key : {"N", "TIL", "DIV", "COR", "ADR"})
        file += key + std::string("=") + std::string(40, 'a') + "\r\n";
    Write("big.sig", file);
    ASSERT_EQ(window.ReadInformationFile(Path("big.sig")), 0);
    EXPECT_EQ(ui.messages, std::vector<std::string>{std::string(kMsgVersionError)});
    EXPECT_EQ(window.page(kCardPage).FieldText(1014), std::string(40, 'a'));  // nothing lost
}

TEST_F(InformationFileTest, AFailedSaveReportsAndKeepsTheOldFile) {
    window.EditField(kCardPage, 1012, "x");
    Write("old.sig", "[APP]\r\nVERSION=1110\r\nTYPE=CARD\r\nN=old\r\n");
    const std::string old = Read("old.sig");
    {
        testing::FileSizeLimit limit(8);  // binds root too, unlike folder permissions
        ui.paths.push_back(Path("old.sig"));
        window.SaveInformationFile();
    }
    ui.paths.push_back(Path("no/such/folder/a.sig"));
    window.SaveInformationFile();
    EXPECT_EQ(ui.messages, std::vector<std::string>(2, std::string(kMsgWriteError)));
    EXPECT_EQ(Read("old.sig"), old);
}

}  // namespace
}  // namespace tirrel
