// Not a test: fills the main window through its widgets, as a user would, and saves pictures
// of it and of its dialogs, for looking at the layout, the fonts and the clipping.
//   gui_screenshot OUTPUT_FOLDER   (run in a folder holding 736-60.swf, on a real or virtual
//   display)
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QTimer>

#include "gui/about_dialog.h"
#include "gui/main_dialog.h"
#include "gui/page_widget.h"
#include "gui/parameter_dialog.h"
#include "gui/tab_strip.h"
#include "gui/ui_font.h"
#include "settings/parameter_dialogs.h"

namespace {

using namespace tirrel;
using namespace tirrel::gui;

void Type(QWidget* field, const QString& text) {
    field->setFocus();
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &press);
    }
}

void Save(QWidget& widget, const QString& folder, const char* name) {
    QApplication::processEvents();
    widget.grab().save(QDir(folder).filePath(QString::fromUtf8(name)));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setFont(UiFont());
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();

    MainDialog window(MainWindowOptions{});
    window.show();
    QApplication::processEvents();
    PageWidget* card = window.pageWidget(kCardPage);
    Type(card->Field(1012), QString::fromUtf8("张三"));
    Type(card->Field(1020), QStringLiteral("13800000000"));
    Type(card->Field(1013), QString::fromUtf8("经理"));
    Type(card->Field(1015), QString::fromUtf8("某某科技有限公司"));
    Type(card->Field(1016), QStringLiteral("zhangsan@example.com"));
    Type(card->Field(1017), QString::fromUtf8("北京市海淀区中关村大街1号"));
    Save(window, folder, "main-card.png");

    window.core().ClickTab(3);
    Type(window.pageWidget(kTextPage)->Field(1015), QString::fromUtf8("标题"));
    Type(window.pageWidget(kTextPage)->Field(1016), QString::fromUtf8("这是一段正文。"));
    Save(window, folder, "main-text.png");

    window.core().OnDialectChosen(kRadioMobileV2);
    Save(window, folder, "main-v2.png");

    ParameterDialog version(VersionDialogSpec(), window.core(), &window);
    version.show();
    Save(version, folder, "version-dialog.png");
    ParameterDialog print(PrintDialogSpec(), window.core(), &window);
    print.show();
    Save(print, folder, "print-dialog.png");
    AboutDialog about(&window);
    about.show();
    Save(about, folder, "about.png");
    return 0;
}
