#pragma once

#include "QtPrinters.h"
#include "app/MessageDialogs.h"

#include <deque>
#include <vector>

// Answers the program's message boxes in place of the user and keeps what
// each one would have shown.
class RecordingDialogs : public MessageDialogs {
public:
    struct Shown {
        MessageKind kind;
        QString caption;
        QString text;
    };

    void showError(const QString& text) override {
        shown.push_back({MessageKind::Error, QStringLiteral("Error"), text});
    }

    DialogResult confirm(const QString& text) override {
        shown.push_back({MessageKind::Confirmation, QStringLiteral("Confirm"), text});
        if (answers.empty()) {
            return DialogResult::No;
        }
        const DialogResult answer = answers.front();
        answers.pop_front();
        return answer;
    }

    void reportError(const QString& caption, const QString& text) override {
        shown.push_back({MessageKind::Error, caption, text});
    }

    void showInformation(const QString& text) override {
        shown.push_back({MessageKind::Information, QStringLiteral("Information"), text});
    }

    std::vector<Shown> shown;
    std::deque<DialogResult> answers;
};
