#pragma once

#include "TableReader.h"

#include <memory>
#include <string>

// The reader of one side and how it reads.
struct SideReading {
    std::unique_ptr<TableReader> reader;
    // Read through the ODBC driver rather than the database's own library.
    bool throughDriver = false;
    // Why the database's own library could not be used, where it has one.
    std::string fallback;
};

// Opens the reader of a side: SQLite, PostgreSQL and MariaDB through their
// own client libraries, with the parameters of the connection string or its
// data source; every other database, and one whose parameters the library
// cannot use, through the driver.
SideReading openReading(const ReadRequest& request);
