// Measures the data access layer against plain ODBC doing the same work in
// the same process: reading a whole table and inserting rows one by one.
// Prints ratios (layer / plain); run with an ODBC connection string, or
// without one for a scratch SQLite file.
#include "dbaccess/TADOConnection.h"
#include "dbaccess/TADOTable.h"
#include "dbaccess/odbc/OdbcSession.h"
#include "dbaccess/values/Exceptions.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <malloc.h>
#include <string>
#include <vector>

namespace {

constexpr int rowCount = 20000;
const char* tableName = "bench_rows";

double secondsOf(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Large blocks are mapped apart from the heap, so both count.
std::size_t heapInUse() {
    const auto info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void execute(OdbcSession& session, const std::string& text) {
    OdbcHandle statement = session.newStatement();
    std::string sql = text;
    SQLExecDirect(statement.get(), reinterpret_cast<SQLCHAR*>(sql.data()),
                  static_cast<SQLINTEGER>(sql.size()));
}

// Plain ODBC: a prepared INSERT executed for every row.
void insertPlain(OdbcSession& session, int first, int count) {
    OdbcHandle statement = session.newStatement();
    std::string sql =
        std::string("INSERT INTO ") + tableName + " (id, name, amount) VALUES (?, ?, ?)";
    checkOdbc(SQLPrepare(statement.get(), reinterpret_cast<SQLCHAR*>(sql.data()),
                         static_cast<SQLINTEGER>(sql.size())),
              statement);
    for (int i = first; i < first + count; ++i) {
        SQLBIGINT id = i;
        std::string name = "row " + std::to_string(i);
        std::string amount = std::to_string(i % 1000) + ".25";
        SQLLEN nameLength = static_cast<SQLLEN>(name.size());
        SQLLEN amountLength = static_cast<SQLLEN>(amount.size());
        SQLBindParameter(statement.get(), 1, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_INTEGER, 0, 0, &id,
                         0, nullptr);
        SQLBindParameter(statement.get(), 2, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 40, 0,
                         name.data(), nameLength, &nameLength);
        SQLBindParameter(statement.get(), 3, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_DECIMAL, 10, 2,
                         amount.data(), amountLength, &amountLength);
        checkOdbc(SQLExecute(statement.get()), statement);
    }
}

// Plain ODBC: every value of every row read with SQLGetData into strings.
std::vector<std::string> readPlain(OdbcSession& session) {
    OdbcHandle statement = session.newStatement();
    std::string sql = std::string("SELECT * FROM ") + tableName;
    checkOdbc(SQLExecDirect(statement.get(), reinterpret_cast<SQLCHAR*>(sql.data()),
                            static_cast<SQLINTEGER>(sql.size())),
              statement);
    std::vector<std::string> values;
    while (SQL_SUCCEEDED(SQLFetch(statement.get()))) {
        for (SQLUSMALLINT column = 1; column <= 3; ++column) {
            char buffer[64];
            SQLLEN indicator = 0;
            SQLGetData(statement.get(), column, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
            values.emplace_back(indicator == SQL_NULL_DATA ? "" : buffer);
        }
    }
    return values;
}

} // namespace

int main(int argc, char** argv) {
    const std::string scratch =
        (std::filesystem::temp_directory_path() / "velbrook-bench.sqlite").string();
    std::filesystem::remove(scratch);
    const std::string connectionString =
        argc > 1 ? argv[1] : "Driver={SQLite3};Database=" + scratch + ";";
    try {
        TADOConnection connection("Bench");
        connection.SetConnectionString(connectionString);
        OdbcSession& session = connection.session();
        execute(session, std::string("DROP TABLE ") + tableName);
        execute(session, std::string("CREATE TABLE ") + tableName +
                             " (id INTEGER PRIMARY KEY, name VARCHAR(40), amount NUMERIC(10,2))");

        const double plainInsert = secondsOf([&] { insertPlain(session, 0, rowCount); });
        TADOTable table("ADOTable2", &connection);
        table.SetTableName(tableName);
        table.Open();
        const double layerInsert = secondsOf([&] {
            for (int i = rowCount; i < 2 * rowCount; ++i) {
                table.Append();
                table.RequireField("id").SetValue(Variant(std::int32_t{i}));
                table.RequireField("name").SetValue(Variant("row " + std::to_string(i)));
                table.RequireField("amount").SetValue(Variant(std::to_string(i % 1000) + ".25"));
                table.Post();
            }
        });
        table.Close();

        std::size_t plainBytes = 0;
        const double plainRead = secondsOf([&] {
            const std::size_t before = heapInUse();
            const auto values = readPlain(session);
            plainBytes = heapInUse() - before;
        });
        std::size_t layerBytes = 0;
        const double layerRead = secondsOf([&] {
            const std::size_t before = heapInUse();
            table.Open();
            layerBytes = heapInUse() - before;
        });
        const int rows = table.RecordCount();
        table.Close();
        execute(session, std::string("DROP TABLE ") + tableName);

        std::printf("database: %s, rows read: %d\n", connection.DbmsName().c_str(), rows);
        std::printf("insert: layer %.3f s, plain ODBC %.3f s, ratio %.2f\n", layerInsert,
                    plainInsert, layerInsert / plainInsert);
        std::printf("read:   layer %.3f s, plain ODBC %.3f s, ratio %.2f\n", layerRead, plainRead,
                    layerRead / plainRead);
        std::printf("memory: layer %zu bytes, plain strings %zu bytes, ratio %.2f\n", layerBytes,
                    plainBytes, static_cast<double>(layerBytes) / static_cast<double>(plainBytes));
    } catch (const std::exception& error) {
        std::cerr << "bench failed: " << error.what() << "\n";
        return 1;
    }
    std::filesystem::remove(scratch);
    return 0;
}
