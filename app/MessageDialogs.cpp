#include "MessageDialogs.h"

#include "platform/WindowPlacement.h"

#include <QDialogButtonBox>
#include <QPushButton>

namespace {

DialogResult run(MessageKind kind, const QString& caption, const QString& text) {
    const auto box = createMessageBox(kind, caption, text);
    box->exec();
    return resultOf(*box);
}

} // namespace

std::unique_ptr<QMessageBox> createMessageBox(MessageKind kind, const QString& caption,
                                              const QString& text) {
    // No parent: the box is application modal and centred on the screen.
    auto box = std::make_unique<QMessageBox>();
    box->setWindowModality(Qt::ApplicationModal);
    keepPlaced(*box, Placement::ScreenCentre);
    if (auto* buttons = box->findChild<QDialogButtonBox*>()) {
        buttons->setCenterButtons(true);
    }
    box->setWindowTitle(caption);
    box->setText(text);
    box->setTextFormat(Qt::PlainText);
    if (kind == MessageKind::Error || kind == MessageKind::Information) {
        box->setIcon(kind == MessageKind::Error ? QMessageBox::Critical : QMessageBox::Information);
        QPushButton* ok = box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box->setDefaultButton(ok);
        box->setEscapeButton(ok);
        if (kind == MessageKind::Information) {
            box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        }
    } else {
        box->setIcon(QMessageBox::Question);
        QPushButton* yes = box->addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
        QPushButton* no = box->addButton(QStringLiteral("&No"), QMessageBox::NoRole);
        box->setDefaultButton(yes);
        box->setEscapeButton(no);
    }
    return box;
}

DialogResult resultOf(const QMessageBox& box) {
    QAbstractButton* button = box.clickedButton();
    if (button == nullptr) {
        return DialogResult::No;
    }
    switch (box.buttonRole(button)) {
    case QMessageBox::YesRole:
        return DialogResult::Yes;
    case QMessageBox::NoRole:
        return DialogResult::No;
    default:
        return DialogResult::Ok;
    }
}

void QtMessageDialogs::showError(const QString& text) {
    run(MessageKind::Error, QStringLiteral("Error"), text);
}

DialogResult QtMessageDialogs::confirm(const QString& text) {
    return run(MessageKind::Confirmation, QStringLiteral("Confirm"), text);
}

void QtMessageDialogs::reportError(const QString& caption, const QString& text) {
    run(MessageKind::Error, caption, text);
}

void QtMessageDialogs::showInformation(const QString& text) {
    run(MessageKind::Information, QStringLiteral("Information"), text);
}
