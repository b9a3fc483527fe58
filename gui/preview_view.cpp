#include "gui/preview_view.h"

#include <QImage>
#include <QPainter>

#include "app/main_window.h"
#include "app/preview.h"

namespace tirrel::gui {

PreviewView::PreviewView(const MainWindow& core, QWidget* parent) : QWidget(parent), core_(core) {
    setFixedSize(kDisplaySize, kDisplaySize);
}

void PreviewView::paintEvent(QPaintEvent*) {
    const std::vector<uint8_t>* pixels = core_.preview();
    if (!core_.PreviewPainted() || !pixels || pixels->size() < size_t(kPreviewBytes)) return;
    // The bytes are B, G, R, but all three are equal, so RGB888 reads them unchanged.
    const QImage image(pixels->data(), kDisplaySize, kDisplaySize, qsizetype{kDisplaySize} * 3,
                       QImage::Format_RGB888);
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), image);
}

}  // namespace tirrel::gui
