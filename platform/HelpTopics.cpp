#include "HelpTopics.h"

#include "WindowPlacement.h"

#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocumentFragment>

namespace {

// Break marks in the examples (zero-width spaces after ";", no-break spaces
// and word joiners elsewhere) stay out of what the user copies. Escape closes
// the window, as it closes a dialog.
class HelpBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
            close();
            return;
        }
        QTextBrowser::keyPressEvent(event);
    }

    QMimeData* createMimeDataFromSelection() const override {
        QString text = textCursor().selection().toPlainText();
        text.remove(QChar(0x200B));
        text.remove(QChar(0x2060));
        text.replace(QChar::Nbsp, QLatin1Char(' '));
        auto* mime = new QMimeData;
        mime->setText(text);
        return mime;
    }
};

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
        browser = new HelpBrowser(parent);
        browser->setObjectName(name);
        browser->setWindowFlag(Qt::Window);
        browser->setAttribute(Qt::WA_DeleteOnClose);
        browser->setWindowTitle(QStringLiteral("Velbrook Help"));
        // Lines break between words only, never inside one.
        browser->setWordWrapMode(QTextOption::WordWrap);
        browser->resize(600, 460);
        if (parent != nullptr) {
            keepPlaced(*browser, Placement::BesideWindow, parent->window());
        }
    }
    browser->setHtml(html);
    browser->show();
    browser->raise();
    browser->activateWindow();
    return browser;
}
