#include "gui/parameter_dialog.h"
#include "gui/qt_text.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "app/main_window.h"
#include "gui/dialog_units.h"

namespace tirrel::gui {
ParameterDialog::ParameterDialog(const ParameterDialogSpec& spec, MainWindow& core, QWidget* parent)
    : QDialog(parent), core_(core), model_(spec) {
    setWindowTitle(Utf8(spec.title));
    setFixedSize(DialogRectToPixels(0, 0, 180, 100).size());
    model_.Open(core_);

    for (size_t i = 0; i < lists_.size(); ++i) {
        const ParameterList& def = spec.lists[i];
        const int y = 14 + static_cast<int>(i) * 26;
        auto* label = new QLabel(Utf8(def.label), this);
        label->setGeometry(DialogRectToPixels(10, y + 2, 72, 10));
        auto* combo = new QComboBox(this);
        combo->setEditable(false);
        for (std::string_view item : def.items)
            combo->addItem(Utf8(item));
        combo->setMaxVisibleItems(12);
        combo->setGeometry(DialogRectToPixels(86, y, 80, 13));
        combo->setCurrentIndex(model_.Selected(i));  // -1 leaves the list without a selection
        lists_[i] = combo;
    }

    auto* ok = new QPushButton(Utf8(kDialogOkText), this);
    ok->setGeometry(DialogRectToPixels(20, 76, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &ParameterDialog::accept);
    auto* cancel = new QPushButton(Utf8(kDialogCancelText), this);
    cancel->setGeometry(DialogRectToPixels(110, 76, 50, 14));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ParameterDialog::accept() {
    for (size_t i = 0; i < lists_.size(); ++i)
        model_.Select(i, lists_[i]->currentIndex());
    {
        // The version message shows at most once for the whole OK.
        MainWindow::ActionScope action(core_);
        model_.Accept(core_, [this] { core_.Generate(); });
    }
    QDialog::accept();
}

}  // namespace tirrel::gui
