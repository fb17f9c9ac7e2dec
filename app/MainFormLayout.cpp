#include "BevelPanel.h"
#include "CheckListBox.h"
#include "Gauge.h"
#include "Glyphs.h"
#include "MessageList.h"
#include "MessageListTrace.h"
#include "PanelStatusBar.h"
#include "RecordProgressBar.h"
#include "TMainForm.h"
#include "platform/SystemFont.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The client area of a 711 x 501 window with a 4-pixel border and a 19-pixel caption.
constexpr int clientWidth = 703;
constexpr int clientHeight = 474;
constexpr int headerHeight = 30;

void setTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::ButtonText, color);
    widget->setPalette(palette);
}

QToolButton* speedButton(QWidget* parent, const QString& caption, const QRect& geometry) {
    auto* button = new QToolButton(parent);
    button->setText(caption);
    button->setAutoRaise(true);
    // Reached with Tab and pressed with the space bar; a click leaves the focus.
    button->setFocusPolicy(Qt::TabFocus);
    button->setGeometry(geometry);
    return button;
}

struct ToolButtonSpec {
    QToolButton* TMainForm::*member;
    const char* name;
    int left;
    int width;
    const char* caption;
    const char* hint;
    const char* glyph;
    bool enabled;
};

BevelPanel* headerPanel(QWidget* parent, const QString& caption, const QColor& color,
                        QLabel*& image) {
    auto* panel = new BevelPanel(parent);
    panel->setFixedHeight(headerHeight);
    panel->setCaption(caption);
    panel->setColor(color);
    image = new QLabel(panel);
    image->setGeometry(2, 2, 48, 26);
    image->setAlignment(Qt::AlignCenter);
    return panel;
}

} // namespace

void TMainForm::buildLayout() {
    setFont(systemDialogFont());
    setWindowIcon(QIcon(programIcon(32)));

    Panel1 = new BevelPanel(this);
    Panel1->setFixedHeight(33);
    Panel1->setBevels(Bevel::Lowered, Bevel::Raised);
    Panel1->setColor(QColor(220, 220, 184));
    static const ToolButtonSpec tools[] = {
        {&TMainForm::btnOpenSource, "btnOpenSource", 4, 75, "&Source", "Open Source Connection",
         "source", true},
        {&TMainForm::btnSelectAll, "btnSelectAll", 80, 85, "Select &All", "Select All Tables",
         "selectall", false},
        {&TMainForm::btnUnSelect, "btnUnSelect", 166, 85, "&UnSelect", "UnSelect All Tables",
         "unselect", false},
        {&TMainForm::btnOpenTarget, "btnOpenTarget", 280, 75, "&Target", "Open Target Connection",
         "target", true},
        {&TMainForm::btnMover, "btnMover", 356, 75, "&Execute", "Execute Move Data", "execute",
         false},
        {&TMainForm::btnStop, "btnStop", 433, 60, "Sto&p", "Stop Move Data", "stop", false},
        {&TMainForm::btnClose, "btnClose", 494, 60, "E&xit", nullptr, "exit", true},
        {&TMainForm::btnAbout, "btnAbout", 626, 60, "A&bout", nullptr, "about", true},
    };
    for (const ToolButtonSpec& tool : tools) {
        QToolButton* button = speedButton(Panel1, QString::fromUtf8(tool.caption),
                                          QRect(tool.left, 4, tool.width, 25));
        button->setObjectName(QString::fromUtf8(tool.name));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setIconSize(QSize(16, 16));
        const bool twoState = tool.member != &TMainForm::btnAbout;
        button->setIcon(toolGlyph(QString::fromUtf8(tool.glyph), twoState));
        if (tool.hint != nullptr) {
            button->setToolTip(QString::fromUtf8(tool.hint));
        }
        button->setEnabled(tool.enabled);
        this->*tool.member = button;
    }

    pnlSource = headerPanel(this, QStringLiteral("Source Connection"), QColor(255, 255, 128), s1);
    clstSource = new CheckListBox(this);
    clstSource->setObjectName(QStringLiteral("clstSource"));
    clstSource->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    clstSource->setLineWidth(1);

    pnlTarget = headerPanel(this, QStringLiteral("Target Connection"), QColor(255, 202, 255), s2);
    PageControl1 = new QTabWidget(this);
    clstTarget = new CheckListBox;
    clstTarget->setObjectName(QStringLiteral("clstTarget"));
    Memo1 = new QPlainTextEdit;
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    PageControl1->addTab(clstTarget, QStringLiteral("Move Table List"));
    PageControl1->addTab(Memo1, QStringLiteral("Move Status"));
    PageControl1->setCurrentIndex(0);

    pnlMessages = new BevelPanel(this);
    pnlMessages->setFixedHeight(28);
    pnlMessages->setColor(Qt::red);
    pnlMessages->setCaption(QStringLiteral("Messages"));
    pnlMessages->setCaptionColor(Qt::yellow);
    btnClear = speedButton(pnlMessages, QStringLiteral("&Clear Message"), QRect(3, 3, 93, 22));
    btnClear->setObjectName(QStringLiteral("btnClear"));
    setTextColor(btnClear, Qt::white);
    chkFullTrace = new QCheckBox(QStringLiteral("&Full Trace"), pnlMessages);
    chkFullTrace->setObjectName(QStringLiteral("chkFullTrace"));
    chkFullTrace->setGeometry(335, 5, 80, 17);
    setTextColor(chkFullTrace, Qt::white);

    lstMessage = new MessageList(this);
    lstMessage->setObjectName(QStringLiteral("lstMessage"));
    lstMessage->setFixedHeight(88);
    lstMessage->setFocusPolicy(Qt::ClickFocus);

    StatusBar = new PanelStatusBar(this);
    StatusBar->setFixedHeight(21);
    pbTables = new Gauge(StatusBar);
    pbTables->setObjectName(QStringLiteral("pbTables"));
    pbRecords = new RecordProgressBar(StatusBar);
    pbRecords->setObjectName(QStringLiteral("pbRecords"));
    StatusBar->onDrawPanel = [this](PanelStatusBar* bar, int panel, const QRect& rect) {
        StatusBarDrawPanel(bar, panel, rect);
    };
    StatusBar->setPanels({
        {QStringLiteral("Tables"), 50, Qt::AlignHCenter, Bevel::Raised, false},
        {QString(), 200, Qt::AlignLeft, Bevel::Raised, true},
        {QStringLiteral("Records"), 50, Qt::AlignHCenter, Bevel::Raised, false},
        {QString(), 200, Qt::AlignLeft, Bevel::Raised, true},
        {QString(), 120, Qt::AlignHCenter, Bevel::Raised, false},
        {QString(), 50, Qt::AlignLeft, Bevel::Lowered, false},
    });

    auto* left = new QVBoxLayout;
    left->setSpacing(0);
    left->addWidget(pnlSource);
    left->addWidget(clstSource, 1);
    auto* leftColumn = new QWidget(this);
    leftColumn->setFixedWidth(277);
    leftColumn->setLayout(left);
    left->setContentsMargins(0, 0, 0, 0);

    auto* right = new QVBoxLayout;
    right->setSpacing(0);
    right->addWidget(pnlTarget);
    right->addWidget(PageControl1, 1);
    right->addWidget(pnlMessages);
    right->addWidget(lstMessage);

    auto* body = new QHBoxLayout;
    body->setSpacing(0);
    body->addWidget(leftColumn);
    body->addLayout(right, 1);

    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(0, 0, 0, 0);
    window->setSpacing(0);
    window->addWidget(Panel1);
    window->addLayout(body, 1);
    window->addWidget(StatusBar);

    // In a narrow window About and Full Trace move left, as far as the
    // controls and the caption before them allow.
    Panel1->keepWithin(btnAbout, btnAbout->x());
    pnlMessages->keepWithin(chkFullTrace, chkFullTrace->x());
    constexpr int room = BevelPanel::edgeRoom;
    const int captionWidth = pnlMessages->fontMetrics().horizontalAdvance(pnlMessages->caption());
    setMinimumWidth(std::max(btnClose->geometry().right() + 1 + room + btnAbout->width() + room,
                             leftColumn->width() + btnClear->geometry().right() + 1 + room +
                                 captionWidth + room + chkFullTrace->width() + room));
    resize(clientWidth, clientHeight);
}

void TMainForm::connectHandlers() {
    const auto bind = [this](QToolButton* button, void (TMainForm::*handler)()) {
        connect(button, &QToolButton::clicked, this,
                [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    bind(btnOpenSource, &TMainForm::btnOpenSourceClick);
    bind(btnSelectAll, &TMainForm::btnSelectAllClick);
    bind(btnUnSelect, &TMainForm::btnUnSelectClick);
    bind(btnOpenTarget, &TMainForm::btnOpenTargetClick);
    bind(btnMover, &TMainForm::btnMoverClick);
    bind(btnStop, &TMainForm::btnStopClick);
    bind(btnClose, &TMainForm::btnCloseClick);
    bind(btnAbout, &TMainForm::btnAboutClick);
    bind(btnClear, &TMainForm::btnClearClick);
    clstSource->onClick = [this] { guarded([this] { clstSourceClick(); }); };
    connect(chkFullTrace, &QCheckBox::toggled, this, [this](bool ticked) {
        ADOConnection1.SetStatementTrace(ticked ? sourceTrace_.get() : nullptr);
        ADOConnection2.SetStatementTrace(ticked ? targetTrace_.get() : nullptr);
    });
}
