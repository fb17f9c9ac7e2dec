#pragma once

#include <QMessageBox>
#include <QString>
#include <memory>

enum class DialogResult { Ok, Yes, No };

// The program's modal message boxes. The window asks through this interface
// so that a test can answer in place of the user.
class MessageDialogs {
public:
    virtual ~MessageDialogs() = default;

    // Caption "Error", the stop icon and the single button "OK".
    virtual void showError(const QString& text) = 0;
    // Caption "Confirm", the question icon, "&Yes" and "&No"; Enter chooses
    // Yes, Esc chooses No.
    virtual DialogResult confirm(const QString& text) = 0;
    // The default error report: the stop icon and one "OK" under the caption.
    virtual void reportError(const QString& caption, const QString& text) = 0;
    // Caption "Information", the information icon and "OK"; the text can be
    // selected and copied.
    virtual void showInformation(const QString& text) = 0;
};

enum class MessageKind { Error, Confirmation, Information };

// The box that QtMessageDialogs runs, screen-centred and not yet shown.
std::unique_ptr<QMessageBox> createMessageBox(MessageKind kind, const QString& caption,
                                              const QString& text);
DialogResult resultOf(const QMessageBox& box);

class QtMessageDialogs : public MessageDialogs {
public:
    void showError(const QString& text) override;
    DialogResult confirm(const QString& text) override;
    void reportError(const QString& caption, const QString& text) override;
    void showInformation(const QString& text) override;
};
