#include "ApplicationTitle.h"

#include <QGuiApplication>

QString applicationTitle() {
    return QGuiApplication::applicationDisplayName();
}

void setApplicationTitle(const QString& title) {
    QGuiApplication::setApplicationDisplayName(title);
}

QString windowManagerTitle(const QString& caption) {
    const QString title = applicationTitle();
    if (title.isEmpty() || caption.endsWith(title)) {
        return caption;
    }
    return caption.isEmpty() ? title : caption + QStringLiteral(" \u2014 ") + title;
}
