// The windows under a real X server and window manager (scripts/wm-session):
// the captions that the window manager gets, where the windows land with
// their frames, and keys typed as a user types them.
#include "QtPrinters.h"
#include "XWindows.h"
#include "app/AboutBox.h"
#include "app/ApplicationTitle.h"
#include "app/BevelPanel.h"
#include "app/MessageDialogs.h"
#include "app/MessageList.h"
#include "app/TMainForm.h"
#include "connections/DataLinkPropertiesDialog.h"
#include "connections/EditConnectionString.h"
#include "connections/TConnEditForm.h"
#include "dbaccess/TADOConnection.h"
#include "tests/connections/TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>

namespace {

constexpr int settleMilliseconds = 10000;

// Runs act on the next modal window once the window manager has framed it
// and given it the keyboard; act must close it.
void whenModalActive(const std::function<void(QWidget&)>& act) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        EXPECT_TRUE(QTest::qWaitForWindowActive(modal, settleMilliseconds));
        act(*modal);
    });
    poll->start(10);
}

bool centredOnScreen(const QWidget& window) {
    const QRect frame = xwindows::frameGeometry(window.winId());
    const QPoint screen = window.screen()->geometry().center();
    return !frame.isNull() && std::abs(frame.center().x() - screen.x()) <= 1 &&
           std::abs(frame.center().y() - screen.y()) <= 1;
}

class WindowManager : public ::testing::Test {
public:
    void SetUp() override {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form, settleMilliseconds));
        form.setAboutBox(&aboutBox);
    }

    // What the window manager made of the window: its caption and its frame.
    void expectPlainCaptionAndCentred(QWidget& window, const QString& caption) {
        EXPECT_EQ(xwindows::textProperty(window.winId(), "_NET_WM_NAME"), caption);
        EXPECT_TRUE(QTest::qWaitFor([&] { return centredOnScreen(window); }, settleMilliseconds))
            << caption.toStdString() << ": frame "
            << xwindows::frameGeometry(window.winId()).center().x() << ","
            << xwindows::frameGeometry(window.winId()).center().y();
    }

    QtMessageDialogs dialogs;
    TMainForm form{dialogs};
    TAboutBox aboutBox{dialogs, &form};
    DataHome home;
    TestDataLinkServices services;
};

// A window that a test opens: shown modally by open, checked while it is up.
struct ModalWindow {
    const char* name;
    std::function<void(WindowManager&)> open;
    const char* caption;
};

class WindowManagerCaption : public WindowManager,
                             public ::testing::WithParamInterface<ModalWindow> {};

TEST_F(WindowManager, MainWindowKeepsItsCaptionAndShowsTheTitleAsItsIconName) {
    setApplicationTitle(QStringLiteral("Velbrook 0.1 T:22%"));
    expectPlainCaptionAndCentred(form, "Velbrook");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return xwindows::textProperty(form.winId(), "_NET_WM_ICON_NAME") ==
                   "Velbrook 0.1 T:22%";
        },
        settleMilliseconds));
}

TEST_P(WindowManagerCaption, IsTheWindowsOwnAndTheFrameIsCentred) {
    // During a run the title holds the progress; no caption shows it.
    setApplicationTitle(QStringLiteral("Velbrook 0.1 T:22%"));
    bool checked = false;
    whenModalActive([&](QWidget& window) {
        expectPlainCaptionAndCentred(window, QString::fromUtf8(GetParam().caption));
        checked = true;
        window.close();
    });
    GetParam().open(*this);
    EXPECT_TRUE(checked);
}

INSTANTIATE_TEST_SUITE_P(
    , WindowManagerCaption,
    ::testing::Values(
        ModalWindow{"About", [](WindowManager& test) { test.form.btnAboutClick(); }, "About"},
        ModalWindow{"Error",
                    [](WindowManager& test) {
                        test.form.showError(QStringLiteral("Source table not choice!!"));
                    },
                    "Error"},
        ModalWindow{"Confirm",
                    [](WindowManager& test) { test.form.confirm(QStringLiteral("Stop Export?")); },
                    "Confirm"},
        ModalWindow{"Editor",
                    [](WindowManager& test) {
                        EditConnectionString(test.form.ADOConnection1, test.form.objectName(),
                                             test.services);
                    },
                    "MainForm.ADOConnection1 ConnectionString"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

// Keys typed into the connection string editor, each once the focus or the
// window named is there.
struct KeyStep {
    const char* key;
    // objectName of the widget that has the focus, or of the modal window
    // that is active, once the key is through; empty when the editor closes.
    const char* then;
};

struct KeyCase {
    const char* name;
    std::vector<KeyStep> steps;
    const char16_t* result;
    bool built;
};

class EditorKeys : public WindowManager, public ::testing::WithParamInterface<KeyCase> {};

bool reached(const char* name) {
    const QString wanted = QString::fromLatin1(name);
    const QWidget* modal = QApplication::activeModalWidget();
    const QWidget* focus = QApplication::focusWidget();
    return (modal != nullptr && modal->objectName() == wanted && modal->isActiveWindow()) ||
           (focus != nullptr && focus->objectName() == wanted);
}

// Types the steps one by one from the event loop, so that a key may open a
// modal window of its own and the next key still comes.
class KeyScript {
public:
    explicit KeyScript(std::vector<KeyStep> steps) : steps_(std::move(steps)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { next(); });
    }

    void start() {
        waited_.start();
        timer_.start(10);
    }

    std::size_t typed() const noexcept { return index_; }
    bool done() const noexcept { return index_ == steps_.size(); }
    const std::string& failure() const noexcept { return failure_; }

private:
    void next() {
        if (index_ > 0 && *steps_[index_ - 1].then != '\0' && !reached(steps_[index_ - 1].then)) {
            if (waited_.hasExpired(settleMilliseconds)) {
                stop("after " + std::string(steps_[index_ - 1].key) + ", no " +
                     steps_[index_ - 1].then);
            }
            return;
        }
        if (index_ == steps_.size()) {
            timer_.stop();
            return;
        }
        if (!xwindows::typeKeys({QString::fromLatin1(steps_[index_].key)})) {
            stop("xdotool failed");
            return;
        }
        ++index_;
        waited_.restart();
    }

    void stop(const std::string& failure) {
        failure_ = failure;
        timer_.stop();
        // Leaves the editor so that the test can report.
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
        }
    }

    std::vector<KeyStep> steps_;
    std::size_t index_ = 0;
    QTimer timer_;
    QElapsedTimer waited_;
    std::string failure_;
};

TEST_P(EditorKeys, EnterPressesTheFocusedButtonAndEscapeCancels) {
    TConnEditForm editor(services);
    KeyScript script(GetParam().steps);
    bool built = false;
    whenModalActive([&](QWidget&) {
        editor.ConnectionString->setText(QStringLiteral("DSN=changed"));
        script.start();
    });
    // Build opens the data link property dialog over the editor.
    auto* watch = new QTimer(&editor);
    QObject::connect(watch, &QTimer::timeout, [&] {
        built = built || qobject_cast<DataLinkPropertiesDialog*>(
                             QApplication::activeModalWidget()) != nullptr;
    });
    watch->start(10);
    const std::u16string result = editor.RunEditor(u"DSN=old");
    EXPECT_EQ(script.failure(), "");
    EXPECT_TRUE(script.done()) << script.typed() << " keys typed before the editor closed";
    EXPECT_EQ(result, GetParam().result);
    EXPECT_EQ(built, GetParam().built);
}

INSTANTIATE_TEST_SUITE_P(
    , EditorKeys,
    ::testing::Values(
        KeyCase{"EnterInTheField", {{"Return", ""}}, u"DSN=changed", false},
        KeyCase{"Escape", {{"Escape", ""}}, u"DSN=old", false},
        KeyCase{"EnterOnOk",
                {{"Tab", "Build"}, {"Tab", "OkButton"}, {"Return", ""}},
                u"DSN=changed",
                false},
        KeyCase{"EnterOnCancel",
                {{"Tab", "Build"}, {"Tab", "OkButton"}, {"Tab", "CancelButton"}, {"Return", ""}},
                u"DSN=old",
                false},
        KeyCase{"EnterOnBuild",
                {{"Tab", "Build"},
                 {"Return", "DataLinkProperties"},
                 {"Escape", "ConnEditForm"},
                 {"Escape", ""}},
                u"DSN=old",
                true}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

struct ConfirmKeys {
    const char* name;
    QStringList keys;
    DialogResult answer;
};

class ConfirmationKeys : public WindowManager, public ::testing::WithParamInterface<ConfirmKeys> {};

TEST_P(ConfirmationKeys, EnterPressesTheFocusedButtonAndEscapeSaysNo) {
    whenModalActive([](QWidget&) { ASSERT_TRUE(xwindows::typeKeys(GetParam().keys)); });
    EXPECT_EQ(dialogs.confirm(QStringLiteral("Stop Export?")), GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(
    , ConfirmationKeys,
    ::testing::Values(ConfirmKeys{"Enter", {"Return"}, DialogResult::Yes},
                      ConfirmKeys{"Escape", {"Escape"}, DialogResult::No},
                      ConfirmKeys{"TabThenEnter", {"Tab", "Return"}, DialogResult::No}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(WindowManager, MainWindowKeepsSourceAndAboutOnTheScreen) {
    const QRect area = form.screen()->availableGeometry();
    const qreal scale = form.devicePixelRatioF();
    const QRect deviceArea(area.topLeft() * scale, area.size() * scale);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const QRect frame = xwindows::frameGeometry(form.winId());
            return !frame.isNull() && deviceArea.contains(frame);
        },
        settleMilliseconds))
        << "frame left " << xwindows::frameGeometry(form.winId()).left();
    for (const QToolButton* button : {form.btnOpenSource, form.btnAbout}) {
        EXPECT_TRUE(area.contains(QRect(button->mapToGlobal(QPoint(0, 0)), button->size())))
            << button->objectName().toStdString();
    }
}

TEST_F(WindowManager, CloseBoxDuringARunIsRefusedLikeExit) {
    form.beginRun();
    ASSERT_TRUE(xwindows::typeKeys({"alt+F4"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.lstMessage->count() > 0; }, settleMilliseconds));
    EXPECT_EQ(form.lstMessage->line(0), "Moving Data....(Request: Exit Program)");
    QTest::qWait(100);
    EXPECT_TRUE(form.isVisible());
    form.endRun();
}

TEST_F(WindowManager, MessageListShowsTheNewestOfTensOfThousandsOfLines) {
    const auto line = [](int i) { return QStringLiteral("Preparing Move Table:t%1").arg(i); };
    constexpr int lines = 20000;
    for (int i = 0; i < lines; ++i) {
        form.AddMessage(line(i));
    }
    // The screen shows what a list holding only the last lines shows.
    MessageList expected;
    expected.setFont(form.lstMessage->font());
    expected.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    expected.resize(form.lstMessage->size());
    for (int i = lines - form.lstMessage->rowsInView() - 1; i < lines; ++i) {
        expected.addLine(line(i));
    }
    const QWidget* viewport = form.lstMessage->viewport();
    const QPoint at = viewport->mapTo(&form, QPoint(0, 0));
    const auto rgb = [](const QPixmap& pixmap) {
        return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
    };
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return rgb(form.screen()->grabWindow(form.winId(), at.x(), at.y(), viewport->width(),
                                                 viewport->height())) ==
                   rgb(expected.viewport()->grab());
        },
        settleMilliseconds));
}

// Keys typed into the main window: each tool bar button is reached with Tab
// and pressed with the space bar, or pressed at once with Alt and its letter.
struct WindowKeyCase {
    const char* name;
    std::vector<KeyStep> steps;
    const char* pressed;
};

class MainWindowKeys : public WindowManager, public ::testing::WithParamInterface<WindowKeyCase> {};

TEST_P(MainWindowKeys, ReachAndPressTheToolBarButtons) {
    for (QToolButton* button : {form.btnSelectAll, form.btnUnSelect, form.btnMover}) {
        button->setEnabled(true);
    }
    QStringList pressed;
    for (QToolButton* button : form.Panel1->findChildren<QToolButton*>()) {
        QObject::connect(button, &QToolButton::clicked, &form,
                         [&pressed, button] { pressed << button->objectName(); });
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == form.btnOpenSource; },
                                settleMilliseconds));
    KeyScript script(GetParam().steps);
    script.start();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return script.done() && !pressed.isEmpty(); }, settleMilliseconds));
    EXPECT_EQ(script.failure(), "");
    EXPECT_EQ(pressed, QStringList{QString::fromLatin1(GetParam().pressed)});
}

INSTANTIATE_TEST_SUITE_P(, MainWindowKeys,
                         ::testing::Values(WindowKeyCase{"AltS", {{"alt+s", ""}}, "btnOpenSource"},
                                           WindowKeyCase{"AltA", {{"alt+a", ""}}, "btnSelectAll"},
                                           WindowKeyCase{"AltT", {{"alt+t", ""}}, "btnOpenTarget"},
                                           WindowKeyCase{"AltE", {{"alt+e", ""}}, "btnMover"},
                                           WindowKeyCase{"TabToExecute",
                                                         {{"Tab", "btnSelectAll"},
                                                          {"Tab", "btnUnSelect"},
                                                          {"Tab", "btnOpenTarget"},
                                                          {"Tab", "btnMover"},
                                                          {"space", ""}},
                                                         "btnMover"}),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

} // namespace

int main(int argc, char* argv[]) {
    ::testing::InitGoogleTest(&argc, argv);
    // Only a real X server with a window manager shows what these look at.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
