#include "TestSupport.h"
#include "connections/DataLinkPropertiesDialog.h"
#include "dbaccess/TADOConnection.h"
#include "dbaccess/values/Variant.h"
#include "tests/support/TestDatabase.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <arpa/inet.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QStringList itemsOf(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) {
        items << box->itemText(i);
    }
    return items;
}

TEST(DataLinkProperties, OffersTheDriverManagersDriversAndDataSources) {
    ScriptedFileChooser chooser;
    DataLinkPropertiesDialog dialog(chooser);
    const QStringList drivers = itemsOf(dialog.DriverBox);
    EXPECT_TRUE(drivers.contains("SQLite3"));
    EXPECT_TRUE(drivers.contains("PostgreSQL Unicode"));
    EXPECT_TRUE(drivers.contains("FreeTDS"));
    EXPECT_TRUE(itemsOf(dialog.DataSourceBox).contains("VelbrookShop"));
    // A data source of a file database takes a database file.
    dialog.load("DSN=VelbrookShop;Database=/tmp/other.sqlite;");
    EXPECT_TRUE(dialog.DatabaseFileEdit->isEnabled());
    EXPECT_EQ(dialog.DatabaseFileEdit->text(), "/tmp/other.sqlite");
    EXPECT_EQ(dialog.connectionString(), "DSN=VelbrookShop;Database=/tmp/other.sqlite;");
}

struct PrefillCase {
    const char* name;
    std::string initial;
    int provider;
    const char* driver;
    const char* dataSource;
    const char* file;
    const char* server;
    const char* port;
    const char* database;
    const char* user;
    const char* password;
    const char* options;
    bool fileEnabled;
};

class DataLinkPropertiesPrefill : public ::testing::TestWithParam<PrefillCase> {};

TEST_P(DataLinkPropertiesPrefill, FillsTheFieldsAndBuildsTheSameString) {
    const PrefillCase& c = GetParam();
    ScriptedFileChooser chooser;
    DataLinkPropertiesDialog dialog(chooser);
    dialog.load(c.initial);
    EXPECT_EQ(dialog.ProviderBox->currentIndex(), c.provider);
    EXPECT_EQ(dialog.DriverBox->currentText(), c.driver);
    EXPECT_EQ(dialog.DataSourceBox->currentText(), c.dataSource);
    EXPECT_EQ(dialog.DatabaseFileEdit->text(), c.file);
    EXPECT_EQ(dialog.ServerEdit->text(), c.server);
    EXPECT_EQ(dialog.PortEdit->text(), c.port);
    EXPECT_EQ(dialog.DatabaseEdit->text(), c.database);
    EXPECT_EQ(dialog.UserEdit->text(), c.user);
    EXPECT_EQ(dialog.PasswordEdit->text(), c.password);
    EXPECT_EQ(dialog.OptionsEdit->text(), c.options);
    EXPECT_EQ(dialog.DatabaseFileEdit->isEnabled(), c.fileEnabled);
    EXPECT_EQ(dialog.DatabaseFileBrowse->isEnabled(), c.fileEnabled);
    EXPECT_EQ(dialog.ServerEdit->isEnabled(), !c.fileEnabled);
    EXPECT_EQ(dialog.DatabaseEdit->isEnabled(), !c.fileEnabled);
    EXPECT_EQ(dialog.DriverBox->isEnabled(), c.provider == 0);
    EXPECT_EQ(dialog.PasswordEdit->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.connectionString(), c.initial);
}

INSTANTIATE_TEST_SUITE_P(
    , DataLinkPropertiesPrefill,
    ::testing::Values(
        PrefillCase{"SQLite", "Driver={SQLite3};Database=/home/me/music.sqlite;", 0, "SQLite3", "",
                    "/home/me/music.sqlite", "", "", "", "", "", "", true},
        PrefillCase{"PostgreSQL",
                    "Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=5432;Database=shop;Uid=me;"
                    "Pwd=secret;",
                    0, "PostgreSQL Unicode", "", "", "127.0.0.1", "5432", "shop", "me", "secret",
                    "", false},
        PrefillCase{"MariaDBWithOptions",
                    "Driver={MariaDB Unicode};Server=h;Database=shop;Uid=me;Pwd=pw;OPTION=3;", 0,
                    "MariaDB Unicode", "", "", "h", "", "shop", "me", "pw", "OPTION=3;", false},
        PrefillCase{"SqlServer",
                    "Provider=SQLOLEDB;Data Source=dbhost,1433;Initial Catalog=shop;User ID=sa;"
                    "Password=secret",
                    1, "", "", "", "dbhost", "1433", "shop", "sa", "secret", "", false},
        PrefillCase{"DataSourceName", "DSN=Elsewhere;", 0, "", "Elsewhere", "", "", "", "", "", "",
                    "", false},
        PrefillCase{"Empty", "", 0, "", "", "", "", "", "", "", "", "", false}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(DataLinkProperties, SwitchingToSqlServerKeepsTheServerKeys) {
    ScriptedFileChooser chooser;
    DataLinkPropertiesDialog dialog(chooser);
    dialog.load("Driver={FreeTDS};Server=db;Port=1433;Database=shop;Uid=sa;Pwd=pw;");
    dialog.ProviderBox->setCurrentIndex(1);
    EXPECT_FALSE(dialog.DriverBox->isEnabled());
    EXPECT_EQ(dialog.connectionString(),
              "Provider=SQLOLEDB;Data Source=db,1433;Initial Catalog=shop;User ID=sa;Password=pw");
}

TEST(DataLinkProperties, BrowsesForTheDatabaseFile) {
    ScriptedFileChooser chooser;
    chooser.answers = {QStringLiteral("/data/new.sqlite"), std::nullopt};
    DataLinkPropertiesDialog dialog(chooser);
    dialog.load("Driver={SQLite3};Database=/data/old.sqlite;");
    dialog.DatabaseFileBrowse->click();
    EXPECT_EQ(dialog.DatabaseFileEdit->text(), "/data/new.sqlite");
    dialog.DatabaseFileBrowse->click();
    EXPECT_EQ(dialog.DatabaseFileEdit->text(), "/data/new.sqlite");
    ASSERT_EQ(chooser.requests.size(), 2U);
    EXPECT_EQ(chooser.requests[0].initialDirectory, "/data/");
    // A new file is a new SQLite database.
    EXPECT_EQ(chooser.requests[0].choice, FileChoice::ExistingOrNew);
}

// The string names a data source or a driver; with both set the dialog says
// which one it uses.
struct SourceCase {
    const char* name;
    const char* driver;
    const char* dataSource;
    bool noteShown;
    const char* built;
};

class DataLinkPropertiesSource : public ::testing::TestWithParam<SourceCase> {};

TEST_P(DataLinkPropertiesSource, SaysWhichOneIsUsed) {
    const SourceCase& c = GetParam();
    ScriptedFileChooser chooser;
    DataLinkPropertiesDialog dialog(chooser);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.DriverBox->setCurrentText(c.driver);
    dialog.DataSourceBox->setCurrentText(c.dataSource);
    EXPECT_EQ(dialog.SourceNote->isVisibleTo(&dialog), c.noteShown);
    if (c.noteShown) {
        EXPECT_EQ(dialog.SourceNote->text(),
                  "Both are set: the data source name is used and the driver is left out.");
        // Every wrapped line of it shows.
        EXPECT_GE(dialog.SourceNote->height(),
                  dialog.SourceNote->heightForWidth(dialog.SourceNote->width()));
    }
    EXPECT_EQ(dialog.connectionString(), c.built);
    dialog.ProviderBox->setCurrentIndex(1);
    EXPECT_FALSE(dialog.SourceNote->isVisibleTo(&dialog));
}

INSTANTIATE_TEST_SUITE_P(
    , DataLinkPropertiesSource,
    ::testing::Values(SourceCase{"Both", "PostgreSQL Unicode", "Elsewhere", true, "DSN=Elsewhere;"},
                      SourceCase{"DriverOnly", "PostgreSQL Unicode", "", false,
                                 "Driver={PostgreSQL Unicode};"},
                      SourceCase{"DataSourceOnly", "", "Elsewhere", false, "DSN=Elsewhere;"},
                      SourceCase{"Neither", "", "", false, ""}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

// A test result is gone as soon as a field changes.
struct FieldChange {
    const char* name;
    std::function<void(DataLinkPropertiesDialog&)> change;
};

class DataLinkPropertiesResult : public ::testing::TestWithParam<FieldChange> {};

TEST_P(DataLinkPropertiesResult, IsClearedWhenAFieldChanges) {
    ScriptedFileChooser chooser;
    DataLinkPropertiesDialog dialog(chooser);
    dialog.load("Driver={SQLite3};Database=/nonexistent-velbrook/folder/x.sqlite;");
    ASSERT_TRUE(dialog.TestConnectionClick().startsWith("Test connection failed: "));
    GetParam().change(dialog);
    EXPECT_EQ(dialog.TestResult->text(), QString());
}

INSTANTIATE_TEST_SUITE_P(
    , DataLinkPropertiesResult,
    ::testing::Values(
        FieldChange{"Provider", [](auto& d) { d.ProviderBox->setCurrentIndex(1); }},
        FieldChange{"Driver", [](auto& d) { d.DriverBox->setCurrentText("FreeTDS"); }},
        FieldChange{"DataSource", [](auto& d) { d.DataSourceBox->setCurrentText("x"); }},
        FieldChange{"DatabaseFile", [](auto& d) { d.DatabaseFileEdit->setText("/tmp/y"); }},
        FieldChange{"Server", [](auto& d) { d.ServerEdit->setText("h"); }},
        FieldChange{"Port", [](auto& d) { d.PortEdit->setText("1"); }},
        FieldChange{"Database", [](auto& d) { d.DatabaseEdit->setText("d"); }},
        FieldChange{"User", [](auto& d) { d.UserEdit->setText("u"); }},
        FieldChange{"Password", [](auto& d) { d.PasswordEdit->setText("p"); }},
        FieldChange{"Options", [](auto& d) { d.OptionsEdit->setText("A=1"); }}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(DataLinkPropertiesTestButton, ShowsThatItIsBusyAndForHowLong) {
    ScriptedFileChooser chooser;
    DataLinkPropertiesDialog dialog(chooser);
    dialog.load("Driver={SQLite3};Database=/nonexistent-velbrook/folder/x.sqlite;");
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    // Runs while the test is under way, if the dialog lets events through.
    QString shown;
    bool busyCursor = false;
    bool buttonEnabled = true;
    QTimer::singleShot(0, &dialog, [&] {
        shown = dialog.TestResult->text();
        const QCursor* cursor = QGuiApplication::overrideCursor();
        busyCursor = cursor != nullptr && cursor->shape() == Qt::WaitCursor;
        buttonEnabled = dialog.TestButton->isEnabled();
    });
    QTest::mouseClick(dialog.TestButton, Qt::LeftButton);
    EXPECT_EQ(shown, "Testing the connection; it gives up after 15 seconds...");
    EXPECT_TRUE(busyCursor);
    EXPECT_FALSE(buttonEnabled);
    EXPECT_TRUE(dialog.TestResult->text().startsWith("Test connection failed: "));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(dialog.TestButton->isEnabled());
}

TEST(DataLinkPropertiesTestButton, TakesEnterWhenFocused) {
    ScriptedFileChooser chooser;
    ModalAnswer<DataLinkPropertiesDialog> answer([](DataLinkPropertiesDialog& dialog) {
        dialog.TestButton->setFocus();
        QTest::keyClick(dialog.TestButton, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(dialog.TestResult->text().startsWith("Test connection failed: "));
        dialog.reject();
    });
    RunDataLinkProperties(nullptr, u"Driver={SQLite3};Database=/nonexistent-velbrook/x.sqlite;",
                          chooser);
    EXPECT_TRUE(answer.ran());
}

// A server that takes the connection and never answers.
class SilentServer {
public:
    SilentServer() : socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        auto* generic = reinterpret_cast<sockaddr*>(&address);
        if (::bind(socket_, generic, length) == 0 && ::listen(socket_, 4) == 0 &&
            ::getsockname(socket_, generic, &length) == 0) {
            port_ = ntohs(address.sin_port);
        }
    }
    ~SilentServer() { ::close(socket_); }
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;

    int port() const noexcept { return port_; }

private:
    int socket_;
    int port_ = 0;
};

TEST(DataLinkPropertiesTestButton, GivesUpOnAServerThatNeverAnswers) {
    SilentServer server;
    ASSERT_NE(server.port(), 0);
    ScriptedFileChooser chooser;
    DataLinkPropertiesDialog dialog(chooser);
    dialog.load("Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=" +
                std::to_string(server.port()) + ";Database=shop;Uid=me;Pwd=secret;");
    dialog.setTestTimeout(1);
    const QString report = dialog.TestConnectionClick();
    EXPECT_TRUE(report.startsWith("Test connection failed: ")) << report.toStdString();
}

struct RunCase {
    const char* name;
    std::function<void(DataLinkPropertiesDialog&)> user;
    std::u16string result;
};

class RunDataLinkPropertiesCase : public ::testing::TestWithParam<RunCase> {};

TEST_P(RunDataLinkPropertiesCase, ReturnsTheBuiltStringOnlyOnOk) {
    ScriptedFileChooser chooser;
    ModalAnswer<DataLinkPropertiesDialog> answer([](DataLinkPropertiesDialog& dialog) {
        dialog.PasswordEdit->setText("n;ew");
        GetParam().user(dialog);
    });
    EXPECT_EQ(
        RunDataLinkProperties(nullptr, u"Driver={PostgreSQL Unicode};Server=h;Pwd=old;", chooser),
        GetParam().result);
    EXPECT_TRUE(answer.ran());
}

INSTANTIATE_TEST_SUITE_P(
    , RunDataLinkPropertiesCase,
    ::testing::Values(RunCase{"Ok",
                              [](DataLinkPropertiesDialog& dialog) {
                                  dialog.Buttons->button(QDialogButtonBox::Ok)->click();
                              },
                              u"Driver={PostgreSQL Unicode};Server=h;Pwd={n;ew};"},
                      RunCase{"Cancel",
                              [](DataLinkPropertiesDialog& dialog) {
                                  dialog.Buttons->button(QDialogButtonBox::Cancel)->click();
                              },
                              u"Driver={PostgreSQL Unicode};Server=h;Pwd=old;"},
                      RunCase{"Escape",
                              [](DataLinkPropertiesDialog& dialog) {
                                  QTest::keyClick(&dialog, Qt::Key_Escape);
                              },
                              u"Driver={PostgreSQL Unicode};Server=h;Pwd=old;"},
                      RunCase{"CloseBox", [](DataLinkPropertiesDialog& dialog) { dialog.close(); },
                              u"Driver={PostgreSQL Unicode};Server=h;Pwd=old;"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

// Test Connection against the real databases.
class DataLinkPropertiesTest : public ::testing::TestWithParam<TestDatabase::Engine> {
protected:
    void SetUp() override {
        database = TestDatabase::open(GetParam());
        dialog.load(database.connectionString());
    }

    TestDatabase database;
    ScriptedFileChooser chooser;
    DataLinkPropertiesDialog dialog{chooser};
};

TEST_P(DataLinkPropertiesTest, TestConnectionSucceeds) {
    EXPECT_EQ(dialog.TestConnectionClick(), "Test connection succeeded.");
    EXPECT_EQ(dialog.TestResult->text(), "Test connection succeeded.");
}

TEST_P(DataLinkPropertiesTest, TestConnectionReportsTheDriverWithoutThePassword) {
    if (GetParam() == TestDatabase::Engine::SQLite) {
        dialog.DatabaseFileEdit->setText("/nonexistent-velbrook/folder/x.sqlite");
        dialog.PasswordEdit->setText("Hidden-Secret-1");
    } else {
        dialog.PasswordEdit->setText("Hidden-Secret-1");
    }
    const QString report = dialog.TestConnectionClick();
    EXPECT_TRUE(report.startsWith("Test connection failed: ")) << report.toStdString();
    EXPECT_GT(report.size(), QString("Test connection failed: ").size());
    EXPECT_FALSE(report.contains("Hidden-Secret-1"));
}

TEST_P(DataLinkPropertiesTest, SaveAsWritesADataLinkFileThatConnects) {
    const DataHome home;
    const std::string path = home.dataLinkFolder() + "/saved.udl";
    chooser.answers = {QString::fromStdString(home.dataLinkFolder() + "/saved")};
    EXPECT_EQ(dialog.SaveAsClick(), QString::fromStdString("Saved as " + path + "."));
    ASSERT_EQ(chooser.requests.size(), 1U);
    EXPECT_EQ(chooser.requests[0].initialDirectory,
              QString::fromStdString(home.dataLinkFolder() + "/"));
    namespace fs = std::filesystem;
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    TADOConnection saved("Saved");
    saved.SetConnectionString("FILE NAME=" + path);
    EXPECT_NO_THROW(saved.SetConnected(true));
}

TEST_P(DataLinkPropertiesTest, AnUnknownDriverIsReported) {
    dialog.DriverBox->setCurrentText("No Such Driver");
    const QString report = dialog.TestConnectionClick();
    EXPECT_TRUE(report.startsWith("Test connection failed: ")) << report.toStdString();
}

INSTANTIATE_TEST_SUITE_P(, DataLinkPropertiesTest,
                         ::testing::Values(TestDatabase::Engine::SQLite,
                                           TestDatabase::Engine::PostgreSQL),
                         [](const auto& testInfo) { return engineName(testInfo.param); });

} // namespace
