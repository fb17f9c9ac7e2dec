#include "FormFixture.h"
#include "app/AboutBox.h"
#include "app/ApplicationTitle.h"
#include "app/Gauge.h"
#include "app/PanelStatusBar.h"
#include "app/RecordProgressBar.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>

namespace {

bool sameImage(const QLabel* label, const QPixmap& pixmap) {
    return label->pixmap().toImage() == pixmap.toImage();
}

using MainFormStart = FormFixture;

TEST_F(MainFormStart, OnlySourceTargetExitAndAboutAreEnabled) {
    EXPECT_TRUE(form->btnOpenSource->isEnabled());
    EXPECT_TRUE(form->btnOpenTarget->isEnabled());
    EXPECT_TRUE(form->btnClose->isEnabled());
    EXPECT_TRUE(form->btnAbout->isEnabled());
    EXPECT_FALSE(form->btnSelectAll->isEnabled());
    EXPECT_FALSE(form->btnUnSelect->isEnabled());
    EXPECT_FALSE(form->btnMover->isEnabled());
    EXPECT_FALSE(form->btnStop->isEnabled());
    EXPECT_FALSE(form->chkFullTrace->isChecked());
}

TEST_F(MainFormStart, ListsAreEmptyAndBothImagesShowNotConnected) {
    EXPECT_EQ(form->clstSource->count(), 0);
    EXPECT_EQ(form->clstTarget->count(), 0);
    EXPECT_EQ(form->lstMessage->count(), 0);
    EXPECT_TRUE(form->Memo1->toPlainText().isEmpty());
    EXPECT_EQ(form->FTargetTables.Count(), 0);
    EXPECT_EQ(form->PageControl1->tabText(form->PageControl1->currentIndex()), "Move Table List");
    ASSERT_NE(form->ImageList1[0].toImage(), form->ImageList1[1].toImage());
    EXPECT_TRUE(sameImage(form->s1, form->ImageList1[0]));
    EXPECT_TRUE(sameImage(form->s2, form->ImageList1[0]));
}

TEST_F(MainFormStart, RunStateAndConnectionsAreSetUp) {
    EXPECT_FALSE(form->FMoving);
    EXPECT_FALSE(form->FStopRequested);
    EXPECT_EQ(form->FTableStatus, 0);
    EXPECT_FALSE(form->ADOConnection1.LoginPrompt());
    EXPECT_FALSE(form->ADOConnection2.LoginPrompt());
    EXPECT_EQ(form->ADOConnection1.Provider(), "MSDASQL.1");
    EXPECT_EQ(form->ADOConnection2.ConnectionString(),
              "Provider=SQLOLEDB;Persist Security Info=False;User ID=sa;"
              "Initial Catalog=velbrook;Data Source=localhost");
    EXPECT_EQ(form->ADOTable1.Connection(), &form->ADOConnection1);
    EXPECT_EQ(form->ADOTable2.Connection(), &form->ADOConnection2);
    EXPECT_EQ(form->ADOQuery1.Connection(), &form->ADOConnection2);
    EXPECT_EQ(form->ADOTable1.CursorType(), ctStatic);
    EXPECT_EQ(form->ADOTable2.CursorType(), ctStatic);
}

TEST_F(MainFormStart, TheApplicationTitleIsTheIconNameAndLeavesTheCaption) {
    EXPECT_EQ(applicationTitle(), "Velbrook 0.1");
    EXPECT_EQ(form->windowIconText(), "Velbrook 0.1");

    setApplicationTitle(QStringLiteral("Velbrook 0.1 T:33%"));
    EXPECT_EQ(form->windowIconText(), "Velbrook 0.1 T:33%");
    EXPECT_EQ(form->windowTitle(), "Velbrook");
    EXPECT_EQ(form->windowHandle()->title(), "Velbrook");
    // Qt would append a display name to every window's caption.
    EXPECT_NE(QGuiApplication::applicationDisplayName(), applicationTitle());
}

using ConnectionState = FormFixture;

TEST_F(ConnectionState, DrawsTheImageListEntry) {
    form->ShowConnectionState(1, form->s1);
    EXPECT_TRUE(sameImage(form->s1, form->ImageList1[1]));
    EXPECT_TRUE(sameImage(form->s2, form->ImageList1[0]));
    form->ShowConnectionState(0, form->s1);
    EXPECT_TRUE(sameImage(form->s1, form->ImageList1[0]));
}

using Selection = FormFixture;

TEST_F(Selection, SelectAllEnablesExecuteAndUnSelectDisablesIt) {
    fillSource({"customers", "orders", "products"});
    click(form->btnSelectAll);
    EXPECT_EQ(TMainForm::CountChecked(*form->clstSource), 3);
    EXPECT_TRUE(form->btnMover->isEnabled());

    click(form->btnUnSelect);
    EXPECT_EQ(TMainForm::CountChecked(*form->clstSource), 0);
    EXPECT_FALSE(form->btnMover->isEnabled());
}

TEST_F(Selection, SelectAllOnAnEmptyListLeavesExecuteDisabled) {
    fillSource({});
    click(form->btnSelectAll);
    EXPECT_FALSE(form->btnMover->isEnabled());
}

TEST_F(Selection, MouseTickEnablesExecuteAfterTheClick) {
    fillSource({"customers", "orders"});
    const QRect box = form->clstSource->checkBoxRect(1);
    QTest::mouseClick(form->clstSource->viewport(), Qt::LeftButton, {}, box.center());
    EXPECT_TRUE(form->clstSource->checked(1));
    EXPECT_TRUE(form->btnMover->isEnabled());

    QTest::mouseClick(form->clstSource->viewport(), Qt::LeftButton, {}, box.center());
    EXPECT_FALSE(form->clstSource->checked(1));
    EXPECT_FALSE(form->btnMover->isEnabled());
}

TEST_F(Selection, SpaceBarTickLeavesExecuteAsItWasUntilTheSelectionMoves) {
    fillSource({"customers", "orders"});
    form->clstSource->setFocus();
    form->clstSource->setCurrentRow(0);
    QTest::keyClick(form->clstSource, Qt::Key_Space);
    EXPECT_TRUE(form->clstSource->checked(0));
    EXPECT_FALSE(form->btnMover->isEnabled());

    QTest::keyClick(form->clstSource, Qt::Key_Down);
    EXPECT_TRUE(form->btnMover->isEnabled());

    // Unticked by space again: Execute lags behind until the next selection.
    QTest::keyClick(form->clstSource, Qt::Key_Up);
    QTest::keyClick(form->clstSource, Qt::Key_Space);
    EXPECT_FALSE(form->clstSource->checked(0));
    EXPECT_TRUE(form->btnMover->isEnabled());
}

TEST_F(Selection, TypeAheadRunsTheEnablingRule) {
    fillSource({"customers", "orders", "products"});
    form->clstSource->setChecked(2, true);
    form->clstSource->setFocus();
    QTest::keyClicks(form->clstSource, "pro");
    EXPECT_EQ(form->clstSource->currentRow(), 2);
    EXPECT_TRUE(form->btnMover->isEnabled());
}

TEST_F(Selection, ProgramSelectionDoesNotRunTheRule) {
    fillSource({"customers", "orders"});
    form->clstSource->setChecked(0, true);
    form->clstSource->setCurrentRow(1);
    EXPECT_FALSE(form->btnMover->isEnabled());
}

// Every guarded button only logs its refusal while a run is in progress.
struct Refusal {
    const char* name;
    QToolButton* TMainForm::*button;
    const char* text;
};

class BusyGuard : public FormFixture, public ::testing::WithParamInterface<Refusal> {};

TEST_P(BusyGuard, OnlyLogsTheRefusal) {
    fillSource({"customers", "orders"});
    bool hookRan = false;
    form->onOpenSource = form->onOpenTarget = form->onMove = [&hookRan] { hookRan = true; };
    TAboutBox aboutBox(dialogs, form.get());
    form->setAboutBox(&aboutBox);
    bool aboutShown = false;
    QTimer::singleShot(200, &aboutBox, [&] {
        aboutShown = aboutBox.isVisible();
        aboutBox.reject();
    });

    QToolButton* button = form.get()->*GetParam().button;
    button->setEnabled(true);
    form->FMoving = true;
    click(button);

    EXPECT_EQ(messages(), QStringList{QString::fromUtf8(GetParam().text)});
    EXPECT_FALSE(hookRan);
    EXPECT_FALSE(aboutShown);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(TMainForm::CountChecked(*form->clstSource), 0);
    EXPECT_TRUE(dialogs.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Handlers, BusyGuard,
    ::testing::Values(
        Refusal{"btnOpenSource", &TMainForm::btnOpenSource,
                "Moving Data....(Request: Open Source)"},
        Refusal{"btnOpenTarget", &TMainForm::btnOpenTarget,
                "Moving Data....(Request: Open Target)"},
        Refusal{"btnMover", &TMainForm::btnMover, "Moving Data....(Request: Execute)"},
        Refusal{"btnSelectAll", &TMainForm::btnSelectAll,
                "Moving Data....(Request: Select All Source Tables)"},
        Refusal{"btnUnSelect", &TMainForm::btnUnSelect,
                "Moving Data....(Request: UnSelect All Source Tables)"},
        Refusal{"btnClose", &TMainForm::btnClose, "Moving Data....(Request: Exit Program)"},
        Refusal{"btnAbout", &TMainForm::btnAbout, "Moving Data....(Request: Open About)"}),
    [](const ::testing::TestParamInfo<Refusal>& param) { return std::string(param.param.name); });

using Idle = FormFixture;

TEST_F(Idle, HandlersOfLaterPartsRunTheirHooks) {
    int ran = 0;
    form->onOpenSource = form->onOpenTarget = form->onMove = [&ran] { ++ran; };
    form->btnMover->setEnabled(true);
    click(form->btnOpenSource);
    click(form->btnOpenTarget);
    click(form->btnMover);
    EXPECT_EQ(ran, 3);
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(Idle, AboutShowsTheAboutBoxModally) {
    TAboutBox aboutBox(dialogs, form.get());
    EXPECT_TRUE(aboutBox.isHidden());
    form->setAboutBox(&aboutBox);
    bool modal = false;
    QTimer::singleShot(0, &aboutBox, [&] {
        modal = QApplication::activeModalWidget() == &aboutBox;
        QTest::mouseClick(aboutBox.OKButton, Qt::LeftButton);
    });
    click(form->btnAbout);
    EXPECT_TRUE(modal);
    EXPECT_TRUE(aboutBox.isHidden());
}

TEST_F(Idle, ExitClosesTheWindow) {
    click(form->btnClose);
    EXPECT_FALSE(form->isVisible());
}

using MessageLog = FormFixture;

TEST_F(MessageLog, AddMessageAppendsAndSelectsTheNewestLine) {
    form->AddMessage("Connecting Source Connection");
    form->AddMessage(std::string("Connected Source Connection"));
    EXPECT_EQ(messages(),
              (QStringList{"Connecting Source Connection", "Connected Source Connection"}));
    EXPECT_EQ(form->lstMessage->currentRow(), 1);
}

TEST_F(MessageLog, ClearMessageWorksDuringARun) {
    form->beginRun();
    form->AddMessage("Preparing Move Table:orders");
    form->AddMessage("Moving Data....(Request: Execute)");
    click(form->btnClear);
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_TRUE(form->FMoving);
    EXPECT_TRUE(form->btnStop->isEnabled());
}

using MoveRun = FormFixture;

TEST_F(MoveRun, StopIsEnabledOnlyDuringARunAndSetsTheFlag) {
    form->beginRun();
    ASSERT_TRUE(form->btnStop->isEnabled());
    click(form->btnStop);
    EXPECT_TRUE(form->FStopRequested);
    form->endRun();
    EXPECT_FALSE(form->btnStop->isEnabled());
    EXPECT_FALSE(form->FMoving);
}

TEST_F(MoveRun, ConfirmAndErrorGoThroughTheDialogs) {
    dialogs.answers = {DialogResult::No, DialogResult::Yes};
    EXPECT_EQ(form->confirm("Stop Export?"), DialogResult::No);
    EXPECT_EQ(form->confirm("Stop Export?"), DialogResult::Yes);
    form->showError(QString::fromUtf8("請先Open Source & Target Connection!"));
    ASSERT_EQ(dialogs.shown.size(), 3u);
    EXPECT_EQ(dialogs.shown[2].caption, "Error");
    EXPECT_EQ(dialogs.shown[2].text, QString::fromUtf8("請先Open Source & Target Connection!"));
}

TEST_F(MoveRun, MoverFeedbackReachesItsControls) {
    form->addMemoLine("Table: orders ADOTable2: Field 'price' not found");
    form->addTargetResult("orders  Records: 3", true);
    form->addTargetResult("items Target Table Open Error!! Records: 3", false);
    form->setRecordCounterText("1 / 3");
    EXPECT_EQ(form->Memo1->toPlainText(), "Table: orders ADOTable2: Field 'price' not found");
    ASSERT_EQ(form->clstTarget->count(), 2);
    EXPECT_TRUE(form->clstTarget->checked(0));
    EXPECT_FALSE(form->clstTarget->checked(1));
    EXPECT_EQ(form->recordCounterText(), "1 / 3");
}

using StatusBarPanels = FormFixture;

TEST_F(StatusBarPanels, ProgressControlsLiveInsidePanelsOneAndThree) {
    PanelStatusBar* bar = form->StatusBar;
    ASSERT_EQ(bar->panelCount(), 6);
    EXPECT_EQ(bar->panelText(0), "Tables");
    EXPECT_EQ(bar->panelText(2), "Records");
    EXPECT_EQ(form->pbTables->parentWidget(), bar);
    EXPECT_EQ(form->pbRecords->parentWidget(), bar);
    EXPECT_EQ(form->pbTables->geometry(), bar->panelRect(1));
    EXPECT_EQ(form->pbRecords->geometry(), bar->panelRect(3));
    EXPECT_EQ(bar->panelRect(1).width(), 200 - 2);

    form->pbTables->setGeometry(0, 0, 5, 5);
    form->pbRecords->setGeometry(0, 0, 5, 5);
    bar->repaint();
    EXPECT_EQ(form->pbTables->geometry(), bar->panelRect(1));
    EXPECT_EQ(form->pbRecords->geometry(), bar->panelRect(3));

    form->resize(900, 600);
    QTest::qWait(20);
    EXPECT_EQ(form->pbRecords->geometry(), bar->panelRect(3));
    EXPECT_EQ(bar->panelRect(5).right(), bar->width() - 2);
}

} // namespace
