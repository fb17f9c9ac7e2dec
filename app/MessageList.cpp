#include "MessageList.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>

namespace {

constexpr int textMargin = 2;

} // namespace

MessageList::MessageList(QWidget* parent) : QAbstractScrollArea(parent) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalScrollBar()->setSingleStep(1);
    setBackgroundRole(QPalette::Base);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
}

int MessageList::rowHeight() const {
    return fontMetrics().height() + 1;
}

int MessageList::rowsInView() const {
    return std::max(1, viewport()->height() / rowHeight());
}

int MessageList::topRow() const {
    return verticalScrollBar()->value();
}

int MessageList::rowAt(int y) const {
    const int row = topRow() + y / rowHeight();
    return y >= 0 && row < count() ? row : -1;
}

void MessageList::addLine(const QString& text) {
    lines_.append(text);
    updateScrollRange();
    setCurrentRow(count() - 1);
    emit lineAdded(text);
}

void MessageList::clear() {
    lines_.clear();
    current_ = -1;
    updateScrollRange();
    viewport()->update();
}

void MessageList::setCurrentRow(int row) {
    current_ = std::clamp(row, -1, count() - 1);
    scrollToRow(current_);
    viewport()->update();
}

void MessageList::updateScrollRange() {
    QScrollBar* bar = verticalScrollBar();
    bar->setPageStep(rowsInView());
    bar->setRange(0, std::max(0, count() - rowsInView()));
}

void MessageList::scrollToRow(int row) {
    if (row < 0) {
        return;
    }
    if (row < topRow()) {
        verticalScrollBar()->setValue(row);
    } else if (row >= topRow() + rowsInView()) {
        verticalScrollBar()->setValue(row - rowsInView() + 1);
    }
}

bool MessageList::event(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        updateScrollRange();
    }
    return QAbstractScrollArea::event(event);
}

bool MessageList::viewportEvent(QEvent* event) {
    // A line cut at the right edge is shown whole as a tooltip.
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int row = rowAt(help->pos().y());
        if (row >= 0 && fontMetrics().horizontalAdvance(lines_.at(row)) + 2 * textMargin >
                            viewport()->width()) {
            QToolTip::showText(help->globalPos(), lines_.at(row), viewport());
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void MessageList::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(viewport());
    const int height = rowHeight();
    const int width = viewport()->width();
    const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
    const int last = std::min(count(), topRow() + rowsInView() + 1);
    for (int row = topRow(); row < last; ++row) {
        const QRect rect(0, (row - topRow()) * height, width, height);
        const bool current = row == current_;
        if (current) {
            painter.fillRect(rect, palette().color(group, QPalette::Highlight));
        }
        painter.setPen(
            palette().color(group, current ? QPalette::HighlightedText : QPalette::Text));
        painter.drawText(rect.adjusted(textMargin, 0, -textMargin, 0),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, lines_.at(row));
    }
}

void MessageList::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
    scrollToRow(current_);
}

void MessageList::mousePressEvent(QMouseEvent* event) {
    const int row = rowAt(event->position().toPoint().y());
    if (event->button() == Qt::LeftButton && row >= 0) {
        setCurrentRow(row);
    }
    QAbstractScrollArea::mousePressEvent(event);
}
