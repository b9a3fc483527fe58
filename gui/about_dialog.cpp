#include "gui/about_dialog.h"
#include "gui/qt_text.h"

#include <QLabel>
#include <QPushButton>

#include "gui/app_icon.h"
#include "gui/dialog_units.h"
#include "settings/parameter_dialogs.h"

namespace tirrel::gui {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8(kAboutTitle));
    setWindowIcon(AppIcon());
    setFixedSize(DialogRectToPixels(0, 0, 252, 72).size());

    auto* icon = new QLabel(this);
    icon->setPixmap(AppIconPixmap(32));
    icon->setGeometry(DialogUnits(7), DialogUnits(26), 32, 32);

    auto* version = new QLabel(QString::fromUtf8(kAboutVersionLine), this);
    version->setGeometry(DialogRectToPixels(40, 17, 150, 10));
    auto* rights = new QLabel(QString::fromUtf8(kAboutRightsLine), this);
    rights->setGeometry(DialogRectToPixels(40, 34, 196, 15));

    auto* ok = new QPushButton(Utf8(kDialogOkText), this);
    ok->setGeometry(DialogRectToPixels(195, 7, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace tirrel::gui
