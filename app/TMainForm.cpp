#include "TMainForm.h"

#include "AboutBox.h"
#include "ApplicationTitle.h"
#include "CheckListBox.h"
#include "ErrorReport.h"
#include "Gauge.h"
#include "Glyphs.h"
#include "MessageList.h"
#include "MessageListTrace.h"
#include "PanelStatusBar.h"
#include "RecordProgressBar.h"
#include "WindowCallWaiter.h"
#include "platform/WindowPlacement.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>

TMainForm::TMainForm(MessageDialogs& dialogs, QWidget* parent)
    : QWidget(parent), ImageList1(connectionStateImages()), dialogs_(dialogs) {
    setObjectName(QStringLiteral("MainForm"));
    ADOConnection1.SetLoginPrompt(false);
    ADOConnection1.SetConnectionString("Connection");
    ADOConnection1.SetProvider("MSDASQL.1");
    ADOConnection2.SetLoginPrompt(false);
    ADOConnection2.SetConnectionString("Provider=SQLOLEDB;Persist Security Info=False;User ID=sa;"
                                       "Initial Catalog=velbrook;Data Source=localhost");
    ADOTable1.SetCursorType(ctStatic);
    ADOTable2.SetCursorType(ctStatic);
    callWaiter_ = std::make_unique<WindowCallWaiter>(*this);
    ADOConnection1.SetCallWaiter(callWaiter_.get());
    ADOConnection2.SetCallWaiter(callWaiter_.get());
    sourceTrace_ = std::make_unique<MessageListTrace>(*this, "Source");
    targetTrace_ = std::make_unique<MessageListTrace>(*this, "Target");

    buildLayout();
    connectHandlers();
    // The task bar entry of the program shows the application title.
    connect(&applicationTitleNotifier(), &ApplicationTitleNotifier::changed, this,
            &QWidget::setWindowIconText);
    keepPlaced(*this, Placement::ScreenCentre);
    FormCreate();
}

TMainForm::~TMainForm() {
    ADOConnection1.SetCallWaiter(nullptr);
    ADOConnection2.SetCallWaiter(nullptr);
    ADOConnection1.SetStatementTrace(nullptr);
    ADOConnection2.SetStatementTrace(nullptr);
}

void TMainForm::FormCreate() {
    setWindowTitle(programCaption());
    setApplicationTitle(QStringLiteral("Velbrook 0.1"));
    setWindowIconText(applicationTitle());
    clstSource->clear();
    clstTarget->clear();
    FTargetTables.Clear();
    ShowConnectionState(0, s1);
    ShowConnectionState(0, s2);
}

void TMainForm::AddMessage(const QString& text) {
    lstMessage->addLine(text);
    processEvents();
}

void TMainForm::AddMessage(const std::string& text) {
    AddMessage(QString::fromStdString(text));
}

void TMainForm::AddMessage(const char* text) {
    AddMessage(QString::fromUtf8(text));
}

void TMainForm::addMemoLine(const QString& text) {
    Memo1->appendPlainText(text);
}

void TMainForm::addTargetResult(const QString& line, bool ticked, qsizetype nameLength) {
    clstTarget->addItem(line, ticked, nameLength);
}

void TMainForm::setRecordCounterText(const QString& text) {
    StatusBar->setPanelText(4, text);
}

QString TMainForm::recordCounterText() const {
    return StatusBar->panelText(4);
}

void TMainForm::processEvents() {
    QCoreApplication::processEvents();
}

int TMainForm::CountChecked(const CheckListBox& list) {
    int count = 0;
    for (int i = 0; i < list.count(); ++i) {
        if (list.checked(i)) {
            ++count;
        }
    }
    return count;
}

void TMainForm::ShowConnectionState(int index, QLabel* image) {
    image->clear();
    image->setPixmap(ImageList1.at(static_cast<std::size_t>(index)));
}

void TMainForm::StatusBarDrawPanel(PanelStatusBar* statusBar, int panel, const QRect& rect) {
    QWidget* control = nullptr;
    if (panel == 1) {
        control = pbTables;
    } else if (panel == 3) {
        control = pbRecords;
    }
    if (control == nullptr) {
        return;
    }
    if (control->parentWidget() != statusBar) {
        control->setParent(statusBar);
        control->show();
    }
    if (control->geometry() != rect) {
        control->setGeometry(rect);
    }
}

void TMainForm::showError(const QString& text) {
    dialogs_.showError(text);
}

DialogResult TMainForm::confirm(const QString& text) {
    return dialogs_.confirm(text);
}

void TMainForm::beginRun() {
    btnStop->setEnabled(true);
    FMoving = true;
}

void TMainForm::endRun() {
    btnStop->setEnabled(false);
    FMoving = false;
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // The close box is Exit by another way: refused while a run is in progress.
    if (refuseWhileMoving("Moving Data....(Request: Exit Program)")) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void TMainForm::guarded(const std::function<void()>& handler) noexcept {
    runHandler(dialogs_, handler);
}

bool TMainForm::refuseWhileMoving(const char* refusal) {
    if (FMoving) {
        AddMessage(refusal);
        return true;
    }
    return false;
}

void TMainForm::updateMoverEnabled() {
    btnMover->setEnabled(CountChecked(*clstSource) > 0);
}

void TMainForm::btnOpenSourceClick() {
    if (refuseWhileMoving("Moving Data....(Request: Open Source)")) {
        return;
    }
    if (onOpenSource) {
        onOpenSource();
    }
}

void TMainForm::btnOpenTargetClick() {
    if (refuseWhileMoving("Moving Data....(Request: Open Target)")) {
        return;
    }
    if (onOpenTarget) {
        onOpenTarget();
    }
}

void TMainForm::btnMoverClick() {
    if (refuseWhileMoving("Moving Data....(Request: Execute)")) {
        return;
    }
    if (onMove) {
        onMove();
    }
}

void TMainForm::btnSelectAllClick() {
    if (refuseWhileMoving("Moving Data....(Request: Select All Source Tables)")) {
        return;
    }
    for (int i = 0; i < clstSource->count(); ++i) {
        clstSource->setChecked(i, true);
    }
    updateMoverEnabled();
}

void TMainForm::btnUnSelectClick() {
    if (refuseWhileMoving("Moving Data....(Request: UnSelect All Source Tables)")) {
        return;
    }
    for (int i = 0; i < clstSource->count(); ++i) {
        clstSource->setChecked(i, false);
    }
    updateMoverEnabled();
}

void TMainForm::clstSourceClick() {
    updateMoverEnabled();
}

void TMainForm::btnClearClick() {
    lstMessage->clear();
}

void TMainForm::btnStopClick() {
    FStopRequested = true;
}

void TMainForm::btnCloseClick() {
    if (refuseWhileMoving("Moving Data....(Request: Exit Program)")) {
        return;
    }
    close();
}

void TMainForm::btnAboutClick() {
    if (refuseWhileMoving("Moving Data....(Request: Open About)")) {
        return;
    }
    if (AboutBox != nullptr) {
        AboutBox->exec();
    }
}
