// A tab control whose tabs run onto as many rows as they need, so every tab of a dialect is
// visible and clickable in the narrow column beside the preview. It draws the tabs and the
// frame of the display area below them; the pages lie over that area as siblings.
#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>
#include <vector>

namespace tirrel::gui {

class TabStrip : public QWidget {
public:
    // Called when the user picks a tab, by mouse or with the arrow keys.
    using ChooseHandler = std::function<void(int index)>;

    explicit TabStrip(QWidget* parent = nullptr);

    void SetChooseHandler(ChooseHandler handler) { onChoose_ = std::move(handler); }

    // Replaces every tab; the first becomes the selected one. Raises no choice.
    void SetTabs(const QStringList& labels);
    // Moves the selection (-1 = none). Raises no choice.
    void SetSelected(int index);

    int count() const { return static_cast<int>(labels_.size()); }
    int selected() const { return selected_; }
    QString label(int index) const { return labels_.value(index); }
    QRect TabRect(int index) const;  // widget coordinates
    int TabAt(const QPoint& pos) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Layout();
    void Choose(int index);

    QStringList labels_;
    std::vector<QRect> rects_;
    int rows_ = 0;
    int tabHeight_ = 0;
    int selected_ = -1;
    ChooseHandler onChoose_;
};

}  // namespace tirrel::gui
