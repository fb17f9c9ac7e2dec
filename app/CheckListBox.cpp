#include "CheckListBox.h"

#include "ElidedNameDelegate.h"

#include <QKeyEvent>
#include <QMouseEvent>

void CheckListItems::BeginUpdate() {
    list_.setUpdatesEnabled(false);
}

void CheckListItems::EndUpdate() {
    list_.setUpdatesEnabled(true);
}

void CheckListItems::Clear() {
    list_.clear();
}

void CheckListItems::Add(const std::string& text) {
    list_.addItem(QString::fromStdString(text));
}

int CheckListItems::Count() const {
    return list_.count();
}

std::string CheckListItems::Strings(int index) const {
    return list_.item(index)->text().toStdString();
}

void CheckListItems::SetStrings(int index, const std::string& text) {
    list_.item(index)->setText(QString::fromStdString(text));
    list_.item(index)->setToolTip(QString::fromStdString(text));
}

CheckListBox::CheckListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setItemDelegate(new ElidedNameDelegate(this));
}

void CheckListBox::addItem(const QString& text, bool checked, qsizetype nameLength) {
    auto* item = new QListWidgetItem(text, this);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    item->setToolTip(text);
    if (nameLength >= 0) {
        item->setData(ElidedNameDelegate::NameLengthRole, nameLength);
    }
}

bool CheckListBox::checked(int index) const {
    return item(index)->checkState() == Qt::Checked;
}

void CheckListBox::setChecked(int index, bool checked) {
    item(index)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

QRect CheckListBox::checkBoxRect(int index) const {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QModelIndex modelIndex = model()->index(index, 0);
    option.rect = visualRect(modelIndex);
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    option.checkState = item(index)->checkState();
    return style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
}

QString CheckListBox::shownText(int index) const {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QModelIndex modelIndex = model()->index(index, 0);
    option.rect = visualRect(modelIndex);
    return static_cast<const ElidedNameDelegate*>(itemDelegate())->shownText(option, modelIndex);
}

void CheckListBox::click() {
    if (onClick) {
        onClick();
    }
}

void CheckListBox::mouseReleaseEvent(QMouseEvent* event) {
    QListWidget::mouseReleaseEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid()) {
        // A click on the box toggles it without selecting; the item is selected as well.
        setCurrentIndex(index);
        click();
    }
}

void CheckListBox::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier ||
                       event->modifiers() == Qt::ShiftModifier;
    if (event->key() == Qt::Key_Space && plain) {
        toggleCurrent();
        // A blank inside a name being typed also extends the search.
        if (!search_.isEmpty() && lastKey_.isValid() && lastKey_.elapsed() < typeAheadInterval &&
            typeAhead(event->text())) {
            click();
        }
        event->accept();
        return;
    }
    const QString text = event->text();
    if (plain && !text.isEmpty() && text.at(0).isPrint()) {
        if (typeAhead(text)) {
            click();
        }
        event->accept();
        return;
    }
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before) {
        click();
    }
}

void CheckListBox::keyboardSearch(const QString& /*search*/) {
    // Type-ahead is done in keyPressEvent with its own interval.
}

bool CheckListBox::typeAhead(const QString& text) {
    if (!lastKey_.isValid() || lastKey_.elapsed() >= typeAheadInterval) {
        search_.clear();
    }
    lastKey_.start();
    search_ += text;
    for (int i = 0; i < count(); ++i) {
        if (item(i)->text().startsWith(search_, Qt::CaseInsensitive)) {
            setCurrentRow(i);
            return true;
        }
    }
    return false;
}

void CheckListBox::toggleCurrent() {
    if (QListWidgetItem* current = currentItem()) {
        current->setCheckState(current->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
}
