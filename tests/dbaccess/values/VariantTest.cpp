#include "dbaccess/values/Variant.h"

#include "dbaccess/values/Exceptions.h"
#include "dbaccess/values/UnicodeText.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace {

using namespace std::string_literals;

template <typename Case> std::string caseName(const testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

// Failure messages show the case's name instead of its bytes.
template <typename Case> auto operator<<(std::ostream& os, const Case& c) -> decltype(c.name, os) {
    return os << c.name;
}

// Reading a value of any kind as text.

struct TextCase {
    std::string name;
    Variant value;
    std::string text;
};

class VariantToText : public testing::TestWithParam<TextCase> {};

TEST_P(VariantToText, GivesCanonicalText) {
    EXPECT_EQ(GetParam().value.toString(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, VariantToText,
    testing::Values(TextCase{"Unassigned", Variant(), ""}, TextCase{"Null", Variant::null(), ""},
                    TextCase{"SmallInt", Variant(std::int16_t{-7}), "-7"},
                    TextCase{"Integer", Variant(std::int32_t{2147483647}), "2147483647"},
                    TextCase{"LargeIntMin", Variant(std::numeric_limits<std::int64_t>::min()),
                             "-9223372036854775808"},
                    TextCase{"Double", Variant(1.5), "1.5"},
                    TextCase{"DoubleTenth", Variant(0.1), "0.1"},
                    TextCase{"DoubleWhole", Variant(-3.0), "-3"},
                    TextCase{"CurrencyFourPlaces", Variant(Currency{12345}), "1.2345"},
                    TextCase{"CurrencyTrailingZerosDropped", Variant(Currency{15000}), "1.5"},
                    TextCase{"CurrencyWhole", Variant(Currency{150000}), "15"},
                    TextCase{"CurrencyNegativeSmallest", Variant(Currency{-1}), "-0.0001"},
                    TextCase{"DecimalKeepsZeros", Variant(Decimal{"-12.500"}), "-12.500"},
                    TextCase{"BooleanTrue", Variant(true), "True"},
                    TextCase{"BooleanFalse", Variant(false), "False"},
                    TextCase{"WideChinese", Variant(u"中文"s), "中文"},
                    TextCase{"DateOnly", Variant(DateTime::fromDays(45351)), "2024-02-29 00:00:00"},
                    TextCase{"DateTimeNoon", Variant(DateTime::fromDays(1.5)),
                             "1899-12-31 12:00:00"},
                    TextCase{"BytesWithNul", Variant(Bytes{0x41, 0x00, 0x42}), "A\0B"s}),
    caseName<TextCase>);

// Text and other kinds read as integers.

struct IntegerCase {
    std::string name;
    Variant value;
    std::int64_t expected;
};

class VariantToInteger : public testing::TestWithParam<IntegerCase> {};

TEST_P(VariantToInteger, Converts) {
    EXPECT_EQ(GetParam().value.toInt64(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, VariantToInteger,
    testing::Values(
        IntegerCase{"Plain", Variant("42"), 42}, IntegerCase{"Blanks", Variant(" 42 "), 42},
        IntegerCase{"PlusSign", Variant("+7"), 7}, IntegerCase{"Negative", Variant("-15"), -15},
        IntegerCase{"Int64Min", Variant("-9223372036854775808"),
                    std::numeric_limits<std::int64_t>::min()},
        IntegerCase{"Int64Max", Variant("9223372036854775807"),
                    std::numeric_limits<std::int64_t>::max()},
        IntegerCase{"FractionRounds", Variant("2.6"), 3},
        IntegerCase{"NegativeFractionRounds", Variant("-2.6"), -3},
        IntegerCase{"Exponent", Variant("1e3"), 1000}, IntegerCase{"Wide", Variant(u"123"s), 123},
        IntegerCase{"Decimal", Variant(Decimal{"17.2"}), 17},
        IntegerCase{"Double", Variant(2.4), 2}, IntegerCase{"NegativeDouble", Variant(-2.6), -3},
        IntegerCase{"Currency", Variant(Currency{26000}), 3}, IntegerCase{"True", Variant(true), 1},
        IntegerCase{"False", Variant(false), 0}, IntegerCase{"Null", Variant::null(), 0},
        IntegerCase{"Unassigned", Variant(), 0}),
    caseName<IntegerCase>);

// Halfway values must round the same whichever kind carries them.
TEST(VariantRounding, HalfwayValuesRoundAlikeFromEveryKind) {
    for (const double number : {0.5, 1.5, 2.5, -2.5}) {
        const std::string text = formatDouble(number);
        const auto scaled = static_cast<std::int64_t>(number * 10000);
        const std::int64_t fromDouble = Variant(number).toInt64();
        EXPECT_EQ(Variant(text).toInt64(), fromDouble) << text;
        EXPECT_EQ(Variant(Decimal{text}).toInt64(), fromDouble) << text;
        EXPECT_EQ(Variant(Currency{scaled}).toInt64(), fromDouble) << text;
    }
}

TEST(VariantToDouble, ConvertsTextAndNumbers) {
    EXPECT_DOUBLE_EQ(Variant("1.25").toDouble(), 1.25);
    EXPECT_DOUBLE_EQ(Variant(" -0.5 ").toDouble(), -0.5);
    EXPECT_DOUBLE_EQ(Variant("1e-3").toDouble(), 0.001);
    EXPECT_DOUBLE_EQ(Variant(Decimal{"12.75"}).toDouble(), 12.75);
    EXPECT_DOUBLE_EQ(Variant(Currency{-12345}).toDouble(), -1.2345);
    EXPECT_DOUBLE_EQ(Variant(std::int32_t{-8}).toDouble(), -8.0);
    EXPECT_DOUBLE_EQ(Variant(DateTime::fromDays(2.25)).toDouble(), 2.25);
}

// Values that do not convert raise EVariantError.

struct FailureCase {
    std::string name;
    Variant value;
    void (*convert)(const Variant&);
};

class VariantFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(VariantFailure, RaisesVariantError) {
    EXPECT_THROW(GetParam().convert(GetParam().value), EVariantError);
}

void asInteger(const Variant& v) {
    (void)v.toInt64();
}
void asDouble(const Variant& v) {
    (void)v.toDouble();
}
void asBoolean(const Variant& v) {
    (void)v.toBoolean();
}
void asCurrency(const Variant& v) {
    (void)v.toCurrency();
}
void asDateTime(const Variant& v) {
    (void)v.toDateTime();
}
void asDecimal(const Variant& v) {
    (void)v.toDecimal();
}
void asBytes(const Variant& v) {
    (void)v.toBytes();
}
void asText(const Variant& v) {
    (void)v.toString();
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, VariantFailure,
    testing::Values(FailureCase{"WordToInteger", Variant("abc"), asInteger},
                    FailureCase{"EmptyTextToInteger", Variant(""), asInteger},
                    FailureCase{"TrailingLettersToInteger", Variant("12abc"), asInteger},
                    FailureCase{"TwoPointsToInteger", Variant("1.2.3"), asInteger},
                    FailureCase{"HugeTextToInteger", Variant("99999999999999999999"), asInteger},
                    FailureCase{"InfinityToInteger",
                                Variant(std::numeric_limits<double>::infinity()), asInteger},
                    FailureCase{"HugeDoubleToInteger", Variant(1e19), asInteger},
                    FailureCase{"BytesToInteger", Variant(Bytes{1, 2}), asInteger},
                    FailureCase{"CommaDecimalToDouble", Variant("1,5"), asDouble},
                    FailureCase{"WordToDouble", Variant("x"), asDouble},
                    FailureCase{"WordToBoolean", Variant("maybe"), asBoolean},
                    FailureCase{"BytesToBoolean", Variant(Bytes{1}), asBoolean},
                    FailureCase{"WordToCurrency", Variant("abc"), asCurrency},
                    FailureCase{"HugeDoubleToCurrency", Variant(1e300), asCurrency},
                    FailureCase{"PastCurrencyMaximum", Variant("922337203685477.5808"), asCurrency},
                    FailureCase{"HugeIntegerToCurrency",
                                Variant(std::numeric_limits<std::int64_t>::max()), asCurrency},
                    FailureCase{"WordToDate", Variant("yesterday"), asDateTime},
                    FailureCase{"BytesToDate", Variant(Bytes{1}), asDateTime},
                    FailureCase{"WordToDecimal", Variant("ten"), asDecimal},
                    FailureCase{"IntegerToBytes", Variant(std::int32_t{5}), asBytes},
                    FailureCase{"InterfaceToText", Variant(Interface(std::make_shared<int>(1))),
                                asText}),
    caseName<FailureCase>);

// Currency keeps four decimals, rounding the fifth half away from zero.

struct CurrencyCase {
    std::string name;
    Variant value;
    std::int64_t scaled;
};

class VariantToCurrency : public testing::TestWithParam<CurrencyCase> {};

TEST_P(VariantToCurrency, RoundsToFourPlaces) {
    EXPECT_EQ(GetParam().value.toCurrency().scaled, GetParam().scaled);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, VariantToCurrency,
    testing::Values(CurrencyCase{"DoubleRoundsUp", Variant(1.23456), 12346},
                    CurrencyCase{"DoubleRoundsDown", Variant(1.23454), 12345},
                    CurrencyCase{"DoubleExactThreePlaces", Variant(1.005), 10050},
                    CurrencyCase{"DoubleInExponentForm", Variant(0.00005), 1},
                    CurrencyCase{"SixDecimalText", Variant("12345678901234.567890"),
                                 123456789012345679},
                    CurrencyCase{"DecimalHalfUp", Variant(Decimal{"2.00005"}), 20001},
                    CurrencyCase{"NegativeHalfAwayFromZero", Variant(Decimal{"-0.00005"}), -1},
                    CurrencyCase{"Maximum", Variant(Decimal{"922337203685477.5807"}),
                                 std::numeric_limits<std::int64_t>::max()},
                    CurrencyCase{"Integer", Variant(std::int32_t{7}), 70000},
                    CurrencyCase{"True", Variant(true), 10000},
                    CurrencyCase{"Currency", Variant(Currency{-5}), -5},
                    CurrencyCase{"Null", Variant::null(), 0}),
    caseName<CurrencyCase>);

// Booleans.

struct BooleanCase {
    std::string name;
    Variant value;
    bool expected;
};

class VariantToBoolean : public testing::TestWithParam<BooleanCase> {};

TEST_P(VariantToBoolean, Converts) {
    EXPECT_EQ(GetParam().value.toBoolean(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, VariantToBoolean,
    testing::Values(
        BooleanCase{"TrueWord", Variant("True"), true},
        BooleanCase{"FalseLower", Variant("false"), false},
        BooleanCase{"YesBlanks", Variant(" YES "), true}, BooleanCase{"N", Variant("n"), false},
        BooleanCase{"Zero", Variant("0"), false}, BooleanCase{"MinusOne", Variant("-1"), true},
        BooleanCase{"Fraction", Variant("0.5"), true}, BooleanCase{"WideT", Variant(u"t"s), true},
        BooleanCase{"IntegerZero", Variant(std::int32_t{0}), false},
        BooleanCase{"IntegerFive", Variant(std::int32_t{5}), true},
        BooleanCase{"DoubleZero", Variant(0.0), false},
        BooleanCase{"Currency", Variant(Currency{1}), true},
        BooleanCase{"Null", Variant::null(), false}, BooleanCase{"Unassigned", Variant(), false}),
    caseName<BooleanCase>);

// Null and unassigned.

TEST(VariantEmpty, NullAndUnassignedReadAsZeroValues) {
    for (const Variant& empty : {Variant(), Variant::null()}) {
        EXPECT_TRUE(empty.isEmpty());
        EXPECT_EQ(empty.toString(), "");
        EXPECT_EQ(empty.toInt64(), 0);
        EXPECT_EQ(empty.toDouble(), 0.0);
        EXPECT_FALSE(empty.toBoolean());
        EXPECT_EQ(empty.toCurrency().scaled, 0);
        EXPECT_EQ(empty.toDateTime().microseconds, 0);
        EXPECT_EQ(empty.toDecimal().text, "0");
    }
    EXPECT_TRUE(Variant().isUnassigned());
    EXPECT_FALSE(Variant().isNull());
    EXPECT_TRUE(Variant::null().isNull());
    EXPECT_FALSE(Variant::null().isUnassigned());
    EXPECT_FALSE(Variant("").isEmpty());
    EXPECT_NE(Variant(), Variant::null());
}

// Bytes and text carry NUL bytes both ways.

TEST(VariantBytes, TextAndBytesKeepNulBytes) {
    const std::string text = "a\0b\xFF"s;
    EXPECT_EQ(Variant(text).toBytes(), (Bytes{0x61, 0x00, 0x62, 0xFF}));
    EXPECT_EQ(Variant(Bytes{0x00, 0x41, 0x00}).toString(), "\0A\0"s);
    EXPECT_EQ(Variant(Bytes{}).toString(), "");
    EXPECT_EQ(Variant(Bytes{7, 8}).toBytes(), (Bytes{7, 8}));
}

// UTF-8 and UTF-16.

struct UnicodeCase {
    std::string name;
    std::string utf8;
    std::u16string utf16;
    std::size_t codePoints;
};

class Unicode : public testing::TestWithParam<UnicodeCase> {};

TEST_P(Unicode, ConvertsBothWaysAndCountsCodePoints) {
    const auto& [name, utf8, utf16, codePoints] = GetParam();
    EXPECT_EQ(utf8ToUtf16(utf8), utf16);
    EXPECT_EQ(utf16ToUtf8(utf16), utf8);
    EXPECT_EQ(Variant(utf16).toString(), utf8);
    EXPECT_EQ(Variant(utf8).toWideString(), utf16);
    EXPECT_EQ(utf8Length(utf8), codePoints);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Unicode,
    testing::Values(UnicodeCase{"Empty", "", u"", 0}, UnicodeCase{"Ascii", "abc", u"abc", 3},
                    UnicodeCase{"Umlauts", "Größe", u"Größe", 5},
                    UnicodeCase{"Chinese", "中文数据", u"中文数据", 4},
                    UnicodeCase{"Emoji", "\xF0\x9F\x98\x80", u"\xD83D\xDE00", 1},
                    UnicodeCase{"Mixed", "a😀中é", u"a\xD83D\xDE00中é", 4},
                    UnicodeCase{"EmbeddedNul", "a\0b"s, u"a\0b"s, 3}),
    caseName<UnicodeCase>);

TEST(UnicodeInvalid, BrokenSequencesBecomeReplacementCharacters) {
    EXPECT_EQ(utf8ToUtf16("a\xFF"
                          "b"),
              u"a\xFFFD"
              "b");
    EXPECT_EQ(utf16ToUtf8(u"\xD800"), "\xEF\xBF\xBD");
    EXPECT_EQ(utf16ToUtf8(u"\xDE00x"), "\xEF\xBF\xBDx");
}

TEST(Utf8Prefix, NeverSplitsASequence) {
    const std::string text = "a😀中é!";
    const std::string expected[] = {"", "a", "a😀", "a😀中", "a😀中é", "a😀中é!"};
    for (std::size_t count = 0; count < std::size(expected); ++count) {
        EXPECT_EQ(utf8Prefix(text, count), expected[count]) << count;
    }
    EXPECT_EQ(utf8Prefix(text, 99), text);
    EXPECT_EQ(utf8Prefix("中文数据", 3), "中文数");
    EXPECT_EQ(utf8Prefix("", 2), "");
}

// Decimal text in canonical form.

struct DecimalCase {
    std::string name;
    std::string input;
    std::string canonical;
};

class DecimalText : public testing::TestWithParam<DecimalCase> {};

TEST_P(DecimalText, ParsesToCanonicalForm) {
    Decimal value;
    ASSERT_TRUE(parseDecimalText(GetParam().input, value));
    EXPECT_EQ(value.text, GetParam().canonical);
    EXPECT_EQ(Variant(GetParam().input).toDecimal().text, GetParam().canonical);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, DecimalText,
    testing::Values(DecimalCase{"LeadingZeros", "007", "7"},
                    DecimalCase{"LeadingZerosWithFraction", "0001.2300", "1.2300"},
                    DecimalCase{"NegativeZero", "-0", "0"},
                    DecimalCase{"NegativeZeroFraction", "-0.00", "0.00"},
                    DecimalCase{"PlusKeepsTrailingZero", "+1.50", "1.50"},
                    DecimalCase{"NegativeKeepsZeros", "-12.500", "-12.500"},
                    DecimalCase{"TwentyDigitsSixDecimals", "12345678901234.567890",
                                "12345678901234.567890"},
                    DecimalCase{"TwentyNines", "-99999999999999.999999", "-99999999999999.999999"},
                    DecimalCase{"BarePoint", ".5", "0.5"},
                    DecimalCase{"NegativeBarePoint", "-.5", "-0.5"},
                    DecimalCase{"TrailingPoint", "5.", "5"}, DecimalCase{"Blanks", " 42 ", "42"},
                    DecimalCase{"Exponent", "1e3", "1000"},
                    DecimalCase{"NegativeExponent", "1.5e-3", "0.0015"}),
    caseName<DecimalCase>);

TEST(DecimalTextInvalid, IsRejected) {
    for (const std::string text : {"", "abc", "1.2.3", "--1", "12a", "1 2", ".", "-"}) {
        Decimal value{"unchanged"};
        EXPECT_FALSE(parseDecimalText(text, value)) << text;
    }
}

TEST(DecimalFromKinds, GivesCanonicalText) {
    EXPECT_EQ(Variant(0.1).toDecimal().text, "0.1");
    EXPECT_EQ(Variant(std::int32_t{42}).toDecimal().text, "42");
    EXPECT_EQ(Variant(Currency{-15000}).toDecimal().text, "-1.5");
    EXPECT_EQ(Variant(Decimal{"3.000"}).toDecimal().text, "3.000");
}

} // namespace
