#include "gui/app_icon.h"

#include <QPainter>

namespace tirrel::gui {
namespace {

constexpr int kGrid = 11;  // modules per side of the mark

// A finder square (7 modules in a real symbol, 4 here) with its dark centre.
void DrawFinder(QPainter& p, int col, int row) {
    p.fillRect(QRectF(col, row, 4, 4), Qt::black);
    p.fillRect(QRectF(col + 0.75, row + 0.75, 2.5, 2.5), Qt::white);
    p.fillRect(QRectF(col + 1.25, row + 1.25, 1.5, 1.5), Qt::black);
}

}  // namespace

QPixmap AppIconPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setPen(Qt::NoPen);
    p.scale(size / double(kGrid), size / double(kGrid));
    p.translate(0.5, 0.5);  // a half-module quiet zone
    DrawFinder(p, 0, 0);
    DrawFinder(p, 6, 0);
    DrawFinder(p, 0, 6);
    // A few data modules in the free corner and along the timing gaps.
    static const int kModules[][2] = {{5, 1}, {5, 3}, {1, 5}, {3, 5}, {5, 5}, {6, 6}, {8, 6},
                                      {7, 7}, {9, 7}, {6, 8}, {8, 8}, {7, 9}, {9, 9}};
    for (const auto& m : kModules)
        p.fillRect(QRectF(m[0], m[1], 1, 1), QColor(0, 0, 128));
    return pixmap;
}

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(AppIconPixmap(size));
    return icon;
}

}  // namespace tirrel::gui
