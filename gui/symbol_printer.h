// Printing the symbol: the desktop's print dialog, with the side to print at, and the page.
#pragma once

#include <optional>

#include "app/ui_port.h"

class QPrinter;
class QWidget;

namespace tirrel::gui {

// The print dialog with a tab for the side in millimetres (quiet zone included), starting at
// `sideMm`: the side chosen, or nothing when cancelled.
std::optional<double> AskPrinter(QPrinter& printer, double sideMm, QWidget* parent);

// One page with the symbol centred at about `sideMm`, each module whole printer dots. False
// when the printer cannot start (a PDF file that cannot be written, say) or not even one dot a
// module fits on the page.
bool PrintOnPage(QPrinter& printer, const PrintRequest& request, double sideMm);

}  // namespace tirrel::gui
