#include "gui/startup.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "app/messages.h"
#include "gui/main_dialog.h"
#include "gui/update_ui.h"
#include "platform/atomic_file.h"
#include "settings/parameter_dialogs.h"
#include "settings/settings.h"

namespace tirrel::gui {

void ShowApplicationMessage(const QString& text) {
    QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(), text,
                    QMessageBox::Ok);
    box.button(QMessageBox::Ok)
        ->setText(
            QString::fromUtf8(kDialogOkText.data(), static_cast<qsizetype>(kDialogOkText.size())));
    box.exec();
}

bool CheckBannerFile(const MessageBoxFn& showMessage) {
    if (FileExists(CurrentDirectoryFile(kBannerFileName))) return true;
    showMessage(QString::fromUtf8(kMsgBannerMissing.data(),
                                  static_cast<qsizetype>(kMsgBannerMissing.size())));
    return false;
}

int RunTirrel(const MessageBoxFn& showMessage) {
    if (!CheckBannerFile(showMessage)) return 1;
    MainWindowOptions options;
    options.settingsPath = SettingsFilePath();
    options.updateUi = MakeUpdateUi();
    MainDialog window(std::move(options));
    window.exec();
    return 0;
}

}  // namespace tirrel::gui
