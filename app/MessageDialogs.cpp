#include "MessageDialogs.h"

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
    box->setWindowTitle(caption);
    box->setText(text);
    box->setTextFormat(Qt::PlainText);
    if (kind == MessageKind::Error) {
        box->setIcon(QMessageBox::Critical);
        QPushButton* ok = box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box->setDefaultButton(ok);
        box->setEscapeButton(ok);
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
