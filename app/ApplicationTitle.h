#pragma once

#include <QObject>
#include <QString>

// The application title: "Velbrook 0.1", and the progress of a move run
// while one is going on. It stands for the program's task bar entry, so the
// main window shows it as its icon name and no window caption carries it.
QString applicationTitle();
void setApplicationTitle(const QString& title);

// The caption of the main window and of the default error report, whatever
// the title says.
QString programCaption();

// Tells who shows the title that it changed.
class ApplicationTitleNotifier : public QObject {
    Q_OBJECT

signals:
    void changed(const QString& title);
};

ApplicationTitleNotifier& applicationTitleNotifier();
