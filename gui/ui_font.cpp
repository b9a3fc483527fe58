#include "gui/ui_font.h"

#include <QFontDatabase>

namespace tirrel::gui {

QString ChooseFontFamily(const QStringList& installed) {
    // Noto Serif CJK before AR PL SungtiL GB: the latter's Latin letters (v1.0, WAP, SMS) come
    // out tiny and cramped beside its Chinese.
    static const char* const kPreferred[] = {"SimSun", "Noto Serif CJK SC", "AR PL SungtiL GB",
                                             "WenQuanYi Zen Hei"};
    for (const char* family : kPreferred) {
        if (installed.contains(QString::fromUtf8(family), Qt::CaseInsensitive)) {
            return QString::fromUtf8(family);
        }
    }
    return QFont().family();
}

QFont UiFont() {
    QFont font(ChooseFontFamily(QFontDatabase::families()));
    font.setPointSize(9);
    return font;
}

}  // namespace tirrel::gui
