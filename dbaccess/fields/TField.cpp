#include "TField.h"

#include "dbaccess/odbc/ProviderTypes.h"
#include "dbaccess/values/DateTime.h"
#include "dbaccess/values/Exceptions.h"

#include <cmath>

namespace {

int sizeFor(TFieldType type, const ColumnInfo& column) {
    switch (type) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftBytes:
    case ftVarBytes:
        return static_cast<int>(column.definedSize);
    case ftBCD:
        return column.scale < 0 ? 4 : column.scale;
    case ftGuid:
        return 38;
    default:
        return 0;
    }
}

} // namespace

TField::TField(FieldStore& dataSet, int columnIndex, const ColumnInfo& column, TFieldType type,
               std::string name)
    : dataSet_(dataSet), columnIndex_(columnIndex), column_(&column), fieldName_(std::move(name)),
      dataType_(type), size_(sizeFor(type, column)), precision_(column.precision),
      readOnly_(column.updatability == Updatability::ReadOnly || type == ftAutoInc) {}

namespace {

// A value that a column keeping each value's storage class takes as it is:
// an integer, a real it can hold, text or bytes.
bool passesAsStored(const ColumnInfo& column, const Variant& value) {
    using Kind = Variant::Kind;
    switch (value.kind()) {
    case Kind::SmallInt:
    case Kind::Integer:
    case Kind::LargeInt:
    case Kind::String:
    case Kind::WideString:
    case Kind::ByteArray:
        return column.keepsValueClass;
    case Kind::Double:
        return column.keepsValueClass && (column.keepsNaN || !std::isnan(value.toDouble()));
    default:
        return false;
    }
}

// Text with trailing blanks from a column of varying length into a
// blank-padded one, which drops them (MariaDB) or pads further (PostgreSQL).
bool blanksChangeIn(const ColumnInfo& column, const ColumnInfo& from, const Variant& value) {
    const auto isFixed = [](const ColumnInfo& c) {
        return c.storage == StorageKind::Text &&
               (c.providerType == ProviderType::Char || c.providerType == ProviderType::WChar);
    };
    const bool isText =
        value.kind() == Variant::Kind::String || value.kind() == Variant::Kind::WideString;
    return isText && isFixed(column) && !column.keepsValueClass && !isFixed(from) &&
           value.toString().ends_with(' ');
}

bool isNumber(const Variant& value) {
    using Kind = Variant::Kind;
    const Kind kind = value.kind();
    return kind == Kind::SmallInt || kind == Kind::Integer || kind == Kind::LargeInt ||
           kind == Kind::Double || kind == Kind::Decimal || kind == Kind::Currency;
}

// A date, time or date-time as text, spelled as its own column has it.
Variant spelledAsItsColumn(const Variant& value, const ColumnInfo& from) {
    const DateTime date = value.toDateTime();
    return Variant(from.providerType == ProviderType::DBDate   ? formatDate(date)
                   : from.providerType == ProviderType::DBTime ? formatTime(date)
                                                               : formatDateTime(date));
}

} // namespace

Variant TField::Value() const {
    if (!dataSet_.hasCurrentRow()) {
        return nullValue();
    }
    const Variant stored = dataSet_.storedValue(*this);
    if (stored.isEmpty()) {
        return nullValue();
    }
    return readValue(stored);
}

Variant TField::CopiedValue() const {
    if (!dataSet_.hasCurrentRow()) {
        return Value();
    }
    Variant stored = dataSet_.storedValue(*this);
    // A value with its own storage class goes as it is stored, and so do
    // bytes, which a blob field reads as text.
    if (!stored.isEmpty() &&
        (column_->keepsValueClass ||
         (column_->storage == StorageKind::Binary && stored.kind() == Variant::Kind::ByteArray))) {
        return stored;
    }
    return Value();
}

void TField::SetCopiedValue(const Variant& value, const TField& from) {
    // A date that no date-time holds, as its database spells it, goes as that
    // text to a date column of the same kind of database and to no other.
    if (from.column_->reading == ValueReading::DateText && value.kind() == Variant::Kind::String &&
        column_->storage == StorageKind::DateTime) {
        const bool sameSpelling = column_->reading == ValueReading::DateText &&
                                  column_->dateSpelling == from.column_->dateSpelling;
        dataSet_.storeFieldValue(*this, sameSpelling ? value : Variant::null());
        if (!sameSpelling) {
            throw EDatabaseError("Value for field '" + fieldName_ + "' is '" + value.toString() +
                                 "', which the database cannot hold: sent as NULL");
        }
        return;
    }
    // Bytes are bytes in any column that keeps each value's class.
    if ((from.column_->keepsValueClass || value.kind() == Variant::Kind::ByteArray) &&
        passesAsStored(*column_, value)) {
        dataSet_.storeFieldValue(
            *this, value.kind() == Variant::Kind::WideString ? Variant(value.toString()) : value);
        return;
    }
    // A number is no date: SQLite keeps numbers in date columns, which
    // other databases would read as days since 1899.
    if (column_->storage == StorageKind::DateTime && isNumber(value)) {
        dataSet_.storeFieldValue(*this, Variant::null());
        throw EDatabaseError("Value for field '" + fieldName_ + "' is the number " +
                             value.toString() + ", which is no date or time: sent as NULL");
    }
    if (value.kind() == Variant::Kind::DateTime && column_->storage == StorageKind::Text) {
        assign(spelledAsItsColumn(value, *from.column_), true);
        return;
    }
    assign(value, true);
    if (blanksChangeIn(*column_, *from.column_, value)) {
        throw EDatabaseError("Value for field '" + fieldName_ +
                             "' ends in blanks, which its fixed-length column does not keep as "
                             "they are");
    }
}

void TField::assign(const Variant& value, bool copied) {
    std::string warning;
    Variant converted = Variant::null();
    if (!value.isEmpty()) {
        try {
            converted = copied ? convertCopiedValue(value, warning) : convertValue(value, warning);
        } catch (const EVariantError&) {
            raiseInvalidValue();
        }
    }
    dataSet_.storeFieldValue(*this, std::move(converted));
    if (!warning.empty()) {
        throw EDatabaseError(warning);
    }
}

std::string TField::AsString() const {
    return Value().toString();
}

int TField::AsInteger() const {
    const Variant value = Value();
    if (value.isEmpty()) {
        return 0;
    }
    return static_cast<int>(value.toInt64());
}

bool TField::AsBoolean() const {
    return Value().toBoolean();
}

bool TField::IsNull() const {
    return dataSet_.storedIsNull(*this);
}

void TField::raiseInvalidValue() const {
    throw EDatabaseError("Invalid value for field '" + fieldName_ + "'");
}
