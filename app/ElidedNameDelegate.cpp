#include "ElidedNameDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFontMetrics>
#include <algorithm>

QString elideName(const QString& line, qsizetype nameLength, const QFontMetrics& metrics,
                  int width) {
    if (metrics.horizontalAdvance(line) <= width) {
        return line;
    }
    const qsizetype length = nameLength < 0 ? line.size() : std::min(nameLength, line.size());
    const QString rest = line.mid(length);
    const int room = std::max(0, width - metrics.horizontalAdvance(rest));
    return metrics.elidedText(line.left(length), Qt::ElideMiddle, room) + rest;
}

QSize ElidedNameDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    // As wide as the view, so that a long line is shortened instead of scrolled.
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (const auto* view = qobject_cast<const QAbstractItemView*>(option.widget)) {
        size.setWidth(std::min(size.width(), view->viewport()->width()));
    }
    return size;
}

QString ElidedNameDelegate::shownText(const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const {
    QStyleOptionViewItem shown = option;
    initStyleOption(&shown, index);
    return shown.text;
}

void ElidedNameDelegate::initStyleOption(QStyleOptionViewItem* option,
                                         const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    const QStyle* style = option->widget != nullptr ? option->widget->style() : qApp->style();
    const QRect textRect =
        style->subElementRect(QStyle::SE_ItemViewItemText, option, option->widget);
    const int margin =
        style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option->widget) + 1;
    const QVariant nameLength = index.data(NameLengthRole);
    option->text = elideName(option->text, nameLength.isValid() ? nameLength.toLongLong() : -1,
                             option->fontMetrics, textRect.width() - 2 * margin);
}
