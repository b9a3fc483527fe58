#include "gui/symbol_printer.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "render/render.h"

namespace tirrel::gui {

std::optional<double> AskPrinter(QPrinter& printer, double sideMm, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    auto* tab = new QWidget(&dialog);
    tab->setWindowTitle(QStringLiteral("二维码尺寸"));
    auto* side = new QDoubleSpinBox(tab);
    side->setRange(5, render::kMaxSizeMm);
    side->setDecimals(1);
    side->setSuffix(QStringLiteral(" mm"));
    side->setValue(sideMm);
    auto* form = new QFormLayout(tab);
    form->addRow(QStringLiteral("边长（含空白区）："), side);
    dialog.setOptionTabs({tab});
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return side->value();
}

bool PrintOnPage(QPrinter& printer, const PrintRequest& request, double sideMm) {
    render::Options padding;
    padding.quietZone = request.quietZone;
    // The painter's origin is the printable area's top left, in device dots.
    const QRect area = printer.pageLayout().paintRectPixels(printer.resolution());
    const std::optional<render::PrintLayout> layout =
        render::LayoutForPrint(render::PaddedSide(request.modules.width, padding), sideMm,
                               printer.resolution() / 25.4, area.width(), area.height());
    if (!layout) return false;
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const int64_t m = layout->moduleDots;
    render::ForEachDarkRun(
        request.modules, request.quietZone, [&](int64_t x, int64_t y, int64_t length) {
            painter.fillRect(
                QRect(int(layout->left + x * m), int(layout->top + y * m), int(length * m), int(m)),
                Qt::black);
        });
    return painter.end();
}

}  // namespace tirrel::gui
