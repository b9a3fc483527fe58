// The version dialog and the print-parameter dialog, as one modal dialog drawn from a
// parameter-dialog model: a title, two labelled drop-down lists, 确定 and 取消. OK stores the
// choices in the main window and regenerates, as one user action.
#pragma once

#include <QDialog>
#include <array>

#include "settings/parameter_dialogs.h"

class QComboBox;

namespace tirrel {
class MainWindow;
}

namespace tirrel::gui {

class ParameterDialog : public QDialog {
public:
    ParameterDialog(const ParameterDialogSpec& spec, MainWindow& core, QWidget* parent = nullptr);

    QComboBox* list(size_t index) const { return lists_.at(index); }

    void accept() override;

private:
    MainWindow& core_;
    ParameterDialogModel model_;
    std::array<QComboBox*, 2> lists_{};
};

}  // namespace tirrel::gui
