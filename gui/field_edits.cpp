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
    explicit GbkValidator(GbkLineEdit* edit) : QValidator(edit), edit_(edit) {}
    State validate(QString& input, int&) const override {
        if (RepresentableInGbk(input)) return Acceptable;
        edit_->Refuse(input);
        return Invalid;
    }

private:
    GbkLineEdit* edit_;
};

// Beeps now; the report waits for the event loop, so no message box opens in the middle of
// the field's own edit or of a drag.
void Refused(QObject* field, const RefusalHandler& onRefused, const QString& text, bool report) {
    QApplication::beep();
    if (!report || !onRefused) return;
    QMetaObject::invokeMethod(
        field, [onRefused, text] { onRefused(text); }, Qt::QueuedConnection);
}

}  // namespace

bool RepresentableInGbk(const QString& text) {
    return Utf8ToGbk(text.toStdString()).has_value();
}

GbkLineEdit::GbkLineEdit(RefusalHandler onRefused, QWidget* parent)
    : QLineEdit(parent), onRefused_(std::move(onRefused)) {
    setValidator(new GbkValidator(this));
}

void GbkLineEdit::Refuse(const QString& input) {
    Refused(this, onRefused_, input, !typing_);
}

// Whatever the validator refuses outside these two is a paste, a drop or a middle click.
void GbkLineEdit::keyPressEvent(QKeyEvent* event) {
    const bool was = typing_;
    typing_ = !event->matches(QKeySequence::Paste);
    QLineEdit::keyPressEvent(event);
    typing_ = was;
}

void GbkLineEdit::inputMethodEvent(QInputMethodEvent* event) {
    const bool was = typing_;
    typing_ = true;
    QLineEdit::inputMethodEvent(event);
    typing_ = was;
}

GbkTextEdit::GbkTextEdit(RefusalHandler onRefused, QWidget* parent)
    : QPlainTextEdit(parent), onRefused_(std::move(onRefused)) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setTabChangesFocus(true);
}

void GbkTextEdit::keyPressEvent(QKeyEvent* event) {
    if (!event->text().isEmpty() && !RepresentableInGbk(event->text())) {
        Refused(this, onRefused_, event->text(), false);
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void GbkTextEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (!RepresentableInGbk(event->commitString())) {
        Refused(this, onRefused_, event->commitString(), false);
        event->accept();
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

// Paste, drop and middle-click insertion all arrive here.
void GbkTextEdit::insertFromMimeData(const QMimeData* source) {
    if (source && source->hasText() && !RepresentableInGbk(source->text())) {
        Refused(this, onRefused_, source->text(), true);
        return;
    }
    QPlainTextEdit::insertFromMimeData(source);
}

}  // namespace tirrel::gui
