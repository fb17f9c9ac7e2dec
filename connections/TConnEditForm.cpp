#include "TConnEditForm.h"

#include "DataLinkServices.h"
#include "PasswordText.h"
#include "dbaccess/values/UnicodeText.h"
#include "dbaccess/values/Variant.h"
#include "platform/DataLinkFiles.h"
#include "platform/DataLinkFolder.h"
#include "platform/FilePaths.h"
#include "platform/HelpTopics.h"
#include "platform/SystemFont.h"
#include "platform/WindowPlacement.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <limits>
#include <vector>

namespace {

const std::u16string dataLinkPrefix = u"FILE NAME=";
constexpr std::size_t maxDataLinkPath = 260;

template <typename Widget> Widget* place(Widget* widget, const char* name, const QRect& geometry) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

void colour(QWidget* input) {
    const QPalette::ColorRole role = TConnEditForm::EnabledColors.at(input->isEnabled() ? 1 : 0);
    QPalette palette = input->palette();
    const QColor colour = QGuiApplication::palette().color(QPalette::Active, role);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, colour);
    }
    input->setPalette(palette);
}

} // namespace

TConnEditForm::TConnEditForm(DataLinkServices& services, QWidget* parent)
    : QDialog(parent), services_(services) {
    setObjectName(QStringLiteral("ConnEditForm"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(systemDialogFont());
    setFixedSize(472, 185);
    keepPlaced(*this, Placement::ScreenCentre);
    buildLayout();
    FormCreate();
}

void TConnEditForm::buildLayout() {
    OkButton = place(new QPushButton(QStringLiteral("OK"), this), "OkButton", {214, 151, 75, 25});
    OkButton->setDefault(true);
    CancelButton =
        place(new QPushButton(QStringLiteral("Cancel"), this), "CancelButton", {302, 151, 75, 25});
    HelpButton =
        place(new QPushButton(QStringLiteral("&Help"), this), "HelpButton", {390, 151, 75, 25});
    SourceofConnection = place(new QGroupBox(QStringLiteral(" Source of Connection "), this),
                               "SourceofConnection", {5, 4, 461, 136});

    QGroupBox* group = SourceofConnection;
    UseDataLinkFile = place(new QRadioButton(QStringLiteral("Use Data &Link File"), group),
                            "UseDataLinkFile", {10, 21, 226, 20});
    DataLinkFile = place(new QComboBox(group), "DataLinkFile", {28, 42, 332, 21});
    DataLinkFile->setEditable(true);
    DataLinkFile->setInsertPolicy(QComboBox::NoInsert);
    // A plain drop-down: typing neither completes nor adds entries.
    DataLinkFile->setCompleter(nullptr);
    DataLinkFile->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
    Browse =
        place(new QPushButton(QStringLiteral("&Browse..."), group), "Browse", {370, 39, 75, 25});
    UseConnectionString = place(new QRadioButton(QStringLiteral("Use &Connection String"), group),
                                "UseConnectionString", {10, 73, 226, 20});
    ConnectionString = place(new QLineEdit(group), "ConnectionString", {28, 94, 332, 21});
    ConnectionString->setMaxLength(std::numeric_limits<int>::max());
    ConnectionString->installEventFilter(this);
    Build = place(new QPushButton(QStringLiteral("B&uild..."), group), "Build", {370, 92, 75, 25});
    // Enter presses the focused button, or OK when no button has the focus.
    for (QPushButton* button : {OkButton, CancelButton, HelpButton, Browse, Build}) {
        button->setAutoDefault(true);
    }

    // Neither is selected until RunEditor selects one.
    auto* modes = new QButtonGroup(this);
    modes->addButton(UseDataLinkFile);
    modes->addButton(UseConnectionString);
    for (QRadioButton* mode : {UseDataLinkFile, UseConnectionString}) {
        // Only the selected radio button is a tab stop.
        mode->setFocusPolicy(Qt::ClickFocus);
        // Selecting from code runs the handler as a click does; a click on
        // the selected button runs it again.
        connect(mode, &QRadioButton::toggled, this, [this, mode](bool checked) {
            mode->setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus);
            if (checked) {
                SourceButtonClick();
            }
        });
        connect(mode, &QRadioButton::clicked, this, &TConnEditForm::SourceButtonClick);
    }

    QWidget::setTabOrder(OkButton, CancelButton);
    QWidget::setTabOrder(CancelButton, HelpButton);
    QWidget::setTabOrder(HelpButton, UseDataLinkFile);
    QWidget::setTabOrder(UseDataLinkFile, DataLinkFile);
    QWidget::setTabOrder(DataLinkFile, Browse);
    QWidget::setTabOrder(Browse, UseConnectionString);
    QWidget::setTabOrder(UseConnectionString, ConnectionString);
    QWidget::setTabOrder(ConnectionString, Build);

    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpButton, &QPushButton::clicked, this,
            [this] { runClick(&TConnEditForm::HelpButtonClick); });
    connect(Browse, &QPushButton::clicked, this, [this] { runClick(&TConnEditForm::BrowseClick); });
    connect(Build, &QPushButton::clicked, this, [this] { runClick(&TConnEditForm::BuildClick); });
}

void TConnEditForm::FormCreate() {
    helpContext_ = ConnectionStringHelpContext;
    fillDataLinkList();
}

void TConnEditForm::fillDataLinkList() {
    const QString typed = DataLinkFile->currentText();
    DataLinkFile->clear();
    std::vector<std::string> names;
    ListDataLinkFiles(names, std::string());
    // The list is kept sorted, without regard to case.
    QStringList items;
    for (const std::string& name : names) {
        items << QString::fromStdString(name);
    }
    std::sort(items.begin(), items.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    DataLinkFile->addItems(items);
    DataLinkFile->setCurrentIndex(-1);
    DataLinkFile->setEditText(typed);
}

void TConnEditForm::runClick(void (TConnEditForm::*handler)()) {
    // A failed service is reported; the dialog stays open with its texts.
    try {
        (this->*handler)();
    } catch (const std::exception& error) {
        services_.ReportError(this, QString::fromUtf8(error.what()));
    } catch (...) {
        services_.ReportError(this, QStringLiteral("Unknown error"));
    }
}

std::u16string TConnEditForm::RunEditor(const std::u16string& initial) {
    std::u16string result = initial;
    UseDataLinkFile->setChecked(true);
    if (initial.find(dataLinkPrefix) == 0) {
        const std::string fileText =
            utf16ToUtf8(initial.substr(dataLinkPrefix.size(), maxDataLinkPath));
        const bool inFolder = directoryPart(fileText) == DataLinkFolder() + PathDelimiter;
        DataLinkFile->setEditText(
            QString::fromStdString(inFolder ? fileNamePart(fileText) : fileText));
    } else {
        showConnectionString(utf16ToUtf8(initial));
        UseConnectionString->setChecked(true);
    }
    SourceButtonClick();
    if (exec() == QDialog::Accepted) {
        result = composeResult();
    }
    return result;
}

std::u16string TConnEditForm::composeResult() const {
    if (UseConnectionString->isChecked()) {
        return utf8ToUtf16(typedConnectionString());
    }
    const std::string fileText = DataLinkFile->currentText().toStdString();
    if (fileText.empty()) {
        return {};
    }
    if (!directoryPart(fileText).empty()) {
        return dataLinkPrefix + utf8ToUtf16(fileText);
    }
    return dataLinkPrefix + utf8ToUtf16(DataLinkFolder() + PathDelimiter + fileText);
}

void TConnEditForm::SourceButtonClick() {
    DataLinkFile->setEnabled(UseDataLinkFile->isChecked());
    colour(DataLinkFile);
    Browse->setEnabled(DataLinkFile->isEnabled());
    ConnectionString->setEnabled(UseConnectionString->isChecked());
    colour(ConnectionString);
    Build->setEnabled(ConnectionString->isEnabled());
    if (DataLinkFile->isEnabled()) {
        DataLinkFile->setFocus();
    } else {
        ConnectionString->setFocus();
    }
}

void TConnEditForm::BrowseClick() {
    const std::u16string current = utf8ToUtf16(DataLinkFile->currentText().toStdString());
    const std::u16string chosen = services_.BrowseDataLinkFile(this, current);
    DataLinkFile->setEditText(QString::fromStdString(utf16ToUtf8(chosen)));
}

void TConnEditForm::BuildClick() {
    const std::u16string current = utf8ToUtf16(typedConnectionString());
    const std::u16string built = services_.RunDataLinkProperties(this, current);
    showConnectionString(utf16ToUtf8(built));
    // The property dialog may have saved a data link file.
    fillDataLinkList();
}

void TConnEditForm::showConnectionString(const std::string& connectionString) {
    storedString_ = connectionString;
    ConnectionString->setText(QString::fromStdString(shownConnectionString(connectionString)));
}

std::string TConnEditForm::typedConnectionString() const {
    return restorePasswords(ConnectionString->text().toStdString(), storedString_);
}

bool TConnEditForm::eventFilter(QObject* watched, QEvent* event) {
    // Focus from the keyboard selects a field's text, and on X11 a selection
    // is anyone's to read: a field that names a password gets the focus plain.
    if (watched == ConnectionString && event->type() == QEvent::FocusIn) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
             reason == Qt::ShortcutFocusReason) &&
            holdsPassword(ConnectionString->text().toStdString())) {
            QFocusEvent plain(QEvent::FocusIn, Qt::OtherFocusReason);
            QCoreApplication::sendEvent(ConnectionString, &plain);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TConnEditForm::HelpButtonClick() {
    services_.ShowHelp(this, helpContext_);
}
