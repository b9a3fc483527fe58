// The 420 x 420 preview area: paints the core's preview bitmap unchanged, and only while the
// core says there is something to show; otherwise it keeps the window's background.
#pragma once

#include <QWidget>

namespace tirrel {
class MainWindow;
}

namespace tirrel::gui {

class PreviewView : public QWidget {
public:
    PreviewView(const MainWindow& core, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const MainWindow& core_;
};

}  // namespace tirrel::gui
