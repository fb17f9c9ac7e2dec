#include "HelpTopics.h"

#include <QFile>
#include <QTextBrowser>

namespace {

const char* topicResource(int helpContext) {
    switch (helpContext) {
    case ConnectionStringHelpContext:
        return ":/help/connection-string.html";
    default:
        return nullptr;
    }
}

} // namespace

QString helpTopicHtml(int helpContext) {
    const char* resource = topicResource(helpContext);
    if (resource == nullptr) {
        return {};
    }
    QFile file(QString::fromLatin1(resource));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

QWidget* ShowHelpTopic(QWidget* parent, int helpContext) {
    const QString html = helpTopicHtml(helpContext);
    if (html.isEmpty()) {
        return nullptr;
    }
    const QString name = QStringLiteral("HelpWindow");
    auto* browser = parent != nullptr
                        ? parent->findChild<QTextBrowser*>(name, Qt::FindDirectChildrenOnly)
                        : nullptr;
    if (browser == nullptr) {
        // A window of the modal dialog's own, so that it takes input beside it.
        browser = new QTextBrowser(parent);
        browser->setObjectName(name);
        browser->setWindowFlag(Qt::Window);
        browser->setAttribute(Qt::WA_DeleteOnClose);
        browser->setWindowTitle(QStringLiteral("Velbrook Help"));
        browser->resize(600, 460);
    }
    browser->setHtml(html);
    browser->show();
    browser->raise();
    browser->activateWindow();
    return browser;
}
