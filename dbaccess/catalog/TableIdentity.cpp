#include "TableIdentity.h"

#include "dbaccess/values/TStrings.h"
#include "dbaccess/values/UnicodeText.h"

namespace {

// The longest prefix of at most `bytes` bytes that ends between two characters.
std::string cutToBytes(const std::string& name, std::size_t bytes) {
    if (name.size() <= bytes) {
        return name;
    }
    std::size_t end = bytes;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) {
        --end;
    }
    return name.substr(0, end);
}

} // namespace

std::string tableKey(const std::string& name, const DriverTraits& traits) {
    switch (traits.kind) {
    case DatabaseKind::PostgreSQL:
        return cutToBytes(name, 63);
    case DatabaseKind::SQLite:
        return lowerCase(name);
    case DatabaseKind::MariaDB:
        return traits.lowerCaseTableNames != 0 ? unicodeLowerCase(name) : name;
    case DatabaseKind::SQLServer:
        return unicodeLowerCase(utf8Prefix(name, 128));
    default:
        return name;
    }
}

std::string unholdableTableName(const std::string& name, const DriverTraits& traits) {
    if (traits.kind != DatabaseKind::MariaDB) {
        return {};
    }
    if (utf8Length(name) > 64) {
        return "MariaDB table names hold at most 64 characters";
    }
    if (!name.empty() && name.back() == ' ') {
        return "MariaDB table names cannot end with a blank";
    }
    if (name.find_first_of(std::string("\n\r\0", 3)) != std::string::npos) {
        return "MariaDB table names cannot hold a line break or a NUL";
    }
    return {};
}
