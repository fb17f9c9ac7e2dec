#include "SpeedMeasures.h"

#include "BenchDatabases.h"
#include "QuietMoveView.h"
#include "app/CheckListBox.h"
#include "app/MessageDialogs.h"
#include "app/MoveHandlers.h"
#include "app/TMainForm.h"
#include "dbaccess/TADOConnection.h"
#include "dbaccess/odbc/CallWaiter.h"
#include "dbaccess/odbc/OdbcSession.h"
#include "dbaccess/values/Exceptions.h"
#include "mover/TableMover.h"

#include <QApplication>
#include <QEventLoop>
#include <QListWidget>
#include <QTimer>
#include <chrono>
#include <fstream>
#include <iostream>
#include <thread>

namespace {

// A line of /proc/self/status in bytes: VmRSS now, VmHWM at the peak.
std::int64_t statusBytes(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key + ":", 0) == 0) {
            return std::stoll(line.substr(key.size() + 1)) * 1024;
        }
    }
    return 0;
}

class Stopwatch {
public:
    Stopwatch() : base_(statusBytes("VmRSS")), start_(std::chrono::steady_clock::now()) {}
    Measurement stop(bool complete) const {
        Measurement result;
        result.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
        result.baseBytes = base_;
        result.peakBytes = statusBytes("VmHWM");
        result.complete = complete;
        return result;
    }

private:
    std::int64_t base_;
    std::chrono::steady_clock::time_point start_;
};

// Every variant starts on the same target: an empty table without dead rows
// for the server to clean up behind it, PostgreSQL's pages written back.
void emptyTarget(TADOConnection& target) {
    const std::string table = bench::table;
    switch (target.Kind()) {
    case DatabaseKind::PostgreSQL:
        bench::execute(target, "TRUNCATE " + table);
        bench::execute(target, "CHECKPOINT");
        break;
    case DatabaseKind::MariaDB:
        bench::execute(target, "TRUNCATE TABLE " + table);
        break;
    default:
        bench::execute(target, "DELETE FROM " + table);
        break;
    }
}

// The servers finish what came before; the window waits so in its event loop.
void settle() {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
}

std::string verifiedLine(int rows) {
    return "Verified Target Data: " + std::to_string(rows) + " of " + std::to_string(rows) +
           " rows identical";
}

// Never blocks: a dialog during a measurement is a failure to report.
class PrintingDialogs : public MessageDialogs {
public:
    void showError(const QString& text) override { print(text); }
    DialogResult confirm(const QString& text) override {
        print(text);
        return DialogResult::No;
    }
    void reportError(const QString&, const QString& text) override { print(text); }
    void showInformation(const QString& text) override { print(text); }

private:
    static void print(const QString& text) {
        std::cerr << "dialog: " << text.toStdString() << "\n";
    }
};

struct LimitColumn {
    SQLSMALLINT sqlType;
    SQLULEN size;
    SQLSMALLINT digits;
    std::size_t width;
};

} // namespace

Measurement measureLimit(const MeasuredPair& pair) {
    const LimitColumn columns[] = {
        {SQL_INTEGER, 10, 0, 32},        {SQL_VARCHAR, 40, 0, 256},
        {SQL_DECIMAL, 12, 4, 64},        {SQL_INTEGER, 10, 0, 32},
        {SQL_TYPE_TIMESTAMP, 26, 6, 64}, {SQL_LONGVARCHAR, 4000, 0, 1024}};
    constexpr std::size_t count = std::size(columns);
    OdbcSession source(pair.source);
    OdbcSession target(pair.target);
    {
        TADOConnection connection;
        connection.SetConnectionString(pair.target);
        emptyTarget(connection);
    }
    std::vector<std::vector<char>> buffers;
    std::vector<SQLLEN> indicators(count);
    for (const auto& column : columns) {
        buffers.emplace_back(column.width);
    }
    settle();
    const Stopwatch watch;
    OdbcHandle select = source.newStatement();
    std::string read =
        std::string("SELECT id, name, price, qty, created, note FROM ") + bench::table;
    checkOdbc(SQLExecDirect(select.get(), reinterpret_cast<SQLCHAR*>(read.data()), SQL_NTS),
              select);
    OdbcHandle insert = target.newStatement();
    std::string write = std::string("INSERT INTO ") + bench::table +
                        " (id, name, price, qty, created, note) VALUES (?, ?, ?, ?, ?, ?)";
    checkOdbc(SQLPrepare(insert.get(), reinterpret_cast<SQLCHAR*>(write.data()), SQL_NTS), insert);
    for (std::size_t i = 0; i < count; ++i) {
        const auto number = static_cast<SQLUSMALLINT>(i + 1);
        checkOdbc(SQLBindCol(select.get(), number, SQL_C_CHAR, buffers[i].data(),
                             static_cast<SQLLEN>(columns[i].width), &indicators[i]),
                  select);
        checkOdbc(SQLBindParameter(insert.get(), number, SQL_PARAM_INPUT, SQL_C_CHAR,
                                   columns[i].sqlType, columns[i].size, columns[i].digits,
                                   buffers[i].data(), static_cast<SQLLEN>(columns[i].width),
                                   &indicators[i]),
                  insert);
    }
    std::int64_t raw = 0;
    int rows = 0;
    while (checkOdbc(SQLFetch(select.get()), select) != SQL_NO_DATA) {
        for (const SQLLEN length : indicators) {
            raw += length > 0 ? length : 0;
        }
        checkOdbc(SQLExecute(insert.get()), insert);
        ++rows;
    }
    Measurement result = watch.stop(rows == pair.rows);
    result.rawBytes = raw;
    return result;
}

namespace {

struct Sides {
    explicit Sides(const MeasuredPair& pair) {
        source.SetConnectionString(pair.source);
        target.SetConnectionString(pair.target);
        // Both open before the stopwatch, as under the window.
        source.SetConnected(true);
        emptyTarget(target);
        target.ListTableNames(targetTables, false);
        for (int i = 0; i < targetTables.Count(); ++i) {
            targetTables.SetStrings(i, lowerCase(targetTables.Strings(i)));
        }
    }
    TADOConnection source{"ADOConnection1"};
    TADOConnection target{"ADOConnection2"};
    TStringList targetTables;
};

} // namespace

// A waiter that never needs to act: every call is handed to the session's
// worker, as under the window, and nothing else changes.
class PatientWaiter : public CallWaiter {
public:
    bool keepWaiting() override { return true; }
};

Measurement measureMover(const MeasuredPair& pair, bool handOver) {
    Sides sides(pair);
    PatientWaiter waiter;
    if (handOver) {
        sides.source.SetCallWaiter(&waiter);
        sides.target.SetCallWaiter(&waiter);
    }
    TADOTable sourceTable("ADOTable1", &sides.source);
    TADOTable targetTable("ADOTable2", &sides.target);
    TADOQuery targetQuery("ADOQuery1", &sides.target);
    std::int16_t status = 0;
    MoveContext context{sides.source, sides.target,       sourceTable, targetTable,
                        targetQuery,  sides.targetTables, status};
    QuietMoveView view;
    settle();
    const Stopwatch watch;
    MoveTable(context, view, bench::table);
    return watch.stop(status == 0 && view.lastMessage() == verifiedLine(pair.rows));
}

Measurement measureWindow(const MeasuredPair& pair, int argc, char** argv) {
    QApplication application(argc, argv);
    PrintingDialogs dialogs;
    TMainForm form(dialogs);
    connectMoveHandlers(form);
    form.ADOConnection1.SetConnectionString(pair.source);
    form.ADOConnection2.SetConnectionString(pair.target);
    emptyTarget(form.ADOConnection2);
    // What opening both connections leaves behind.
    form.ADOConnection1.ListTableNames(form.clstSource->Items(), false);
    form.ADOConnection2.ListTableNames(form.FTargetTables, false);
    for (int i = 0; i < form.FTargetTables.Count(); ++i) {
        form.FTargetTables.SetStrings(i, lowerCase(form.FTargetTables.Strings(i)));
    }
    for (int i = 0; i < form.clstSource->count(); ++i) {
        form.clstSource->setChecked(i, form.clstSource->item(i)->text() == bench::table);
    }
    form.clstSourceClick();
    form.show();
    // Shown and idle, without spinning: the servers finish what came before.
    QEventLoop idle;
    QTimer::singleShot(300, &idle, &QEventLoop::quit);
    idle.exec();
    const Stopwatch watch;
    form.btnMoverClick();
    const QString expected = QString::fromStdString(std::string(bench::table) +
                                                    "  Records: " + std::to_string(pair.rows));
    const bool complete = form.clstTarget->count() == 1 &&
                          form.clstTarget->item(0)->text() == expected &&
                          form.clstTarget->checked(0);
    return watch.stop(complete);
}

Measurement measureFloor(const MeasuredPair& pair) {
    TADOConnection target;
    target.SetConnectionString(pair.target);
    emptyTarget(target);
    settle();
    const Stopwatch watch;
    bench::execute(target,
                   std::string("INSERT INTO ") + bench::table + " SELECT * FROM " + floorTable);
    return watch.stop(true);
}
