// Opens a database through the data access layer, lists its tables and reads
// each of them: a quick check that drivers and layer work on this machine.
#include "dbaccess/TADOConnection.h"
#include "dbaccess/TADOTable.h"
#include "dbaccess/values/Exceptions.h"

#include <iostream>

int main(int argc, char** argv) {
    const std::string connectionString =
        argc > 1 ? argv[1] : "Driver={SQLite3};Database=" VELBROOK_SAMPLE_DATABASE ";";
    try {
        TADOConnection connection("Connection");
        connection.SetLoginPrompt(false);
        connection.SetConnectionString(connectionString);
        connection.SetConnected(true);
        std::cout << "Connected to " << connection.DbmsName() << "\n";
        TStringList tables;
        connection.ListTableNames(tables, false);
        TADOTable table("Table", &connection);
        for (const auto& name : tables.items()) {
            table.Close();
            table.SetTableName(name);
            table.Open();
            std::cout << name << ": " << table.RecordCount() << " rows, " << table.FieldCount()
                      << " fields\n";
        }
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "Self-check failed: " << error.what() << "\n";
        return 1;
    }
}
