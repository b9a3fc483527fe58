#include "gui/startup.h"
#include "gui/qt_text.h"

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/messages.h"
#include "gui/main_dialog.h"
#include "gui/message_box.h"
#include "gui/update_ui.h"
#include "platform/atomic_file.h"
#include "settings/settings.h"

namespace tirrel::gui {
namespace {

constexpr const char* kUsage =
    "usage: tirrel [FILE.sig]\n"
    "Starts the window in the current folder, which must hold the banner 736-60.swf and keeps\n"
    "Sembrano.ini; FILE.sig is loaded as the button 读入信息文件 would load it.\n";

}  // namespace

StartArguments ParseStartArguments(const QStringList& arguments) {
    StartArguments start;
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            return {{}, 0, QString::fromUtf8(kUsage)};
        }
        if (argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            return {{}, 2, QStringLiteral("tirrel: unknown option %1\n").arg(argument) + kUsage};
        }
        if (!start.informationFile.isEmpty()) {
            return {{}, 2, QStringLiteral("tirrel: one information file at most\n") + kUsage};
        }
        start.informationFile = argument;
    }
    return start;
}

void InstallQtTranslations(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        app.installTranslator(translator);
    } else {
        delete translator;  // English dialogs, as without translations installed
    }
}

void ShowApplicationMessage(const QString& text) {
    ShowWarning(QCoreApplication::applicationName(), text);
}

bool CheckBannerFile(const MessageBoxFn& showMessage) {
    if (FileExists(CurrentDirectoryFile(kBannerFileName))) return true;
    showMessage(Utf8(kMsgBannerMissing));
    return false;
}

int RunTirrel(const QString& informationFile, const MessageBoxFn& showMessage) {
    if (!CheckBannerFile(showMessage)) return 1;
    MainWindowOptions options;
    options.informationFile = QFile::encodeName(informationFile).toStdString();
    options.settingsPath = SettingsFilePath();
    options.updateUi = MakeUpdateUi();
    MainDialog window(std::move(options));
    window.exec();
    return 0;
}

}  // namespace tirrel::gui
