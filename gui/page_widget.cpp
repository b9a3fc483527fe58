#include "gui/page_widget.h"
#include "gui/qt_text.h"

#include <QKeyEvent>
#include <QLabel>
#include <algorithm>
#include <vector>

#include "gui/dialog_units.h"
#include "gui/field_edits.h"

namespace tirrel::gui {
namespace {

constexpr int kLabelX = 7;        // dialog units
constexpr int kLabelHeight = 14;  // as tall as a single-line field

bool IsEnterOrEsc(const QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) {
        return false;
    }
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

}  // namespace

PageWidget::PageWidget(const PageDef& def, EditHandler onEdit, RefusalHandler onRefused,
                       QWidget* parent)
    : QWidget(parent), def_(def), onEdit_(std::move(onEdit)), onRefused_(std::move(onRefused)) {
    installEventFilter(this);
    for (const FieldDef& field : def_.fields)
        BuildField(field);
    ChainTabOrder();
}

void PageWidget::BuildField(const FieldDef& field) {
    if (!field.label.empty()) {
        auto* label = new QLabel(Utf8(field.label), this);
        label->setGeometry(
            DialogRectToPixels(kLabelX, field.edit.y, def_.labelWidth, kLabelHeight));
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    QWidget* edit = nullptr;
    const int id = field.id;
    if (field.kind == FieldKind::kSingleLine) {
        auto* line = new GbkLineEdit(onRefused_, this);
        // textEdited is the user's change only; setText does not raise it.
        connect(line, &QLineEdit::textEdited, this, [this, id](const QString& text) {
            if (!settingText_) onEdit_(id, text);
        });
        edit = line;
    } else {
        auto* multi = new GbkTextEdit(onRefused_, this);
        connect(multi, &QPlainTextEdit::textChanged, this, [this, id, multi] {
            if (!settingText_) onEdit_(id, multi->toPlainText());
        });
        edit = multi;
    }
    edit->setGeometry(DialogRectToPixels(field.edit));
    edit->installEventFilter(this);
    fields_[id] = edit;
}

void PageWidget::ChainTabOrder() {
    std::vector<const FieldDef*> order;
    for (const FieldDef& f : def_.fields)
        order.push_back(&f);
    std::stable_sort(order.begin(), order.end(),
                     [](const FieldDef* a, const FieldDef* b) { return a->edit.y < b->edit.y; });
    for (size_t i = 1; i < order.size(); ++i) {
        setTabOrder(fields_[order[i - 1]->id], fields_[order[i]->id]);
    }
}

QWidget* PageWidget::Field(int fieldId) const {
    auto it = fields_.find(fieldId);
    return it == fields_.end() ? nullptr : it->second;
}

void PageWidget::SetFieldText(int fieldId, const QString& text) {
    QWidget* w = Field(fieldId);
    if (!w) return;
    const bool was = settingText_;
    settingText_ = true;
    if (auto* line = qobject_cast<QLineEdit*>(w)) {
        line->setText(text);
    } else if (auto* multi = qobject_cast<QPlainTextEdit*>(w)) {
        multi->setPlainText(text);
    }
    settingText_ = was;
}

QString PageWidget::FieldText(int fieldId) const {
    QWidget* w = Field(fieldId);
    if (auto* line = qobject_cast<QLineEdit*>(w)) return line->text();
    if (auto* multi = qobject_cast<QPlainTextEdit*>(w)) return multi->toPlainText();
    return {};
}

void PageWidget::SetFieldEnabled(int fieldId, bool enabled) {
    if (QWidget* w = Field(fieldId)) w->setEnabled(enabled);
}

void PageWidget::FocusField(int fieldId) {
    if (QWidget* w = Field(fieldId)) w->setFocus(Qt::OtherFocusReason);
}

bool PageWidget::eventFilter(QObject* watched, QEvent* event) {
    // Consumed before the field or the dialog sees it: no line break, no default button, no
    // closing.
    if (IsEnterOrEsc(event)) {
        event->accept();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace tirrel::gui
