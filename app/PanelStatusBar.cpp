#include "PanelStatusBar.h"

#include <QPainter>
#include <QTextOption>
#include <algorithm>

namespace {
constexpr int panelGap = 2;
constexpr int topGap = 2;
} // namespace

PanelStatusBar::PanelStatusBar(QWidget* parent)
    : QWidget(parent), repaints_([this] {
          for (int i = 0; i < panelCount(); ++i) {
              if ((changedPanels_ & (1U << i)) != 0) {
                  update(outerRect(i));
              }
          }
          changedPanels_ = 0;
      }) {}

void PanelStatusBar::setPanels(std::vector<StatusPanel> panels) {
    panels_ = std::move(panels);
    drawOwnerPanels();
    update();
}

void PanelStatusBar::setPanelText(int index, const QString& text) {
    QString& current = panels_.at(static_cast<std::size_t>(index)).text;
    if (current == text) {
        return;
    }
    current = text;
    changedPanels_ |= 1U << (index % 32);
    repaints_.request();
}

QRect PanelStatusBar::outerRect(int index) const {
    int left = 0;
    for (int i = 0; i < index; ++i) {
        left += panel(i).width + panelGap;
    }
    int width = panel(index).width;
    if (index == panelCount() - 1) {
        width = std::max(width, this->width() - left);
    }
    return {left, topGap, width, height() - topGap};
}

QRect PanelStatusBar::panelRect(int index) const {
    return outerRect(index).adjusted(1, 1, -1, -1);
}

void PanelStatusBar::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setFont(font());
    for (int i = 0; i < panelCount(); ++i) {
        const StatusPanel& p = panel(i);
        drawBevel(painter, outerRect(i), p.bevel);
        if (!p.ownerDraw && !p.text.isEmpty()) {
            painter.setPen(palette().color(QPalette::WindowText));
            painter.drawText(QRectF(panelRect(i).adjusted(2, 0, -2, 0)), p.text,
                             QTextOption(p.alignment | Qt::AlignVCenter));
        }
    }
    painter.end();
    drawOwnerPanels();
}

void PanelStatusBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    drawOwnerPanels();
}

void PanelStatusBar::drawOwnerPanels() {
    if (!onDrawPanel) {
        return;
    }
    for (int i = 0; i < panelCount(); ++i) {
        if (panel(i).ownerDraw) {
            onDrawPanel(this, i, panelRect(i));
        }
    }
}
