#include "DateTimeFields.h"

#include "dbaccess/fields/FieldLimits.h"
#include "dbaccess/odbc/ProviderTypes.h"

#include <cctype>

namespace {

// "YYYY-MM-DD[ ...]" with a zero year, month or day, as MariaDB keeps dates
// that no calendar holds.
bool hasZeroParts(const std::string& text) {
    if (text.size() < 10 || text[4] != '-' || text[7] != '-' ||
        (text.size() > 10 && text[10] != ' ')) {
        return false;
    }
    for (const std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (std::isdigit(static_cast<unsigned char>(text[i])) == 0) {
            return false;
        }
    }
    return text.compare(0, 4, "0000") == 0 || text.compare(5, 2, "00") == 0 ||
           text.compare(8, 2, "00") == 0;
}

bool isText(const Variant& value) {
    return value.kind() == Variant::Kind::String || value.kind() == Variant::Kind::WideString;
}

} // namespace

Variant TDateTimeField::readValue(const Variant& stored) const {
    // A date no date-time holds stays the database's text ("infinity",
    // "2024-00-15").
    DateTime date;
    if (isText(stored) &&
        (Column().reading == ValueReading::DateText || !parseDateTime(stored.toString(), date))) {
        return Variant(stored.toString());
    }
    return Variant(stored.toDateTime());
}

Variant TDateTimeField::convertValue(const Variant& value, std::string& warning) const {
    DateTime parsed;
    if (isText(value) && !parseDateTime(value.toString(), parsed) &&
        hasZeroParts(value.toString())) {
        // A column read as the database's text takes that text back.
        if (Column().reading == ValueReading::DateText) {
            return Variant(value.toString());
        }
        warning = "Value for field '" + FieldName() + "' (" + value.toString() +
                  ") has a zero year, month or day, which the database cannot hold: sent as NULL";
        return Variant::null();
    }
    const DateTime date = value.toDateTime();
    // A time column's range bounds the durations it holds; a date's, its dates.
    const bool timeColumn = Column().providerType == ProviderType::DBTime;
    if (isDuration(date) == timeColumn &&
        (date.microseconds < Column().earliest || date.microseconds > Column().latest)) {
        const std::string shown = timeColumn             ? formatTime(date)
                                  : timeOfDay(date) == 0 ? formatDate(date)
                                                         : formatDateTime(date);
        warning = "Value for field '" + FieldName() + "' is '" + shown +
                  "', which the database cannot hold: sent as NULL";
        return Variant::null();
    }
    return Variant(keptDateTime(Column(), FieldName(), date, warning));
}
