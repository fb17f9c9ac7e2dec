#pragma once

#include "MessageDialogs.h"
#include "dbaccess/TADOConnection.h"
#include "dbaccess/TADOQuery.h"
#include "dbaccess/TADOTable.h"
#include "dbaccess/values/TStrings.h"

#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class BevelPanel;
class CheckListBox;
class Gauge;
class MessageList;
class PanelStatusBar;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QTabWidget;
class QToolButton;
class RecordProgressBar;
class TAboutBox;
class WindowCallWaiter;
class MessageListTrace;

// The main window MainForm: tool bar, source list, result pages, message log
// and status bar, plus the state that a move run shares with the window.
class TMainForm : public QWidget {
    Q_OBJECT

public:
    explicit TMainForm(MessageDialogs& dialogs, QWidget* parent = nullptr);
    ~TMainForm() override;

    void setAboutBox(TAboutBox* aboutBox) noexcept { AboutBox = aboutBox; }
    MessageDialogs& dialogs() noexcept { return dialogs_; }

    // Message log and feedback used by the handlers and by a move run.
    void AddMessage(const QString& text);
    void AddMessage(const std::string& text);
    void AddMessage(const char* text);
    void addMemoLine(const QString& text);
    // A result line of the "Move Table List"; the first nameLength characters
    // are the table's name, shortened first when the line is too long to show.
    void addTargetResult(const QString& line, bool ticked, qsizetype nameLength = -1);
    void setRecordCounterText(const QString& text);
    QString recordCounterText() const;
    void processEvents();

    static int CountChecked(const CheckListBox& list);
    void ShowConnectionState(int index, QLabel* image);
    void StatusBarDrawPanel(PanelStatusBar* statusBar, int panel, const QRect& rect);

    // The dialogs of a move run.
    void showError(const QString& text);
    DialogResult confirm(const QString& text);

    // A move run switches the window between idle and running.
    void beginRun();
    void endRun();

    // Click handlers. Those of the Source, Target and Execute buttons check
    // the busy guard and then call the matching hook below, when set.
    void btnOpenSourceClick();
    void btnOpenTargetClick();
    void btnMoverClick();
    void btnSelectAllClick();
    void btnUnSelectClick();
    void clstSourceClick();
    void btnClearClick();
    void btnStopClick();
    void btnCloseClick();
    void btnAboutClick();

    std::function<void()> onOpenSource;
    std::function<void()> onOpenTarget;
    std::function<void()> onMove;

    // Runs a handler through the default error report.
    void guarded(const std::function<void()>& handler) noexcept;

    TADOConnection ADOConnection1{"ADOConnection1"};
    TADOConnection ADOConnection2{"ADOConnection2"};
    TADOTable ADOTable1{"ADOTable1", &ADOConnection1};
    TADOTable ADOTable2{"ADOTable2", &ADOConnection2};
    TADOQuery ADOQuery1{"ADOQuery1", &ADOConnection2};
    bool FMoving = false;
    bool FStopRequested = false;
    std::int16_t FTableStatus = 0;
    TStringList FTargetTables;

    std::array<QPixmap, 2> ImageList1;

    BevelPanel* Panel1 = nullptr;
    QToolButton* btnOpenSource = nullptr;
    QToolButton* btnSelectAll = nullptr;
    QToolButton* btnUnSelect = nullptr;
    QToolButton* btnOpenTarget = nullptr;
    QToolButton* btnMover = nullptr;
    QToolButton* btnStop = nullptr;
    QToolButton* btnClose = nullptr;
    QToolButton* btnAbout = nullptr;
    BevelPanel* pnlSource = nullptr;
    QLabel* s1 = nullptr;
    CheckListBox* clstSource = nullptr;
    BevelPanel* pnlTarget = nullptr;
    QLabel* s2 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    CheckListBox* clstTarget = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    BevelPanel* pnlMessages = nullptr;
    QToolButton* btnClear = nullptr;
    QCheckBox* chkFullTrace = nullptr;
    MessageList* lstMessage = nullptr;
    PanelStatusBar* StatusBar = nullptr;
    Gauge* pbTables = nullptr;
    RecordProgressBar* pbRecords = nullptr;
    TAboutBox* AboutBox = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void connectHandlers();
    void FormCreate();
    bool refuseWhileMoving(const char* refusal);
    void updateMoverEnabled();

    MessageDialogs& dialogs_;
    // Installed on both connections for the window's life.
    std::unique_ptr<WindowCallWaiter> callWaiter_;
    // Full Trace of each connection, installed while the box is ticked.
    std::unique_ptr<MessageListTrace> sourceTrace_;
    std::unique_ptr<MessageListTrace> targetTrace_;
};
