#include "TableNames.h"

#include "dbaccess/values/TStrings.h"

std::string databaseSpelling(TADOConnection& connection, const std::string& name) {
    TStringList tables;
    connection.ListTableNames(tables, true);
    const auto& names = tables.items();
    // An exact match wins over one that differs in case only.
    for (const auto& candidate : names) {
        if (candidate == name) {
            return candidate;
        }
    }
    const int index = tables.IndexOf(name);
    return index >= 0 ? tables.Strings(index) : name;
}
