#include "TADODataSet.h"

#include "Exceptions.h"
#include "ResultSet.h"

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
