#pragma once

#include "RecordingDialogs.h"
#include "app/CheckListBox.h"
#include "app/MessageList.h"
#include "app/TMainForm.h"

#include <QStringList>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

// A shown main window whose dialogs a test answers.
class FormFixture : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TMainForm>(dialogs);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    void TearDown() override {
        form->FMoving = false;
        form.reset();
    }

    // What a successful source open leaves behind.
    void fillSource(const QStringList& names) {
        for (const QString& name : names) {
            form->clstSource->addItem(name);
        }
        form->btnSelectAll->setEnabled(true);
        form->btnUnSelect->setEnabled(true);
    }

    QStringList messages() const {
        QStringList lines;
        for (int i = 0; i < form->lstMessage->count(); ++i) {
            lines << form->lstMessage->line(i);
        }
        return lines;
    }

    static void click(QToolButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    RecordingDialogs dialogs;
    std::unique_ptr<TMainForm> form;
};
