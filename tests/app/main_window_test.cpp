// The main window core followed through a user's session: start-up, typing, tabs, dialects,
// reset, the version limit, the preview and saving the image.
#include "app/main_window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "app/messages.h"
#include "app/preview.h"
#include "fake_ui.h"
#include "platform/atomic_file.h"
#include "platform/gbk.h"
#include "platform/temp_dir.h"
#include "update/fake_service.h"

namespace tirrel {
namespace {

using testing::FakeUi;

std::string G(const std::string& utf8) {
    return *Utf8ToGbk(utf8);
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.Initialise();
        window.OnShown();
    }
    FakeUi ui;
    MainWindow window{ui};
};

TEST_F(MainWindowTest, StartsUnderUnicomWithTheCardPageAndNoSymbol) {
    EXPECT_EQ(window.checkedRadio(), kRadioUnicom);
    EXPECT_EQ(window.GetDialect(), kDialectUnicom);
    EXPECT_EQ(ui.tabs, (std::vector<std::string>{"名片", "邮件", "短信", "文本", "书签", "WAP业务",
                                                 "SMS业务", "IVR业务", "自定义"}));
    ASSERT_NE(window.currentPage(), nullptr);
    EXPECT_EQ(window.currentPage()->id(), kCardPage);
    EXPECT_TRUE(window.currentPage()->visible());
    EXPECT_EQ(ui.focus, std::make_pair(int(kCardPage), 1012));
    EXPECT_EQ(window.matrixWidth(), 0);
    EXPECT_FALSE(window.PreviewPainted());
    EXPECT_EQ(window.trackBarPosition(), 1);
    EXPECT_TRUE(window.settings().UidPresent);
    // Only the card page is visible; nine page windows exist.
    int windows = 0;
    for (const PageDef& def : AllPages()) {
        const PageTemplate id = def.id;
        windows += window.page(id).HasWindow();
        if (id != kCardPage) {
            EXPECT_FALSE(window.page(id).visible()) << id;
        }
    }
    EXPECT_EQ(windows, 9);
}

TEST_F(MainWindowTest, TypingRegeneratesUnderEveryDialect) {
    struct Case {
        int radio;
        int tab;
        PageTemplate page;
        int field;
        std::string text, expected;
    };
    const std::vector<Case> cases = {
        {kRadioUnicom, 0, kCardPage, 1012, "李四", std::string("\x11\x10", 2) + G("CARD:N:李四;;")},
        {kRadioMobileV2, 2, kSmsPage, 1015, "555", std::string("\x01\x20", 2) + "SMS:SM:555;;"},
        {kRadioMobileV1, 4, kPhonePage, 1015, "李四",
         std::string("\x01\x10", 2) + G("PHONE:SUB:李四;;")},
        {kRadioUnicom, 8, kCustomPage, 1028, "abc;d", "abc;d"},
    };
    for (const Case& c : cases) {
        window.OnDialectChosen(c.radio);
        window.ClickTab(c.tab);
        ASSERT_EQ(window.currentPage()->id(), c.page);
        ASSERT_TRUE(window.EditField(c.page, c.field, G(c.text)));
        EXPECT_EQ(window.payload(), c.expected);
        EXPECT_TRUE(window.PreviewPainted());
        EXPECT_GT(window.matrixWidth(), 0);
    }
}

TEST_F(MainWindowTest, EachEmptiedFieldRegeneratesWithTheFieldsStillFilled) {
    window.ClickTab(2);  // SMS
    window.EditField(kSmsPage, 1015, "555");
    window.EditField(kSmsPage, 1016, "hi");
    std::vector<std::string> seen;
    ui.onRepaint = [&] { seen.push_back(window.payload()); };
    window.ClickTab(3);  // leave the SMS page
    const std::string h("\x11\x10", 2);
    // The payload is emptied first, then each field's deletion hands the shrinking payload to
    // SetPayload, which generates (two repaints for a success, one for an empty payload).
    std::vector<std::string> expected = {h + "SMS:TXT:hi;;", h + "SMS:TXT:hi;;", "", ""};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(window.page(kSmsPage).FieldText(1015), "");
    EXPECT_EQ(window.currentPage()->id(), kTextPage);
    EXPECT_EQ(window.currentTab(), 3);
    EXPECT_FALSE(window.preview());
    EXPECT_EQ(window.matrixWidth(), 21);  // the matrix is kept
}

TEST_F(MainWindowTest, ClickingTheSelectedTabClearsItsPage) {
    window.EditField(kCardPage, 1012, "x");
    window.ClickTab(0);
    EXPECT_EQ(window.page(kCardPage).FieldText(1012), "");
    EXPECT_TRUE(window.page(kCardPage).visible());
    EXPECT_EQ(window.payload(), "");
    window.SaveImage();
    EXPECT_EQ(ui.messages, std::vector<std::string>{std::string(kMsgNoImage)});
    EXPECT_TRUE(ui.dialogs.empty());
}

TEST_F(MainWindowTest, ChoosingADialectRecreatesEveryPageEmptyAndKeepsThePreview) {
    window.EditField(kCardPage, 1012, "x");
    window.EditField(kCardPage, 1022, "u");
    window.OnDialectChosen(kRadioMobileV2);
    EXPECT_EQ(ui.tabs.size(), 7u);
    EXPECT_EQ(window.GetDialect(), kDialectMobileV2);
    EXPECT_EQ(window.page(kCardPage).FieldText(1012), "");
    EXPECT_FALSE(window.page(kCardPage).FieldEnabled(1022));
    EXPECT_FALSE(window.page(kWapServicePage).FieldEnabled(1022));
    EXPECT_FALSE(window.page(kCustomPage).HasWindow());
    EXPECT_FALSE(window.EditField(kCardPage, 1022, "typed"));
    // The old preview bitmap survives but is not painted: the payload is empty.
    EXPECT_TRUE(window.preview());
    EXPECT_FALSE(window.PreviewPainted());
    window.OnDialectChosen(kRadioUnicom);
    EXPECT_EQ(ui.tabs.size(), 9u);
    EXPECT_TRUE(window.page(kCardPage).FieldEnabled(1022));
    EXPECT_TRUE(window.page(kWapServicePage).FieldEnabled(1022));
    // Choosing the dialect already in use empties everything too.
    window.EditField(kCardPage, 1012, "y");
    window.OnDialectChosen(kRadioUnicom);
    EXPECT_EQ(window.page(kCardPage).FieldText(1012), "");
}

TEST_F(MainWindowTest, ResetClearsExactlyTheCheckedDialectsPages) {
    for (int radio : {kRadioMobileV1, kRadioMobileV2, kRadioUnicom}) {
        window.OnDialectChosen(radio);
        const DialectDef& d = *DialectByRadio(radio);
        for (PageTemplate id : d.creationOrder) {
            const FieldDef& f = PageDefinition(id).fields[0];
            window.page(id).SetFieldText(f.id, "t");
        }
        ui.focus = {};
        window.Reset();
        // The focus goes to the page's first field, not the button.
        EXPECT_EQ(ui.focus, std::make_pair(int(kCardPage), PageDefinition(kCardPage).focusField));
        for (PageTemplate id : d.creationOrder) {
            for (const FieldDef& f : PageDefinition(id).fields) {
                EXPECT_EQ(window.page(id).FieldText(f.id), "") << radio << " " << id;
            }
        }
        EXPECT_EQ(window.payload(), "");
        EXPECT_FALSE(window.preview());
        EXPECT_EQ(window.currentPage()->id(), kCardPage);  // the page shown does not change
    }
}

TEST_F(MainWindowTest, TheVersionLimitKeepsWhatWasTyped) {
    window.ClickTab(8);  // custom: the payload is the text itself
    std::string text;
    int lastWidth = 0;
    while (ui.messages.empty() && text.size() < 400) {
        text += 'a';
        window.EditField(kCustomPage, 1028, text);
        if (ui.messages.empty()) lastWidth = window.matrixWidth();
    }
    ASSERT_EQ(ui.messages, std::vector<std::string>{std::string(kMsgVersionError)});
    EXPECT_EQ(window.GaugeText(), "版本 10 · L · 超出 1 字节");
    EXPECT_EQ(lastWidth, 57);  // the longest text that fits makes a version 10 symbol
    EXPECT_EQ(window.page(kCustomPage).FieldText(1028), text);  // nothing typed is lost
    EXPECT_EQ(window.matrixWidth(), 57);                        // the last symbol is kept
    EXPECT_FALSE(window.preview());
    text.pop_back();
    window.EditField(kCustomPage, 1028, text);
    EXPECT_TRUE(window.PreviewPainted());
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(window.GaugeText(), "版本 10 · L · 已用 100%");
    window.Reset();
    EXPECT_EQ(window.GaugeText(), "");
}

TEST_F(MainWindowTest, ChineseModeCarriesTheSameBytesAndOutlivesDialectsAndTabs) {
    auto typeName = [&] {
        window.EditField(kCardPage, 1012, G("张三"));
        return window.EncodingReportLines().at(1).find("汉字") != std::string::npos;
    };
    EXPECT_TRUE(typeName());
    const std::string payload = window.payload();
    window.SetChineseMode(1);
    window.OnDialectChosen(kRadioMobileV2);
    window.ClickTab(1);
    window.ClickTab(0);
    EXPECT_EQ(window.GetChineseMode(), 1);
    EXPECT_FALSE(typeName());
    EXPECT_EQ(window.GaugeText(),
              "版本 1 · L · 已用 87%");  // one 8-bit segment: 4 + 8 + 15 x 8 of 152
    window.OnDialectChosen(kRadioUnicom);
    EXPECT_FALSE(typeName());
    EXPECT_EQ(window.payload(), payload);
}

TEST_F(MainWindowTest, ARequestedVersionTooSmallShowsTheMessageOncePerAction) {
    window.EditField(kCardPage, 1012, std::string(60, 'a'));
    {
        MainWindow::ActionScope dialogOk(window);
        window.SetCodeVersion(1);
        window.SetECCLevel(3);
        window.Generate();
    }
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(window.GetCodeVersion(), 1);  // the chosen version stays in force
    EXPECT_EQ(window.page(kCardPage).FieldText(1012), std::string(60, 'a'));
    window.SetECCLevel(4);  // the empty fifth level entry encodes as L; version 1 still too small
    EXPECT_EQ(ui.messages.size(), 2u);
    window.SetCodeVersion(5);
    EXPECT_EQ(window.matrixWidth(), 37);
    EXPECT_TRUE(window.PreviewPainted());
}

TEST(PreviewGeometry, ModuleSizesAndMarginsPerVersionAndZoom) {
    const int expected[4][6][2] = {
        {{17, 31}, {15, 52}, {13, 73}, {11, 94}, {9, 115}, {7, 136}},
        {{12, 36}, {10, 65}, {8, 94}, {6, 123}, {4, 152}, {2, 181}},
        {{10, 45}, {9, 61}, {8, 78}, {7, 94}, {6, 111}, {5, 127}},
        {{6, 39}, {5, 67}, {4, 96}, {3, 124}, {2, 153}, {1, 181}},
    };
    const int widths[4] = {21, 29, 33, 57};
    for (int v = 0; v < 4; ++v) {
        for (int zoom = 1; zoom <= 6; ++zoom) {
            PreviewGeometry g = PreviewGeometryFor(kDisplaySize, zoom, widths[v]);
            EXPECT_EQ(g.moduleSize, expected[v][zoom - 1][0]) << widths[v] << " zoom " << zoom;
            EXPECT_EQ(g.margin, expected[v][zoom - 1][1]) << widths[v] << " zoom " << zoom;
        }
    }
    for (int n = 21; n <= 57; n += 4)
        EXPECT_GE(PreviewGeometryFor(420, 6, n).moduleSize, 1);
}

TEST(PreviewRender, RefusesBadZoomAndDrawsModulesAsSquares) {
    std::vector<uint8_t> modules(21 * 21, 0), pixels(kPreviewBytes, 0xFF);
    modules[0] = 1;  // top-left module only
    EXPECT_EQ(RenderPreview(modules.data(), pixels.data(), 420, 0, 21), -1);
    EXPECT_EQ(RenderPreview(modules.data(), pixels.data(), 420, 7, 21), -1);
    EXPECT_EQ(RenderPreview(modules.data(), pixels.data(), 64, 1, 21), -1);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0), 0);
    ASSERT_EQ(RenderPreview(modules.data(), pixels.data(), 420, 6, 21), 0);
    // 7-pixel module at (136, 136): 49 black pixels, 3 bytes each.
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0), 49 * 3);
    auto at = [&](int x, int y) { return pixels[size_t(y) * 1260 + 3 * x]; };
    EXPECT_EQ(at(136, 136), 0);
    EXPECT_EQ(at(142, 142), 0);
    EXPECT_EQ(at(143, 142), 0xFF);
    EXPECT_EQ(at(135, 136), 0xFF);
}

TEST_F(MainWindowTest, TrackBarRegeneratesOnlyOnAChangeOfPosition) {
    window.EditField(kCardPage, 1012, "x");
    const int before = ui.repaints;
    window.OnTrackBarDrawn(1);  // a redraw without a change
    EXPECT_EQ(ui.repaints, before);
    window.OnTrackBarDrawn(6);
    EXPECT_EQ(window.zoomStep(), 6);
    EXPECT_GT(ui.repaints, before);
    // 7-pixel modules at zoom 6 for a version 1 symbol: the top-left finder starts at 136.
    EXPECT_EQ((*window.preview())[136 * 1260 + 3 * 136], 0);
    EXPECT_EQ((*window.preview())[135 * 1260 + 3 * 135], 0xFF);

    window.OnTrackBarDrawn(4);
    window.OnDefaultSizeClicked(true);
    window.OnTrackBarDrawn(2);  // moving after ticking does not change Default
    EXPECT_EQ(window.settings().Default, 4);
    window.OnDefaultSizeClicked(false);
    EXPECT_EQ(window.settings().Default, 1);
}

using testing::TempDir;

TEST_F(MainWindowTest, SavingTheImageWritesTheLastSymbol) {
    TempDir dir;
    window.EditField(kCardPage, 1012, "x");
    ui.paths.push_back(dir.File("a.bmp"));
    window.SaveImage();
    EXPECT_EQ(ui.dialogs,
              std::vector<std::string>{"BMP file(*.bmp);;PNG file(*.png);;SVG file(*.svg)"});
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(dir.File("a.bmp"), bytes));
    EXPECT_EQ(bytes.size(), 40422u);  // 21 modules, 4 px, quiet zone 4: 116 x 116

    // Cancelled dialog: nothing happens. A folder that does not exist: the write error.
    ui.paths.push_back(std::nullopt);
    window.SaveImage();
    ui.paths.push_back(dir.File("missing/b.bmp"));
    window.SaveImage();
    EXPECT_EQ(ui.messages, std::vector<std::string>{std::string(kMsgWriteError)});

    // Sizes beyond the limits are refused with their own message, and nothing is written.
    window.SetCellPitch(41032148);
    window.SetQuietZone(1377166898);
    EXPECT_EQ(window.ExportBitmap(dir.File("big.bmp")), -1);
    EXPECT_EQ(ui.messages.back(), kMsgImageTooLarge);
    EXPECT_FALSE(FileExists(dir.File("big.bmp")));
    window.SetCellPitch(4);
    window.SetQuietZone(4);

    // Emptying the page keeps the symbol for export; a tab click discards the preview.
    window.EditField(kCardPage, 1012, "");
    ui.paths.push_back(dir.File("c.bmp"));
    window.SaveImage();
    EXPECT_TRUE(FileExists(dir.File("c.bmp")));
}

TEST_F(MainWindowTest, TheImageLeavesInTheFormatItsNameOrTheChosenTypeNames) {
    // Before any symbol each way out says so and asks nothing.
    window.CopyImage();
    window.PrintImage();
    EXPECT_EQ(ui.messages, (std::vector<std::string>{std::string(kMsgNoImageToCopy),
                                                     std::string(kMsgNoImageToPrint)}));
    EXPECT_TRUE(ui.copied.empty() && ui.printed.empty());
    ui.messages.clear();

    TempDir dir;
    window.EditField(kCardPage, 1012, "x");
    const struct {
        const char* name;
        std::size_t type;  // 0 BMP, 1 PNG, 2 SVG
        std::string_view magic;
    } kCases[] = {
        {"a", 0, "BM"},          {"b", 1, "\x89PNG"},   {"c", 2, "<?xml"},
        {"d.png", 0, "\x89PNG"}, {"e.SVG", 1, "<?xml"}, {"f.pdf", 0, "%PDF"},
        {"g.dat", 1, "\x89PNG"},
    };
    for (const auto& c : kCases) {
        ui.paths.push_back(dir.File(c.name));
        ui.saveType = c.type;
        window.SaveImage();
        std::string bytes;
        ASSERT_TRUE(ReadWholeFile(dir.File(c.name), bytes)) << c.name;
        EXPECT_TRUE(bytes.starts_with(c.magic)) << c.name;
    }

    // The clipboard gets the saved bitmap's picture twice over; printing gets the matrix.
    window.CopyImage();
    ASSERT_EQ(ui.copied.size(), 1u);
    std::string bmp;
    ASSERT_TRUE(ReadWholeFile(dir.File("a"), bmp));
    EXPECT_EQ(ui.copied[0].bmp, bmp);
    EXPECT_TRUE(ui.copied[0].png.starts_with("\x89PNG"));
    window.SetQuietZone(2);
    ui.printOutcome = PrintOutcome::kFailed;
    window.PrintImage();
    ASSERT_EQ(ui.printed.size(), 1u);
    EXPECT_EQ(ui.printed[0].modules.width, 21);
    EXPECT_EQ(ui.printed[0].quietZone, 2);
    EXPECT_EQ(ui.printed[0].sideMm, 40);
    EXPECT_EQ(ui.messages, std::vector<std::string>{std::string(kMsgPrintError)});
}

TEST(MainWindowSettings, ReadAtStartWrittenOnceAtTheEnd) {
    TempDir dir;
    const std::string ini = dir.File("Sembrano.ini");
    { std::ofstream(ini) << "[Sembrano]\r\nCodeVersion=5\r\nDefault=3\r\n"; }
    FakeUi ui;
    {
        MainWindowOptions options;
        options.settingsPath = ini;
        options.clock = [] { return int64_t{1000}; };
        MainWindow window(ui, options);
        window.Initialise();
        window.OnShown();
        EXPECT_EQ(window.GetCodeVersion(), 5);
        EXPECT_EQ(window.zoomStep(), 3);
        EXPECT_EQ(ui.trackBar, 3);
        EXPECT_EQ(window.settings().UID.size(), 15u);  // none held: a new one is made
        window.EditField(kCardPage, 1012, "x");
        EXPECT_EQ(window.matrixWidth(), 37);
        EXPECT_TRUE(window.Destroy());
        EXPECT_TRUE(window.Destroy());  // written once
        EXPECT_TRUE(ui.messages.empty());
    }
    std::string text;
    ASSERT_TRUE(ReadWholeFile(ini, text));
    EXPECT_NE(text.find("CodeVersion=5\r\n"), std::string::npos);
    EXPECT_NE(text.find("UID=" + MakeUid([] { return int64_t{1000}; })), std::string::npos);
}

TEST(MainWindowSettings, AFailedWriteAtTheEndIsShownOnceAndReturned) {
    TempDir dir;
    const struct {
        std::string path;
        std::string reason;
    } cases[] = {
        {dir.File("Sembrano.ini"), "不是普通文件"},  // a folder in its place
        {dir.File("missing/Sembrano.ini"), "No such file or directory"},
    };
    std::filesystem::create_directory(cases[0].path);
    for (const auto& c : cases) {
        MainWindowOptions options;
        options.settingsPath = c.path;
        FakeUi ui;
        MainWindow window(ui, options);
        window.Initialise();
        EXPECT_FALSE(window.Destroy()) << c.path;
        EXPECT_FALSE(window.Destroy()) << c.path;
        EXPECT_EQ(ui.messages,
                  std::vector<std::string>{"设置无法保存：" + c.path + "：" + c.reason});
    }
    EXPECT_TRUE(std::filesystem::is_directory(cases[0].path));
}

}  // namespace
}  // namespace tirrel

namespace tirrel {
namespace {

class RecordingUpdateUi : public UpdateUi {
public:
    void ShowError(const std::string& text) override { errors.push_back(text); }
    bool AskUpdate(const std::string&, const std::string&) override { return false; }
    void OpenUrl(const std::string&) override {}
    std::vector<std::string> errors;
};

TEST(MainWindowUpdate, InitialisationStartsTheCheckWhoseBannerPaintingTakes) {
    TempDir dir;
    const std::string ini = dir.File("Sembrano.ini");
    std::ofstream(ini) << "[Sembrano]\r\nUID=987654321012345\r\n"
                          "UpdateUrl=http://127.0.0.1/KestrionServer/AdsUpdate\r\n";
    testing::FakeService service(
        {"HTTP/1.1 200 OK\r\nCorrespond_Status: OK\r\n"
         "ADS_APP_VER: 0.9\r\n\r\n<ResUrl>http://b/x.gif</ResUrl>"});
    FakeUi ui;
    MainWindowOptions options;
    options.settingsPath = ini;
    options.updateUi = std::make_shared<RecordingUpdateUi>();
    options.updateLimits.port = service.port();
    options.updateLimits.max_attempts = 3;
    options.updateLimits.first_pause = std::chrono::milliseconds(10);
    MainWindow window(ui, options);
    window.Initialise();
    window.OnShown();

    std::string movie;
    for (int i = 0; i < 300 && !window.TakeBannerMovie(movie); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(movie, "http://b/x.gif");
    EXPECT_FALSE(window.TakeBannerMovie(movie));  // handed over once
    const std::string& request = service.Request();
    EXPECT_EQ(request.rfind("GET /KestrionServer/AdsUpdate HTTP/1.1\r\nHost:127.0.0.1\r\n", 0), 0u);
    EXPECT_NE(request.find("ADS_APP_UID:987654321012345\r\n"), std::string::npos);
}

}  // namespace
}  // namespace tirrel
