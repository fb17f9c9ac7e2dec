#include "DateTimeFields.h"

#include "dbaccess/fields/FieldLimits.h"

Variant TDateTimeField::readValue(const Variant& stored) const {
    return Variant(stored.toDateTime());
}

Variant TDateTimeField::convertValue(const Variant& value, std::string& warning) const {
    return Variant(keptDateTime(Column(), FieldName(), value.toDateTime(), warning));
}
