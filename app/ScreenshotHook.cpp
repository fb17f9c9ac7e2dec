#include "ScreenshotHook.h"

#include "AboutBox.h"
#include "TMainForm.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

constexpr int settleMilliseconds = 1500;
constexpr int pollMilliseconds = 100;

// Saves what the screen shows of the window, the window manager's frame included.
bool grabFramed(const QWidget& window, const QString& path) {
    QScreen* screen = window.screen();
    const QRect frame = window.frameGeometry();
    if (screen != nullptr &&
        screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
            .save(path, "PNG")) {
        return true;
    }
    std::fprintf(stderr, "could not save %s\n", qPrintable(path));
    return false;
}

// Runs action once the modal dialog of that object name is up and settled.
void whenModalShown(const QString& name, const std::function<void(QWidget&)>& action) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, name, action] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr || dialog->objectName() != name || !dialog->isVisible()) {
            return;
        }
        poll->deleteLater();
        poll->stop();
        QTimer::singleShot(settleMilliseconds, dialog, [dialog, action] { action(*dialog); });
    });
    poll->start(pollMilliseconds);
}

// Source opens the connection string editor; Build opens the data link
// property dialog over it. Both are cancelled, so the source keeps its string.
void grabConnectionDialogs(TMainForm& mainForm, const QDir& dir) {
    auto saved = std::make_shared<bool>(true);
    whenModalShown(QStringLiteral("ConnEditForm"), [dir, saved](QWidget& editor) {
        *saved = grabFramed(editor, dir.filePath(QStringLiteral("conn-editor.png"))) && *saved;
        whenModalShown(QStringLiteral("DataLinkProperties"), [dir, saved,
                                                              &editor](QWidget& properties) {
            *saved =
                grabFramed(properties, dir.filePath(QStringLiteral("data-link-properties.png"))) &&
                *saved;
            properties.close();
            editor.close();
        });
        if (auto* build = editor.findChild<QPushButton*>(QStringLiteral("Build"))) {
            build->click();
        } else {
            *saved = false;
            editor.close();
        }
    });
    mainForm.guarded([&mainForm] { mainForm.btnOpenSource->click(); });
    QTimer::singleShot(0, qApp, [saved] { QCoreApplication::exit(*saved ? 0 : 1); });
}

} // namespace

bool installScreenshotHook(TMainForm& mainForm, TAboutBox& aboutBox) {
    const QString folder = qEnvironmentVariable("VELBROOK_SCREENSHOT");
    if (folder.isEmpty()) {
        return false;
    }
    QDir().mkpath(folder);
    const QDir dir(folder);
    QTimer::singleShot(settleMilliseconds, &mainForm, [&mainForm, &aboutBox, dir] {
        if (!grabFramed(mainForm, dir.filePath(QStringLiteral("main.png")))) {
            QCoreApplication::exit(1);
            return;
        }
        QTimer::singleShot(settleMilliseconds, &aboutBox, [&mainForm, &aboutBox, dir] {
            const bool saved = grabFramed(aboutBox, dir.filePath(QStringLiteral("about.png")));
            aboutBox.accept();
            QTimer::singleShot(0, qApp, [&mainForm, dir, saved] {
                if (!saved) {
                    QCoreApplication::exit(1);
                    return;
                }
                grabConnectionDialogs(mainForm, dir);
            });
        });
        mainForm.guarded([&mainForm] { mainForm.btnAboutClick(); });
    });
    return true;
}
