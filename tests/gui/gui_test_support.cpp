#include "gui_test_support.h"

#include <ZXing/ReadBarcode.h>

namespace tirrel::gui::testing {

QApplication& App() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "test_gui";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

WindowUnderTest::WindowUnderTest(const std::string& settingsPath) {
    App();
    MainWindowOptions options;
    options.settingsPath = settingsPath;  // no update UI: no update check in tests
    window = std::make_unique<MainDialog>(std::move(options));
    MainDialog::Presenter presenter;
    presenter.message = [this](const QString& text, const QString&) { messages << text; };
    presenter.path = [this](const FileDialogSpec&, bool) -> std::optional<QString> {
        if (paths.isEmpty()) return std::nullopt;
        return paths.takeFirst();
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
