// The two edit controls of the content pages. Both refuse, with a beep, any input holding a
// character that GBK cannot represent, so the field never shows what the payload could not
// carry: the edit simply does not happen (text and cursor stay as they were). A refused paste
// or drop is also reported, so the user learns why the text did not arrive; a refused key
// only beeps.
#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <functional>

namespace tirrel::gui {

// True when every character of `text` has a GBK encoding.
bool RepresentableInGbk(const QString& text);

// Told, once control is back in the event loop, of a refused paste or drop and its text.
using RefusalHandler = std::function<void(const QString& refused)>;

class GbkLineEdit : public QLineEdit {
public:
    explicit GbkLineEdit(RefusalHandler onRefused = {}, QWidget* parent = nullptr);

    // The validator's verdict on an edit that would make the text unrepresentable.
    void Refuse(const QString& input);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    RefusalHandler onRefused_;
    bool typing_ = false;  // inside a key or input-method event that is not a paste
};

// Multi-line, with a vertical scroll bar, wrapping at the field's width.
class GbkTextEdit : public QPlainTextEdit {
public:
    explicit GbkTextEdit(RefusalHandler onRefused = {}, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    RefusalHandler onRefused_;
};

}  // namespace tirrel::gui
