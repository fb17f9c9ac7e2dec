#pragma once

#include <QStyledItemDelegate>

class QFontMetrics;

// A line that begins with a name, fitted into width: when it is too wide,
// the name loses characters in its middle and the rest of the line stays
// whole. A name longer than the line means the whole line is the name.
QString elideName(const QString& line, qsizetype nameLength, const QFontMetrics& metrics,
                  int width);

// Draws list items whose text begins with a name (the item's NameLengthRole
// characters, the whole text without it) fitted to the item's width.
class ElidedNameDelegate : public QStyledItemDelegate {
public:
    static constexpr int NameLengthRole = Qt::UserRole + 1;

    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The text drawn for the item in option.rect.
    QString shownText(const QStyleOptionViewItem& option, const QModelIndex& index) const;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};
