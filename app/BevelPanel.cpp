#include "BevelPanel.h"

#include <QPainter>

BevelPanel::BevelPanel(QWidget* parent)
    : QWidget(parent), color_(palette().color(QPalette::Window)) {}

void BevelPanel::setBevels(Bevel outer, Bevel inner) {
    outer_ = outer;
    inner_ = inner;
    update();
}

void BevelPanel::setColor(const QColor& color) {
    color_ = color;
    update();
}

void BevelPanel::setCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void BevelPanel::setCaptionColor(const QColor& color) {
    captionColor_ = color;
    update();
}

void BevelPanel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    QRect area = rect();
    painter.fillRect(area, color_);
    for (const Bevel bevel : {outer_, inner_}) {
        if (bevel != Bevel::None) {
            drawBevel(painter, area, bevel);
            area.adjust(1, 1, -1, -1);
        }
    }
    if (!caption_.isEmpty()) {
        painter.setPen(captionColor_);
        painter.setFont(font());
        painter.drawText(area, Qt::AlignCenter, caption_);
    }
}

void drawBevel(QPainter& painter, const QRect& rect, Bevel bevel) {
    const QColor light = Qt::white;
    const QColor dark(128, 128, 128);
    const QColor topLeft = bevel == Bevel::Raised ? light : dark;
    const QColor bottomRight = bevel == Bevel::Raised ? dark : light;
    painter.setPen(topLeft);
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
}
