#include "gui/field_edits.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QValidator>

#include "platform/gbk.h"

namespace tirrel::gui {
namespace {

// A user edit of a single-line field that would make the text unrepresentable is Invalid, which
// makes the line edit undo it; text set by the program passes unchecked.
class GbkValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        if (RepresentableInGbk(input)) return Acceptable;
        QApplication::beep();
        return Invalid;
    }
};

}  // namespace

bool RepresentableInGbk(const QString& text) {
    return Utf8ToGbk(text.toStdString()).has_value();
}

GbkLineEdit::GbkLineEdit(QWidget* parent) : QLineEdit(parent) {
    setValidator(new GbkValidator(this));
}

GbkTextEdit::GbkTextEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setTabChangesFocus(true);
}

void GbkTextEdit::keyPressEvent(QKeyEvent* event) {
    if (!event->text().isEmpty() && !RepresentableInGbk(event->text())) {
        QApplication::beep();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void GbkTextEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (!RepresentableInGbk(event->commitString())) {
        QApplication::beep();
        event->accept();
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

void GbkTextEdit::insertFromMimeData(const QMimeData* source) {
    if (source && source->hasText() && !RepresentableInGbk(source->text())) {
        QApplication::beep();
        return;
    }
    QPlainTextEdit::insertFromMimeData(source);
}

}  // namespace tirrel::gui
