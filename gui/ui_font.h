// The one font every window of the program uses: a Song-style face at 9 pt that renders
// Chinese, taken from what the system has installed.
#pragma once

#include <QFont>
#include <QStringList>

namespace tirrel::gui {

// The first of SimSun, "Noto Serif CJK SC", "AR PL SungtiL GB" and "WenQuanYi Zen Hei" that
// `installed` holds; the toolkit's default family when none is there.
QString ChooseFontFamily(const QStringList& installed);

// That family, from the font database, at 9 pt.
QFont UiFont();

}  // namespace tirrel::gui
