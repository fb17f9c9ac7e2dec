#include "RawRowReader.h"

#include "dbaccess/odbc/OdbcSession.h"
#include "dbaccess/odbc/StatementText.h"

#include <algorithm>

RawRowReader::RawRowReader(OdbcSession& session, const std::string& text,
                           std::vector<RawForm> forms)
    : statement_(session.newStatement()), forms_(std::move(forms)), chunk_(4096, '\0') {
    executeOn(statement_, text);
}

bool RawRowReader::next(std::vector<RawValue>& row) {
    if (fetchRow(statement_) == SQL_NO_DATA) {
        return false;
    }
    row.resize(forms_.size());
    for (std::size_t i = 0; i < forms_.size(); ++i) {
        readValue(static_cast<SQLUSMALLINT>(i + 1), forms_[i], row[i]);
    }
    return true;
}

void RawRowReader::readValue(SQLUSMALLINT column, RawForm form, RawValue& value) {
    value.form = form;
    value.data.clear();
    SQLLEN indicator = 0;
    if (form == RawForm::Double) {
        checkOdbc(SQLGetData(statement_.get(), column, SQL_C_DOUBLE, &value.number, 0, &indicator),
                  statement_);
        value.isNull = indicator == SQL_NULL_DATA;
        return;
    }
    // Long values come in pieces; text pieces end in a NUL of their own.
    const SQLSMALLINT cType = form == RawForm::Bytes ? SQL_C_BINARY : SQL_C_CHAR;
    const std::size_t terminator = form == RawForm::Bytes ? 0 : 1;
    for (;;) {
        const SQLRETURN rc = checkOdbc(SQLGetData(statement_.get(), column, cType, chunk_.data(),
                                                  static_cast<SQLLEN>(chunk_.size()), &indicator),
                                       statement_);
        if (rc == SQL_NO_DATA) {
            break;
        }
        if (indicator == SQL_NULL_DATA) {
            value.isNull = true;
            return;
        }
        const std::size_t capacity = chunk_.size() - terminator;
        const bool partial =
            indicator == SQL_NO_TOTAL || static_cast<std::size_t>(indicator) > capacity;
        value.data.append(chunk_.data(), partial ? capacity : static_cast<std::size_t>(indicator));
        if (!partial || rc == SQL_SUCCESS) {
            break;
        }
    }
    value.isNull = false;
}
