#include "DateTimeFields.h"

#include "dbaccess/fields/FieldLimits.h"

Variant TDateTimeField::readValue(const Variant& stored) const {
    // A date no date-time holds stays the database's text ("infinity").
    if (Column().reading == ValueReading::DateText && stored.kind() == Variant::Kind::String) {
        return stored;
    }
    return Variant(stored.toDateTime());
}

Variant TDateTimeField::convertValue(const Variant& value, std::string& warning) const {
    return Variant(keptDateTime(Column(), FieldName(), value.toDateTime(), warning));
}
