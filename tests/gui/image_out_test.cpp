// The symbol leaves the window as a file of the type chosen in Qt's save dialog, on the
// clipboard, and on a printed page; each is read back to the payload.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QMimeData>
#include <QPrinter>
#include <QTest>
#include <QTimer>
#include <cstdlib>

#include "gui/main_dialog.h"
#include "gui_test_support.h"
#include "platform/temp_dir.h"

namespace tirrel::gui {
namespace {

using testing::DecodeQr;

bool RunTool(const std::string& command) {
    return std::system(command.c_str()) == 0;  // NOLINT(cert-env33-c): the test's own tools
}

// Answers the next file dialog as a user would: picks the type with the keyboard, gives a
// name without an extension, saves.
void AnswerSaveDialog(const QString& filter, const QString& path) {
    QTimer::singleShot(0, [filter, path] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
        ASSERT_TRUE(types);
        while (types->currentText() != filter && types->currentIndex() + 1 < types->count())
            QTest::keyClick(types, Qt::Key_Down);
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();  // QFileDialog's own accept
    });
}

TEST(ImageOut, SavedCopiedAndPrintedSymbolsReadBackAsThePayload) {
    tirrel::testing::TempDir dir;
    testing::WindowUnderTest t;
    MainDialog& w = *t.window;
    MainDialog::Presenter presenter;  // Qt's own save dialog, a PDF file for the printer
    presenter.message = [&t](const QString& text, const QString&) { t.messages << text; };
    const QString pdf = QString::fromStdString(dir.File("page.pdf"));
    double offered = 0;
    presenter.print = [&](QPrinter& printer, double sideMm) -> std::optional<double> {
        offered = sideMm;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return sideMm;
    };
    w.SetPresenter(presenter);
    ASSERT_TRUE(w.core().EditField(kCardPage, 1012, "Zhang"));
    const std::string payload = w.core().payload();

    // The filter names the format and adds its extension to a bare name.
    AnswerSaveDialog("PNG file(*.png)", QString::fromStdString(dir.File("sym")));
    w.core().SaveImage();
    EXPECT_EQ(DecodeQr(QImage(QString::fromStdString(dir.File("sym.png")), "PNG")), payload);
    AnswerSaveDialog("SVG file(*.svg)", QString::fromStdString(dir.File("vec")));
    w.core().SaveImage();
    ASSERT_TRUE(RunTool(std::string(RSVG_CONVERT) + " -o '" + dir.File("vec.png") + "' '" +
                        dir.File("vec.svg") + "'"));
    EXPECT_EQ(DecodeQr(QImage(QString::fromStdString(dir.File("vec.png")), "PNG")), payload);

    // The clipboard offers the picture as PNG and as BMP.
    w.core().CopyImage();
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(copied);
    for (const char* type : {"image/png", "image/bmp"})
        EXPECT_EQ(DecodeQr(QImage::fromData(copied->data(type))), payload) << type;

    // Printing: 40 mm offered, one page whose symbol reads back.
    w.core().PrintImage();
    EXPECT_EQ(offered, 40);
    ASSERT_TRUE(RunTool(std::string(PDFTOPPM) + " -png -r 150 -singlefile '" + pdf.toStdString() +
                        "' '" + dir.File("page") + "'"));
    EXPECT_EQ(DecodeQr(QImage(QString::fromStdString(dir.File("page.png")), "PNG")), payload);
    EXPECT_TRUE(t.messages.isEmpty()) << t.messages.join('|').toStdString();

    // A printer that cannot start says so.
    presenter.print = [](QPrinter& printer, double sideMm) -> std::optional<double> {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName("/nonexistent/folder/page.pdf");
        return sideMm;
    };
    w.SetPresenter(presenter);
    w.core().PrintImage();
    EXPECT_EQ(t.messages, QStringList{QString::fromUtf8("打印出错！")});
}

}  // namespace
}  // namespace tirrel::gui
