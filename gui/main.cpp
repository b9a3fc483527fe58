// tirrel: the desktop program.
#include <QApplication>
#include <QFileInfo>

#include "gui/startup.h"
#include "gui/ui_font.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Every message box is captioned with the executable's file name without its extension.
    QApplication::setApplicationName(
        QFileInfo(QApplication::applicationFilePath()).completeBaseName());
    QApplication::setFont(tirrel::gui::UiFont());
    return tirrel::gui::RunTirrel();
}
