// Start-up of the desktop program: the banner movie must be in the current directory, or the
// user is told and no window opens; otherwise the main window runs modally until it closes
// (closing it writes the settings).
#pragma once

#include <QString>
#include <functional>

namespace tirrel::gui {

using MessageBoxFn = std::function<void(const QString& text)>;

// The application's own message box: the text, an OK button, the application name as caption.
void ShowApplicationMessage(const QString& text);

// True when the banner movie is in the current directory; otherwise shows the message through
// `showMessage` and returns false.
bool CheckBannerFile(const MessageBoxFn& showMessage);

// The whole run after the application object exists. Returns the process's exit code:
// 0 after the window closed, 1 when the banner movie is missing.
int RunTirrel(const MessageBoxFn& showMessage = ShowApplicationMessage);

}  // namespace tirrel::gui
