#include "CatalogCalls.h"

#include "dbaccess/odbc/OdbcSession.h"

#include <algorithm>

Variant columnText(const OdbcHandle& statement, SQLUSMALLINT column) {
    std::string value(1024, '\0');
    SQLLEN indicator = 0;
    const SQLRETURN rc = SQLGetData(statement.get(), column, SQL_C_CHAR, value.data(),
                                    static_cast<SQLLEN>(value.size()), &indicator);
    if (!SQL_SUCCEEDED(rc) || indicator == SQL_NULL_DATA) {
        return Variant::null();
    }
    value.resize(std::min<std::size_t>(static_cast<std::size_t>(std::max<SQLLEN>(indicator, 0)),
                                       value.size() - 1));
    return Variant(std::move(value));
}

Variant columnInteger(const OdbcHandle& statement, SQLUSMALLINT column) {
    SQLBIGINT value = 0;
    SQLLEN indicator = 0;
    const SQLRETURN rc = SQLGetData(statement.get(), column, SQL_C_SBIGINT, &value, 0, &indicator);
    if (!SQL_SUCCEEDED(rc) || indicator == SQL_NULL_DATA) {
        return Variant::null();
    }
    return Variant(static_cast<std::int64_t>(value));
}

std::string escapePattern(OdbcSession& session, const std::string& name) {
    char escape[8] = {};
    SQLSMALLINT length = 0;
    SQLGetInfo(session.connection(), SQL_SEARCH_PATTERN_ESCAPE, escape, sizeof escape, &length);
    if (escape[0] == '\0') {
        return name;
    }
    std::string result;
    for (const char c : name) {
        if (c == '_' || c == '%' || c == escape[0]) {
            result += escape[0];
        }
        result += c;
    }
    return result;
}

SQLCHAR* argument(std::string& text, bool present) {
    return present ? reinterpret_cast<SQLCHAR*>(text.data()) : nullptr;
}

SQLSMALLINT argumentLength(const std::string& text, bool present) {
    return present ? static_cast<SQLSMALLINT>(text.size()) : 0;
}

std::string defaultCatalog(OdbcSession& session) {
    return session.traits().kind == DatabaseKind::MariaDB ? session.traits().currentCatalog
                                                          : std::string();
}
