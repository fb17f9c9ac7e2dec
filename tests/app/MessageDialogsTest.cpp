#include "app/MessageDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QString defaultButton;
};

class RealDialogs : public ::testing::Test {
protected:
    SeenBox run(Qt::Key key, const std::function<void()>& show) {
        auto seen = std::make_shared<SeenBox>();
        QTimer::singleShot(0, qApp, [seen, key] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            seen->caption = box->windowTitle();
            seen->text = box->text();
            seen->icon = box->icon();
            for (QAbstractButton* button : box->buttons()) {
                seen->buttons << button->text();
            }
            if (box->defaultButton() != nullptr) {
                seen->defaultButton = box->defaultButton()->text();
            }
            QTest::keyClick(box, key);
        });
        show();
        return *seen;
    }

    QtMessageDialogs dialogs;
};

TEST_F(RealDialogs, ConfirmationTakesEnterForYesAndEscForNo) {
    DialogResult answer = DialogResult::Ok;
    const SeenBox box = run(Qt::Key_Return, [&] { answer = dialogs.confirm("Stop Export?"); });
    EXPECT_EQ(answer, DialogResult::Yes);
    EXPECT_EQ(box.caption, "Confirm");
    EXPECT_EQ(box.text, "Stop Export?");
    EXPECT_EQ(box.icon, QMessageBox::Question);
    EXPECT_EQ(box.buttons, (QStringList{"&Yes", "&No"}));
    EXPECT_EQ(box.defaultButton, "&Yes");

    run(Qt::Key_Escape, [&] { answer = dialogs.confirm("Stop Export?"); });
    EXPECT_EQ(answer, DialogResult::No);
}

TEST_F(RealDialogs, ErrorHasOnlyOkUnderTheStopIcon) {
    const SeenBox box =
        run(Qt::Key_Return, [&] { dialogs.showError("Source table not choice!!"); });
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.text, "Source table not choice!!");
    EXPECT_EQ(box.icon, QMessageBox::Critical);
    EXPECT_EQ(box.buttons, QStringList{"OK"});

    run(Qt::Key_Escape, [&] { dialogs.showError("closed with Esc"); });
}

TEST_F(RealDialogs, ErrorReportIsCaptionedWithTheGivenTitle) {
    const SeenBox box = run(Qt::Key_Return, [&] {
        dialogs.reportError("Velbrook 0.1 T:33%", "Invalid object name 'orders'.");
    });
    EXPECT_EQ(box.caption, "Velbrook 0.1 T:33%");
    EXPECT_EQ(box.icon, QMessageBox::Critical);
    EXPECT_EQ(box.buttons, QStringList{"OK"});
}

TEST_F(RealDialogs, EnterPressesTheFocusedButton) {
    DialogResult answer = DialogResult::Ok;
    QTimer::singleShot(0, qApp, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        QAbstractButton* no = box->buttons().at(1);
        no->setFocus();
        QTest::keyClick(no, Qt::Key_Return);
    });
    answer = dialogs.confirm("Stop Export?");
    EXPECT_EQ(answer, DialogResult::No);
}

class MessageBoxButtons : public ::testing::TestWithParam<MessageKind> {};

TEST_P(MessageBoxButtons, AreCentredAtTheBottom) {
    const auto box = createMessageBox(GetParam(), "Caption", "Some text for the box");
    box->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(box.get()));
    QRect row;
    for (const QAbstractButton* button : box->buttons()) {
        row |= QRect(button->mapTo(box.get(), QPoint(0, 0)), button->size());
    }
    EXPECT_LE(std::abs(row.center().x() - box->rect().center().x()), 1)
        << row.left() << ".." << row.right() << " in " << box->width();
    EXPECT_GT(row.top(), box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->y());
}

std::string kindName(const ::testing::TestParamInfo<MessageKind>& kind) {
    switch (kind.param) {
    case MessageKind::Error:
        return "Error";
    case MessageKind::Confirmation:
        return "Confirmation";
    case MessageKind::Information:
        return "Information";
    }
    return "Unknown";
}

INSTANTIATE_TEST_SUITE_P(, MessageBoxButtons,
                         ::testing::Values(MessageKind::Error, MessageKind::Confirmation,
                                           MessageKind::Information),
                         kindName);

TEST(MessageBoxes, AreApplicationModalAndWrapLongText) {
    const auto box = createMessageBox(MessageKind::Error, "Error", QString("word ").repeated(200));
    EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(box->parentWidget(), nullptr) << "centred on the screen, not on a window";
    box->show();
    const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->wordWrap());
    EXPECT_LT(box->width(), box->screen()->geometry().width());
    box->close();
}

} // namespace
