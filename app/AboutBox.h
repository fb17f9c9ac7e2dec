#pragma once

#include <QDialog>
#include <QUrl>
#include <functional>

class BevelPanel;
class ClickLabel;
class MessageDialogs;
class QLabel;
class QPushButton;

// The About box AboutBox: product, version, maker and a note on how the
// program works, with links to the README and the documentation folder.
// Created hidden at start and shown modally by btnAboutClick.
class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(MessageDialogs& dialogs, QWidget* parent = nullptr);

    // The README (behind the maker's name) and the documentation folder.
    static const QUrl& readmeAddress();
    static const QUrl& documentsAddress();

    // Opens an address with the desktop's program for it and tells whether
    // one took it; replaceable so that a test sees the address instead.
    std::function<bool(const QUrl&)> openUrl;

    void Label1Click();
    void Label2Click();

    BevelPanel* Panel1 = nullptr;
    QLabel* ProgramIcon = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QLabel* Copyright = nullptr;
    ClickLabel* Label1 = nullptr;
    ClickLabel* Label2 = nullptr;
    QLabel* Comments = nullptr;
    QPushButton* OKButton = nullptr;

private:
    void open(const QUrl& url, const QString& address);

    MessageDialogs& dialogs_;
};
