#include "gui_test_support.h"

#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>
#include <QPrinter>

#include <memory>

namespace tirrel::gui::testing {

namespace {

// The application object lives from the first test that needs it to the end of the test run,
// and is gone before the process's exit handlers run Qt's own static clean-up.
class ApplicationEnvironment : public ::testing::Environment {
public:
    QApplication& Get() {
        if (!app_) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            app_ = std::make_unique<QApplication>(argc_, argv_);
        }
        return *app_;
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[9] = "test_gui";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

ApplicationEnvironment* const environment = static_cast<ApplicationEnvironment*>(
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment));

}  // namespace

QApplication& App() {
    return environment->Get();
}

WindowUnderTest::WindowUnderTest(const std::string& settingsPath) {
    App();
    MainWindowOptions options;
    options.settingsPath = settingsPath;  // no update UI: no update check in tests
    window = std::make_unique<MainDialog>(std::move(options));
    MainDialog::Presenter presenter;
    presenter.message = [this](const QString& text, const QString&) { messages << text; };
    presenter.path = [this](const FileDialogSpec&, bool) -> std::optional<MainDialog::ChosenPath> {
        if (paths.isEmpty()) return std::nullopt;
        return MainDialog::ChosenPath{paths.takeFirst(), saveType};
    };
    presenter.print = [this](QPrinter& printer, double sideMm) -> std::optional<double> {
        printSideMm = sideMm;
        if (printFile.isEmpty()) return std::nullopt;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printFile);
        return sideMm;
    };
    window->SetPresenter(std::move(presenter));
    window->show();
    QApplication::processEvents();
}

std::optional<std::string> DecodeQr(const QImage& image) {
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    const ZXing::ImageView view(grey.constBits(), grey.width(), grey.height(),
                                ZXing::ImageFormat::Lum, static_cast<int>(grey.bytesPerLine()));
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::QRCode);
    const ZXing::Result result = ZXing::ReadBarcode(view, hints);
    if (!result.isValid()) return std::nullopt;
    const ZXing::ByteArray& bytes = result.bytes();
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace tirrel::gui::testing
