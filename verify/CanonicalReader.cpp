#include "CanonicalReader.h"

#include "dbaccess/TADOConnection.h"

CanonicalReader::CanonicalReader(const ReadRequest& request, std::vector<ValueFamily> families)
    : reading_(openReading(request)), families_(std::move(families)),
      sqlite_(request.connection.Kind() == DatabaseKind::SQLite && !reading_.throughDriver) {
    for (const ColumnInfo* column : request.columns) {
        single_.push_back(column->storage == StorageKind::Double &&
                          familyOf(*column) == ValueFamily::Single);
    }
}

bool CanonicalReader::next(CanonicalRow& row) {
    if (!reading_.reader->next(values_)) {
        return false;
    }
    row.resize(values_.size());
    for (std::size_t i = 0; i < values_.size(); ++i) {
        row[i] = values_[i].isNull ? std::nullopt
                                   : std::optional(canonicalValue(families_[i], values_[i],
                                                                  single_[i], classesCount_));
    }
    return true;
}
