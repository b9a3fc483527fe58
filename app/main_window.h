// The main window without a toolkit. It owns the state the window's controls held (checked
// carrier, tab labels and selection, every page, the track bar and check box), the payload, the
// symbol matrix, the preview bitmap and the symbol settings, and runs every operation between a
// keystroke and the symbol. The face (gui/ or cli/) feeds it user events and follows it through
// the UiPort.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/encode_symbol.h"
#include "app/symbol_host.h"
#include "app/ui_port.h"
#include "pages/page.h"
#include "pages/tab_sets.h"
#include "settings/settings.h"
#include "update/update_check.h"

namespace tirrel {

class InformationDocument;

// Where the window keeps its settings between runs, and the clock that dates a new UID.
// Without a settings path (the command-line tool) nothing is read or written.
// With an update UI, initialisation ends by starting the update check on its worker.
struct MainWindowOptions {
    std::string settingsPath;
    std::function<int64_t()> clock = SystemClockSeconds;
    std::shared_ptr<UpdateUi> updateUi;
    UpdateCheckLimits updateLimits;
    // An information file to load once the window is first shown, as 读入信息文件 would (a
    // file named on the command line); none when empty.
    std::string informationFile;
};

class MainWindow final : public SymbolHost, private PageObserver {
public:
    explicit MainWindow(UiPort& ui, MainWindowOptions options = {});
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // ---- Life cycle
    // Checks 中国联通, reads the settings, builds the tabs, generates once (empty payload),
    // makes a UID when the settings held none and starts the update check.
    void Initialise();
    // The window is being shown: the checked dialect's pages are created, then the options'
    // information file, if any, is loaded (the first time only).
    void OnShown();
    // The window is destroyed: the buffers are released, then the settings are written (once).
    // A failed write is shown (the user's settings would be lost without a word) and
    // returned; a repeated call returns the same result again without writing or showing.
    [[nodiscard]] SettingsWriteResult Destroy();

    // ---- SymbolHost
    void SetPayload(std::string text) override;
    void SetCodeVersion(int v) override;
    void SetECCLevel(int v) override;
    void SetCellPitch(int v) override;
    void SetQuietZone(int v) override;
    [[nodiscard]] int GetCodeVersion() const override { return settings_.CodeVersion; }
    [[nodiscard]] int GetECCLevel() const override { return settings_.ECCLevel; }
    [[nodiscard]] int GetCellPitch() const override { return settings_.CellPitch; }
    [[nodiscard]] int GetQuietZone() const override { return settings_.QuiteZone; }
    [[nodiscard]] int GetDialect() const override { return dialect_; }
    // 0: GB2312 characters in the Chinese mode, 1: as 8-bit bytes; stored as given, then
    // the symbol is regenerated. The payload bytes are the same either way.
    void SetChineseMode(int v);
    [[nodiscard]] int GetChineseMode() const { return settings_.ChineseMode; }

    // ---- Generation
    // Shows its own failure (the version message), so a caller may let the result go.
    int Generate();
    void Reset();  // the button 重填; the focus then goes to the page's first field

    // One user action (a keystroke, a click, a dialog's OK, loading a file) shows the version
    // message at most once, however many generations it runs. Hold a scope for its duration;
    // the operations below that are user events open their own.
    class ActionScope {
    public:
        explicit ActionScope(MainWindow& window);
        ~ActionScope();
        ActionScope(const ActionScope&) = delete;
        ActionScope& operator=(const ActionScope&) = delete;

    private:
        MainWindow& window_;
    };

    // ---- Preview, track bar, check box
    [[nodiscard]] bool PreviewPainted() const { return !payload_.empty() && preview_.has_value(); }
    [[nodiscard]] const std::vector<uint8_t>* preview() const {
        return preview_ ? &*preview_ : nullptr;
    }
    // The line below the preview: version, level and fill of the symbol, or by how much the
    // payload exceeds the largest version allowed; empty with no symbol and no refusal.
    [[nodiscard]] std::string GaugeText() const;
    // The last generation's encoding, as `--verbose` prints it.
    [[nodiscard]] std::vector<std::string> EncodingReportLines() const;
    [[nodiscard]] int zoomStep() const { return zoomStep_; }
    [[nodiscard]] int trackBarPosition() const { return trackBar_; }
    // The track bar redrew at `position` (moved by the user, or first shown).
    void OnTrackBarDrawn(int position);
    void OnDefaultSizeClicked(bool checked);

    // ---- Tabs, pages and dialects
    void BuildTabSet();
    void CreatePageSet();
    void SelectTab(int index);  // the tab control's own selection change, no click handling
    void OnTabClicked();
    void ClickTab(int index) {
        SelectTab(index);
        OnTabClicked();
    }
    void OnDialectChosen(int radioId);
    // The user typed into a field of a page. False when the page has no window, lacks the
    // field or the field is disabled: nothing happened, which a face that forwards only what
    // its enabled fields took need not look at.
    bool EditField(PageTemplate page, int fieldId, const std::string& text);

    // ---- The image: saved, copied, printed
    void SaveImage();  // as BMP (the default), PNG or SVG
    // Writes the symbol in `format` with the module size and quiet zone of the settings.
    [[nodiscard]] int ExportImage(const std::string& path, render::Format format);
    [[nodiscard]] int ExportBitmap(const std::string& path) {
        return ExportImage(path, render::Format::kBmp);
    }
    void CopyImage();   // PNG and BMP on the clipboard
    void PrintImage();  // through the print dialog
    // The module size and quiet zone of the settings, black on white.
    [[nodiscard]] render::Options ImageOptions() const;

    // ---- Information files
    void SaveInformationFile();  // the button 保存输入信息 and the menu entry 保存信息
    // There is something to save: a symbol made since the last tab click, reset or failure,
    // and a payload.
    [[nodiscard]] bool HasInformationToSave() const {
        return preview_.has_value() && !payload_.empty();
    }
    [[nodiscard]] int WriteInformationFile(const std::string& path);
    void LoadInformationFile();  // the button 读入信息文件
    // Checks the file before changing anything: an unreadable file (also one too large or not a
    // regular file), one whose record has no page in the dialect it names, or one whose values
    // hold a zero byte or invalid GBK shows the load error and leaves everything as it was.
    [[nodiscard]] int ReadInformationFile(const std::string& path);
    // The same for a file's bytes read elsewhere (a pipe, which is no regular file).
    [[nodiscard]] int ReadInformationBytes(std::string_view bytes);

    // ---- Banner
    // The movie the update check handed over since the last call, if any (painting asks).
    [[nodiscard]] bool TakeBannerMovie(std::string& path) {
        return update_ && tirrel::TakeBannerMovie(*update_, path);
    }

    // ---- State, for the face and for tests
    [[nodiscard]] Page& page(PageTemplate id);
    [[nodiscard]] const Page& page(PageTemplate id) const;
    [[nodiscard]] int checkedRadio() const { return checkedRadio_; }
    [[nodiscard]] const DialectDef& checkedDialect() const;
    [[nodiscard]] int selectedTab() const { return selectedTab_; }
    [[nodiscard]] int currentTab() const { return currentTab_; }
    [[nodiscard]] const Page* currentPage() const { return currentPage_; }
    [[nodiscard]] const std::string& payload() const { return payload_; }
    [[nodiscard]] const std::vector<uint8_t>& matrix() const { return matrix_; }
    [[nodiscard]] int matrixWidth() const { return matrixWidth_; }
    [[nodiscard]] const Settings& settings() const { return settings_; }

    // Saved/loaded information files and the settings file need these.
    void CheckRadio(int radioId);
    void ShowPage(Page* page, int tabIndex, int focusField);

private:
    void OnFieldTextSet(const Page& page, int fieldId) override;
    void ShowVersionMessage();
    // nullptr: the file could not be read.
    [[nodiscard]] int ReadInformation(const InformationDocument* doc);

    UiPort& ui_;
    std::array<std::unique_ptr<Page>, kPageCount> pages_;

    int checkedRadio_ = 0;  // no carrier checked until initialisation
    int selectedTab_ = -1;  // the tab control's selection; -1 = none
    int currentCarrier_ = 0;
    int currentTab_ = 0;
    Page* currentPage_ = nullptr;
    int dialect_ = kDialectUnicom;

    std::string payload_;
    std::vector<uint8_t> matrix_;  // matrixWidth_^2 bytes, 1 = dark
    int matrixWidth_ = 0;
    std::optional<std::vector<uint8_t>> preview_;  // kDisplaySize^2 * 3 bytes
    // The last generation: its facts, and for a refusal by how much it missed.
    encoder::EncodeFacts facts_;
    bool refused_ = false;

    MainWindowOptions options_;
    Settings settings_;
    bool destroyed_ = false;
    SettingsWriteResult settingsWritten_;  // WriteSettings' result at destruction
    int zoomStep_ = 1;
    int trackBar_ = 1;

    std::shared_ptr<UpdateRecord> update_;

    int actionDepth_ = 0;
    bool versionMessageShown_ = false;
};

}  // namespace tirrel
