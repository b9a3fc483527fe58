// The program's one kind of message box: a warning or a question with Chinese buttons.
#pragma once

#include <QString>

class QWidget;

namespace tirrel::gui {

// A warning with an OK button ("确定"), modal over `parent` (or the application when null).
void ShowWarning(const QString& caption, const QString& text, QWidget* parent = nullptr);

// A question with OK and Cancel ("确定", "取消"); true when the user chose OK.
bool AskOkCancel(const QString& caption, const QString& text, QWidget* parent = nullptr);

}  // namespace tirrel::gui
