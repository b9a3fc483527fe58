// Start-up of the desktop program: the banner movie must be in the current directory, or the
// user is told and no window opens; otherwise the main window runs modally until it closes
// (closing it writes the settings).
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QCoreApplication;

namespace tirrel::gui {

using MessageBoxFn = std::function<void(const QString& text)>;

// What the command line asks for: an information file to open (none when empty), or an
// answer and an exit code without a window (help, or a usage error on standard error).
struct StartArguments {
    QString informationFile;
    std::optional<int> exitCode;
    QString answer;
};

// `arguments` without the program's name and with Qt's own options taken out.
StartArguments ParseStartArguments(const QStringList& arguments);

// Qt's own texts (the file, print and message dialogs) in the window's language, Chinese,
// where the system has Qt's translations.
void InstallQtTranslations(QCoreApplication& app);

// The application's own message box: the text, an OK button, the application name as caption.
void ShowApplicationMessage(const QString& text);

// True when the banner movie is in the current directory; otherwise shows the message through
// `showMessage` and returns false.
bool CheckBannerFile(const MessageBoxFn& showMessage);

// The whole run after the application object exists; `informationFile` (may be empty) is
// loaded once the window shows, as 读入信息文件 would. Returns the process's exit code: 0 after
// the window closed, 1 when the banner movie is missing.
int RunTirrel(const QString& informationFile = {},
              const MessageBoxFn& showMessage = ShowApplicationMessage);

}  // namespace tirrel::gui
