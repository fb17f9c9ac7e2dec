#include "SQLiteReader.h"

#include <sqlite3.h>

void SQLiteReader::CloseDatabase::operator()(sqlite3* database) const noexcept {
    sqlite3_close_v2(database);
}

void SQLiteReader::Finalize::operator()(sqlite3_stmt* statement) const noexcept {
    sqlite3_finalize(statement);
}

SQLiteReader::SQLiteReader(const std::string& file, const ReadRequest& request) {
    sqlite3* database = nullptr;
    const int opened = sqlite3_open_v2(file.c_str(), &database, SQLITE_OPEN_READONLY, nullptr);
    database_.reset(database);
    if (opened != SQLITE_OK) {
        throw LibraryConnectError(database != nullptr ? sqlite3_errmsg(database)
                                                      : sqlite3_errstr(opened));
    }
    // The copy's own connection may still be finishing a write.
    sqlite3_busy_timeout(database, 5000);
    const std::string text = selectStatement(request);
    sqlite3_stmt* statement = nullptr;
    const int prepared = sqlite3_prepare_v2(database, text.c_str(), static_cast<int>(text.size()),
                                            &statement, nullptr);
    if (prepared == SQLITE_NOTADB || prepared == SQLITE_CANTOPEN) {
        // The file is opened only now: one the library cannot read is the
        // driver's to read (an SQLite 2 database).
        throw LibraryConnectError(sqlite3_errmsg(database));
    }
    if (prepared != SQLITE_OK) {
        throw libraryError(sqlite3_errmsg(database));
    }
    statement_.reset(statement);
    columns_ = sqlite3_column_count(statement);
}

bool SQLiteReader::next(std::vector<ReadValue>& row) {
    sqlite3_stmt* statement = statement_.get();
    const int stepped = sqlite3_step(statement);
    if (stepped == SQLITE_DONE) {
        return false;
    }
    if (stepped != SQLITE_ROW) {
        throw libraryError(sqlite3_errmsg(database_.get()));
    }
    row.resize(static_cast<std::size_t>(columns_));
    for (int i = 0; i < columns_; ++i) {
        ReadValue& value = row[static_cast<std::size_t>(i)];
        value.isNull = false;
        value.form = RawForm::Text;
        value.data.clear();
        switch (sqlite3_column_type(statement, i)) {
        case SQLITE_NULL:
            value.isNull = true;
            value.storageClass = StorageClass::None;
            break;
        case SQLITE_INTEGER:
            value.storageClass = StorageClass::Integer;
            value.data = std::to_string(sqlite3_column_int64(statement, i));
            break;
        case SQLITE_FLOAT:
            value.storageClass = StorageClass::Real;
            value.form = RawForm::Double;
            value.number = sqlite3_column_double(statement, i);
            break;
        case SQLITE_TEXT: {
            value.storageClass = StorageClass::Text;
            // Every byte, NULs included.
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
            value.data.assign(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, i)));
            break;
        }
        default: {
            value.storageClass = StorageClass::Blob;
            value.form = RawForm::Bytes;
            const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, i));
            const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement, i));
            value.data.assign(bytes != nullptr ? bytes : "", size);
            break;
        }
        }
    }
    return true;
}
