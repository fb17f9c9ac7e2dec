#include "verify/CanonicalValue.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace {

using namespace std::string_literals;

struct SpellingCase {
    std::string name;
    ValueFamily family;
    RawValue a;
    RawValue b;
    bool same;
};

RawValue text(std::string value) {
    return RawValue{RawForm::Text, false, std::move(value), 0};
}

RawValue number(double value) {
    return RawValue{RawForm::Double, false, {}, value};
}

RawValue bytes(std::string value) {
    return RawValue{RawForm::Bytes, false, std::move(value), 0};
}

class CanonicalSpelling : public testing::TestWithParam<SpellingCase> {};

// Two databases' spellings of a value are the same value, or are not.
TEST_P(CanonicalSpelling, TellsTheSameValueFromAnother) {
    const SpellingCase& c = GetParam();
    EXPECT_EQ(canonicalValue(c.family, c.a) == canonicalValue(c.family, c.b), c.same)
        << canonicalValue(c.family, c.a) << " / " << canonicalValue(c.family, c.b);
}

INSTANTIATE_TEST_SUITE_P(
    Families, CanonicalSpelling,
    testing::Values(
        SpellingCase{"TrailingZeros", ValueFamily::Number, text("1.50"), text("1.5"), true},
        SpellingCase{"LastDigit", ValueFamily::Number, text("1.123456789012345678"),
                     text("1.123456789012345679"), false},
        SpellingCase{"NegativeZero", ValueFamily::Number, text("-0.000"), text("0"), true},
        SpellingCase{"ExponentText", ValueFamily::Number, text("1.5e3"), text("1500"), true},
        SpellingCase{"SQLiteDoubleText", ValueFamily::Number, text("1.23456789012123397829e+11"),
                     text("123456789012.1234"), true},
        SpellingCase{"DecimalInADouble", ValueFamily::Number, text("0.1"), number(0.1), true},
        SpellingCase{"DoubleBits", ValueFamily::Double, text("123456789.12345679"),
                     number(123456789.12345679), true},
        SpellingCase{"DoubleFifteenDigits", ValueFamily::Double, text("123456789.123457"),
                     number(123456789.12345679), false},
        SpellingCase{"SingleLargest", ValueFamily::Single, text("3.4028235e+38"),
                     number(3.4028234663852886e+38), true},
        SpellingCase{"SingleWidened", ValueFamily::Single, text("0.1"), number(0.10000000149011612),
                     true},
        SpellingCase{"NaN", ValueFamily::Double, text("NaN"), number(std::nan("")), true},
        SpellingCase{"BooleanSpellings", ValueFamily::Boolean, text("t"), text("1"), true},
        SpellingCase{"BooleanTwo", ValueFamily::Boolean, text("2"), text("1"), false},
        SpellingCase{"ShortFraction", ValueFamily::Timestamp, text("2024-02-29 13:45:10.5"),
                     text("2024-02-29T13:45:10.500000"), true},
        SpellingCase{"ZonedInstant", ValueFamily::Timestamp, text("2024-07-01 06:30:00+02"),
                     text("2024-07-01 04:30:00"), true},
        SpellingCase{"ZoneAcrossMidnight", ValueFamily::Timestamp,
                     text("2024-01-01 00:30:00-05:30"), text("2024-01-01 06:00:00"), true},
        SpellingCase{"Microsecond", ValueFamily::Timestamp, text("9999-12-31 23:59:59.999999"),
                     text("9999-12-31 23:59:59.999998"), false},
        SpellingCase{"MidnightDate", ValueFamily::Date, text("2000-02-29"),
                     text("2000-02-29 00:00:00"), true},
        SpellingCase{"TimeFraction", ValueFamily::Time, text("13:45:10.1"), text("13:45:10.100000"),
                     true},
        SpellingCase{"Duration", ValueFamily::Time, text("-838:59:59"), text("838:59:59"), false},
        SpellingCase{"Padding", ValueFamily::FixedText, text("ab   "), text("ab"), true},
        SpellingCase{"LeadingBlank", ValueFamily::FixedText, text(" ab"), text("ab"), false},
        SpellingCase{"TextCase", ValueFamily::Text, text("Ab"), text("ab"), false},
        SpellingCase{"TextBlanks", ValueFamily::Text, text("ab "), text("ab"), false},
        SpellingCase{"UuidCase", ValueFamily::Guid, text("{A0EEBC99-9C0B-4EF8-BB6D-6BB9BD380A11}"),
                     text("a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11"), true},
        SpellingCase{"BytesWithNul", ValueFamily::Bytes, text("a\0b"s), text("a\0c"s), false},
        SpellingCase{"SignedZero", ValueFamily::Double, number(-0.0), number(0.0), false},
        SpellingCase{"ZeroMonth", ValueFamily::Date, text("2024-00-15"), text("2023-12-15"), false},
        SpellingCase{"ZeroDay", ValueFamily::Timestamp, text("2024-02-00 10:00:00"),
                     text("2024-01-31 10:00:00"), false},
        SpellingCase{"ZeroDayFraction", ValueFamily::Timestamp, text("2024-02-00 10:00:00"),
                     text("2024-02-00 10:00:00.000000"), true},
        SpellingCase{"BeforeChrist", ValueFamily::Date, text("0044-03-15 BC"), text("0044-03-15"),
                     false},
        SpellingCase{"BeforeChristZoned", ValueFamily::Timestamp, text("0001-01-01 00:30:00+01 BC"),
                     text("0002-12-31 23:30:00 BC"), true},
        SpellingCase{"Nanoseconds", ValueFamily::Timestamp, text("2024-01-01 10:00:00.123456789"),
                     text("2024-01-01 10:00:00.123456"), false},
        SpellingCase{"BitBytes", ValueFamily::Boolean, bytes("\x01"), text("1"), true}),
    [](const auto& caseInfo) { return caseInfo.param.name; });

TEST(CanonicalOrder, NumbersByValueTextByBytes) {
    EXPECT_LT(compareCanonical(ValueFamily::Number, "9", "10"), 0);
    EXPECT_LT(compareCanonical(ValueFamily::Number, "-10", "-9"), 0);
    EXPECT_LT(
        compareCanonical(ValueFamily::Number, "12345678901234567890.1", "12345678901234567890.2"),
        0);
    EXPECT_LT(compareCanonical(ValueFamily::Text, "B", "a"), 0);
    EXPECT_LT(compareCanonical(ValueFamily::Text, "z", "\xC3\xA9"), 0);
    EXPECT_EQ(compareCanonical(ValueFamily::Text, "same", "same"), 0);
}

} // namespace
