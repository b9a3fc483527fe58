// The about box: the icon, the program's name and version, and a notice of rights.
#pragma once

#include <QDialog>

namespace tirrel::gui {

inline constexpr const char* kAboutTitle = "关于Tirrel生成工具";
inline constexpr const char* kAboutVersionLine = "Tirrel生成工具 0.9 版";
inline constexpr const char* kAboutRightsLine = "版权所有 (C) Tirrel 开发者，保留所有权利。";
inline constexpr const char* kAboutMenuText = "关于 Tirrel生成工具(&A)...";

class AboutDialog : public QDialog {
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace tirrel::gui
