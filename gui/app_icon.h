// The program's icon, drawn here rather than loaded: a small QR-like mark.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace tirrel::gui {

QPixmap AppIconPixmap(int size);
QIcon AppIcon();  // 16, 32 and 48 px

}  // namespace tirrel::gui
