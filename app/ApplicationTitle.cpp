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
    storedTitle() = title;
    emit applicationTitleNotifier().changed(title);
}

ApplicationTitleNotifier& applicationTitleNotifier() {
    static ApplicationTitleNotifier notifier;
    return notifier;
}
