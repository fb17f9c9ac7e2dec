#include "FormFixture.h"
#include "app/ApplicationTitle.h"
#include "app/Gauge.h"
#include "app/MoveHandlers.h"
#include "app/RecordProgressBar.h"
#include "mover/Utilities.h"
#include "tests/support/TestDatabase.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTimer>

namespace {

using Engine = TestDatabase::Engine;

// The main window over two SQLite databases, with the move run connected.
class WindowMove : public FormFixture {
protected:
    void SetUp() override {
        FormFixture::SetUp();
        connectMoveHandlers(*form);
        form->ADOConnection1.SetConnectionString(source.connectionString());
        form->ADOConnection2.SetConnectionString(target.connectionString());
    }

    // What opening both connections leaves behind.
    void openBoth() {
        form->ADOConnection1.SetConnected(true);
        form->ADOConnection1.ListTableNames(form->clstSource->Items(), false);
        form->ADOConnection2.SetConnected(true);
        form->ADOConnection2.ListTableNames(form->FTargetTables, false);
        for (int i = 0; i < form->FTargetTables.Count(); ++i) {
            form->FTargetTables.SetStrings(i, lowerCase(form->FTargetTables.Strings(i)));
        }
        form->btnSelectAll->setEnabled(true);
        form->btnUnSelect->setEnabled(true);
    }

    void tick(const QString& name) {
        for (int i = 0; i < form->clstSource->count(); ++i) {
            if (form->clstSource->item(i)->text() == name) {
                form->clstSource->setChecked(i, true);
            }
        }
        form->clstSourceClick();
    }

    QStringList results() const {
        QStringList lines;
        for (int i = 0; i < form->clstTarget->count(); ++i) {
            lines << form->clstTarget->item(i)->text() +
                         (form->clstTarget->checked(i) ? " [x]" : " [ ]");
        }
        return lines;
    }

    QStringList memo() const {
        const QString text = form->Memo1->toPlainText();
        return text.isEmpty() ? QStringList() : text.split('\n');
    }

    void execute() { form->btnMoverClick(); }

    TestDatabase source = TestDatabase::open(Engine::SQLite);
    TestDatabase target = TestDatabase::open(Engine::SQLite);
};

// Samples what the window shows at every pass of the event loop.
class ProgressSampler {
public:
    explicit ProgressSampler(TMainForm& form) {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this, &form] {
            const QString title = applicationTitle();
            if (titles.isEmpty() || titles.back() != title) {
                titles << title;
            }
            const QString counter = form.recordCounterText();
            if (!counter.isEmpty() && (counters.isEmpty() || counters.back() != counter)) {
                counters << counter;
            }
        });
        timer_.start();
    }

    QStringList titles;
    QStringList counters;

private:
    QTimer timer_;
};

TEST_F(WindowMove, ExecuteNeedsBothConnectionsAndATickedTable_sqlite) {
    source.execute("CREATE TABLE orders (id INTEGER);");
    execute();
    form->ADOConnection1.SetConnected(true);
    execute();
    ASSERT_EQ(dialogs.shown.size(), 2U);
    EXPECT_EQ(dialogs.shown[0].text, "請先Open Source & Target Connection!");
    EXPECT_EQ(dialogs.shown[0].caption, "Error");
    EXPECT_EQ(dialogs.shown[1].text, "請先Open Source & Target Connection!");
    openBoth();
    execute();
    ASSERT_EQ(dialogs.shown.size(), 3U);
    EXPECT_EQ(dialogs.shown[2].text, "Source table not choice!!");
    EXPECT_EQ(form->clstTarget->count(), 0);
    EXPECT_FALSE(form->btnStop->isEnabled());
    EXPECT_FALSE(form->FMoving);
}

TEST_F(WindowMove, EveryTickedTableGetsATickedResultLine_sqlite) {
    source.execute("CREATE TABLE Orders (id INTEGER PRIMARY KEY, note VARCHAR(40));"
                   "INSERT INTO Orders VALUES (1, 'one'), (2, '二'), (3, NULL);"
                   "CREATE TABLE empty_one (id INTEGER);"
                   "CREATE TABLE skipped (id INTEGER);");
    target.execute("CREATE TABLE empty_one (id INTEGER); INSERT INTO empty_one VALUES (7);");
    openBoth();
    tick("Orders");
    tick("empty_one");
    ASSERT_TRUE(form->btnMover->isEnabled());
    execute();
    EXPECT_EQ(results(), (QStringList{"orders  Records: 3 [x]", "empty_one  Records: 0 [x]"}));
    EXPECT_TRUE(memo().isEmpty());
    EXPECT_EQ(target.query("SELECT id, note FROM orders ORDER BY id;"),
              (std::vector<std::string>{"1|one", "2|二", "3|"}));
    EXPECT_EQ(target.queryValue("SELECT count(*) FROM empty_one;"), "0")
        << "emptied, nothing copied";
    EXPECT_EQ(target.queryValue("SELECT count(*) FROM sqlite_master WHERE name = 'skipped';"), "0");
    const QStringList lines = messages();
    EXPECT_TRUE(lines.contains("Preparing Move Table:orders"));
    EXPECT_TRUE(lines.contains("Deleting Target Data"));
    EXPECT_TRUE(lines.contains("Deleted Target Data"));
    EXPECT_TRUE(lines.contains("Begining Move Source Data to Target"));
    EXPECT_EQ(lines.count("End Move Source Data to Target"), 2);
    EXPECT_EQ(form->pbTables->percentDone(), 100);
    EXPECT_FALSE(form->btnStop->isEnabled());
    EXPECT_FALSE(form->FMoving);
}

TEST_F(WindowMove, RowCounterAndTitleFollowEveryRow_sqlite) {
    source.execute("CREATE TABLE a (id INTEGER); INSERT INTO a VALUES (1), (2), (3);"
                   "CREATE TABLE b (id INTEGER);");
    openBoth();
    tick("a");
    tick("b");
    ProgressSampler sampler(*form);
    execute();
    // The counter moves up row by row; the event loop may pass over a quick row.
    ASSERT_GE(sampler.counters.size(), 2) << sampler.counters.join(", ").toStdString();
    EXPECT_EQ(sampler.counters.front(), "1 / 3");
    EXPECT_EQ(sampler.counters.back(), "3 / 3");
    EXPECT_TRUE(sampler.titles.contains("Velbrook 0.1 T:50%"));
    EXPECT_TRUE(sampler.titles.contains("Velbrook 0.1 T:50% R:100%"));
    EXPECT_EQ(sampler.titles.back(), "Velbrook 0.1 T:100%") << "the empty table leaves the title";
    EXPECT_EQ(form->recordCounterText(), "3 / 3");
}

TEST_F(WindowMove, StopAnsweredNoGoesOnAndStopAnsweredYesEndsTheRun_sqlite) {
    source.execute("CREATE TABLE a (id INTEGER); INSERT INTO a VALUES (1), (2), (3);"
                   "CREATE TABLE b (id INTEGER); INSERT INTO b VALUES (1), (2);");
    openBoth();
    tick("a");
    tick("b");
    dialogs.answers = {DialogResult::No, DialogResult::Yes};
    // Stop is pressed as the rows of each table start.
    QObject::connect(form->lstMessage, &MessageList::lineAdded, form.get(), [this] {
        if (messages().back() == "Begining Move Source Data to Target") {
            QTimer::singleShot(0, form.get(), [this] { click(form->btnStop); });
        }
    });
    execute();
    ASSERT_EQ(dialogs.shown.size(), 2U) << "No withdraws the request";
    EXPECT_EQ(dialogs.shown[0].text, "Stop Export?");
    EXPECT_EQ(dialogs.shown[0].caption, "Confirm");
    EXPECT_EQ(messages().back(), "Move terminated by user !!");
    EXPECT_EQ(results(), QStringList{"a  Records: 3 [x]"}) << "a stopped table gets no result line";
    EXPECT_EQ(target.queryValue("SELECT count(*) FROM a;"), "3");
    EXPECT_EQ(target.queryValue("SELECT count(*) FROM b;"), "1");
    EXPECT_FALSE(form->btnStop->isEnabled());
    EXPECT_FALSE(form->FMoving);
}

TEST_F(WindowMove, CloseBoxDuringARunIsRefusedAndTheRunGoesOn_sqlite) {
    source.execute("CREATE TABLE a (id INTEGER); INSERT INTO a VALUES (1), (2), (3);");
    openBoth();
    tick("a");
    QObject::connect(form->lstMessage, &MessageList::lineAdded, form.get(), [this] {
        if (messages().back() == "Begining Move Source Data to Target") {
            QTimer::singleShot(0, form.get(), [this] { form->close(); });
        }
    });
    execute();
    EXPECT_TRUE(messages().contains("Moving Data....(Request: Exit Program)"));
    EXPECT_EQ(results(), QStringList{"a  Records: 3 [x]"});
    EXPECT_EQ(target.queryValue("SELECT count(*) FROM a;"), "3");
    EXPECT_TRUE(form->isVisible());
}

TEST_F(WindowMove, TicksAreReadAsTheRunReachesThem_sqlite) {
    source.execute("CREATE TABLE a (id INTEGER); CREATE TABLE b (id INTEGER);"
                   "CREATE TABLE c (id INTEGER);");
    openBoth();
    tick("a");
    QObject::connect(form->lstMessage, &MessageList::lineAdded, form.get(), [this] {
        if (messages().back() == "Preparing Move Table:a") {
            form->clstSource->setChecked(2, true);
        }
    });
    execute();
    EXPECT_EQ(results(), (QStringList{"a  Records: 0 [x]", "c  Records: 0 [x]"}));
    EXPECT_EQ(form->pbTables->maxValue(), 1);
    EXPECT_EQ(form->pbTables->progress(), 1);
    EXPECT_EQ(form->pbTables->percentDone(), 100);
}

TEST_F(WindowMove, NamesWithBlanksMoveLikeAnyOther_sqlite) {
    source.execute("CREATE TABLE \"Order Items\" (id INTEGER, \"select\" VARCHAR(10));"
                   "INSERT INTO \"Order Items\" VALUES (1, 'x');");
    openBoth();
    tick("Order Items");
    execute();
    EXPECT_EQ(results(), (QStringList{"order items  Records: 1 [x]"}));
    EXPECT_EQ(target.query("SELECT id, \"select\" FROM \"order items\";"),
              (std::vector<std::string>{"1|x"}));
}

TEST_F(WindowMove, TargetThatCannotBeOpenedIsReportedWithItsSourceCount_sqlite) {
    source.execute("CREATE TABLE ghost (id INTEGER); INSERT INTO ghost VALUES (1);");
    openBoth();
    // Listed in the target's names, so nothing creates it, yet it is not there.
    form->FTargetTables.Add("ghost");
    tick("ghost");
    execute();
    EXPECT_EQ(results(), (QStringList{"ghost Target Table Open Error!! Records: 1 [ ]"}));
    EXPECT_FALSE(messages().contains("Deleting Target Data"));
}

TEST_F(WindowMove, RefusedRowIsReportedOnceAndTheRestArrive_sqlite) {
    source.execute("CREATE TABLE t (id INTEGER, v VARCHAR(5));"
                   "INSERT INTO t VALUES (1, 'a'), (1, 'dup'), (2, 'b'), (3, 'c');");
    target.execute("CREATE TABLE t (id INTEGER PRIMARY KEY, v VARCHAR(5));");
    openBoth();
    tick("t");
    execute();
    // The refusal, then the verification's finding of the row it cost.
    ASSERT_EQ(memo().size(), 2);
    // A source without a key names the row by its place.
    EXPECT_TRUE(memo().front().startsWith("Table: t row 2: ")) << memo().front().toStdString();
    EXPECT_EQ(memo().back(), "Table: t 1 source row not found in the target");
    EXPECT_EQ(results(), (QStringList{"t Append Error! Records: 4 [ ]"}));
    EXPECT_EQ(target.query("SELECT id, v FROM t ORDER BY id;"),
              (std::vector<std::string>{"1|a", "2|b", "3|c"}));
}

TEST_F(WindowMove, FullTraceShowsStatementsAndDriverMessagesButNoValues_sqlite) {
    source.execute("CREATE TABLE t (id INTEGER, v VARCHAR(9));"
                   "INSERT INTO t VALUES (1, 'unseen'), (1, 'twice');");
    target.execute("CREATE TABLE t (id INTEGER PRIMARY KEY, v VARCHAR(9));");
    openBoth();
    form->chkFullTrace->setChecked(true);
    tick("t");
    execute();
    const QString lines = messages().join('\n');
    for (const char* pattern : {"^Source [0-9.]+ ms: SELECT .* FROM \"t\"$",
                                "^Target [0-9.]+ ms: INSERT INTO \"t\" .* VALUES \\(\\?, \\?\\)$",
                                "^Target driver: \\[[0-9A-Z]{5}\\] .*UNIQUE"}) {
        EXPECT_TRUE(
            lines.contains(QRegularExpression(pattern, QRegularExpression::MultilineOption)))
            << pattern << "\n"
            << lines.toStdString();
    }
    EXPECT_FALSE(lines.contains("unseen") || lines.contains("twice"));
    form->chkFullTrace->setChecked(false);
    const auto traced = messages().size();
    execute();
    EXPECT_FALSE(messages().mid(traced).join('\n').contains(" ms: "));
}

TEST_F(WindowMove, AnErrorThatEndsTheRunIsReportedAndStaysInTheList_sqlite) {
    source.execute("CREATE TABLE v (id INTEGER); INSERT INTO v VALUES (1);");
    target.execute(
        "CREATE TABLE v (id INTEGER); INSERT INTO v VALUES (2);"
        "CREATE TRIGGER kept BEFORE DELETE ON v BEGIN SELECT RAISE(ABORT, 'kept'); END;");
    openBoth();
    tick("v");
    setApplicationTitle("Velbrook 0.1 T:0%");
    click(form->btnMover);
    ASSERT_EQ(dialogs.shown.size(), 1U);
    EXPECT_EQ(dialogs.shown[0].caption, "Velbrook");
    EXPECT_TRUE(dialogs.shown[0].text.startsWith(messages().back()))
        << messages().back().toStdString();
    EXPECT_NE(messages().back(), "Deleting Target Data");
    EXPECT_FALSE(form->FMoving);
}

TEST(TableCreation, SchemaScriptOfOrdersToTheByte_sqlite) {
    const TestDatabase source = TestDatabase::open(Engine::SQLite);
    // Between SQLite databases a column keeps its declaration.
    source.execute("CREATE TABLE orders (id INTEGER NOT NULL PRIMARY KEY, note VARCHAR(40) NULL);");
    TADOConnection connection;
    connection.SetConnectionString(source.connectionString());
    const auto lines = BuildCreateTableScript(connection, "orders", connection, "orders");
    EXPECT_EQ(lines, (std::vector<std::string>{"CREATE TABLE \"ORDERS\"(",
                                               "  \"ID\"                 INTEGER NOT NULL,",
                                               "  \"NOTE\"               VARCHAR(40) NULL ,",
                                               " PRIMARY KEY(\"ID\")", ");"}));
}

TEST_F(WindowMove, QueryWayTakesKeyAndNullabilityFromTheSchema_sqlite) {
    source.execute("CREATE TABLE t (a SMALLINT PRIMARY KEY, b VARCHAR(10), c SMALLINT NOT NULL);"
                   "INSERT INTO t VALUES (1, 'filled', 2);");
    openBoth();
    MoveContext context{form->ADOConnection1, form->ADOConnection2, form->ADOTable1,
                        form->ADOTable2,      form->ADOQuery1,      form->FTargetTables,
                        form->FTableStatus};
    ASSERT_TRUE(CreateTableFromQuery(context, "t", "t"));
    EXPECT_EQ(target.queryValue("SELECT sql FROM sqlite_master WHERE name = 't';"),
              "CREATE TABLE \"t\"(\"a\" Smallint NOT NULL,\"b\" varchar(10) NULL,\"c\" Smallint "
              "NOT NULL,PRIMARY KEY(\"a\"))");
}

} // namespace
