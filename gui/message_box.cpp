#include "gui/message_box.h"

#include <QMessageBox>
#include <QPushButton>

#include "gui/qt_text.h"
#include "settings/parameter_dialogs.h"

namespace tirrel::gui {
namespace {

int Run(QMessageBox::Icon icon, const QString& caption, const QString& text, bool withCancel,
        QWidget* parent) {
    QMessageBox box(icon, caption, text,
                    withCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(Utf8(kDialogOkText));
    if (withCancel) box.button(QMessageBox::Cancel)->setText(Utf8(kDialogCancelText));
    return box.exec();
}

}  // namespace

void ShowWarning(const QString& caption, const QString& text, QWidget* parent) {
    Run(QMessageBox::Warning, caption, text, false, parent);
}

bool AskOkCancel(const QString& caption, const QString& text, QWidget* parent) {
    return Run(QMessageBox::Question, caption, text, true, parent) == QMessageBox::Ok;
}

}  // namespace tirrel::gui
