#include "ClientValueText.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct CanonicalCase {
    Family family;
    std::string printed;
    std::string canonical;
};

// What the clients print, and the form each value compares in; a leading
// '?' marks text that is no value of the family.
const std::vector<CanonicalCase> canonicalCases = {
    {Family::Decimal, "1.50", "1.5"},
    {Family::Decimal, "+001.500", "1.5"},
    {Family::Decimal, "-0.0", "0"},
    {Family::Decimal, "1.0e-12", "0.000000000001"},
    {Family::Decimal, "1.23456789012346e+19", "12345678901234600000"},
    {Family::Decimal, "12345678901234567890123456.123456789012",
     "12345678901234567890123456.123456789012"},
    {Family::Decimal, "bits:3FF8000000000000", "1.5"},
    {Family::Decimal, "abc", "?abc"},
    {Family::Integer, "-9223372036854775808", "-9223372036854775808"},
    {Family::Integer, "bits:41E0000000000000", "2147483648"},
    {Family::Double, "1.7976931348623157e+308", "1.7976931348623157e+308"},
    {Family::Double, "bits:7FEFFFFFFFFFFFFF", "1.7976931348623157e+308"},
    {Family::Double, "123456789.123457", "123456789.123457"},
    {Family::Double, "NaN", "nan"},
    {Family::Double, "-0.5", "-0.5"},
    {Family::Single, "3.4028235e+38", "3.40282347e+38"},
    {Family::Single, "3.4028234663852886e38", "3.40282347e+38"},
    {Family::Single, "3.40282346638529e+38", "3.40282347e+38"},
    {Family::Single, "-1e39", "-inf"},
    {Family::Single, "NaN", "nan"},
    {Family::Boolean, "t", "1"},
    {Family::Boolean, "false", "0"},
    {Family::Boolean, "2", "?2"},
    {Family::Date, "2000-02-29", "2000-02-29"},
    {Family::Date, "2000-02-29 00:00:00.000000", "2000-02-29"},
    {Family::Date, "2000-02-29 00:00:01", "?2000-02-29 00:00:01"},
    {Family::Date, "0000-00-00", "?0000-00-00"},
    {Family::Date, "2001-02-29", "?2001-02-29"},
    {Family::Time, "23:59:59.9999990", "23:59:59.999999"},
    {Family::Time, "12:00:00", "12:00:00.000000"},
    {Family::Time, "-100:00:00.5", "-100:00:00.500000"},
    {Family::Time, "13:45:10.1234567", "?13:45:10.1234567"},
    {Family::Timestamp, "9999-12-31 23:59:59", "9999-12-31 23:59:59.000000"},
    {Family::Timestamp, "2024-02-29T13:45:10.5", "2024-02-29 13:45:10.500000"},
    {Family::Timestamp, "10000-01-01 00:00:00.000", "?10000-01-01 00:00:00.000"},
    {Family::Timestamp, "2024-02-29 13:45:10+00", "?2024-02-29 13:45:10+00"},
    {Family::ZonedTimestamp, "2024-06-30 23:30:00.5-05", "2024-07-01 04:30:00.500000"},
    {Family::ZonedTimestamp, "2024-01-01 00:30:00+0100", "2023-12-31 23:30:00.000000"},
    {Family::ZonedTimestamp, "0001-01-01 00:00:00.000001+00:00", "0001-01-01 00:00:00.000001"},
    {Family::ZonedTimestamp, "9999-12-31 23:59:59.999999", "9999-12-31 23:59:59.999999"},
    {Family::FixedText, "abc   ", "abc"},
    {Family::FixedText, "  lead", "  lead"},
    {Family::FixedText, "   ", ""},
    {Family::Text, "abc   ", "abc   "},
    {Family::Uuid, "{A0EEBC99-9C0B-4EF8-BB6D-6BB9BD380A11}",
     "a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11"},
    {Family::Uuid, "blob:A0EEBC999C0B4EF8BB6D6BB9BD380A11", "a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11"},
    {Family::Uuid, "blob:61306565626339392D396330622D346566382D626236642D366262396264333830613131",
     "a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11"},
};

TEST(ClientValueText, readsEveryClientsPrintingAlike) {
    for (const auto& row : canonicalCases) {
        EXPECT_EQ(canonicalValue(row.family, row.printed), row.canonical) << row.printed;
    }
}

} // namespace
