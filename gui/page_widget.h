// One content page on screen, built from its page table: a label and an edit control per
// field at the table's positions, the tab order running down the page. It follows the core
// (texts the program sets, enabled flags, focus) without echoing those changes back, and hands
// every user edit up as UTF-8 text. Enter and Esc inside the page do nothing.
#pragma once

#include <QWidget>
#include <functional>
#include <map>

#include "gui/field_edits.h"
#include "pages/page_def.h"

namespace tirrel::gui {

class PageWidget : public QWidget {
public:
    // Called with the field's whole text (line breaks as "\n") after every user edit.
    using EditHandler = std::function<void(int fieldId, const QString& text)>;

    // `onRefused` hears of every refused paste or drop into one of the fields.
    PageWidget(const PageDef& def, EditHandler onEdit, RefusalHandler onRefused,
               QWidget* parent = nullptr);

    const PageDef& def() const { return def_; }

    // The program's text for a field: shown without raising an edit.
    void SetFieldText(int fieldId, const QString& text);
    QString FieldText(int fieldId) const;
    void SetFieldEnabled(int fieldId, bool enabled);
    void FocusField(int fieldId);
    // The edit control of a field, or nullptr.
    QWidget* Field(int fieldId) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildField(const FieldDef& field);
    void ChainTabOrder();

    const PageDef& def_;
    EditHandler onEdit_;
    RefusalHandler onRefused_;
    std::map<int, QWidget*> fields_;
    bool settingText_ = false;
};

}  // namespace tirrel::gui
