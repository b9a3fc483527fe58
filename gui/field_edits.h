// The two edit controls of the content pages. Both refuse, with a beep, any input holding a
// character that GBK cannot represent, so the field never shows what the payload could not
// carry: the edit simply does not happen (text and cursor stay as they were).
#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>

namespace tirrel::gui {

// True when every character of `text` has a GBK encoding.
bool RepresentableInGbk(const QString& text);

class GbkLineEdit : public QLineEdit {
public:
    explicit GbkLineEdit(QWidget* parent = nullptr);
};

// Multi-line, with a vertical scroll bar, wrapping at the field's width.
class GbkTextEdit : public QPlainTextEdit {
public:
    explicit GbkTextEdit(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
};

}  // namespace tirrel::gui
