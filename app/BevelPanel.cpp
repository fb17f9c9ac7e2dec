#include "BevelPanel.h"

#include <QPainter>
#include <algorithm>
#include <utility>
#include <vector>

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

QRect BevelPanel::innerArea() const {
    QRect area = rect();
    for (const Bevel bevel : {outer_, inner_}) {
        if (bevel != Bevel::None) {
            area.adjust(1, 1, -1, -1);
        }
    }
    return area;
}

QRect BevelPanel::captionRect() const {
    const QRect area = innerArea();
    const QSize size = fontMetrics().size(Qt::TextSingleLine, caption_);
    const auto centredIn = [&](int left, int right) {
        return QRect(left + (right - left + 1 - size.width()) / 2,
                     area.top() + (area.height() - size.height()) / 2, size.width(), size.height());
    };
    const QRect centred = centredIn(area.left(), area.right());
    std::vector<std::pair<int, int>> taken;
    bool inTheWay = false;
    for (const QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isHidden()) {
            const QRect control = child->geometry();
            taken.emplace_back(control.left(), control.right());
            inTheWay = inTheWay ||
                       (control.left() <= centred.right() && control.right() >= centred.left());
        }
    }
    if (!inTheWay) {
        return centred;
    }
    std::sort(taken.begin(), taken.end());
    int bestLeft = area.left();
    int bestRight = area.left() - 1;
    int free = area.left();
    taken.emplace_back(area.right() + 1, area.right() + 1);
    for (const auto& [left, right] : taken) {
        if (left - 1 - free > bestRight - bestLeft) {
            bestLeft = free;
            bestRight = left - 1;
        }
        free = std::max(free, right + 1);
    }
    return centredIn(bestLeft, bestRight);
}

void BevelPanel::keepWithin(QWidget* child, int left) {
    kept_.emplace_back(child, left);
    placeKeptChildren();
}

void BevelPanel::placeKeptChildren() {
    for (const auto& [child, left] : kept_) {
        child->move(std::min(left, width() - edgeRoom - child->width()), child->y());
    }
}

void BevelPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeKeptChildren();
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
        painter.drawText(captionRect(), Qt::AlignCenter, caption_);
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
