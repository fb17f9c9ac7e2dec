#include "TaggedValue.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

Variant realFrom(const std::string& text) {
    double number = 0;
    const char* first = text.data() + 1;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, number);
    if (error == std::errc::result_out_of_range) {
        // quote() writes an infinity as 9.0e+999.
        return Variant(text[1] == '-' ? -std::numeric_limits<double>::infinity()
                                      : std::numeric_limits<double>::infinity());
    }
    return end == last ? Variant(number) : Variant(text.substr(1));
}

Variant integerFrom(const std::string& text) {
    std::int64_t number = 0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data() + 1, last, number);
    return error == std::errc() && end == last ? Variant(number) : Variant(text.substr(1));
}

} // namespace

Variant taggedValue(const std::string& tagged) {
    if (tagged.empty()) {
        return Variant::null();
    }
    switch (tagged[0]) {
    case 'i':
        return integerFrom(tagged);
    case 'r':
        return realFrom(tagged);
    case 'b':
        return Variant(Bytes(tagged.begin() + 1, tagged.end()));
    default:
        return Variant(tagged.substr(1));
    }
}

std::string taggedText(const Variant& value) {
    using Kind = Variant::Kind;
    switch (value.kind()) {
    case Kind::SmallInt:
    case Kind::Integer:
    case Kind::LargeInt:
        return "i" + std::to_string(value.toInt64());
    case Kind::Boolean:
        return value.toBoolean() ? "i1" : "i0";
    case Kind::Double:
        return "r" + formatDouble(value.toDouble());
    case Kind::ByteArray: {
        const Bytes bytes = value.toBytes();
        return "b" + std::string(bytes.begin(), bytes.end());
    }
    default:
        return "t" + value.toString();
    }
}

std::string taggedReading(const std::string& quotedColumn, bool signedZero) {
    const std::string& c = quotedColumn;
    const std::string real = signedZero ? "CASE WHEN " + c + " = 0 AND atan2(" + c +
                                              ", -1) < 0 THEN '-0.0' ELSE quote(" + c + ") END"
                                        : "quote(" + c + ")";
    return "CASE typeof(" + c + ") WHEN 'real' THEN CAST('r' || " + real +
           " AS BLOB) ELSE CAST(substr(typeof(" + c + "), 1, 1) || " + c + " AS BLOB) END";
}
