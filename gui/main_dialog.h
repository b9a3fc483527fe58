// The main window on screen: the banner, the carrier radio buttons, the tabs and their pages,
// the preview with its frame and zoom slider, the buttons and the menus, at the positions of
// the window template. It owns the toolkit-free core and is the core's UiPort: user actions go
// in as core events, and the widgets follow what the core reports without re-entering it.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <map>
#include <memory>

#include "app/main_window.h"
#include "app/ui_port.h"

class QAbstractButton;
class QButtonGroup;
class QAction;
class QCheckBox;
class QLabel;
class QMenuBar;
class QPrinter;
class QPushButton;
class QSlider;

namespace tirrel::gui {

class BannerView;
class PageWidget;
class PreviewView;
class TabStrip;

inline constexpr const char* kWindowTitle = "Tirrel生成工具";
inline constexpr const char* kBannerFileName = "736-60.swf";

class MainDialog final : public QDialog, public UiPort {
public:
    // Builds the widgets, then initialises the core: it reads the settings from the options'
    // path (none when empty) and, given an update UI, ends by starting the update check.
    explicit MainDialog(MainWindowOptions options, QWidget* parent = nullptr);
    ~MainDialog() override;

    // How message boxes and file dialogs are put to the user: by default the toolkit's modal
    // dialogs; a scripted presenter stands in where nobody can answer them.
    struct ChosenPath {
        QString path;
        std::size_t type = 0;  // of the spec's types
    };
    struct Presenter {
        std::function<void(const QString& text, const QString& caption)> message;
        std::function<std::optional<ChosenPath>(const FileDialogSpec& spec, bool save)> path;
        // Sets up the printer in the dialog's stead: the side chosen, or nothing to cancel.
        std::function<std::optional<double>(QPrinter& printer, double sideMm)> print;
    };
    void SetPresenter(Presenter presenter) { presenter_ = std::move(presenter); }

    MainWindow& core() { return *core_; }

    // ---- UiPort
    void ShowMessage(std::string_view text, Caption caption) override;
    std::optional<SavePath> AskSavePath(const FileDialogSpec& spec) override;
    std::optional<std::string> AskOpenPath(const FileDialogSpec& spec) override;
    void CopyImage(const ClipboardImage& image) override;
    PrintOutcome PrintSymbol(const PrintRequest& request) override;
    void RepaintPreview() override;
    void RadioChecked(int radioId) override;
    void TabsRebuilt(const DialectDef& dialect) override;
    void TabSelected(int index) override;
    void PageCreated(const Page& page) override;
    void PageDestroyed(const Page& page) override;
    void PageShown(const Page& page, bool visible) override;
    void FieldTextSet(const Page& page, int fieldId) override;
    void FieldEnabled(const Page& page, int fieldId, bool enabled) override;
    void FocusField(const Page& page, int fieldId) override;
    void TrackBarPosition(int position) override;

    // ---- Widgets, for tests and screenshots
    PageWidget* pageWidget(PageTemplate id) const;
    TabStrip* tabStrip() const { return tabs_; }
    PreviewView* previewView() const { return preview_; }
    QSlider* trackBar() const { return trackBar_; }
    QAbstractButton* radio(int radioId) const;
    QWidget* client() const { return client_; }

    // The menu commands of 设置(S) and 帮助(H).
    void ShowVersionDialog();
    void ShowPrintDialog();
    void ShowAbout();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // One local file dropped on the window is loaded as an information file.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildMenus();
    void BuildControls();
    void BuildBanner();
    void BuildRadios();
    void BuildPreview();
    void BuildBottomRow();
    void BuildDefaultSizeBox();
    void OnFieldEdited(PageTemplate page, int fieldId, const QString& text);
    void TakeBannerMovie();
    std::optional<SavePath> AskPath(const FileDialogSpec& spec, bool save);

    std::unique_ptr<MainWindow> core_;
    QMenuBar* menuBar_ = nullptr;
    QWidget* client_ = nullptr;
    BannerView* banner_ = nullptr;
    QButtonGroup* radios_ = nullptr;
    TabStrip* tabs_ = nullptr;
    PreviewView* preview_ = nullptr;
    QSlider* trackBar_ = nullptr;
    QCheckBox* defaultSize_ = nullptr;
    QLabel* gauge_ = nullptr;
    std::array<QAction*, 2> chineseModes_{};
    std::map<PageTemplate, PageWidget*> pages_;
    Presenter presenter_;
    std::optional<double> printSideMm_;  // the side last printed at, offered again
};

}  // namespace tirrel::gui
