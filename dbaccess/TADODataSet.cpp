#include "TADODataSet.h"

#include "dbaccess/odbc/ResultSet.h"
#include "dbaccess/values/Exceptions.h"

std::unique_ptr<ResultSet> TADODataSet::openResult() {
    raise("Missing CommandText property");
}

void TADODataSet::attachResult(std::unique_ptr<ResultSet> result) {
    Close();
    if (!result) {
        raise("Recordset is not open");
    }
    openOn(std::move(result));
}
