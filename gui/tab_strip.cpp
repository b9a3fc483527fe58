#include "gui/tab_strip.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>

namespace tirrel::gui {
namespace {

constexpr int kTextPadding = 12;  // pixels of room around a label

}  // namespace

TabStrip::TabStrip(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void TabStrip::SetTabs(const QStringList& labels) {
    labels_ = labels;
    selected_ = labels_.isEmpty() ? -1 : 0;
    Layout();
    update();
}

void TabStrip::SetSelected(int index) {
    selected_ = (index >= 0 && index < count()) ? index : -1;
    update();
}

QRect TabStrip::TabRect(int index) const {
    return (index >= 0 && index < static_cast<int>(rects_.size())) ? rects_[index] : QRect();
}

int TabStrip::TabAt(const QPoint& pos) const {
    for (size_t i = 0; i < rects_.size(); ++i) {
        if (rects_[i].contains(pos)) return static_cast<int>(i);
    }
    return -1;
}

// Fills rows left to right, starting a new row when a tab no longer fits; rows are stacked
// from the top.
void TabStrip::Layout() {
    rects_.clear();
    const QFontMetrics fm = fontMetrics();
    tabHeight_ = fm.height() + 6;
    int x = 0, row = 0;
    for (const QString& text : labels_) {
        const int w = std::min(fm.horizontalAdvance(text) + kTextPadding, width());
        if (x > 0 && x + w > width()) {
            x = 0;
            ++row;
        }
        rects_.emplace_back(x, row * tabHeight_, w, tabHeight_);
        x += w;
    }
    rows_ = labels_.isEmpty() ? 0 : row + 1;
}

void TabStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int top = rows_ * tabHeight_;
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = QRect(0, top, width(), height() - top);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);

    for (int i = 0; i < count(); ++i) {
        QStyleOptionTab tab;
        tab.initFrom(this);
        tab.rect = rects_[i];
        tab.text = labels_[i];
        tab.shape = QTabBar::RoundedNorth;
        tab.position = QStyleOptionTab::Middle;
        tab.state &= ~QStyle::State_HasFocus;
        if (i == selected_) {
            tab.state |= QStyle::State_Selected;
            if (hasFocus()) tab.state |= QStyle::State_HasFocus;
        }
        // The shape from the style, the label centred by us: the style's own label margins
        // are wider than a tab that must share its row with eight others. The shape is drawn
        // at the origin: some styles size the strip that joins a selected tab to its page by
        // the tab's distance from the top, which on a second row hangs into the page, and
        // draw below the tab: only the one line that opens the tab into the page is kept.
        tab.rect.moveTopLeft(QPoint(0, 0));
        painter.save();
        painter.translate(rects_[i].topLeft());
        painter.setClipRect(QRect(0, 0, tab.rect.width(), tab.rect.height() + 1));
        style()->drawControl(QStyle::CE_TabBarTabShape, &tab, &painter, this);
        painter.restore();
        QRect textRect = rects_[i];
        if (i != selected_) textRect.translate(0, 1);
        style()->drawItemText(&painter, textRect, Qt::AlignCenter, palette(), isEnabled(),
                              labels_[i], QPalette::WindowText);
    }
}

void TabStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int index = TabAt(event->position().toPoint());
    if (index >= 0) Choose(index);
}

void TabStrip::keyPressEvent(QKeyEvent* event) {
    int next = -1;
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            next = selected_ - 1;
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            next = selected_ + 1;
            break;
        case Qt::Key_Home:
            next = 0;
            break;
        case Qt::Key_End:
            next = count() - 1;
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    // The shown page always follows the selected tab, whichever way it moved.
    if (next >= 0 && next < count() && next != selected_) Choose(next);
}

void TabStrip::resizeEvent(QResizeEvent*) {
    Layout();
}

void TabStrip::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) Layout();
    QWidget::changeEvent(event);
}

void TabStrip::Choose(int index) {
    SetSelected(index);
    if (onChoose_) onChoose_(index);
}

}  // namespace tirrel::gui
