#include "gui/startup.h"
#include "gui/qt_text.h"

#include <QApplication>

#include "app/messages.h"
#include "gui/main_dialog.h"
#include "gui/message_box.h"
#include "gui/update_ui.h"
#include "platform/atomic_file.h"
#include "settings/parameter_dialogs.h"
#include "settings/settings.h"

namespace tirrel::gui {

void ShowApplicationMessage(const QString& text) {
    ShowWarning(QCoreApplication::applicationName(), text);
}

bool CheckBannerFile(const MessageBoxFn& showMessage) {
    if (FileExists(CurrentDirectoryFile(kBannerFileName))) return true;
    showMessage(Utf8(kMsgBannerMissing));
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
