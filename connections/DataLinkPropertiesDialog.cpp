#include "DataLinkPropertiesDialog.h"

#include "DataLinkFields.h"
#include "PasswordText.h"
#include "dbaccess/TADOConnection.h"
#include "dbaccess/values/Exceptions.h"
#include "dbaccess/values/TStrings.h"
#include "dbaccess/values/UnicodeText.h"
#include "dbaccess/values/Variant.h"
#include "platform/BrowseDataLinkFile.h"
#include "platform/DataLinkFiles.h"
#include "platform/DataLinkFolder.h"
#include "platform/FilePaths.h"
#include "platform/WindowPlacement.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>

namespace {

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

std::string text(const QLineEdit* edit) {
    return edit->text().toStdString();
}

std::string text(const QComboBox* box) {
    return box->currentText().toStdString();
}

QLineEdit* lineEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QComboBox* editableCombo(QWidget* parent, const char* name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    return box;
}

} // namespace

DataLinkPropertiesDialog::DataLinkPropertiesDialog(FileChooser& chooser, QWidget* parent)
    : QDialog(parent), chooser_(chooser) {
    setObjectName(QStringLiteral("DataLinkProperties"));
    setWindowTitle(QStringLiteral("Data Link Properties"));
    buildLayout();
    fillCatalog();
    updateEnabled();
    if (parent != nullptr) {
        keepPlaced(*this, Placement::OverWindow, parent->window());
    }
}

void DataLinkPropertiesDialog::buildLayout() {
    ProviderBox = new QComboBox(this);
    ProviderBox->setObjectName(QStringLiteral("ProviderBox"));
    ProviderBox->addItem(QStringLiteral("ODBC driver or data source (MSDASQL.1)"));
    ProviderBox->addItem(QStringLiteral("SQL Server through FreeTDS (SQLOLEDB)"));
    DriverBox = editableCombo(this, "DriverBox");
    DataSourceBox = editableCombo(this, "DataSourceBox");
    DatabaseFileEdit = lineEdit(this, "DatabaseFileEdit");
    DatabaseFileBrowse = new QPushButton(QStringLiteral("..."), this);
    DatabaseFileBrowse->setObjectName(QStringLiteral("DatabaseFileBrowse"));
    DatabaseFileBrowse->setMaximumWidth(
        DatabaseFileBrowse->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    ServerEdit = lineEdit(this, "ServerEdit");
    PortEdit = lineEdit(this, "PortEdit");
    DatabaseEdit = lineEdit(this, "DatabaseEdit");
    UserEdit = lineEdit(this, "UserEdit");
    PasswordEdit = lineEdit(this, "PasswordEdit");
    PasswordEdit->setEchoMode(QLineEdit::Password);
    OptionsEdit = lineEdit(this, "OptionsEdit");
    OptionsEdit->setPlaceholderText(QStringLiteral("key=value;..."));

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(DatabaseFileEdit);
    fileRow->addWidget(DatabaseFileBrowse);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Provider:"), ProviderBox);
    form->addRow(QStringLiteral("&Driver:"), DriverBox);
    form->addRow(QStringLiteral("Data &source name:"), DataSourceBox);
    SourceNote = new QLabel(
        QStringLiteral("Both are set: the data source name is used and the driver is left out."),
        this);
    SourceNote->setObjectName(QStringLiteral("SourceNote"));
    SourceNote->setWordWrap(true);
    form->addRow(QString(), SourceNote);
    // A row of two widgets needs its label's buddy set by hand.
    auto* fileLabel = new QLabel(QStringLiteral("Database &file:"), this);
    fileLabel->setBuddy(DatabaseFileEdit);
    form->addRow(fileLabel, fileRow);
    form->addRow(QStringLiteral("Se&rver:"), ServerEdit);
    form->addRow(QStringLiteral("P&ort:"), PortEdit);
    form->addRow(QStringLiteral("D&atabase:"), DatabaseEdit);
    form->addRow(QStringLiteral("&User name:"), UserEdit);
    form->addRow(QStringLiteral("Pass&word:"), PasswordEdit);
    form->addRow(QStringLiteral("Ot&her options:"), OptionsEdit);

    TestButton = new QPushButton(QStringLiteral("&Test Connection"), this);
    TestButton->setObjectName(QStringLiteral("TestButton"));
    TestResult = new QLabel(this);
    TestResult->setObjectName(QStringLiteral("TestResult"));
    TestResult->setWordWrap(true);
    TestResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
    TestResult->setMinimumHeight(3 * fontMetrics().height());
    TestResult->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* testRow = new QHBoxLayout;
    testRow->addWidget(TestButton, 0, Qt::AlignTop);
    testRow->addWidget(TestResult, 1);

    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    Buttons->setObjectName(QStringLiteral("Buttons"));
    SaveAsButton = Buttons->addButton(QStringLiteral("Sa&ve As..."), QDialogButtonBox::ActionRole);
    SaveAsButton->setObjectName(QStringLiteral("SaveAsButton"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(testRow);
    layout->addWidget(Buttons);
    setMinimumWidth(460);

    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(TestButton, &QPushButton::clicked, this, [this] { TestConnectionClick(); });
    connect(SaveAsButton, &QPushButton::clicked, this, [this] { SaveAsClick(); });
    connect(DatabaseFileBrowse, &QPushButton::clicked, this,
            &DataLinkPropertiesDialog::browseDatabaseFile);
    connect(ProviderBox, &QComboBox::currentIndexChanged, this,
            &DataLinkPropertiesDialog::updateEnabled);
    connect(DriverBox, &QComboBox::currentTextChanged, this,
            &DataLinkPropertiesDialog::updateEnabled);
    connect(DataSourceBox, &QComboBox::currentTextChanged, this,
            &DataLinkPropertiesDialog::updateEnabled);
    // A result shown belongs to the fields as they were tested.
    for (QComboBox* box : {ProviderBox, DriverBox, DataSourceBox}) {
        connect(box, &QComboBox::currentTextChanged, this,
                &DataLinkPropertiesDialog::clearTestResult);
    }
    for (QLineEdit* edit : {DatabaseFileEdit, ServerEdit, PortEdit, DatabaseEdit, UserEdit,
                            PasswordEdit, OptionsEdit}) {
        connect(edit, &QLineEdit::textChanged, this, &DataLinkPropertiesDialog::clearTestResult);
    }
}

void DataLinkPropertiesDialog::clearTestResult() {
    TestResult->setText(catalogNote_);
}

void DataLinkPropertiesDialog::fillCatalog() {
    DriverBox->addItem(QString());
    DataSourceBox->addItem(QString());
    try {
        for (const std::string& driver : odbcDriverNames()) {
            DriverBox->addItem(qText(driver));
        }
        dataSources_ = odbcDataSources();
        for (const OdbcDataSource& source : dataSources_) {
            DataSourceBox->addItem(qText(source.name));
        }
    } catch (const Exception& error) {
        // Names can still be typed when the driver manager cannot list them.
        catalogNote_ = qText("The driver manager's lists are not available: " + error.Message());
        TestResult->setText(catalogNote_);
    }
}

bool DataLinkPropertiesDialog::fileDatabase() const {
    if (ProviderBox->currentIndex() != 0) {
        return false;
    }
    const std::string source = text(DataSourceBox);
    if (source.empty()) {
        return isFileDatabaseDriver(text(DriverBox));
    }
    for (const OdbcDataSource& known : dataSources_) {
        if (sameTextIgnoringCase(known.name, source)) {
            return isFileDatabaseDriver(known.driver);
        }
    }
    return false;
}

void DataLinkPropertiesDialog::updateEnabled() {
    const bool odbc = ProviderBox->currentIndex() == 0;
    const bool file = fileDatabase();
    DriverBox->setEnabled(odbc);
    DataSourceBox->setEnabled(odbc);
    // The connection string names a data source or a driver, never both.
    const bool both = odbc && !text(DriverBox).empty() && !text(DataSourceBox).empty();
    if (both != SourceNote->isVisibleTo(this)) {
        SourceNote->setVisible(both);
        // The wrapped note needs its lines: a shown dialog grows to them, and
        // gives them back when the note goes.
        if (isVisible()) {
            layout()->activate();
            resize(width(), heightForWidth(width()));
        }
    }
    DatabaseFileEdit->setEnabled(file);
    DatabaseFileBrowse->setEnabled(file);
    ServerEdit->setEnabled(!file);
    PortEdit->setEnabled(!file);
    DatabaseEdit->setEnabled(!file);
}

void DataLinkPropertiesDialog::load(const std::string& connectionString) {
    const DataLinkFields fields = parseDataLinkFields(connectionString);
    ProviderBox->setCurrentIndex(fields.provider == DataLinkProvider::Odbc ? 0 : 1);
    DriverBox->setCurrentText(qText(fields.driver));
    DataSourceBox->setCurrentText(qText(fields.dataSource));
    ServerEdit->setText(qText(fields.server));
    PortEdit->setText(qText(fields.port));
    (fileDatabase() ? DatabaseFileEdit : DatabaseEdit)->setText(qText(fields.database));
    UserEdit->setText(qText(fields.user));
    PasswordEdit->setText(qText(fields.password));
    OptionsEdit->setText(qText(fields.otherOptions));
    updateEnabled();
}

std::string DataLinkPropertiesDialog::connectionString() const {
    DataLinkFields fields;
    const bool odbc = ProviderBox->currentIndex() == 0;
    const bool file = fileDatabase();
    fields.provider = odbc ? DataLinkProvider::Odbc : DataLinkProvider::SqlServer;
    if (odbc) {
        fields.driver = text(DriverBox);
        fields.dataSource = text(DataSourceBox);
    }
    if (!file) {
        fields.server = text(ServerEdit);
        fields.port = text(PortEdit);
    }
    fields.database = file ? text(DatabaseFileEdit) : text(DatabaseEdit);
    fields.user = text(UserEdit);
    fields.password = text(PasswordEdit);
    fields.otherOptions = text(OptionsEdit);
    if (!fields.otherOptions.empty() && fields.otherOptions.back() != ';') {
        fields.otherOptions += ';';
    }
    return buildConnectionString(fields);
}

QString DataLinkPropertiesDialog::TestConnectionClick() {
    const std::string built = connectionString();
    std::string report;
    TADOConnection connection("DataLinkTest");
    connection.SetLoginPrompt(false);
    connection.SetConnectionTimeout(testTimeout_);
    TestButton->setEnabled(false);
    TestResult->setText(QStringLiteral("Testing the connection; it gives up after %1 seconds...")
                            .arg(testTimeout_));
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    // The driver holds the thread from here on: show the text and the cursor first.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    try {
        connection.SetConnectionString(built);
        connection.SetConnected(true);
        report = "Test connection succeeded.";
    } catch (const std::exception& error) {
        // Driver messages rarely repeat a password, but a report must never show it.
        report = "Test connection failed: " + withoutPasswords(error.what(), built);
    }
    QGuiApplication::restoreOverrideCursor();
    TestButton->setEnabled(true);
    TestResult->setText(qText(report));
    return TestResult->text();
}

void DataLinkPropertiesDialog::browseDatabaseFile() {
    const std::string current = text(DatabaseFileEdit);
    // A new file is a new database: SQLite creates it at the first connection.
    const auto chosen = chooser_.chooseFile(
        this, QStringLiteral("Select Database File"), qText(directoryPart(current)),
        QStringLiteral("SQLite Databases (*.sqlite *.sqlite3 *.db)"), FileChoice::ExistingOrNew);
    if (chosen) {
        DatabaseFileEdit->setText(*chosen);
    }
}

QString DataLinkPropertiesDialog::SaveAsClick() {
    const std::string folder = DataLinkFolder();
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const auto chosen =
        chooser_.chooseFile(this, QStringLiteral("Save Data Link File"),
                            qText(folder.empty() ? folder : folder + PathDelimiter),
                            QString::fromLatin1(DataLinkFileFilter), FileChoice::Save);
    if (!chosen) {
        return {};
    }
    QString path = *chosen;
    if (!path.endsWith(QStringLiteral(".udl"), Qt::CaseInsensitive)) {
        path += QStringLiteral(".udl");
    }
    std::string failure;
    TestResult->setText(writeDataLinkFile(path.toStdString(), connectionString(), failure)
                            ? QStringLiteral("Saved as %1.").arg(path)
                            : QStringLiteral("Could not save %1: %2").arg(path, qText(failure)));
    return TestResult->text();
}

std::u16string RunDataLinkProperties(QWidget* parent, const std::u16string& initialString,
                                     FileChooser& chooser) {
    DataLinkPropertiesDialog dialog(chooser, parent);
    dialog.load(utf16ToUtf8(initialString));
    if (dialog.exec() != QDialog::Accepted) {
        return initialString;
    }
    return utf8ToUtf16(dialog.connectionString());
}
