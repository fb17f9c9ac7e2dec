#include "ApplicationTitle.h"

namespace {

QString& storedTitle() {
    static QString title;
    return title;
}

} // namespace

QString applicationTitle() {
    return storedTitle();
}

void setApplicationTitle(const QString& title) {
    // A move run sets the title for every row; it changes once a percent.
    if (title == storedTitle()) {
        return;
    }
    storedTitle() = title;
    emit applicationTitleNotifier().changed(title);
}

QString programCaption() {
    return QStringLiteral("Velbrook");
}

ApplicationTitleNotifier& applicationTitleNotifier() {
    static ApplicationTitleNotifier notifier;
    return notifier;
}
