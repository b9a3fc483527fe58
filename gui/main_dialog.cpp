#include "gui/main_dialog.h"
#include "gui/qt_text.h"

#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSlider>
#include <QUrl>
#include <QVBoxLayout>

#include "app/messages.h"
#include "app/symbol_report.h"
#include "gui/about_dialog.h"
#include "gui/app_icon.h"
#include "gui/banner_widget.h"
#include "gui/dialog_units.h"
#include "gui/message_box.h"
#include "gui/page_widget.h"
#include "gui/parameter_dialog.h"
#include "gui/preview_view.h"
#include "gui/symbol_printer.h"
#include "gui/tab_strip.h"
#include "platform/atomic_file.h"
#include "platform/gbk.h"

namespace tirrel::gui {
namespace {

constexpr const char* kNoteText = " * 号为必填项，为了保证生成的条码正确解析，请仔细填写！";
constexpr const char* kDefaultSizeText = "设此尺寸为二维码图片默认显示大小";
constexpr const char* kErrorCaption = "错误";

// Where the preview bitmap sits in the client area, in pixels.
constexpr QPoint kPreviewOrigin{340, 125};
// The page rectangle, in pixels of the client area.
const QRect kPageRect{12, 155, 293, 395};

}  // namespace

MainDialog::MainDialog(MainWindowOptions options, QWidget* parent)
    : QDialog(parent), core_(std::make_unique<MainWindow>(*this, std::move(options))) {
    setWindowTitle(QString::fromUtf8(kWindowTitle));
    setWindowIcon(AppIcon());
    setAcceptDrops(true);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    BuildMenus();
    BuildControls();

    banner_->SetMovie(QString::fromStdString(CurrentDirectoryFile(kBannerFileName)));
    core_->Initialise();
}

MainDialog::~MainDialog() {
    (void)core_->Destroy();  // the core has shown a failed settings write
    delete client_;          // the pages call into the core; they go first
}

// ---- Building

void MainDialog::BuildMenus() {
    menuBar_ = new QMenuBar(this);
    QMenu* file = menuBar_->addMenu(QStringLiteral("文件(&F)"));
    file->addAction(QStringLiteral("保存图片"), this, [this] { core_->SaveImage(); });
    file->addAction(QStringLiteral("保存信息"), this, [this] { core_->SaveInformationFile(); });
    file->addSeparator();
    file->addAction(QStringLiteral("复制二维码图片"), this, [this] { core_->CopyImage(); })
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    file->addAction(QStringLiteral("打印..."), this, [this] { core_->PrintImage(); })
        ->setShortcut(QKeySequence::Print);
    QMenu* settings = menuBar_->addMenu(QStringLiteral("设置(&S)"));
    settings->addAction(QStringLiteral("版本设置"), this, [this] { ShowVersionDialog(); });
    settings->addAction(QStringLiteral("打印设置"), this, [this] { ShowPrintDialog(); });
    settings->addSeparator();
    auto* modes = new QActionGroup(this);
    for (int mode = 0; mode < 2; ++mode) {
        QAction* a = settings->addAction(QString::fromUtf8(kChineseModeLabels[mode]), this,
                                         [this, mode] { core_->SetChineseMode(mode); });
        a->setCheckable(true);
        modes->addAction(a);
        chineseModes_[size_t(mode)] = a;
    }
    // The settings are read during Initialise, after the menus are built.
    connect(settings, &QMenu::aboutToShow, this,
            [this] { chineseModes_[core_->GetChineseMode() == 1 ? 1 : 0]->setChecked(true); });
    QMenu* help = menuBar_->addMenu(QStringLiteral("帮助(&H)"));
    help->addAction(QStringLiteral("关于"), this, [this] { ShowAbout(); });
}

void MainDialog::BuildBanner() {
    banner_ = new BannerView(client_);
    banner_->setGeometry(DialogRectToPixels(7, 7, 536, 44));
}

// The push buttons under the page, left to right, and the command each one gives.
struct ButtonRow {
    const char* label;
    DialogRect place;
    void (MainWindow::*command)();
};
constexpr ButtonRow kButtons[] = {
    {"重填", {7, 392, 34, 18}, &MainWindow::Reset},
    {"保存输入信息", {63, 392, 60, 18}, &MainWindow::SaveInformationFile},
    {"读入信息文件", {146, 392, 60, 18}, &MainWindow::LoadInformationFile},
    {"保存二维码图片", {469, 392, 74, 18}, &MainWindow::SaveImage},
};

constexpr DialogRect kDefaultSizePlace{247, 392, 178, 18};

void MainDialog::BuildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    client_ = new QWidget(this);
    client_->setFixedSize(DialogRectToPixels(0, 0, 550, 417).size());
    layout->addWidget(client_);

    BuildBanner();
    BuildRadios();

    tabs_ = new TabStrip(client_);
    tabs_->setGeometry(DialogRectToPixels(7, 77, 200, 290));
    tabs_->SetChooseHandler([this](int index) { core_->ClickTab(index); });

    BuildPreview();

    auto* note = new QLabel(QString::fromUtf8(kNoteText), client_);
    note->setGeometry(DialogRectToPixels(7, 374, 435, 12));
    // On the note's row, right of its text.
    gauge_ = new QLabel(client_);
    gauge_->setGeometry(DialogRectToPixels(300, 374, 243, 12));
    gauge_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    BuildBottomRow();
}

void MainDialog::BuildRadios() {
    radios_ = new QButtonGroup(this);
    for (const DialectDef& d : AllDialects()) {
        auto* radio = new QRadioButton(Utf8(d.label), client_);
        radio->setGeometry(DialogRectToPixels(d.radioRect));
        radios_->addButton(radio, d.radioId);
    }
    // clicked, not toggled: choosing the carrier already in use rebuilds it too.
    connect(radios_, &QButtonGroup::idClicked, this,
            [this](int id) { core_->OnDialectChosen(id); });
}

// The framed preview and the display-size slider beside it.
void MainDialog::BuildPreview() {
    auto* frame = new QFrame(client_);
    frame->setGeometry(DialogRectToPixels(225, 82, 285, 285));
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    QPalette grey = frame->palette();
    grey.setColor(QPalette::WindowText, QColor(128, 128, 128));
    frame->setPalette(grey);

    preview_ = new PreviewView(*core_, client_);
    preview_->move(kPreviewOrigin);

    trackBar_ = new QSlider(Qt::Vertical, client_);
    trackBar_->setGeometry(DialogRectToPixels(524, 76, 19, 289));
    trackBar_->setRange(1, 6);
    trackBar_->setPageStep(1);
    trackBar_->setInvertedAppearance(true);  // 1 at the top
    trackBar_->setInvertedControls(true);
    trackBar_->setTickPosition(QSlider::NoTicks);
    connect(trackBar_, &QSlider::valueChanged, this, [this](int v) { core_->OnTrackBarDrawn(v); });
}

// The buttons and the default-size check box, made left to right, which is also the order
// the focus moves in.
void MainDialog::BuildBottomRow() {
    for (const ButtonRow& row : kButtons) {
        if (!defaultSize_ && row.place.x > kDefaultSizePlace.x) BuildDefaultSizeBox();
        auto* button = new QPushButton(QString::fromUtf8(row.label), client_);
        button->setGeometry(DialogRectToPixels(row.place));
        // No button answers Enter: one key on the slider or a check box must not clear or
        // save a card. A push button in a dialog would otherwise become the default when
        // focused.
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this,
                [this, command = row.command] { (core_.get()->*command)(); });
    }
}

void MainDialog::BuildDefaultSizeBox() {
    defaultSize_ = new QCheckBox(QString::fromUtf8(kDefaultSizeText), client_);
    defaultSize_->setGeometry(DialogRectToPixels(kDefaultSizePlace));
    connect(defaultSize_, &QCheckBox::clicked, this,
            [this](bool checked) { core_->OnDefaultSizeClicked(checked); });
}

// A movie the update check handed over replaces the local one at the next repaint.
void MainDialog::TakeBannerMovie() {
    std::string movie;
    if (core_->TakeBannerMovie(movie)) banner_->SetMovie(QString::fromStdString(movie));
}

// ---- Life cycle

void MainDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;  // restored from minimised: nothing is rebuilt
    core_->OnShown();
    core_->OnTrackBarDrawn(trackBar_->value());
}

void MainDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    TakeBannerMovie();
}

void MainDialog::done(int result) {
    // Before the window goes: a failed settings write is shown over it.
    (void)core_->Destroy();
    QDialog::done(result);
}

namespace {

// The one local file a drag carries, or an empty string.
QString DraggedFile(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().front();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

}  // namespace

void MainDialog::dragEnterEvent(QDragEnterEvent* event) {
    if (!DraggedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainDialog::dropEvent(QDropEvent* event) {
    const QString file = DraggedFile(event->mimeData());
    if (file.isEmpty()) return;
    event->acceptProposedAction();
    (void)core_->ReadInformationFile(QFile::encodeName(file).toStdString());  // shows failures
}

void MainDialog::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(QString::fromUtf8(kAboutMenuText), this, [this] { ShowAbout(); });
    menu.exec(event->globalPos());
}

// ---- Commands

void MainDialog::ShowVersionDialog() {
    ParameterDialog dialog(VersionDialogSpec(), *core_, this);
    dialog.exec();
}

void MainDialog::ShowPrintDialog() {
    ParameterDialog dialog(PrintDialogSpec(), *core_, this);
    dialog.exec();
}

void MainDialog::ShowAbout() {
    AboutDialog dialog(this);
    dialog.exec();
}

void MainDialog::OnFieldEdited(PageTemplate page, int fieldId, const QString& text) {
    // Line breaks go in as the widget gives them; the core turns them into CR LF.
    std::optional<std::string> gbk = Utf8ToGbk(text.toStdString());
    if (!gbk) return;  // the field refuses such input before it gets here
    core_->EditField(page, fieldId, *gbk);
}

// ---- UiPort: dialogs

void MainDialog::ShowMessage(std::string_view text, Caption caption) {
    const QString title = caption == Caption::kError ? QString::fromUtf8(kErrorCaption)
                                                     : QCoreApplication::applicationName();
    if (presenter_.message) {
        presenter_.message(Utf8(text), title);
        return;
    }
    ShowWarning(title, Utf8(text), this);
}

std::optional<SavePath> MainDialog::AskSavePath(const FileDialogSpec& spec) {
    return AskPath(spec, true);
}

std::optional<std::string> MainDialog::AskOpenPath(const FileDialogSpec& spec) {
    std::optional<SavePath> chosen = AskPath(spec, false);
    if (!chosen) return std::nullopt;
    return std::move(chosen->path);
}

std::optional<SavePath> MainDialog::AskPath(const FileDialogSpec& spec, bool save) {
    std::optional<ChosenPath> chosen;
    if (presenter_.path) {
        chosen = presenter_.path(spec, save);
    } else {
        // Qt's own dialog: it appends the selected type's extension before it asks about
        // overwriting.
        QFileDialog dialog(this);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        // Opening does not insist on an existing file: loading reports one it cannot read.
        dialog.setFileMode(QFileDialog::AnyFile);
        QStringList filters;
        for (const FileType& t : spec.types)
            filters << Utf8(t.filter);
        dialog.setNameFilters(filters);
        const auto suffixFor = [&spec, filters](const QString& filter) {
            const auto i = std::max<qsizetype>(filters.indexOf(filter), 0);
            return Utf8(spec.types[std::size_t(i)].extension);
        };
        dialog.setDefaultSuffix(suffixFor(filters.value(0)));
        connect(&dialog, &QFileDialog::filterSelected, &dialog,
                [&dialog, suffixFor](const QString& f) { dialog.setDefaultSuffix(suffixFor(f)); });
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !spec.promptOverwrite);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            const auto type = std::max<qsizetype>(filters.indexOf(dialog.selectedNameFilter()), 0);
            chosen = ChosenPath{dialog.selectedFiles().first(), std::size_t(type)};
        }
    }
    if (!chosen || chosen->path.isEmpty()) return std::nullopt;
    return SavePath{QFile::encodeName(chosen->path).toStdString(), chosen->type};
}

void MainDialog::CopyImage(const ClipboardImage& image) {
    auto* data = new QMimeData;
    data->setImageData(QImage::fromData(QByteArray::fromStdString(image.png), "PNG"));
    data->setData(QStringLiteral("image/png"), QByteArray::fromStdString(image.png));
    data->setData(QStringLiteral("image/bmp"), QByteArray::fromStdString(image.bmp));
    QGuiApplication::clipboard()->setMimeData(data);
}

PrintOutcome MainDialog::PrintSymbol(const PrintRequest& request) {
    QPrinter printer(QPrinter::HighResolution);
    const double offered = printSideMm_.value_or(request.sideMm);
    const std::optional<double> side =
        presenter_.print ? presenter_.print(printer, offered) : AskPrinter(printer, offered, this);
    if (!side) return PrintOutcome::kCancelled;
    printSideMm_ = *side;
    return PrintOnPage(printer, request, *side) ? PrintOutcome::kPrinted : PrintOutcome::kFailed;
}

// ---- UiPort: following the core

void MainDialog::RepaintPreview() {
    preview_->repaint();
    if (gauge_) gauge_->setText(QString::fromStdString(core_->GaugeText()));
    TakeBannerMovie();
}

void MainDialog::RadioChecked(int radioId) {
    if (QAbstractButton* b = radios_->button(radioId)) {
        const QSignalBlocker block(b);
        b->setChecked(true);
    }
}

void MainDialog::TabsRebuilt(const DialectDef& dialect) {
    QStringList labels;
    for (const Tab& t : dialect.tabs)
        labels << Utf8(t.label);
    tabs_->SetTabs(labels);
}

void MainDialog::TabSelected(int index) {
    tabs_->SetSelected(index);
}

void MainDialog::PageCreated(const Page& page) {
    const PageTemplate id = page.id();
    auto* widget = new PageWidget(
        page.def(),
        [this, id](int fieldId, const QString& text) { OnFieldEdited(id, fieldId, text); },
        [this](const QString& refused) {
            const std::string refusedUtf8 = refused.toStdString();
            ShowMessage(UnencodableCharacterMessage(FirstCharacterGbkCannotHold(refusedUtf8)),
                        Caption::kApplication);
        },
        client_);
    widget->setGeometry(kPageRect);
    widget->hide();
    widget->raise();  // over the tab control's display area
    pages_[id] = widget;
}

void MainDialog::PageDestroyed(const Page& page) {
    auto it = pages_.find(page.id());
    if (it == pages_.end()) return;
    delete it->second;
    pages_.erase(it);
}

void MainDialog::PageShown(const Page& page, bool visible) {
    if (PageWidget* w = pageWidget(page.id())) w->setVisible(visible);
}

void MainDialog::FieldTextSet(const Page& page, int fieldId) {
    PageWidget* w = pageWidget(page.id());
    if (!w) return;
    QString text = QString::fromStdString(GbkToUtf8(page.FieldText(fieldId)));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    w->SetFieldText(fieldId, text);
}

void MainDialog::FieldEnabled(const Page& page, int fieldId, bool enabled) {
    if (PageWidget* w = pageWidget(page.id())) w->SetFieldEnabled(fieldId, enabled);
}

void MainDialog::FocusField(const Page& page, int fieldId) {
    if (PageWidget* w = pageWidget(page.id())) w->FocusField(fieldId);
}

void MainDialog::TrackBarPosition(int position) {
    const QSignalBlocker block(trackBar_);
    trackBar_->setValue(position);
}

// ---- Widgets

PageWidget* MainDialog::pageWidget(PageTemplate id) const {
    auto it = pages_.find(id);
    return it == pages_.end() ? nullptr : it->second;
}

QAbstractButton* MainDialog::radio(int radioId) const {
    return radios_->button(radioId);
}

}  // namespace tirrel::gui
