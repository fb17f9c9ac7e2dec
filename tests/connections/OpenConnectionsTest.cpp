#include "connections/OpenConnections.h"

#include "TestSupport.h"
#include "app/ConnectionHandlers.h"
#include "connections/ConnectionView.h"
#include "connections/TConnEditForm.h"
#include "dbaccess/TADOConnection.h"
#include "dbaccess/values/TStrings.h"
#include "tests/app/FormFixture.h"
#include "tests/support/TestDatabase.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <cstdlib>
#include <limits>
#include <random>

namespace {

const QString connectingSource = "Connecting Source Connection";
const QString connectedSource = "Connected Source Connection";
const QString failedSource = "Connecting Source Connection..(Error:ConnectionString)";
const QString connectingTarget = "Connecting Target Connection";
const QString connectedTarget = "Connected Target Connection";
const QString failedTarget = "Connecting Target Connection..(Error:ConnectionString)";

std::string uniqueSuffix() {
    std::random_device device;
    return std::to_string(device() % 1000000);
}

const std::string wrongPassword = "wrong-password";

// A string the engine's driver refuses to open with: a server's in a data
// link file with a wrong password.
std::string badConnectionString(const TestDatabase& database, const TemporaryFolder& folder) {
    if (database.engine() == TestDatabase::Engine::SQLite) {
        return "Driver={SQLite3};Database=/nonexistent-velbrook/folder/x.sqlite;";
    }
    return "FILE NAME=" + folder.addFile("wrong.udl", "[oledb]\n" + database.connectionString() +
                                                          "Pwd=" + wrongPassword + ";\n");
}

// The error line and then the driver's own words, without the password.
void expectFailureLines(const QStringList& lines, const QString& failed) {
    ASSERT_EQ(lines.size(), 3) << lines.join('|').toStdString();
    EXPECT_EQ(lines[1], failed);
    EXPECT_FALSE(lines[2].trimmed().isEmpty());
    EXPECT_FALSE(lines[2].contains(QString::fromStdString(wrongPassword)))
        << lines[2].toStdString();
}

// The user types a connection string and confirms it.
std::function<void(TConnEditForm&)> typeString(const std::string& text) {
    return [text](TConnEditForm& form) {
        form.UseConnectionString->click();
        form.ConnectionString->setText(QString::fromStdString(text));
        form.OkButton->click();
    };
}

const std::function<void(TConnEditForm&)> cancel = [](TConnEditForm& form) {
    form.CancelButton->click();
};

bool shows(const QLabel* image, const QPixmap& entry) {
    return image->pixmap().toImage() == entry.toImage();
}

class OpenConnectionsTest : public FormFixture,
                            public ::testing::WithParamInterface<TestDatabase::Engine> {
protected:
    void SetUp() override {
        FormFixture::SetUp();
        connectConnectionHandlers(*form);
        database = TestDatabase::open(GetParam());
        const std::string suffix = uniqueSuffix();
        orders = "Orders_" + suffix;
        customers = "customers_" + suffix;
        view = "v_customers_" + suffix;
        database.execute("CREATE TABLE " + database.quoted(orders) + " (id integer);\n" +
                         "CREATE TABLE " + customers + " (id integer);\n" + "CREATE VIEW " + view +
                         " AS SELECT id FROM " + customers + ";\n");
    }

    void TearDown() override {
        form->ADOConnection1.SetConnected(false);
        form->ADOConnection2.SetConnected(false);
        database.execute("DROP VIEW IF EXISTS " + view + ";");
        database.dropTable(customers);
        database.execute("DROP TABLE IF EXISTS " + database.quoted(orders) + ";");
        FormFixture::TearDown();
    }

    // Presses a button whose handler runs the editor, answered by user.
    void press(QToolButton* button, const std::function<void(TConnEditForm&)>& user) {
        ModalAnswer<TConnEditForm> answer([&](TConnEditForm& editor) {
            captions << editor.windowTitle();
            user(editor);
        });
        click(button);
        EXPECT_TRUE(answer.ran());
    }

    QStringList sourceItems() const {
        QStringList items;
        for (int i = 0; i < form->clstSource->count(); ++i) {
            items << form->clstSource->item(i)->text();
        }
        return items;
    }

    int tickedCount() const { return TMainForm::CountChecked(*form->clstSource); }

    QStringList lastMessages(int count) const { return messages().mid(messages().size() - count); }

    TestDatabase database;
    TemporaryFolder folder;
    std::string orders;
    std::string customers;
    std::string view;
    QStringList captions;
};

TEST_P(OpenConnectionsTest, SourceListsTablesAndViewsUnticked) {
    press(form->btnOpenSource, typeString(database.connectionString()));
    EXPECT_EQ(captions, QStringList{"MainForm.ADOConnection1 ConnectionString"});
    EXPECT_EQ(messages(), QStringList({connectingSource, connectedSource}));
    EXPECT_TRUE(form->ADOConnection1.Connected());
    EXPECT_TRUE(shows(form->s1, form->ImageList1[1]));
    EXPECT_TRUE(shows(form->s2, form->ImageList1[0]));
    EXPECT_TRUE(form->btnSelectAll->isEnabled());
    EXPECT_TRUE(form->btnUnSelect->isEnabled());
    const QStringList items = sourceItems();
    for (const std::string& name : {orders, customers, view}) {
        const QString expected = QString::fromStdString(
            database.engine() == TestDatabase::Engine::PostgreSQL && name != orders
                ? lowerCase(name)
                : name);
        EXPECT_TRUE(items.contains(expected)) << name;
    }
    if (database.engine() == TestDatabase::Engine::SQLite) {
        EXPECT_EQ(items.size(), 3);
    }
    EXPECT_EQ(tickedCount(), 0);
    EXPECT_EQ(form->ADOConnection1.ConnectionString(), database.connectionString());
}

TEST_P(OpenConnectionsTest, ReopeningAfterCancelReconnectsAndClearsTicks) {
    press(form->btnOpenSource, typeString(database.connectionString()));
    const QStringList before = sourceItems();
    click(form->btnSelectAll);
    ASSERT_EQ(tickedCount(), form->clstSource->count());
    ASSERT_TRUE(form->btnMover->isEnabled());

    press(form->btnOpenSource, cancel);
    EXPECT_EQ(lastMessages(2), QStringList({connectingSource, connectedSource}));
    EXPECT_TRUE(form->ADOConnection1.Connected());
    EXPECT_TRUE(shows(form->s1, form->ImageList1[1]));
    EXPECT_TRUE(sourceItems().contains(QString::fromStdString(orders)));
    EXPECT_EQ(tickedCount(), 0);
    // Execute keeps its state; the move run refuses an empty choice itself.
    EXPECT_TRUE(form->btnMover->isEnabled());
    if (database.engine() == TestDatabase::Engine::SQLite) {
        EXPECT_EQ(sourceItems(), before);
    }
}

TEST_P(OpenConnectionsTest, BadSourceStringKeepsListAndSelection) {
    for (const bool openedBefore : {false, true}) {
        SCOPED_TRACE(openedBefore ? "opened before" : "never opened");
        if (openedBefore) {
            press(form->btnOpenSource, typeString(database.connectionString()));
        }
        const QStringList itemsBefore = sourceItems();
        const bool selectAllBefore = form->btnSelectAll->isEnabled();
        const auto linesBefore = messages().size();
        press(form->btnOpenSource, typeString(badConnectionString(database, folder)));
        expectFailureLines(messages().mid(linesBefore), failedSource);
        EXPECT_FALSE(form->ADOConnection1.Connected());
        EXPECT_TRUE(shows(form->s1, form->ImageList1[0]));
        EXPECT_EQ(sourceItems(), itemsBefore);
        EXPECT_EQ(form->btnSelectAll->isEnabled(), selectAllBefore);
        EXPECT_EQ(form->btnUnSelect->isEnabled(), selectAllBefore);
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_P(OpenConnectionsTest, TargetNamesAreHeldLowerCase) {
    press(form->btnOpenTarget, typeString(database.connectionString()));
    EXPECT_EQ(captions, QStringList{"MainForm.ADOConnection2 ConnectionString"});
    EXPECT_EQ(messages(), QStringList({connectingTarget, connectedTarget}));
    EXPECT_TRUE(form->ADOConnection2.Connected());
    EXPECT_TRUE(shows(form->s2, form->ImageList1[1]));
    EXPECT_TRUE(shows(form->s1, form->ImageList1[0]));
    const auto& names = form->FTargetTables.items();
    EXPECT_NE(std::find(names.begin(), names.end(), lowerCase(orders)), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), lowerCase(view)), names.end());
    for (const std::string& name : names) {
        EXPECT_EQ(name, lowerCase(name));
    }
    // The target's names are shown nowhere, and Select All is the source's.
    EXPECT_EQ(form->clstTarget->count(), 0);
    EXPECT_EQ(form->clstSource->count(), 0);
    EXPECT_FALSE(form->btnSelectAll->isEnabled());
}

TEST_P(OpenConnectionsTest, BadTargetStringKeepsTheTargetTables) {
    press(form->btnOpenTarget, typeString(database.connectionString()));
    const std::vector<std::string> before = form->FTargetTables.items();
    press(form->btnOpenTarget, typeString(badConnectionString(database, folder)));
    expectFailureLines(lastMessages(3), failedTarget);
    EXPECT_FALSE(form->ADOConnection2.Connected());
    EXPECT_TRUE(shows(form->s2, form->ImageList1[0]));
    EXPECT_EQ(form->FTargetTables.items(), before);
}

INSTANTIATE_TEST_SUITE_P(, OpenConnectionsTest,
                         ::testing::Values(TestDatabase::Engine::SQLite,
                                           TestDatabase::Engine::PostgreSQL),
                         [](const auto& testInfo) { return engineName(testInfo.param); });

// A list that fails once it holds a number of names.
class FailingList : public TStringList {
public:
    explicit FailingList(int capacity) : capacity_(capacity) {}
    void Add(const std::string& text) override {
        if (Count() == capacity_) {
            throw std::runtime_error("list is full");
        }
        TStringList::Add(text);
    }

private:
    int capacity_;
};

// A window that keeps what the handlers did to it.
class RecordingView : public ConnectionView {
public:
    explicit RecordingView(const std::string& connectionString) {
        for (TADOConnection* connection : {&source, &target}) {
            connection->SetLoginPrompt(false);
            connection->SetConnectionString(connectionString);
        }
    }

    TADOConnection& Connection(ConnectionSide side) override {
        return side == ConnectionSide::Source ? source : target;
    }
    void AddMessage(const std::string& text) override { messages.push_back(text); }
    void ShowConnectionState(int index, ConnectionSide side) override {
        states.push_back({index, side});
    }
    TStrings& SourceTables() override { return sourceTables; }
    TStrings& TargetTables() override { return targetTables; }
    void EnableSourceSelection() override { selectionEnabled = true; }
    bool EditConnectionString(TADOConnection&) override {
        ++edits;
        return false;
    }

    TADOConnection source{"ADOConnection1"};
    TADOConnection target{"ADOConnection2"};
    FailingList sourceTables{1};
    FailingList targetTables{1};
    std::vector<std::string> messages;
    std::vector<std::pair<int, ConnectionSide>> states;
    bool selectionEnabled = false;
    int edits = 0;
};

class ListFailsHalfWayTest : public ::testing::TestWithParam<TestDatabase::Engine> {
protected:
    void SetUp() override {
        database = TestDatabase::open(GetParam());
        suffix = uniqueSuffix();
        database.execute("CREATE TABLE " + database.quoted("A_" + suffix) +
                         " (id integer);\nCREATE TABLE " + database.quoted("B_" + suffix) +
                         " (id integer);\n");
    }
    void TearDown() override {
        database.execute("DROP TABLE IF EXISTS " + database.quoted("A_" + suffix) + ";");
        database.execute("DROP TABLE IF EXISTS " + database.quoted("B_" + suffix) + ";");
    }

    TestDatabase database;
    std::string suffix;
};

TEST_P(ListFailsHalfWayTest, SourceStaysOpenWithTheNamesReadSoFar) {
    RecordingView window(database.connectionString());
    btnOpenSourceClick(window);
    EXPECT_EQ(window.edits, 1);
    EXPECT_EQ(window.messages,
              (std::vector<std::string>{connectingSource.toStdString(), failedSource.toStdString(),
                                        "list is full"}));
    EXPECT_TRUE(window.source.Connected());
    EXPECT_EQ(window.states,
              (std::vector<std::pair<int, ConnectionSide>>{{0, ConnectionSide::Source}}));
    EXPECT_EQ(window.sourceTables.Count(), 1);
    EXPECT_FALSE(window.selectionEnabled);
}

TEST_P(ListFailsHalfWayTest, TargetStaysOpenWithTheNamesReadSoFar) {
    RecordingView window(database.connectionString());
    btnOpenTargetClick(window);
    EXPECT_EQ(window.messages,
              (std::vector<std::string>{connectingTarget.toStdString(), failedTarget.toStdString(),
                                        "list is full"}));
    EXPECT_TRUE(window.target.Connected());
    EXPECT_FALSE(window.source.Connected());
    EXPECT_EQ(window.states,
              (std::vector<std::pair<int, ConnectionSide>>{{0, ConnectionSide::Target}}));
    EXPECT_EQ(window.targetTables.Count(), 1);
}

TEST_P(ListFailsHalfWayTest, AnOpenConnectionIsClosedBeforeTheEditor) {
    RecordingView window(database.connectionString());
    window.source.SetConnected(true);
    // The shared server may hold many tables of other tests.
    window.sourceTables = FailingList(std::numeric_limits<int>::max());
    btnOpenSourceClick(window);
    EXPECT_TRUE(window.source.Connected());
    EXPECT_EQ(window.states, (std::vector<std::pair<int, ConnectionSide>>{
                                 {0, ConnectionSide::Source}, {1, ConnectionSide::Source}}));
    EXPECT_TRUE(window.selectionEnabled);
}

INSTANTIATE_TEST_SUITE_P(, ListFailsHalfWayTest,
                         ::testing::Values(TestDatabase::Engine::SQLite,
                                           TestDatabase::Engine::PostgreSQL),
                         [](const auto& testInfo) { return engineName(testInfo.param); });

class OpenConnectionsWindowTest : public FormFixture {
protected:
    void SetUp() override {
        FormFixture::SetUp();
        connectConnectionHandlers(*form);
    }
};

TEST_F(OpenConnectionsWindowTest, RefusedDuringARun) {
    form->FMoving = true;
    ModalAnswer<TConnEditForm> editor([](TConnEditForm& dialog) { dialog.reject(); });
    click(form->btnOpenTarget);
    click(form->btnOpenSource);
    EXPECT_FALSE(editor.ran());
    EXPECT_EQ(messages(), QStringList({"Moving Data....(Request: Open Target)",
                                       "Moving Data....(Request: Open Source)"}));
}

TEST_F(OpenConnectionsWindowTest, StartUpSourceOpensTheDataSourceNamedConnection_sqlite) {
    const std::string& file = testDataSourceFile();
    ASSERT_EQ(
        std::system(
            ("sqlite3 '" + file + "' 'CREATE TABLE IF NOT EXISTS Albums (id integer)'").c_str()),
        0);
    ModalAnswer<TConnEditForm> editor([](TConnEditForm& dialog) {
        EXPECT_EQ(dialog.ConnectionString->text(), "Provider=MSDASQL.1;Data Source=Connection");
        dialog.CancelButton->click();
    });
    click(form->btnOpenSource);
    EXPECT_TRUE(editor.ran());
    EXPECT_EQ(messages(), QStringList({connectingSource, connectedSource}));
    EXPECT_EQ(form->clstSource->count(), 1);
    EXPECT_EQ(form->clstSource->item(0)->text(), "Albums");
    EXPECT_EQ(form->ADOConnection1.ConnectionString(), "Provider=MSDASQL.1;Data Source=Connection");
    form->ADOConnection1.SetConnected(false);
}

} // namespace
