#pragma once

#include "dbaccess/values/DateTime.h"

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// A decimal of full precision, kept as its canonical text: an optional "-",
// digits, and optionally "." followed by digits ("-12.500" keeps its zeros).
struct Decimal {
    std::string text;
    bool operator==(const Decimal&) const = default;
};

// A currency: a 64-bit integer scaled by 10,000.
struct Currency {
    std::int64_t scaled = 0;
    bool operator==(const Currency&) const = default;
};

struct Unassigned {
    bool operator==(const Unassigned&) const = default;
};
struct Null {
    bool operator==(const Null&) const = default;
};

// An interface reference; the layer never receives one from a driver.
using Interface = std::shared_ptr<void>;

// The tagged value that travels between fields. Conversions that cannot be
// made raise EVariantError.
class Variant {
public:
    enum class Kind {
        Unassigned,
        Null,
        SmallInt,
        Integer,
        LargeInt,
        Double,
        Currency,
        DateTime,
        Boolean,
        String,
        WideString,
        ByteArray,
        Decimal,
        InterfaceRef
    };

    Variant() = default;
    explicit Variant(struct Null) : value_(::Null{}) {}
    explicit Variant(std::int16_t v) : value_(v) {}
    explicit Variant(std::int32_t v) : value_(v) {}
    explicit Variant(std::int64_t v) : value_(v) {}
    explicit Variant(double v) : value_(v) {}
    explicit Variant(bool v) : value_(v) {}
    explicit Variant(Currency v) : value_(v) {}
    explicit Variant(DateTime v) : value_(v) {}
    explicit Variant(Decimal v) : value_(std::move(v)) {}
    explicit Variant(std::string v) : value_(std::move(v)) {}
    explicit Variant(const char* v) : value_(std::string(v)) {}
    explicit Variant(std::u16string v) : value_(std::move(v)) {}
    explicit Variant(Bytes v) : value_(std::move(v)) {}
    explicit Variant(Interface v) : value_(std::move(v)) {}

    static Variant null() { return Variant(::Null{}); }

    Kind kind() const noexcept { return static_cast<Kind>(value_.index()); }
    bool isNull() const noexcept { return kind() == Kind::Null; }
    bool isUnassigned() const noexcept { return kind() == Kind::Unassigned; }
    bool isEmpty() const noexcept { return isNull() || isUnassigned(); }

    // Conversions; each raises EVariantError when the value does not convert.
    std::string toString() const;
    std::u16string toWideString() const;
    std::int64_t toInt64() const;
    double toDouble() const;
    bool toBoolean() const;
    Currency toCurrency() const;
    DateTime toDateTime() const;
    Decimal toDecimal() const;
    Bytes toBytes() const;

    template <typename T> const T* get() const noexcept { return std::get_if<T>(&value_); }

    bool operator==(const Variant&) const = default;

private:
    std::variant<::Unassigned, ::Null, std::int16_t, std::int32_t, std::int64_t, double, Currency,
                 DateTime, bool, std::string, std::u16string, Bytes, Decimal, Interface>
        value_;
};

// Canonical decimal text of a double (shortest round-trip form), and parsing.
std::string formatDouble(double value);
bool parseDecimalText(const std::string& text, Decimal& value);
