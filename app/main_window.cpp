#include "app/main_window.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "app/encode_symbol.h"
#include "app/messages.h"
#include "app/preview.h"
#include "app/symbol_report.h"
#include "infofile/infofile.h"
#include "render/bitmap_writer.h"

namespace tirrel {
namespace {

size_t SlotOf(PageTemplate id) {
    auto pages = AllPages();
    return static_cast<size_t>(
        std::find_if(pages.begin(), pages.end(), [id](const PageDef& p) { return p.id == id; }) -
        pages.begin());
}

std::string ErrorText(int error) {
    return std::generic_category().message(error);
}

std::string WhyNotWritten(const SettingsWriteResult& result) {
    switch (result.read.failure) {
        case ReadFailure::kNone:
        case ReadFailure::kMissing:
            return ErrorText(result.error);
        case ReadFailure::kNotRegular:
            return std::string(kReasonNotRegularFile);
        case ReadFailure::kTooLarge:
            return std::string(kReasonFileTooLarge);
        case ReadFailure::kReadError:
            return ErrorText(result.read.error);
    }
    return ErrorText(result.error);
}

}  // namespace

MainWindow::MainWindow(UiPort& ui, MainWindowOptions options)
    : ui_(ui), options_(std::move(options)) {
    for (const PageDef& def : AllPages()) {
        pages_[SlotOf(def.id)] = std::make_unique<Page>(def);
    }
}

MainWindow::~MainWindow() = default;

Page& MainWindow::page(PageTemplate id) {
    return *pages_[SlotOf(id)];
}
const Page& MainWindow::page(PageTemplate id) const {
    return *pages_[SlotOf(id)];
}

const DialectDef& MainWindow::checkedDialect() const {
    const DialectDef* d = DialectByRadio(checkedRadio_);
    return d ? *d : *DialectByRadio(kRadioUnicom);
}

// ---- Life cycle

void MainWindow::Initialise() {
    CheckRadio(kRadioUnicom);
    settings_ = options_.settingsPath.empty() ? Settings{} : ReadSettings(options_.settingsPath);
    currentCarrier_ = kRadioUnicom;
    currentTab_ = 0;
    dialect_ = kDialectUnicom;
    zoomStep_ = settings_.Default;
    trackBar_ = std::clamp(settings_.Default, 1, 6);  // the track bar clamps to its range
    ui_.TrackBarPosition(trackBar_);
    BuildTabSet();
    Generate();
    if (!settings_.UidPresent) {
        settings_.UID = MakeUid(options_.clock ? options_.clock : SystemClockSeconds);
        settings_.UidPresent = true;
    }
    update_ = std::make_shared<UpdateRecord>();
    if (!settings_.UpdateUrl.empty()) update_->service_url = settings_.UpdateUrl;
    update_->uid = settings_.UID;
    // The check is an extra: without a thread for it the window works as before, unreported.
    if (options_.updateUi)
        (void)StartUpdateWorker(update_, options_.updateUi, options_.updateLimits);
}

void MainWindow::OnShown() {
    CreatePageSet();
    if (!options_.informationFile.empty()) {
        const std::string path = std::exchange(options_.informationFile, {});
        (void)ReadInformationFile(path);  // a failure has shown its message
    }
}

SettingsWriteResult MainWindow::Destroy() {
    if (destroyed_) return settingsWritten_;
    destroyed_ = true;
    matrix_.clear();
    matrix_.shrink_to_fit();
    matrixWidth_ = 0;
    preview_.reset();
    if (!options_.settingsPath.empty()) {
        settingsWritten_ = WriteSettings(options_.settingsPath, settings_);
        if (!settingsWritten_) {
            ui_.ShowMessage(
                SettingsNotSavedMessage(options_.settingsPath, WhyNotWritten(settingsWritten_)));
        }
    }
    return settingsWritten_;
}

// ---- SymbolHost

void MainWindow::SetPayload(std::string text) {
    payload_ = std::move(text);
    Generate();
}

void MainWindow::SetCodeVersion(int v) {
    settings_.CodeVersion = v;
    Generate();
}

void MainWindow::SetECCLevel(int v) {
    settings_.ECCLevel = v;
    Generate();
}

void MainWindow::SetCellPitch(int v) {
    settings_.CellPitch = v;
    Generate();
}

void MainWindow::SetQuietZone(int v) {
    settings_.QuiteZone = v;
    Generate();
}

void MainWindow::SetChineseMode(int v) {
    settings_.ChineseMode = v;
    Generate();
}

// ---- Generation

MainWindow::ActionScope::ActionScope(MainWindow& window) : window_(window) {
    if (window_.actionDepth_++ == 0) window_.versionMessageShown_ = false;
}

MainWindow::ActionScope::~ActionScope() {
    --window_.actionDepth_;
}

void MainWindow::ShowVersionMessage() {
    if (actionDepth_ > 0 && versionMessageShown_) return;
    versionMessageShown_ = true;
    ui_.ShowMessage(kMsgVersionError);
}

int MainWindow::Generate() {
    ui_.RepaintPreview();
    if (payload_.empty()) return 0;

    const int level = LevelFromEccSetting(settings_.ECCLevel);
    SymbolChoices choices;
    choices.chineseMode = settings_.ChineseMode != 1;
    SymbolAttempt attempt = TryEncodeSymbol(payload_, settings_.CodeVersion, level, choices);
    EncodedSymbolPtr symbol = std::move(attempt.symbol);
    refused_ = !symbol;
    facts_ = symbol ? std::move(symbol->facts) : std::move(attempt.facts);
    if (!symbol) {
        // What the user typed stays: the message, no preview, the last symbol kept for export.
        ShowVersionMessage();
        preview_.reset();
        ui_.RepaintPreview();
        return -1;
    }
    matrix_ = std::move(symbol->modules);
    matrixWidth_ = symbol->width;
    FreeSymbol(std::move(symbol));

    preview_.emplace(kPreviewBytes, uint8_t{0xFF});
    if (RenderPreview(matrix_.data(), preview_->data(), kDisplaySize, zoomStep_, matrixWidth_) !=
        0) {
        return -1;  // the preview stays white
    }
    ui_.RepaintPreview();
    return 0;
}

std::string MainWindow::GaugeText() const {
    if (payload_.empty()) return {};
    if (refused_) return ExcessGauge(facts_);
    return preview_ ? FillGauge(facts_) : std::string();
}

std::vector<std::string> MainWindow::EncodingReportLines() const {
    if (payload_.empty()) return {};
    return EncodingReport(facts_);
}

void MainWindow::Reset() {
    ActionScope action(*this);
    if (const DialectDef* d = DialectByRadio(checkedRadio_)) {
        for (PageTemplate id : d->resetOrder) {
            Page& p = page(id);
            if (p.HasWindow()) p.Clear();
        }
    }
    payload_.clear();
    preview_.reset();
    if (currentPage_) ui_.FocusField(*currentPage_, currentPage_->def().focusField);
}

// ---- Preview, track bar, check box

void MainWindow::OnTrackBarDrawn(int position) {
    trackBar_ = std::clamp(position, 1, 6);
    if (trackBar_ == zoomStep_) return;
    ActionScope action(*this);
    zoomStep_ = trackBar_;
    Generate();
}

void MainWindow::OnDefaultSizeClicked(bool checked) {
    settings_.Default = checked ? trackBar_ : 1;
}

// ---- Tabs, pages and dialects

void MainWindow::CheckRadio(int radioId) {
    checkedRadio_ = radioId;
    ui_.RadioChecked(radioId);
}

void MainWindow::BuildTabSet() {
    const DialectDef& d = checkedDialect();
    selectedTab_ = d.tabs.empty() ? -1 : 0;
    ui_.TabsRebuilt(d);
}

void MainWindow::CreatePageSet() {
    const DialectDef& next = checkedDialect();
    if (const DialectDef* old = DialectByRadio(currentCarrier_)) {
        for (PageTemplate id : old->creationOrder) {
            Page& p = page(id);
            if (!p.HasWindow()) continue;
            p.DestroyWindow();
            ui_.PageDestroyed(p);
        }
    }
    for (PageTemplate id : next.creationOrder) {
        Page& p = page(id);
        p.CreateWindow();
        p.SetListener(this);
        p.SetObserver(this);
        ui_.PageCreated(p);
        p.SetVisible(id == kCardPage);
        ui_.PageShown(p, p.visible());
        if (p.def().urlFollowsDialect) {
            p.SetFieldEnabled(kUrlFieldId, next.urlFieldsEnabled);
            ui_.FieldEnabled(p, kUrlFieldId, next.urlFieldsEnabled);
        }
    }
    currentPage_ = &page(kCardPage);
    currentTab_ = 0;
    ui_.FocusField(*currentPage_, currentPage_->def().focusField);
    dialect_ = next.dialect;
}

void MainWindow::SelectTab(int index) {
    selectedTab_ = index;
    ui_.TabSelected(index);
}

void MainWindow::ShowPage(Page* next, int tabIndex, int focusField) {
    if (currentPage_ && currentPage_ != next) {
        currentPage_->SetVisible(false);
        ui_.PageShown(*currentPage_, false);
    }
    currentPage_ = next;
    currentTab_ = tabIndex;
    next->SetVisible(true);
    ui_.PageShown(*next, true);
    ui_.FocusField(*next, focusField);
}

void MainWindow::OnTabClicked() {
    ActionScope action(*this);
    const DialectDef& d = checkedDialect();
    if (currentPage_) {
        currentPage_->SetVisible(false);
        ui_.PageShown(*currentPage_, false);
    }
    payload_.clear();
    if (currentTab_ >= 0 && currentTab_ < static_cast<int>(d.tabs.size())) {
        Page& left = page(d.tabs[currentTab_].page);
        if (left.HasWindow()) left.Clear();
    }
    preview_.reset();
    if (selectedTab_ >= 0 && selectedTab_ < static_cast<int>(d.tabs.size())) {
        Page& shown = page(d.tabs[selectedTab_].page);
        ShowPage(&shown, selectedTab_, shown.def().focusField);
    }
    Generate();
}

void MainWindow::OnDialectChosen(int radioId) {
    if (!DialectByRadio(radioId)) return;
    ActionScope action(*this);
    CheckRadio(radioId);
    BuildTabSet();
    CreatePageSet();
    currentCarrier_ = radioId;
    payload_.clear();
    Generate();
}

bool MainWindow::EditField(PageTemplate id, int fieldId, const std::string& text) {
    Page& p = page(id);
    if (!p.HasWindow()) return false;
    ActionScope action(*this);
    return p.EditField(fieldId, text);
}

void MainWindow::OnFieldTextSet(const Page& p, int fieldId) {
    ui_.FieldTextSet(p, fieldId);
}

// ---- The image: saved, copied, printed

namespace {

// BMP first: the format the window has always saved.
constexpr FileType kImageTypes[] = {
    {"BMP file(*.bmp)", "bmp"},
    {"PNG file(*.png)", "png"},
    {"SVG file(*.svg)", "svg"},
};

// A name's own extension wins; a name without a known one gets the selected type's format.
render::Format SavedFormat(const SavePath& chosen) {
    if (std::optional<render::Format> byName = render::FormatOfPath(chosen.path)) return *byName;
    const std::size_t type = chosen.type < std::size(kImageTypes) ? chosen.type : 0;
    return render::FormatByName(kImageTypes[type].extension).value_or(render::Format::kBmp);
}

}  // namespace

render::Options MainWindow::ImageOptions() const {
    render::Options o;
    o.moduleSize = settings_.CellPitch;
    o.quietZone = settings_.QuiteZone;
    return o;
}

void MainWindow::SaveImage() {
    if (!preview_) {
        ui_.ShowMessage(kMsgNoImage);
        return;
    }
    static constexpr FileDialogSpec kImageDialog{kImageTypes, true};
    // A failure has been shown; the result is for callers without a dialog.
    if (std::optional<SavePath> chosen = ui_.AskSavePath(kImageDialog))
        (void)ExportImage(chosen->path, SavedFormat(*chosen));
}

int MainWindow::ExportImage(const std::string& path, render::Format format) {
    if (format == render::Format::kBmp) {
        switch (WriteBitmapFile(path, matrix_.data(), matrixWidth_, settings_.CellPitch,
                                settings_.QuiteZone)) {
            case BitmapResult::kWritten:
                return 0;
            case BitmapResult::kTooLarge:
                ui_.ShowMessage(kMsgImageTooLarge);
                return -1;
            case BitmapResult::kWriteFailed:
                break;
        }
        ui_.ShowMessage(kMsgWriteError);
        return -1;
    }
    const render::Result r = render::RenderToFile(
        format, render::Modules(matrix_.data(), matrixWidth_), ImageOptions(), path);
    if (r.ok()) return 0;
    ui_.ShowMessage(r.failure == render::Failure::kTooLarge ? kMsgImageTooLarge : kMsgWriteError);
    return -1;
}

void MainWindow::CopyImage() {
    if (!preview_) {
        ui_.ShowMessage(kMsgNoImageToCopy);
        return;
    }
    const render::Modules modules(matrix_.data(), matrixWidth_);
    ClipboardImage image;
    if (!render::Render(render::Format::kPng, modules, ImageOptions(), image.png).ok() ||
        !render::Render(render::Format::kBmp, modules, ImageOptions(), image.bmp).ok()) {
        // Refused before anything is drawn when too large; the PNG library failing is rarer.
        ui_.ShowMessage(kMsgImageTooLarge);
        return;
    }
    ui_.CopyImage(image);
}

void MainWindow::PrintImage() {
    if (!preview_) {
        ui_.ShowMessage(kMsgNoImageToPrint);
        return;
    }
    const PrintRequest request{render::Modules(matrix_.data(), matrixWidth_), settings_.QuiteZone,
                               render::Options{}.sizeMm};
    if (ui_.PrintSymbol(request) == PrintOutcome::kFailed) ui_.ShowMessage(kMsgPrintError);
}

// ---- Information files

namespace {
constexpr FileType kSigTypes[] = {{"SIG file(*.sig)", "sig"}};
constexpr FileDialogSpec kSigSaveDialog{kSigTypes, true};
constexpr FileDialogSpec kSigOpenDialog{kSigTypes, false};
}  // namespace

void MainWindow::SaveInformationFile() {
    if (!HasInformationToSave()) {
        ui_.ShowMessage(kMsgNothingToSave);
        return;
    }
    if (std::optional<SavePath> chosen = ui_.AskSavePath(kSigSaveDialog)) {
        (void)WriteInformationFile(chosen->path);  // a failure has been shown
    }
}

int MainWindow::WriteInformationFile(const std::string& path) {
    // The custom record is told by the page actually shown, whatever the tab control says.
    const bool custom = checkedRadio_ == kRadioUnicom && currentPage_ == &page(kCustomPage);
    if (WriteInformationRecord(path, checkedDialect().dialect, custom, payload_) != 0) {
        ui_.ShowMessage(kMsgWriteError);
        return -1;
    }
    return 0;
}

void MainWindow::LoadInformationFile() {
    if (std::optional<std::string> path = ui_.AskOpenPath(kSigOpenDialog)) {
        (void)ReadInformationFile(*path);  // a failure has been shown
    }
}

int MainWindow::ReadInformationFile(const std::string& path) {
    const std::optional<InformationDocument> doc = InformationDocument::Load(path);
    return ReadInformation(doc ? &*doc : nullptr);
}

int MainWindow::ReadInformationBytes(std::string_view bytes) {
    const InformationDocument doc = InformationDocument::FromBytes(bytes);
    return ReadInformation(&doc);
}

int MainWindow::ReadInformation(const InformationDocument* doc) {
    ActionScope action(*this);
    const LoadPlan plan =
        doc ? PlanLoad(*doc, checkedDialect().dialect) : LoadPlan{false, 0, std::nullopt};
    if (!plan.row) {
        ui_.ShowMessage(kMsgLoadError);
        return -1;
    }
    if (plan.switches_dialect) OnDialectChosen(DialectByCode(plan.dialect)->radioId);
    SelectTab(plan.row->tab);
    Page& target = page(static_cast<PageTemplate>(plan.row->page));
    ShowPage(&target, plan.row->tab, plan.row->focus);
    for (const InfoFieldKey& field : plan.row->keys) {
        target.SetFieldText(field.control, doc->Value(field.key));
    }
    return 0;
}

}  // namespace tirrel
