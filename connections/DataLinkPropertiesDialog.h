#pragma once

#include "dbaccess/odbc/OdbcCatalog.h"

#include <QDialog>
#include <string>
#include <vector>

class FileChooser;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The data link property dialog: a provider, an ODBC driver or data source
// name from the driver manager, the usual keys, and a test connection.
class DataLinkPropertiesDialog : public QDialog {
    Q_OBJECT

public:
    explicit DataLinkPropertiesDialog(FileChooser& chooser, QWidget* parent = nullptr);

    // Fills the fields from a connection string, as far as it parses.
    void load(const std::string& connectionString);
    // The connection string of the fields, with its password.
    std::string connectionString() const;

    // Connects once with the fields' string and shows the outcome in
    // TestResult; returns the text shown.
    QString TestConnectionClick();
    // Seconds that Test Connection waits for the database; 15 unless set.
    void setTestTimeout(int seconds) noexcept { testTimeout_ = seconds; }
    // Saves the fields' string as a data link file that the user chooses,
    // in the data link folder unless they go elsewhere, and shows the
    // outcome in TestResult; returns the text shown, empty when cancelled.
    QString SaveAsClick();

    QComboBox* ProviderBox = nullptr;
    QComboBox* DriverBox = nullptr;
    QComboBox* DataSourceBox = nullptr;
    // Shown while both a driver and a data source name are set.
    QLabel* SourceNote = nullptr;
    QLineEdit* DatabaseFileEdit = nullptr;
    QPushButton* DatabaseFileBrowse = nullptr;
    QLineEdit* ServerEdit = nullptr;
    QLineEdit* PortEdit = nullptr;
    QLineEdit* DatabaseEdit = nullptr;
    QLineEdit* UserEdit = nullptr;
    QLineEdit* PasswordEdit = nullptr;
    QLineEdit* OptionsEdit = nullptr;
    QPushButton* TestButton = nullptr;
    QPushButton* SaveAsButton = nullptr;
    QLabel* TestResult = nullptr;
    QDialogButtonBox* Buttons = nullptr;

private:
    void buildLayout();
    void fillCatalog();
    void updateEnabled();
    bool fileDatabase() const;
    void browseDatabaseFile();
    void clearTestResult();

    FileChooser& chooser_;
    std::vector<OdbcDataSource> dataSources_;
    QString catalogNote_;
    int testTimeout_ = 15;
};

// Runs the dialog on the initial string. Returns the string built when the
// user confirms with OK, else the initial string.
std::u16string RunDataLinkProperties(QWidget* parent, const std::u16string& initialString,
                                     FileChooser& chooser);
